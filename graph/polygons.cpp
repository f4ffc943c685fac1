// Polygon outlines and the even-odd scan-line fill.
//
// The fill samples pixel centres: on each row it finds where the edges cross the row, sorts the
// crossings and fills between pairs. Crossings are found in 64-bit integers, rounded up to the
// first pixel at or right of the edge, so the fill is exact for every polygon of 16-bit points
// and a pixel's inside-ness never depends on which edge's arithmetic came first.

#include <algorithm>
#include <climits>

#include "graph/fill_rows.h"
#include "graph/graph_internal.h"
#include "runtime/heap.h"

namespace {

bool RefusedPoints(const GraphPoint* points, int32_t count) {
    if (points == nullptr || count < 2) {
        GraphState.resultCode = GraphErrorGeneral;
        return true;
    }
    return false;
}

void OutlineThrough(const GraphPoint* points, int32_t count) {
    for (int32_t i = 0; i + 1 < count; ++i) {
        DriverSlots.DrawLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    }
}

// The smallest integer at or above numerator / denominator, denominator > 0.
int64_t CeilingOfQuotient(int64_t numerator, int64_t denominator) {
    const int64_t quotient = numerator / denominator;
    return quotient * denominator < numerator ? quotient + 1 : quotient;
}

// Puts the crossings of row y with every edge into `crossings`, each as the first pixel at or
// right of the edge; returns how many.
int32_t RowCrossings(const GraphPoint* points, int32_t count, int32_t y, int32_t* crossings) {
    int32_t found = 0;
    for (int32_t i = 0; i < count; ++i) {
        GraphPoint a = points[i], b = points[(i + 1) % count];
        if (a.y > b.y) std::swap(a, b);
        if (y < a.y || y >= b.y) continue;
        const int64_t dy = b.y - a.y;
        const int64_t numerator = int64_t{a.x} * dy + int64_t{y - a.y} * (b.x - a.x);
        crossings[found++] = static_cast<int32_t>(CeilingOfQuotient(numerator, dy));
    }
    std::sort(crossings, crossings + found);
    return found;
}

void FillRows(const GraphPoint* points, int32_t count, int32_t* crossings) {
    auto [low, high] = std::minmax_element(points, points + count,
                                           [](const GraphPoint& a, const GraphPoint& b) { return a.y < b.y; });
    int32_t first = low->y, last = high->y;
    if (!NarrowRowsToViewport(first, last)) return;
    FillColourScope colour;
    for (int32_t y = first; y <= last; ++y) {
        const int32_t found = RowCrossings(points, count, y, crossings);
        for (int32_t k = 0; k + 1 < found; k += 2) {
            FillSpan(crossings[k], crossings[k + 1] - 1, y);
        }
    }
}

}  // namespace

void DrawPolygonOutline(const GraphPoint* points, int32_t count) {
    if (RefusedPoints(points, count)) return;
    OutlineThrough(points, count);
}

void FillPolygonArea(const GraphPoint* points, int32_t count) {
    if (RefusedPoints(points, count)) return;
    const int64_t bytes = int64_t{count} * static_cast<int64_t>(sizeof(int32_t));
    if (bytes > INT32_MAX) {
        GraphState.resultCode = GraphErrorNoFillMemory;
        return;
    }
    auto* crossings = HeapAllocateOf<int32_t>(static_cast<int32_t>(bytes));
    FillRows(points, count, crossings);
    HeapReleaseSized(crossings, static_cast<int32_t>(bytes));
    OutlineThrough(points, count);
    const GraphPoint& last = points[count - 1];
    DriverSlots.DrawLine(last.x, last.y, points[0].x, points[0].y);
}
