// SPDX-License-Identifier: GPL-3.0-or-later
// The printed sheet as the user gets it: a page printed into a PDF file and
// rendered back to pixels, and what a print that cannot start tells.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>

#include "print/print_commands.h"
#include "tests/app/window_test.h"
#include "tests/full_disk.h"

using namespace zifrax;
using namespace zifrax::testing;

class PrintTest : public WindowTest {
    Q_OBJECT

    // Prints into a PDF file; returns the message boxes shown.
    QStringList printTo(const QString& pdf)
    {
        window->printCommands().printer().setOutputFormat(QPrinter::PdfFormat);
        window->printCommands().printer().setOutputFileName(pdf);
        return run("M_drucken");
    }

private slots:
    void initTestCase() { setUpApplication(); }
    void init()
    {
        openWindow();
        window->setCell(cellIndex(1, 1), QStringLiteral("5"), kPuzzleColour);
        window->setCell(cellIndex(5, 7), QStringLiteral("8"), kSolutionColour);
    }

    // One landscape page whatever orientation was chosen, its content within
    // the printable area of A4 and of Letter, and empty cells white under a
    // dark desktop palette.
    void printsTheSheetOnALandscapePage()
    {
        QPrinter& printer = window->printCommands().printer();
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        QTemporaryDir dir;
        const QPalette light = QApplication::palette();
        QApplication::setPalette(QPalette(QColor(53, 53, 53), QColor(30, 30, 30)));
        QCOMPARE(printTo(dir.filePath(QStringLiteral("sheet.pdf"))), QStringList());
        QApplication::setPalette(light);
        // The right-hand column ends at x 15500 and half a thick line, the
        // 8-point foot line at y 11240.
        const QPageLayout used = printer.pageLayout();
        for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
            const QSizeF area = QPageLayout(QPageSize(paper), used.orientation(), used.margins()).paintRect(QPageLayout::Inch).size();
            QVERIFY2(area.width() * 1440 >= 15530 && area.height() * 1440 >= 11240, qPrintable(QPageSize::name(paper)));
        }

        if (QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "144", "-png", dir.filePath("sheet.pdf"), dir.filePath("page")}) < 0)
            QSKIP("poppler-utils (pdftoppm) is not installed");
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("page*")}), QStringList{QStringLiteral("page-1.png")});
        const QImage image(dir.filePath(QStringLiteral("page-1.png")));
        QVERIFY(image.width() > image.height());
        // Positions in twips from the printable area's corner, at 10 twips a pixel.
        const QPoint origin = (used.paintRect(QPageLayout::Inch).topLeft() * 144).toPoint();
        const auto at = [&](int x, int y) { return image.pixelColor(origin + QPoint(x / 10, y / 10)); };
        const auto near = [&](int x, int y, QColor b) {
            const QColor a = at(x, y);
            return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 24;
        };
        const auto dark = [&](int x, int y) { return at(x, y).lightness() < 60; };
        const auto hasDigit = [&](int row, int column) {
            for (int y = 100; y < 850; y += 10)
                for (int x = 100; x < 850; x += 10)
                    if (dark(1550 + 950 * column + x, 1050 + 950 * row + y))
                        return true;
            return false;
        };
        // Cell (1,1) is a given 5, (5,7) a solved 8, (5,6) empty.
        QVERIFY(near(2620, 2800, QColor(0xff, 0x80, 0x80)) && hasDigit(1, 1));
        QVERIFY(near(8320, 6600, QColor(0x80, 0xff, 0x80)) && hasDigit(5, 7));
        QVERIFY(near(7370, 6600, Qt::white) && !hasDigit(5, 6));
        // Across row 2 the box line at x 5350 is two pixels wide, the cell line at x 3450 one.
        QVERIFY(dark(5340, 3300) && dark(5350, 3300) && dark(3450, 3300) && !dark(3440, 3300) && !dark(3460, 3300));
        QVERIFY(dark(2000, 1500) && dark(15480, 1500) && !dark(15600, 1500));  // heading rule
        QVERIFY(near(12000, 7700, QColor(0, 0xc0, 0)) && near(15500, 7700, QColor(0, 0xc0, 0)));  // information box
        // No credit line crosses the blue credits box's right edge or shows beyond it.
        for (int y = 9100; y < 10450; y += 10)
            QVERIFY(near(15500, y, QColor(0x80, 0x80, 0xff)) && near(15600, y, at(15600, 8800)));
    }

    // Without a printer Qt falls back to PDF. A failed print, with no file
    // name or an unwritable one, names the file, points to "Druckerauswahl",
    // leaves an older file as it was, and the file chosen there afterwards
    // is printed.
    void aFailedPrintPointsToPrinterSelectionAndLeavesItWorking_data()
    {
        QTest::addColumn<QString>("firstFile");
        QTest::newRow("no file chosen") << QString();
        QTest::newRow("folder missing") << QStringLiteral("/nonexistent/folder/blatt.pdf");
        QTest::newRow("disk full") << QStringLiteral("alt.pdf");
    }
    void aFailedPrintPointsToPrinterSelectionAndLeavesItWorking()
    {
        QFETCH(QString, firstFile);
        QTemporaryDir full;
        std::optional<FullDisk> disk;
        const QByteArray old("%PDF-1.4 an older sheet");
        if (firstFile == "alt.pdf") {
            disk.emplace(full.path());
            QFile file(firstFile = full.filePath(firstFile));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
            file.close();
            disk->fill();
        }
        const QStringList messages = printTo(firstFile);
        QVERIFY2(messages.size() == 1 && messages[0].contains(QStringLiteral("„Druckerauswahl“")) &&
                     messages[0].contains(firstFile),
                 qPrintable(messages.join("")));
        if (disk) {
            QFile file(firstFile);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), old);
            file.close();  // an open file keeps the disk from being unmounted
            QCOMPARE(QDir(full.path()).entryList({QStringLiteral("*pdf*")}), QStringList{QStringLiteral("alt.pdf")});
            disk.reset();
        }
        QTemporaryDir dir;
        QCOMPARE(printTo(dir.filePath(QStringLiteral("blatt.pdf"))), QStringList());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("blatt.pdf"))).size() > 0);
    }
};

QTEST_MAIN(PrintTest)
#include "test_print.moc"
