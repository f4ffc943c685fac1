// Fill settings, the fill patterns, FloodFillArea with its seed stack, row buffers and
// span table, and the default ReadPixelRow and FillPatternSpan routines.
//
// Mends and choices:
// - The seed stack grows instead of dropping seeds: a region is always filled completely.
// - The span table has one bucket per four rows of the viewport, however tall it is (at least
//   512 buckets), so viewports taller than 2048 rows are filled correctly.
// - A seed whose own pixel has the border colour paints nothing and pushes nothing; so the walk never handles a pixel left of x = 0 and never reads outside the
//   row buffers.
// - Span records come from one pool per fill instead of one heap block each; IsFilled remembers
//   its last answer as an interval of the row, valid until the next span is recorded.
// - Rows just outside the viewport are never consulted, so they are not read.

#include <cstring>
#include <vector>

#include "graph/graph_internal.h"
#include "runtime/heap.h"

const uint8_t FillPatternTable[12][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83},
    {0x07, 0x83, 0xC1, 0xE0, 0x70, 0x38, 0x1C, 0x0E},
    {0x5A, 0x2D, 0x96, 0x4B, 0xA5, 0xD2, 0x69, 0xB4},
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},
    {0x18, 0x24, 0x42, 0x81, 0x81, 0x42, 0x24, 0x18},
    {0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33},
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00},
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},
};

uint8_t FillPatternRow(uint16_t pattern, int16_t surfaceY) {
    int row = surfaceY & 7;
    if (pattern < 12) return FillPatternTable[pattern][row];
    return GraphState.userFillPattern[row];
}

namespace {

constexpr uint8_t kBitMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
constexpr int kMinBuckets = 512;

// ---- The fill's library-wide state (one fill at a time) ----

struct FilledSpan {
    int32_t next;  // index in spanPool, -1 at the end of a bucket
    int16_t left;
    int16_t right;
    int16_t y;
};

std::vector<int16_t> seedStack;     // x, y pairs
size_t peakSeedEntries = 0;
std::vector<FilledSpan> spanPool;
std::vector<int32_t> spanBuckets;   // head index per bucket of four rows, -1 when empty

// IsFilled's memory: for row `row`, every x in [low, high] has the answer `filled`.
struct FilledMemo {
    int32_t row = -1;
    int32_t low = 0;
    int32_t high = -1;
    bool filled = false;
};
FilledMemo filledMemo[2];  // one for the row below, one for the row above

void PushSeed(int16_t x, int16_t y) {
    seedStack.push_back(x);
    seedStack.push_back(y);
    if (seedStack.size() > peakSeedEntries) peakSeedEntries = seedStack.size();
}

void PopSeed(int16_t& x, int16_t& y) {
    y = seedStack.back();
    seedStack.pop_back();
    x = seedStack.back();
    seedStack.pop_back();
}

__attribute__((noinline)) bool LookUpFilled(int16_t x, int16_t y, FilledMemo& memo) {
    int32_t low = -32769, high = 32768;
    for (int32_t i = spanBuckets[y >> 2]; i >= 0; i = spanPool[i].next) {
        const FilledSpan& span = spanPool[i];
        if (span.y != y) continue;
        if (span.left <= x && x <= span.right) {
            memo = {y, span.left, span.right, true};
            return true;
        }
        if (span.right < x && span.right + 1 > low) low = span.right + 1;
        if (span.left > x && span.left - 1 < high) high = span.left - 1;
    }
    memo = {y, low, high, false};
    return false;
}

inline bool IsFilled(int16_t x, int16_t y, FilledMemo& memo) {
    if (memo.row == y && x >= memo.low && x <= memo.high) [[likely]] return memo.filled;
    return LookUpFilled(x, y, memo);
}

void RecordSpan(int16_t left, int16_t right, int16_t y) {
    int32_t& head = spanBuckets[y >> 2];
    spanPool.push_back({head, left, right, y});
    head = static_cast<int32_t>(spanPool.size() - 1);
    filledMemo[0].row = -1;
    filledMemo[1].row = -1;
}

void ReleaseSpans() {
    spanPool.clear();
    std::fill(spanBuckets.begin(), spanBuckets.end(), -1);
}

void ReadRow(int16_t row, uint16_t* buffer) {
    if (row < 0 || row > GraphState.viewMaxY) return;  // never consulted
    DriverSlots.ReadPixelRow(0, GraphState.viewMaxX, row, buffer);
}

}  // namespace

