// Drawing colour, pen, line styles, the default line and run routines, ClipSegment,
// PlotClipped and the default viewport clear.
//
// Choices:
// - The segment walk (graph/segment_walk.h) is exact for every segment of 16-bit end points.
// - A sloped segment is clipped by moving its end points onto the viewport with ClipSegment and
//   walking between the moved points, so its pattern starts afresh at its first pixel inside
//   the viewport. (The moved points are rounded, so a clipped line may differ by a pixel from
//   the same line drawn whole; callers see the lines this way and may rely on it.)

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graph/graph_internal.h"
#include "graph/segment_walk.h"

namespace {

constexpr uint16_t kStylePatterns[4] = {0xFFFF, 0xCCCC, 0xFC78, 0xF8F8};

int RegionCode(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    int code = 0;
    if (x < left) code |= 1;
    else if (x > right) code |= 2;
    if (y > bottom) code |= 4;
    else if (y < top) code |= 8;
    return code;
}

inline int32_t ViewRight() { return GraphState.viewLeft + GraphState.viewMaxX; }
inline int32_t ViewBottom() { return GraphState.viewTop + GraphState.viewMaxY; }

// With clipping on, moves the segment's end points (surface coordinates) onto the viewport; true
// when nothing of it is left to draw.
bool ClippedAway(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) {
    return GraphState.clipOn &&
           ClipSegment(x1, y1, x2, y2, GraphState.viewLeft, GraphState.viewTop, static_cast<int16_t>(ViewRight()),
                       static_cast<int16_t>(ViewBottom()));
}

void PlotThick(int32_t x, int32_t y, bool steep) {
    if (steep) {
        PlotClipped(static_cast<int16_t>(x - 1), static_cast<int16_t>(y));
        PlotClipped(static_cast<int16_t>(x), static_cast<int16_t>(y));
        PlotClipped(static_cast<int16_t>(x + 1), static_cast<int16_t>(y));
    } else {
        PlotClipped(static_cast<int16_t>(x), static_cast<int16_t>(y - 1));
        PlotClipped(static_cast<int16_t>(x), static_cast<int16_t>(y));
        PlotClipped(static_cast<int16_t>(x), static_cast<int16_t>(y + 1));
    }
}

// The walk of a sloped segment (surface coordinates, already clipped), solid or patterned.
void WalkSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool patterned) {
    SegmentWalk walk;
    int32_t count = PrepareWalk(x1, y1, x2, y2, walk);
    bool thick = GraphState.strokeThickness == 3;
    PlotPixelRoutine plot = DriverSlots.PlotPixel;
    if (!patterned && !thick) {
        for (int32_t i = 0; i < count; ++i) {
            plot(static_cast<int16_t>(walk.x), static_cast<int16_t>(walk.y));
            walk.Step();
        }
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!patterned || GraphState.strokeMask[i & 15]) {
            if (thick) PlotThick(walk.x, walk.y, walk.steep);
            else plot(static_cast<int16_t>(walk.x), static_cast<int16_t>(walk.y));
        }
        walk.Step();
    }
}

}  // namespace

void SetDrawColor(uint16_t colour) { GraphState.drawColor = colour; }

void PenMoveTo(int16_t x, int16_t y) {
    GraphState.penX = x;
    GraphState.penY = y;
}

void PenLineTo(int16_t x, int16_t y) {
    DriverSlots.DrawLine(GraphState.penX, GraphState.penY, x, y);
    GraphState.penX = x;
    GraphState.penY = y;
}

int16_t PenX() { return GraphState.penX; }
int16_t PenY() { return GraphState.penY; }

void SetStrokeStyle(uint16_t style, uint16_t pattern, uint16_t thickness) {
    if (style > 4 || (thickness != 1 && thickness != 3)) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.strokeThickness = thickness;
    GraphState.strokeStyle = style;
    GraphState.strokePattern = style == 4 ? pattern : kStylePatterns[style];
    for (int i = 0; i < 16; ++i) {
        GraphState.strokeMask[15 - i] = (GraphState.strokePattern >> i) & 1;
    }
}

void GetStrokeStyle(StrokeSettings& settings) {
    settings.style = GraphState.strokeStyle;
    settings.pattern = GraphState.strokePattern;
    settings.thickness = GraphState.strokeThickness;
}

bool ClipSegment(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, int16_t left, int16_t top, int16_t right,
                 int16_t bottom) {
    int c1 = RegionCode(x1, y1, left, top, right, bottom);
    int c2 = RegionCode(x2, y2, left, top, right, bottom);
    for (;;) {
        if (c1 == 0 && c2 == 0) return false;
        if ((c1 & c2) != 0) return true;
        int c = c1 != 0 ? c1 : c2;
        // Two 16-bit spans multiplied overflow 32 bits; the quotient lies between the end
        // points, so it fits 16 bits again.
        int64_t x, y;
        const int64_t dx = int64_t{x2} - x1, dy = int64_t{y2} - y1;
        if (c & 1) {
            y = y1 + dy * (left - x1) / dx;
            x = left;
        } else if (c & 2) {
            y = y1 + dy * (right - x1) / dx;
            x = right;
        } else if (c & 4) {
            x = x1 + dx * (bottom - y1) / dy;
            y = bottom;
        } else {
            x = x1 + dx * (top - y1) / dy;
            y = top;
        }
        if (c == c1) {
            x1 = static_cast<int16_t>(x);
            y1 = static_cast<int16_t>(y);
            c1 = RegionCode(x1, y1, left, top, right, bottom);
        } else {
            x2 = static_cast<int16_t>(x);
            y2 = static_cast<int16_t>(y);
            c2 = RegionCode(x2, y2, left, top, right, bottom);
        }
    }
}

