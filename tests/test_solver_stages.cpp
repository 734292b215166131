// The reference stages against a recording window: what they store, which
// window calls they make in which order, how many passes the search takes,
// and what they write into the cells.
#include <QTest>

#include <memory>

#include "solver/reference_stages.h"
#include "tests/grid_text.h"
#include "tests/recording_window.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// A valid full grid whose rows are shifts of 1 … 9.
constexpr const char* kShiftedGrid =
    "123456789456789123789123456234567891567891234891234567345678912678912345912345678";
// The same with columns 1 to 3 emptied: every row has three empty cells.
constexpr const char* kThreeEmptyPerRow =
    "...456789...789123...123456...567891...891234...234567...678912...912345...345678";

// The easy puzzle's solution less a rectangle of cells that can be filled
// two ways (rows 3 and 6, columns 5 and 6), and a few more cells.
constexpr const char* kTwoSolutions =
    ".346789126721953481983..5678597614234268.37917139..85696153728428741963534528617.";
constexpr const char* kSmallerOfTwo =
    "534678912672195348198324567859761423426853791713942856961537284287419635345286179";
// A puzzle whose search takes a little over 300000 passes.
constexpr const char* kLongSearch =
    ".9.....124........12.....7.....5.4.7..8...3....1.9....3..4.52...5.1........836...";
constexpr const char* kLongSearchSolution =
    "693784512487512936125963874932651487568247391741398625319475268856129743274836159";

std::string withCell(std::string text, int cell, char digit)
{
    text.at(cell - 1) = digit;
    return text;
}

std::string rowText(const Zifrax_bas& bas, int row, int number)
{
    const std::uint8_t* digits = bas.variationen(row, number);
    std::string text;
    for (int p = 0; p < 9; ++p)
        text += char('0' + digits[p]);
    return text;
}

QString cellTexts(const RecordingWindow& window)
{
    QString text;
    for (int cell = 1; cell <= kCellCount; ++cell)
        text += window.texts[cell].empty() ? "." : QString::fromStdString(window.texts[cell]);
    return text;
}

// A solve as the program runs it, on a recording window whose cells show the
// puzzle: givens light red, the rest with the empty-cell colour.
struct Solve {
    std::unique_ptr<Zifrax_bas> bas = std::make_unique<Zifrax_bas>();
    RecordingWindow window;

    explicit Solve(const std::string& puzzle, int stopAfterUpdates = -1)
    {
        bas->vorgabe = gridFromText(puzzle);
        bas->loesung = bas->vorgabe;
        for (int cell = 1; cell <= kCellCount; ++cell)
            if (bas->vorgabe[cell] != 0)
                window.colours[cell] = kPuzzleColour;
        window.stopAfterUpdates = stopAfterUpdates;
        bas->vorbereitung();
    }

    void variation() { reference::variation(*bas, window); }
    std::int64_t bruteForce() { return reference::brute_force(*bas, window); }

    int updatesOfRow(int row) const
    {
        return int(std::count(window.trace.begin(), window.trace.end(),
                              "update 1 " + std::to_string(row) + " 0"));
    }
    QStringList variationsOfRow(int row) const
    {
        QStringList rows;
        for (int n = 1; n <= bas->variationsanzahl[row]; ++n)
            rows << QString::fromStdString(rowText(*bas, row, n));
        return rows;
    }
    // The trace from entry `start` on, or its last `-start` entries.
    QStringList traceFrom(qsizetype start) const
    {
        QStringList entries;
        for (const std::string& entry : window.trace)
            entries << QString::fromStdString(entry);
        return entries.mid(start < 0 ? entries.size() + start : start);
    }
    qsizetype traceSize() const { return qsizetype(window.trace.size()); }
};

// Every update call is followed at once by a read of the stop button.
void verifyStopReadAfterEveryUpdate(const std::vector<std::string>& trace)
{
    for (std::size_t i = 0; i < trace.size(); ++i)
        if (trace[i].starts_with("update "))
            QVERIFY2(i + 1 < trace.size() && trace[i + 1].starts_with("stop read"), trace[i].c_str());
}

bool anyCellWritten(const std::vector<std::string>& trace)
{
    return std::any_of(trace.begin(), trace.end(), [](const std::string& e) { return e.starts_with("cell "); });
}

}  // namespace

class SolverStagesTest : public QObject {
    Q_OBJECT

private slots:
    void variationsOfOneRow_data();
    void variationsOfOneRow();
    void fullGridIsWrittenBackUnchanged();
    void rowWithoutVariationsIsReportedOnce();
    void smallerOfTwoSolutionsIsWritten();
    void searchWithoutCombinationReportsOnce();
    void longSearchReportsEveryHundredThousandPasses();
    void stopDuringSearchLeavesCellsAlone();
    void stopWhileRowFourIsEnumerated();
    void stopTickedBeforeTheSolve();
};

