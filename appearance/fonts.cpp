// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/fonts.h"

namespace zifrax {

QFont arialFont(double points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace zifrax
