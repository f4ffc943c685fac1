#pragma once
// A surface: rows of 32-bit pixels (0x00RRGGBB) and the rectangle its operations may touch.
// The operations are pure: no lock, no window, no library state. The colour comes in as a
// pixel value and the write mode as the way a pixel meets the one under it; each drawing
// operation returns the rectangle it touched (cut to the clip), which its caller adds to the
// window's damage. The back-end's slot routines run them on the newest window's back-buffer
// under DrawLock (primitives.cpp, backend_text.cpp); tests run them on bare arrays.

#include <cstdint>
#include <utility>

#include "graph/segment_walk.h"
#include "graph/window/pixel_rect.h"
#include "graph/window/pixel_runs.h"

struct Surface {
    uint32_t* pixels;  // row r starts at pixels + r * stride
    int32_t width;
    int32_t height;
    int32_t stride;  // in pixels, >= width
    PixelRect clip;  // within the surface

    // The whole of a pixel array as a surface.
    static Surface Over(uint32_t* pixels, int32_t width, int32_t height, int32_t stride) {
        return {pixels, width, height, stride, {0, 0, width, height}};
    }
    // The same pixels, with operations cut to `area` as well.
    Surface ClippedTo(const PixelRect& area) const { return {pixels, width, height, stride, clip.Intersected(area)}; }
    uint32_t* At(int32_t x, int32_t y) const { return pixels + static_cast<int64_t>(y) * stride + x; }
};

// How a drawn pixel meets the pixel it lands on.
enum class PixelCombine : uint8_t { Copy, Xor, Or, And };

struct Ink {
    uint32_t value;
    PixelCombine combine;
};

inline void Apply(Ink ink, uint32_t& pixel) {
    switch (ink.combine) {
        case PixelCombine::Copy: pixel = ink.value; break;
        case PixelCombine::Xor: pixel ^= ink.value; break;
        case PixelCombine::Or: pixel |= ink.value; break;
        case PixelCombine::And: pixel &= ink.value; break;
    }
}

// One pixel, when it lies in the clip. Inline: every pixel the generic routines plot one by one
// comes here.
inline PixelRect PlotPoint(const Surface& surface, int32_t x, int32_t y, Ink ink) {
    if (!surface.clip.Contains(x, y)) [[unlikely]] return {0, 0, 0, 0};
    Apply(ink, *surface.At(x, y));
    return {x, y, x + 1, y + 1};
}
// Every pixel of `area` (a row, a column or a block) that lies in the clip. Inline: a fill
// paints many short runs.
inline PixelRect PaintArea(const Surface& surface, PixelRect area, Ink ink) {
    area = area.Intersected(surface.clip);
    if (area.IsEmpty()) return {0, 0, 0, 0};
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint32_t* row = surface.At(0, y);
        if (ink.combine == PixelCombine::Copy) {
            FillPixels(row + area.left, row + area.right, ink.value);
        } else {
            for (int32_t x = area.left; x < area.right; ++x) Apply(ink, row[x]);
        }
    }
    return area;
}

// The `count` positions of the walk, each combined once, those off the clip left alone. The
// rectangle returned is the walk's box cut to the clip.
PixelRect WalkSegment(const Surface& surface, const SegmentWalk& walk, int32_t count, Ink ink);
// An 8x8 glyph mask (bit r * 8 + c: pixel (c, r)) with its top-left corner at (cellX, cellY),
// each mask pixel a size x size block; only ink pixels are written, in `value`. The rectangle
// returned is the whole cell cut to the clip.
PixelRect BlitGlyph(const Surface& surface, uint64_t mask, int32_t cellX, int32_t cellY, int32_t size,
                    uint32_t value);

// The colour numbers of row y from column `left` to `right` (not included), all in the clip,
// into `out`, each pixel translated by `lookUp`. A row mostly alternates between few pixel
// values (a border and the area inside it, a grid), so the last two answers are remembered and
// eight pixels equal to the last one cost one compare.
template <class LookUp>
void ReadColours(const Surface& surface, int32_t left, int32_t right, int32_t y, uint16_t* out, LookUp lookUp) {
    const int32_t count = right - left;
    if (count <= 0) return;
    const uint32_t* row = surface.At(left, y);
    uint32_t knownPixel = row[0], otherPixel = row[0];
    uint16_t knownColour = lookUp(knownPixel), otherColour = knownColour;
    auto one = [&](int32_t i) {
        const uint32_t pixel = row[i];
        if (pixel != knownPixel) [[unlikely]] {
            std::swap(knownPixel, otherPixel);
            std::swap(knownColour, otherColour);
            if (pixel != knownPixel) {
                knownPixel = pixel;
                knownColour = lookUp(pixel);
            }
        }
        out[i] = knownColour;
    };
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        if (EightEqual(row + i, knownPixel)) [[likely]] {
            StoreEightColours(out + i, knownColour);
        } else {
            for (int32_t j = i; j < i + 8; ++j) one(j);
        }
    }
    for (; i < count; ++i) one(i);
}
