// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/fast_stages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

#include "solver/digit_bits.h"
#include "solver/stage_endings.h"
#include "solver/unsolvable_count.h"

namespace zifrax::fast {

namespace {

// ---------------------------------------------------------------------------
// Variation stage
//
// The plain stage walks all m^m choice vectors of a row. Only the orderings
// of 1 … m can ever be stored, so here only the loops of positions 1 to 3 are
// walked as they are (they report to the window); below them the orderings
// are enumerated directly, pruned by the column and box givens. What the
// skipped loops would have done is decided from the prefix k(1) … k(3):
//  - a prefix with a repeated choice holds no ordering: the inner loops run
//    out without storing or abandoning anything;
//  - the column test abandons at the first position failing it with a
//    choice below m; among positions 1 to 3 that depends on the prefix only,
//    and it happens at the prefix's first ordering;
//  - otherwise the box test may abandon at position 1 to 3, but only once an
//    ordering passes the column test without abandoning, so it is enough to
//    know whether such an ordering exists below the prefix;
//  - an abandon at position 4 or deeper skips no reporting iteration.
// ---------------------------------------------------------------------------

// A row of nine digits held in registers while candidates are built: byte p
// of first8 is position p, in memory the order of the stored row.
static_assert(std::endian::native == std::endian::little);
struct PackedRow {
    std::uint64_t first8 = 0;
    std::uint8_t ninth = 0;

    PackedRow with(int p, std::uint8_t digit) const
    {
        if (p == 8)
            return {first8, digit};
        const int shift = 8 * p;
        return {(first8 & ~(std::uint64_t(0xFF) << shift)) | (std::uint64_t(digit) << shift), ninth};
    }
};

class RowEnumeration {
public:
    RowEnumeration(Zifrax_bas& bas, int row)
        : row_(row), m_(bas.zeilenfrei[row][10]), rowVariations_(bas.variationen(row, 1))
    {
        std::array<int, 10> freeDigits{};  // L(1 … m)
        int count = 0;
        for (int d = 1; d <= 9; ++d)
            if (bas.zeilenfrei[row][d] > 0)
                freeDigits[++count] = d;

        for (int p = 0; p < 9; ++p) {
            const int column = p + 1;
            const std::int32_t givenDigit = bas.vorgabe[cellIndex(row, column)];
            given_[p] = givenDigit != 0;
            if (p >= 3 && !given_[p])
                laterEmpty_[laterEmptyCount_++] = p;
            if (given_[p]) {
                givenDigits_ = givenDigits_.with(p, static_cast<std::uint8_t>(givenDigit));
                continue;
            }
            Bits columnPass = 0;
            Bits boxPass = 0;
            for (int k = 1; k <= std::min(m_, count); ++k) {
                const int d = freeDigits[k];
                choiceDigit_[k] = static_cast<std::uint8_t>(d);
                if (bas.spaltenfrei[column][d] != 0)
                    columnPass |= bit(k);
                if (bas.blockfrei[boxOf(row, column)][d] != 0)
                    boxPass |= bit(k);
            }
            // A failing position with choice m is passed over, not abandoned.
            const Bits lastChoice = m_ > 0 ? bit(m_) : 0;
            columnKept_[p] = columnPass | lastChoice;
            boxKept_[p] = boxPass | lastChoice;
            admissible_[p] = columnPass & boxPass;
        }
    }

    // Walks the loops of positions 1 to 3 with their reports; returns false
    // when the user stopped the stage.
    bool run(SolverWindow& window)
    {
        const auto reportAndGoOn = [&] {
            window.update(1, row_, 0);
            return !window.stopRequested();
        };
        std::array<int, 3> k{};
        for (k[0] = firstChoice(0); k[0] <= m_; ++k[0]) {
            if (!reportAndGoOn())
                return false;
            bool abandonedFirst = false;
            for (k[1] = firstChoice(1); k[1] <= m_ && !abandonedFirst; ++k[1]) {
                if (!reportAndGoOn())
                    return false;
                for (k[2] = firstChoice(2); k[2] <= m_; ++k[2]) {
                    if (!reportAndGoOn())
                        return false;
                    const int abandonedAt = innerLoops(k);
                    abandonedFirst = abandonedAt == 1;
                    if (abandonedAt == 1 || abandonedAt == 2)
                        break;
                }
            }
        }
        return true;
    }

    std::int32_t count() const { return stored_; }

private:
    // An empty cell takes the choices 1 … m, a given cell passes once.
    int firstChoice(int p) const { return given_[p] ? m_ : 1; }

    // What the loops of positions 4 to 9 do below the prefix k: store the
    // admissible orderings, and return the position (1 … 3) at which they
    // abandon the prefix, or 0.
    int innerLoops(const std::array<int, 3>& k)
    {
        Bits used = 0;
        for (int p = 0; p < 3; ++p) {
            if (given_[p])
                continue;
            if (used & bit(k[p]))
                return 0;
            used |= bit(k[p]);
        }
        for (int p = 0; p < 3; ++p)
            if (!given_[p] && !(columnKept_[p] & bit(k[p])))
                return p + 1;
        for (int p = 0; p < 3; ++p)
            if (!given_[p] && !(boxKept_[p] & bit(k[p])))
                return existsOrdering(0, used, columnKept_) ? p + 1 : 0;
        PackedRow candidate = givenDigits_;
        for (int p = 0; p < 3; ++p) {
            if (given_[p])
                continue;
            if (!(admissible_[p] & bit(k[p])))
                return 0;
            candidate = candidate.with(p, choiceDigit_[k[p]]);
        }
        storeOrderings(used, candidate);
        return 0;
    }

    // Whether the empty positions after position 3, from the e-th on, can
    // take the unused choices that `allowed` lets through.
    bool existsOrdering(int e, Bits used, const std::array<Bits, 9>& allowed) const
    {
        if (e == laterEmptyCount_)
            return true;
        const int p = laterEmpty_[e];
        for (Bits options = allowed[p] & ~used; options != 0; options &= options - 1)
            if (existsOrdering(e + 1, used | bit(std::countr_zero(options)), allowed))
                return true;
        return false;
    }

