// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cell_edit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <utility>

#include "files/puzzle_line.h"
#include "appearance/colours.h"

namespace zifrax {

CellEdit::CellEdit(int index, QWidget* parent)
    : QLineEdit(parent), index_(index)
{
    setObjectName(QStringLiteral("raetsel_txt(%1)").arg(index));
    setAccessibleName(QStringLiteral("Zeile %1, Spalte %2").arg(rowOf(index)).arg(columnOf(index)));
    setBackgroundColour(kEmptyCellColour);
    // A change made while a key is down is left to that key's release.
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (inKeyPress_)
            awaitingRelease_ = true;
        else
            reportEditWithoutRelease();
    });
}

void CellEdit::reportEditWithoutRelease()
{
    QMetaObject::invokeMethod(this, [this] { emit editedWithoutRelease(index_); }, Qt::QueuedConnection);
}

void CellEdit::setBackgroundColour(Colour colour)
{
    colour_ = colour;
    // The empty cell follows the desktop's colours; a fixed background gets a
    // fixed text colour, so that a dark scheme's light text stays off it.
    QPalette p;
    if (colour != kEmptyCellColour) {
        p.setColor(QPalette::Base, toQColor(colour));
        p.setColor(QPalette::Text, Qt::black);
    }
    setPalette(p);
    // A screen reader cannot see the colour, so the description says it.
    if (colour == kPuzzleColour)
        setAccessibleDescription(QStringLiteral("vorgegebene Zahl"));
    else if (colour == kSolutionColour)
        setAccessibleDescription(QStringLiteral("gelöste Zahl"));
    else
        setAccessibleDescription(QStringLiteral("leeres Feld"));
}

bool CellEdit::event(QEvent* event)
{
    // The window's menu shortcuts win over the edit box's own key bindings
    // (on X11 Ctrl+U, Ctrl+E and Ctrl+A edit the line): left unaccepted,
    // the key goes to the shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : window()->findChildren<QAction*>())
            if (action->shortcuts().contains(pressed))
                return true;
    }
    return QLineEdit::event(event);
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
    // A cell holds one digit: Backspace and Delete remove it whichever side
    // of it the cursor stands.
    const bool deleting = (event->key() == Qt::Key_Delete && cursorPosition() == text().size()) ||
                          (event->key() == Qt::Key_Backspace && cursorPosition() == 0);
    if (deleting && !hasSelectedText())
        selectAll();
    inKeyPress_ = true;
    QLineEdit::keyPressEvent(event);
    inKeyPress_ = false;
}

void CellEdit::keyReleaseEvent(QKeyEvent* event)
{
    awaitingRelease_ = false;
    QLineEdit::keyReleaseEvent(event);
    emit keyReleased(index_);
}

void CellEdit::focusOutEvent(QFocusEvent* event)
{
    // The key's release comes up in the next cell (a Tab pressed while the
    // digit is still down) or in a dialog, if at all: this cell's change is
    // evaluated now, as its release would have done.
    if (std::exchange(awaitingRelease_, false))
        reportEditWithoutRelease();
    QLineEdit::focusOutEvent(event);
}

}  // namespace zifrax
