// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/stage_endings.h"

#include <string>

namespace zifrax {

namespace {

constexpr const char* kFinished = "beendet";

}  // namespace

void finishVariationStage(const Zifrax_bas& bas, SolverWindow& window)
{
    window.setVariationCaption(kFinished);
    for (int row = 1; row <= 9; ++row) {
        if (bas.variationsanzahl[row] == 0) {
            window.showNoSolution();
            window.enableControls();
            return;
        }
    }
}

void finishSearch(SearchOutcome outcome, const Zifrax_bas& bas, SolverWindow& window)
{
    if (outcome == SearchOutcome::Stopped)
        return;
    window.setBruteForceCaption(kFinished);
    if (outcome == SearchOutcome::RanOut) {
        window.showNoSolution();
        return;
    }
    for (int cell = 1; cell <= kCellCount; ++cell) {
        if (window.cellColour(cell) == kEmptyCellColour)
            window.setCellColour(cell, kSolutionColour);
        window.setCellText(cell, std::to_string(bas.loesung[cell]));
    }
}

}  // namespace zifrax
