// SPDX-License-Identifier: GPL-3.0-or-later
// The program with its window on the empty grid: clicks the solve button and
// times the solve from the click to its end, records every text that the
// pass label takes, and measures what the window's progress reports cost.
//
//   QT_QPA_PLATFORM=offscreen window_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/application_setup.h"
#include "app/window_for_solver.h"
#include "app/zifrax_frm.h"
#include "solver/stages.h"
#include "bench/resident_memory.h"
#include "bench/silent_window.h"

using namespace zifrax;

namespace {

void emptyTheGrid(ZifRax_frm& window)
{
    for (int cell = 1; cell <= kCellCount; ++cell)
        window.setCell(cell, QString(), kEmptyCellColour);
}

bool solvedInSolutionColour(ZifRax_frm& window)
{
    for (int cell = 1; cell <= kCellCount; ++cell) {
        if (window.cellText(cell).size() != 1 || window.cellColour(cell) != kSolutionColour)
            return false;
    }
    return true;
}

QPushButton* solveButton(ZifRax_frm& window) { return window.findChild<QPushButton*>("solve_cmd"); }
QLabel* passLabel(ZifRax_frm& window) { return window.findChild<QLabel*>("brute_force_lbl(1)"); }

// Clicks the solve button on the empty grid; returns the milliseconds until
// the click has been handled.
double solveEmptyGrid(ZifRax_frm& window)
{
    emptyTheGrid(window);
    QElapsedTimer clock;
    clock.start();
    solveButton(window)->click();
    return double(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication();
    ZifRax_frm window;
    window.show();
    QApplication::processEvents();
    if (!solveButton(window)->isEnabled()) {
        std::printf("the solve button is disabled on the empty grid\n");
        return 2;
    }

    // First solve: a zero-interval timer runs on every pass over the events,
    // that is once per report, and notes each new text of the pass label.
    QStringList passTexts;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const QString text = passLabel(window)->text();
        if (passTexts.isEmpty() || passTexts.last() != text)
            passTexts.append(text);
    });
    watcher.start(0);
    const double watchedMs = solveEmptyGrid(window);
    watcher.stop();
    const bool solved = solvedInSolutionColour(window);
    const QString finalText = passLabel(window)->text();
    const QString lastShown = passTexts.isEmpty() ? QString() : passTexts.last();

    // Second solve, unwatched, for the time alone.
    const double solveMs = solveEmptyGrid(window);
    const bool solvedAgain = solvedInSolutionColour(window);

    // The same solve without the window.
    double engineMs = 0;
    {
        Zifrax_bas& bas = window.solverModule();
        bas.vorgabe = GridArray{};
        bas.loesung = GridArray{};
        bench::SilentWindow silent;
        QElapsedTimer clock;
        clock.start();
        bas.vorbereitung();
        variation(bas, silent);
        brute_force(bas, silent);
        engineMs = double(clock.nsecsElapsed()) / 1e6;
    }

    // The window side alone: as many reports as the solve makes.
    const std::int64_t reports = 14183342465 / 100000;
    double reportsMs = 0;
    {
        WindowForSolver reporter(window);
        QElapsedTimer clock;
        clock.start();
        for (std::int64_t k = 1; k <= reports; ++k)
            reporter.update(2, 0, k * 100000);
        reportsMs = double(clock.nsecsElapsed()) / 1e6;
    }

    std::printf("Empty grid, clicked in the window:\n");
    std::printf("- solved, cells light green: %s\n", solved && solvedAgain ? "yes" : "NO");
    std::printf("- time from the click to its end: %.0f ms (%.0f ms with the label watched)\n", solveMs, watchedMs);
    std::printf("- pass label: %lld different texts, the last shown \"%s\", then \"%s\"\n",
                static_cast<long long>(passTexts.size()), qPrintable(lastShown), qPrintable(finalText));
    std::printf("- the same solve without the window: %.0f ms\n", engineMs);
    std::printf("- window side: %lld reports cost %.0f ms (%.2f µs each) when made one after another\n",
                static_cast<long long>(reports), reportsMs, reportsMs * 1000.0 / double(reports));
    std::printf("- peak resident memory of the program: %.1f MiB\n", bench::peakResidentMiB());

    const bool targetsMet = solved && solvedAgain && lastShown == QStringLiteral("Durchläufe: 14183300000") &&
                            finalText == QStringLiteral("beendet") && solveMs < 10000;
    return targetsMet ? 0 : 1;
}
