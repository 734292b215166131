// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the reference stages and the fast engine on the puzzles of a file,
// checks that their traces agree, and prints per puzzle and stage the work
// done, the processor time of each engine and their ratio.
//
//   engine_bench [puzzle file] [reference time limit in seconds]
//                [time limit of the fast engine's whole search in seconds]
//
// The reference is stopped at its first report after the time limit; the
// fast engine is then stopped at the same report, so both do the same work,
// and timed on the whole search too: the least of three runs, with each run.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "bench/resident_memory.h"
#include "bench/silent_window.h"
#include "tests/solver/engine_comparison.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// Whole searches are timed this many times.
constexpr int kWholeRuns = 3;

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Reads the stop button as ticked once the time limit has passed.
class TimeLimitWindow : public RecordingWindow {
public:
    explicit TimeLimitWindow(double seconds)
        : deadline_(processorSeconds() + seconds)
    {
    }
    bool stopRequested() override
    {
        if (stopAfterUpdates < 0 && processorSeconds() > deadline_)
            stopAfterUpdates = updateCount;
        return RecordingWindow::stopRequested();
    }

private:
    double deadline_;
};

// Records nothing and reads the stop button as ticked once the time limit
// has passed: for whole searches with hundreds of millions of reports. The
// processor clock is read at every 65536th stop read only: reading it is a
// system call of about a microsecond, which at every 1024th read made a
// tenth of deep-b's whole search.
class QuietWindow : public bench::SilentWindow {
public:
    explicit QuietWindow(double seconds)
        : deadline_(processorSeconds() + seconds)
    {
    }
    bool stopRequested() override
    {
        if (++reads_ % 65536 == 0 && processorSeconds() > deadline_)
            stopped_ = true;
        return stopped_;
    }

    bool stopped() const { return stopped_; }

private:
    double deadline_;
    unsigned reads_ = 0;
    bool stopped_ = false;
};

struct Puzzle {
    std::string name;
    GridArray grid;
};

std::vector<Puzzle> readPuzzles(const std::string& path)
{
    std::vector<Puzzle> puzzles;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        Puzzle puzzle;
        std::string text;
        if (line.empty() || line[0] == '#' || !(fields >> puzzle.name >> text) || text.size() != kCellCount)
            continue;
        puzzle.grid = gridFromText(text);
        puzzles.push_back(puzzle);
    }
    return puzzles;
}

struct Timed {
    SolveRecord record;
    double seconds = 0;
};

// Runs one stage on `bas` as prepared by `prepare`; short runs are repeated
// so that the time is not lost in the clock's resolution.
template <typename Prepare, typename Stage>
Timed timeStage(Zifrax_bas& bas, int stopAfterUpdates, Prepare prepare, Stage stage)
{
    Timed result;
    int runs = 0;
    RecordingWindow window;
    std::int64_t passes = 0;
    const double start = processorSeconds();
    do {
        prepare();
        window = RecordingWindow();
        window.stopAfterUpdates = stopAfterUpdates;
        passes = stage(bas, window);
        ++runs;
    } while (processorSeconds() - start < 0.2 && runs < 1000);
    result.seconds = (processorSeconds() - start) / runs;
    // Taken from the last run, outside the time.
    result.record = recordOf(bas, window, passes);
    return result;
}

std::string threeDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

long long reports(const SolveRecord& record)
{
    long long count = 0;
    for (const std::string& call : record.trace)
        count += call.starts_with("update");
    return count;
}