int32_t LastFillPeakSeeds() { return static_cast<int32_t>(peakSeedEntries / 2); }

void SelectFill(uint16_t pattern, uint16_t colour) {
    if (pattern > 12 || colour > HighestColor()) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.fillColor = colour;
    GraphState.fillPatternIndex = pattern;
}

void GenericReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer) {
    ReadPixelRoutine read = DriverSlots.ReadPixel;
    for (int32_t x = x1; x <= x2; ++x) buffer[x - x1] = read(static_cast<int16_t>(x), y);
}

void GenericFillPatternSpan(int16_t x1, int16_t x2, int16_t y) {
    x1 = static_cast<int16_t>(x1 + GraphState.viewLeft);
    x2 = static_cast<int16_t>(x2 + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    int16_t ya = y, yb = y;
    if (ClipSegment(x1, ya, x2, yb, GraphState.viewLeft, GraphState.viewTop,
                    static_cast<int16_t>(GraphState.viewLeft + GraphState.viewMaxX),
                    static_cast<int16_t>(GraphState.viewTop + GraphState.viewMaxY))) {
        return;
    }
    uint16_t savedMode = GraphState.writeMode;
    GraphState.writeMode = 0;
    uint8_t bits = FillPatternRow(GraphState.fillPatternIndex, y);
    int16_t vx1 = static_cast<int16_t>(x1 - GraphState.viewLeft);
    int16_t vx2 = static_cast<int16_t>(x2 - GraphState.viewLeft);
    int16_t vy = static_cast<int16_t>(y - GraphState.viewTop);
    if (bits == 0x00) {
        uint16_t saved = GraphState.drawColor;
        GraphState.drawColor = GraphState.backColor;
        DriverSlots.DrawHorizontalLine(vx1, vx2, vy);
        GraphState.drawColor = saved;
    } else if (bits == 0xFF) {
        DriverSlots.DrawHorizontalLine(vx1, vx2, vy);
    } else {
        for (int32_t x = x1; x <= x2; ++x) {
            if (bits & kBitMask[x & 7]) {
                DriverSlots.PlotPixel(static_cast<int16_t>(x), y);
            } else {
                uint16_t saved = GraphState.drawColor;
                GraphState.drawColor = GraphState.backColor;
                DriverSlots.PlotPixel(static_cast<int16_t>(x), y);
                GraphState.drawColor = saved;
            }
        }
    }
    GraphState.writeMode = savedMode;
}

void FloodFillArea(int16_t x, int16_t y, uint16_t border) {
    const int32_t width = GraphState.viewMaxX + 1;
    const int16_t viewMaxX = GraphState.viewMaxX;
    const int16_t viewMaxY = GraphState.viewMaxY;
    int32_t buckets = (GraphState.viewMaxY + 1 + 3) / 4;
    if (buckets < kMinBuckets) buckets = kMinBuckets;
    spanBuckets.assign(static_cast<size_t>(buckets), -1);
    spanPool.clear();
    filledMemo[0].row = filledMemo[1].row = -1;
    int32_t lastRow = 32767;
    uint16_t savedColour = GraphState.drawColor;
    GraphState.drawColor = GraphState.fillColor;

    const int32_t rowBytes = width * static_cast<int32_t>(sizeof(uint16_t));
    uint16_t* rowAbove = static_cast<uint16_t*>(HeapAllocate(rowBytes));
    uint16_t* rowCurrent = rowAbove ? static_cast<uint16_t*>(HeapAllocate(rowBytes)) : nullptr;
    uint16_t* rowBelow = rowCurrent ? static_cast<uint16_t*>(HeapAllocate(rowBytes)) : nullptr;
    auto release = [&] {
        if (rowAbove) HeapReleaseSized(rowAbove, rowBytes);
        if (rowCurrent) HeapReleaseSized(rowCurrent, rowBytes);
        if (rowBelow) HeapReleaseSized(rowBelow, rowBytes);
    };
    if (rowBelow == nullptr) {
        release();
        GraphState.resultCode = GraphErrorNoFillMemory;
        GraphState.drawColor = savedColour;
        return;
    }
    if (x < 0 || y < 0 || x > viewMaxX || y > viewMaxY) {
        release();
        GraphState.drawColor = savedColour;
        return;
    }

    seedStack.clear();
    peakSeedEntries = 0;
    PushSeed(x, y);
    while (!seedStack.empty()) {
        PopSeed(x, y);
        if (y != lastRow) {
            if (y == lastRow - 1) {
                uint16_t* spare = rowBelow;
                rowBelow = rowCurrent;
                rowCurrent = rowAbove;
                rowAbove = spare;
                ReadRow(static_cast<int16_t>(y - 1), rowAbove);
            } else if (y == lastRow + 1) {
                uint16_t* spare = rowAbove;
                rowAbove = rowCurrent;
                rowCurrent = rowBelow;
                rowBelow = spare;
                ReadRow(static_cast<int16_t>(y + 1), rowBelow);
            } else {
                ReadRow(static_cast<int16_t>(y - 1), rowAbove);
                ReadRow(y, rowCurrent);
                ReadRow(static_cast<int16_t>(y + 1), rowBelow);
            }
            lastRow = y;
        }
        if (rowCurrent[x] == border) continue;  // a seed on a border pixel paints nothing
        int32_t scan = x;
        while (scan <= viewMaxX && rowCurrent[scan] != border) ++scan;
        const int16_t right = static_cast<int16_t>(scan - 1);
        // Walk left from the right end. Every run of open pixels in the rows above and below
        // gets one seed, at its rightmost pixel within the span; at one column the seed below
        // is pushed first. The walk goes in stretches over which IsFilled's answer for both
        // rows stays the same.
        bool aboveOpen = false, belowOpen = false;
        const bool hasBelow = y < viewMaxY, hasAbove = y > 0;
        const int16_t below = static_cast<int16_t>(y + 1), above = static_cast<int16_t>(y - 1);
        int32_t walk = right;
        for (;;) {
            int32_t stretchLow = 0;
            bool checkBelow = false, checkAbove = false;
            if (hasBelow) {
                checkBelow = !IsFilled(static_cast<int16_t>(walk), below, filledMemo[0]);
                if (!checkBelow) belowOpen = false;
                if (filledMemo[0].low > stretchLow) stretchLow = filledMemo[0].low;
            }
            if (hasAbove) {
                checkAbove = !IsFilled(static_cast<int16_t>(walk), above, filledMemo[1]);
                if (!checkAbove) aboveOpen = false;
                if (filledMemo[1].low > stretchLow) stretchLow = filledMemo[1].low;
            }
            bool stopped = false;
            for (; walk >= stretchLow; --walk) {
                if (checkBelow) {
                    bool open = rowBelow[walk] != border;
                    if (open && !belowOpen) PushSeed(static_cast<int16_t>(walk), below);
                    belowOpen = open;
                }
                if (checkAbove) {
                    bool open = rowAbove[walk] != border;
                    if (open && !aboveOpen) PushSeed(static_cast<int16_t>(walk), above);
                    aboveOpen = open;
                }
                if (walk == 0 || rowCurrent[walk - 1] == border) {
                    stopped = true;
                    break;
                }
                // Pixels that change nothing (the open rows stay open, the span goes on) are
                // passed over in one tight loop.
                const bool belowSteady = !checkBelow || belowOpen, aboveSteady = !checkAbove || aboveOpen;
                if (belowSteady && aboveSteady) {
                    while (walk - 1 > stretchLow && (!checkBelow || rowBelow[walk - 1] != border) &&
                           (!checkAbove || rowAbove[walk - 1] != border) && rowCurrent[walk - 2] != border) {
                        --walk;
                    }
                }
            }
            if (stopped) break;
        }
        const int16_t left = static_cast<int16_t>(walk);
        RecordSpan(left, right, y);
        DriverSlots.FillPatternSpan(left, right, y);
    }
    release();
    ReleaseSpans();
    GraphState.drawColor = savedColour;
}
