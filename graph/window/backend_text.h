#pragma once
// The back-end's text routine (the DrawTextOp of every window mode). The built-in font is drawn
// from cached 8x8 glyph bitmaps, one per character code and direction, copied (or stretched for
// larger sizes) onto the surface with the background left untouched; stroke fonts are drawn as
// the generic routine draws them.

#include <cstdint>

#include "runtime/length_prefixed.h"

void BackendDrawText(int16_t x, int16_t y, const LengthPrefixedString& text);
