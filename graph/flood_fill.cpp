// FloodFillArea: every pixel of the viewport that is 4-connected to the seed without crossing a
// pixel of the border colour is painted with the fill pattern, each run once, through the
// FillPatternSpan slot.
//
// The region is what a seed-stack walk over three row buffers, re-reading rows as it goes,
// would reach: a pixel that has not been painted still reads as it did, and a border pixel is
// never painted, so however painted pixels read back afterwards, and in whatever order the runs
// are taken, the walk reaches exactly these pixels. Here each viewport row is read once, when
// the fill first reaches it, with one ReadPixelRow call into a picture of colour numbers; a run
// is marked there with the border colour as soon as it is painted, so the picture itself stops
// the walk at painted runs, and the neighbours of a run are looked for only in the row ahead
// and in the parts of the row behind that the run reaches beyond its parent.
//
// Choices (also true of the walk the fill replaces): a seed on a border pixel paints nothing;
// no seed is ever dropped; rows just outside the viewport are never read.

#include <algorithm>
#include <vector>

#include "graph/graph.h"
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

// The library-wide state of the fill in progress (one fill at a time).
struct FillWalk {
    uint16_t* picture;  // the viewport's colour numbers, row by row, read as rows are reached
    int32_t width;
    int32_t lastRow;
    uint16_t border;
    std::vector<uint8_t> rowRead;
    std::vector<PendingRow> pending;

    uint16_t* Row(int32_t y) {
        uint16_t* row = picture + static_cast<size_t>(y) * static_cast<size_t>(width);
        if (!rowRead[static_cast<size_t>(y)]) {
            DriverSlots.ReadPixelRow(0, static_cast<int16_t>(width - 1), static_cast<int16_t>(y), row);
            rowRead[static_cast<size_t>(y)] = 1;
        }
        return row;
    }

    void Queue(int32_t y, int32_t left, int32_t right, int32_t dy) {
        if (y < 0 || y > lastRow || left > right) return;
        pending.push_back({static_cast<int16_t>(y), static_cast<int16_t>(left), static_cast<int16_t>(right),
                           static_cast<int16_t>(dy)});
    }

    // Paints the run of row y through the open pixel x and marks it; returns its ends.
    std::pair<int32_t, int32_t> PaintRun(uint16_t* row, int32_t x, int32_t y) {
        int32_t left = x, right = x;
        while (left > 0 && row[left - 1] != border) --left;
        while (right < width - 1 && row[right + 1] != border) ++right;
        std::fill(row + left, row + right + 1, border);
        DriverSlots.FillPatternSpan(static_cast<int16_t>(left), static_cast<int16_t>(right), static_cast<int16_t>(y));
        return {left, right};
    }

    void Run(int32_t seedX, int32_t seedY) {
        uint16_t* seedRow = Row(seedY);
        if (seedRow[seedX] == border) return;
        auto [left, right] = PaintRun(seedRow, seedX, seedY);
        Queue(seedY + 1, left, right, 1);
        Queue(seedY - 1, left, right, -1);
        while (!pending.empty()) {
            const PendingRow next = pending.back();
            pending.pop_back();
            uint16_t* row = Row(next.y);
            for (int32_t x = next.left; x <= next.right; ++x) {
                if (row[x] == border) continue;
                auto [runLeft, runRight] = PaintRun(row, x, next.y);
                Queue(next.y + next.dy, runLeft, runRight, next.dy);
                // Where the run reaches past its parent, the row behind has not been looked at.
                Queue(next.y - next.dy, runLeft, next.left - 1, -next.dy);
                Queue(next.y - next.dy, next.right + 1, runRight, -next.dy);
                x = runRight;
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
    const int64_t pictureBytes = int64_t{width} * height * static_cast<int64_t>(sizeof(uint16_t));
    uint16_t* picture =
        pictureBytes <= INT32_MAX ? HeapAllocateOf<uint16_t>(static_cast<int32_t>(pictureBytes)) : nullptr;
    if (picture == nullptr) {
        GraphState.resultCode = GraphErrorNoFillMemory;
        GraphState.drawColor = savedColour;
        return;
    }
    if (x >= 0 && y >= 0 && x < width && y < height) {
        walk.picture = picture;
        walk.width = width;
        walk.lastRow = height - 1;
        walk.border = border;
        walk.rowRead.assign(static_cast<size_t>(height), 0);
        walk.pending.clear();
        walk.Run(x, y);
    }
    HeapReleaseSized(picture, static_cast<int32_t>(pictureBytes));
    GraphState.drawColor = savedColour;
}
