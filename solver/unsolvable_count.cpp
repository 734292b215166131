// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/unsolvable_count.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <numeric>
#include <optional>
#include <vector>

#include "core/grid.h"
#include "solver/digit_bits.h"
#include "solver/large_table.h"

// Without a solution the search runs every loop to its end: the loop of row
// L runs once below each prefix of rows 1 … L − 1 that passed its tests, so
// the passes are the sum over L of (passing prefixes of L − 1 rows) × (row
// L's variations). A prefix passes when no column repeats a digit and the
// boxes of each complete band hold every digit once.
//
// Below row 3 a prefix's rows see nothing of the first band but the digits
// each column holds, its state, so the first band's fillings are gathered by
// state. A state is made of one part per box stack (the digits of the
// stack's three columns), and the states met combine few parts per stack.
// States that agree in two stacks, a group, are counted below row 3
// together: each partial filling of rows 4 … 8 carries a bit set, its lanes,
// of those states of the group whose part in the third stack it fits, and
// counts once for each first-band filling of such a state. Row 9 passes
// nowhere, as no solution exists.

namespace zifrax::fast {

namespace {

using Word = std::uint64_t;

// Limits of the count, beyond which the search is made instead: the first
// band's fillings are kept one by one (four bytes each) until they are
// counted by state, lanes take a few words, and the bit sets of rows 4 to 9
// by part take room.
constexpr std::int64_t kMostFirstBandFillings = std::int64_t(1) << 24;
constexpr std::size_t kMostStates = std::size_t(1) << 21;
constexpr int kLaneWords = 16;
constexpr int kMostLanes = 64 * kLaneWords;
constexpr std::size_t kMostTableWords = std::size_t(1) << 23;
constexpr std::int64_t kMostCompletionSteps = 200000;
constexpr std::size_t kMostKeptWords = std::size_t(1) << 21;

constexpr int wordsFor(int bits) { return (bits + 63) / 64; }
bool has(const Word* set, int i) { return (set[i >> 6] >> (i & 63)) & 1; }

template <typename OnMember>
void forEachMember(const Word* set, int words, const OnMember& onMember)
{
    for (int w = 0; w < words; ++w)
        for (Word open = set[w]; open != 0; open &= open - 1)
            onMember(w * 64 + std::countr_zero(open));
}

// sum += a × b; false when that leaves 64 bits.
bool addProduct(std::int64_t& sum, std::int64_t a, std::int64_t b)
{
    std::int64_t product = 0;
    return !__builtin_mul_overflow(a, b, &product) && !__builtin_add_overflow(sum, product, &sum);
}

// Whether the givens of the first rows (seven at least) complete to rows
// with no digit twice in a row, column or box, where no empty cell takes a
// digit given further down in its column or box, as no row's variation does;
// nothing when finding out takes too many steps. The search tests a band's
// boxes only once the band is complete, but below two complete bands a digit
// twice in a box would be twice in a column as well.
class Completion {
public:
    explicit Completion(const GridArray& givens, int rows = 9)
    {
        for (int below = 9 * rows; below < kCellCount; ++below) {
            const int digit = givens[below + 1];
            for (int cell = 0; cell < 9 * rows && digit >= 1 && digit <= 9; ++cell)
                if (cell % 9 == below % 9 || boxOf(cell) == boxOf(below))
                    givenBelow_[cell] |= bit(digit);
        }
        for (int cell = 0; cell < 9 * rows; ++cell) {
            const int digit = givens[cell + 1];
            if (digit < 0 || digit > 9)
                unknown_ = true;
            else if (digit == 0)
                empty_.push_back(cell);
            else if (!place(cell, bit(digit)))
                clash_ = true;
        }
    }

    std::optional<bool> exists()
    {
        if (unknown_)
            return std::nullopt;
        if (clash_)
            return false;
        const bool found = search();
        if (steps_ > kMostCompletionSteps)
            return std::nullopt;
        return found;
    }

private:
    static int boxOf(int cell) { return cell / 27 * 3 + cell % 9 / 3; }
    Bits taken(int cell) const { return rows_[cell / 9] | columns_[cell % 9] | boxes_[boxOf(cell)]; }
    Bits open(int cell) const { return kAllDigits & ~(taken(cell) | givenBelow_[cell]); }
    bool place(int cell, Bits digit)
    {
        if (taken(cell) & digit)
            return false;
        rows_[cell / 9] |= digit;
        columns_[cell % 9] |= digit;
        boxes_[boxOf(cell)] |= digit;
        return true;
    }
    void remove(int cell, Bits digit)
    {
        rows_[cell / 9] &= ~digit;
        columns_[cell % 9] &= ~digit;
        boxes_[boxOf(cell)] &= ~digit;
    }

    // Fills the empty cell with the fewest digits left first.
    bool search(std::size_t filled = 0)
    {
        if (filled == empty_.size())
            return true;
        if (++steps_ > kMostCompletionSteps)
            return false;
        std::size_t best = filled;
        int fewest = 10;
        for (std::size_t k = filled; k < empty_.size() && fewest > 1; ++k) {
            const int left = kBitCount[open(empty_[k])];
            if (left < fewest) {
                fewest = left;
                best = k;
            }
        }
        std::swap(empty_[filled], empty_[best]);
        const int cell = empty_[filled];
        for (Bits left = open(cell); left != 0; left &= left - 1) {
            const Bits digit = left & -left;
            place(cell, digit);
            const bool found = search(filled + 1);
            remove(cell, digit);
            if (found)
                return true;
        }
        return false;
    }

    std::array<Bits, 9> rows_{}, columns_{}, boxes_{};
    std::array<Bits, kCellCount> givenBelow_{};
    std::vector<int> empty_;
    bool unknown_ = false;
    bool clash_ = false;
    std::int64_t steps_ = 0;
};

// A stack's digits after row 3, 9 bits per column.
using Part = std::uint32_t;

// The parts met, numbered in the order first met; found by open addressing.
class PartIds {
public:
    PartIds() : slots_(1024) {}

