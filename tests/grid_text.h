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

}  // namespace zifrax::testing
