// SPDX-License-Identifier: GPL-3.0-or-later
// The solver module: the progress texts, and the two stages: the reference checked case by case on a
// recording window, and the fast engine required to leave the same record
// on every solve (window calls in order, stored variations, pass count),
// stops included.
#include <QtTest>

#include <numeric>
#include <random>

#include "solver/progress_text.h"
#include "tests/solver/engine_comparison.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

constexpr const char* kFullGrid =
    "123456789456789123789123456234567891567891234891234567345678912678912345912345678";
// A search of a little over 300000 passes.
constexpr const char* kLongSearch =
    ".9.....124........12.....7.....5.4.7..8...3....1.9....3..4.52...5.1........836...";

// Each engine keeps its module between solves, as the program does.
Zifrax_bas referenceModule, fastModule;

// A solve by the reference, the givens shown light red and the stop box
// ticked from the k-th update on; the fast engine must leave the same record.
struct Solved {
    RecordingWindow window;
    SolveRecord record;
    QStringList calls;  // the reference's window calls

    Solved(const GridArray& puzzle, int stopAfterUpdates = -1)
    {
        for (int cell = 1; cell <= kCellCount; ++cell)
            window.colours[cell] = puzzle[cell] ? kPuzzleColour : kEmptyCellColour;
        window.stopAfterUpdates = stopAfterUpdates;
        const RecordingWindow fastWindow = window;
        record = solve(kReferenceEngine, referenceModule, window, puzzle);
        std::string text;
        for (int cell = 1; cell <= kCellCount; ++cell)
            text += char('0' + puzzle[cell]);
        for (const std::string& call : record.trace)
            calls << QString::fromStdString(call);
        for (const Engine* engine : {&kFastEngine, &kEagerFastEngine, &kWholeCountEngine}) {
            RecordingWindow engineWindow = fastWindow;
            const std::string difference = firstDifference(record, solve(*engine, fastModule, engineWindow, puzzle));
            QVERIFY2(difference.empty(),
                     (text + ", stop " + std::to_string(stopAfterUpdates) + ": " + difference).c_str());
        }
    }
    Solved(const QString& puzzle, int stopAfterUpdates = -1)
        : Solved(gridFromText(puzzle.toStdString()), stopAfterUpdates)
    {
    }

    // The row's stored variations, one after another.
    QString variationsOfRow(int row) const
    {
        const auto first = 9 * std::accumulate(record.counts.begin() + 1, record.counts.begin() + row, 0);
        QString digits;
        for (int i = first; i < first + 9 * record.counts[row]; ++i)
            digits += QChar('0' + record.variations[i]);
        return digits;
    }
    QString cells() const
    {
        QString text;
        for (int cell = 1; cell <= kCellCount; ++cell)
            text += window.texts[cell].empty() ? "." : window.texts[cell].c_str();
        return text;
    }
};

// A shuffled pattern solution whose rows keep minGivens to maxGivens digits;
// `spoil` then changes one given where the rules allow, mostly leaving none.
GridArray randomPuzzle(std::mt19937& random, int minGivens, int maxGivens, bool spoil)
{
    std::array<int, 9> digits{}, rows{}, columns{}, order{};
    for (auto* line : {&digits, &rows, &columns, &order})
        std::iota(line->begin(), line->end(), 0);
    std::shuffle(digits.begin(), digits.end(), random);
    for (int band = 0; band < 9; band += 3) {
        std::shuffle(rows.begin() + band, rows.begin() + band + 3, random);
        std::shuffle(columns.begin() + band, columns.begin() + band + 3, random);
    }
    GridArray grid{};
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c)
            grid[cellIndex(r + 1, c + 1)] = digits[(rows[r] % 3 * 3 + rows[r] / 3 + columns[c]) % 9] + 1;
        std::shuffle(order.begin(), order.end(), random);
        for (int i = std::uniform_int_distribution(minGivens, maxGivens)(random); i < 9; ++i)
            grid[cellIndex(r + 1, order[i] + 1)] = 0;
    }
    for (int attempt = 0; spoil && attempt < 1000; ++attempt) {
        GridArray spoilt = grid;
        int& given = spoilt[random() % kCellCount + 1];
        given = given ? int(random() % 9) + 1 : 0;
        if (spoilt != grid && spaltenpruefung(spoilt) && zeilenpruefung(spoilt) && blockpruefung(spoilt))
            return spoilt;
    }
    return grid;
}