    int id(Part part)
    {
        std::size_t slot = find(part);
        if (slots_[slot].part == kFree) {
            if (2 * (parts_.size() + 1) > slots_.size()) {
                grow();
                slot = find(part);
            }
            slots_[slot] = {part, int(parts_.size())};
            parts_.push_back(part);
        }
        return slots_[slot].id;
    }
    std::size_t size() const { return parts_.size(); }
    Part operator[](std::size_t id) const { return parts_[id]; }

private:
    static constexpr Part kFree = 0;  // a part holds the digits of three rows
    struct Slot {
        Part part = kFree;
        int id = 0;
    };
    std::size_t find(Part part) const
    {
        std::size_t slot = std::size_t((part * 0x9E3779B97F4A7C15) >> (64 - std::countr_zero(slots_.size())));
        while (slots_[slot].part != kFree && slots_[slot].part != part)
            slot = (slot + 1) & (slots_.size() - 1);
        return slot;
    }
    void grow()
    {
        std::vector<Slot> larger(2 * slots_.size());
        slots_.swap(larger);
        for (const Slot& slot : larger)
            if (slot.part != kFree)
                slots_[find(slot.part)] = slot;
    }

    std::vector<Slot> slots_;
    std::vector<Part> parts_;  // by id
};

// A state: the part ids of stacks 1 to 3, 11 bits each (a stack's three
// columns split the nine digits in one of 1,680 ways).
constexpr int kPartIdBits = 11;
constexpr Word kPartIdMask = (Word(1) << kPartIdBits) - 1;
int partIdIn(Word state, int stack) { return int(state >> (kPartIdBits * stack) & kPartIdMask); }

// Counts of states. The states added are kept in buckets by their first
// part, as the ids of their other two: appending to at most 1,680 buckets
// stays in the cache, where counting each state in a large table would wait
// for memory. The buckets are chains of chunks in one store.
class StateCounts {
public:
    StateCounts() { store_.reserve(kStoreSize); }

    // False when the store is full.
    bool add(Word state)
    {
        Bucket& bucket = buckets_[state & kPartIdMask];
        if (bucket.used % kChunk == 0) {
            if (store_.size() + kChunk > kStoreSize)
                return false;
            bucket.chunks.push_back(store_.size());
            store_.resize(store_.size() + kChunk);
        }
        store_[bucket.chunks.back() + bucket.used % kChunk] = std::uint32_t(state >> kPartIdBits);
        ++bucket.used;
        return true;
    }
    // Counts the states added, whose second and third part ids are below
    // the numbers given; size() and forEach see those.
    void settle(int secondParts, int thirdParts)
    {
        std::vector<std::uint32_t> ofOthers(std::size_t(secondParts) * thirdParts);
        // Room for as many states as fillings, up to the most that are
        // counted; used as met.
        counts_.reserve(std::min(store_.size(), kMostStates + 1));
        const auto place = [&](std::uint32_t others) {
            return std::size_t(others & kPartIdMask) * thirdParts + (others >> kPartIdBits);
        };
        for (std::size_t first = 0; first < buckets_.size(); ++first) {
            const auto forEachAdded = [&](const auto& onOthers) {
                for (std::size_t k = 0; k < buckets_[first].used; ++k)
                    onOthers(store_[buckets_[first].chunks[k / kChunk] + k % kChunk]);
            };
            forEachAdded([&](std::uint32_t others) { ++ofOthers[place(others)]; });
            forEachAdded([&](std::uint32_t others) {
                if (ofOthers[place(others)] != 0)
                    counts_.push_back(Word(ofOthers[place(others)]) << kStateBits | first | Word(others) << kPartIdBits);
                ofOthers[place(others)] = 0;
            });
        }
        store_ = LargeTable<std::uint32_t>();
    }
    // Gives back the room of the counts once they have been used.
    void release()
    {
        counts_ = LargeTable<Word>();
        buckets_ = {};
    }
    std::size_t size() const { return counts_.size(); }
    template <typename OnEntry>
    void forEach(const OnEntry& onEntry) const
    {
        for (const Word entry : counts_)
            onEntry(entry & kStateMask, std::int64_t(entry >> kStateBits));
    }

private:
    static constexpr int kStateBits = 3 * kPartIdBits;
    static constexpr Word kStateMask = (Word(1) << kStateBits) - 1;
    static constexpr std::size_t kChunk = 1024;
    // Room for the most fillings, with a chunk begun in each bucket.
    static constexpr std::size_t kStoreSize = std::size_t(kMostFirstBandFillings) + (kPartIdMask + 1) * kChunk;
    struct Bucket {
        std::size_t used = 0;
        std::vector<std::size_t> chunks;  // their first places in the store
    };
    std::array<Bucket, kPartIdMask + 1> buckets_;
    LargeTable<std::uint32_t> store_;
    LargeTable<Word> counts_;  // state | fillings << kStateBits
};

// One row's stored variations, and bit sets over them by (column, digit) and
// by (box stack, digit).
struct RowSets {
    int count = 0;
    int words = 0;
    const std::uint8_t* first = nullptr;
    std::vector<std::uint8_t> kept;  // the digits, when chosen from another row's
    std::vector<Word> inColumn;  // [(column × 10 + digit) × words …]
    std::vector<Word> inStack;  // [(stack × 10 + digit) × words …]

