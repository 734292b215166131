// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cell_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include "files/puzzle_line.h"
#include "print/colours.h"

namespace zifrax {

CellEdit::CellEdit(int index, QWidget* parent)
    : QLineEdit(parent), index_(index)
{
    setObjectName(QStringLiteral("raetsel_txt(%1)").arg(index));
    setAccessibleName(QStringLiteral("Zeile %1, Spalte %2").arg(rowOf(index)).arg(columnOf(index)));
    setBackgroundColour(kEmptyCellColour);
}

void CellEdit::setBackgroundColour(Colour colour)
{
    colour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(colour));
    setPalette(p);
    // A screen reader cannot see the colour, so the description says it.
    if (colour == kPuzzleColour)
        setAccessibleDescription(QStringLiteral("vorgegebene Zahl"));
    else if (colour == kSolutionColour)
        setAccessibleDescription(QStringLiteral("gelöste Zahl"));
    else
        setAccessibleDescription(QStringLiteral("leeres Feld"));
}

void CellEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        if (const auto grid = puzzle_line::read(QGuiApplication::clipboard()->text().toStdString())) {
            emit puzzleLinePasted(*grid);
            return;
        }
    } else if (event->matches(QKeySequence::Copy) && !hasSelectedText()) {
        emit gridCopyRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CellEdit::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    emit keyReleased(index_);
}

}  // namespace zifrax