    // Stores every admissible filling of the given number of empty
    // positions, listed at `positions`, with the unused choices, from `out`
    // on; returns where the next row goes. Ascending choices give ascending
    // digits, so the rows come out ascending. The depth is a template
    // argument so that the loops are unrolled into one body that keeps the
    // candidate in registers.
    template <int Remaining>
    std::uint8_t* storeOrderings(std::uint8_t* out, const int* positions, Bits used, PackedRow candidate) const
    {
        if constexpr (Remaining == 0) {
            std::memcpy(out, &candidate.first8, 8);
            out[8] = candidate.ninth;
            return out + 9;
        } else {
            const int p = positions[0];
            for (Bits options = admissible_[p] & ~used; options != 0; options &= options - 1) {
                const int k = std::countr_zero(options);
                out = storeOrderings<Remaining - 1>(out, positions + 1, used | bit(k),
                                                    candidate.with(p, choiceDigit_[k]));
            }
            return out;
        }
    }

    void storeOrderings(Bits used, PackedRow candidate)
    {
        static constexpr auto kByRemaining = []<std::size_t... N>(std::index_sequence<N...>) {
            return std::array{&RowEnumeration::storeOrderings<int(N)>...};
        }(std::make_index_sequence<7>{});
        std::uint8_t* const out = rowVariations_ + std::size_t(stored_) * 9;
        const std::uint8_t* const end =
            (this->*kByRemaining[laterEmptyCount_])(out, laterEmpty_.data(), used, candidate);
        stored_ += std::int32_t((end - out) / 9);
    }

    const int row_;
    const int m_;  // the number of empty cells of the row
    std::uint8_t* const rowVariations_;  // variation 1 of the row, the others after it
    std::array<bool, 9> given_{};
    std::array<std::uint8_t, 10> choiceDigit_{};  // choice k places this digit
    std::array<Bits, 9> columnKept_{};  // choices the column test does not abandon at
    std::array<Bits, 9> boxKept_{};     // choices the box test does not abandon at
    std::array<Bits, 9> admissible_{};  // choices passing both tests
    PackedRow givenDigits_{};  // the row with its empty cells 0
    std::array<int, 6> laterEmpty_{};  // the empty positions after position 3
    int laterEmptyCount_ = 0;
    std::int32_t stored_ = 0;
};

// ---------------------------------------------------------------------------
// Brute-force stage
//
// A pass of row L succeeds exactly when its digits are new to their columns
// among rows 1 … L − 1 and, for L = 3, 6, 9, new to their boxes among the two
// rows above it in the band (a clash between those two also fails every
// pass). So each loop of a row only needs the set of digits allowed in each
// column. The stored variations of a row are ascending, so those sharing a
// prefix form one index range: a prefix tree over the row's variations finds
// the passing ones in order (rows with few variations use bit sets
// instead), and the failing ones between them are counted as a block. Blocks are split at multiples of the report interval, so every
// report and stop happens at its exact pass count.
// ---------------------------------------------------------------------------

constexpr std::int64_t kReportInterval = 100000;

// The tree keeps this many levels; below them a node's few variations
// (at most 3! of them) are checked one by one.
constexpr int kTreeLevels = 6;
// The most distinct prefixes of 1 … kTreeLevels positions that orderings of
// nine digits can have: 9 + 9·8 + … + 9·8·7·6·5·4.
constexpr int kTreeLevelCapacity[kTreeLevels] = {9, 72, 504, 3024, 15120, 60480};
constexpr int kMaxNodesPerRow = 1 + 9 + 72 + 504 + 3024 + 15120 + 60480;  // with the root

// A prefix of a row's variations: those with indexes first … end − 1 share
// their digits in the first positions of the tree.
struct PrefixNode {
    std::uint32_t first;
    std::uint32_t end;
    std::uint32_t firstChild;  // node index of the child with the smallest digit
    Bits childDigits;          // the digits that continue the prefix
};

// The node storage of all nine rows, sized once for the worst case; pages
// are only touched as far as a solve needs them.
PrefixNode* nodeStorage(int row)
{
    static const std::unique_ptr<PrefixNode[]> nodes(new PrefixNode[std::size_t(9) * kMaxNodesPerRow]);
    return nodes.get() + std::size_t(row - 1) * kMaxNodesPerRow;
}

// Rows with at most this many variations are searched with bit sets
// instead of the tree: one set per (position, digit), so that a loop costs a
// few word operations per position however shallow the pruning.
constexpr int kSmallRowWords = 4;
constexpr std::int32_t kSmallRowLimit = 64 * kSmallRowWords;
using VariationSet = std::array<std::uint64_t, kSmallRowWords>;

// The variations of one row, indexed by the positions where they differ;
// the positions they all share are checked once per loop.
class RowIndex {
public:
    void build(const Zifrax_bas& bas, int row)
    {
        count_ = bas.variationsanzahl[row];
        variations_ = bas.variationen(row, 1);
        nodes_ = nodeStorage(row);
        branchCount_ = 0;
        sharedCount_ = 0;
        for (int c = 0; c < 9; ++c) {
            bool shared = true;
            for (std::int32_t i = 1; i < count_ && shared; ++i)
                shared = digit(i, c) == digit(0, c);
            if (shared && count_ > 0)
                sharedColumn_[sharedCount_++] = c;
            else
                branchColumn_[branchCount_++] = c;
        }
        // Empty cells take distinct digits that no given of their row or box
        // holds, so only givens can repeat a digit inside a box: all the
        // variations of a row do, or none.
        repeatsInBox_ = false;
        for (int c = 0; c < 9 && count_ > 0; ++c)
            for (int before = c - c % 3; before < c; ++before)
                repeatsInBox_ = repeatsInBox_ || digit(0, before) == digit(0, c);
        if (count_ <= kSmallRowLimit)
            buildSets();
        else
            buildTree();
    }

    // Whether the row's givens hold a digit twice in one box, which fails
    // the box test of its band whatever the other rows hold.
    bool repeatsInBox() const { return repeatsInBox_; }

    std::int32_t count() const { return count_; }
    const std::uint8_t* variation(std::int32_t i) const { return variations_ + std::size_t(i) * 9; }

    bool sharedDigitsAllowed(const std::array<Bits, 9>& allowed) const
    {
        for (int s = 0; s < sharedCount_; ++s) {
            const int c = sharedColumn_[s];
            if (!(allowed[c] & bit(digit(0, c))))
                return false;
        }
        return true;
    }

