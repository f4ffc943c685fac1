// Elliptical arcs and circles. One quadrant is traced by stepping an angle and mirrored into
// the other three; the step is tied to the size so that neighbouring points are about a pixel
// apart. Reals are single precision where stored and extended precision in expressions. The
// tests keep this routine written out plainly (tests/graph/arc_reference.cpp) as the reference
// that any faster way of computing the same points must match pixel for pixel.

#include <algorithm>
#include <cmath>
#include <utility>

#include "graph/graph_internal.h"

namespace {

constexpr long double kSqrt3 = 1.7320508075688772L;
constexpr long double kRadiansPerDegree = 0.017453292519943295L;
constexpr long double kPi = 3.14159265358979323846L;
constexpr float kLoopLimit = 91.0f;

int32_t Nearest(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// Offsets of the point at an angle (single precision radians): x to the right, y downwards,
// in extended precision.
int32_t OffsetX(int32_t xRadius, float angle) { return Nearest(xRadius * std::cos(static_cast<long double>(angle))); }
int32_t OffsetY(int32_t yRadius, float angle) { return Nearest(yRadius * std::sin(angle + kPi)); }

// Far enough from a half that the double and the extended product round to the same integer:
// with radii below 65536 the two differ by less than 1e-10.
constexpr double kTieMargin = 1e-7;

// nearest(value), where value is the double form of an extended product; false when it lies too
// near a half to tell.
inline bool RoundsClearly(double value, int32_t& rounded) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (std::fabs(fraction - 0.5) < kTieMargin) return false;
    rounded = static_cast<int32_t>(fraction < 0.5 ? lower : lower + 1.0);
    return true;
}

// Both offsets of the point at an angle, as OffsetX and OffsetY give them. The cosine and sine
// are taken in double precision, several times cheaper than in extended precision; only a
// product that lies within kTieMargin of a half is formed again in extended precision.
// (sin(a + pi) is -sin a to far better than kTieMargin.)
inline void OffsetsAt(int32_t xRadius, int32_t yRadius, float angle, int32_t& dx, int32_t& dy) {
    const double radians = angle;
    const double cosine = std::cos(radians), sine = std::sin(radians);
    if (!RoundsClearly(xRadius * cosine, dx)) dx = OffsetX(xRadius, angle);
    if (!RoundsClearly(-(yRadius * sine), dy)) dy = OffsetY(yRadius, angle);
}

float DegreesToRadians(long double degrees) { return static_cast<float>(degrees * kRadiansPerDegree); }

void Plot(int32_t x, int32_t y) {
    DriverSlots.WritePixel(static_cast<int16_t>(x), static_cast<int16_t>(y), GraphState.drawColor);
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
    SetLastArc(x, y, x + OffsetX(rx, from), y + OffsetY(ry, from), x + OffsetX(rx, to), y + OffsetY(ry, to));

    const long double low = startAngle, high = endAngle;
    auto inArc = [&](long double angle) { return low <= angle && angle <= high; };

    float a = 0.0f;
    int32_t dx = rx, dy = 0;
    for (;;) {
        const float theta = DegreesToRadians(static_cast<long double>(a) + step);
        int32_t nextDx, nextDy;
        OffsetsAt(rx, ry, theta, nextDx, nextDy);

        const int32_t xRight = x + dx, xLeft = x - dx, yUpper = y + dy, yLower = y - dy;
        int32_t upperRight = 32767, lowerRight = 32767, upperLeft = -32768, lowerLeft = -32768;
        if (inArc(a)) {
            Plot(xRight, yUpper);
            upperRight = xRight;
        }
        if (inArc(180.0L - a)) {
            Plot(xLeft, yUpper);
            upperLeft = xLeft;
        }
        if (inArc(180.0L + a)) {
            Plot(xLeft, yLower);
            lowerLeft = xLeft;
        }
        if (inArc(360.0L - a)) {
            Plot(xRight, yLower);
            lowerRight = xRight;
        }
        if (nextDy != dy && xRight - xLeft >= 1) {
            GraphState.drawColor = GraphState.fillColor;
            span(static_cast<int16_t>(upperLeft + 1), static_cast<int16_t>(upperRight - 1), static_cast<int16_t>(yUpper));
            span(static_cast<int16_t>(lowerLeft + 1), static_cast<int16_t>(lowerRight - 1), static_cast<int16_t>(yLower));
            GraphState.drawColor = savedColour;
        }

        dx = nextDx;
        dy = nextDy;
        const long double sum = static_cast<long double>(a) + step;
        a = static_cast<float>(sum);
        if (sum > kLoopLimit) break;
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