void printRow(const std::string& puzzle, const char* stage, const std::string& work, double referenceSeconds,
              double fastSeconds, const std::string& note)
{
    std::printf("| %s | %s | %s | %.3f | %.6f | %.0f× | %s |\n", puzzle.c_str(), stage, work.c_str(), referenceSeconds,
                fastSeconds, referenceSeconds / fastSeconds, note.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string path = argc > 1 ? argv[1] : ZIFRAX_BENCH_PUZZLES;
    const double limit = argc > 2 ? std::stod(argv[2]) : 20.0;
    const double wholeLimit = argc > 3 ? std::stod(argv[3]) : 120.0;
    const std::vector<Puzzle> puzzles = readPuzzles(path);
    if (puzzles.empty()) {
        std::cerr << "no puzzles in " << path << "\n";
        return 2;
    }

    static Zifrax_bas referenceModule;
    static Zifrax_bas fastModule;
    bool allAgree = true;
    const auto check = [&](const Puzzle& puzzle, const char* stage, const SolveRecord& expected,
                           const SolveRecord& actual) {
        const std::string difference = firstDifference(expected, actual);
        if (!difference.empty()) {
            allAgree = false;
            std::printf("DIFFERENCE in %s, %s stage: %s\n", puzzle.name.c_str(), stage, difference.c_str());
        }
    };

    std::printf("Processor seconds per stage; the reference stops at its first report after %.0f s.\n\n", limit);
    std::printf("| puzzle | stage | work | reference s | fast s | ratio | note |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const Puzzle& puzzle : puzzles) {
        const auto prepare = [&](Zifrax_bas& bas) {
            return [&] {
                bas.vorgabe = puzzle.grid;
                bas.loesung = puzzle.grid;
                bas.vorbereitung();
                // Rows a stopped stage does not reach then read as empty in
                // both modules.
                bas.variationsanzahl.fill(0);
            };
        };
        const auto variationStage = [](const Engine& engine) {
            return [&engine](Zifrax_bas& bas, SolverWindow& window) -> std::int64_t {
                engine.variation(bas, window);
                return 0;
            };
        };

        // Variation stage.
        prepare(referenceModule)();
        TimeLimitWindow referenceWindow(limit);
        double start = processorSeconds();
        kReferenceEngine.variation(referenceModule, referenceWindow);
        double referenceVariation = processorSeconds() - start;
        const SolveRecord expectedVariation = recordOf(referenceModule, referenceWindow, 0);
        const int variationStop = referenceWindow.stopAfterUpdates;
        if (variationStop < 0 && referenceVariation < 0.2)
            referenceVariation = timeStage(referenceModule, -1, prepare(referenceModule),
                                           variationStage(kReferenceEngine)).seconds;
        const Timed fastVariation = timeStage(fastModule, variationStop, prepare(fastModule),
                                              variationStage(kFastEngine));
        check(puzzle, "variation", expectedVariation, fastVariation.record);
        int rowsDone = 0;
        while (rowsDone < 9 && expectedVariation.counts[rowsDone + 1] > 0)
            ++rowsDone;
        std::string note = variationStop >= 0 ? "reference stopped in row " + std::to_string(rowsDone + 1) : "";
        printRow(puzzle.name, "variation", std::to_string(reports(expectedVariation)) + " reports", referenceVariation,
                 fastVariation.seconds, note);

        // Brute-force stage, both engines on the variations of a full run.
        const auto fullVariation = [&] {
            prepare(fastModule)();
            RecordingWindow silent;
            kFastEngine.variation(fastModule, silent);
        };
        fullVariation();
        TimeLimitWindow searchWindow(limit);
        start = processorSeconds();
        const std::int64_t referencePasses = kReferenceEngine.brute_force(fastModule, searchWindow);
        double referenceSearch = processorSeconds() - start;
        const SolveRecord expectedSearch = recordOf(fastModule, searchWindow, referencePasses);
        const int searchStop = searchWindow.stopAfterUpdates;
        if (searchStop < 0 && referenceSearch < 0.2)
            referenceSearch = timeStage(fastModule, -1, [] {}, kReferenceEngine.brute_force).seconds;
        const Timed fastSearch = timeStage(fastModule, searchStop, [] {}, kFastEngine.brute_force);
        check(puzzle, "brute-force", expectedSearch, fastSearch.record);
        note.clear();
        if (searchStop >= 0) {
            // On a shared machine a run's processor time also varies with
            // what the other guests do, hence the least of a few.
            double least = wholeLimit;
            std::string runs;
            for (int run = 0; run < kWholeRuns; ++run) {
                QuietWindow quiet(wholeLimit);
                start = processorSeconds();
                const std::int64_t passes = kFastEngine.brute_force(fastModule, quiet);
                const double seconds = processorSeconds() - start;
                if (quiet.stopped()) {
                    note = "reference stopped; the fast engine stopped after " + std::to_string(passes) +
                           " passes in " + std::to_string(seconds) + " s";
                    break;
                }
                least = std::min(least, seconds);
                runs += (run > 0 ? ", " : "") + threeDecimals(seconds);
                note = "reference stopped; the whole search: " + std::to_string(passes) + " passes in " +
                       std::to_string(least) + " s (least of " + runs + ")";
            }
        }
        printRow(puzzle.name, "brute force", std::to_string(referencePasses) + " passes", referenceSearch,
                 fastSearch.seconds, note);
    }
    std::printf("\nPeak resident memory: %.1f MiB (both engines' module data included).\n",
                bench::peakResidentMiB());
    std::printf("Traces %s.\n", allAgree ? "agree on every puzzle" : "DIFFER");
    return allAgree ? 0 : 1;
}
