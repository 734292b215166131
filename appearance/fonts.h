// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

namespace zifrax {

// Arial in the given size; Liberation Sans, which has Arial's metrics, stands
// in where Arial is missing, so window and sheet look alike on every machine.
QFont arialFont(double points, bool bold);

}  // namespace zifrax
