// SPDX-License-Identifier: GPL-3.0-or-later
// The program's credit texts, kept together. They name the project: the
// program has no single author to name.
#pragma once

namespace zifrax::credits {

// The program's version, shown in the status frame and by --version.
inline constexpr char kVersionText[] = "15.07.07";

// The window caption at start; loading and saving append " (file name)".
inline constexpr char kProgramTitle[] = "Zifrax – Zahlenrätsel lösen · ein Programm des Zifrax-Projekts";

// Lines 2 and 3 of every puzzle file: 20 characters between two asterisks,
// ASCII only: the source is UTF-8, the file Windows-1252.
inline constexpr char kPuzzleFileCreditLine1[] = "* ein Programm des   *";
inline constexpr char kPuzzleFileCreditLine2[] = "*   Zifrax-Projekts  *";

// The credits box of the printed sheet: a bold heading, then who made the
// program, where its sources live, its licence (GPL-3.0-or-later, see
// COPYING) and how to reach its makers.
// Each line must fit the box: about 30 characters at 10 points.
inline constexpr char kSheetCreditsHeading[] = "Zifrax ist ein Programm von:";
inline constexpr const char* kSheetCreditLines[] = {
    "dem Zifrax-Projekt",
    "Quelltext: Repository „zifrax“",
    "Lizenz: GNU GPL 3 oder später",
    "Kontakt: Issues im Repository",
};

}  // namespace zifrax::credits
