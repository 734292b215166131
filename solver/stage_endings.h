// How the two solver stages end on the window, whichever engine ran them.
#pragma once

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"

namespace zifrax {

// After the last row: "beendet", then the no-solution message once if some
// row has no variation, after which the menu and the solve button are enabled.
void finishVariationStage(const Zifrax_bas& bas, SolverWindow& window);

// The search found `loesung` to be a solution: "beendet", then every cell
// gets its digit and the empty-coloured ones the solution colour.
void showSolution(const Zifrax_bas& bas, SolverWindow& window);

// The search ran out: "beendet" and the no-solution message.
void showSearchExhausted(SolverWindow& window);

}  // namespace zifrax
