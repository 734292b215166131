// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace zifrax {

QColor toQColor(Colour colour)
{
    if (colour == kEmptyCellColour)
        return QGuiApplication::palette().color(QPalette::Base);
    if (colour == kShadowColour)
        return QGuiApplication::palette().color(QPalette::Dark);
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

}  // namespace zifrax