    // Calls onPass(i) for every variation i whose digits the columns allow,
    // in ascending order, until it returns false.
    template <typename OnPass>
    void forEachAllowed(const std::array<Bits, 9>& allowed, OnPass&& onPass) const
    {
        if (count_ <= kSmallRowLimit)
            visitSets(allowed, onPass);
        else
            visitTree(nodes_[0], 0, allowed, onPass);
    }

private:
    int digit(std::int32_t i, int column) const { return variations_[std::size_t(i) * 9 + column]; }

    void buildSets()
    {
        for (int b = 0; b < branchCount_; ++b) {
            digitsAt_[b] = 0;
            for (VariationSet& set : withDigitAt_[b])
                set.fill(0);
        }
        for (std::int32_t i = 0; i < count_; ++i) {
            for (int b = 0; b < branchCount_; ++b) {
                const int d = digit(i, branchColumn_[b]);
                digitsAt_[b] |= bit(d);
                withDigitAt_[b][d][i / 64] |= std::uint64_t(1) << (i % 64);
            }
        }
    }

    template <typename OnPass>
    void visitSets(const std::array<Bits, 9>& allowed, OnPass& onPass) const
    {
        const int words = (count_ + 63) / 64;
        VariationSet passing;
        passing.fill(~std::uint64_t(0));
        for (int b = 0; b < branchCount_; ++b) {
            VariationSet allowedHere{};
            for (Bits open = digitsAt_[b] & allowed[branchColumn_[b]]; open != 0; open &= open - 1) {
                const VariationSet& withDigit = withDigitAt_[b][std::countr_zero(open)];
                for (int w = 0; w < words; ++w)
                    allowedHere[w] |= withDigit[w];
            }
            std::uint64_t any = 0;
            for (int w = 0; w < words; ++w)
                any |= passing[w] &= allowedHere[w];
            if (any == 0)
                return;
        }
        for (int w = 0; w < words; ++w) {
            // Bits beyond the count stay clear: no variation carries them.
            for (std::uint64_t open = passing[w]; open != 0; open &= open - 1) {
                const std::int32_t i = w * 64 + std::countr_zero(open);
                if (i >= count_ || !onPass(i))
                    return;
            }
        }
    }

    void buildTree()
    {
        // Node 0 is the root, the empty prefix; each level follows the one
        // above it in the storage.
        nodes_[0] = {0, std::uint32_t(std::max(count_, 0)), 0, 0};
        levels_ = 0;
        std::uint32_t levelBegin = 0;
        std::uint32_t levelEnd = 1;
        while (levels_ < std::min(branchCount_, kTreeLevels)) {
            const int column = branchColumn_[levels_];
            const std::uint32_t capacity = kTreeLevelCapacity[levels_];
            std::uint32_t childEnd = levelEnd;
            // Rows that are not orderings of distinct digits could outgrow a
            // level; their variations are then checked one by one from the
            // level above.
            bool outgrown = false;
            for (std::uint32_t parent = levelBegin; parent < levelEnd && !outgrown; ++parent) {
                PrefixNode& node = nodes_[parent];
                node.firstChild = childEnd;
                node.childDigits = 0;
                for (std::uint32_t i = node.first; i < node.end;) {
                    if (childEnd - levelEnd == capacity) {
                        outgrown = true;
                        break;
                    }
                    const int d = digit(i, column);
                    const std::uint32_t j = runEnd(i, node.end, column);
                    nodes_[childEnd++] = {i, j, 0, 0};
                    node.childDigits |= bit(d);
                    i = j;
                }
            }
            if (outgrown)
                break;
            levelBegin = levelEnd;
            levelEnd = childEnd;
            ++levels_;
        }
    }

    // The end of the run of variations from `first` on that carry the same
    // digit in `column`, within a range where that column ascends. Runs are
    // long near the root, so the end is found by doubling steps, then
    // halving them.
    std::uint32_t runEnd(std::uint32_t first, std::uint32_t end, int column) const
    {
        const int d = digit(first, column);
        std::uint32_t inside = first;  // known to carry d
        std::uint32_t step = 1;
        while (step < end - inside && digit(inside + step, column) == d) {
            inside += step;
            step *= 2;
        }
        std::uint32_t beyond = std::min(inside + step, end);  // first index known not to carry d
        while (beyond - inside > 1) {
            const std::uint32_t middle = inside + (beyond - inside) / 2;
            (digit(middle, column) == d ? inside : beyond) = middle;
        }
        return beyond;
    }

    // False when onPass asked to end.
    template <typename OnPass>
    bool visitTree(const PrefixNode& node, int level, const std::array<Bits, 9>& allowed, OnPass& onPass) const
    {
        if (level == levels_) {
            for (std::uint32_t i = node.first; i < node.end; ++i) {
                bool passes = true;
                for (int b = level; b < branchCount_ && passes; ++b)
                    passes = allowed[branchColumn_[b]] & bit(digit(i, branchColumn_[b]));
                if (passes && !onPass(std::int32_t(i)))
                    return false;
            }
            return true;
        }
        const Bits children = node.childDigits;
        for (Bits open = children & allowed[branchColumn_[level]]; open != 0; open &= open - 1) {
            const Bits below = (open & -open) - 1;
            if (!visitTree(nodes_[node.firstChild + kBitCount[children & below]], level + 1, allowed, onPass))
                return false;
        }
        return true;
    }

    std::int32_t count_ = 0;
    bool repeatsInBox_ = false;
    const std::uint8_t* variations_ = nullptr;
    PrefixNode* nodes_ = nullptr;
    int levels_ = 0;
    int branchCount_ = 0;
    int sharedCount_ = 0;
    std::array<int, 9> branchColumn_{};
    std::array<int, 9> sharedColumn_{};
    // Small rows: the digits met at each branching position, and for each
    // such digit the variations that carry it there.
    std::array<Bits, 9> digitsAt_{};
    std::array<std::array<VariationSet, 10>, 9> withDigitAt_{};
};

// The pass counts of searches below the first row of the second or third
// band (rows 4 and 7) that ran out without a solution, by the digits each
// column held when they began. Below such a row the loops see nothing else
// of the rows above (the box test of a band looks only at its own rows), so
// a search that begins with the same column digits makes the same passes and
// again finds nothing: its passes are counted instead of made.
class RanOutSearches {
public:
    static constexpr std::int64_t kUnknown = -1;

