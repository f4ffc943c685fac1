// Text measuring, justification and character translation, shared by the generic text routine
// and the back-end's.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graph/text.h"

float StrokeScaleForSize(uint16_t size) { return static_cast<float>(size) / 4.0f; }

bool UsesStrokeFont() {
    uint16_t font = GraphState.textFont;
    if (font == 0 || font > kFontTableSize || font > GraphState.fontCount) return false;
    const FontRecord& record = GraphState.fontTable[font - 1];
    return record.data != nullptr && record.dataSize > 0;
}

const FontRecord& CurrentStrokeFont() { return GraphState.fontTable[GraphState.textFont - 1]; }

LengthPrefixedString TranslateText(const LengthPrefixedString& text) {
    const uint8_t* table = GraphState.charTranslation;
    if (table == nullptr) return text;
    LengthPrefixedString translated;
    for (int i = 1; i <= text.length(); ++i) {
        translated.Append(static_cast<char>(table[static_cast<uint8_t>(text.at(i))]));
    }
    return translated;
}

namespace {

// The text's extent in pixels, unbounded: a large size makes it more than 16 bits.
int64_t TextWidth(const LengthPrefixedString& text) {
    if (!UsesStrokeFont()) return int64_t{text.length()} * 8 * GraphState.textSize;
    const FontRecord& font = CurrentStrokeFont();
    LengthPrefixedString translated = TranslateText(text);
    int32_t sum = 0;
    for (int i = 1; i <= translated.length(); ++i) {
        uint8_t c = static_cast<uint8_t>(translated.at(i));
        // A signed difference: codes below firstChar count too.
        if (static_cast<int32_t>(c) - font.firstChar < font.charCount) sum += font.advanceWidths[c];
    }
    return std::llrint(static_cast<long double>(sum) * GraphState.strokeScaleX);
}

int64_t TextHeight() {
    if (!UsesStrokeFont()) return int64_t{8} * GraphState.textSize;
    const FontRecord& font = CurrentStrokeFont();
    long double extent = static_cast<long double>(font.topExtent - font.descentExtent);
    return static_cast<int64_t>(extent * GraphState.strokeScaleY);
}

uint16_t Saturated(int64_t extent) { return static_cast<uint16_t>(std::clamp<int64_t>(extent, 0, UINT16_MAX)); }

// The offset of a justification value 0 / 1 / 2 along a length; other values do not move.
int32_t Share(uint16_t justify, int64_t length) {
    switch (justify) {
        case 1: return static_cast<int32_t>(length / 2);
        case 2: return static_cast<int32_t>(length);
        default: return 0;
    }
}

}  // namespace

uint16_t MeasureTextWidth(const LengthPrefixedString& text) { return Saturated(TextWidth(text)); }

uint16_t MeasureTextHeight(const LengthPrefixedString&) { return Saturated(TextHeight()); }

void TextJustifyOffsets(int32_t& dx, int32_t& dy, const LengthPrefixedString& text) {
    const int64_t width = TextWidth(text);
    const int64_t height = TextHeight();
    uint16_t horizontal = GraphState.textHorizJustify;
    uint16_t vertical = GraphState.textVertJustify;
    if (GraphState.textDirection != 0) {
        dx = Share(horizontal, height);
        dy = Share(vertical, width);
    } else if (UsesStrokeFont()) {
        // A stroke glyph stands on its baseline.
        dx = Share(horizontal, width);
        dy = Share(vertical, height);
    } else {
        // A bitmap glyph hangs down from its reference row: bottom 0 lifts it by its height.
        dx = Share(horizontal, width);
        dy = vertical <= 2 ? -Share(static_cast<uint16_t>(2 - vertical), height) : 0;
    }
}
