// The printed sheet: what is drawn where, in which order and colour; what
// the print commands take from the window; and a real page printed into a
// PDF file and rendered back to pixels.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPalette>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <climits>
#include <span>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/credits.h"
#include "app/zifrax_frm.h"
#include "print/print_commands.h"
#include "print/sheet.h"

using namespace zifrax;

namespace {

// A paint device that logs what is drawn on it, one line per figure, with
// positions in device pixels rounded to whole numbers.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QStringList calls;
    const QPaintDevice* device = nullptr;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen)
            pen_ = state.pen();
        if (state.state() & DirtyBrush)
            brush_ = state.brush();
    }

    using QPaintEngine::drawLines;
    using QPaintEngine::drawRects;

    void drawRects(const QRectF* rects, int count) override
    {
        for (const QRectF& r : std::span(rects, size_t(count))) {
            if (brush_.style() != Qt::NoBrush)
                calls << QStringLiteral("fill %1 %2").arg(corners(r.topLeft(), r.bottomRight()), brush_.color().name());
            if (pen_.style() != Qt::NoPen)
                calls << QStringLiteral("box %1 %2").arg(corners(r.topLeft(), r.bottomRight()), penText());
        }
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (const QLineF& l : std::span(lines, size_t(count)))
            calls << QStringLiteral("line %1 %2").arg(corners(l.p1(), l.p2()), penText());
    }

    // Logs the text's top-left corner, as it was asked for.
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override
    {
        const QFont font = item.font();
        const double top = baseline.y() - QFontMetricsF(font, device).ascent();
        calls << QStringLiteral("text \"%1\" at %2,%3 %4pt%5 %6")
                     .arg(item.text())
                     .arg(qRound(baseline.x()))
                     .arg(qRound(top))
                     .arg(font.pointSizeF())
                     .arg(font.bold() ? QStringLiteral(" bold") : QString(), pen_.color().name());
    }

    // Anything else shows up in the log too, so no figure goes unnoticed.
    void drawPath(const QPainterPath&) override { calls << QStringLiteral("path"); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { calls << QStringLiteral("polygon"); }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { calls << QStringLiteral("pixmap"); }

private:
    static QString corners(QPointF from, QPointF to)
    {
        return QStringLiteral("%1,%2-%3,%4").arg(qRound(from.x())).arg(qRound(from.y())).arg(qRound(to.x())).arg(qRound(to.y()));
    }
    QString penText() const
    {
        return QStringLiteral("w%1%2 %3")
            .arg(pen_.width())
            .arg(pen_.isCosmetic() ? QStringLiteral(" cosmetic") : QString(), pen_.color().name());
    }

    QPen pen_;
    QBrush brush_;
};

class RecordingDevice : public QPaintDevice {
public:
    // At 1440 dots per inch a device pixel is a twip.
    explicit RecordingDevice(int dpi = 1440) : dpi_(dpi) { engine_.device = this; }

    QStringList draw(const SheetContent& sheet)
    {
        QPainter painter(this);
        drawSheet(painter, sheet);
        return engine_.calls;
    }

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 17 * dpi_;  // comfortably larger than a sheet
        case PdmHeight: return 12 * dpi_;
        case PdmWidthMM: return 17 * 254 / 10;
        case PdmHeightMM: return 12 * 254 / 10;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return dpi_;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int dpi_;
    mutable RecordingEngine engine_;
};

QString cellBox(int row, int column)
{
    const int left = 2500 + 950 * (column - 1);
    const int top = 2000 + 950 * (row - 1);
    return QStringLiteral("%1,%2-%3,%4").arg(left).arg(top).arg(left + 950).arg(top + 950);
}

QString emptyCellColour() { return QGuiApplication::palette().color(QPalette::Base).name(); }