    void build(const Zifrax_bas& bas, int row, bool withStacks)
    {
        count = bas.variationsanzahl[row];
        first = bas.variationen(row, 1);
        index(withStacks);
    }
    // Variations original[0], original[1] … of `all`, numbered anew from 0.
    void buildFrom(const RowSets& all, const std::vector<int>& original, bool withStacks)
    {
        count = int(original.size());
        kept.resize(std::size_t(9) * count);
        for (int k = 0; k < count; ++k)
            std::copy_n(all.digits(original[k]), 9, &kept[std::size_t(9) * k]);
        first = kept.data();
        index(withStacks);
    }
    void index(bool withStacks)
    {
        words = wordsFor(count);
        inColumn.assign(std::size_t(90) * words, 0);
        inStack.assign(withStacks ? std::size_t(30) * words : 0, 0);
        for (int i = 0; i < count; ++i) {
            for (int c = 0; c < 9; ++c) {
                const int d = digits(i)[c];
                inColumn[std::size_t(c * 10 + d) * words + i / 64] |= Word(1) << (i % 64);
                if (withStacks)
                    inStack[std::size_t(c / 3 * 10 + d) * words + i / 64] |= Word(1) << (i % 64);
            }
        }
    }
    const std::uint8_t* digits(int i) const { return first + 9 * std::size_t(i); }
    // Sets of no words when the row has no variations.
    const Word* holding(int column, int digit) const { return inColumn.data() + std::size_t(column * 10 + digit) * words; }
    const Word* holdingInStack(int stack, int digit) const
    {
        return inStack.data() + std::size_t(stack * 10 + digit) * words;
    }
    // Keeps in `set` the variations with no digit of `row` in its column.
    void removeMeeting(const std::uint8_t* row, Word* set) const
    {
        std::array<const Word*, 9> meeting{};
        for (int c = 0; c < 9; ++c)
            meeting[c] = holding(c, row[c]);
        removeAny(meeting, set);
    }
    // Keeps in `set` the variations with no digit of `row` in its box.
    void removeSharingBox(const std::uint8_t* row, Word* set) const
    {
        std::array<const Word*, 9> sharing{};
        for (int c = 0; c < 9; ++c)
            sharing[c] = holdingInStack(c / 3, row[c]);
        removeAny(sharing, set);
    }
    void removeAny(const std::array<const Word*, 9>& sets, Word* set) const
    {
        for (int w = 0; w < words; ++w)
            set[w] &= ~(sets[0][w] | sets[1][w] | sets[2][w] | sets[3][w] | sets[4][w] | sets[5][w] | sets[6][w] |
                        sets[7][w] | sets[8][w]);
    }
    void fill(Word* set) const
    {
        std::fill(set, set + words, ~Word(0));
        if (count % 64)
            set[words - 1] = (Word(1) << (count % 64)) - 1;
    }
};

Bits stackDigits(const std::uint8_t* row, int stack)
{
    return bit(row[3 * stack]) | bit(row[3 * stack + 1]) | bit(row[3 * stack + 2]);
}

constexpr int kStackKeys = 1 << 18;

// Numbers items anew key after key, keys in the order they first come up (a
// counting sort). Its table of keys is cleared after each use by the keys
// met, so that a sort costs no more than its items.
class KeyedOrder {
public:
    explicit KeyedOrder(std::size_t keys) : keyCount_(keys) {}

    // Sorts the items 0 … n − 1 by keyOf[item].
    template <typename Keys>
    void sort(const Keys& keyOf)
    {
        if (slotOf_.empty())  // not before it is needed: a count may end early
            slotOf_.assign(keyCount_, -1);
        for (const int key : keys_)
            slotOf_[key] = -1;
        keys_.clear();
        start_.assign(1, 0);
        for (const int key : keyOf) {
            if (slotOf_[key] < 0) {
                slotOf_[key] = int(keys_.size());
                keys_.push_back(key);
                start_.push_back(0);
            }
            ++start_[slotOf_[key] + 1];
        }
        std::partial_sum(start_.begin(), start_.end(), start_.begin());
        next_.assign(start_.begin(), start_.end() - 1);
        order_.resize(keyOf.size());
        for (std::size_t item = 0; item < keyOf.size(); ++item)
            order_[next_[slotOf_[keyOf[item]]]++] = int(item);
    }
    int slotOf(int key) const { return slotOf_[key]; }  // −1 for a key not met
    const std::vector<int>& keys() const { return keys_; }  // by slot
    const std::vector<int>& start() const { return start_; }  // by slot: its first place in order()
    const std::vector<int>& order() const { return order_; }

private:
    std::size_t keyCount_;
    LargeTable<int> slotOf_;
    std::vector<int> keys_, start_, next_, order_;
};

// The count: the first band's fillings by state, then each group of states
// below row 3.
class BandCount {
public:
    explicit BandCount(const Zifrax_bas& bas) : bas_(bas) {}

    std::optional<std::int64_t> passes()
    {
        if (!rowsOrderNineDigits() || Completion(bas_.vorgabe).exists() != false)
            return std::nullopt;
        // Below the most rows that a prefix can pass with, no row is walked.
        walkedRows_ = 6;
        while (walkedRows_ < 8 && Completion(bas_.vorgabe, walkedRows_ + 1).exists() != false)
            ++walkedRows_;
        for (int row = 0; row < walkedRows_; ++row)
            rows_[row].build(bas_, row + 1, row == 1 || row == 2);
        if (!countFirstBand() || !prepareLowerRows() || !countLowerRows())
            return std::nullopt;
        std::int64_t total = 0;
        for (int row = 0; row < 9; ++row)
            if (!addProduct(total, passing_[row], bas_.variationsanzahl[row + 1]))
                return std::nullopt;
        return total;
    }

private:
    // Whether every row has variations, each holding the digits 1 … 9 once
    // (all of a row's hold the same digits).
    bool rowsOrderNineDigits() const
    {
        for (int row = 1; row <= 9; ++row) {
            if (bas_.variationsanzahl[row] == 0)
                return false;
            Bits digits = 0;
            for (int c = 0; c < 9; ++c) {
                const int digit = bas_.variationen(row, 1)[c];
                if (digit < 1 || digit > 9)
                    return false;
                digits |= bit(digit);
            }
            if (digits != kAllDigits)
                return false;
        }
        return true;
    }

    // passing_[k]: the prefixes of k rows that pass; rows 0 … 8 here are
    // rows 1 … 9 of the grid.
    void addPassing(int rows, std::int64_t count)
    {
        overflow_ = overflow_ || __builtin_add_overflow(passing_[rows], count, &passing_[rows]);
    }

