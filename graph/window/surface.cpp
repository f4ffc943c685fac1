// The surface operations. Each starts with its clip step, one Intersected with the clip, and
// then touches only pixels inside it.

#include "graph/window/surface.h"

#include <algorithm>
#include <bit>

PixelRect WalkSegment(const Surface& surface, const SegmentWalk& walk, int32_t count, Ink ink) {
    if (count <= 0) return {0, 0, 0, 0};
    const PixelRect box = PixelRect::FromCorners(std::min(walk.x, walk.endX), std::min(walk.y, walk.endY),
                                                 std::max(walk.x, walk.endX), std::max(walk.y, walk.endY));
    const PixelRect touched = box.Intersected(surface.clip);
    if (touched.IsEmpty()) return touched;
    if (ink.combine == PixelCombine::Copy && touched == box) {
        // The chaos game's case: every point in the clip, plain copies. The walk's steps become
        // steps of a pixel pointer.
        uint32_t* pixel = surface.At(walk.x, walk.y);
        const int64_t straight = walk.straightX + int64_t{walk.straightY} * surface.stride;
        const int64_t diagonal = walk.sx + int64_t{walk.sy} * surface.stride;
        int64_t d = walk.d;
        for (int32_t i = 0; i < count; ++i) {
            *pixel = ink.value;
            pixel += walk.NextStepIsDiagonal(d) ? diagonal : straight;
        }
        return touched;
    }
    SegmentWalk at = walk;
    for (int32_t i = 0; i < count; ++i) {
        if (surface.clip.Contains(at.x, at.y)) Apply(ink, *surface.At(at.x, at.y));
        at.Step();
    }
    return touched;
}

PixelRect BlitGlyph(const Surface& surface, uint64_t mask, int32_t cellX, int32_t cellY, int32_t size,
                    uint32_t value) {
    const int32_t extent = 8 * size;
    const PixelRect cell{cellX, cellY, cellX + extent, cellY + extent};
    const PixelRect& clip = surface.clip;
    if (size == 1 && clip.Contains(cell)) {
        // The common case: one pixel per bit, nothing to cut.
        for (int32_t by = 0; by < 8; ++by) {
            uint32_t* row = surface.At(cellX, cellY + by);
            for (uint32_t bits = static_cast<uint8_t>(mask >> (by * 8)); bits != 0; bits &= bits - 1) {
                row[std::countr_zero(bits)] = value;
            }
        }
        return cell;
    }
    for (int32_t by = 0; by < 8; ++by) {
        const uint32_t rowBits = static_cast<uint8_t>(mask >> (by * 8));
        if (rowBits == 0) continue;
        const int32_t top = std::max(cellY + by * size, clip.top);
        const int32_t bottom = std::min(cellY + by * size + size, clip.bottom);
        for (int32_t y = top; y < bottom; ++y) {
            uint32_t* row = surface.At(0, y);
            for (uint32_t bits = rowBits; bits != 0; bits &= bits - 1) {
                const int32_t bx = std::countr_zero(bits);
                const int32_t left = std::max(cellX + bx * size, clip.left);
                const int32_t right = std::min(cellX + bx * size + size, clip.right);
                if (left < right) FillPixels(row + left, row + right, value);
            }
        }
    }
    return cell.Intersected(clip);
}
