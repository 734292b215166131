// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace zifrax {

// The program's three pictures, drawn at the sizes a window and a button ask for.
QIcon smileyIcon();     // the window icon: a yellow smiling face
QIcon lightBulbIcon();  // the solve button: a lit light bulb
QIcon stopSignIcon();   // the stop button: a red octagon with STOP

// The smiling face at any size, for the desktop icons rendered at build time.
QImage smileyImage(int size);

}  // namespace zifrax
