// The back-end's text routine. A glyph bitmap is an 8x8 mask, white where the glyph has ink; it
// does not depend on the colour, which is applied as the glyph is transferred: colour 15 is
// always pure white, any other colour its current palette entry. Only ink pixels are written,
// so every cell stays transparent, and the text is always cut to the viewport.
//
// The masks do not depend on the window either, so one pair of caches serves every window of
// the process; they are written only while DrawLock is held.

#include "graph/window/backend_text.h"

#include "graph/fonts/bitmap_font.h"
#include "graph/text.h"
#include "graph/window/backend_testing.h"
#include "graph/window/colour_lookup.h"
#include "graph/window/primitives.h"
#include "graph/window/window_thread.h"
#include "runtime/exit.h"
#include "runtime/text_stream.h"

namespace {

constexpr uint32_t kPureWhite = 0x00FFFFFF;

struct GlyphBitmap {
    bool made = false;
    uint64_t ink = 0;  // bit r * 8 + c: pixel (c, r) of the bitmap
};

GlyphBitmap glyphCache[256];         // upright, for horizontal text
GlyphBitmap rotatedGlyphCache[256];  // a quarter turn counter-clockwise, for upward text
int failingCreations = 0;
int bitmapsMade = 0;

// Builds the bitmap of a character; false when it cannot be made. The cache entry then stays
// unmade, so the next use tries again, and the character's cell stays as it was.
bool BuildGlyph(GlyphBitmap& bitmap, uint8_t code, bool rotated) {
    if (failingCreations > 0) {
        --failingCreations;
        return false;
    }
    const uint8_t* glyph = BitmapGlyph(code);
    uint64_t ink = 0;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            if (glyph[r * 8 + c] == 0) continue;
            // Rotated: the glyph's top row becomes the bitmap's left column, read bottom to top.
            int bx = rotated ? r : c;
            int by = rotated ? 7 - c : r;
            ink |= uint64_t{1} << (by * 8 + bx);
        }
    }
    bitmap.ink = ink;
    bitmap.made = true;
    ++bitmapsMade;
    return true;
}

// Draws the text with its start point at viewport (x, y); returns how many glyph bitmaps could
// not be made.
int DrawBitmapText(int32_t x, int32_t y, const LengthPrefixedString& text) {
    const bool upwards = GraphState.textDirection != 0;
    const int32_t size = GraphState.textSize;
    const int32_t n = text.length();
    if (n == 0 || size == 0) return 0;
    x += GraphState.viewLeft;
    y += GraphState.viewTop;
    const int32_t pitch = 8 * size;
    int failures = 0;
    DrawOnNewestSurface([&](const Surface& surface) {
        const uint32_t value = GraphState.drawColor == 15 ? kPureWhite : PixelOfColour(GraphState.drawColor);
        // The clip step: text is always cut to the viewport.
        const Surface cut = surface.ClippedTo(ViewportOnSurface());
        PixelRect touched{0, 0, 0, 0};
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t code = static_cast<uint8_t>(text.at(i + 1));
            GlyphBitmap& bitmap = upwards ? rotatedGlyphCache[code] : glyphCache[code];
            if (!bitmap.made && !BuildGlyph(bitmap, code, upwards)) {
                ++failures;
                continue;
            }
            const int32_t cellX = upwards ? x : x + i * pitch;
            const int32_t cellY = upwards ? y + 1 - (i + 1) * pitch : y;
            touched = touched.United(BlitGlyph(cut, bitmap.ink, cellX, cellY, size, value));
        }
        return touched;
    });
    return failures;
}

// One line on standard output per glyph bitmap that could not be made. Written once DrawLock
// is released: a failing write ends the program, and the way out closes windows, which needs
// the lock.
void ReportGlyphFailures(int failures, bool upwards) {
    for (int i = 0; i < failures; ++i) {
        WriteText(0, OutputText, upwards ? "Could not create bitmap!" : "Bitmap konnte nicht erzeugt werden!");
        WriteLineEnd(OutputText);
        CheckPendingIoError();
    }
}

}  // namespace

void BackendDrawText(int16_t x, int16_t y, const LengthPrefixedString& text) {
    const uint16_t savedWriteMode = GraphState.writeMode;
    GraphState.writeMode = 0;
    int32_t dx, dy;
    TextJustifyOffsets(dx, dy, text);
    x = static_cast<int16_t>(x - dx);
    y = static_cast<int16_t>(y + dy);
    if (UsesStrokeFont()) {
        // Drawn from the text itself, without the character translation; DrawLine locks.
        DrawStrokeText(x, y, text);
    } else if (PixelRect::FromCorners(0, 0, GraphState.viewMaxX, GraphState.viewMaxY).Contains(x, y)) {
        // A start point outside the viewport draws nothing, whatever clipOn says.
        ReportGlyphFailures(DrawBitmapText(x, y, text), GraphState.textDirection != 0);
    }
    GraphState.writeMode = savedWriteMode;
}

void FailGlyphBitmapCreations(int n) { failingCreations = n; }

void ClearGlyphCaches() {
    DrawingSide lock;
    for (GlyphBitmap& bitmap : glyphCache) bitmap = {};
    for (GlyphBitmap& bitmap : rotatedGlyphCache) bitmap = {};
    bitmapsMade = 0;
}

int GlyphBitmapsMade() { return bitmapsMade; }
