// SPDX-License-Identifier: GPL-3.0-or-later
// Sets of digits as bits, and bit counts, for the solver's fast engine.
#pragma once

#include <array>
#include <cstdint>

namespace zifrax::fast {

// A set of small numbers 0 … 31: choices k in the variation stage, digits d
// in the brute-force stage.
using Bits = std::uint32_t;
constexpr Bits bit(int i) { return Bits(1) << i; }
constexpr Bits kAllDigits = 0x3FE;  // digits 1 … 9

// Bit counts of all digit sets, and of words by halving steps, since
// std::popcount is a library call on processors the build cannot assume.
constexpr auto kBitCount = [] {
    std::array<std::uint8_t, 1024> counts{};
    for (std::size_t i = 1; i < counts.size(); ++i)
        counts[i] = std::uint8_t(counts[i / 2] + i % 2);
    return counts;
}();
// Functions that count bits in their inner loops are built twice, with and
// without the processor's bit-count instruction, and the program takes the
// one that the processor at hand can run.
#if defined(__x86_64__)
#define ZIFRAX_COUNTS_BITS __attribute__((target_clones("popcnt", "default")))
#else
#define ZIFRAX_COUNTS_BITS
#endif

constexpr int bitCount(std::uint64_t word)
{
    word -= (word >> 1) & 0x5555555555555555;
    word = (word & 0x3333333333333333) + ((word >> 2) & 0x3333333333333333);
    word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0F;
    return int((word * 0x0101010101010101) >> 56);
}

}  // namespace zifrax::fast
