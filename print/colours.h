// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "core/grid.h"

namespace zifrax {

// A Windows colour value 0x00BBGGRR as a QColor; the system colours are
// resolved from the application palette (window background → Base, button
// shadow → Dark).
QColor toQColor(Colour colour);

}  // namespace zifrax
