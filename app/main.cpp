// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <iostream>

#include "app/application_setup.h"
#include "app/command_line.h"
#include "app/zifrax_frm.h"
#include "files/file_commands.h"

int main(int argc, char* argv[])
{
    using zifrax::CommandLine;
    const CommandLine commandLine = zifrax::readCommandLine({argv + 1, argv + argc});
    switch (commandLine.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::cout << commandLine.message;
        return 0;
    case CommandLine::Action::Misuse:
        std::cerr << commandLine.message;
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // Qt sees no arguments: all of them have been read above, and a file
    // named like one of Qt's own options must stay a file.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    zifrax::setUpApplication();
    zifrax::ZifRax_frm window;
    window.show();
    if (commandLine.file) {
        // Loaded from the running event loop, as the load command is, so that
        // a defective file can end the program there.
        const QString path = QFileInfo(QFile::decodeName(commandLine.file->c_str())).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, path] { window.fileCommands().loadFile(path); });
    }
    return QApplication::exec();
}
