// SPDX-License-Identifier: GPL-3.0-or-later
// The printed sheet: one landscape page with the grid as the window shows it,
// the heading, an information box, the credits box and the file path.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>

#include "core/grid.h"

class QPainter;

namespace zifrax {

struct SheetCell {
    QString text;                      // a digit, or empty
    Colour colour = kEmptyCellColour;  // the cell's background on the window
};

// Everything the sheet shows, taken from the window at the moment of printing.
struct SheetContent {
    std::array<SheetCell, kCellCount + 1> cells;  // by cell index 1 … 81; element 0 unused
    QString fileTitle;     // name of the file last loaded, behind the heading
    QString frameCaption;  // the status frame's caption: the version
    QDateTime printedAt;   // shown as German date and time
    QString filePath;      // the current file path, at the foot
};

// Draws the sheet onto an active painter. Positions are twips from the
// device's origin, taken as the top-left corner of the printable area, and
// scaled by the device's logical resolution; line widths are device pixels.
void drawSheet(QPainter& painter, const SheetContent& sheet);

}  // namespace zifrax
