// SPDX-License-Identifier: GPL-3.0-or-later
// A window that records every call of the solver stages, and whole solves by
// either engine compared call for call: shared by the tests and the benchmark.
#pragma once

#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"
#include "tests/solver/grid_text.h"

namespace zifrax::testing {

class RecordingWindow : public SolverWindow {
public:
    int stopAfterUpdates = -1;  // the stop box reads ticked from the k-th update on (0: at once, -1: never)
    int updateCount = 0;
    std::vector<std::string> trace;  // one entry per call, in order
    std::array<Colour, kCellCount + 1> colours;
    std::array<std::string, kCellCount + 1> texts;

    RecordingWindow() { colours.fill(kEmptyCellColour); }
    void update(std::int32_t mode, std::int32_t zeile, std::int64_t durchlauf) override
    {
        ++updateCount;
        note("update", mode, zeile, durchlauf);
    }
    bool stopRequested() override
    {
        const bool stop = stopAfterUpdates >= 0 && updateCount >= stopAfterUpdates;
        note(stop ? "stop read: ticked" : "stop read: not ticked");
        return stop;
    }
    void setVariationCaption(const std::string& text) override { note("variation label", text); }
    void setBruteForceCaption(const std::string& text) override { note("brute force label", text); }
    void showNoSolution() override { note("message: no solution"); }
    void enableControls() override { note("controls enabled"); }
    Colour cellColour(int cell) override { return colours[cell]; }
    void setCellColour(int cell, Colour colour) override { note("cell", cell, "colour", colours[cell] = colour); }
    void setCellText(int cell, const std::string& text) override { note("cell", cell, "text", texts[cell] = text); }

private:
    template <typename... Parts>
    void note(const Parts&... parts)
    {
        std::ostringstream entry;
        ((entry << parts << ' '), ...);
        trace.push_back(entry.str().substr(0, entry.str().size() - 1));
    }
};

struct Engine {
    void (*variation)(Zifrax_bas&, SolverWindow&);
    std::int64_t (*brute_force)(Zifrax_bas&, SolverWindow&);
};
extern const Engine kReferenceEngine;
extern const Engine kFastEngine;
// The fast engine with the aids of long searches taken from the first row
// loop on, the shortcuts below row 4 at the first passing variation of row
// 4, so that searches short enough for a test go through them too; the
// first never counts a search whole, the second does so at its first loop.
extern const Engine kEagerFastEngine;
extern const Engine kWholeCountEngine;

// Everything a solve makes observable.
struct SolveRecord {
    std::vector<std::string> trace;
    std::int64_t passes = 0;
    std::array<std::int32_t, 10> counts{};
    std::vector<std::uint8_t> variations;  // the stored rows 1 … 9, one after another
};
SolveRecord recordOf(const Zifrax_bas& bas, const RecordingWindow& window, std::int64_t passes);

// Both stages on `bas` for the puzzle, the search even after a row without
// variations, so that the engines are compared there too.
SolveRecord solve(const Engine& engine, Zifrax_bas& bas, RecordingWindow& window, const GridArray& puzzle);

// The first difference between two records, or an empty text.
std::string firstDifference(const SolveRecord& expected, const SolveRecord& actual);

}  // namespace zifrax::testing