// Copies givens of the grid into other cells of their row, column or box,
// as a hand-edited file may: `groups` names the kinds of group to use.
GridArray withRepeatedGivens(std::mt19937& random, GridArray grid, const QStringList& groups, int copies)
{
    while (copies > 0) {
        const int cell = int(random() % kCellCount) + 1;
        if (grid[cell] == 0)
            continue;
        const QString& group = groups[int(random() % groups.size())];
        const int row = rowOf(cell), column = columnOf(cell);
        const auto [kind, g] = group == "row"      ? std::pair(GroupKind::Row, row)
                               : group == "column" ? std::pair(GroupKind::Column, column)
                                                   : std::pair(GroupKind::Box, boxOf(row, column));
        grid[groupCell(kind, g, int(random() % 9) + 1)] = grid[cell];
        --copies;
    }
    return grid;
}

}  // namespace

class SolverModuleTest : public QObject {
    Q_OBJECT

private slots:
    void timeCaptions_data()
    {
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<QString>("captions");
        QTest::newRow("0 s") << 0 << "0 Std. 0 Min. 0 Sek.";
        QTest::newRow("59 s") << 59 << "0 Std. 0 Min. 59 Sek.";
        QTest::newRow("60 s") << 60 << "0 Std. 1 Min. 0 Sek.";
        QTest::newRow("3725 s") << 3725 << "1 Std. 2 Min. 5 Sek.";
        QTest::newRow("a day") << 86400 << "24 Std. 0 Min. 0 Sek.";
        QTest::newRow("clock set back") << -3725 << "-1 Std. -2 Min. -5 Sek.";
    }
    void timeCaptions()
    {
        QFETCH(int, elapsed);
        QFETCH(QString, captions);
        const auto shown = zifrax::timeCaptions(elapsed);
        QCOMPARE(QString::fromStdString(shown[0] + " " + shown[1] + " " + shown[2]), captions);
    }

    void rowPassAndSecondCounts()
    {
        QCOMPARE(QString::fromStdString(rowCaption(4)), QString("Zeile: 4"));
        QCOMPARE(QString::fromStdString(passCaption(3000000000)), QString("Durchläufe: 3000000000"));
        // Clock-second boundaries crossed, not whole seconds passed.
        const std::chrono::system_clock::time_point start{std::chrono::milliseconds(1'000'900)};
        QCOMPARE(elapsedSeconds(start, start + std::chrono::milliseconds(200)), 1);
    }
    // Row 1's stored fillings, and its reports, of which the abandoning rule
    // skips some.
    void variationsOfRowOne_data()
    {
        QTest::addColumn<QString>("puzzle");
        QTest::addColumn<int>("reports");
        QTest::addColumn<QStringList>("variations");
        QTest::newRow("three empty cells")
            << "...456789...789123...123456...567891...891234...234567...678912...912345...345678" << 39
            << QStringList{"123456789", "132456789", "213456789", "231456789", "312456789", "321456789"};
        QTest::newRow("0 0 3 4 5 6 7 8 9 over a 1 in column 1")
            << "..3456789...789123...123456...567891...891234...234567...678912...9123451..345678" << 10
            << QStringList{"213456789"};
        // 2 and 3 lie below in columns 1 and 3, 1 and 3 in column 2.
        QTest::newRow("column test abandons at positions 1 to 3")
            << "...456789456789123789123456234567891567891234891234567345678912678912345912345678" << 30
            << QStringList{"123456789"};
        QTest::newRow("no variation") << QString(kRowWithoutVariations) << 34 << QStringList{};
    }
    void variationsOfRowOne()
    {
        QFETCH(QString, puzzle);
        QFETCH(int, reports);
        QFETCH(QStringList, variations);
        const Solved solved(puzzle);
        QCOMPARE(solved.variationsOfRow(1), variations.join(""));
        QCOMPARE(solved.calls.count("update 1 1 0"), reports);
        if (variations.isEmpty()) {  // reported once by each stage; the first frees the controls
            QCOMPARE(solved.calls.last(6), (QStringList{"variation label beendet", "message: no solution",
                                                    "controls enabled", "stop read: not ticked",
                                                    "brute force label beendet", "message: no solution"}));
        }
    }

