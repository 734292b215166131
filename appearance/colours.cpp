// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace zifrax {

QColor toQColor(Colour colour)
{
    // The sheet is paper: its empty cells are white whatever the desktop's
    // scheme. On the window empty cells take the scheme's colours directly.
    if (colour == kEmptyCellColour)
        return QColor(Qt::white);
    if (colour == kShadowColour)
        return QGuiApplication::palette().color(QPalette::Dark);
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

}  // namespace zifrax
