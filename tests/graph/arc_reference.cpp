#include "tests/graph/arc_reference.h"

#include <cmath>
#include <utility>

namespace {

constexpr long double kSqrt3 = 1.7320508075688772L;
constexpr long double kDegree = 0.017453292519943295L;
constexpr long double kPi = 3.14159265358979323846L;

int32_t Nearest(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

void Plot(int32_t x, int32_t y) {
    DriverSlots.WritePixel(static_cast<int16_t>(x), static_cast<int16_t>(y), GraphState.drawColor);
}

}  // namespace

void ReferenceOffsets(int32_t xRadius, int32_t yRadius, float angle, int32_t& dx, int32_t& dy) {
    dx = Nearest(xRadius * std::cos(static_cast<long double>(angle)));
    dy = Nearest(yRadius * std::sin(angle + kPi));
}

void ReferenceEllipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius, uint16_t startAngle,
                      uint16_t endAngle, SpanRoutine span) {
    if (GraphState.strokeThickness == 3) {
        GraphState.strokeThickness = 1;
        ReferenceEllipse(x, y, xRadius, yRadius, startAngle, endAngle, IgnoreSpan);
        ReferenceEllipse(x, y, static_cast<uint16_t>(xRadius + 1), static_cast<uint16_t>(yRadius + 1), startAngle,
                         endAngle, IgnoreSpan);
        if (xRadius == 0 || yRadius == 0) {
            GraphState.strokeThickness = 3;
            return;
        }
        --xRadius;
        --yRadius;
        GraphState.strokeThickness = 3;
    }
    const uint32_t aspectX = GraphState.aspectX == 0 ? 10000 : GraphState.aspectX;
    const uint32_t aspectY = GraphState.aspectY == 0 ? 10000 : GraphState.aspectY;
    xRadius = static_cast<uint16_t>(uint32_t{xRadius} * 10000 / aspectX);
    yRadius = static_cast<uint16_t>(uint32_t{yRadius} * 10000 / aspectY);
    if (xRadius == 0) xRadius = 1;
    if (yRadius == 0) yRadius = 1;
    int16_t* arc = GraphState.lastArc;
    if (xRadius <= 1 && yRadius <= 1) {
        Plot(x, y);
        for (int i = 0; i < 6; i += 2) {
            arc[i] = x;
            arc[i + 1] = y;
        }
        return;
    }
    startAngle %= 361;
    endAngle %= 361;
    if (startAngle > endAngle) std::swap(startAngle, endAngle);
    const int32_t n = Nearest(std::sqrt(static_cast<long double>(xRadius) * xRadius +
                                        static_cast<long double>(yRadius) * yRadius) *
                              kSqrt3);
    const float step = static_cast<float>(90.0L / n);
    const uint16_t savedColour = GraphState.drawColor;
    const float from = static_cast<float>(startAngle * kDegree), to = static_cast<float>(endAngle * kDegree);
    arc[0] = x;
    arc[1] = y;
    arc[2] = static_cast<int16_t>(x + Nearest(xRadius * std::cos(static_cast<long double>(from))));
    arc[3] = static_cast<int16_t>(y + Nearest(yRadius * std::sin(from + kPi)));
    arc[4] = static_cast<int16_t>(x + Nearest(xRadius * std::cos(static_cast<long double>(to))));
    arc[5] = static_cast<int16_t>(y + Nearest(yRadius * std::sin(to + kPi)));

    float a = 0.0f;
    int32_t dx = xRadius, dy = 0;
    for (;;) {
        const float theta = static_cast<float>((static_cast<long double>(a) + step) * kDegree);
        int32_t nextDx, nextDy;
        ReferenceOffsets(xRadius, yRadius, theta, nextDx, nextDy);
        const int32_t xRight = x + dx, xLeft = x - dx, yUpper = y + dy, yLower = y - dy;
        int32_t upperRight = 32767, lowerRight = 32767, upperLeft = -32768, lowerLeft = -32768;
        auto inArc = [&](long double angle) { return startAngle <= angle && angle <= endAngle; };
        if (inArc(a)) Plot(xRight, yUpper), upperRight = xRight;
        if (inArc(180.0L - a)) Plot(xLeft, yUpper), upperLeft = xLeft;
        if (inArc(180.0L + a)) Plot(xLeft, yLower), lowerLeft = xLeft;
        if (inArc(360.0L - a)) Plot(xRight, yLower), lowerRight = xRight;
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
        if (sum > 91.0f) break;
    }
}
