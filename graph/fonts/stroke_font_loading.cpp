// Fonts 1 to 10 get their glyphs when first selected, so a program that writes no stroke text
// holds none of them on its heap.

#include <cstring>

#include "graph/fonts/stroke_font_sets.h"
#include "runtime/heap.h"

void LoadStrokeFontSet(FontRecord& font) {
    if (font.data != nullptr) return;
    for (int i = 0; i < kStrokeFontSetCount; ++i) {
        const StrokeFontSet& set = kStrokeFontSets[i];
        if (std::strcmp(font.name, set.name) != 0) continue;
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
        return;
    }
}
