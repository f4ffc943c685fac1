// Elliptical arcs and circles. One quadrant is traced by stepping an angle and mirrored into
// the other three; the step is tied to the size so that neighbouring points are about a pixel
// apart. Reals are single precision where stored and extended precision in expressions, or
// double precision where that is exact; the offsets of each point come from arc_offsets.h. The
// tests keep this routine written out plainly (tests/graph/arc_reference.cpp) as the reference
// that any faster way of computing the same points must match pixel for pixel.

#include <algorithm>
#include <cmath>
#include <utility>

#include "graph/arc_offsets.h"
#include "graph/backend_entries.h"
#include "graph/graph_internal.h"

namespace {

constexpr long double kSqrt3 = 1.7320508075688772L;
constexpr long double kRadiansPerDegree = 0.017453292519943295L;
constexpr float kLoopLimit = 91.0f;

int32_t Nearest(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

float DegreesToRadians(long double degrees) { return static_cast<float>(degrees * kRadiansPerDegree); }

void Plot(int32_t x, int32_t y) {
    DriverSlots.WritePixel(static_cast<int16_t>(x), static_cast<int16_t>(y), GraphState.drawColor);
}

// An arc's points on their way to the WritePixel slot, in the order they are plotted. While the
// slot holds the back-end's own routine they go to the back-end many at a time; a program's own
// slot sees each point as it is plotted.
class PointRun {
public:
    PointRun()
        : batched_(BackendEntries.WritePixels != nullptr && DriverSlots.WritePixel == BackendEntries.WritePixel) {}
    PointRun(const PointRun&) = delete;
    PointRun& operator=(const PointRun&) = delete;
    ~PointRun() { Flush(); }

    bool Batched() const { return batched_; }
    void Add(int32_t x, int32_t y) {
        if (!batched_) {
            Plot(x, y);
            return;
        }
        points_[count_++] = {static_cast<int16_t>(x), static_cast<int16_t>(y)};
        if (count_ == kCapacity) Flush();
    }
    // The points so far reach the back-end, before anything else may draw.
    void Flush() {
        if (count_ == 0) return;
        BackendEntries.WritePixels(points_, count_, GraphState.drawColor);
        count_ = 0;
    }

private:
    static constexpr int kCapacity = 1024;
    const bool batched_;
    int count_ = 0;
    GraphPoint points_[kCapacity];
};

// Whether no whole number from lo to hi (lo <= hi) matches, modulo 65536, one from `from` to
// `to` - 1: whether a run of coordinates misses a range of them after the 16-bit wrap.
bool MissesWrapped(int32_t lo, int32_t hi, int32_t from, int32_t to) {
    constexpr int32_t kWrap = 65536;
    if (to <= from) return true;
    // From lo up to the first match of `from`; the matches of the range's later numbers follow
    // it until they wrap to lo itself.
    const int32_t reach = ((from - lo) % kWrap + kWrap) % kWrap;
    return lo + reach > hi && from + (kWrap - reach) >= to;
}

// Up to this angle (in degrees) x offsets only shrink and y offsets only grow from one angle to
// the next: between angles a step apart cosine and sine change by far more than their rounding
// errors. The points of a chunk of such angles lie between those at its ends.
constexpr double kSteadyLimit = 89.0;

// Whether no row of a point whose y offset lies between dy and farDy, mirrored above and below
// y, is one of the area's.
bool RowsMiss(const WritablePointArea& area, int32_t y, int32_t dy, int32_t farDy) {
    return MissesWrapped(y + farDy, y + dy, area.top, area.bottom) &&
           MissesWrapped(y - dy, y - farDy, area.top, area.bottom);
}

// Whether no point whose offsets lie between (dx, dy) and (farDx, farDy), mirrored into the four
// quarters about (x, y), lands in `area`. A quarter misses when its columns or its rows do.
bool QuartersMiss(const WritablePointArea& area, int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t farDx,
                  int32_t farDy) {
    const bool rightMisses = MissesWrapped(x + farDx, x + dx, area.left, area.right);
    const bool leftMisses = MissesWrapped(x - dx, x - farDx, area.left, area.right);
    return (rightMisses && leftMisses) || RowsMiss(area, y, dy, farDy);
}

void SetLastArc(int16_t centreX, int16_t centreY, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    int16_t* arc = GraphState.lastArc;
    arc[0] = centreX;
    arc[1] = centreY;
    arc[2] = static_cast<int16_t>(fromX);
    arc[3] = static_cast<int16_t>(fromY);
    arc[4] = static_cast<int16_t>(toX);
    arc[5] = static_cast<int16_t>(toY);
}

uint16_t OuterRadius(uint16_t radius) { return radius == UINT16_MAX ? radius : static_cast<uint16_t>(radius + 1); }

void FillSpanThroughSlot(int16_t x1, int16_t x2, int16_t y) { DriverSlots.FillPatternSpan(x1, x2, y); }

// Whether a chunk's spans may be passed over with its points: none, or a fill's through the
// library's or the back-end's own routine, both of which cut a span to the viewport's rows
// before any slot sees it. A program's own routine sees every span.
bool SpansPassable(SpanRoutine span) {
    if (span == IgnoreSpan) return true;
    const FillPatternSpanRoutine fill = DriverSlots.FillPatternSpan;
    return span == FillSpanThroughSlot &&
           (fill == GenericFillPatternSpan || (fill != nullptr && fill == BackendEntries.FillPatternSpan));
}

}  // namespace

// The product is 32-bit and the corrected radius is a 16-bit radius again, so a small factor
// that pushes it past 65535 wraps. Before any mode is set the factor is 0; the radius is then
// taken as it is.
int32_t CorrectForAspect(uint16_t radius, uint16_t aspect) {
    if (aspect == 0) aspect = 10000;
    const uint16_t corrected = static_cast<uint16_t>(static_cast<uint32_t>(radius) * 10000u / aspect);
    return corrected == 0 ? 1 : corrected;
}

void OrderArcAngles(uint16_t& startAngle, uint16_t& endAngle) {
    startAngle %= 361;
    endAngle %= 361;
    if (startAngle > endAngle) std::swap(startAngle, endAngle);
}

void IgnoreSpan(int16_t, int16_t, int16_t) {}

void GenericEllipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius, uint16_t startAngle,
                    uint16_t endAngle, SpanRoutine span) {
    if (GraphState.strokeThickness == 3) {
        // Three concentric arcs r, r + 1, r - 1; only the innermost feeds the span routine. The
        // outer radius stops at 65535 rather than wrap to a ring at the centre.
        GraphState.strokeThickness = 1;
        GenericEllipse(x, y, xRadius, yRadius, startAngle, endAngle, IgnoreSpan);
        GenericEllipse(x, y, OuterRadius(xRadius), OuterRadius(yRadius), startAngle, endAngle, IgnoreSpan);
        GraphState.strokeThickness = 3;
        if (xRadius == 0 || yRadius == 0) return;
        --xRadius;
        --yRadius;
    }

    const int32_t rx = CorrectForAspect(xRadius, GraphState.aspectX);
    const int32_t ry = CorrectForAspect(yRadius, GraphState.aspectY);
    if (rx <= 1 && ry <= 1) {
        Plot(x, y);
        SetLastArc(x, y, x, y, x, y);
        return;
    }

    OrderArcAngles(startAngle, endAngle);

    const long double radial = std::sqrt(static_cast<long double>(rx) * rx + static_cast<long double>(ry) * ry);
    const int32_t n = Nearest(radial * kSqrt3);
    const float step = static_cast<float>(90.0L / n);

    const uint16_t savedColour = GraphState.drawColor;
    const float from = DegreesToRadians(startAngle);
    const float to = DegreesToRadians(endAngle);
    SetLastArc(x, y, x + ArcOffsetX(rx, from), y + ArcOffsetY(ry, from), x + ArcOffsetX(rx, to), y + ArcOffsetY(ry, to));

    // The angles below are sums and differences of floats from 0 to 181 whose lowest bit is at
    // least 2^-34 (the step is at least 90 / 160530): each fits in 43 bits, so double precision
    // holds it exactly, as extended precision did.
    const double low = startAngle, high = endAngle;
    auto inArc = [&](double angle) { return low <= angle && angle <= high; };

    // The quarter is stepped a chunk of angles at a time: first the angles, then the offsets of
    // the point at each (many at once, see ArcOffsetsAt), then the points themselves.
    constexpr int kChunk = 256;
    float angles[kChunk], radians[kChunk];
    int32_t nextDxs[kChunk], nextDys[kChunk];
    float a = 0.0f;
    int32_t dx = rx, dy = 0;
    PointRun run;
    // A chunk none of whose points can land is passed over without working them out: only while
    // the back-end takes the points (a program's own WritePixel sees every one) and the spans,
    // if any, are cut to the viewport. A fill's spans run between its points, so its chunk must
    // miss by rows: those of the points' area and those of the viewport.
    const bool filling = span != IgnoreSpan;
    const bool mayPassOver = run.Batched() && SpansPassable(span) && BackendEntries.PointArea != nullptr;
    const WritablePointArea area = mayPassOver ? BackendEntries.PointArea() : WritablePointArea{};
    const WritablePointArea viewportRows{0, 0, 0, GraphState.viewMaxY + 1};
    for (bool last = false; !last;) {
        int count = 0;
        double sum = 0.0;
        while (count < kChunk && !last) {
            sum = static_cast<double>(a) + step;
            angles[count] = a;
            radians[count++] = DegreesToRadians(sum);
            a = static_cast<float>(sum);
            last = sum > kLoopLimit;
        }
        if (mayPassOver && !last && sum <= kSteadyLimit) {
            // The offsets of the chunk's last point, and those the next chunk starts from.
            int32_t endDxs[2], endDys[2];
            ArcOffsetsAt(rx, ry, radians + count - 2, 2, endDxs, endDys);
            const bool misses = filling ? RowsMiss(area, y, dy, endDys[0]) && RowsMiss(viewportRows, y, dy, endDys[0])
                                        : QuartersMiss(area, x, y, dx, dy, endDxs[0], endDys[0]);
            if (misses) {
                dx = endDxs[1];
                dy = endDys[1];
                continue;
            }
        }
        ArcOffsetsAt(rx, ry, radians, count, nextDxs, nextDys);
        for (int i = 0; i < count; ++i) {
            const double angle = angles[i];
            const int32_t xRight = x + dx, xLeft = x - dx, yUpper = y + dy, yLower = y - dy;
            int32_t upperRight = 32767, lowerRight = 32767, upperLeft = -32768, lowerLeft = -32768;
            if (inArc(angle)) {
                run.Add(xRight, yUpper);
                upperRight = xRight;
            }
            if (inArc(180.0 - angle)) {
                run.Add(xLeft, yUpper);
                upperLeft = xLeft;
            }
            if (inArc(180.0 + angle)) {
                run.Add(xLeft, yLower);
                lowerLeft = xLeft;
            }
            if (inArc(360.0 - angle)) {
                run.Add(xRight, yLower);
                lowerRight = xRight;
            }
            if (nextDys[i] != dy && xRight - xLeft >= 1) {
                if (span != IgnoreSpan) run.Flush();
                GraphState.drawColor = GraphState.fillColor;
                span(static_cast<int16_t>(upperLeft + 1), static_cast<int16_t>(upperRight - 1), static_cast<int16_t>(yUpper));
                span(static_cast<int16_t>(lowerLeft + 1), static_cast<int16_t>(lowerRight - 1), static_cast<int16_t>(yLower));
                GraphState.drawColor = savedColour;
            }
            dx = nextDxs[i];
            dy = nextDys[i];
        }
    }
}

