#pragma once
// The offsets from an arc's centre of its point at an angle, rounded to whole pixels: x to the
// right, y downwards. The arc routine's stepping fixes these angles and products as
// single-precision radians and extended-precision products; ArcOffsets gives the same whole
// numbers at the cost of a short polynomial.

#include <cfloat>
#include <cstdint>

// nearest(xRadius * cos angle) and nearest(yRadius * sin(angle + pi)), in extended precision.
int32_t ArcOffsetX(int32_t xRadius, float angle);
int32_t ArcOffsetY(int32_t yRadius, float angle);

namespace arc_offsets_detail {

// Taylor series of sine and cosine to the terms in t^15 and t^16: for |t| <= pi / 4 the terms
// left out are below 5e-17, and evaluating them in double precision adds at most a few units of
// 2^-53, so both are within 4e-16 of the true values.
inline double SineNearZero(double t) {
    const double t2 = t * t;
    return t + t * t2 *
                   (-1.0 / 6 + t2 * (1.0 / 120 + t2 * (-1.0 / 5040 + t2 * (1.0 / 362880 +
                    t2 * (-1.0 / 39916800 + t2 * (1.0 / 6227020800 + t2 * (-1.0 / 1307674368000)))))));
}
inline double CosineNearZero(double t) {
    const double t2 = t * t;
    return 1.0 + t2 * (-1.0 / 2 + t2 * (1.0 / 24 + t2 * (-1.0 / 720 + t2 * (1.0 / 40320 +
                 t2 * (-1.0 / 3628800 + t2 * (1.0 / 479001600 + t2 * (-1.0 / 87178291200 +
                 t2 * (1.0 / 20922789888000))))))));
}

// pi / 2 as the sum of two doubles, so that angle - pi / 2 is exact to far below 1e-30.
constexpr double kHalfPiHigh = 1.5707963267948966, kHalfPiLow = 6.123233995736766e-17;
constexpr double kQuarterPi = 0.7853981633974483;

// A product of a radius below 65536 and a sine or cosine within 4e-16 lies within 1e-10 of the
// extended product (itself within 1e-13 of the exact one): one that rounds to the same whole
// number from at least kTieMargin inside a half rounds the same in both. The rest, about one
// product in five million, is formed again in extended precision.
constexpr double kTieMargin = 1e-7;
// Adding and taking away 1.5 * 2^52 rounds a double below 2^51 to the nearest whole number,
// halves to even, in the rounding mode the library runs in.
constexpr double kRoundingShift = 6755399441055744.0;
static_assert(FLT_EVAL_METHOD == 0, "the rounding shift needs double arithmetic in double precision");

inline bool RoundsClearly(double product, int32_t& rounded) {
    const double nearest = (product + kRoundingShift) - kRoundingShift;
    const double fraction = product - nearest;
    if (fraction > 0.5 - kTieMargin || fraction < kTieMargin - 0.5) return false;
    rounded = static_cast<int32_t>(nearest);
    return true;
}

}  // namespace arc_offsets_detail

// ArcOffsetX and ArcOffsetY for radii up to 65535 and angles from 0 to 3 pi / 4 radians.
inline void ArcOffsets(int32_t xRadius, int32_t yRadius, float angle, int32_t& dx, int32_t& dy) {
    using namespace arc_offsets_detail;
    double sine, cosine;
    if (angle <= kQuarterPi) {
        sine = SineNearZero(angle);
        cosine = CosineNearZero(angle);
    } else {
        const double t = (angle - kHalfPiHigh) - kHalfPiLow;
        sine = CosineNearZero(t);
        cosine = -SineNearZero(t);
    }
    if (!RoundsClearly(xRadius * cosine, dx)) dx = ArcOffsetX(xRadius, angle);
    if (!RoundsClearly(-(yRadius * sine), dy)) dy = ArcOffsetY(yRadius, angle);
}