    void fullGridIsWrittenBack()
    {
        QStringList expected;
        for (int report = 0; report < 27; ++report)
            expected << QStringLiteral("update 1 %1 0").arg(report / 3 + 1) << "stop read: not ticked";
        expected << "variation label beendet" << "stop read: not ticked" << "brute force label beendet";
        for (int cell = 1; cell <= kCellCount; ++cell)
            expected << QStringLiteral("cell %1 text %2").arg(cell).arg(kFullGrid[cell - 1]);
        const Solved solved{QString(kFullGrid)};
        for (int row = 1; row <= 9; ++row)
            QCOMPARE(solved.variationsOfRow(row), QString(kFullGrid).mid((row - 1) * 9, 9));
        QCOMPARE(solved.record.passes, qint64(9));
        QCOMPARE(solved.calls, expected);
    }

    void smallerOfTwoSolutionsIsWrittenInGreen()
    {
        // The easy puzzle's solution less a rectangle that can be filled two
        // ways (rows 3 and 6, columns 5 and 6) and a few more cells.
        const char* puzzle = ".346789126721953481983..5678597614234268.37917139..85696153728428741963534528617.";
        const Solved solved{QString(puzzle)};
        QCOMPARE(solved.cells(),
                 QString("534678912672195348198324567859761423426853791713942856961537284287419635345286179"));
        for (int cell = 1; cell <= kCellCount; ++cell)
            QCOMPARE(solved.window.colours[cell], puzzle[cell - 1] == '.' ? kSolutionColour : kPuzzleColour);
    }

    void longSearchReportsEveryHundredThousandPasses()
    {
        const Solved solved{QString(kLongSearch)};
        QCOMPARE(solved.calls.filter(QRegularExpression("^update 2|^brute")),
                 (QStringList{"update 2 0 100000", "update 2 0 200000", "update 2 0 300000",
                              "brute force label beendet"}));
        QCOMPARE(solved.cells(),
                 QString("693784512487512936125963874932651487568247391741398625319475268856129743274836159"));
    }

    // Ticked at the second report of row 4: rows 4 to 9 keep the counts of
    // the solve before, and the search stops at its first check.
    void stopWhileRowFourIsEnumerated()
    {
        const Solved probe{QString(kEasyPuzzle)};
        const Solved before{QString(kFullGrid)};
        const Solved solved(kEasyPuzzle, int(probe.calls.indexOf("update 1 4 0")) / 2 + 2);
        QCOMPARE(solved.record.passes, qint64(0));
        QCOMPARE(solved.calls.last(3), (QStringList{"update 1 4 0", "stop read: ticked", "stop read: ticked"}));
        for (int row = 1; row <= 9; ++row)
            QCOMPARE(solved.record.counts[row], row <= 3 ? probe.record.counts[row] : 1);
    }

    void stopTickedBeforeTheSolve()
    {
        const Solved solved(kEasyPuzzle, 0);
        QCOMPARE(solved.calls, (QStringList{"update 1 1 0", "stop read: ticked", "stop read: ticked"}));
    }

