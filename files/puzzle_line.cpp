// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/puzzle_line.h"

namespace zifrax::puzzle_line {

std::optional<GridArray> read(std::string_view text)
{
    GridArray grid{};
    int cell = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c != '.' && (c < '0' || c > '9'))
            return std::nullopt;
        if (++cell > kCellCount)
            return std::nullopt;
        grid[cell] = c == '.' ? 0 : c - '0';
    }
    if (cell != kCellCount)
        return std::nullopt;
    return grid;
}

std::string write(const GridArray& grid)
{
    std::string line;
    for (int cell = 1; cell <= kCellCount; ++cell)
        line += char('0' + grid[cell]);
    return line;
}

}  // namespace zifrax::puzzle_line
