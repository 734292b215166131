// SPDX-License-Identifier: GPL-3.0-or-later
// How the two solver stages end on the window, whichever engine ran them.
#pragma once

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"

namespace zifrax {

// After the last row: "beendet", then the no-solution message once if some
// row has no variation, after which the menu and the solve button are enabled.
void finishVariationStage(const Zifrax_bas& bas, SolverWindow& window);

// How a brute-force search ended.
enum class SearchOutcome { RanOut, Solved, Stopped };

// Shows the end of the search: after a stop nothing; when it ran out
// "beendet" and the no-solution message; when `loesung` holds a solution
// "beendet", then every cell gets its digit and the empty-coloured ones the
// solution colour.
void finishSearch(SearchOutcome outcome, const Zifrax_bas& bas, SolverWindow& window);

}  // namespace zifrax