    // The bands above passed the box test, so in the three columns of a box
    // each digit stands once per band, and the digits of the third column
    // follow from those of the other two: six columns of nine bits make the
    // key.
    static std::uint64_t key(int row, const std::array<Bits, 9>& columnDigits)
    {
        std::uint64_t key = row == 7 ? std::uint64_t(1) << 63 : 0;
        for (int stack = 0; stack < 3; ++stack)
            for (int c = 3 * stack; c < 3 * stack + 2; ++c)
                key = key << 9 | columnDigits[c] >> 1;
        return key;
    }

    // Each search starts with an empty table.
    RanOutSearches() { ++generation(); }

    // The passes stored under the key, or kUnknown.
    std::int64_t find(std::uint64_t key) const
    {
        const Entry* entries = storage().data();
        for (std::size_t probe = 0, slot = firstSlot(key); probe < kProbes && probe < size_; ++probe) {
            const Entry& entry = entries[slot];
            if (entry.generation != generation())
                return kUnknown;
            if (entry.key == key)
                return entry.passes;
            slot = (slot + 1) & (size_ - 1);
        }
        return kUnknown;
    }

    // The table starts small, so that short searches pay little for it, and
    // doubles while it is half full, up to a fixed size; when all the probed
    // slots of a full table are taken, the first of them gives way, so the
    // memory of a search stays bounded.
    void store(std::uint64_t key, std::int64_t passes)
    {
        if (stored_ * 2 >= size_ && size_ < kMaxSlots)
            grow();
        place(key, passes);
    }

private:
    // The slots are kept from search to search, so that their pages are
    // touched once; a slot counts only when it carries the current
    // generation, so a new search or a grown table starts empty at no cost.
    struct Entry {
        std::uint64_t key;
        std::int64_t passes;
        std::uint64_t generation;
    };

    static constexpr std::size_t kFirstSlots = std::size_t(1) << 8;
    static constexpr std::size_t kMaxSlots = std::size_t(1) << 20;  // 24 MiB
    static constexpr std::size_t kProbes = 8;

    static std::vector<Entry>& storage()
    {
        static std::vector<Entry> entries;
        return entries;
    }
    static std::uint64_t& generation()
    {
        static std::uint64_t current = 0;
        return current;
    }

    // The top bits of the product, which depend on every bit of the key.
    std::size_t firstSlot(std::uint64_t key) const
    {
        return std::size_t((key * 0x9E3779B97F4A7C15) >> (64 - std::countr_zero(size_)));
    }

    void place(std::uint64_t key, std::int64_t passes)
    {
        Entry* entries = storage().data();
        std::size_t slot = firstSlot(key);
        for (std::size_t probe = 0; probe < kProbes; ++probe, slot = (slot + 1) & (size_ - 1)) {
            if (entries[slot].generation != generation()) {
                entries[slot] = {key, passes, generation()};
                ++stored_;
                return;
            }
        }
        entries[firstSlot(key)] = {key, passes, generation()};
    }

    void grow()
    {
        std::vector<Entry> kept;
        kept.reserve(stored_);
        for (std::size_t slot = 0; slot < size_; ++slot)
            if (storage()[slot].generation == generation())
                kept.push_back(storage()[slot]);
        size_ = size_ == 0 ? kFirstSlots : size_ * 2;
        if (storage().size() < size_)
            storage().resize(size_);
        ++generation();
        stored_ = 0;
        for (const Entry& entry : kept)
            place(entry.key, entry.passes);
    }

    std::size_t size_ = 0;  // the slots in use, a power of two
    std::size_t stored_ = 0;
};

// Some of a row's variations as bit sets, one per (column, digit), each
// variation at its place: the digits that rows above let through in each
// column then select the variations new to all columns with a few word
// operations per variation and digit, where a tree would visit them one by
// one.
class ColumnDigitSets {
public:
    // False when a variation holds a digit outside 1 … 9. Place p holds
    // variation variationAt[p].
    bool build(const RowIndex& row, const std::vector<std::int32_t>& variationAt)
    {
        count_ = variationAt.size();
        words_ = (count_ + 63) / 64;
        withDigit_.assign(std::size_t(9 * 10) * words_, 0);
        for (std::size_t place = 0; place < count_; ++place) {
            const std::uint8_t* digits = row.variation(variationAt[place]);
            for (int c = 0; c < 9; ++c) {
                if (digits[c] < 1 || digits[c] > 9)
                    return false;
                withDigit_[at(c, digits[c]) + place / 64] |= std::uint64_t(1) << (place % 64);
            }
        }
        return true;
    }

    // The places of the variations whose digits `allowed` lets through in
    // every column: those with none of the other digits, which are fewer
    // below rows that have filled most columns.
    void selectAllowed(const std::array<Bits, 9>& allowed, std::vector<std::uint64_t>& selected) const
    {
        selected.assign(words_, 0);
        std::uint64_t* const out = selected.data();
        for (int c = 0; c < 9; ++c) {
            for (Bits open = kAllDigits & ~allowed[c]; open != 0; open &= open - 1) {
                const std::uint64_t* withDigit = withDigit_.data() + at(c, std::countr_zero(open));
                for (std::size_t w = 0; w < words_; ++w)
                    out[w] |= withDigit[w];
            }
        }
        for (std::size_t w = 0; w < words_; ++w)
            out[w] = ~out[w];
        if (count_ % 64 != 0)
            out[words_ - 1] &= (std::uint64_t(1) << (count_ % 64)) - 1;
    }

private:
    // Where the set of a column and digit begins.
    std::size_t at(int column, int digit) const { return (std::size_t(column) * 10 + std::size_t(digit)) * words_; }

