// Colour lookup: the slow paths behind the inline memo checks of colour_lookup.h, and the
// nearest-colour search with its memo.

#include "graph/window/colour_lookup.h"

#include <cstdlib>


namespace {

// NearestColor's memo: exact results of earlier searches, keyed by RGB value, valid for one
// palette generation. Only the drawing thread searches.
struct NearestMemo {
    uint32_t key;  // rgb | 0x80000000 when valid
    uint32_t generation;
    uint16_t index;
};
NearestMemo nearestMemo[1024];

uint16_t SearchNearest(uint8_t red, uint8_t green, uint8_t blue) {
    int32_t best = 0x7FFFFFFF;
    uint16_t bestIndex = 0;
    const PaletteEntry* table = GraphState.paletteTable;
    int32_t count = GraphState.colorCount < Backend.paletteTableCount ? GraphState.colorCount : Backend.paletteTableCount;
    if (table == nullptr) return 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t distance = std::abs(red - table[i].red) + std::abs(green - table[i].green) +
                           std::abs(blue - table[i].blue);
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<uint16_t>(i);
            if (distance == 0) break;
        }
    }
    return bestIndex;
}

}  // namespace

int32_t PaletteIndexOf(uint32_t colour) {
    int32_t count = Backend.paletteTableCount;
    if ((count & (count - 1)) == 0) return static_cast<int32_t>(colour & static_cast<uint32_t>(count - 1));
    return static_cast<int32_t>(colour % static_cast<uint32_t>(count));
}

uint16_t NearestColor(uint8_t red, uint8_t green, uint8_t blue) {
    uint32_t rgb = static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
                   (static_cast<uint32_t>(blue) << 16);
    uint32_t key = rgb | 0x80000000u;
    NearestMemo& memo = nearestMemo[(rgb ^ (rgb >> 10) ^ (rgb >> 20)) & 1023];
    if (memo.key != key || memo.generation != Backend.paletteGeneration) {
        memo = {key, Backend.paletteGeneration, SearchNearest(red, green, blue)};
    }
    return memo.index;
}

uint32_t LookUpColour(uint32_t colour) {
    const PaletteEntry& entry = GraphState.paletteTable[PaletteIndexOf(colour)];
    Backend.colourMemo = {colour, Backend.paletteGeneration, RgbToPixel(ColorToRgb(entry.red, entry.green, entry.blue))};
    return Backend.colourMemo.pixel;
}

uint16_t ColourOfPixel(uint32_t pixel, bool inside) {
    uint32_t rgb = inside ? PixelToRgb(pixel) : kInvalidRgb;
    uint16_t index = NearestColor(static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                  static_cast<uint8_t>(rgb >> 16));
    if (inside) Backend.readMemo = {pixel, Backend.paletteGeneration, index};
    return index;
}
