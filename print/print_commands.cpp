// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/print_commands.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>

#include "disk/whole_file.h"

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

    // A PDF file is made apart. Without a printer the output is a PDF file
    // with no name yet: such a job is not even started, as Qt would leave
    // the printer active, refusing the file name that "Druckerauswahl" sets
    // afterwards.
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    if (pdf && !printer.outputFileName().isEmpty())
        return printIntoPdfFile();
    QPainter painter;
    if (pdf || !painter.begin(&printer)) {
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

void PrintCommands::printIntoPdfFile()
{
    // The page is made in memory and the file written whole: Qt's own PDF
    // output notices no failed write, and on a full disk would leave a short
    // file in place of an older one. The printer's page, resolution and
    // names carry over.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageLayout(printer_.pageLayout());
    writer.setResolution(printer_.resolution());
    writer.setCreator(printer_.creator());
    writer.setTitle(printer_.docName());
    QPainter painter(&writer);
    drawSheet(painter, sheetOfWindow(window_, QDateTime::currentDateTime()));
    painter.end();

    QString reason;
    if (!writeWholeFile(printer_.outputFileName(), pdf.data(), reason))
        window_.showMessage(QMessageBox::Warning,
                            QStringLiteral("Das Blatt kann nicht in die Datei %1 gedruckt werden.\n\n%2\n\n"
                                           "Im Menü „Rätsel“ lässt sich unter „Druckerauswahl“ eine andere "
                                           "Datei wählen.")
                                .arg(printer_.outputFileName(), reason));
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
