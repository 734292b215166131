// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/print_commands.h"

#include <QPainter>
#include <QPrintDialog>

namespace zifrax {

namespace {
constexpr int kSheetResolution = 300;  // dots per inch
}  // namespace

PrintCommands::PrintCommands(PrintWindow& window)
    : window_(window)
{
}

void PrintCommands::M_Druckeinstellung_Click()
{
    // The dialog edits the printer only when confirmed. Printing into a PDF
    // file stays on offer: without a printer it is the only way to a sheet.
    QPrintDialog dialog(&printer_, window_.dialogParent());
    dialog.setObjectName(QStringLiteral("Drucker_dlg"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

void PrintCommands::M_drucken_Click()
{
    // The sheet is laid out for landscape from the corner of the area the
    // printer can reach, so its own smallest margins apply. Its lines are 1
    // and 5 dots wide; at 300 dots per inch the box borders stand out, where
    // the fine dots of a PDF file would make them hairlines.
    QPrinter& printer = printer_;
    printer.setResolution(kSheetResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());

    // Without a printer the output is a PDF file with no name yet. Such a
    // job is not even started: Qt would leave the printer active, refusing
    // the file name that "Druckerauswahl" sets afterwards.
    const bool pdfWithoutName = printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
    QPainter painter;
    if (pdfWithoutName || !painter.begin(&printer)) {
        window_.showMessage(QMessageBox::Warning,
                            QStringLiteral("Es kann nicht gedruckt werden: Es ist kein Drucker gewählt, "
                                           "oder der Druckauftrag lässt sich nicht starten.\n\n"
                                           "Bitte wählen Sie im Menü „Rätsel“ unter „Druckerauswahl“ einen "
                                           "Drucker oder „In PDF-Datei drucken“ mit einem Dateinamen."));
        return;
    }
    drawSheet(painter, sheetOfWindow(window_, QDateTime::currentDateTime()));
    painter.end();
}

SheetContent sheetOfWindow(const PrintWindow& window, const QDateTime& moment)
{
    SheetContent sheet;
    for (int index = 1; index <= kCellCount; ++index)
        sheet.cells[index] = {window.cellText(index), window.cellColour(index)};
    sheet.fileTitle = window.loadedFileTitle();
    sheet.frameCaption = window.frameCaption();
    sheet.printedAt = moment;
    sheet.filePath = window.currentFilePath();
    return sheet;
}

}  // namespace zifrax
