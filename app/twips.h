// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

namespace zifrax {

// Positions are laid out in twips; 15 twips make one logical pixel, and Qt
// scales logical pixels for HiDPI screens.
constexpr int px(int twips) { return (twips + 7) / 15; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace zifrax
