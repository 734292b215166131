// SPDX-License-Identifier: GPL-3.0-or-later
// The solver module: its data, which lives as long as the program and keeps
// its contents between solves, the preparation, and the three rule checks.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

#include "core/grid.h"

namespace zifrax {

// A free-digit table: group 1 … 9; entries 1 … 9 hold d when digit d is not
// given in the group, else 0; entry 10 holds 9 minus the group's given count.
using FreeDigitTable = std::array<std::array<std::int32_t, 11>, 10>;

// True when no digit 1 … 9 occurs twice in any column, row or box. A value
// outside 0 … 9 counts as no digit.
bool spaltenpruefung(const GridArray& grid);
bool zeilenpruefung(const GridArray& grid);
bool blockpruefung(const GridArray& grid);

class Zifrax_bas {
public:
    static constexpr int kMaxVariations = 362880;  // 9!, all orders of nine digits

    // Allocates the variation table once, for the worst case.
    Zifrax_bas();

    GridArray vorgabe{};
    GridArray loesung{};
    FreeDigitTable zeilenfrei{};
    FreeDigitTable spaltenfrei{};
    FreeDigitTable blockfrei{};
    std::array<std::int32_t, 10> variationsanzahl{};  // by row 1 … 9
    std::chrono::system_clock::time_point startzeit{};

    // Variation `number` (1 … 362880) of `row` (1 … 9): its nine digits,
    // position p being column p at index p − 1.
    std::uint8_t* variationen(int row, int number)
    {
        return &variationen_[(std::size_t(row - 1) * kMaxVariations + std::size_t(number - 1)) * 9];
    }
    const std::uint8_t* variationen(int row, int number) const
    {
        return const_cast<Zifrax_bas*>(this)->variationen(row, number);
    }

    // Builds zeilenfrei, spaltenfrei and blockfrei from vorgabe.
    void vorbereitung();

private:
    std::unique_ptr<std::uint8_t[]> variationen_;
};

}  // namespace zifrax
