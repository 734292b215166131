// Puzzles written as 81 characters, row by row: a digit or '.' for an empty
// cell.
#pragma once

#include <string_view>

#include "solver/zifrax_bas.h"

namespace zifrax::testing {

inline GridArray gridFromText(std::string_view text)
{
    GridArray grid{};
    for (int cell = 1; cell <= kCellCount; ++cell) {
        const char c = text.at(cell - 1);
        grid[cell] = c == '.' ? 0 : c - '0';
    }
    return grid;
}

// Puzzles the solver tests share.
constexpr const char* kEasyPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
constexpr const char* kEasySolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
// The easy puzzle with a 2 where its solution has a 4: every row keeps some
// variations, but no combination of them fits.
constexpr const char* kNoCombination =
    "532.7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
// Row 1 can take no 1 in columns 1 to 3, since box 1 holds one; every other
// row has variations.
constexpr const char* kRowWithoutVariations =
    "...456789.1.789.23...123456...567891...891234...234567...678912...912345...345678";
// Seventeen givens; the search takes some billions of passes.
constexpr const char* kHardPuzzle =
    ".......1.4.........2...........5.4.7..8...3....1.9....3..4..2...5.1........8.6...";

}  // namespace zifrax::testing
