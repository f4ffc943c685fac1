// Filled and outlined wedges of ellipses and circles.
//
// The fill works row by row: the ellipse gives each row a chord, and the two rays cut it by
// half-planes through the centre. A wedge of at most half a turn is the chord inside both
// half-planes, one span; a wider one is the chord without the narrower wedge between the rays,
// at most two spans. A pixel centre lies in the ellipse when
// dx^2 ry^2 + dy^2 rx^2 <= rx^2 ry^2, worked out exactly in 128-bit integers.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graph/fill_rows.h"
#include "graph/graph_internal.h"

namespace {

constexpr int64_t kUnbounded = INT64_C(1) << 40;

struct Ray {
    double x, y;  // y upwards
};

struct Interval {
    int64_t low, high;
    bool Empty() const { return low > high; }
    Interval Meet(Interval other) const {
        return {low > other.low ? low : other.low, high < other.high ? high : other.high};
    }
};

// The ray at a parameter angle; exact at the quarter turns, where sine and cosine would leave a
// trace of rounding that puts a row's pixels on the wrong side of an axis.
Ray RayAt(uint16_t degrees, int32_t rx, int32_t ry) {
    switch (degrees % 360) {
        case 0: return {static_cast<double>(rx), 0};
        case 90: return {0, static_cast<double>(ry)};
        case 180: return {-static_cast<double>(rx), 0};
        case 270: return {0, -static_cast<double>(ry)};
        default: break;
    }
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    return {rx * std::cos(radians), ry * std::sin(radians)};
}

// The integers dx with a dx <= b (or < b when strict).
Interval HalfLine(double a, double b, bool strict) {
    if (a == 0) return (strict ? b > 0 : b >= 0) ? Interval{-kUnbounded, kUnbounded} : Interval{1, 0};
    // A ray close to the row's direction puts the bound far off; kept within reach of 64 bits.
    const double bound = std::clamp(b / a, -1e12, 1e12);
    if (a > 0) return {-kUnbounded, static_cast<int64_t>(strict ? std::ceil(bound) - 1 : std::floor(bound))};
    return {static_cast<int64_t>(strict ? std::floor(bound) + 1 : std::ceil(bound)), kUnbounded};
}

// The pixels of row dy on the left of `ray` (cross(ray, p) >= 0, or > 0 when strict).
Interval LeftOf(Ray ray, int64_t dy, bool strict) { return HalfLine(ray.y, ray.x * dy, strict); }
// The pixels of row dy on the right of `ray` (cross(p, ray) >= 0, or > 0 when strict).
Interval RightOf(Ray ray, int64_t dy, bool strict) { return HalfLine(-ray.y, -ray.x * dy, strict); }

// The largest dx whose pixel centre on row dy lies in the ellipse (|dy| <= ry).
int64_t HalfChord(int64_t dy, int64_t rx, int64_t ry) {
    using Wide = unsigned __int128;
    const Wide limit = Wide(rx * rx) * Wide(ry * ry) - Wide(dy * dy) * Wide(rx * rx);
    auto inside = [&](int64_t dx) { return Wide(dx * dx) * Wide(ry * ry) <= limit; };
    int64_t w = static_cast<int64_t>(rx * std::sqrt(1.0 - static_cast<double>(dy * dy) / static_cast<double>(ry * ry)));
    while (w < rx && inside(w + 1)) ++w;
    while (w > 0 && !inside(w)) --w;
    return w;
}

void FillRow(int32_t cx, int32_t row, Interval span) {
    if (!span.Empty()) FillSpan(static_cast<int32_t>(cx + span.low), static_cast<int32_t>(cx + span.high), row);
}

void FillWedgeRows(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, int32_t rx, int32_t ry) {
    const Ray from = RayAt(startAngle, rx, ry), to = RayAt(endAngle, rx, ry);
    const int32_t sweep = endAngle - startAngle;
    int32_t first = y - ry, last = y + ry;
    if (sweep == 0 || !NarrowRowsToViewport(first, last)) return;
    FillColourScope colour;
    for (int32_t row = first; row <= last; ++row) {
        const int64_t dy = y - row;
        const int64_t w = HalfChord(dy < 0 ? -dy : dy, rx, ry);
        const Interval chord{-w, w};
        if (sweep >= 360) {
            FillRow(x, row, chord);
        } else if (sweep <= 180) {
            FillRow(x, row, chord.Meet(LeftOf(from, dy, false)).Meet(RightOf(to, dy, false)));
        } else {
            const Interval gap = LeftOf(to, dy, true).Meet(RightOf(from, dy, true)).Meet(chord);
            if (gap.Empty()) {
                FillRow(x, row, chord);
            } else {
                FillRow(x, row, {chord.low, gap.low - 1});
                FillRow(x, row, {gap.high + 1, chord.high});
            }
        }
    }
}

}  // namespace

void FillEllipticalWedge(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t xRadius,
                         uint16_t yRadius) {
    uint16_t from = startAngle, to = endAngle;
    OrderArcAngles(from, to);
    const int32_t rx = CorrectForAspect(xRadius, GraphState.aspectX);
    const int32_t ry = CorrectForAspect(yRadius, GraphState.aspectY);
    // An ellipse this small is the single point the arc routine draws.
    if (rx > 1 || ry > 1) FillWedgeRows(x, y, from, to, rx, ry);
    DriverSlots.EllipseOp(x, y, xRadius, yRadius, startAngle, endAngle, IgnoreSpan);
    const LastArcPoints arc = ReadLastArc();
    DriverSlots.DrawLine(arc.centreX, arc.centreY, arc.fromX, arc.fromY);
    DriverSlots.DrawLine(arc.centreX, arc.centreY, arc.toX, arc.toY);
}

void FillWedge(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t radius) {
    FillEllipticalWedge(x, y, startAngle, endAngle, radius, radius);
}
