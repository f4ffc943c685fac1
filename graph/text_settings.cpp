// The public text operations: the text style, the justification and writing text.

#include "graph/fonts/stroke_font_sets.h"
#include "graph/text.h"

void SelectTextStyle(uint16_t font, uint16_t direction, uint16_t size) {
    if (font > kFontTableSize || direction > 1) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    LoadStrokeFontSet(font);
    GraphState.textFont = font;
    GraphState.textDirection = direction;
    GraphState.textSize = size;
    GraphState.strokeScaleX = StrokeScaleForSize(size);
    GraphState.strokeScaleY = StrokeScaleForSize(size);
}

void ScaleStrokeText(uint16_t xMultiplier, uint16_t xDivisor, uint16_t yMultiplier, uint16_t yDivisor) {
    if (xDivisor == 0 || yDivisor == 0) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.strokeScaleX = static_cast<float>(xMultiplier) / static_cast<float>(xDivisor);
    GraphState.strokeScaleY = static_cast<float>(yMultiplier) / static_cast<float>(yDivisor);
}

void SelectTextJustify(uint16_t horizontal, uint16_t vertical) {
    if (horizontal > 2 || vertical > 2) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.textHorizJustify = horizontal;
    GraphState.textVertJustify = vertical;
}

void DrawTextAt(int16_t x, int16_t y, const LengthPrefixedString& text) {
    DriverSlots.DrawTextOp(x, y, text);
}
