// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include "core/grid.h"

namespace zifrax {

// One cell of the grid: an edit box that reports every key released in it
// and keeps its background as a colour value, compared exactly elsewhere.
// Pasting a puzzle line and copying without a selection act on the whole
// grid; any other paste or copy stays the edit box's own.
class CellEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(uint backgroundColour READ backgroundColour WRITE setBackgroundColour)

public:
    CellEdit(int index, QWidget* parent);

    int index() const { return index_; }
    Colour backgroundColour() const { return colour_; }
    void setBackgroundColour(Colour colour);

signals:
    void keyReleased(int index);
    // Strg+V with a puzzle line on the clipboard: the grid is to be replaced.
    void puzzleLinePasted(const GridArray& grid);
    // Strg+C with no text selected: the whole grid is to be copied.
    void gridCopyRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int index_;
    Colour colour_ = kEmptyCellColour;
};

}  // namespace zifrax