    std::size_t count_ = 0;
    std::size_t words_ = 0;
    std::vector<std::uint64_t> withDigit_;
};

// The variations of row 6 grouped by the digits they hold in each box.
// Below rows 1 … 3 only some variations are new to their columns (the live
// ones); a variation of row 6 can pass only if it is live and its box digits
// are apart from those of rows 4 and 5. When each box's digits of rows 4 and
// 5 leave exactly three free, only the group holding those three per box can
// pass, and exactly its live variations do (rows 4 and 5 hold none of its
// digits). So the live variations are found once for each search below row
// 4, kept group after group, and the loop of row 6 only walks that group's.
class SixthRowGroups {
public:
    // False when some variation of the row repeats a digit.
    bool prepare(const RowIndex& row)
    {
        if (prepared_)
            return usable_;
        prepared_ = true;
        std::vector<std::pair<std::uint32_t, std::int32_t>> keyed;
        keyed.reserve(std::size_t(row.count()));
        for (std::int32_t i = 0; i < row.count(); ++i) {
            const std::array<Bits, 3> digits = boxDigits(row.variation(i));
            if ((digits[0] | digits[1] | digits[2]) != kAllDigits || kBitCount[digits[0]] + kBitCount[digits[1]] != 6)
                return false;
            keyed.emplace_back(key(digits), i);
        }
        usable_ = true;
        // Ascending by group, and within a group by variation.
        std::sort(keyed.begin(), keyed.end());
        groupOf_.assign(std::size_t(1) << 18, -1);
        std::vector<std::array<Bits, 3>> groupDigits;
        for (const auto& [key, i] : keyed) {
            if (groupOf_[key] < 0) {
                groupOf_[key] = std::int32_t(groupDigits.size());
                groupDigits.push_back(boxDigits(row.variation(i)));
                groupBegin_.push_back(std::uint32_t(variationAt_.size()));
            }
            variationAt_.push_back(i);
        }
        groupBegin_.push_back(std::uint32_t(variationAt_.size()));
        groupsWithDigit_.assign(std::size_t(3 * 10) * groupWords(), 0);
        for (std::size_t group = 0; group < groupDigits.size(); ++group)
            for (int box = 0; box < 3; ++box)
                for (Bits open = groupDigits[group][box]; open != 0; open &= open - 1)
                    groupsWithDigit_[(std::size_t(box) * 10 + std::size_t(std::countr_zero(open))) * groupWords() +
                                     group / 64] |= std::uint64_t(1) << (group % 64);
        return sets_.build(row, variationAt_);
    }

    // Finds the live variations, `allowed` holding the digits new to each
    // column below rows 1 … 3.
    void findLive(const std::array<Bits, 9>& allowed)
    {
        sets_.selectAllowed(allowed, live_);
        liveGroups_.assign(groupWords(), 0);
        for (std::size_t group = 0; group + 1 < groupBegin_.size(); ++group)
            if (anyLive(groupBegin_[group], groupBegin_[group + 1]))
                liveGroups_[group / 64] |= std::uint64_t(1) << (group % 64);
    }

    // Whether some live variation holds in each box none of the given
    // digits (those of row 4).
    bool anyLiveApartFrom(const std::array<Bits, 3>& taken) const
    {
        for (std::size_t w = 0; w < liveGroups_.size(); ++w) {
            std::uint64_t meeting = 0;
            for (int box = 0; box < 3; ++box)
                for (Bits open = taken[box] & kAllDigits; open != 0; open &= open - 1)
                    meeting |= groupsWithDigit_[(std::size_t(box) * 10 + std::size_t(std::countr_zero(open))) *
                                                    groupWords() + w];
            if (liveGroups_[w] & ~meeting)
                return true;
        }
        return false;
    }

    // The places of the variations with the given digits in each box.
    struct Places {
        std::uint32_t first = 0;
        std::uint32_t end = 0;
    };
    Places group(const std::array<Bits, 3>& digits) const
    {
        const std::int32_t group = groupOf_[key(digits)];
        return group < 0 ? Places{} : Places{groupBegin_[std::size_t(group)], groupBegin_[std::size_t(group) + 1]};
    }

    bool anyLive(Places places) const { return anyLive(places.first, places.end); }

    std::int64_t liveCount(Places places) const
    {
        std::int64_t count = 0;
        for (std::uint32_t w = places.first / 64; w * 64 < places.end; ++w)
            count += bitCount(live_[w] & inside(w, places.first, places.end));
        return count;
    }

    // Calls onLive(i) for the live variations i among the places, in
    // ascending order, until it returns false.
    template <typename OnLive>
    void forEachLive(Places places, const OnLive& onLive) const
    {
        for (std::uint32_t w = places.first / 64; w * 64 < places.end; ++w) {
            std::uint64_t open = live_[w] & inside(w, places.first, places.end);
            for (; open != 0; open &= open - 1)
                if (!onLive(variationAt_[w * 64 + std::uint32_t(std::countr_zero(open))]))
                    return;
        }
    }

    static std::array<Bits, 3> boxDigits(const std::uint8_t* digits)
    {
        std::array<Bits, 3> boxes{};
        for (int c = 0; c < 9; ++c)
            boxes[c / 3] |= bit(digits[c]);
        return boxes;
    }

private:
    // The third box's digits follow from the other two.
    static std::uint32_t key(const std::array<Bits, 3>& boxDigits)
    {
        return boxDigits[0] >> 1 | (boxDigits[1] >> 1) << 9;
    }

    // The bits of word w that stand for places first … end − 1.
    static std::uint64_t inside(std::uint32_t w, std::uint32_t first, std::uint32_t end)
    {
        const std::uint32_t from = std::max(first, w * 64) - w * 64;
        const std::uint32_t to = std::min(end, w * 64 + 64) - w * 64;
        const std::uint64_t below = to == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << to) - 1;
        return below & ~((std::uint64_t(1) << from) - 1);
    }

    bool anyLive(std::uint32_t first, std::uint32_t end) const
    {
        for (std::uint32_t w = first / 64; w * 64 < end; ++w)
            if (live_[w] & inside(w, first, end))
                return true;
        return false;
    }

    bool prepared_ = false;
    bool usable_ = false;
    std::vector<std::int32_t> groupOf_;  // by key, or −1
    std::vector<std::uint32_t> groupBegin_;  // a group's first place; one more for the end
    std::vector<std::int32_t> variationAt_;  // by place
    ColumnDigitSets sets_;
    std::vector<std::uint64_t> live_;  // by place
    // A bit per group: those with live variations, and for each box and
    // digit those that hold the digit in the box.
    std::size_t groupWords() const { return (groupBegin_.size() - 1 + 63) / 64; }
    std::vector<std::uint64_t> liveGroups_;
    std::vector<std::uint64_t> groupsWithDigit_;
};

// The variations of a row below the first band that rows 1 … 3 let through
// (the live ones), found once for each search below row 4 and kept in bit
// sets of their own, so that the few left are told apart from further rows
// with a few words.
class LiveVariations {
public:
    // False when a variation holds a digit outside 1 … 9, or when the row
    // has so many variations that finding the live ones costs more than the
    // loops they save.
    bool prepare(const RowIndex& row)
    {
        if (prepared_)
            return usable_;
        prepared_ = true;
        if (row.count() > kMostVariations)
            return false;
        std::vector<std::int32_t> every(std::size_t(row.count()));
        std::iota(every.begin(), every.end(), 0);
        usable_ = allSets_.build(row, every);
        row_ = &row;
        return usable_;
    }

