// The program's credit texts, kept together. They name the project: the
// program has no single author to name.
#pragma once

namespace zifrax::credits {

// The window caption at start; loading and saving append " (file name)".
inline constexpr char kProgramTitle[] = "Zifrax – Zahlenrätsel lösen · ein Programm des Zifrax-Projekts";

}  // namespace zifrax::credits
