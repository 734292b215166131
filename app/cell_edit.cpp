#include "app/cell_edit.h"

#include "app/colours.h"

namespace zifrax {

CellEdit::CellEdit(int index, QWidget* parent)
    : QLineEdit(parent), index_(index)
{
    setObjectName(QStringLiteral("raetsel_txt(%1)").arg(index));
    setBackgroundColour(kEmptyCellColour);
}

void CellEdit::setBackgroundColour(Colour colour)
{
    colour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(colour));
    setPalette(p);
}

void CellEdit::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    emit keyReleased(index_);
}

}  // namespace zifrax