    // `allowed`: the digits new to each column below rows 1 … 3.
    void beginSearch(const std::array<Bits, 9>& allowed)
    {
        std::vector<std::uint64_t>& selected = scratch_;
        allSets_.selectAllowed(allowed, selected);
        live_.clear();
        for (std::size_t w = 0; w < selected.size(); ++w)
            for (std::uint64_t open = selected[w]; open != 0; open &= open - 1)
                live_.push_back(std::int32_t(w * 64 + std::size_t(std::countr_zero(open))));
        liveSets_.build(*row_, live_);
    }

    // The places of the live variations that repeat no digit of the given
    // rows in its column.
    template <std::size_t Rows>
    void selectApartFrom(const std::array<const std::uint8_t*, Rows>& rows, std::vector<std::uint64_t>& selected) const
    {
        std::array<Bits, 9> apart{};
        for (int c = 0; c < 9; ++c) {
            apart[c] = kAllDigits;
            for (const std::uint8_t* row : rows)
                apart[c] &= ~bit(row[c]);
        }
        liveSets_.selectAllowed(apart, selected);
    }

    // The live variation at a place.
    std::int32_t variation(std::size_t place) const { return live_[place]; }

private:
    static constexpr std::int32_t kMostVariations = 16384;
    bool prepared_ = false;
    bool usable_ = false;
    const RowIndex* row_ = nullptr;
    ColumnDigitSets allSets_;
    std::vector<std::int32_t> live_;  // ascending
    ColumnDigitSets liveSets_;  // place p: live_[p]
    std::vector<std::uint64_t> scratch_;
};

// Row 5's live variations: each loop of row 5 then only removes those that
// repeat a digit of row 4 in its column.
class FifthRowSets {
public:
    bool prepare(const RowIndex& row) { return live_.prepare(row); }
    void beginSearch(const std::array<Bits, 9>& allowed) { live_.beginSearch(allowed); }

    // Calls onPass(i) in ascending order for every variation i of row 5 that
    // passes the column test below rows 1 … 3 and the given row 4, until it
    // returns false.
    template <typename OnPass>
    void forEachPassing(const std::uint8_t* row4, const OnPass& onPass)
    {
        live_.selectApartFrom(std::array{row4}, passing_);
        for (std::size_t w = 0; w < passing_.size(); ++w)
            for (std::uint64_t open = passing_[w]; open != 0; open &= open - 1)
                if (!onPass(live_.variation(w * 64 + std::size_t(std::countr_zero(open)))))
                    return;
    }

    // How many variations of row 5 pass below rows 1 … 3 and the given row 4.
    std::int64_t countPassing(const std::uint8_t* row4)
    {
        live_.selectApartFrom(std::array{row4}, passing_);
        std::int64_t count = 0;
        for (const std::uint64_t word : passing_)
            count += bitCount(word);
        return count;
    }

private:
    LiveVariations live_;
    std::vector<std::uint64_t> passing_;
};

// Row 7's live variations, and for each loop of row 6 those that rows 4 and
// 5 let through too. A variation of row 7 passes only if rows 1 to 6 all let
// it through, so when none is left the loops of row 7 below only count.
class SeventhRowLive {
public:
    bool prepare(const RowIndex& row) { return live_.prepare(row); }
    void beginSearch(const std::array<Bits, 9>& allowed) { live_.beginSearch(allowed); }

    // Keeps those that rows 4 and 5 let through; false when there are none.
    bool keepApartFrom(const std::uint8_t* row4, const std::uint8_t* row5)
    {
        live_.selectApartFrom(std::array{row4, row5}, kept_);
        return std::any_of(kept_.begin(), kept_.end(), [](std::uint64_t word) { return word != 0; });
    }

    // Whether a kept one is let through by row 6 too.
    bool anyKeptApartFrom(const std::uint8_t* row6)
    {
        live_.selectApartFrom(std::array{row6}, apart_);
        for (std::size_t w = 0; w < kept_.size(); ++w)
            if (kept_[w] & apart_[w])
                return true;
        return false;
    }

private:
    LiveVariations live_;
    std::vector<std::uint64_t> kept_;
    std::vector<std::uint64_t> apart_;
};

class Search {
public:
    using Outcome = SearchOutcome;

    Search(const Zifrax_bas& bas, const std::array<RowIndex, 10>& rows, SolverWindow& window, LongSearchStart start)
        : bas_(bas), rows_(rows), window_(window), start_(start)
    {
    }

    Outcome run()
    {
        const Outcome outcome = loopOfRow(1);
        if (countedWhole_)
            return stoppedInCount_ ? Outcome::Stopped : Outcome::RanOut;
        return outcome;
    }

    // The table is of no use to a short search: it starts with the aids
    // for long ones.
    Outcome loopOfRow(int row)
    {
        // A long search is counted whole when it holds no solution; the
        // loops under way then end as if stopped. That pays where the
        // passes lie mostly in loops that are counted in blocks, as their
        // rows rarely pass: there the row loops made are few for the passes.
        if (!wholeCountTried_ && start_.wholeCount >= 0 && passes_ >= start_.wholeCount &&
            passes_ >= kPassesPerLoopCounted * searches_ && longSearch()) {
            wholeCountTried_ = true;
            if (const std::optional<std::int64_t> total = passesWithoutSolution(bas_); total && *total >= passes_) {
                countedWhole_ = true;
                stoppedInCount_ = !countPasses(*total - passes_);
                return Outcome::Stopped;
            }
        }
        if ((row != 4 && row != 7) || !longSearch())
            return searchRow(row);
        const std::uint64_t key = RanOutSearches::key(row, columnDigits_[row]);
        if (const std::int64_t known = ranOut_.find(key); known != RanOutSearches::kUnknown)
            return countPasses(known) ? Outcome::RanOut : Outcome::Stopped;
        const std::int64_t passesBefore = passes_;
        const std::int64_t searchesBefore = searches_;
        const Outcome outcome = searchRow(row);
        // Small searches (a few row loops over rows searched with bit sets)
        // cost little more than a look-up, and keeping them all would make
        // the table large and slow; searches through a row's tree or with
        // many row loops below are kept.
        if (outcome == Outcome::RanOut &&
            (searches_ - searchesBefore >= kKeptSearchLoops || rows_[row].count() > kSmallRowLimit))
            ranOut_.store(key, passes_ - passesBefore);
        return outcome;
    }

