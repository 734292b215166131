// SPDX-License-Identifier: GPL-3.0-or-later
// The passes of a brute-force search that holds no solution, counted band by
// band instead of made one by one.
#pragma once

#include <cstdint>
#include <optional>

#include "solver/zifrax_bas.h"

namespace zifrax::fast {

// The passes of the whole search over the stored variations when no
// combination of them is a solution. Nothing when a solution exists, when a
// row's variations are not orderings of the nine digits (givens that repeat
// in a row), or when the count would be too large a task: then the search
// has to be made.
std::optional<std::int64_t> passesWithoutSolution(const Zifrax_bas& bas);

}  // namespace zifrax::fast
