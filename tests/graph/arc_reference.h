#pragma once
// The arc routine exactly as first described, with every cosine and sine taken in extended
// precision. Kept here as the reference the library's EllipseOp is compared with.

#include <cstdint>

#include "graph/graph_internal.h"

void ReferenceEllipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius, uint16_t startAngle,
                      uint16_t endAngle, SpanRoutine span);

// nearest(xRadius * cos angle) and nearest(yRadius * sin(angle + pi)), in extended precision.
void ReferenceOffsets(int32_t xRadius, int32_t yRadius, float angle, int32_t& dx, int32_t& dy);
