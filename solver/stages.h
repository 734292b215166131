// SPDX-License-Identifier: GPL-3.0-or-later
// The two solver stages as the program runs them.
#pragma once

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"

namespace zifrax {

// Lists every admissible filling of each row in ascending order.
void variation(Zifrax_bas& bas, SolverWindow& window);

// Combines one listed filling per row, depth first, and writes the first
// solution into the cells. Returns the number of passes made, which only
// tests and benchmarks look at.
std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window);

}  // namespace zifrax