// Row 1 against what its columns and box hold below it: the stored fillings
// and how many reports the row makes, which the abandoning rule decides.
void SolverStagesTest::variationsOfOneRow_data()
{
    QTest::addColumn<QString>("puzzle");
    QTest::addColumn<int>("reports");
    QTest::addColumn<QStringList>("variations");

    QTest::newRow("three free digits, no clash")
        << QString(kThreeEmptyPerRow) << 39
        << QStringList{"123456789", "132456789", "213456789", "231456789", "312456789", "321456789"};
    // A 1 in column 1 fails (1,2,3) at position 1 while k(1) = 1 < 3: the
    // rest of k(1) = 1 is skipped.
    QTest::newRow("column 1 holds a 1")
        << QString::fromStdString(withCell(kThreeEmptyPerRow, 73, '1')) << 35
        << QStringList{"213456789", "231456789", "312456789", "321456789"};
    // A 3 in column 1 fails at position 1 only with k(1) = 3 = m, which
    // abandons nothing.
    QTest::newRow("column 1 holds a 3")
        << QString::fromStdString(withCell(kThreeEmptyPerRow, 55, '3')) << 39
        << QStringList{"123456789", "132456789", "213456789", "231456789"};
    // The same rows with a 1 moved into box 1 (row 2, column 2): it fails
    // every filling, in the column test or in the box test.
    QTest::newRow("box 1 holds a 1")
        << QString(kRowWithoutVariations) << 34
        << QStringList{};
    QTest::newRow("0 0 3 4 5 6 7 8 9 over a 1 in column 1")
        << QString::fromStdString(withCell(withCell(kThreeEmptyPerRow, 73, '1'), 3, '3')) << 10
        << QStringList{"213456789"};
    QTest::newRow("row all given") << QString(kShiftedGrid) << 3 << QStringList{"123456789"};
}

void SolverStagesTest::variationsOfOneRow()
{
    QFETCH(QString, puzzle);
    QFETCH(int, reports);
    QFETCH(QStringList, variations);

    Solve solve(puzzle.toStdString());
    solve.variation();
    QCOMPARE(solve.variationsOfRow(1), variations);
    QCOMPARE(solve.updatesOfRow(1), reports);
    verifyStopReadAfterEveryUpdate(solve.window.trace);
    QCOMPARE(solve.traceFrom(-1), QStringList{variations.isEmpty() ? "controls enabled" : "variation label beendet"});
}

void SolverStagesTest::fullGridIsWrittenBackUnchanged()
{
    // Cells with digits may carry any colour: only the empty-cell colour
    // turns light green.
    Solve solve(kShiftedGrid);
    solve.window.colours[5] = kEmptyCellColour;
    solve.window.colours[7] = kSolutionColour;
    solve.window.colours[9] = 0x123456;
    auto colours = solve.window.colours;
    colours[5] = kSolutionColour;

    QStringList expected;
    for (int row = 1; row <= 9; ++row)
        for (int position = 1; position <= 3; ++position)
            expected << QStringLiteral("update 1 %1 0").arg(row) << "stop read: not ticked";
    expected << "variation label beendet" << "stop read: not ticked" << "brute force label beendet";
    for (int cell = 1; cell <= kCellCount; ++cell) {
        if (cell == 5)
            expected << QStringLiteral("cell 5 colour %1").arg(kSolutionColour);
        expected << QStringLiteral("cell %1 text %2").arg(cell).arg(kShiftedGrid[cell - 1]);
    }

    solve.variation();
    for (int row = 1; row <= 9; ++row)
        QCOMPARE(solve.variationsOfRow(row), QStringList{QString(kShiftedGrid).mid((row - 1) * 9, 9)});
    QCOMPARE(solve.bruteForce(), 9);
    QCOMPARE(solve.traceFrom(0), expected);
    QCOMPARE(solve.window.colours, colours);
}

void SolverStagesTest::rowWithoutVariationsIsReportedOnce()
{
    // Row 1 has no variation.
    Solve solve(kRowWithoutVariations);
    solve.variation();
    QCOMPARE(solve.bas->variationsanzahl[1], 0);
    QCOMPARE(solve.window.messageCount, 1);
    QCOMPARE(solve.traceFrom(-3),
             (QStringList{"variation label beendet", "message: no solution", "controls enabled"}));

    // Run on its own, the search reports it again at once, without a pass.
    const qsizetype searchStart = solve.traceSize();
    QCOMPARE(solve.bruteForce(), 0);
    QCOMPARE(solve.traceFrom(searchStart),
             (QStringList{"stop read: not ticked", "brute force label beendet", "message: no solution"}));
}