    // The first band's fillings one by one, gathered by state.
    bool countFirstBand()
    {
        passing_[0] = 1;
        passing_[1] = rows_[0].count;
        const RowSets& second = rows_[1];
        const RowSets& third = rows_[2];
        std::vector<Word> secondOpen(second.words), thirdByFirst(third.words), thirdOpen(third.words);
        std::int64_t fillings = 0;
        // What each variation of row 2 leaves open of row 3 is found once,
        // where that takes little room; else for each variation of row 1.
        const bool keptBySecond = std::size_t(second.count) * third.words <= kMostKeptWords;
        LargeTable<Word> openBySecond(keptBySecond ? std::size_t(second.count) * third.words : 0);
        for (int i2 = 0; keptBySecond && i2 < second.count; ++i2) {
            Word* open = &openBySecond[std::size_t(i2) * third.words];
            third.fill(open);
            keepOpenBelow(second.digits(i2), open);
        }
        for (int i1 = 0; i1 < rows_[0].count; ++i1) {
            const std::uint8_t* v1 = rows_[0].digits(i1);
            second.fill(secondOpen.data());
            second.removeMeeting(v1, secondOpen.data());
            for (const Word word : secondOpen)
                addPassing(2, bitCount(word));
            second.removeSharingBox(v1, secondOpen.data());
            third.fill(thirdByFirst.data());
            third.removeMeeting(v1, thirdByFirst.data());
            third.removeSharingBox(v1, thirdByFirst.data());
            bool tooMany = false;
            forEachMember(secondOpen.data(), second.words, [&](int i2) {
                const std::uint8_t* v2 = second.digits(i2);
                if (keptBySecond) {
                    const Word* open = &openBySecond[std::size_t(i2) * third.words];
                    for (int w = 0; w < third.words; ++w)
                        thirdOpen[w] = thirdByFirst[w] & open[w];
                } else {
                    thirdOpen = thirdByFirst;
                    keepOpenBelow(v2, thirdOpen.data());
                }
                std::array<Part, 3> upperParts{};
                for (int c = 0; c < 9; ++c)
                    upperParts[c / 3] |= Part((bit(v1[c]) | bit(v2[c])) >> 1) << (9 * (c % 3));
                forEachMember(thirdOpen.data(), third.words, [&](int i3) {
                    const std::uint8_t* v3 = third.digits(i3);
                    Word state = 0;
                    for (int t = 0; t < 3; ++t) {
                        Part part = upperParts[t];
                        for (int j = 0; j < 3; ++j)
                            part |= Part(bit(v3[3 * t + j]) >> 1) << (9 * j);
                        state |= Word(parts_[t].id(part)) << (kPartIdBits * t);
                    }
                    tooMany = tooMany || !states_.add(state);
                    ++fillings;
                });
                tooMany = tooMany || fillings > kMostFirstBandFillings;
            });
            if (tooMany)
                return false;
        }
        states_.settle(int(parts_[1].size()), int(parts_[2].size()));
        addPassing(3, fillings);
        return !overflow_ && states_.size() <= kMostStates;
    }

    // Keeps in `set` the variations of row 3 new to the columns and boxes of
    // a variation of row 2.
    void keepOpenBelow(const std::uint8_t* second, Word* set) const
    {
        rows_[2].removeMeeting(second, set);
        rows_[2].removeSharingBox(second, set);
    }

    // Whether a row's digits in a stack avoid a part's digits in their columns.
    static bool fits(Part part, const std::uint8_t* row, int stack)
    {
        for (int j = 0; j < 3; ++j)
            if ((part >> (9 * j + row[3 * stack + j] - 1)) & 1)
                return false;
        return true;
    }

    // The stack with the most parts is the lanes' stack; the groups, the
    // lanes' bit sets and the bit sets of rows 4 … 9 by part.
    bool prepareLowerRows()
    {
        laneStack_ = 0;
        for (int t = 1; t < 3; ++t)
            if (parts_[t].size() > parts_[laneStack_].size())
                laneStack_ = t;
        sharedStacks_ = {(laneStack_ + 1) % 3, (laneStack_ + 2) % 3};
        lanes_ = int(parts_[laneStack_].size());
        laneWords_ = wordsFor(lanes_);
        if (lanes_ > kMostLanes)
            return false;
        std::size_t tableWords = 0;
        for (int row = 3; row < walkedRows_; ++row)
            tableWords += (parts_[sharedStacks_[0]].size() + parts_[sharedStacks_[1]].size() + 90) *
                          std::size_t(rows_[row].words);
        if (tableWords > kMostTableWords)
            return false;

        gatherGroups();
        sortFourthRowByFront();
        buildRowSets();
        // Row 6 by the digits it holds in the shared stacks.
        sixthByStackKey_.sort(stackKey_[5]);
        const std::vector<int>& start = sixthByStackKey_.start();
        sixthKeyOfOrder_.resize(sixthByStackKey_.keys().size());
        for (std::size_t slot = 0; slot < sixthKeyOfOrder_.size(); ++slot)
            for (int k = start[slot]; k < start[slot + 1]; ++k) {
                const int i = sixthByStackKey_.order()[k];
                sixthKeyOfOrder_[slot][sixthOrder_[i]] = laneKey_[5][i];
            }
        sixthCounts_.resize(sixthKeyOfOrder_.size());
        return true;
    }

    // The states, group after group (in the table's order within a group):
    // their lanes and first-band fillings.
    void gatherGroups()
    {
        const int secondParts = int(parts_[sharedStacks_[1]].size());
        const auto groupOf = [&](Word state) {
            return partIdIn(state, sharedStacks_[0]) * secondParts + partIdIn(state, sharedStacks_[1]);
        };
        groupStart_.assign(parts_[sharedStacks_[0]].size() * secondParts + 1, 0);
        states_.forEach([&](Word state, std::int64_t) { ++groupStart_[groupOf(state) + 1]; });
        std::partial_sum(groupStart_.begin(), groupStart_.end(), groupStart_.begin());
        std::vector<int> next(groupStart_.begin(), groupStart_.end() - 1);
        groupLanes_.resize(states_.size());
        states_.forEach([&](Word state, std::int64_t fillings) {
            groupLanes_[next[groupOf(state)]++] = {partIdIn(state, laneStack_), int(fillings)};
        });
        states_.release();  // its room is wanted for the rows' bit sets
    }

    // A row's digits in the shared stacks: as a set, a key of 18 bits (row
    // 6's key is the digits that rows 4 and 5 leave there), and in their
    // order, its front.
    int stackKey(const std::uint8_t* row) const
    {
        return int(stackDigits(row, sharedStacks_[0]) >> 1 | (stackDigits(row, sharedStacks_[1]) >> 1) << 9);
    }
    int frontOf(const std::uint8_t* row) const
    {
        int front = 0;
        for (const int stack : sharedStacks_)
            for (int j = 0; j < 3; ++j)
                front = front << 4 | row[3 * stack + j];
        return front;
    }
    // Row 4's variations numbered front after front.
    void sortFourthRowByFront()
    {
        std::vector<int> order(rows_[3].count);
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return frontOf(rows_[3].digits(a)) < frontOf(rows_[3].digits(b)); });
        RowSets sorted;
        sorted.buildFrom(rows_[3], order, false);
        rows_[3] = std::move(sorted);
    }

