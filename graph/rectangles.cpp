// Outlined rectangles, filled bars and bars with a depth face.

#include <utility>

#include "graph/fill_rows.h"
#include "graph/graph_internal.h"

namespace {

void Order(int16_t& low, int16_t& high) {
    if (low > high) std::swap(low, high);
}

void Segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    DriverSlots.DrawLine(static_cast<int16_t>(x1), static_cast<int16_t>(y1), static_cast<int16_t>(x2),
                         static_cast<int16_t>(y2));
}

}  // namespace

void OutlineRectangle(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    Order(x1, x2);
    Order(y1, y2);
    Segment(x1, y1, x2, y1);
    if (y1 == y2) return;
    Segment(x1, y2, x2, y2);
    // The sides leave out the corner rows, which the top and bottom lines hold.
    if (y2 - y1 < 2) return;
    Segment(x1, y1 + 1, x1, y2 - 1);
    if (x1 != x2) Segment(x2, y1 + 1, x2, y2 - 1);
}

void FillBarArea(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    Order(x1, x2);
    Order(y1, y2);
    int32_t first = y1, last = y2;
    if (!NarrowRowsToViewport(first, last)) return;
    FillColourScope colour;
    for (int32_t y = first; y <= last; ++y) FillSpan(x1, x2, y);
}

void DrawDepthBar(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t depth, bool top) {
    if (depth < 0) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    Order(x1, x2);
    Order(y1, y2);
    FillBarArea(x1, y1, x2, y2);
    OutlineRectangle(x1, y1, x2, y2);
    if (depth == 0) return;
    const int32_t backX = x2 + depth, backTop = y1 - depth;
    Segment(x2, y2, backX, y2 - depth);
    Segment(backX, y2 - depth, backX, backTop);
    Segment(backX, backTop, x2, y1);
    if (top) {
        Segment(backX, backTop, x1 + depth, backTop);
        Segment(x1 + depth, backTop, x1, y1);
    }
}
