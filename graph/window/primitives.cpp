// The window back-end's pixel and run primitives, on the newest window's back-buffer.
// Every primitive holds DrawLock for its whole work on the surface and does nothing while the
// window's surface is not ready (ReadPixel then reports -11). "Back-buffer first, then window":
// the pixels are written to the buffer and then added to the window's damage area, which the
// window's GUI thread presents (backend.h).

#include <cstdlib>

#include "graph/window/backend.h"

namespace {

inline bool Inside(const PixelBuffer& buffer, int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(buffer.width) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(buffer.height);
}

inline uint32_t Combine(uint16_t mode, uint32_t old, uint32_t value) {
    switch (mode) {
        case 1: return old ^ value;
        case 2: return old | value;
        default: return old & value;
    }
}

// Sets columns x1..x2 (surface, x1 <= x2) of row y to value, cut to the buffer.
void FillRow(GraphWindowRecord* window, int32_t x1, int32_t x2, int32_t y, uint32_t value) {
    const PixelBuffer& buffer = window->buffer;
    if (static_cast<uint32_t>(y) >= static_cast<uint32_t>(buffer.height)) return;
    if (x1 < 0) x1 = 0;
    if (x2 >= buffer.width) x2 = buffer.width - 1;
    if (x1 > x2) return;
    if (drawToBuffer) {
        uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        for (int32_t x = x1; x <= x2; ++x) row[x] = value;
    }
    MarkDamage(window, x1, y, x2 + 1, y + 1);
}

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
    int32_t count = GraphState.colorCount < paletteTableCount ? GraphState.colorCount : paletteTableCount;
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

bool drawToBuffer = true;
bool drawToWindow = true;

int32_t PaletteIndexOf(uint32_t colour) {
    int32_t count = paletteTableCount;
    if ((count & (count - 1)) == 0) return static_cast<int32_t>(colour & static_cast<uint32_t>(count - 1));
    return static_cast<int32_t>(colour % static_cast<uint32_t>(count));
}

uint16_t NearestColor(uint8_t red, uint8_t green, uint8_t blue) {
    uint32_t rgb = static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
                   (static_cast<uint32_t>(blue) << 16);
    uint32_t key = rgb | 0x80000000u;
    NearestMemo& memo = nearestMemo[(rgb ^ (rgb >> 10) ^ (rgb >> 20)) & 1023];
    if (memo.key == key && memo.generation == paletteGeneration) return memo.index;
    uint16_t index = SearchNearest(red, green, blue);
    memo = {key, paletteGeneration, index};
    return index;
}

void BackendPlotPixel(int16_t x, int16_t y) {
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    uint16_t mode = GraphState.writeMode;
    uint16_t colour = GraphState.drawColor;
    if (mode == 4) colour = static_cast<uint16_t>(~colour);
    uint32_t value = PixelOfColour(colour);
    // Off the surface the read yields the invalid value and the write is ignored: nothing.
    if (!Inside(window->buffer, x, y)) return;
    uint32_t* pixel = window->buffer.pixels + static_cast<int64_t>(y) * window->buffer.stride + x;
    if (mode >= 1 && mode <= 3) value = Combine(mode, *pixel, value);
    if (drawToBuffer) *pixel = value;
    MarkDamage(window, x, y, x + 1, y + 1);
}

void BackendWritePixel(int16_t x, int16_t y, uint16_t colour) {
    x = static_cast<int16_t>(x + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    if (GraphState.clipOn) {
        if (x < GraphState.viewLeft || x > GraphState.viewLeft + GraphState.viewMaxX) return;
        if (y < GraphState.viewTop || y > GraphState.viewTop + GraphState.viewMaxY) return;
    }
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window) || !Inside(window->buffer, x, y)) return;
    uint32_t value = PixelOfColour(colour);
    if (drawToBuffer) window->buffer.pixels[static_cast<int64_t>(y) * window->buffer.stride + x] = value;
    MarkDamage(window, x, y, x + 1, y + 1);
}

