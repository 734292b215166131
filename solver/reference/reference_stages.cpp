// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/reference/reference_stages.h"

#include <array>

#include "solver/stage_endings.h"

namespace zifrax::reference {

namespace {

// What the loop of a position hands back to the loop around it.
constexpr int kRanOut = 0;    // the loop ran through all its values
constexpr int kStopped = -1;  // the user stopped the stage
// Any other value q (1 … 9): a candidate failed at position q, which sends
// the search on to the next value of k(q).

// The enumeration of one row: the nine nested loops over positions 1 to 9,
// each written as one call of `loopOfPosition`, so that the loop of position
// p + 1 runs inside every iteration of the loop of position p.
class RowEnumeration {
public:
    RowEnumeration(Zifrax_bas& bas, SolverWindow& window, int row)
        : bas_(bas), window_(window), row_(row), m_(bas.zeilenfrei[row][10])
    {
        for (int p = 1; p <= 9; ++p)
            given_[p] = bas_.vorgabe[cellIndex(row_, p)] != 0;
        // L: the row's free digits in ascending order.
        int count = 0;
        for (int d = 1; d <= 9; ++d)
            if (bas_.zeilenfrei[row_][d] > 0)
                freeDigits_[++count] = d;
    }

    // Returns false when the user stopped the stage.
    bool run()
    {
        if (loopOfPosition(1) == kStopped)
            return false;
        bas_.variationsanzahl[row_] = found_;
        return true;
    }

private:
    int loopOfPosition(int p)
    {
        // An empty cell takes the choices 1 … m, a given cell passes once.
        for (k_[p] = given_[p] ? m_ : 1; k_[p] <= m_; ++k_[p]) {
            if (p <= 3) {
                window_.update(1, row_, 0);
                if (window_.stopRequested())
                    return kStopped;
            }
            const int outcome = p < 9 ? loopOfPosition(p + 1) : testCandidate();
            if (outcome == kStopped || (outcome != kRanOut && outcome < p))
                return outcome;
        }
        return kRanOut;
    }

    // One complete choice vector k(1) … k(9). Returns the position at which
    // it was abandoned, or kRanOut when the loops go on with the next k(9).
    int testCandidate()
    {
        // Given positions are marked -p so that only the choices of the
        // empty cells can be found equal.
        std::array<int, 10> w{};
        for (int p = 1; p <= 9; ++p)
            w[p] = given_[p] ? -p : k_[p];
        for (int i = 1; i <= 8; ++i)
            for (int j = i + 1; j <= 9; ++j)
                if (w[i] == w[j])
                    return kRanOut;

        for (int p = 1; p <= 9; ++p) {
            const int cell = cellIndex(row_, p);
            bas_.loesung[cell] = given_[p] ? bas_.vorgabe[cell] : freeDigits_[k_[p]];
        }

        int columnCount = 0;
        for (int p = 1; p <= 9; ++p) {
            const int d = bas_.loesung[cellIndex(row_, p)];
            if (given_[p] || bas_.spaltenfrei[p][d] != 0)
                ++columnCount;
            else if (k_[p] < m_)
                return p;
        }
        int boxCount = 0;
        for (int p = 1; p <= 9; ++p) {
            const int d = bas_.loesung[cellIndex(row_, p)];
            if (given_[p] || bas_.blockfrei[boxOf(row_, p)][d] != 0)
                ++boxCount;
            else if (k_[p] < m_)
                return p;
        }

        if (columnCount == 9 && boxCount == 9) {
            ++found_;
            std::uint8_t* stored = bas_.variationen(row_, found_);
            for (int p = 1; p <= 9; ++p)
                stored[p - 1] = static_cast<std::uint8_t>(bas_.loesung[cellIndex(row_, p)]);
        }
        return kRanOut;
    }

    Zifrax_bas& bas_;
    SolverWindow& window_;
    const int row_;
    const int m_;  // the number of empty cells of the row
    std::array<bool, 10> given_{};
    std::array<int, 10> freeDigits_{};
    std::array<int, 10> k_{};
    std::int32_t found_ = 0;
};

// The brute-force search: the nine nested loops over rows 1 to 9, each
// written as one call of `loopOfRow`.
class RowCombination {
public:
    using Outcome = SearchOutcome;

    RowCombination(Zifrax_bas& bas, SolverWindow& window)
        : bas_(bas), window_(window)
    {
    }

    Outcome run() { return loopOfRow(1); }
    std::int64_t passes() const { return passes_; }

private:
    Outcome loopOfRow(int row)
    {
        // The end is fixed when the loop starts.
        const std::int32_t count = bas_.variationsanzahl[row];
        for (std::int32_t n = 1; n <= count; ++n) {
            ++passes_;
            if (passes_ % 100000 == 0) {
                window_.update(2, 0, passes_);
                if (window_.stopRequested())
                    return Outcome::Stopped;
            }

            const std::uint8_t* variation = bas_.variationen(row, n);
            for (int p = 1; p <= 9; ++p)
                bas_.loesung[cellIndex(row, p)] = variation[p - 1];
            for (int cell = row * 9 + 1; cell <= kCellCount; ++cell)
                bas_.loesung[cell] = 0;

            if (!spaltenpruefung(bas_.loesung))
                continue;
            if (row % 3 == 0 && !blockpruefung(bas_.loesung))
                continue;
            if (row == 9)
                return Outcome::Solved;
            const Outcome inner = loopOfRow(row + 1);
            if (inner != Outcome::RanOut)
                return inner;
        }
        return Outcome::RanOut;
    }

    Zifrax_bas& bas_;
    SolverWindow& window_;
    std::int64_t passes_ = 0;
};

}  // namespace

void variation(Zifrax_bas& bas, SolverWindow& window)
{
    for (int row = 1; row <= 9; ++row) {
        RowEnumeration enumeration(bas, window, row);
        if (!enumeration.run())
            return;
    }

    finishVariationStage(bas, window);
}

std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window)
{
    if (window.stopRequested())
        return 0;
    bas.loesung = bas.vorgabe;

    RowCombination search(bas, window);
    finishSearch(search.run(), bas, window);
    return search.passes();
}

}  // namespace zifrax::reference
