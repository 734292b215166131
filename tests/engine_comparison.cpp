#include "tests/engine_comparison.h"

#include <algorithm>
#include <numeric>

#include "solver/fast_stages.h"
#include "solver/reference_stages.h"

namespace zifrax::testing {

const Engine kReferenceEngine{"reference", reference::variation, reference::brute_force};
const Engine kFastEngine{"fast", fast::variation, fast::brute_force};

SolveRecord solve(const Engine& engine, Zifrax_bas& bas, RecordingWindow& window, const GridArray& puzzle)
{
    bas.vorgabe = puzzle;
    bas.loesung = puzzle;
    bas.vorbereitung();
    engine.variation(bas, window);
    const std::int64_t passes = engine.brute_force(bas, window);
    return recordOf(bas, window, passes);
}

SolveRecord recordOf(const Zifrax_bas& bas, const RecordingWindow& window, std::int64_t passes)
{
    SolveRecord record;
    record.passes = passes;
    record.trace = window.trace;
    record.counts = bas.variationsanzahl;
    for (int row = 1; row <= 9; ++row) {
        if (bas.variationsanzahl[row] > 0) {
            const std::uint8_t* first = bas.variationen(row, 1);
            record.variations.insert(record.variations.end(), first, first + 9 * bas.variationsanzahl[row]);
        }
    }
    return record;
}

std::string firstDifference(const SolveRecord& expected, const SolveRecord& actual)
{
    const auto mismatch = std::mismatch(expected.trace.begin(), expected.trace.end(), actual.trace.begin(),
                                        actual.trace.end());
    if (mismatch.first != expected.trace.end() || mismatch.second != actual.trace.end()) {
        const auto at = std::to_string(mismatch.first - expected.trace.begin());
        const auto shown = [](auto it, auto end) { return it == end ? std::string("(end)") : *it; };
        return "call " + at + ": expected \"" + shown(mismatch.first, expected.trace.end()) + "\", got \"" +
               shown(mismatch.second, actual.trace.end()) + "\"";
    }
    for (int row = 1; row <= 9; ++row) {
        if (expected.counts[row] != actual.counts[row])
            return "row " + std::to_string(row) + ": " + std::to_string(expected.counts[row]) +
                   " variations expected, got " + std::to_string(actual.counts[row]);
    }
    if (expected.variations != actual.variations)
        return "the stored variations differ";
    if (expected.passes != actual.passes)
        return std::to_string(expected.passes) + " passes expected, got " + std::to_string(actual.passes);
    return {};
}

std::string puzzleText(const GridArray& grid)
{
    std::string text;
    for (int cell = 1; cell <= kCellCount; ++cell)
        text += grid[cell] == 0 ? '.' : char('0' + grid[cell]);
    return text;
}

GridArray randomSolvedGrid(std::mt19937& random)
{
    // A pattern solution, shuffled by moves that keep every rule: digits
    // relabelled, rows within bands, bands, columns within stacks, stacks.
    const auto shuffledLines = [&] {
        std::array<int, 3> bands{0, 1, 2};
        std::shuffle(bands.begin(), bands.end(), random);
        std::array<int, 9> lines{};
        for (int b = 0; b < 3; ++b) {
            std::array<int, 3> inner{0, 1, 2};
            std::shuffle(inner.begin(), inner.end(), random);
            for (int i = 0; i < 3; ++i)
                lines[b * 3 + i] = bands[b] * 3 + inner[i];
        }
        return lines;
    };
    const auto rows = shuffledLines();
    const auto columns = shuffledLines();
    std::array<int, 9> digits{};
    std::iota(digits.begin(), digits.end(), 1);
    std::shuffle(digits.begin(), digits.end(), random);

    GridArray grid{};
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            grid[cellIndex(r + 1, c + 1)] = digits[(rows[r] % 3 * 3 + rows[r] / 3 + columns[c]) % 9];
    return grid;
}

GridArray removeCells(const GridArray& solved, int minGivens, int maxGivens, std::mt19937& random)
{
    GridArray puzzle = solved;
    std::uniform_int_distribution<int> givens(minGivens, maxGivens);
    for (int row = 1; row <= 9; ++row) {
        std::array<int, 9> columns{};
        std::iota(columns.begin(), columns.end(), 1);
        std::shuffle(columns.begin(), columns.end(), random);
        for (int i = givens(random); i < 9; ++i)
            puzzle[cellIndex(row, columns[i])] = 0;
    }
    return puzzle;
}

GridArray spoilOneGiven(const GridArray& puzzle, std::mt19937& random)
{
    std::array<int, kCellCount> cells{};
    std::iota(cells.begin(), cells.end(), 1);
    std::shuffle(cells.begin(), cells.end(), random);
    for (const int cell : cells) {
        if (puzzle[cell] == 0)
            continue;
        for (int d = 1; d <= 9; ++d) {
            GridArray spoilt = puzzle;
            spoilt[cell] = d;
            if (d != puzzle[cell] && spaltenpruefung(spoilt) && zeilenpruefung(spoilt) && blockpruefung(spoilt))
                return spoilt;
        }
    }
    return puzzle;
}

}  // namespace zifrax::testing
