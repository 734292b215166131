// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zifrax {

// The style, the German locale and German texts for Qt's own dialogs; used
// by the program and by the tests that drive its window.
void setUpApplication();

}  // namespace zifrax
