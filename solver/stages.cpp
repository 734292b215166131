// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/stages.h"

#include "solver/fast_stages.h"

namespace zifrax {

// The program runs the fast engine; the tests hold it to the reference stages.
void variation(Zifrax_bas& bas, SolverWindow& window) { fast::variation(bas, window); }
std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window) { return fast::brute_force(bas, window); }

}  // namespace zifrax
