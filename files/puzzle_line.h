// SPDX-License-Identifier: GPL-3.0-or-later
// A puzzle as one line of text, the way puzzles travel between web pages and
// programs: a character per cell, row by row, a digit 1 … 9 for a given and
// 0 or . for an empty cell. Plain C++.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/grid.h"

namespace zifrax::puzzle_line {

// The cell values of a puzzle line. Blanks, tabs and line breaks anywhere
// are ignored, so the grid written as nine lines of nine reads too; any other
// character, or a number of cells other than 81, makes it no puzzle line.
std::optional<GridArray> read(std::string_view text);

// The grid as a puzzle line: 81 digits, 0 for an empty cell.
std::string write(const GridArray& grid);

}  // namespace zifrax::puzzle_line
