// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the progress display, apart from the window that shows them.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace zifrax {

// Whole seconds from start to end, counted as clock-second boundaries crossed:
// negative when the clock went back.
std::int32_t elapsedSeconds(std::chrono::system_clock::time_point start,
                            std::chrono::system_clock::time_point end);

// "1 Std.", "2 Min.", "5 Sek." for 3725 seconds; each part truncated toward
// zero, hours going on past 23.
std::array<std::string, 3> timeCaptions(std::int32_t elapsed);

std::string rowCaption(std::int32_t zeile);          // "Zeile: 4"
std::string passCaption(std::int64_t durchlauf);     // "Durchläufe: 300000"

}  // namespace zifrax