bool SegmentToSurface(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2) {
    x1 = static_cast<int16_t>(x1 + GraphState.viewLeft);
    y1 = static_cast<int16_t>(y1 + GraphState.viewTop);
    x2 = static_cast<int16_t>(x2 + GraphState.viewLeft);
    y2 = static_cast<int16_t>(y2 + GraphState.viewTop);
    return !ClippedAway(x1, y1, x2, y2);
}

void PlotClipped(int16_t x, int16_t y) {
    if (GraphState.clipOn &&
        (x < GraphState.viewLeft || x > ViewRight() || y < GraphState.viewTop || y > ViewBottom())) {
        return;
    }
    DriverSlots.PlotPixel(x, y);
}

void GenericDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    bool thick = GraphState.strokeThickness == 3;
    if (GraphState.strokeStyle == 0) {
        if (y1 == y2) {
            if (thick) {
                DriverSlots.DrawHorizontalLine(x1, x2, static_cast<int16_t>(y1 - 1));
                DriverSlots.DrawHorizontalLine(x1, x2, y1);
                DriverSlots.DrawHorizontalLine(x1, x2, static_cast<int16_t>(y1 + 1));
            } else {
                DriverSlots.DrawHorizontalLine(x1, x2, y1);
            }
            return;
        }
        if (x1 == x2) {
            if (thick) {
                DriverSlots.DrawVerticalLine(static_cast<int16_t>(x1 - 1), y1, y2);
                DriverSlots.DrawVerticalLine(x1, y1, y2);
                DriverSlots.DrawVerticalLine(static_cast<int16_t>(x1 + 1), y1, y2);
            } else {
                DriverSlots.DrawVerticalLine(x1, y1, y2);
            }
            return;
        }
    }
    int16_t ax = x1, ay = y1, bx = x2, by = y2;
    if (!SegmentToSurface(ax, ay, bx, by)) return;
    bool patterned = GraphState.strokeStyle != 0;
    // A patterned segment that clipping made axis-parallel is drawn as a run, its pattern
    // anchored to the surface like any other patterned run.
    if (!patterned || (ay != by && ax != bx)) {
        WalkSegment(ax, ay, bx, by, patterned);
        return;
    }
    const uint8_t* mask = GraphState.strokeMask;
    if (ay == by) {
        if (ax > bx) std::swap(ax, bx);
        if (!thick) {
            for (int32_t x = ax; x <= bx; ++x) {
                if (mask[x & 15]) DriverSlots.PlotPixel(static_cast<int16_t>(x), ay);
            }
        } else {
            for (int k = -1; k <= 1; ++k) {
                for (int32_t x = ax; x <= bx; ++x) {
                    if (mask[x & 15]) PlotClipped(static_cast<int16_t>(x), static_cast<int16_t>(ay + k));
                }
            }
        }
        return;
    }
    if (ay > by) std::swap(ay, by);
    if (!thick) {
        for (int32_t y = ay; y <= by; ++y) {
            if (mask[y & 15]) DriverSlots.PlotPixel(ax, static_cast<int16_t>(y));
        }
    } else {
        for (int k = -1; k <= 1; ++k) {
            for (int32_t y = ay; y <= by; ++y) {
                if (mask[y & 15]) PlotClipped(static_cast<int16_t>(ax + k), static_cast<int16_t>(y));
            }
        }
    }
}

void GenericDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y) {
    if (x2 <= x1) std::swap(x1, x2);
    x1 = static_cast<int16_t>(x1 + GraphState.viewLeft);
    x2 = static_cast<int16_t>(x2 + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    int16_t ya = y, yb = y;
    if (ClippedAway(x1, ya, x2, yb)) {
        return;
    }
    for (int32_t x = x1; x <= x2; ++x) DriverSlots.PlotPixel(static_cast<int16_t>(x), y);
}

void GenericDrawVerticalLine(int16_t x, int16_t y1, int16_t y2) {
    if (y2 <= y1) std::swap(y1, y2);
    x = static_cast<int16_t>(x + GraphState.viewLeft);
    y1 = static_cast<int16_t>(y1 + GraphState.viewTop);
    y2 = static_cast<int16_t>(y2 + GraphState.viewTop);
    int16_t xa = x, xb = x;
    if (ClippedAway(xa, y1, xb, y2)) {
        return;
    }
    for (int32_t y = y1; y <= y2; ++y) DriverSlots.PlotPixel(x, static_cast<int16_t>(y));
}

void GenericEraseViewport() {
    GraphState.penX = 0;
    GraphState.penY = 0;
    uint16_t savedColour = GraphState.drawColor;
    uint16_t savedMode = GraphState.writeMode;
    GraphState.drawColor = GraphState.backColor;
    GraphState.writeMode = 0;
    StrokeSettings saved;
    GetStrokeStyle(saved);
    SetStrokeStyle(0, 0, 1);
    for (int32_t y = 0; y <= GraphState.viewMaxY; ++y) {
        DriverSlots.DrawHorizontalLine(0, GraphState.viewMaxX, static_cast<int16_t>(y));
    }
    SetStrokeStyle(saved.style, saved.pattern, saved.thickness);
    GraphState.drawColor = savedColour;
    GraphState.writeMode = savedMode;
}
