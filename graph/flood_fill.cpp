// FloodFillArea: every pixel of the viewport that is 4-connected to the seed without crossing a
// pixel of the border colour is painted with the fill pattern, each run once, through the
// FillPatternSpan slot.
//
// The region is what a seed-stack walk over three row buffers, re-reading rows as it goes,
// would reach: a pixel that has not been painted still reads as it did, and a border pixel is
// never painted, so however painted pixels read back afterwards, and in whatever order the runs
// are taken, the walk reaches exactly these pixels. Here each viewport row is read once, when
// the fill first reaches it, with one ReadPixelRow call, and kept as bits of the pixels still
// open (neither border nor painted); a run is closed there as soon as it is painted, so the bits
// stop the walk at painted runs, runs are found a word of 64 pixels at a time, and the
// neighbours of a run are looked for only in the row ahead and in the parts of the row behind
// that the run reaches beyond its parent.
//
// Choices (also true of the walk the fill replaces): a seed on a border pixel paints nothing;
// no seed is ever dropped; rows just outside the viewport are never read.

#include <algorithm>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "graph/graph_internal.h"
#include "runtime/heap.h"

namespace {

// Runs of row y whose columns [left, right] still have to be looked at: the row y - dy is
// filled across those columns.
struct PendingRow {
    int16_t y;
    int16_t left;
    int16_t right;
    int16_t dy;
};

// Bit i set where colours[i] is not the border, for 64 colours.
inline uint64_t OpenBitsOf64(const uint16_t* colours, uint16_t border) {
#ifdef __SSE2__
    const __m128i borders = _mm_set1_epi16(static_cast<int16_t>(border));
    uint64_t closed = 0;
    for (int i = 0; i < 64; i += 16) {
        const __m128i low = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + i)), borders);
        const __m128i high =
            _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + i + 8)), borders);
        closed |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)))} << i;
    }
    return ~closed;
#else
    uint64_t open = 0;
    for (int i = 0; i < 64; ++i) open |= uint64_t{colours[i] != border} << i;
    return open;
#endif
}

// The open pixels of one row as bits, 64 to a word: bit (x AND 63) of word (x div 64) is set
// while pixel x is neither border nor painted. Bits past the row's end are clear, and every row
// has at least one of them, so NextClosed stops inside the row's own words.
class RowBits {
public:
    explicit RowBits(uint64_t* words) : words_(words) {}

    // The first open x in [from, to], or -1.
    int32_t NextOpen(int32_t from, int32_t to) const {
        int32_t index = from >> 6;
        uint64_t word = words_[index] & (~uint64_t{0} << (from & 63));
        const int32_t last = to >> 6;
        for (;;) {
            if (word != 0) {
                const int32_t x = (index << 6) + __builtin_ctzll(word);
                return x <= to ? x : -1;
            }
            if (++index > last) return -1;
            word = words_[index];
        }
    }
    // The first x at or after `from` that is not open (past the row's end if none is).
    int32_t NextClosed(int32_t from) const {
        int32_t index = from >> 6;
        uint64_t word = ~words_[index] & (~uint64_t{0} << (from & 63));
        while (word == 0) word = ~words_[++index];
        return (index << 6) + __builtin_ctzll(word);
    }
    // The last x at or before `from` that is not open, or -1.
    int32_t PreviousClosed(int32_t from) const {
        int32_t index = from >> 6;
        uint64_t word = ~words_[index] & (~uint64_t{0} >> (63 - (from & 63)));
        while (word == 0) {
            if (--index < 0) return -1;
            word = ~words_[index];
        }
        return (index << 6) + 63 - __builtin_clzll(word);
    }
    void Close(int32_t left, int32_t right) {
        const int32_t first = left >> 6, last = right >> 6;
        const uint64_t head = ~uint64_t{0} << (left & 63), tail = ~uint64_t{0} >> (63 - (right & 63));
        if (first == last) {
            words_[first] &= ~(head & tail);
            return;
        }
        words_[first] &= ~head;
        for (int32_t i = first + 1; i < last; ++i) words_[i] = 0;
        words_[last] &= ~tail;
    }

private:
    uint64_t* words_;
};

// The library-wide state of the fill in progress (one fill at a time).
struct FillWalk {
    int32_t width;
    int32_t wordsPerRow;
    int32_t lastRow;
    uint16_t border;
    uint64_t* open;  // RowBits of every viewport row, each filled when the fill first reaches it
    uint16_t* colours;  // one row as ReadPixelRow gives it
    std::vector<uint8_t> rowRead;
    std::vector<PendingRow> pending;

