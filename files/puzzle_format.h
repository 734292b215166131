// SPDX-License-Identifier: GPL-3.0-or-later
// The puzzle file: 28 CR LF lines of Windows-1252 text holding the givens in
// a puzzle section and the solver's digits in a solution section. Plain C++
// over bytes, so that it can be tested and fuzzed without a window.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/grid.h"

namespace zifrax::puzzle_file {

// What the format sees of one cell: its text and its background colour.
struct CellContent {
    std::string text;
    Colour colour = kEmptyCellColour;

    bool operator==(const CellContent&) const = default;
};

// Cells by index 1 … 81; element 0 is unused.
using GridDescription = std::array<CellContent, kCellCount + 1>;

// Larger files are refused unread: a puzzle file has 534 bytes.
inline constexpr std::size_t kMaxFileSize = 1024 * 1024;

// The file content for the grid: givens (puzzle colour) in the puzzle
// section, solver digits (solution colour) in the solution section, every
// other cell as "0" in both. Cell texts are written unchanged, as bytes.
std::string write(const GridDescription& grid);

enum class ReadOutcome {
    Read,       // the magic line was found; the sections that followed it are in the grid
    Defective,  // no magic line: no cell has been touched
};

// Sets the cells named by the file's sections and leaves every other cell
// as it is. Any bytes are safe: a field that does not hold a digit 1 … 9
// leaves its cell alone, and a section cut short by the end simply ends.
ReadOutcome read(std::string_view content, GridDescription& grid);

}  // namespace zifrax::puzzle_file
