// SPDX-License-Identifier: GPL-3.0-or-later
// The titles of the program's message boxes. They differ in the case of one
// letter: the new-puzzle question has always carried the other spelling.
#pragma once

#include <QString>

namespace zifrax {

inline const QString kMessageTitle = QStringLiteral("Zifrax for Windows");
inline const QString kNewPuzzleQuestionTitle = QStringLiteral("ZifRax for Windows");

}  // namespace zifrax
