// SPDX-License-Identifier: GPL-3.0-or-later
// Printer selection and printing, for the main window.
#pragma once

#include <QPrinter>

#include "print/print_window.h"
#include "print/sheet.h"

namespace zifrax {

// Owns the program's one printer: the choice made in the print dialog stays
// in force for every later print until the program ends.
class PrintCommands {
public:
    explicit PrintCommands(PrintWindow& window);

    void M_Druckeinstellung_Click();
    void M_drucken_Click();

    QPrinter& printer() { return printer_; }

private:
    void printIntoPdfFile();

    PrintWindow& window_;
    QPrinter printer_;
};

// The sheet as the window shows it at the given moment.
SheetContent sheetOfWindow(const PrintWindow& window, const QDateTime& moment);

}  // namespace zifrax
