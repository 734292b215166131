// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include "core/grid.h"

namespace zifrax {

// One cell of the grid: an edit box that reports every key released in it,
// and every change of its text that no key brought (the context menu, a
// middle-click paste, a drop), and keeps its background as a colour value,
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
    // Emitted once the change is complete, from the event loop.
    void editedWithoutKey(int index);
    // Strg+V with a puzzle line on the clipboard: the grid is to be replaced.
    void puzzleLinePasted(const GridArray& grid);
    // Strg+C with no text selected: the whole grid is to be copied.
    void gridCopyRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int index_;
    Colour colour_ = kEmptyCellColour;
    bool inKeyPress_ = false;
};

}  // namespace zifrax
