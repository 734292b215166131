// SPDX-License-Identifier: GPL-3.0-or-later
// The printed sheet: its geometry and colours drawn onto an image, the texts
// it takes from the window, and a real page printed into a PDF file and
// rendered back to pixels.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/application_setup.h"
#include "app/zifrax_frm.h"
#include "print/print_commands.h"
#include "print/sheet.h"

using namespace zifrax;

namespace {

const QColor kBlue(0x80, 0x80, 0xff);

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 24;
}

// A sheet as pixels at 144 dots per inch, 10 twips a pixel, from the printable
// area's corner at origin. Positions below are twips.
struct Page {
    QImage image;
    QPoint origin;
    QColor at(int x, int y) const { return image.pixelColor(origin + QPoint(x / 10, y / 10)); }
    bool dark(int x, int y) const { return at(x, y).lightness() < 60; }
    QColor cellFill(int row, int column) const { return at(1670 + 950 * column, 1850 + 950 * row); }
    bool hasDigit(int row, int column) const
    {
        for (int y = 100; y < 850; y += 10)
            for (int x = 100; x < 850; x += 10)
                if (dark(1550 + 950 * column + x, 1050 + 950 * row + y))
                    return true;
        return false;
    }
    // Cell (1,1) is a given 5, (5,7) a solved 8, (5,6) empty; no credit line
    // crosses the credits box's right edge or shows beyond it.
    void check() const
    {
        QVERIFY(near(cellFill(1, 1), QColor(0xff, 0x80, 0x80)));
        QVERIFY(near(cellFill(5, 7), QColor(0x80, 0xff, 0x80)));
        QVERIFY(near(cellFill(5, 6), QGuiApplication::palette().color(QPalette::Base)));
        QVERIFY(hasDigit(1, 1) && hasDigit(5, 7) && !hasDigit(5, 6));
        for (int y = 9100; y < 10450; y += 10)
            QVERIFY(near(at(15500, y), kBlue) && near(at(15600, y), at(15600, 8800)));
    }
};

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ZifRax_frm> window;

private slots:
    void initTestCase() { setUpApplication(); }
    void init()
    {
        window = std::make_unique<ZifRax_frm>();
        window->setCell(cellIndex(1, 1), QStringLiteral("5"), kPuzzleColour);
        window->setCell(cellIndex(5, 7), QStringLiteral("8"), kSolutionColour);
    }
    void cleanup() { window.reset(); }

    void sheetGeometryAndColours()
    {
        Page page{QImage(1600, 1200, QImage::Format_RGB32), {}};
        page.image.setDotsPerMeterX(5669);  // 144 dots per inch
        page.image.setDotsPerMeterY(5669);
        page.image.fill(Qt::gray);  // unlike any colour of the sheet
        QPainter painter(&page.image);
        drawSheet(painter, sheetOfWindow(*window, {}));
        painter.end();
        page.check();
        // Across row 2 the box line at x 5350 is thicker than the cell line at x 3450.
        QVERIFY(page.dark(5330, 3300) && page.dark(5370, 3300) && !page.dark(3430, 3300) && !page.dark(3470, 3300));
        QVERIFY(page.dark(2000, 1500) && page.dark(15480, 1500) && !page.dark(15600, 1500));  // heading rule
        const QColor green(0, 0xc0, 0);
        QVERIFY(page.at(12000, 7700) == green && page.at(15500, 7700) == green);  // the information box, both sides
        QCOMPARE(page.at(12000, 9750), kBlue);  // the credits box
    }

    void printsOneLandscapePageIntoAPdfFile()
    {
        QPrinter& printer = window->printCommands().printer();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);  // the sheet is landscape whatever was chosen
        window->findChild<QAction*>("M_drucken")->trigger();
        // On A4 and on Letter the right-hand column (to x 15500 and half a
        // thick line) and the 8-point foot line (from y 11000) fit the page.
        const QPageLayout used = printer.pageLayout();
        for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
            const QPageLayout layout(QPageSize(paper), used.orientation(), used.margins());
            const QSizeF area = layout.paintRect(QPageLayout::Inch).size() * 1440;
            QVERIFY2(area.width() >= 15530 && area.height() >= 11240, qPrintable(QPageSize::name(paper)));
        }

        if (QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "144", "-png", pdf, dir.filePath("page")}) < 0)
            QSKIP("poppler-utils (pdftoppm) is not installed");
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("page*")}), QStringList{QStringLiteral("page-1.png")});
        const Page page{QImage(dir.filePath(QStringLiteral("page-1.png"))),
                        (used.paintRect(QPageLayout::Inch).topLeft() * 144).toPoint()};
        QVERIFY(page.image.width() > page.image.height());
        page.check();
    }

    // Without a printer Qt falls back to PDF. A failed print, with no file
    // name or an unwritable one, points to "Druckerauswahl", and the file
    // chosen there afterwards is printed.
    void aFailedPrintPointsToPrinterSelectionAndLeavesItWorking_data()
    {
        QTest::addColumn<QString>("firstFile");
        QTest::newRow("no file chosen") << QString();
        QTest::newRow("folder missing") << QStringLiteral("/nonexistent/folder/blatt.pdf");
    }
    void aFailedPrintPointsToPrinterSelectionAndLeavesItWorking()
    {
        QFETCH(QString, firstFile);
        // Prints to `file`; returns the text of the message box it showed.
        const auto printTo = [this](const QString& file) {
            QString message;
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    message = box->text();
                    box->reject();
                }
            });
            window->printCommands().printer().setOutputFormat(QPrinter::PdfFormat);
            window->printCommands().printer().setOutputFileName(file);
            window->findChild<QAction*>("M_drucken")->trigger();
            QCoreApplication::processEvents();  // the timer, when no box came
            return message;
        };
        const QString message = printTo(firstFile);
        QVERIFY2(message.contains(QStringLiteral("„Druckerauswahl“")), qPrintable(message));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("blatt.pdf"));
        QCOMPARE(printTo(pdf), QString());
        QVERIFY(QFileInfo(pdf).size() > 0);
    }
};

QTEST_MAIN(PrintTest)
#include "test_print.moc"
