// The solver module apart from the stages: the three rule checks, the
// free-digit tables, and the texts of the progress display.
#include <QTest>

#include <memory>

#include "solver/progress_text.h"
#include "solver/zifrax_bas.h"
#include "tests/grid_text.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// Two 5s in the two cells given, on an otherwise empty grid.
QString twoFives(int first, int second)
{
    QString text(kCellCount, QLatin1Char('.'));
    text[first - 1] = text[second - 1] = QLatin1Char('5');
    return text;
}

QList<int> tableRow(const FreeDigitTable& table, int group)
{
    return QList<int>(table[group].begin() + 1, table[group].end());
}

}  // namespace

class SolverModuleTest : public QObject {
    Q_OBJECT

private slots:
    void ruleChecks_data();
    void ruleChecks();
    void freeDigitTables();
    void timeCaptions_data();
    void timeCaptions();
    void valueCaptions();
    void elapsedSecondsCountsClockSeconds();
};

void SolverModuleTest::ruleChecks_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<bool>("columns");
    QTest::addColumn<bool>("rows");
    QTest::addColumn<bool>("boxes");

    QTest::newRow("empty grid") << QString(kCellCount, QLatin1Char('.')) << true << true << true;
    QTest::newRow("one digit") << QString(kCellCount - 1, QLatin1Char('.')) + "7" << true << true << true;
    QTest::newRow("cells 1 and 9") << twoFives(1, 9) << true << false << true;
    QTest::newRow("cells 1 and 11") << twoFives(1, 11) << true << true << false;
    QTest::newRow("cells 1 and 73") << twoFives(1, 73) << false << true << true;
    QTest::newRow("every row 1 to 9") << QString("123456789").repeated(9) << false << true << false;
    QTest::newRow("solved grid") << QString(kEasySolution) << true << true << true;
    QTest::newRow("repeat in column 9") << twoFives(9, 81) << false << true << true;
    QTest::newRow("repeat in row 9") << twoFives(73, 81) << true << false << true;
    QTest::newRow("repeat in box 9") << twoFives(61, 81) << true << true << false;
}

void SolverModuleTest::ruleChecks()
{
    QFETCH(QString, grid);
    QFETCH(bool, columns);
    QFETCH(bool, rows);
    QFETCH(bool, boxes);

    const GridArray array = gridFromText(grid.toStdString());
    QCOMPARE(spaltenpruefung(array), columns);
    QCOMPARE(zeilenpruefung(array), rows);
    QCOMPARE(blockpruefung(array), boxes);
}

void SolverModuleTest::freeDigitTables()
{
    const auto bas = std::make_unique<Zifrax_bas>();
    bas->vorgabe = gridFromText(kEasyPuzzle);
    bas->vorbereitung();
    // Row 1 is 5 3 0 0 7 0 0 0 0.
    QCOMPARE(tableRow(bas->zeilenfrei, 1), (QList<int>{1, 2, 0, 4, 0, 6, 0, 8, 9, 6}));
    QCOMPARE(tableRow(bas->zeilenfrei, 9), (QList<int>{1, 2, 3, 4, 5, 6, 0, 0, 0, 6}));
    // Column 1 holds 5 6 8 4 7, column 9 holds 3 1 6 5 9.
    QCOMPARE(tableRow(bas->spaltenfrei, 1), (QList<int>{1, 2, 3, 0, 0, 0, 0, 0, 9, 4}));
    QCOMPARE(tableRow(bas->spaltenfrei, 9), (QList<int>{0, 2, 0, 4, 0, 0, 7, 8, 0, 4}));
    // Box 1 holds 5 3 6 9 8, box 9 holds 2 8 5 7 9.
    QCOMPARE(tableRow(bas->blockfrei, 1), (QList<int>{1, 2, 0, 4, 0, 0, 7, 0, 0, 4}));
    QCOMPARE(tableRow(bas->blockfrei, 9), (QList<int>{1, 0, 3, 4, 0, 6, 0, 0, 0, 4}));
}

void SolverModuleTest::timeCaptions_data()
{
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("fresh start") << 0 << QStringList{"0 Std.", "0 Min.", "0 Sek."};
    QTest::newRow("59 s") << 59 << QStringList{"0 Std.", "0 Min.", "59 Sek."};
    QTest::newRow("60 s") << 60 << QStringList{"0 Std.", "1 Min.", "0 Sek."};
    QTest::newRow("3725 s") << 3725 << QStringList{"1 Std.", "2 Min.", "5 Sek."};
    QTest::newRow("a full day") << 86400 << QStringList{"24 Std.", "0 Min.", "0 Sek."};
    QTest::newRow("clock set back") << -3725 << QStringList{"-1 Std.", "-2 Min.", "-5 Sek."};
}

void SolverModuleTest::timeCaptions()
{
    QFETCH(int, elapsed);
    QFETCH(QStringList, captions);

    QStringList shown;
    for (const std::string& caption : zifrax::timeCaptions(elapsed))
        shown << QString::fromStdString(caption);
    QCOMPARE(shown, captions);
}

void SolverModuleTest::valueCaptions()
{
    QCOMPARE(QString::fromStdString(rowCaption(4)), QString("Zeile: 4"));
    QCOMPARE(QString::fromStdString(passCaption(300000)), QString("Durchläufe: 300000"));
    // Beyond the 32-bit range the count is shown in full.
    QCOMPARE(QString::fromStdString(passCaption(3000000000)), QString("Durchläufe: 3000000000"));
}

void SolverModuleTest::elapsedSecondsCountsClockSeconds()
{
    using namespace std::chrono;
    const system_clock::time_point start{milliseconds(1'000'900)};
    QCOMPARE(elapsedSeconds(start, start), 0);
    QCOMPARE(elapsedSeconds(start, start + milliseconds(200)), 1);
    QCOMPARE(elapsedSeconds(start, start - seconds(3725)), -3725);
}

QTEST_APPLESS_MAIN(SolverModuleTest)
#include "test_solver_module.moc"
