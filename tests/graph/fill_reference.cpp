#include "tests/graph/fill_reference.h"

#include <utility>
#include <vector>

#include "graph/graph_internal.h"

namespace {

struct FilledSpan {
    int16_t left, right, y;
};

struct ReferenceState {
    std::vector<int16_t> seedStack;
    size_t peakEntries = 0;
    std::vector<std::vector<FilledSpan>> buckets;  // row div 4

    void PushSeed(int16_t x, int16_t y) {
        seedStack.push_back(x);
        seedStack.push_back(y);
        peakEntries = std::max(peakEntries, seedStack.size());
    }
    void PopSeed(int16_t& x, int16_t& y) {
        y = seedStack.back();
        seedStack.pop_back();
        x = seedStack.back();
        seedStack.pop_back();
    }
    bool IsFilled(int16_t x, int16_t y) const {
        for (const FilledSpan& span : buckets[static_cast<size_t>(y / 4)]) {
            if (span.y == y && span.left <= x && x <= span.right) return true;
        }
        return false;
    }
};

void ReadRow(int32_t row, std::vector<uint16_t>& buffer) {
    // Rows just outside the viewport are never consulted.
    if (row < 0 || row > GraphState.viewMaxY) return;
    DriverSlots.ReadPixelRow(0, GraphState.viewMaxX, static_cast<int16_t>(row), buffer.data());
}

}  // namespace

int32_t ReferenceFloodFill(int16_t x, int16_t y, uint16_t border) {
    const int16_t maxX = GraphState.viewMaxX, maxY = GraphState.viewMaxY;
    ReferenceState state;
    state.buckets.resize(static_cast<size_t>(maxY / 4 + 1));
    int32_t lastRow = 32767;
    const uint16_t savedColour = GraphState.drawColor;
    GraphState.drawColor = GraphState.fillColor;
    std::vector<uint16_t> above(static_cast<size_t>(maxX) + 1), current(above), below(above);
    if (x < 0 || y < 0 || x > maxX || y > maxY) {
        GraphState.drawColor = savedColour;
        return 0;
    }
    state.PushSeed(x, y);
    while (!state.seedStack.empty()) {
        state.PopSeed(x, y);
        if (y != lastRow) {
            if (y == lastRow - 1) {
                std::swap(below, current);  // old current becomes below
                std::swap(current, above);  // old above becomes current
                ReadRow(y - 1, above);      // the old below's buffer, refilled
            } else if (y == lastRow + 1) {
                std::swap(above, current);
                std::swap(current, below);
                ReadRow(y + 1, below);
            } else {
                ReadRow(y - 1, above);
                ReadRow(y, current);
                ReadRow(y + 1, below);
            }
            lastRow = y;
        }
        if (current[static_cast<size_t>(x)] == border) continue;
        int32_t scan = x;
        while (scan <= maxX && current[static_cast<size_t>(scan)] != border) ++scan;
        const int32_t right = scan - 1;
        bool aboveOpen = false, belowOpen = false;
        int32_t walk = right;
        for (;;) {
            if (y < maxY) {
                bool open = below[static_cast<size_t>(walk)] != border &&
                            !state.IsFilled(static_cast<int16_t>(walk), static_cast<int16_t>(y + 1));
                if (open && !belowOpen) state.PushSeed(static_cast<int16_t>(walk), static_cast<int16_t>(y + 1));
                belowOpen = open;
            }
            if (y > 0) {
                bool open = above[static_cast<size_t>(walk)] != border &&
                            !state.IsFilled(static_cast<int16_t>(walk), static_cast<int16_t>(y - 1));
                if (open && !aboveOpen) state.PushSeed(static_cast<int16_t>(walk), static_cast<int16_t>(y - 1));
                aboveOpen = open;
            }
            if (walk == 0 || current[static_cast<size_t>(walk - 1)] == border) break;
            --walk;
        }
        state.buckets[static_cast<size_t>(y / 4)].push_back(
            {static_cast<int16_t>(walk), static_cast<int16_t>(right), y});
        DriverSlots.FillPatternSpan(static_cast<int16_t>(walk), static_cast<int16_t>(right), y);
    }
    GraphState.drawColor = savedColour;
    return static_cast<int32_t>(state.peakEntries / 2);
}
