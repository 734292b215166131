#include "solver/stages.h"

#include "solver/reference_stages.h"

namespace zifrax {

// The program runs the reference stages.
void variation(Zifrax_bas& bas, SolverWindow& window) { reference::variation(bas, window); }
std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window) { return reference::brute_force(bas, window); }

}  // namespace zifrax
