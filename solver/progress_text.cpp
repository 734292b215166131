// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/progress_text.h"

namespace zifrax {

std::int32_t elapsedSeconds(std::chrono::system_clock::time_point start,
                            std::chrono::system_clock::time_point end)
{
    using std::chrono::floor;
    using std::chrono::seconds;
    const auto difference = floor<seconds>(end.time_since_epoch()) - floor<seconds>(start.time_since_epoch());
    return static_cast<std::int32_t>(difference.count());
}

std::array<std::string, 3> timeCaptions(std::int32_t elapsed)
{
    // C++ division truncates toward zero, as the display wants.
    const std::int64_t total = elapsed;
    const std::int64_t hours = total / 3600;
    const std::int64_t minutes = (total - hours * 3600) / 60;
    const std::int64_t seconds = total - hours * 3600 - minutes * 60;
    return {std::to_string(hours) + " Std.", std::to_string(minutes) + " Min.",
            std::to_string(seconds) + " Sek."};
}

std::string rowCaption(std::int32_t zeile) { return "Zeile: " + std::to_string(zeile); }

std::string passCaption(std::int64_t durchlauf) { return "Durchläufe: " + std::to_string(durchlauf); }

}  // namespace zifrax
