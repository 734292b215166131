// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include "core/grid.h"

namespace zifrax {

// One cell of the grid: an edit box that reports every key released in it,
// and every change of its text that no key release in it evaluates (the
// context menu, a middle-click paste, a drop, a key that came up in another
// cell or not at all), and keeps its background as a colour value,
// compared exactly elsewhere. Pasting a puzzle line and copying without a
// selection act on the whole grid; any other paste or copy stays the edit
// box's own.
class CellEdit : public QLineEdit {
    Q_OBJECT

public:
    CellEdit(int index, QWidget* parent);

    int index() const { return index_; }
    Colour backgroundColour() const { return colour_; }
    void setBackgroundColour(Colour colour);

signals:
    void keyReleased(int index);
    // Emitted from the event loop: once a change without a key is complete,
    // or when a key's change loses the focus before its release came up here.
    void editedWithoutRelease(int index);
    // Strg+V with a puzzle line on the clipboard: the grid is to be replaced.
    void puzzleLinePasted(const GridArray& grid);
    // Strg+C with no text selected: the whole grid is to be copied.
    void gridCopyRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void reportEditWithoutRelease();

    int index_;
    Colour colour_ = kEmptyCellColour;
    bool inKeyPress_ = false;
    bool awaitingRelease_ = false;  // a key press changed the text; its release has not come up here
};

}  // namespace zifrax
