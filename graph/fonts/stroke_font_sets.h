#pragma once
// The glyph sets of the registered fonts 1 to 10, made at build time from the Hershey fonts by
// tools/stroke_fonts, in the stroke encoding of FontRecord.

#include <cstdint>

#include "graph/graph_state.h"

struct StrokeFontSet {
    const char* name;    // the registered font name it belongs to
    const char* source;  // the Hershey file it was made from
    int widthPercent;    // the horizontal stretch it was made with
    const uint8_t* data;
    int32_t dataSize;
    uint8_t firstChar;
    int16_t charCount;
    const uint16_t* strokeOffsets;  // charCount entries from firstChar on
    const uint8_t* advanceWidths;
    int8_t topExtent;
    int8_t descentExtent;
};

extern const StrokeFontSet kStrokeFontSets[];
extern const int kStrokeFontSetCount;

// Gives font 1..10, while it has no data and still bears its registered name, the glyphs of its
// set, copied into the heap as every font's data is (the exit handler releases it). Any other
// font is left alone.
void LoadStrokeFontSet(uint16_t fontNumber);