    // For rows 4 … 8: which variations fit each part of the shared stacks,
    // and their keys in the lanes' stack; which lanes each key fits.
    void buildRowSets()
    {
        for (int row = 3; row < walkedRows_; ++row) {
            const RowSets& sets = rows_[row];
            for (int s = 0; s < 2; ++s) {
                const int stack = sharedStacks_[s];
                std::vector<Word>& fitting = fitting_[row][s];
                fitting.assign(parts_[stack].size() * sets.words, 0);
                for (std::size_t p = 0; p < parts_[stack].size(); ++p)
                    for (int i = 0; i < sets.count; ++i)
                        if (fits(parts_[stack][p], sets.digits(i), stack))
                            fitting[p * sets.words + i / 64] |= Word(1) << (i % 64);
            }
            laneKey_[row].resize(sets.count);
            for (int i = 0; i < sets.count; ++i)
                laneKey_[row][i] = laneKeyOf(sets.digits(i) + 3 * laneStack_);
            if (row == 5) {
                sixthOrder_.resize(sets.count);
                for (int i = 0; i < sets.count; ++i)
                    sixthOrder_[i] = orderOf(sets.digits(i) + 3 * laneStack_);
            }
            // Rows 4 to 6 decide row 6's key.
            if (row <= 5) {
                stackKey_[row].resize(sets.count);
                for (int i = 0; i < sets.count; ++i)
                    stackKey_[row][i] = stackKey(sets.digits(i));
            }
            if (row == 3) {
                frontOfFourth_.resize(sets.count);
                for (int i = 0; i < sets.count; ++i)
                    frontOfFourth_[i] = frontOf(sets.digits(i));
            }
        }
        laneFit_.assign(std::size_t(kLaneKeys) * laneWords_, 0);
        for (int key = 0; key < kLaneKeys; ++key)
            for (int lane = 0; lane < lanes_; ++lane)
                if ((parts_[laneStack_][lane] & Part(kColumnDigits[key])) == 0)
                    laneFit_[std::size_t(key) * laneWords_ + lane / 64] |= Word(1) << (lane % 64);
    }

    bool countLowerRows()
    {
        laneWeight_.assign(lanes_, 0);
        weightTable_.assign(byTable() ? std::size_t(laneWords_) * 8 * 256 : 0, 0);
        for (int row = 3; row < walkedRows_; ++row) {
            open_[row].resize(rows_[row].words);
            base_[row].resize(rows_[row].words);
        }
        for (std::size_t group = 0; group + 1 < groupStart_.size(); ++group) {
            if (groupStart_[group] == groupStart_[group + 1])
                continue;
            beginGroup(group);
            countSixthRows();
            fourthRow();
            fifthRowPasses();
            if (overflow_)
                return false;
        }
        return true;
    }

    // The group's lanes with their fillings, and the variations of rows 4 … 8
    // that fit its parts in the shared stacks.
    void beginGroup(std::size_t group)
    {
        ++stamp_;
        std::fill(laneWeight_.begin(), laneWeight_.end(), 0);
        std::fill(lanesOf_[3].begin(), lanesOf_[3].end(), 0);
        for (int k = groupStart_[group]; k < groupStart_[group + 1]; ++k) {
            laneWeight_[groupLanes_[k].first] = groupLanes_[k].second;
            lanesOf_[3][groupLanes_[k].first / 64] |= Word(1) << (groupLanes_[k].first % 64);
        }
        if (byTable())
            buildWeightTable();
        const std::size_t first = group / parts_[sharedStacks_[1]].size();
        const std::size_t second = group % parts_[sharedStacks_[1]].size();
        for (int row = 3; row < walkedRows_; ++row) {
            const int words = rows_[row].words;
            const Word* a = &fitting_[row][0][first * words];
            const Word* b = &fitting_[row][1][second * words];
            for (int w = 0; w < words; ++w)
                base_[row][w] = a[w] & b[w];
        }
        // Row 5's variations, numbered anew kind after kind.
        fifthFound_.clear();
        fifthFoundKey_.clear();
        forEachMember(base_[4].data(), rows_[4].words, [&](int i) {
            fifthFound_.push_back(i);
            fifthFoundKey_.push_back(laneKey_[4][i]);
        });
        fifthKinds_.sort(fifthFoundKey_);
        const std::vector<int>& kindStart = fifthKinds_.start();
        fifthOriginal_.resize(fifthFound_.size());
        fifthKind_.resize(fifthFound_.size());
        for (int kind = 0; kind + 1 < int(kindStart.size()); ++kind)
            for (int k = kindStart[kind]; k < kindStart[kind + 1]; ++k) {
                fifthOriginal_[k] = fifthFound_[fifthKinds_.order()[k]];
                fifthKind_[k] = kind;
            }
        fifth_.buildFrom(rows_[4], fifthOriginal_, false);
        open_[4].assign(fifth_.words + 1, 0);  // a last word that stays empty
        fifthStackKey_.resize(fifth_.count);
        for (int k = 0; k < fifth_.count; ++k)
            fifthStackKey_[k] = stackKey_[4][fifthOriginal_[k]];
        fifthByStackKey_.sort(fifthStackKey_);
        openBefore_.assign(fifth_.words + 1, 0);
        openOfKind_.resize(fifthKinds_.keys().size());
        kindEnd_.clear();
        for (std::size_t kind = 1; kind < kindStart.size(); ++kind)
            kindEnd_.emplace_back(kindStart[kind] / 64, (Word(1) << (kindStart[kind] % 64)) - 1);
        const std::size_t pairs = std::size_t(kLaneKeys) * fifthKinds_.keys().size();
        fourthKeys_.clear();
        if (openByPair_.size() < pairs) {
            openByPair_.resize(pairs);
            sixthWeights_.resize(pairs);
        }
    }

