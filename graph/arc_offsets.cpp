#include "graph/arc_offsets.h"

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

constexpr long double kPi = 3.14159265358979323846L;

int32_t Nearest(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// Taylor series of sine and cosine to the terms in t^13 and t^14: for |t| <= pi / 4 the terms
// left out are below 3e-14, and evaluating them in double precision adds a few units of 2^-53.
inline double SineNearZero(double t) {
    const double t2 = t * t;
    return t + t * t2 *
                   (-1.0 / 6 + t2 * (1.0 / 120 + t2 * (-1.0 / 5040 + t2 * (1.0 / 362880 +
                    t2 * (-1.0 / 39916800 + t2 * (1.0 / 6227020800))))));
}
inline double CosineNearZero(double t) {
    const double t2 = t * t;
    return 1.0 + t2 * (-1.0 / 2 + t2 * (1.0 / 24 + t2 * (-1.0 / 720 + t2 * (1.0 / 40320 +
                 t2 * (-1.0 / 3628800 + t2 * (1.0 / 479001600 + t2 * (-1.0 / 87178291200)))))));
}

// pi / 2 as the sum of two doubles, so that angle - pi / 2 is exact to far below 1e-30.
constexpr double kHalfPiHigh = 1.5707963267948966, kHalfPiLow = 6.123233995736766e-17;
constexpr double kQuarterPi = 0.7853981633974483;

// A product of a radius below 65536 and a sine or cosine within 4e-14 lies within 3e-9 of the
// extended product (itself within 1e-13 of the exact one): one that rounds to the same whole
// number from at least kTieMargin inside a half rounds the same in both. The rest, about one
// product in five million, is formed again in extended precision.
constexpr double kTieMargin = 1e-7;
// Adding and taking away 1.5 * 2^52 rounds a double below 2^51 to the nearest whole number,
// halves to even, in the rounding mode the library runs in.
constexpr double kRoundingShift = 6755399441055744.0;
static_assert(FLT_EVAL_METHOD == 0, "the rounding shift needs double arithmetic in double precision");

// The product rounded, or kUnclear when it lies too near a half to tell.
constexpr int32_t kUnclear = INT32_MIN;
inline int32_t RoundedClearly(double product) {
    const double nearest = (product + kRoundingShift) - kRoundingShift;
    return std::fabs(product - nearest) <= 0.5 - kTieMargin ? static_cast<int32_t>(nearest) : kUnclear;
}

}  // namespace

int32_t ArcOffsetX(int32_t xRadius, float angle) { return Nearest(xRadius * std::cos(static_cast<long double>(angle))); }
int32_t ArcOffsetY(int32_t yRadius, float angle) { return Nearest(yRadius * std::sin(angle + kPi)); }

// Two passes: the polynomial for every angle, with no branch the compiler cannot turn into a
// selection, and then extended precision for the products it could not round.
void ArcOffsetsAt(int32_t xRadius, int32_t yRadius, const float* angles, int count, int32_t* dx, int32_t* dy) {
    bool unclear = false;
    for (int i = 0; i < count; ++i) {
        const double angle = angles[i];
        const bool beyondQuarter = angle > kQuarterPi;
        const double t = beyondQuarter ? (angle - kHalfPiHigh) - kHalfPiLow : angle;
        const double sineNearZero = SineNearZero(t), cosineNearZero = CosineNearZero(t);
        const double sine = beyondQuarter ? cosineNearZero : sineNearZero;
        const double cosine = beyondQuarter ? -sineNearZero : cosineNearZero;
        const int32_t x = RoundedClearly(xRadius * cosine), y = RoundedClearly(-(yRadius * sine));
        dx[i] = x;
        dy[i] = y;
        unclear |= (x == kUnclear) | (y == kUnclear);
    }
    if (!unclear) return;
    for (int i = 0; i < count; ++i) {
        if (dx[i] == kUnclear) dx[i] = ArcOffsetX(xRadius, angles[i]);
        if (dy[i] == kUnclear) dy[i] = ArcOffsetY(yRadius, angles[i]);
    }
}
