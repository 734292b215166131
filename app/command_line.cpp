// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "core/credits.h"

namespace zifrax {

namespace {

constexpr char kUsage[] = "Aufruf: zifrax [DATEI] | --help | --version\n";

constexpr char kHelp[] =
    "Aufruf: zifrax [DATEI]\n"
    "Zifrax hilft bei einem 9×9-Zahlenrätsel: Vorgaben eintippen, lösen lassen,\n"
    "speichern, laden und drucken.\n"
    "\n"
    "  DATEI      lädt nach dem Start diese Rätseldatei (.zfx), wie „Laden“ es tut\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n"
    "  --         beendet die Optionen: das Folgende ist ein Dateiname, auch wenn\n"
    "             es mit „-“ beginnt\n";

CommandLine misuse(const std::string& problem)
{
    return {CommandLine::Action::Misuse, std::nullopt, "zifrax: " + problem + "\n" + kUsage};
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments)
{
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || !argument.starts_with('-')) {
            files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            return {CommandLine::Action::Help, std::nullopt, kHelp};
        } else if (argument == "--version") {
            return {CommandLine::Action::Version, std::nullopt, std::string("Zifrax ") + credits::kVersionText + "\n"};
        } else {
            return misuse("unbekannte Option „" + argument + "“");
        }
    }
    if (files.size() > 1)
        return misuse("bitte höchstens eine Datei angeben");
    CommandLine run;
    if (!files.empty())
        run.file = files.front();
    return run;
}

}  // namespace zifrax