    // Lane sets are weighed by a table of byte values while the table fits
    // the nearest cache (64 KiB for 256 lanes); beyond, where lanes are
    // many and few of them fit a row, lane by lane.
    bool byTable() const { return laneWords_ <= 4; }
    // weightTable_[byte × 256 + value]: the fillings of the lanes that the
    // value's bits name in that byte of a lane set.
    void buildWeightTable()
    {
        for (int byte = 0; byte < laneWords_ * 8; ++byte) {
            std::int64_t* sums = &weightTable_[std::size_t(byte) * 256];
            // The values with bit b set are those below 2^b plus that lane.
            for (int b = 0; b < 8; ++b) {
                const int lane = byte * 8 + b;
                const std::int64_t weight = lane < lanes_ ? laneWeight_[lane] : 0;
                for (int value = 0; value < (1 << b); ++value)
                    sums[(1 << b) + value] = sums[value] + weight;
            }
        }
    }
    std::int64_t weightOf(const Word* lanes) const
    {
        std::int64_t sum = 0;
        if (!byTable()) {
            forEachMember(lanes, laneWords_, [&](int lane) { sum += laneWeight_[lane]; });
            return sum;
        }
        for (int w = 0; w < laneWords_; ++w)
            for (int byte = 0; byte < 8; ++byte)
                sum += weightTable_[std::size_t(w * 8 + byte) * 256 + ((lanes[w] >> (8 * byte)) & 255)];
        return sum;
    }
    // lanes = from ∩ the lanes that a row's key fits; false when none is left.
    bool narrow(const Word* from, int key, Word* lanes) const
    {
        const Word* fit = &laneFit_[std::size_t(key) * laneWords_];
        Word any = 0;
        for (int w = 0; w < laneWords_; ++w)
            any |= lanes[w] = from[w] & fit[w];
        return any != 0;
    }

    // How many of row 6's variations with each stack key the group's shared
    // parts let through, by the order of their digits in the lanes' stack;
    // and which keys have one that the group's lanes let through too.
    void countSixthRows()
    {
        sixthLive_.clear();
        const std::vector<int>& start = sixthByStackKey_.start();
        for (int slot = 0; slot < int(sixthCounts_.size()); ++slot) {
            std::array<int, 6>& counts = sixthCounts_[slot];
            counts = {};
            bool live = false;
            for (int k = start[slot]; k < start[slot + 1]; ++k) {
                const int i = sixthByStackKey_.order()[k];
                if (!has(base_[5].data(), i))
                    continue;
                ++counts[sixthOrder_[i]];
                Word lanes[kLaneWords];
                live = live || narrow(lanesOf_[3].data(), laneKey_[5][i], lanes);
            }
            if (live)
                sixthLive_.push_back(slot);
        }
    }

    // Row 4's variations that hold the same digits in the shared stacks, a
    // front, differ only in the order of the three digits left in the lanes'
    // stack: at most six.
    struct Front {
        static constexpr int kMost = 6;
        int size = 0;
        std::array<int, kMost> fourth{};  // the variations of row 4
        std::array<std::array<Word, kLaneWords>, kMost> lanes{};  // the group's lanes each fits
    };

    // Row 4: each variation that the group's shared parts let through, with
    // the lanes its key fits; row 5 below each front.
    void fourthRow()
    {
        Front front;
        forEachMember(base_[3].data(), rows_[3].words, [&](int i) {
            if (front.size == Front::kMost ||
                (front.size > 0 && frontOfFourth_[i] != frontOfFourth_[front.fourth[0]])) {
                fifthRow(front);
                front.size = 0;
            }
            const int key = laneKey_[3][i];
            Word* lanes = front.lanes[front.size].data();
            if (!narrow(lanesOf_[3].data(), key, lanes))
                return;
            if (fourthStamp_[key] != stamp_) {
                fourthStamp_[key] = stamp_;
                fourthSum_[key] = weightOf(lanes);
                fourthKeys_.push_back(key);
                const std::size_t kinds = fifthKinds_.keys().size();
                std::fill_n(openByPair_.data() + std::size_t(key) * kinds, kinds, 0);
            }
            addPassing(4, fourthSum_[key]);
            front.fourth[front.size++] = i;
        });
        if (front.size > 0)
            fifthRow(front);
    }

    // Most loops are of row 5; the variations that a front leaves open are
    // found once for it, counted kind by kind and tallied by pair.
    ZIFRAX_COUNTS_BITS void fifthRow(const Front& front)
    {
        // The front's digits; those of the lanes' stack (left 0) meet nothing.
        std::array<std::uint8_t, 9> shared{};
        const std::uint8_t* first = rows_[3].digits(front.fourth[0]);
        for (const int stack : sharedStacks_)
            std::copy_n(first + 3 * stack, 3, &shared[3 * stack]);
        Word* open = open_[4].data();
        fifth_.fill(open);
        fifth_.removeMeeting(shared.data(), open);
        // Row 5's variations are numbered by kind, so each kind's are counted
        // at once by their ranks among the open ones.
        for (int w = 0; w < fifth_.words; ++w)
            openBefore_[w + 1] = openBefore_[w] + std::popcount(open[w]);
        const std::size_t kinds = fifthKinds_.keys().size();
        int lower = 0;
        for (std::size_t kind = 0; kind < kinds; ++kind) {
            const auto [word, below] = kindEnd_[kind];
            const int upper = openBefore_[word] + std::popcount(open[word] & below);
            openOfKind_[kind] = upper - lower;
            lower = upper;
        }
        for (int f = 0; f < front.size; ++f) {
            std::int64_t* tally = openByPair_.data() + std::size_t(laneKey_[3][front.fourth[f]]) * kinds;
            for (std::size_t kind = 0; kind < kinds; ++kind)
                tally[kind] += openOfKind_[kind];
        }
        // Row 6 passes only with the digits rows 4 and 5 leave in each box,
        // so each live key of row 6 decides the digits of row 5 there; they
        // are apart from the front's, so such a row 5 meets it in no column.
        const int heldByFront = stackKey_[3][front.fourth[0]];
        for (const int slot : sixthLive_) {
            const int key = sixthByStackKey_.keys()[slot];
            if (key & heldByFront)
                continue;
            const int fifthSlot = fifthByStackKey_.slotOf((kStackKeys - 1) & ~heldByFront & ~key);
            if (fifthSlot < 0)
                continue;
            for (int place = fifthByStackKey_.start()[fifthSlot]; place < fifthByStackKey_.start()[fifthSlot + 1];
                 ++place) {
                const int k = fifthByStackKey_.order()[place];
                // A row 6 that completes the shared stacks' boxes completes the
                // lanes' box too, so no key that passes lets rows 4 and 5 share a
                // digit there.
                const int kind = fifthKind_[k];
                for (int f = 0; f < front.size; ++f) {
                    if (!narrow(front.lanes[f].data(), fifthKinds_.keys()[kind], lanesOf_[5].data()))
                        continue;
                    const std::size_t pair = std::size_t(laneKey_[3][front.fourth[f]]) * kinds + kind;
                    chosen_[3] = front.fourth[f];
                    chosen_[4] = fifthOriginal_[k];
                    sixthRow(slot, pair);
                }
            }
        }
    }

