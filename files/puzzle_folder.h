// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zifrax {

// The folder the file dialogs open in: "Rätsel" beside the program where the
// user may write there (a build tree, an unpacked package). Otherwise, as
// for the installed package, "Zifrax-Rätsel" in the user's documents folder,
// created on first use with copies of the sample puzzles beside the program.
QString puzzleFolder(const QString& programDirectory, const QString& documentsDirectory);

}  // namespace zifrax
