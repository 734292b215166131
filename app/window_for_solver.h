// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>

#include "solver/solver_window.h"

namespace zifrax {

class ZifRax_frm;

// The window as the solver stages see it during one solve: the progress
// display, the stop button, the no-solution message and the cells.
class WindowForSolver : public SolverWindow {
public:
    explicit WindowForSolver(ZifRax_frm& window);
    ~WindowForSolver() override;

    void update(std::int32_t mode, std::int32_t zeile, std::int64_t durchlauf) override;
    bool stopRequested() override;
    void setVariationCaption(const std::string& text) override;
    void setBruteForceCaption(const std::string& text) override;
    void showNoSolution() override;
    void enableControls() override;
    Colour cellColour(int cell) override;
    void setCellColour(int cell, Colour colour) override;
    void setCellText(int cell, const std::string& text) override;

private:
    ZifRax_frm& window_;
    QElapsedTimer sincePaint_;
};

}  // namespace zifrax