    // Row 5's passing prefixes in the group: the open pairs of rows 4 and 5,
    // counted by key of row 4 and kind of row 5 over all fronts, each
    // weighed once by the lanes that both fit. Fronts leave row 5 open by the
    // shared stacks alone, so kinds that meet the key in the lanes' stack are
    // left out here.
    void fifthRowPasses()
    {
        const std::size_t kinds = fifthKinds_.keys().size();
        for (const int key : fourthKeys_) {
            Word lanes[kLaneWords];
            narrow(lanesOf_[3].data(), key, lanes);
            const std::int64_t* open = openByPair_.data() + std::size_t(key) * kinds;
            for (std::size_t kind = 0; kind < kinds; ++kind) {
                Word both[kLaneWords];
                if (open[kind] != 0 && !keysMeet(key, fifthKinds_.keys()[kind]) &&
                    narrow(lanes, fifthKinds_.keys()[kind], both) && !addProduct(passing_[5], weightOf(both), open[kind]))
                    overflow_ = true;
            }
        }
    }

    // Row 6: the variations holding the digits that rows 4 and 5 leave in
    // each stack (those of `slot`), which are new to their columns then. The
    // lanes they fit depend on the keys of rows 4 and 5 and on the order of
    // the three digits left in the lanes' stack, so their weights are kept by
    // those in the group: `pair` numbers the keys of rows 4 and 5.
    void sixthRow(int slot, std::size_t pair)
    {
        if (walkedRows_ > 6 && anySeventhRowOpen()) {
            for (int k = sixthByStackKey_.start()[slot]; k < sixthByStackKey_.start()[slot + 1]; ++k) {
                const int i = sixthByStackKey_.order()[k];
                if (has(base_[5].data(), i) && narrow(lanesOf_[5].data(), laneKey_[5][i], lanesOf_[6].data())) {
                    open_[6] = seventhOpen_;
                    rows_[6].removeMeeting(rows_[5].digits(i), open_[6].data());
                    chosen_[5] = i;
                    middleRows(6);
                }
            }
        }
        const std::array<int, 6>& counts = sixthCounts_[slot];
        const std::array<int, 6>& keyOfOrder = sixthKeyOfOrder_[slot];
        SixthWeights& weights = sixthWeights_[pair];
        if (weights.stamp != stamp_) {
            weights.stamp = stamp_;
            weights.known = 0;
        }
        for (int order = 0; order < 6; ++order) {
            if (counts[order] == 0)
                continue;
            if (!((weights.known >> order) & 1)) {
                weights.ofOrder[order] = sixthWeight(keyOfOrder[order]);
                weights.known |= 1 << order;
            }
            if (!addProduct(passing_[6], weights.ofOrder[order], counts[order]))
                overflow_ = true;
        }
    }
    // The first-band fillings of the lanes that rows 4 and 5 (chosen_, their
    // lanes lanesOf_[5]) and a key of row 6 fit: the lanes whose columns hold
    // none of the digits of rows 4 to 6 in the lanes' stack. Row 6 completes
    // the band's boxes, so these are the nine digits, and the weight depends
    // only on how they split into the three columns; it is kept by that split
    // in the group.
    std::int64_t sixthWeight(int key)
    {
        const std::int32_t digits =
            kColumnDigits[laneKey_[3][chosen_[3]]] | kColumnDigits[laneKey_[4][chosen_[4]]] | kColumnDigits[key];
        const int first = digits & 511;
        const int second = (digits >> 9) & 511;
        assert((first | second | digits >> 18) == 511);
        SplitWeight& known = weightBySplit_[kSplitNumber[kTripleNumber[first] * kTriples + kTripleNumber[second]]];
        if (known.stamp != stamp_) {
            known.stamp = stamp_;
            Word lanes[kLaneWords];
            known.weight = narrow(lanesOf_[5].data(), key, lanes) ? weightOf(lanes) : 0;
        }
        return known.weight;
    }

    // Whether some variation of row 7 is new to the columns below rows 4 and
    // 5; those that are, in seventhOpen_.
    bool anySeventhRowOpen()
    {
        seventhOpen_ = base_[6];
        rows_[6].removeMeeting(rows_[3].digits(chosen_[3]), seventhOpen_.data());
        rows_[6].removeMeeting(rows_[4].digits(chosen_[4]), seventhOpen_.data());
        return std::any_of(seventhOpen_.begin(), seventhOpen_.end(), [](Word w) { return w != 0; });
    }

    // Rows 7 and 8, open_[row] holding the row's variations new to their
    // columns. Row 9 passes nowhere, as no solution exists.
    void middleRows(int row)
    {
        forEachMember(open_[row].data(), rows_[row].words, [&](int i) {
            if (!narrow(lanesOf_[row].data(), laneKey_[row][i], lanesOf_[row + 1].data()))
                return;
            addPassing(row + 1, weightOf(lanesOf_[row + 1].data()));
            if (row == 6 && walkedRows_ > 7) {
                chosen_[6] = i;
                open_[7] = base_[7];
                for (int above = 3; above <= 6; ++above)
                    rows_[7].removeMeeting(rows_[above].digits(chosen_[above]), open_[7].data());
                middleRows(7);
            }
        });
    }

