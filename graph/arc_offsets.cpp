#include "graph/arc_offsets.h"

#include <cmath>

namespace {

constexpr long double kPi = 3.14159265358979323846L;

int32_t Nearest(long double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

int32_t ArcOffsetX(int32_t xRadius, float angle) { return Nearest(xRadius * std::cos(static_cast<long double>(angle))); }
int32_t ArcOffsetY(int32_t yRadius, float angle) { return Nearest(yRadius * std::sin(angle + kPi)); }
