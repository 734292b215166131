// SPDX-License-Identifier: GPL-3.0-or-later
// What the program's arguments ask for. Plain C++, read before the window
// toolkit starts, so that --help and --version work without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zifrax {

struct CommandLine {
    enum class Action {
        Run,      // show the window, then load `file` if one was given
        Help,     // print `message` on standard output, exit status 0
        Version,  // the same
        Misuse,   // print `message` on standard error, exit status 2
    };
    Action action = Action::Run;
    std::optional<std::string> file;
    std::string message;
};

// The arguments without the program's name: at most one file, --help,
// --version, and "--" in front of a file whose name begins with "-".
CommandLine readCommandLine(const std::vector<std::string>& arguments);

}  // namespace zifrax
