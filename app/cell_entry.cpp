// SPDX-License-Identifier: GPL-3.0-or-later
// Cell entry: every key released in a cell checks that cell's text, and the
// three placement rules decide whether the solve button is enabled.
#include <QPushButton>

#include "app/cell_edit.h"
#include "app/cell_text.h"
#include "app/zifrax_frm.h"

namespace zifrax {

void ZifRax_frm::raetsel_txt_KeyUp(int index)
{
    if (isSolving())
        return;  // the cells are read-only until the solve ends

    CellEdit* cell = raetsel_txt(index);
    const QString text = cell->text();
    const auto refuse = [cell] {
        cell->setText(QString());
        cell->setBackgroundColour(kEmptyCellColour);
    };

    if (!text.isEmpty() && !isNumeric(text))
        return refuse();
    const double value = leadingValue(text);
    if ((!text.isEmpty() && value < 1) || value > 9)
        return refuse();

    if (value != 0) {
        // Rewritten only when it changes, so that the cursor and a selection
        // stay where the user put them.
        if (const QString digit = QString::number(roundHalfEven(value)); digit != text)
            cell->setText(digit);
        cell->setBackgroundColour(kPuzzleColour);
        state.unchangedFlag = false;
    } else {
        cell->setBackgroundColour(kEmptyCellColour);
    }

    GridArray& loesung = solverModule().loesung;
    loesung = cellValues();

    // All three checks run, also after one has failed.
    const bool columnsHold = spaltenpruefung(loesung);
    const bool rowsHold = zeilenpruefung(loesung);
    const bool boxesHold = blockpruefung(loesung);
    solve_cmd->setEnabled(columnsHold && rowsHold && boxesHold);
}

GridArray ZifRax_frm::cellValues() const
{
    GridArray values{};
    for (int index = 1; index <= kCellCount; ++index)
        values[index] = cellDigit(raetsel_txt(index)->text());
    return values;
}

}  // namespace zifrax
