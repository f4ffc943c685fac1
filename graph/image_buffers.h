#pragma once
// Image buffers: the public operations. A buffer holds a 12-byte header (width - 1 and
// height - 1 as signed 32-bit little-endian values, then 4 reserved bytes) followed by the
// 16-bit colours of the rectangle row by row from the top, each row from left to right. The
// generic slot routines are declared in graph/graph.h.

#include <cstdint>

constexpr int32_t kImageHeaderBytes = 12;

// Bytes needed to save the rectangle (x1, y1)-(x2, y2), corners included.
int32_t ImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Saves the rectangle (viewport coordinates, x1 <= x2, y1 <= y2) into the buffer, which holds at
// least ImageBufferSize bytes.
void SaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer);
// Puts a saved image with its top-left corner at (x, y), combining it with the surface by the
// write mode (0 copy, 1 exclusive or, 2 or, 3 and, 4 complement).
void PutImage(int16_t x, int16_t y, const void* buffer, uint16_t mode);
