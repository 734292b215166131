// Running a solver engine on a puzzle with a recording window, comparing two
// runs in full, and making puzzles to run: shared by the trace test and the
// benchmark.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"
#include "tests/grid_text.h"
#include "tests/recording_window.h"

namespace zifrax::testing {

// The two stages of one engine.
struct Engine {
    const char* name;
    void (*variation)(Zifrax_bas&, SolverWindow&);
    std::int64_t (*brute_force)(Zifrax_bas&, SolverWindow&);
};
extern const Engine kReferenceEngine;
extern const Engine kFastEngine;

// Everything a solve makes observable.
struct SolveRecord {
    std::vector<std::string> trace;
    std::int64_t passes = 0;
    std::array<std::int32_t, 10> counts{};
    std::vector<std::uint8_t> variations;  // the stored rows 1 … 9, one after another
};

// What a stage or a solve left on the module and the window.
SolveRecord recordOf(const Zifrax_bas& bas, const RecordingWindow& window, std::int64_t passes);

// What a solve command does with the stages, on the module `bas`: the given
// puzzle, the preparation, then both stages (the brute-force stage runs even
// after a row without variations, so that the engines are compared there too).
SolveRecord solve(const Engine& engine, Zifrax_bas& bas, RecordingWindow& window, const GridArray& puzzle);

// The first difference between two records, or an empty text.
std::string firstDifference(const SolveRecord& expected, const SolveRecord& actual);

// 81 characters, row by row, '.' for an empty cell (read by gridFromText).
std::string puzzleText(const GridArray& grid);

// A random solved grid, and puzzles made from it.
GridArray randomSolvedGrid(std::mt19937& random);
// Empties cells so that each row keeps between minGivens and maxGivens.
GridArray removeCells(const GridArray& solved, int minGivens, int maxGivens, std::mt19937& random);
// Replaces one given by another digit that breaks no rule, which mostly
// leaves the puzzle without a solution; unchanged if no cell allows it.
GridArray spoilOneGiven(const GridArray& puzzle, std::mt19937& random);

}  // namespace zifrax::testing
