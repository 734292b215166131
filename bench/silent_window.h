// SPDX-License-Identifier: GPL-3.0-or-later
// The stages without a window: reports and stop reads cost nothing.
#pragma once

#include <string>

#include "solver/solver_window.h"

namespace zifrax::bench {

class SilentWindow : public SolverWindow {
public:
    void update(std::int32_t, std::int32_t, std::int64_t) override {}
    bool stopRequested() override { return false; }
    void setVariationCaption(const std::string&) override {}
    void setBruteForceCaption(const std::string&) override {}
    void showNoSolution() override {}
    void enableControls() override {}
    Colour cellColour(int) override { return kEmptyCellColour; }
    void setCellColour(int, Colour) override {}
    void setCellText(int, const std::string&) override {}
};

}  // namespace zifrax::bench