    void generatedPuzzlesAgree()
    {
        // Box 1 holds a 7 in row 3 that columns 1 and 2 do not: the box test
        // abandons once the column test lets a candidate by.
        Solved(QString("...456..94567891237891234562345678915678912348912345673456789126.8912345912345678"));
        std::mt19937 random(20070715);
        int unsolved = 0;
        for (int i = 0; i < 300; ++i) {
            // Sparse rows give several solutions; spoilt givens mostly none.
            const bool sparse = i % 3 == 0;
            const Solved solved(randomPuzzle(random, sparse ? 2 : 3, sparse ? 4 : 6, i % 5 == 0));
            unsolved += solved.calls.last() == "message: no solution";
        }
        QVERIFY(unsolved > 10 && unsolved < 290);
    }

    // A given of row 9 repeats one above it in its column: every filling of
    // rows 1 to 8 is tried and fails there, so the counts of all rows agree.
    void puzzlesFailingInTheLastRowAgree()
    {
        std::mt19937 random(20261206);
        for (int i = 0; i < 40; ++i) {
            GridArray puzzle = randomPuzzle(random, 3, 5, false);
            const int row9 = cellIndex(9, 1) - 1;
            for (int c = 1; c <= 9; ++c) {
                const int above = puzzle[cellIndex(int(random() % 8) + 1, c)];
                if (puzzle[row9 + c] == 0 && above != 0 &&
                    std::none_of(&puzzle[row9 + 1], &puzzle[row9 + 10], [&](int d) { return d == above; })) {
                    puzzle[row9 + c] = above;
                    break;
                }
            }
            Solved{puzzle};
        }
    }

    // Givens that break a rule reach the solve through files; the stages
    // then must still agree call for call.
    void repeatedGivensAgree_data()
    {
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<int>("copies");
        QTest::newRow("row") << QStringList{"row"} << 1;
        QTest::newRow("column") << QStringList{"column"} << 1;
        QTest::newRow("box") << QStringList{"box"} << 1;
        QTest::newRow("rows, columns and boxes together") << QStringList{"row", "column", "box"} << 4;
    }
    void repeatedGivensAgree()
    {
        QFETCH(QStringList, groups);
        QFETCH(int, copies);
        std::mt19937 random(std::uint32_t(qHash(QByteArray(QTest::currentDataTag()))));
        for (int i = 0; i < 60; ++i)
            Solved(withRepeatedGivens(random, randomPuzzle(random, 3, 7, false), groups, copies));
    }

    // Row 1 holds two 7s in box 2 and row 4 two 6s in box 5, each row one
    // digit short, while every column still holds each digit once: only the
    // box test at rows 3 and 6 sees the repeats.
    void repeatsInsideARowFailTheBoxTest()
    {
        const Solved solved{
            QString("534778912672.9.3481983425..859661423426853791713924856961537284287419635.4528617.")};
        QCOMPARE(solved.calls.last(), QString("message: no solution"));
        QCOMPARE(solved.record.passes, qint64(3));
    }

