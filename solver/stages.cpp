#include "solver/stages.h"

namespace zifrax {

// The stages come with the solver engine; until then a solve only prepares.
void variation(Zifrax_bas&, SolverWindow&) {}
void brute_force(Zifrax_bas&, SolverWindow&) {}

}  // namespace zifrax