    std::int64_t passes() const { return passes_; }

    // The chosen variation of every row, written into the grid.
    void placeChosen(GridArray& grid) const
    {
        for (int row = 1; row <= 9; ++row) {
            const std::uint8_t* digits = rows_[row].variation(chosen_[row]);
            for (int c = 0; c < 9; ++c)
                grid[cellIndex(row, c + 1)] = digits[c];
        }
    }

private:
    bool longSearch() const { return searches_ >= start_.loops; }

    // Finds the variations of rows 5, 6 and 7 that rows 1 … 3 let through,
    // `allowed` holding the digits new to each column below them.
    void setUpShortcuts(const std::array<Bits, 9>& allowed)
    {
        if (!sixthRowGroups_.prepare(rows_[6]) || !fifthRowSets_.prepare(rows_[5]))
            return;
        sixthRowGroups_.findLive(allowed);
        fifthRowSets_.beginSearch(allowed);
        liveCounted_ = true;
        seventhRowKnown_ = seventhRowLive_.prepare(rows_[7]);
        if (seventhRowKnown_)
            seventhRowLive_.beginSearch(allowed);
    }

    // The loop of one row, passes of failing variations counted in blocks.
    Outcome searchRow(int row)
    {
        ++searches_;
        const RowIndex& index = rows_[row];
        std::array<Bits, 9> allowed{};
        for (int c = 0; c < 9; ++c)
            allowed[c] = kAllDigits & ~columnDigits_[row][c];
        // In deep searches mostly no variation of row 6 passes below rows 4
        // and 5: the loops of rows 5 and 6 then only count. Their set-up
        // pays only in a long search, and there in a search below row 4
        // with many loops of row 5, so it is made at the first passing
        // variation of row 4 when the searches below row 4 so far let many
        // pass on average, else once a few have passed.
        std::int64_t passingSoFar = 0;
        std::int64_t passingBeforeShortcuts = start_.passing;
        if (row == 4) {
            liveCounted_ = false;
            if (searchesBelowRow4_ > 0 && passingRow4_ >= kManyPassingRow4 * searchesBelowRow4_)
                passingBeforeShortcuts = 0;
            ++searchesBelowRow4_;
        }
        if (row == 5 && liveCounted_) {
            const std::uint8_t* row4 = rows_[4].variation(chosen_[4]);
            if (!sixthRowGroups_.anyLiveApartFrom(SixthRowGroups::boxDigits(row4))) {
                const std::int64_t loops = fifthRowSets_.countPassing(row4);
                return countPasses(index.count() + loops * rows_[6].count()) ? Outcome::RanOut : Outcome::Stopped;
            }
        }
        // A loop of row 6 that walks a group needs no box test.
        const bool sixthRowFromGroup = row == 6 && sixthRowFromGroup_;
        if (row % 3 == 0 && !sixthRowFromGroup && !excludeBandDigits(row, allowed))
            allowed.fill(0);

        std::int32_t uncounted = 0;  // the first variation not yet counted
        std::int64_t below = 0;  // passes below variations counted without a search
        const bool bandMiddle = row % 3 == 2;
        const std::array<Bits, 3> upperBoxes =
            bandMiddle ? SixthRowGroups::boxDigits(rows_[row - 1].variation(chosen_[row - 1])) : std::array<Bits, 3>{};
        Outcome outcome = Outcome::RanOut;
        const auto onPass = [&](std::int32_t i) {
            if (row == 4) {
                ++passingRow4_;
                if (passingSoFar++ == passingBeforeShortcuts && longSearch())
                    setUpShortcuts(allowed);
            }
            if (bandMiddle) {
                if (const std::int64_t counted = passesOfLoopBelow(row, upperBoxes, index.variation(i));
                    counted != kMakeLoop) {
                    below += counted;
                    return true;
                }
            }
            if (sixthRowFromGroup && seventhRowKnown_ && seventhRowShutBelow(i)) {
                below += rows_[7].count();
                return true;
            }
            if (!countPasses(i + 1 - uncounted + below)) {
                outcome = Outcome::Stopped;
                return false;
            }
            uncounted = i + 1;
            below = 0;
            chosen_[row] = i;
            if (row == 9) {
                outcome = Outcome::Solved;
                return false;
            }
            const std::uint8_t* digits = index.variation(i);
            for (int c = 0; c < 9; ++c)
                columnDigits_[row + 1][c] = columnDigits_[row][c] | bit(digits[c]);
            outcome = loopOfRow(row + 1);
            return outcome == Outcome::RanOut;
        };
        if (sixthRowFromGroup)
            sixthRowGroups_.forEachLive(sixthRowPassing_, onPass);
        else if (row == 5 && liveCounted_)
            fifthRowSets_.forEachPassing(rows_[4].variation(chosen_[4]), onPass);
        else if (index.sharedDigitsAllowed(allowed))
            index.forEachAllowed(allowed, onPass);
        if (outcome == Outcome::RanOut && !countPasses(index.count() - uncounted + below))
            outcome = Outcome::Stopped;
        return outcome;
    }