// Runs check on the next modal window once it is shown, then closes it.
template <typename Check>
void onNextModal(Check check)
{
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        check(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
}

// Runs a poppler tool; the test skips when poppler is not installed.
QString runPoppler(const QString& tool, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return QString();
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ZifRax_frm> window;

    void setCell(int index, const QString& text, Colour colour)
    {
        window->raetsel_txt(index)->setText(text);
        window->raetsel_txt(index)->setBackgroundColour(colour);
    }

private slots:
    void initTestCase() { setUpApplication(); }
    void init() { window = std::make_unique<ZifRax_frm>(); }
    void cleanup() { window.reset(); }

    void sheetIsDrawnInOrderWithItsGeometryAndColours()
    {
        SheetContent sheet;
        sheet.cells[cellIndex(1, 1)] = {QStringLiteral("5"), kPuzzleColour};
        sheet.cells[cellIndex(5, 7)] = {QStringLiteral("8"), kSolutionColour};
        sheet.cells[cellIndex(9, 9)] = {QStringLiteral("3"), kSolutionColour};
        sheet.fileTitle = QStringLiteral("Rätsel 1.zfx");
        sheet.frameCaption = QStringLiteral("Version: 15.07.07");
        sheet.printedAt = QDateTime(QDate(2026, 3, 7), QTime(9, 5, 3));
        sheet.filePath = QStringLiteral("/home/anna/Rätsel 2.zfx");

        QStringList expected{
            QStringLiteral("text \"Zifrax   Rätsel 1.zfx\" at 2000,1000 24pt #000080"),
            QStringLiteral("line 2000,1500-15500,1500 w5 cosmetic #000000"),
        };
        for (int row = 1; row <= 9; ++row)
            for (int column = 1; column <= 9; ++column) {
                const Colour colour = sheet.cells[cellIndex(row, column)].colour;
                const QString fill = colour == kPuzzleColour     ? QStringLiteral("#ff8080")
                                     : colour == kSolutionColour ? QStringLiteral("#80ff80")
                                                                 : emptyCellColour();
                expected << QStringLiteral("fill %1 %2").arg(cellBox(row, column), fill);
            }
        expected << QStringLiteral("text \"5\" at 2750,2100 36pt #000000")   // row 1, column 1
                 << QStringLiteral("text \"8\" at 8450,5900 36pt #000000")   // row 5, column 7
                 << QStringLiteral("text \"3\" at 10350,9700 36pt #000000");  // row 9, column 9
        for (int row = 1; row <= 9; ++row)
            for (int column = 1; column <= 9; ++column)
                expected << QStringLiteral("box %1 w1 cosmetic #000000").arg(cellBox(row, column));
        expected << QStringLiteral("line 5350,2000-5350,10550 w5 cosmetic #000000")
                 << QStringLiteral("line 8200,2000-8200,10550 w5 cosmetic #000000")
                 << QStringLiteral("line 2500,4850-11050,4850 w5 cosmetic #000000")
                 << QStringLiteral("line 2500,7700-11050,7700 w5 cosmetic #000000")
                 << QStringLiteral("box 2500,2000-11050,10550 w5 cosmetic #000000")
                 << QStringLiteral("box 12000,6900-15500,8500 w5 cosmetic #00c000")
                 << QStringLiteral("text \"Zifrax\" at 12100,7000 14pt bold #000000")
                 << QStringLiteral("text \"Version: 15.07.07\" at 12100,7400 14pt #000000")
                 << QStringLiteral("text \"Datum: 07.03.26\" at 12100,7900 10pt #000000")
                 << QStringLiteral("text \"Uhrzeit: 09:05:03\" at 12100,8200 10pt #000000")
                 << QStringLiteral("box 12000,9000-15500,10500 w5 cosmetic #8080ff")
                 << QStringLiteral("text \"Zifrax ist ein Programm von:\" at 12100,9100 10pt bold #000000");
        for (int y : {9450, 9700, 9950, 10200})
            expected << QStringLiteral("credit line at 12100,%1 10pt #000000").arg(y);
        expected << QStringLiteral("text \"/home/anna/Rätsel 2.zfx\" at 5000,11000 8pt #000000");

        QStringList calls = RecordingDevice().draw(sheet);
        // The credit lines' wording is the project's to change; their place is not.
        static const QRegularExpression creditLine(
            QStringLiteral("^text \"[^\"]+\" at (12100,(9450|9700|9950|10200) 10pt #000000)$"));
        for (QString& call : calls)
            call.replace(creditLine, QStringLiteral("credit line at \\1"));
        QCOMPARE(calls, expected);
    }

    void positionsScaleWithTheDeviceWhileLineWidthsAndPointSizesDoNot()
    {
        SheetContent sheet;
        sheet.cells[cellIndex(1, 1)] = {QStringLiteral("5"), kPuzzleColour};
        const QStringList calls = RecordingDevice(720).draw(sheet);  // half a pixel per twip
        QVERIFY(calls.contains(QStringLiteral("line 1000,750-7750,750 w5 cosmetic #000000")));
        QVERIFY(calls.contains(QStringLiteral("box 1250,1000-5525,5275 w5 cosmetic #000000")));
        QVERIFY(calls.contains(QStringLiteral("box 1250,1000-1725,1475 w1 cosmetic #000000")));
        QVERIFY(calls.contains(QStringLiteral("text \"5\" at 1375,1050 36pt #000000")));
    }

    void sheetBeforeAnyLoadHasTheBareHeadingAndNoFoot()
    {
        const QStringList calls = RecordingDevice().draw(sheetOfWindow(*window, QDateTime::currentDateTime()));
        QCOMPARE(calls.first(), QStringLiteral("text \"Zifrax   \" at 2000,1000 24pt #000080"));
        QVERIFY(calls.contains(QStringLiteral("text \"Version: 15.07.07\" at 12100,7400 14pt #000000")));
        QVERIFY(calls.filter(QStringLiteral("at 5000,11000")).isEmpty());
        QVERIFY(calls.filter(QStringLiteral("36pt")).isEmpty());
        QCOMPARE(calls.filter(QStringLiteral("fill")).size(), kCellCount);
        QCOMPARE(calls.filter(QStringLiteral("fill")), calls.filter(emptyCellColour()));
    }

    void headingNamesTheLoadedFileAndTheFootTheFileSavedLater()
    {
        QTemporaryDir dir;
        auto runWithFile = [&](QAction* command, const QString& name) {
            onNextModal([path = dir.filePath(name)](QWidget* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(dialog)->accept();
            });
            command->trigger();
        };
        setCell(cellIndex(2, 3), QStringLiteral("4"), kPuzzleColour);
        setCell(cellIndex(8, 6), QStringLiteral("9"), kSolutionColour);
        runWithFile(window->M_speichern_unter, QStringLiteral("Rätsel 1.zfx"));
        runWithFile(window->M_laden, QStringLiteral("Rätsel 1.zfx"));
        runWithFile(window->M_speichern_unter, QStringLiteral("Kopie.zfx"));

        const QStringList calls = RecordingDevice().draw(sheetOfWindow(*window, QDateTime::currentDateTime()));
        QCOMPARE(calls.first(), QStringLiteral("text \"Zifrax   Rätsel 1.zfx\" at 2000,1000 24pt #000080"));
        QCOMPARE(calls.last(), QStringLiteral("text \"%1\" at 5000,11000 8pt #000000").arg(dir.filePath("Kopie.zfx")));
        QCOMPARE(calls.filter(QStringLiteral("36pt")),
                 QStringList({QStringLiteral("text \"4\" at 4650,3050 36pt #000000"),
                              QStringLiteral("text \"9\" at 7500,8750 36pt #000000")}));
        QVERIFY(calls.contains(QStringLiteral("fill %1 #ff8080").arg(cellBox(2, 3))));
        QVERIFY(calls.contains(QStringLiteral("fill %1 #80ff80").arg(cellBox(8, 6))));
    }

    void creditLinesFitTheirBox()
    {
        // The box's inner edge lies half a thick line inside x 15500.
        RecordingDevice twips;
        QFont font;
        font.setPointSizeF(10);
        auto fits = [&](const char* line) {
            return 12100 + QFontMetricsF(font, &twips).horizontalAdvance(QString::fromUtf8(line)) < 15500 - 12;
        };
        font.setBold(true);
        QVERIFY(fits(credits::kSheetCreditsHeading));
        font.setBold(false);
        for (const char* line : credits::kSheetCreditLines)
            QVERIFY2(fits(line), line);
    }

    // On either paper the right-hand column (to x 15500) and the foot line
    // (from y 11000) lie within the printable area, and the page rendered
    // from the PDF file is landscape with each cell's colour where it belongs.
    void printedPdfPage_data()
    {
        QTest::addColumn<QPageSize::PageSizeId>("paper");
        QTest::newRow("A4") << QPageSize::A4;
        QTest::newRow("Letter") << QPageSize::Letter;
    }
    void printedPdfPage()
    {
        QFETCH(QPageSize::PageSizeId, paper);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        QPrinter& printer = window->printCommands().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(paper));
        printer.setPageOrientation(QPageLayout::Portrait);  // the sheet is landscape whatever was chosen
        setCell(cellIndex(1, 1), QStringLiteral("5"), kPuzzleColour);
        setCell(cellIndex(5, 7), QStringLiteral("8"), kSolutionColour);
        window->M_drucken->trigger();

        const QRectF area = printer.pageLayout().paintRect(QPageLayout::Inch);
        const double twipsPerDot = 1440.0 / printer.resolution();
        QFont footFont;
        footFont.setPointSizeF(8);
        const double footBottom = 11000 + QFontMetricsF(footFont, &printer).height() * twipsPerDot;
        QVERIFY2(area.width() * 1440 >= 15500 + 2.5 * twipsPerDot, qPrintable(QString::number(area.width() * 1440)));
        QVERIFY2(area.height() * 1440 >= footBottom, qPrintable(QString::number(area.height() * 1440)));

        const QString info = runPoppler(QStringLiteral("pdfinfo"), {pdf});
        if (info.isEmpty())
            QSKIP("poppler-utils (pdfinfo, pdftoppm) is not installed");
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        constexpr int dpi = 100;
        runPoppler(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        const QImage page(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());

        // Sheet positions count from the corner of the printable area.
        const QPointF origin = area.topLeft() * 1440;
        auto pixel = [&](int row, int column, int x, int y) {
            return page.pixelColor(qRound((origin.x() + 2500 + 950 * (column - 1) + x) * dpi / 1440),
                                   qRound((origin.y() + 2000 + 950 * (row - 1) + y) * dpi / 1440));
        };
        // A cell's fill shows beside its digit; the digit itself is black.
        auto fillNear = [&](int row, int column, QColor expected) {
            const QColor actual = pixel(row, column, 120, 800);
            return qAbs(actual.red() - expected.red()) <= 8 && qAbs(actual.green() - expected.green()) <= 8 &&
                   qAbs(actual.blue() - expected.blue()) <= 8;
        };
        auto hasBlackDigit = [&](int row, int column) {
            for (int y = 100; y < 850; y += 10)
                for (int x = 250; x < 850; x += 10)
                    if (pixel(row, column, x, y).lightness() < 40)
                        return true;
            return false;
        };
        QVERIFY(fillNear(1, 1, QColor(0xff, 0x80, 0x80)));
        QVERIFY(fillNear(5, 7, QColor(0x80, 0xff, 0x80)));
        QVERIFY(fillNear(5, 6, QColor(emptyCellColour())));
        QVERIFY(hasBlackDigit(1, 1));
        QVERIFY(hasBlackDigit(5, 7));
        QVERIFY(!hasBlackDigit(5, 6));
    }

    void printingWithoutAPrinterPointsToPrinterSelection()
    {
        QPrinter& printer = window->printCommands().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);  // what Qt falls back to when no printer is installed
        printer.setOutputFileName(QString());
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        onNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
        });
        window->M_drucken->trigger();
        QCOMPARE(title, QStringLiteral("Zifrax for Windows"));
        QVERIFY2(text.contains(QStringLiteral("„Druckerauswahl“")), qPrintable(text));
        QCOMPARE(icon, QMessageBox::Warning);
    }

    void printerSelectionKeepsAConfirmedChoiceAndCancelChangesNothing()
    {
        QTemporaryDir dir;
        const QString chosenFile = dir.filePath(QStringLiteral("blatt.pdf"));
        QPrinter& printer = window->printCommands().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosenFile);
        printer.setPageSize(QPageSize(QPageSize::Letter));

        // The dialog offers printing into a PDF file under the name that the
        // message about a missing printer uses, and no selection range.
        QStringList printers;
        bool offersSelection = true;
        onNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("Drucker_dlg"));
            QCOMPARE(dialog->printer(), &printer);
            offersSelection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
            for (const QComboBox* box : dialog->findChildren<QComboBox*>())
                for (int i = 0; i < box->count(); ++i)
                    printers << box->itemText(i);
        });
        window->M_Druckeinstellung->trigger();
        QVERIFY2(printers.contains(QStringLiteral("In PDF-Datei drucken")), qPrintable(printers.join(u'|')));
        QVERIFY(!offersSelection);
        QCOMPARE(printer.outputFileName(), chosenFile);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Letter);

        onNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        window->M_Druckeinstellung->trigger();
        window->M_drucken->trigger();
        QVERIFY(QFileInfo::exists(chosenFile));
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Letter);
    }
};

QTEST_MAIN(PrintTest)
#include "test_print.moc"