    RowBits Row(int32_t y) {
        uint64_t* words = open + static_cast<size_t>(y) * static_cast<size_t>(wordsPerRow);
        if (!rowRead[static_cast<size_t>(y)]) {
            DriverSlots.ReadPixelRow(0, static_cast<int16_t>(width - 1), static_cast<int16_t>(y), colours);
            const int32_t whole = width / 64;
            for (int32_t index = 0; index < whole; ++index) words[index] = OpenBitsOf64(colours + index * 64, border);
            if (whole < wordsPerRow) {
                uint64_t word = 0;
                for (int32_t i = whole * 64; i < width; ++i) word |= uint64_t{colours[i] != border} << (i & 63);
                words[whole] = word;
            }
            rowRead[static_cast<size_t>(y)] = 1;
        }
        return RowBits(words);
    }

    void Queue(int32_t y, int32_t left, int32_t right, int32_t dy) {
        if (y < 0 || y > lastRow || left > right) return;
        pending.push_back({static_cast<int16_t>(y), static_cast<int16_t>(left), static_cast<int16_t>(right),
                           static_cast<int16_t>(dy)});
    }

    // Paints the run of row y through the open pixel x and closes it; returns its ends.
    std::pair<int32_t, int32_t> PaintRun(RowBits row, int32_t x, int32_t y) {
        const int32_t left = row.PreviousClosed(x) + 1;
        const int32_t right = std::min(row.NextClosed(x), width) - 1;
        row.Close(left, right);
        DriverSlots.FillPatternSpan(static_cast<int16_t>(left), static_cast<int16_t>(right), static_cast<int16_t>(y));
        return {left, right};
    }

    void Run(int32_t seedX, int32_t seedY) {
        RowBits seedRow = Row(seedY);
        if (seedRow.NextOpen(seedX, seedX) < 0) return;
        auto [left, right] = PaintRun(seedRow, seedX, seedY);
        Queue(seedY + 1, left, right, 1);
        Queue(seedY - 1, left, right, -1);
        while (!pending.empty()) {
            const PendingRow next = pending.back();
            pending.pop_back();
            RowBits row = Row(next.y);
            for (int32_t x = row.NextOpen(next.left, next.right); x >= 0;) {
                auto [runLeft, runRight] = PaintRun(row, x, next.y);
                Queue(next.y + next.dy, runLeft, runRight, next.dy);
                // Where the run reaches past its parent, the row behind has not been looked at.
                Queue(next.y - next.dy, runLeft, next.left - 1, -next.dy);
                Queue(next.y - next.dy, next.right + 1, runRight, -next.dy);
                x = runRight + 1 <= next.right ? row.NextOpen(runRight + 1, next.right) : -1;
            }
        }
    }
};

FillWalk walk;

}  // namespace

void FloodFillArea(int16_t x, int16_t y, uint16_t border) {
    const uint16_t savedColour = GraphState.drawColor;
    GraphState.drawColor = GraphState.fillColor;
    const int32_t width = GraphState.viewMaxX + 1;
    const int32_t height = GraphState.viewMaxY + 1;
    const int32_t wordsPerRow = width / 64 + 1;  // with a clear bit past the row's end
    const int64_t bitsBytes = int64_t{wordsPerRow} * height * static_cast<int64_t>(sizeof(uint64_t));
    const int32_t rowBytes = width * static_cast<int32_t>(sizeof(uint16_t));
    uint64_t* open = bitsBytes <= INT32_MAX ? HeapAllocateOf<uint64_t>(static_cast<int32_t>(bitsBytes)) : nullptr;
    uint16_t* colours = open != nullptr ? HeapAllocateOf<uint16_t>(rowBytes) : nullptr;
    if (colours == nullptr) {
        if (open != nullptr) HeapReleaseSized(open, static_cast<int32_t>(bitsBytes));
        GraphState.resultCode = GraphErrorNoFillMemory;
        GraphState.drawColor = savedColour;
        return;
    }
    if (x >= 0 && y >= 0 && x < width && y < height) {
        walk.width = width;
        walk.wordsPerRow = wordsPerRow;
        walk.lastRow = height - 1;
        walk.border = border;
        walk.open = open;
        walk.colours = colours;
        walk.rowRead.assign(static_cast<size_t>(height), 0);
        walk.pending.clear();
        walk.Run(x, y);
    }
    HeapReleaseSized(colours, rowBytes);
    HeapReleaseSized(open, static_cast<int32_t>(bitsBytes));
    GraphState.drawColor = savedColour;
}