    // The passes of the loop of the band's last row below a variation of
    // its middle row with the given digits, the upper row's box digits given
    // too, when they can be counted without making it; else kMakeLoop.
    // Nothing passes there when the two share a digit in a box, or (in the
    // second band, with the groups of row 6 found) when the three digits they
    // leave free in each box are those of no group with live variations.
    // When no variation of row 7 can pass below any passing one of row 6,
    // those are counted too, each with the loop of row 7 below it. Otherwise,
    // with the groups found, the loop of row 6 is to walk that group's live
    // variations.
    static constexpr std::int64_t kMakeLoop = -1;
    std::int64_t passesOfLoopBelow(int row, const std::array<Bits, 3>& upperBoxes, const std::uint8_t* middle)
    {
        const std::int64_t loop = rows_[row + 1].count();
        std::array<Bits, 3> freeInBox = SixthRowGroups::boxDigits(middle);
        bool threeFreeEach = true;
        for (int box = 0; box < 3; ++box) {
            if (freeInBox[box] & upperBoxes[box])
                return loop;
            freeInBox[box] = kAllDigits & ~(freeInBox[box] | upperBoxes[box]);
            threeFreeEach = threeFreeEach && kBitCount[freeInBox[box]] == 3;
        }
        if (row != 5)
            return kMakeLoop;
        sixthRowFromGroup_ = liveCounted_ && threeFreeEach;
        if (!sixthRowFromGroup_)
            return kMakeLoop;
        // Row 6's variations hold each digit once; rows 4 and 5 may not, if
        // their givens repeat one.
        if ((freeInBox[0] | freeInBox[1] | freeInBox[2]) != kAllDigits)
            return loop;
        sixthRowPassing_ = sixthRowGroups_.group(freeInBox);
        const std::int64_t passing = sixthRowGroups_.liveCount(sixthRowPassing_);
        if (passing == 0)
            return loop;
        if (!seventhRowKnown_)
            return kMakeLoop;
        bool anyRow7Passes = seventhRowLive_.keepApartFrom(rows_[4].variation(chosen_[4]), middle);
        if (anyRow7Passes)
            sixthRowGroups_.forEachLive(sixthRowPassing_, [&](std::int32_t sixth) {
                anyRow7Passes = !seventhRowShutBelow(sixth);
                return !anyRow7Passes;
            });
        return anyRow7Passes ? kMakeLoop : loop + passing * rows_[7].count();
    }

    // Whether no variation of row 7 can pass below the given variation of
    // row 6, rows 4 and 5 being those of the current loop of row 6.
    bool seventhRowShutBelow(std::int32_t sixth)
    {
        return !seventhRowLive_.anyKeptApartFrom(rows_[6].variation(sixth));
    }

    // Adds passes, reporting at every multiple of the interval reached on
    // the way; false when the user stopped there.
    bool countPasses(std::int64_t added)
    {
        passes_ += added;
        while (passes_ >= nextReport_) {
            const std::int64_t reportedAt = nextReport_;
            nextReport_ += kReportInterval;
            window_.update(2, 0, reportedAt);
            if (window_.stopRequested()) {
                passes_ = reportedAt;
                return false;
            }
        }
        return true;
    }

    // The last row of a band may not repeat a digit of the two rows above it
    // in the same box; false when the box test fails whatever that row
    // holds: a row of the band repeats a digit inside a box, or the two rows
    // above share one.
    bool excludeBandDigits(int row, std::array<Bits, 9>& allowed) const
    {
        if (rows_[row].repeatsInBox() || rows_[row - 1].repeatsInBox() || rows_[row - 2].repeatsInBox())
            return false;
        const std::uint8_t* upper = rows_[row - 2].variation(chosen_[row - 2]);
        const std::uint8_t* middle = rows_[row - 1].variation(chosen_[row - 1]);
        for (int box = 0; box < 3; ++box) {
            Bits upperDigits = 0;
            Bits middleDigits = 0;
            for (int c = box * 3; c < box * 3 + 3; ++c) {
                upperDigits |= bit(upper[c]);
                middleDigits |= bit(middle[c]);
            }
            if (upperDigits & middleDigits)
                return false;
            for (int c = box * 3; c < box * 3 + 3; ++c)
                allowed[c] &= ~(upperDigits | middleDigits);
        }
        return true;
    }

    const Zifrax_bas& bas_;
    const std::array<RowIndex, 10>& rows_;
    SolverWindow& window_;
    std::int64_t passes_ = 0;
    std::int64_t nextReport_ = kReportInterval;
    std::array<std::int32_t, 10> chosen_{};
    RanOutSearches ranOut_;
    std::int64_t searches_ = 0;  // the row loops begun
    const LongSearchStart start_;
    SixthRowGroups sixthRowGroups_;
    FifthRowSets fifthRowSets_;
    bool liveCounted_ = false;  // for the search below row 4 under way
    static constexpr std::int64_t kManyPassingRow4 = 8;
    std::int64_t searchesBelowRow4_ = 0;
    std::int64_t passingRow4_ = 0;  // the passing variations of row 4 in all of them
    SeventhRowLive seventhRowLive_;
    bool seventhRowKnown_ = false;  // seventhRowLive_ holds the search's live variations
    // The next loop of row 6 takes its passing variations from a group.
    bool sixthRowFromGroup_ = false;
    SixthRowGroups::Places sixthRowPassing_;
    static constexpr std::int64_t kKeptSearchLoops = 64;
    static constexpr std::int64_t kPassesPerLoopCounted = 10000;
    bool wholeCountTried_ = false;
    bool countedWhole_ = false;  // the passes left were counted at once
    bool stoppedInCount_ = false;
    // columnDigits_[L][c]: the digits of rows 1 … L − 1 in column c.
    std::array<std::array<Bits, 9>, 10> columnDigits_{};
};

}  // namespace

void variation(Zifrax_bas& bas, SolverWindow& window)
{
    for (int row = 1; row <= 9; ++row) {
        RowEnumeration enumeration(bas, row);
        if (!enumeration.run(window))
            return;
        bas.variationsanzahl[row] = enumeration.count();
    }
    finishVariationStage(bas, window);
}


std::int64_t brute_force(Zifrax_bas& bas, SolverWindow& window, LongSearchStart start)
{
    if (window.stopRequested())
        return 0;
    bas.loesung = bas.vorgabe;

    std::array<RowIndex, 10> rows;
    for (int row = 1; row <= 9; ++row)
        rows[row].build(bas, row);
    Search search(bas, rows, window, start);
    const SearchOutcome outcome = search.run();
    if (outcome == SearchOutcome::Solved)
        search.placeChosen(bas.loesung);
    finishSearch(outcome, bas, window);
    return search.passes();
}

}  // namespace zifrax::fast
