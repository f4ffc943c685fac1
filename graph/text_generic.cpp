// The generic text routine: the default of the DrawTextOp slot. The bitmap font goes pixel by
// pixel through WritePixel, stroke fonts segment by segment through DrawLine.

#include "graph/fonts/bitmap_font.h"
#include "graph/graph_internal.h"
#include "graph/text.h"

namespace {

// One glyph cell of the bitmap font at size s; (x, y) is the cell's origin.
void DrawBitmapGlyph(int32_t x, int32_t y, const uint8_t* glyph, int32_t s, bool upwards) {
    const uint16_t ink = GraphState.drawColor;
    const uint16_t paper = GraphState.backColor;
    const bool opaque = GraphState.opaqueText;
    for (int32_t row = 0; row < 8; ++row) {
        for (int32_t sy = 0; sy < s; ++sy) {
            for (int32_t col = 0; col < 8; ++col) {
                bool set = glyph[row * 8 + col] != 0;
                if (!set && !opaque) continue;
                for (int32_t sx = 0; sx < s; ++sx) {
                    int32_t px, py;
                    if (upwards) {
                        px = x + row * s - sy;
                        py = y - col * s + sx;
                    } else {
                        px = x + col * s + sx;
                        py = y + row * s + sy;
                    }
                    DriverSlots.WritePixel(static_cast<int16_t>(px), static_cast<int16_t>(py),
                                           set ? ink : paper);
                }
            }
        }
    }
}

void DrawBitmapText(int16_t x, int16_t y, const LengthPrefixedString& text) {
    const int32_t s = GraphState.textSize;
    const bool upwards = GraphState.textDirection != 0;
    for (int i = 0; i < text.length(); ++i) {
        const uint8_t* glyph = BitmapGlyph(static_cast<uint8_t>(text.at(i + 1)));
        if (upwards) {
            DrawBitmapGlyph(x, static_cast<int16_t>(y - i * 8 * s), glyph, s, true);
        } else {
            DrawBitmapGlyph(static_cast<int16_t>(x + i * 8 * s), y, glyph, s, false);
        }
    }
}

}  // namespace

void GenericDrawText(int16_t x, int16_t y, const LengthPrefixedString& text) {
    uint16_t savedWriteMode = GraphState.writeMode;
    GraphState.writeMode = 0;
    int32_t dx, dy;
    TextJustifyOffsets(dx, dy, text);
    x = static_cast<int16_t>(x - dx);
    y = static_cast<int16_t>(y + dy);
    LengthPrefixedString translated = TranslateText(text);
    if (UsesStrokeFont()) {
        DrawStrokeText(x, y, translated);
    } else {
        DrawBitmapText(x, y, translated);
    }
    GraphState.writeMode = savedWriteMode;
}