void SolverStagesTest::smallerOfTwoSolutionsIsWritten()
{
    Solve solve(kTwoSolutions);
    solve.variation();
    QCOMPARE(solve.bas->variationsanzahl[3], 2);
    QCOMPARE(solve.bas->variationsanzahl[6], 2);
    // Row 3's smaller variation clashes in column 6 with row 6's smaller one.
    QCOMPARE(solve.bruteForce(), 10);
    QCOMPARE(cellTexts(solve.window), QString(kSmallerOfTwo));
    for (int cell = 1; cell <= kCellCount; ++cell)
        QCOMPARE(solve.window.colours[cell], kTwoSolutions[cell - 1] == '.' ? kSolutionColour : kPuzzleColour);
}

void SolverStagesTest::searchWithoutCombinationReportsOnce()
{
    Solve solve(kNoCombination);
    solve.variation();
    for (int row = 1; row <= 9; ++row)
        QVERIFY(solve.bas->variationsanzahl[row] > 0);
    QCOMPARE(solve.window.messageCount, 0);

    const qsizetype searchStart = solve.traceSize();
    QCOMPARE(solve.bruteForce(), 636);
    QCOMPARE(solve.traceFrom(searchStart),
             (QStringList{"stop read: not ticked", "brute force label beendet", "message: no solution"}));
}

void SolverStagesTest::longSearchReportsEveryHundredThousandPasses()
{
    Solve solve(kLongSearch);
    solve.variation();
    const qsizetype searchStart = solve.traceSize();
    QCOMPARE(solve.bruteForce(), 324188);

    const QStringList reports{"stop read: not ticked",
                              "update 2 0 100000", "stop read: not ticked",
                              "update 2 0 200000", "stop read: not ticked",
                              "update 2 0 300000", "stop read: not ticked",
                              "brute force label beendet"};
    QCOMPARE(solve.traceFrom(searchStart).mid(0, reports.size()), reports);
    QCOMPARE(cellTexts(solve.window), QString(kLongSearchSolution));
}

void SolverStagesTest::stopDuringSearchLeavesCellsAlone()
{
    Solve probe(kLongSearch);
    probe.variation();
    const int variationReports = probe.window.updateCount;

    // Ticked during the report at 200000 passes.
    Solve solve(kLongSearch, variationReports + 2);
    solve.variation();
    QCOMPARE(solve.bruteForce(), 200000);
    QCOMPARE(solve.traceFrom(-2), (QStringList{"update 2 0 200000", "stop read: ticked"}));
    QVERIFY(!anyCellWritten(solve.window.trace));
    QCOMPARE(solve.window.messageCount, 0);
}

void SolverStagesTest::stopWhileRowFourIsEnumerated()
{
    Solve probe(kEasyPuzzle);
    probe.variation();
    const int reportsBeforeRowFour = probe.updatesOfRow(1) + probe.updatesOfRow(2) + probe.updatesOfRow(3);

    // Ticked during the second report of row 4; the counts of an earlier
    // solve stay for rows 4 to 9.
    Solve solve(kEasyPuzzle, reportsBeforeRowFour + 2);
    solve.bas->variationsanzahl.fill(77);
    solve.variation();
    QCOMPARE(solve.traceFrom(-2), (QStringList{"update 1 4 0", "stop read: ticked"}));
    QCOMPARE(solve.window.updateCount, reportsBeforeRowFour + 2);
    for (int row = 1; row <= 9; ++row)
        QCOMPARE(solve.bas->variationsanzahl[row], row <= 3 ? probe.bas->variationsanzahl[row] : 77);

    // The search sees the tick at its start.
    const qsizetype searchStart = solve.traceSize();
    QCOMPARE(solve.bruteForce(), 0);
    QCOMPARE(solve.traceFrom(searchStart), QStringList{"stop read: ticked"});
    QCOMPARE(solve.window.messageCount, 0);
}

void SolverStagesTest::stopTickedBeforeTheSolve()
{
    Solve solve(kEasyPuzzle, 0);
    solve.variation();
    QCOMPARE(solve.bruteForce(), 0);
    QCOMPARE(solve.traceFrom(0), (QStringList{"update 1 1 0", "stop read: ticked", "stop read: ticked"}));
}

QTEST_APPLESS_MAIN(SolverStagesTest)
#include "test_solver_stages.moc"
