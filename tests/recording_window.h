// A stand-in for the window that records every call the solver stages make,
// in order, so that tests and the benchmark can compare whole traces.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "solver/solver_window.h"

namespace zifrax::testing {

class RecordingWindow : public SolverWindow {
public:
    // The stop button reads as ticked from the k-th update call on
    // (0: ticked before the solve starts; -1: never).
    int stopAfterUpdates = -1;

    std::vector<std::string> trace;  // one entry per call, in order
    int updateCount = 0;
    int messageCount = 0;
    std::array<Colour, kCellCount + 1> colours;
    std::array<std::string, kCellCount + 1> texts;

    RecordingWindow() { colours.fill(kEmptyCellColour); }

    void update(std::int32_t mode, std::int32_t zeile, std::int64_t durchlauf) override
    {
        ++updateCount;
        trace.push_back("update " + std::to_string(mode) + " " + std::to_string(zeile) + " " +
                        std::to_string(durchlauf));
    }
    bool stopRequested() override
    {
        const bool stop = stopAfterUpdates >= 0 && updateCount >= stopAfterUpdates;
        trace.push_back(stop ? "stop read: ticked" : "stop read: not ticked");
        return stop;
    }
    void setVariationCaption(const std::string& text) override { trace.push_back("variation label " + text); }
    void setBruteForceCaption(const std::string& text) override { trace.push_back("brute force label " + text); }
    void showNoSolution() override
    {
        ++messageCount;
        trace.push_back("message: no solution");
    }
    void enableControls() override { trace.push_back("controls enabled"); }
    Colour cellColour(int cell) override { return colours[cell]; }
    void setCellColour(int cell, Colour colour) override
    {
        colours[cell] = colour;
        trace.push_back("cell " + std::to_string(cell) + " colour " + std::to_string(colour));
    }
    void setCellText(int cell, const std::string& text) override
    {
        texts[cell] = text;
        trace.push_back("cell " + std::to_string(cell) + " text " + text);
    }
};

}  // namespace zifrax::testing