    // In searches of five and nineteen million passes: stops at the start, in the
    // first reports, around the change of stage, and at the last report;
    // then at every report of the search, where the fast engine must leave
    // the reference's record up to that report. Both searches meet column
    // states at rows 4 and 7 whose passes were counted before, some of them
    // spanning reports.
    void stopsTakeEffectAtTheSameCall_data()
    {
        QTest::addColumn<QString>("puzzle");
        QTest::newRow("no solution")
            << "5...2.7.4.........1..8..5...57........3......2....6.43...5824....2....8..65...127";
        QTest::newRow("solved") << "..51..........6.5..6..5.......5..38.....8...9....6..2.893..5....5.21.9...4.839...";
    }
    void stopsTakeEffectAtTheSameCall()
    {
        QFETCH(QString, puzzle);
        const Solved full(puzzle);
        const QStringList reports = full.calls.filter(QRegularExpression("^update"));
        const auto variationReports = int(reports.filter(QRegularExpression("^update 1")).size());
        QVERIFY(reports.size() > variationReports + 2);
        for (const int k : {0, 1, 2, 3, 40, variationReports, variationReports + 1, variationReports + 2,
                            int(reports.size())})
            Solved(puzzle, k);

        int updates = 0;
        for (int call = 0; call < full.calls.size(); ++call) {
            updates += full.calls[call].startsWith("update");
            if (!full.calls[call].startsWith("update 2"))
                continue;
            SolveRecord expected = full.record;
            expected.trace.resize(call + 1);
            expected.trace.push_back("stop read: ticked");
            expected.passes = full.calls[call].section(' ', 3).toLongLong();
            for (const Engine* engine : {&kFastEngine, &kEagerFastEngine, &kWholeCountEngine}) {
                RecordingWindow window;
                window.stopAfterUpdates = updates;
                const std::string difference =
                    firstDifference(expected, solve(*engine, fastModule, window, gridFromText(puzzle.toStdString())));
                QVERIFY2(difference.empty(), ("stop at report " + std::to_string(updates) + ": " + difference).c_str());
            }
        }
    }

    // Whole searches of the deep kind, their pass counts and the report
    // before them those of the search that made every loop. The sample
    // schwer.zfx (two hundred billion passes) is long enough that the second
    // band's loops are counted from row 6's groups and row 5's bit sets, and
    // its solution keeps the givens and obeys the rules. deep-a holds no
    // solution and is counted whole, its first band's states in 520 lanes; no
    // prefix of seven rows passes there.
    void longSearchKeepsItsPassCount_data()
    {
        QTest::addColumn<QString>("puzzle");
        QTest::addColumn<qint64>("passes");
        QTest::addColumn<bool>("solved");
        QTest::newRow("schwer.zfx")
            << ".......5.......9......4.........7........8..2.....4........9....7..3......3...7.."
            << qint64(197976694211) << true;
        QTest::newRow("deep-a") << "4.3.......9.....2........48.7.....3....6..2............2..7............6.....8..1"
                                << qint64(3563241480983) << false;
    }
    void longSearchKeepsItsPassCount()
    {
        QFETCH(QString, puzzle);
        QFETCH(qint64, passes);
        QFETCH(bool, solved);
        // Counts the millions of reports instead of recording them.
        struct CountingWindow : RecordingWindow {
            std::int64_t lastReport = 0;
            void update(std::int32_t mode, std::int32_t, std::int64_t durchlauf) override
            {
                lastReport = mode == 2 ? durchlauf : lastReport;
            }
            bool stopRequested() override { return false; }
        } window;
        const GridArray grid = gridFromText(puzzle.toStdString());
        const SolveRecord record = solve(kFastEngine, fastModule, window, grid);
        QCOMPARE(record.passes, passes);
        QCOMPARE(window.lastReport, passes / 100000 * 100000);
        QCOMPARE(record.trace.back() == "message: no solution", !solved);
        for (int unit = 0; solved && unit < 27; ++unit) {
            int digits = 0;
            for (int k = 0; k < 9; ++k) {
                const int row = unit < 9 ? unit : unit < 18 ? k : unit % 9 / 3 * 3 + k / 3;
                const int column = unit < 9 ? k : unit < 18 ? unit - 9 : unit % 3 * 3 + k % 3;
                const int cell = cellIndex(row + 1, column + 1);
                QVERIFY(grid[cell] == 0 || fastModule.loesung[cell] == grid[cell]);
                digits |= 1 << fastModule.loesung[cell];
            }
            QCOMPARE(digits, 0x3FE);
        }
    }
};

QTEST_GUILESS_MAIN(SolverModuleTest)
#include "test_solver_module.moc"
