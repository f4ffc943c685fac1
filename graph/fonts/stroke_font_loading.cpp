// Fonts 1 to 10 get their glyphs when first selected, so a program that writes no stroke text
// holds none of them on its heap.

#include <cstring>

#include "graph/fonts/stroke_font_sets.h"
#include "runtime/heap.h"

void LoadStrokeFontSet(uint16_t fontNumber) {
    if (fontNumber < 1 || fontNumber > kStrokeFontSetCount || fontNumber > GraphState.fontCount) return;
    FontRecord& font = GraphState.fontTable[fontNumber - 1];
    const StrokeFontSet& set = kStrokeFontSets[fontNumber - 1];
    if (font.data != nullptr || std::strcmp(font.name, set.name) != 0) return;
    font.data = HeapAllocateOf<uint8_t>(set.dataSize);
    std::memcpy(font.data, set.data, static_cast<size_t>(set.dataSize));
    font.dataSize = set.dataSize;
    font.firstChar = set.firstChar;
    font.charCount = set.charCount;
    font.topExtent = set.topExtent;
    font.descentExtent = set.descentExtent;
    for (int k = 0; k < set.charCount; ++k) {
        font.strokeOffsets[set.firstChar + k] = set.strokeOffsets[k];
        font.advanceWidths[set.firstChar + k] = set.advanceWidths[k];
    }
}
