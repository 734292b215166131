// SPDX-License-Identifier: GPL-3.0-or-later
// What every part of the program agrees on about the grid: cell numbering,
// the three cell colours and the grid array of cell values.
#pragma once

#include <array>
#include <cstdint>

namespace zifrax {

// Cells are numbered 1 to 81 row by row; rows, columns and boxes 1 to 9.
constexpr int kCellCount = 81;

constexpr int cellIndex(int row, int column) { return (row - 1) * 9 + column; }
constexpr int rowOf(int cell) { return (cell - 1) / 9 + 1; }
constexpr int columnOf(int cell) { return (cell - 1) % 9 + 1; }
// Boxes are numbered row by row: 1 top left, 3 top right, 7 bottom left.
constexpr int boxOf(int row, int column) { return ((row - 1) / 3) * 3 + (column - 1) / 3 + 1; }

// Colours are Windows colour values 0x00BBGGRR; a value with the top bit set
// names a system colour. They are compared exactly: the background of a cell
// is the only record of where its digit came from.
using Colour = std::uint32_t;
constexpr Colour kEmptyCellColour = 0x80000005;  // system window background
constexpr Colour kPuzzleColour = 0x8080FF;       // light red: a given
constexpr Colour kSolutionColour = 0x80FF80;     // light green: found by the solver
constexpr Colour kShadowColour = 0x80000010;     // system button shadow

// A grid array: cell values 0 (empty) to 9 by cell index 1 … 81; element 0
// is unused so that the code reads with the cell numbers.
using GridArray = std::array<std::int32_t, kCellCount + 1>;

}  // namespace zifrax

namespace zifrax {

// The three kinds of group; each group g = 1 … 9 has nine cells, visited in a
// fixed order j = 1 … 9: a row by columns, a column by rows, a box row by row.
enum class GroupKind { Row, Column, Box };

constexpr int groupCell(GroupKind kind, int g, int j)
{
    switch (kind) {
    case GroupKind::Row:
        return (g - 1) * 9 + j;
    case GroupKind::Column:
        return (j - 1) * 9 + g;
    case GroupKind::Box:
        break;
    }
    const int topLeft = ((g - 1) / 3) * 27 + ((g - 1) % 3) * 3 + 1;
    return topLeft + ((j - 1) / 3) * 9 + (j - 1) % 3;
}

}  // namespace zifrax
