// SPDX-License-Identifier: GPL-3.0-or-later
// The small interface through which the solver stages reach the window.
// The window implements it; tests implement it without a window.
#pragma once

#include <cstdint>
#include <string>

#include "core/grid.h"

namespace zifrax {

class SolverWindow {
public:
    virtual ~SolverWindow() = default;

    // The progress display: mode 1 shows the row of the variation stage,
    // mode 2 the pass count of the brute-force stage, any other mode only the
    // time. It then lets the window process its pending events once.
    virtual void update(std::int32_t mode, std::int32_t zeile, std::int64_t durchlauf) = 0;

    // The value of the stop check box, read right after each update call.
    virtual bool stopRequested() = 0;

    // The value labels of the two stages ("beendet").
    virtual void setVariationCaption(const std::string& text) = 0;
    virtual void setBruteForceCaption(const std::string& text) = 0;

    // "Dieses Rätsel hat keine gültige Lösung !" with its exclamation icon;
    // returns when the user has closed it.
    virtual void showNoSolution() = 0;

    // Enables the menu, then the solve button.
    virtual void enableControls() = 0;

    // The cells, by index 1 to 81.
    virtual Colour cellColour(int cell) = 0;
    virtual void setCellColour(int cell, Colour colour) = 0;
    virtual void setCellText(int cell, const std::string& text) = 0;
};

}  // namespace zifrax
