#pragma once
// Colour lookup: colour numbers to buffer pixels and buffer pixels back to colour numbers,
// through the current palette table, with the memos that make a run of one colour cost one
// lookup.
//
// The fast paths (a memo hit) are inline, so a primitive's loop pays a compare and a load per
// pixel. The slow paths (a palette read, a nearest-colour search) are kept out of line on
// purpose: inlined, they would swell every primitive's loop and push its hot path out of
// registers, for work that runs once per colour change.

#include <cstdint>

#include "graph/window/backend_state.h"
#include "graph/window/palette.h"

// COLORREF layout: red bits 0-7, green 8-15, blue 16-23.
inline uint32_t ColorToRgb(int16_t red, int16_t green, int16_t blue) {
    return (static_cast<uint32_t>(red) & 0xFF) | ((static_cast<uint32_t>(green) & 0xFF) << 8) |
           ((static_cast<uint32_t>(blue) & 0xFF) << 16);
}
// Buffer pixels are 0x00RRGGBB: the same 24 bits with red and blue exchanged.
inline uint32_t RgbToPixel(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
inline uint32_t PixelToRgb(uint32_t pixel) { return RgbToPixel(pixel); }
// What GetPixel yields off the surface.
constexpr uint32_t kInvalidRgb = 0xFFFFFFFF;

// The palette index nearest to an RGB colour (sum of the three distances; the lowest index wins
// a tie). Exact results are remembered per palette generation.
uint16_t NearestColor(uint8_t red, uint8_t green, uint8_t blue);
// The palette index a colour number draws: colour numbers at or above colorCount wrap to
// colour AND (colorCount - 1) (colorCount is 16 or 256), so write mode 4's 16-bit complement
// 65535 - c draws entry colorCount - 1 - c.
int32_t PaletteIndexOf(uint32_t colour);

// ---- Colour number -> buffer pixel ----

// The last answer is remembered (Backend.colourMemo). Only the drawing thread uses it.
__attribute__((noinline)) uint32_t LookUpColour(uint32_t colour);

inline uint32_t PixelOfColour(uint32_t colour) {
    const ColourMemo& memo = Backend.colourMemo;
    if (memo.colour == colour && memo.generation == Backend.paletteGeneration) [[likely]] {
        return memo.pixel;
    }
    return LookUpColour(colour);
}

// ---- Buffer pixel -> colour number ----

// `inside` false: the point is off the buffer and reads as the invalid colour.
__attribute__((noinline)) uint16_t ColourOfPixel(uint32_t pixel, bool inside);

inline uint16_t ColourOf(uint32_t pixel, bool inside) {
    const ReadMemo& memo = Backend.readMemo;
    if (inside && pixel == memo.pixel && memo.generation == Backend.paletteGeneration) [[likely]] {
        return memo.index;
    }
    return ColourOfPixel(pixel, inside);
}
