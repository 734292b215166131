// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "core/grid.h"

namespace zifrax {

// A Windows colour value 0x00BBGGRR as a QColor. The button shadow comes
// from the application palette (Dark); the empty-cell colour, the system's
// window background, is white.
QColor toQColor(Colour colour);

}  // namespace zifrax
