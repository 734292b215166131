// SPDX-License-Identifier: GPL-3.0-or-later
// Puzzles written as 81 characters, row by row: a digit or '.' for an empty
// cell.
#pragma once

#include <string_view>

#include "solver/zifrax_bas.h"

namespace zifrax::testing {

inline GridArray gridFromText(std::string_view text)
{
    GridArray grid{};
    for (int cell = 1; cell <= kCellCount; ++cell)
        grid[cell] = text.at(cell - 1) == '.' ? 0 : text.at(cell - 1) - '0';
    return grid;
}

constexpr const char* kEasyPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
constexpr const char* kEasySolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
// Row 1 can take no 1 in columns 1 to 3, since box 1 holds one; every other
// row has variations.
constexpr const char* kRowWithoutVariations =
    "...456789.1.789.23...123456...567891...891234...234567...678912...912345...345678";

}  // namespace zifrax::testing
