// Stroke fonts: decoding the two-byte commands of a glyph and drawing text as line segments.

#include "graph/graph_internal.h"
#include "graph/text.h"

StrokeCommand glyphStrokes[kGlyphStrokeCapacity];

namespace {

// A 7-bit two's-complement number, sign-extended from bit 6.
int16_t SevenBitSigned(uint8_t b) {
    int16_t value = b & 0x7F;
    return (value & 0x40) != 0 ? static_cast<int16_t>(value - 0x80) : value;
}

}  // namespace

uint8_t DecodeStrokeCommand(uint8_t b1, uint8_t b2, int16_t& x, int16_t& y) {
    x = SevenBitSigned(b1);
    y = SevenBitSigned(b2);
    return static_cast<uint8_t>(((b1 >> 7) << 1) | (b2 >> 7));
}

int32_t DecodeGlyph(const uint8_t* data, int32_t dataSize, uint16_t offset,
                    StrokeCommand* destination) {
    int32_t n = 0;
    int32_t position = offset;
    for (;;) {
        StrokeCommand& command = destination[n++];
        // The end of the data, or of the room for commands, ends the glyph as an end command.
        if (n == kGlyphStrokeCapacity || position + 1 >= dataSize) {
            command = {0, 0, 0};
            return n;
        }
        command.op = DecodeStrokeCommand(data[position], data[position + 1], command.x, command.y);
        position += 2;
        if (command.op == 0) return n;
    }
}

void DrawStrokeText(int16_t x, int16_t y, const LengthPrefixedString& text) {
    const FontRecord& font = CurrentStrokeFont();
    StrokeSettings saved;
    GetStrokeStyle(saved);
    SetStrokeStyle(0, saved.pattern, 1);

    bool upwards = GraphState.textDirection != 0;
    if (upwards) x = static_cast<int16_t>(x + MeasureTextHeight(text));
    const float scaleX = GraphState.strokeScaleX;
    const float scaleY = GraphState.strokeScaleY;
    float ox = x, oy = y;
    float lx = x, ly = y;  // the last point carries over from one character to the next
    for (int i = 1; i <= text.length(); ++i) {
        uint8_t c = static_cast<uint8_t>(text.at(i));
        int32_t count = DecodeGlyph(font.data, font.dataSize, font.strokeOffsets[c], glyphStrokes);
        for (int32_t k = 0; k < count; ++k) {
            const StrokeCommand& command = glyphStrokes[k];
            if (command.op == 0) break;
            float px, py;
            if (upwards) {
                px = static_cast<float>(ox - static_cast<long double>(command.y) * scaleY);
                py = static_cast<float>(oy - static_cast<long double>(command.x) * scaleX);
            } else {
                px = static_cast<float>(ox + static_cast<long double>(command.x) * scaleX);
                py = static_cast<float>(oy - static_cast<long double>(command.y) * scaleY);
            }
            if (command.op == 3) {
                DriverSlots.DrawLine(static_cast<int16_t>(static_cast<int32_t>(lx)),
                                     static_cast<int16_t>(static_cast<int32_t>(ly)),
                                     static_cast<int16_t>(static_cast<int32_t>(px)),
                                     static_cast<int16_t>(static_cast<int32_t>(py)));
            }
            if (command.op == 2 || command.op == 3) {
                lx = px;
                ly = py;
            }
        }
        long double advance = static_cast<long double>(font.advanceWidths[c]) * scaleX;
        if (upwards) {
            oy = static_cast<float>(oy - advance);
        } else {
            ox = static_cast<float>(ox + advance);
        }
    }
    SetStrokeStyle(saved.style, saved.pattern, saved.thickness);
}
