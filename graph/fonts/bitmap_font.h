#pragma once
// bitmapFont: the built-in 8x8 font, 256 glyphs of 64 bytes. Byte r * 8 + c of glyph g (at
// g * 64) is the pixel in row r (0 = top) and column c (0 = left): 1 ink, 0 clear.

#include <array>
#include <cstdint>

constexpr int kGlyphCount = 256;
constexpr int kGlyphBytes = 64;

extern const std::array<uint8_t, kGlyphCount * kGlyphBytes> bitmapFont;

inline const uint8_t* BitmapGlyph(uint8_t code) { return bitmapFont.data() + code * kGlyphBytes; }
