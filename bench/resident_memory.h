// SPDX-License-Identifier: GPL-3.0-or-later
// The peak resident memory of this process, as the kernel counts it.
#pragma once

#include <fstream>
#include <string>

namespace zifrax::bench {

inline double peakResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmHWM:" && status >> kib)
            return double(kib) / 1024.0;
        status.ignore(256, '\n');
    }
    return 0;
}

}  // namespace zifrax::bench
