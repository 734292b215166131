// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/solver/engine_comparison.h"

#include <algorithm>

#include "solver/fast_stages.h"
#include "solver/reference/reference_stages.h"

namespace zifrax::testing {

const Engine kReferenceEngine{reference::variation, reference::brute_force};
const Engine kFastEngine{fast::variation,
                         [](Zifrax_bas& bas, SolverWindow& window) { return fast::brute_force(bas, window); }};
const Engine kEagerFastEngine{fast::variation,
                              [](Zifrax_bas& bas, SolverWindow& window) { return fast::brute_force(bas, window, {0, 0, -1}); }};
const Engine kWholeCountEngine{fast::variation,
                               [](Zifrax_bas& bas, SolverWindow& window) { return fast::brute_force(bas, window, {0, 0, 0}); }};

SolveRecord recordOf(const Zifrax_bas& bas, const RecordingWindow& window, std::int64_t passes)
{
    SolveRecord record{window.trace, passes, bas.variationsanzahl, {}};
    for (int row = 1; row <= 9; ++row) {
        const std::uint8_t* first = bas.variationen(row, 1);
        record.variations.insert(record.variations.end(), first, first + 9 * bas.variationsanzahl[row]);
    }
    return record;
}

SolveRecord solve(const Engine& engine, Zifrax_bas& bas, RecordingWindow& window, const GridArray& puzzle)
{
    bas.vorgabe = bas.loesung = puzzle;
    bas.vorbereitung();
    engine.variation(bas, window);
    const std::int64_t passes = engine.brute_force(bas, window);
    return recordOf(bas, window, passes);
}

std::string firstDifference(const SolveRecord& expected, const SolveRecord& actual)
{
    const auto [e, a] = std::mismatch(expected.trace.begin(), expected.trace.end(), actual.trace.begin(),
                                      actual.trace.end());
    if (e != expected.trace.end() || a != actual.trace.end())
        return "call " + std::to_string(e - expected.trace.begin()) + ": expected \"" +
               (e == expected.trace.end() ? "(end)" : *e) + "\", got \"" + (a == actual.trace.end() ? "(end)" : *a) +
               "\"";
    if (expected.counts != actual.counts || expected.variations != actual.variations)
        return "the stored variations differ";
    if (expected.passes != actual.passes)
        return std::to_string(expected.passes) + " passes expected, got " + std::to_string(actual.passes);
    return {};
}

}  // namespace zifrax::testing
