// SPDX-License-Identifier: GPL-3.0-or-later
// The two solver stages written plainly, loop for loop as they are meant to
// run. They are the reference: every faster engine must produce the same
// variations, the same window calls in the same order and the same pass
// count, and the tests compare it against this one.
#pragma once

#include <cstdint>

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"

namespace zifrax::reference {

// For each row, stores every filling of its empty cells with its free digits
// that keeps clear of the givens of its columns and boxes, in ascending order.
// Reports the row at the head of each iteration of the loops of positions
// 1 to 3 and stops there when asked to.
void variation(Zifrax_bas& bas, SolverWindow& window);

// Combines one stored variation per row, depth first, rows 1 to 9, and writes
// the first solution into the cells. Returns the number of passes made.
std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window);

}  // namespace zifrax::reference
