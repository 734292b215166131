// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/zifrax_bas.h"

namespace zifrax {

namespace {

bool isDigit(std::int32_t v) { return v >= 1 && v <= 9; }

// One procedure serves all three checks: the first repeat in any group of
// the given kind ends the test.
bool noRepeats(const GridArray& grid, GroupKind kind)
{
    for (int g = 1; g <= 9; ++g) {
        std::array<std::int32_t, 10> gesehen{};
        for (int i = 0; i <= 9; ++i)
            gesehen[i] = i;
        for (int j = 1; j <= 9; ++j) {
            const std::int32_t v = grid[groupCell(kind, g, j)];
            if (!isDigit(v))
                continue;
            if (gesehen[v] == -1)
                return false;
            gesehen[v] = -1;
        }
    }
    return true;
}

void fillFreeDigits(const GridArray& vorgabe, GroupKind kind, FreeDigitTable& table)
{
    for (int g = 1; g <= 9; ++g) {
        std::array<std::int32_t, 10> list{};
        for (int d = 1; d <= 9; ++d)
            list[d] = d;
        int count = 0;
        for (int j = 1; j <= 9; ++j) {
            const std::int32_t v = vorgabe[groupCell(kind, g, j)];
            if (isDigit(v)) {
                ++count;
                list[v] = 0;
            }
        }
        for (int d = 1; d <= 9; ++d)
            table[g][d] = list[d];
        table[g][10] = 9 - count;
    }
}

}  // namespace

bool spaltenpruefung(const GridArray& grid) { return noRepeats(grid, GroupKind::Column); }
bool zeilenpruefung(const GridArray& grid) { return noRepeats(grid, GroupKind::Row); }
bool blockpruefung(const GridArray& grid) { return noRepeats(grid, GroupKind::Box); }

Zifrax_bas::Zifrax_bas()
    // Left uninitialised on purpose: pages are only touched by the rows a
    // solve stores, so the table costs resident memory only when used.
    : variationen_(new std::uint8_t[std::size_t(9) * kMaxVariations * 9])
{
}

void Zifrax_bas::vorbereitung()
{
    fillFreeDigits(vorgabe, GroupKind::Row, zeilenfrei);
    fillFreeDigits(vorgabe, GroupKind::Column, spaltenfrei);
    fillFreeDigits(vorgabe, GroupKind::Box, blockfrei);
}

}  // namespace zifrax
