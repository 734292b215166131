// SPDX-License-Identifier: GPL-3.0-or-later
// The two solver stages as the program runs them: the same variations, the
// same window calls in the same order and the same pass count as the plain
// stages, computed without walking every choice vector and every pass.
//
// Both take any grid of cell values 0 … 9, givens that repeat a digit (as a
// file can bring them) included; brute_force expects the variations stored
// by `variation`, in ascending order. The working grid `loesung` is scratch
// for both; only a found solution is left in it.
#pragma once

#include <cstdint>

#include "solver/solver_window.h"
#include "solver/zifrax_bas.h"

namespace zifrax::fast {

// Lists every admissible filling of each row in ascending order, reporting
// the row wherever the plain nine nested loops would report it.
void variation(Zifrax_bas& bas, SolverWindow& window);

// When a search takes up its aids for long searches, which short ones pay
// more for than they gain: the table of ran-out searches and the shortcuts
// below row 4 wait until `loops` row loops have begun; a search below row 4
// then sets its shortcuts up once more than `passing` variations of row 4
// have passed in it, or at its first when earlier searches below row 4 let
// many pass.
// A search that has made `wholeCount` passes (and begun `loops` row loops),
// most of them counted in blocks, is counted whole at once when it holds no
// solution; a negative number turns that off.
struct LongSearchStart {
    std::int64_t loops = 100000;
    std::int64_t passing = 4;
    std::int64_t wholeCount = std::int64_t(1) << 30;
};

// Combines one stored variation per row, depth first, and writes the first
// solution into the cells. Passes that fail the column or box test are
// counted in bulk, and so are the passes below rows 4 and 7 when the same
// column digits were met before without a solution, and the loops of a
// band's last row under middle rows that leave it no passing variation;
// returns the number of passes made. In a search below row 4, the
// variations of rows 5, 6 and 7 that rows 1 to 3 let through are found, and
// the loops of rows 5 and 6 then made or counted from them. A long search
// that holds no solution is counted whole instead (unsolvable_count.h), its
// reports following at once.
std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window, LongSearchStart start = {});

}  // namespace zifrax::fast
