// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/credits.h"

namespace zifrax {

// What the window's procedures share for as long as the program runs.
struct ProgramState {
    QString currentFilePath;     // the puzzle file that belongs to the grid; empty when none
    bool unchangedFlag = true;   // no digit accepted since start, the last new puzzle or load
    QString versionText;         // set at start
    QString loadedFileTitle;     // name of the file last chosen to load, for the printed heading
    const QString programTitle = QString::fromUtf8(credits::kProgramTitle);
};

}  // namespace zifrax
