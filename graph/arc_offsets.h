#pragma once
// The offsets from an arc's centre of its points at given angles, rounded to whole pixels: x to
// the right, y downwards. The arc routine's stepping fixes these angles and products as
// single-precision radians and extended-precision products; ArcOffsetsAt gives the same whole
// numbers at the cost of a short polynomial, many angles at a time.

#include <cstdint>

// nearest(xRadius * cos angle) and nearest(yRadius * sin(angle + pi)), in extended precision.
int32_t ArcOffsetX(int32_t xRadius, float angle);
int32_t ArcOffsetY(int32_t yRadius, float angle);

// ArcOffsetX and ArcOffsetY at each of `count` angles from 0 to 3 pi / 4 radians, for radii up
// to 65535.
void ArcOffsetsAt(int32_t xRadius, int32_t yRadius, const float* angles, int count, int32_t* dx, int32_t* dy);