void GenericCircle(int16_t x, int16_t y, uint16_t radius) {
    if (radius == 0) return;
    if (radius == 1) {
        Plot(x, y);
        return;
    }
    int16_t savedArc[6];
    std::copy(GraphState.lastArc, GraphState.lastArc + 6, savedArc);
    const bool thin = GraphState.strokeThickness == 1;
    const uint16_t savedWriteMode = GraphState.writeMode;
    if (thin) GraphState.writeMode = 0;
    DriverSlots.EllipseOp(x, y, radius, radius, 0, 360, IgnoreSpan);
    if (thin) GraphState.writeMode = savedWriteMode;
    std::copy(savedArc, savedArc + 6, GraphState.lastArc);
}

void DrawArc(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t radius) {
    DriverSlots.EllipseOp(x, y, radius, radius, startAngle, endAngle, IgnoreSpan);
}

void DrawEllipse(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t xRadius,
                 uint16_t yRadius) {
    DriverSlots.EllipseOp(x, y, xRadius, yRadius, startAngle, endAngle, IgnoreSpan);
}

void DrawCircle(int16_t x, int16_t y, uint16_t radius) { DriverSlots.CircleOp(x, y, radius); }

void FillEllipseArea(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius) {
    DriverSlots.EllipseOp(x, y, xRadius, yRadius, 0, 360, FillSpanThroughSlot);
}

LastArcPoints ReadLastArc() {
    const int16_t* arc = GraphState.lastArc;
    return {arc[0], arc[1], arc[2], arc[3], arc[4], arc[5]};
}
