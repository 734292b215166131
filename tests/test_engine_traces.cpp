// The fast engine against the plain reference stages: whole traces of window
// calls, stored variations and pass counts must agree, stops included.
#include <QtTest>

#include "tests/engine_comparison.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// Both engines keep their module data between solves, as the program does.
struct TwoModules {
    Zifrax_bas reference;
    Zifrax_bas fast;
};

TwoModules& modules()
{
    static TwoModules both;
    return both;
}

// Solves the puzzle with both engines, the stop reading ticked from the
// k-th update on (-1: never); returns the first difference.
std::string compareEngines(const GridArray& puzzle, int stopAfterUpdates = -1, SolveRecord* fastRecord = nullptr)
{
    RecordingWindow referenceWindow;
    RecordingWindow fastWindow;
    referenceWindow.stopAfterUpdates = fastWindow.stopAfterUpdates = stopAfterUpdates;
    const SolveRecord expected = solve(kReferenceEngine, modules().reference, referenceWindow, puzzle);
    const SolveRecord actual = solve(kFastEngine, modules().fast, fastWindow, puzzle);
    if (fastRecord)
        *fastRecord = actual;
    const std::string difference = firstDifference(expected, actual);
    return difference.empty() ? difference : puzzleText(puzzle) + " stop " + std::to_string(stopAfterUpdates) + ": " + difference;
}

// Row 1 is 0 0 0 4 5 6 7 8 9 below which the pattern solution stands in
// full: 2 and 3 are given in columns 1 and 3 lower down, 1 and 3 in column 2.
const char* const kAbandoningRow =
    "000456789456789123789123456234567891567891234891234567345678912678912345912345678";

// A band whose box 1 holds 7 in row 3 while columns 1 and 2 do not: the box
// test abandons at positions 1 to 3 once the column test lets a candidate by.
const char* const kBoxAbandoningRow =
    "000456009456789123789123456234567891567891234891234567345678912608912345912345678";

// Searches of about five million passes: one without a solution, one with.
const char* const kLongSearches[] = {
    "......83.....8.21693........9.6..3...1.7.........1..6.1..2.4..33598........59.68.",
    "..51..........6.5..6..5.......5..38.....8...9....6..2.893..5....5.21.9...4.839...",
};

}  // namespace

class EngineTraces : public QObject {
    Q_OBJECT

private slots:
    void abandoningRuleDecidesTheReports()
    {
        SolveRecord record;
        QCOMPARE(QString::fromStdString(compareEngines(gridFromText(kAbandoningRow), -1, &record)), QString());
        // Counted by hand: 30 of the 39 iterations of the loops of positions 1
        // to 3 happen, the others are skipped by abandons at positions 1, 2, 3.
        const auto rowOneReports = std::count(record.trace.begin(), record.trace.end(), "update 1 1 0");
        QCOMPARE(rowOneReports, 30);
        QCOMPARE(record.counts[1], 1);
        QCOMPARE(QString::fromStdString(compareEngines(gridFromText(kBoxAbandoningRow))), QString());
    }

    void generatedPuzzlesAgree()
    {
        std::mt19937 random(20070715);
        for (int i = 0; i < 300; ++i) {
            const GridArray solved = randomSolvedGrid(random);
            // Mostly unique solutions, some with several, some spoilt to none.
            const bool sparse = i % 3 == 0;
            GridArray puzzle = removeCells(solved, sparse ? 2 : 3, sparse ? 4 : 6, random);
            if (i % 5 == 0)
                puzzle = spoilOneGiven(puzzle, random);
            QCOMPARE(QString::fromStdString(compareEngines(puzzle)), QString());
        }
    }

    void stopsTakeEffectAtTheSameCall()
    {
        for (const char* text : kLongSearches) {
            const GridArray puzzle = gridFromText(text);
            SolveRecord full;
            QCOMPARE(QString::fromStdString(compareEngines(puzzle, -1, &full)), QString());
            const auto reports = std::count_if(full.trace.begin(), full.trace.end(),
                                               [](const std::string& call) { return call.starts_with("update"); });
            const auto variationReports = std::count_if(full.trace.begin(), full.trace.end(), [](const std::string& call) {
                return call.starts_with("update 1");
            });
            QVERIFY(reports > variationReports + 2);
            for (const int k : {0, 1, 2, 3, 40, int(variationReports), int(variationReports) + 1,
                                int(variationReports) + 2, int(reports)})
                QCOMPARE(QString::fromStdString(compareEngines(puzzle, k)), QString());
        }
    }
};

QTEST_GUILESS_MAIN(EngineTraces)
#include "test_engine_traces.moc"
