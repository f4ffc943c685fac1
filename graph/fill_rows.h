#pragma once
// What the area fills (bars, polygons, wedges) share: they hand out rows of spans to the
// FillPatternSpan slot, which draws in the drawing colour and adds the viewport's origin in
// 16-bit arithmetic.

#include <algorithm>
#include <cstdint>

#include "graph/graph_state.h"

// Holds the fill colour as the drawing colour while a fill hands out spans; the caller's colour
// comes back however the fill ends.
class FillColourScope {
public:
    FillColourScope() : saved_(GraphState.drawColor) { GraphState.drawColor = GraphState.fillColor; }
    ~FillColourScope() { GraphState.drawColor = saved_; }
    FillColourScope(const FillColourScope&) = delete;
    FillColourScope& operator=(const FillColourScope&) = delete;

private:
    uint16_t saved_;
};

// Narrows first..last, viewport coordinates along an axis whose viewport starts at surface
// coordinate `origin` and ends `extent` later: to the viewport with clipping on, otherwise to
// the coordinates whose surface coordinates the slots' 16-bit arithmetic does not wrap. False
// when nothing is left.
inline bool NarrowToViewport(int32_t& first, int32_t& last, int32_t origin, int32_t extent) {
    const int32_t low = GraphState.clipOn ? 0 : INT16_MIN - origin;
    const int32_t high = GraphState.clipOn ? extent : INT16_MAX - origin;
    first = std::max(first, low);
    last = std::min(last, high);
    return first <= last;
}

inline bool NarrowRowsToViewport(int32_t& first, int32_t& last) {
    return NarrowToViewport(first, last, GraphState.viewTop, GraphState.viewMaxY);
}

// Hands the span x1..x2 of row y (viewport coordinates, y narrowed already) to the
// FillPatternSpan slot, narrowed as NarrowToViewport does.
inline void FillSpan(int32_t x1, int32_t x2, int32_t y) {
    if (!NarrowToViewport(x1, x2, GraphState.viewLeft, GraphState.viewMaxX)) return;
    DriverSlots.FillPatternSpan(static_cast<int16_t>(x1), static_cast<int16_t>(x2), static_cast<int16_t>(y));
}
