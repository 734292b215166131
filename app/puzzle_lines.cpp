// SPDX-License-Identifier: GPL-3.0-or-later
// Puzzle lines in and out of the grid: Strg+V with a puzzle line on the
// clipboard replaces the grid, Strg+C without a selection copies it.
#include <QClipboard>
#include <QGuiApplication>

#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "files/puzzle_line.h"

namespace zifrax {

void ZifRax_frm::pastePuzzleLine(const GridArray& grid)
{
    if (isSolving())
        return;  // the cells take no input until the solve ends
    neuesraetsel();
    if (!state.unchangedFlag)
        return;  // the save question was cancelled: nothing has changed
    state.currentFilePath.clear();
    for (int index = 1; index <= kCellCount; ++index) {
        if (grid[index] == 0)
            continue;
        raetsel_txt(index)->setText(QString::number(grid[index]));
        raetsel_txt_KeyUp(index);
    }
}

void ZifRax_frm::copyPuzzleLine() const
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(puzzle_line::write(cellValues())));
}

}  // namespace zifrax
