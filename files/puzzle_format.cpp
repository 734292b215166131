// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/puzzle_format.h"

#include "core/credits.h"

namespace zifrax::puzzle_file {

namespace {

// The fixed lines as Windows-1252 bytes: 0xE4 is "ä", 0xF6 is "ö".
constexpr std::string_view kFrameLine = "**********************";
constexpr std::string_view kMagicLine = "* Zifrax R\xE4tseldatei *";
constexpr std::string_view kPuzzleHeader = "R\xE4tselstellung: ******";
constexpr std::string_view kSolutionHeader = "L\xF6sungstellung: ******";
constexpr std::string_view kLineEnd = "\r\n";

void appendLine(std::string& out, std::string_view line)
{
    out += line;
    out += kLineEnd;
}

// Nine grid lines: each cell of the given colour as a blank and its text,
// every other cell as " 0".
void appendSection(std::string& out, const GridDescription& grid, Colour stored)
{
    for (int row = 1; row <= 9; ++row) {
        std::string line;
        for (int column = 1; column <= 9; ++column) {
            const CellContent& cell = grid[cellIndex(row, column)];
            line += ' ';
            line += cell.colour == stored ? cell.text : std::string("0");
        }
        appendLine(out, line);
    }
}

// Hands out the content line by line, split at LF with a CR before it
// dropped, the last line also without a line end.
class LineReader {
public:
    explicit LineReader(std::string_view content) : rest_(content) {}

    bool atEnd() const { return rest_.empty(); }

    std::string_view next()
    {
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

private:
    std::string_view rest_;
};

// The digit 1 … 9 in a field of two characters with blanks around it
// ignored; 0 for anything else (a blank field, "0", a letter, "12").
int fieldDigit(std::string_view field)
{
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 9 ? value : 0;
}

// Takes the next nine lines as the grid lines of rows 1 … 9, whatever they
// hold, and returns the last one read; the caller examines it further.
std::string_view readSection(LineReader& lines, GridDescription& grid, Colour colour, std::string_view header)
{
    std::string_view line = header;
    for (int row = 1; row <= 9 && !lines.atEnd(); ++row) {
        line = lines.next();
        for (int column = 1; column <= 9; ++column) {
            const std::size_t start = std::size_t(2 * column - 2);
            if (start >= line.size())
                break;
            if (const int digit = fieldDigit(line.substr(start, 2))) {
                CellContent& cell = grid[cellIndex(row, column)];
                cell.colour = colour;
                cell.text = std::string(1, char('0' + digit));
            }
        }
    }
    return line;
}

}  // namespace

std::string write(const GridDescription& grid)
{
    std::string out;
    appendLine(out, kFrameLine);
    appendLine(out, credits::kPuzzleFileCreditLine1);
    appendLine(out, credits::kPuzzleFileCreditLine2);
    appendLine(out, kMagicLine);
    appendLine(out, kFrameLine);
    appendLine(out, "");
    appendLine(out, kPuzzleHeader);
    appendSection(out, grid, kPuzzleColour);
    appendLine(out, "");
    appendLine(out, kSolutionHeader);
    appendSection(out, grid, kSolutionColour);
    appendLine(out, "");
    return out;
}

ReadOutcome read(std::string_view content, GridDescription& grid)
{
    LineReader lines(content);
    bool magicLineSeen = false;
    while (!lines.atEnd()) {
        // A section leaves its last grid line as the current line, so a
        // solution header there opens the solution section at once.
        std::string_view line = lines.next();
        if (magicLineSeen && line.find(kPuzzleHeader) != std::string_view::npos)
            line = readSection(lines, grid, kPuzzleColour, line);
        if (magicLineSeen && line.find(kSolutionHeader) != std::string_view::npos)
            line = readSection(lines, grid, kSolutionColour, line);
        if (line == kMagicLine)
            magicLineSeen = true;
    }
    return magicLineSeen ? ReadOutcome::Read : ReadOutcome::Defective;
}

}  // namespace zifrax::puzzle_file
