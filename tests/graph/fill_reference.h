#pragma once
// The flood fill exactly as first described: a seed stack, three row buffers rotated as the
// walk moves a row up or down and otherwise read afresh, and a table of filled spans in buckets
// of four rows. Kept here as the reference the library's fill is compared with. Two mends are
// part of it, as in the library: the seed stack grows (no seed is dropped) and a seed on a
// border pixel paints nothing.

#include <cstdint>

// Fills as FloodFillArea does, through the same slots; returns the largest number of seed
// points that waited at once.
int32_t ReferenceFloodFill(int16_t x, int16_t y, uint16_t border);
