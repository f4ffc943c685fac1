// The default palette (built from its rules), the palette slot routines and the
// page routines of the window back-end.

#include "graph/window/palette.h"

#include "graph/window/backend_state.h"
#include "runtime/heap.h"

namespace {

constexpr std::array<PaletteEntry, 256> BuildDefaultPalette() {
    std::array<PaletteEntry, 256> table{};
    // Entries 0..15: the 16 EGA colours, from the 2-bit intensity rule (0, 168; bright +84),
    // with brown (entry 6) having half green.
    for (int i = 0; i < 16; ++i) {
        int16_t high = (i & 8) ? 84 : 0;
        auto level = [&](int bit) -> int16_t { return static_cast<int16_t>(((i & bit) ? 168 : 0) + high); };
        table[i] = {level(4), level(2), level(1)};
    }
    table[6].green = 84;
    // Entries 16..31: the grey ramp.
    constexpr int16_t greys[16] = {0, 20, 32, 44, 56, 68, 80, 96, 112, 128, 144, 160, 180, 200, 224, 252};
    for (int i = 0; i < 16; ++i) table[16 + i] = {greys[i], greys[i], greys[i]};
    // Entries 32..247: nine blocks of 24 round the colour circle.
    constexpr int16_t levels[9][5] = {
        {0, 64, 124, 188, 252},  {124, 156, 188, 220, 252}, {180, 196, 216, 232, 252},
        {0, 28, 56, 84, 112},    {56, 68, 84, 96, 112},     {80, 88, 96, 104, 112},
        {0, 16, 32, 48, 64},     {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64},
    };
    // Level numbers (red, green, blue) of the 24 entries of a block.
    constexpr int8_t circle[24][3] = {
        {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
        {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
        {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4},
    };
    for (int k = 0; k < 9; ++k) {
        for (int e = 0; e < 24; ++e) {
            table[32 + 24 * k + e] = {levels[k][circle[e][0]], levels[k][circle[e][1]],
                                      levels[k][circle[e][2]]};
        }
    }
    // Entries 248..255 stay black.
    return table;
}

bool PaletteIndexRefused(int16_t index) {
    return GraphState.noPalette || index < 0 || index >= GraphState.colorCount ||
           GraphState.paletteTable == nullptr || index >= Backend.paletteTableCount;
}

}  // namespace

const std::array<PaletteEntry, 256> defaultPalette = BuildDefaultPalette();


// The window system this library grew up on kept a pen per colour; there are no drawing objects here: here every run looks its colour up
// in paletteTable afresh, which keeps its observable rule: a run after WritePaletteEntry uses
// the new colour, and nothing already drawn changes.
void BackendWritePaletteEntry(int16_t index, int16_t red, int16_t green, int16_t blue) {
    if (PaletteIndexRefused(index)) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.paletteTable[index] = {red, green, blue};
    ++Backend.paletteGeneration;
}

void BackendReadPaletteEntry(int16_t index, int16_t& red, int16_t& green, int16_t& blue) {
    if (PaletteIndexRefused(index)) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    const PaletteEntry& entry = GraphState.paletteTable[index];
    red = entry.red;
    green = entry.green;
    blue = entry.blue;
}

void MakePaletteTable() {
    // The earlier table is no longer referenced by anything, so it is released now.
    ReleasePaletteTable();
    int32_t count = GraphState.colorCount;
    if (count < 1) count = 1;
    if (count > 256) count = 256;
    GraphState.paletteTable = HeapAllocateOf<PaletteEntry>(count * static_cast<int32_t>(sizeof(PaletteEntry)));
    for (int32_t i = 0; i < count; ++i) GraphState.paletteTable[i] = defaultPalette[i];
    Backend.paletteTableCount = count;
    ++Backend.paletteGeneration;
}

void ReleasePaletteTable() {
    if (GraphState.paletteTable != nullptr) {
        HeapReleaseSized(GraphState.paletteTable, Backend.paletteTableCount * static_cast<int32_t>(sizeof(PaletteEntry)));
    }
    GraphState.paletteTable = nullptr;
    Backend.paletteTableCount = 0;
    ++Backend.paletteGeneration;
}