// A point clipped away reads as 0 without touching the surface; so does a surface that is not
// ready (which also reports -11).
uint16_t BackendReadPixel(int16_t x, int16_t y) {
    x = static_cast<int16_t>(x + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    if (GraphState.clipOn) {
        if (x < GraphState.viewLeft || x > GraphState.viewLeft + GraphState.viewMaxX) return 0;
        if (y < GraphState.viewTop || y > GraphState.viewTop + GraphState.viewMaxY) return 0;
    }
    uint32_t rgb;
    {
        DrawingSide lock;
        GraphWindowRecord* window = currentWindow;
        if (!Ready(window)) {
            GraphState.resultCode = GraphErrorGeneral;
            return 0;
        }
        rgb = Inside(window->buffer, x, y)
                  ? PixelToRgb(window->buffer.pixels[static_cast<int64_t>(y) * window->buffer.stride + x])
                  : kInvalidRgb;
    }
    return NearestColor(static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                        static_cast<uint8_t>(rgb >> 16));
}

void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y) {
    if (x2 < x1) std::swap(x1, x2);
    if (GraphState.clipOn) {
        if (x1 > GraphState.viewMaxX || y < 0 || y > GraphState.viewMaxY || x2 < 0) return;
        if (x1 < 0) x1 = 0;
        if (x2 > GraphState.viewMaxX) x2 = GraphState.viewMaxX;
    }
    x1 = static_cast<int16_t>(x1 + GraphState.viewLeft);
    x2 = static_cast<int16_t>(x2 + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    uint16_t mode = GraphState.writeMode;
    if (mode >= 1 && mode <= 3) {
        uint32_t value = PixelOfColour(GraphState.drawColor);
        const PixelBuffer& buffer = window->buffer;
        if (static_cast<uint32_t>(y) >= static_cast<uint32_t>(buffer.height)) return;
        int32_t from = x1 < 0 ? 0 : x1;
        int32_t to = x2 >= buffer.width ? buffer.width - 1 : x2;
        if (from > to) return;
        uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        for (int32_t x = from; x <= to; ++x) {
            uint32_t v = Combine(mode, row[x], value);
            if (drawToBuffer) row[x] = v;
        }
        MarkDamage(window, from, y, to + 1, y + 1);
        return;
    }
    uint16_t colour = GraphState.drawColor;
    if (mode == 4) colour = static_cast<uint16_t>(~colour);
    FillRow(window, x1, x2, y, PixelOfColour(colour));
}

void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2) {
    if (y2 <= y1) std::swap(y1, y2);
    if (GraphState.clipOn) {
        if (x > GraphState.viewMaxX || x < 0 || y1 > GraphState.viewMaxY || y2 < 0) return;
        if (y1 < 0) y1 = 0;
        if (y2 > GraphState.viewMaxY) y2 = GraphState.viewMaxY;
    }
    x = static_cast<int16_t>(x + GraphState.viewLeft);
    y1 = static_cast<int16_t>(y1 + GraphState.viewTop);
    y2 = static_cast<int16_t>(y2 + GraphState.viewTop);
    if (GraphState.writeMode != 0) {
        for (int32_t y = y1; y <= y2; ++y) DriverSlots.PlotPixel(x, static_cast<int16_t>(y));
        return;
    }
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    const PixelBuffer& buffer = window->buffer;
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(buffer.width)) return;
    int32_t from = y1 < 0 ? 0 : y1;
    int32_t to = y2 >= buffer.height ? buffer.height - 1 : y2;
    if (from > to) return;
    uint32_t value = PixelOfColour(GraphState.drawColor);
    if (drawToBuffer) {
        for (int32_t y = from; y <= to; ++y) buffer.pixels[static_cast<int64_t>(y) * buffer.stride + x] = value;
    }
    MarkDamage(window, x, from, x + 1, to + 1);
}
