// SPDX-License-Identifier: GPL-3.0-or-later
// The solve command: it locks the controls, copies the cells into the solver
// module and runs the preparation and both stages on the window's thread.
#include <QPushButton>

#include "app/window_for_solver.h"
#include "app/zifrax_frm.h"
#include "solver/stages.h"

namespace zifrax {

namespace {

bool everyRowHasVariations(const Zifrax_bas& bas)
{
    for (int row = 1; row <= 9; ++row)
        if (bas.variationsanzahl[row] == 0)
            return false;
    return true;
}

}  // namespace

void ZifRax_frm::solve_cmd_Click()
{
    setMenuEnabled(false);
    solve_cmd->setEnabled(false);
    setSolving(true);

    Zifrax_bas& bas = solverModule();
    bas.startzeit = std::chrono::system_clock::now();
    bas.vorgabe = cellValues();
    bas.loesung = bas.vorgabe;
    clearStatusValues();

    {
        WindowForSolver window(*this);
        bas.vorbereitung();
        variation(bas, window);
        // A row without variations has already been reported by the
        // variation stage, so the search, which could only report it again,
        // is skipped. After a stop the counts of the rows not reached are
        // left from an earlier solve; the search then runs and ends at its
        // first stop check.
        if (window.stopRequested() || everyRowHasVariations(bas))
            brute_force(bas, window);
    }

    setSolving(false);
    setMenuEnabled(true);
    solve_cmd->setEnabled(true);
}

}  // namespace zifrax