    // Three digits of a row in the lanes' stack, as a number below kLaneKeys.
    static constexpr int kLaneKeys = 729;
    static int laneKeyOf(const std::uint8_t* digits) { return (digits[0] - 1) * 81 + (digits[1] - 1) * 9 + digits[2] - 1; }
    // A key's digits as a part: column j's digit d as bit 9 × j + d − 1.
    static constexpr std::array<std::int32_t, kLaneKeys> kColumnDigits = [] {
        std::array<std::int32_t, kLaneKeys> digits{};
        for (int key = 0; key < kLaneKeys; ++key)
            digits[key] = 1 << (key / 81) | 1 << (9 + key / 9 % 9) | 1 << (18 + key % 9);
        return digits;
    }();
    // Whether two keys have a digit in the same column.
    static bool keysMeet(int a, int b) { return (kColumnDigits[a] & kColumnDigits[b]) != 0; }
    // Nine digits split into three columns of three: the first two columns'
    // sets, each numbered below kTriples (kTripleNumber, by its bits), name
    // the split, numbered below kSplits (kSplitNumber).
    static constexpr int kTriples = 84;
    static constexpr int kSplits = 1680;
    static constexpr std::array<std::int16_t, 512> kTripleNumber = [] {
        std::array<std::int16_t, 512> number{};
        int next = 0;
        for (int set = 0; set < 512; ++set)
            number[set] = std::int16_t(std::popcount(unsigned(set)) == 3 ? next++ : 0);
        return number;
    }();
    static constexpr std::array<std::int16_t, kTriples * kTriples> kSplitNumber = [] {
        std::array<int, kTriples> setOf{};
        for (int set = 0; set < 512; ++set)
            if (std::popcount(unsigned(set)) == 3)
                setOf[kTripleNumber[set]] = set;
        std::array<std::int16_t, kTriples * kTriples> number{};
        int next = 0;
        for (int first = 0; first < kTriples; ++first)
            for (int second = 0; second < kTriples; ++second)
                number[first * kTriples + second] = std::int16_t((setOf[first] & setOf[second]) == 0 ? next++ : 0);
        return number;
    }();
    static_assert(std::ranges::max(kSplitNumber) == kSplits - 1);
    // The order of three different digits as a number below 6.
    static int orderOf(const std::uint8_t* digits)
    {
        return 2 * ((digits[1] < digits[0]) + (digits[2] < digits[0])) + (digits[2] < digits[1]);
    }

    const Zifrax_bas& bas_;
    std::array<RowSets, 8> rows_;  // rows 1 … 8
    int walkedRows_ = 8;  // the most rows of a prefix that can pass: 6, 7 or 8
    std::array<std::int64_t, 10> passing_{};
    bool overflow_ = false;

    std::array<PartIds, 3> parts_;
    StateCounts states_;  // first-band fillings by state: part ids of stacks 1 … 3, 11 bits each

    int laneStack_ = 0;
    std::array<int, 2> sharedStacks_{};
    int lanes_ = 0;
    int laneWords_ = 0;
    LargeTable<int> groupStart_;
    LargeTable<std::pair<int, int>> groupLanes_;  // (lane, fillings) group after group

    std::array<std::array<std::vector<Word>, 2>, 8> fitting_;  // [row][shared stack][part × words …]
    std::array<std::vector<int>, 8> laneKey_;
    std::array<LargeTable<int>, 6> stackKey_;  // rows 4 … 6
    std::vector<int> frontOfFourth_;
    std::vector<Word> laneFit_;  // [lane key × laneWords_ …]
    KeyedOrder sixthByStackKey_{kStackKeys};  // row 6's variations by stack key, in slots
    std::vector<std::array<int, 6>> sixthKeyOfOrder_, sixthCounts_;  // by slot and order: lane key; in the group

    std::uint32_t stamp_ = 0;  // the group under way
    // The first-band fillings of the lanes that a key of row 4 fits,
    // computed in each group when the key first comes up; those keys.
    std::array<std::int64_t, kLaneKeys> fourthSum_{};
    std::array<std::uint32_t, kLaneKeys> fourthStamp_{};
    std::vector<int> fourthKeys_;
    // A pair of rows 4 and 5: row 4's key × the group's kinds of row 5 +
    // kind. The variations of row 5 open below those of row 4, by pair.
    std::vector<std::int64_t> openByPair_;
    // The first-band fillings of the lanes that keys of rows 4 and 5 and
    // each order of row 6's digits in the lanes' stack fit, as they come up
    // in the group; by pair, and by split (sixthWeight).
    struct SixthWeights {
        std::uint32_t stamp = 0;
        int known = 0;  // the orders weighed, as bits
        std::array<std::int64_t, 6> ofOrder{};
    };
    LargeTable<SixthWeights> sixthWeights_;
    struct SplitWeight {
        std::uint32_t stamp = 0;
        std::int64_t weight = 0;
    };
    std::vector<SplitWeight> weightBySplit_ = std::vector<SplitWeight>(kSplits);
    LargeTable<int> sixthOrder_;  // of each variation of row 6
    std::vector<int> sixthLive_;  // the slots of row 6 with a variation that the group lets through
    // Row 5's variations that the group's shared parts let through, numbered
    // anew; their numbers in rows_[4], kinds (of lane key) and stack keys.
    RowSets fifth_;
    std::vector<int> fifthOriginal_, fifthKind_, fifthStackKey_;
    KeyedOrder fifthByStackKey_{kStackKeys};
    KeyedOrder fifthKinds_{kLaneKeys};  // the kinds by lane key
    std::vector<int> fifthFound_, fifthFoundKey_;  // row 5's variations in the group as found, their lane keys
    std::vector<std::pair<int, Word>> kindEnd_;  // by kind: the word of the next kind's first, the bits below it
    std::vector<int> openBefore_;  // the open variations of row 5 below each word
    std::vector<std::uint32_t> openOfKind_;  // and of each kind
    std::vector<std::int64_t> laneWeight_;
    std::vector<std::int64_t> weightTable_;
    std::array<std::vector<Word>, 8> base_, open_;
    std::vector<Word> seventhOpen_;
    std::array<std::array<Word, kLaneWords>, 9> lanesOf_{};  // lanesOf_[k]: below k rows (k ≠ 4)
    std::array<int, 8> chosen_{};
};

}  // namespace

std::optional<std::int64_t> passesWithoutSolution(const Zifrax_bas& bas) { return BandCount(bas).passes(); }

}  // namespace zifrax::fast
