// The window back-end's pixel and run primitives, on the newest window's back-buffer.
// Every primitive holds DrawLock for its whole work on the surface and does nothing while the
// window's surface is not ready (ReadPixel then reports -11). "Back-buffer first, then window":
// the pixels are written to the buffer and then added to the window's damage area, which the
// window's GUI thread presents (backend.h).

#include <cstdlib>

#include "graph/window/backend.h"

namespace {

inline bool Ready(const GraphWindowRecord* window) { return window != nullptr && window->surfaceReady; }

// The buffer pixel of a colour number. The last answer is remembered for the palette generation
// it was computed in, so a palette change is seen at once.
struct ColourMemo {
    uint32_t colour;
    uint32_t generation;  // 0: nothing remembered
    uint32_t pixel;
};
ColourMemo colourMemo{0, 0, 0};

__attribute__((noinline)) uint32_t LookUpColour(uint32_t colour) {
    const PaletteEntry& entry = GraphState.paletteTable[PaletteIndexOf(colour)];
    colourMemo = {colour, paletteGeneration, RgbToPixel(ColorToRgb(entry.red, entry.green, entry.blue))};
    return colourMemo.pixel;
}

inline uint32_t PixelOfColour(uint32_t colour) {
    if (colourMemo.colour == colour && colourMemo.generation == paletteGeneration) [[likely]] {
        return colourMemo.pixel;
    }
    return LookUpColour(colour);
}

// The colour a primitive draws in under write modes 0 and 4.
inline uint32_t DrawPixelValue() {
    uint16_t colour = GraphState.drawColor;
    if (GraphState.writeMode == 4) colour = static_cast<uint16_t>(~colour);
    return PixelOfColour(colour);
}

inline bool CombiningMode(uint16_t mode) { return mode >= 1 && mode <= 3; }

inline uint32_t Combine(uint16_t mode, uint32_t old, uint32_t value) {
    switch (mode) {
        case 1: return old ^ value;
        case 2: return old | value;
        default: return old & value;
    }
}

// What PlotPixel writes over `old` in any write mode.
__attribute__((noinline)) uint32_t PlottedValue(uint16_t mode, uint32_t old) {
    return CombiningMode(mode) ? Combine(mode, old, PixelOfColour(GraphState.drawColor)) : DrawPixelValue();
}

inline bool Inside(const PixelBuffer& buffer, int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(buffer.width) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(buffer.height);
}

inline uint32_t* PixelAt(const PixelBuffer& buffer, int32_t x, int32_t y) {
    return buffer.pixels + static_cast<int64_t>(y) * buffer.stride + x;
}

// The second write: the area joins the window's damage; the first damage since the last
// present wakes the window's GUI thread. A non-empty damage area has always been posted.
__attribute__((noinline)) void GrowDamage(GraphWindowRecord* window, int32_t left, int32_t top, int32_t right,
                                          int32_t bottom) {
    PixelRect& damage = window->damage;
    if (damage.right <= damage.left) {
        damage = {left, top, right, bottom};
    } else {
        if (left < damage.left) damage.left = left;
        if (top < damage.top) damage.top = top;
        if (right > damage.right) damage.right = right;
        if (bottom > damage.bottom) damage.bottom = bottom;
    }
    // Once a quarter of the buffer is damaged, the whole of it is: later pixels then cost a
    // single test until the next present.
    const PixelBuffer& buffer = window->buffer;
    if (static_cast<int64_t>(damage.right - damage.left) * (damage.bottom - damage.top) * 4 >=
        static_cast<int64_t>(buffer.width) * buffer.height) {
        damage = {0, 0, buffer.width, buffer.height};
        window->damageAll = true;
    }
    if (!window->damagePosted) {
        window->damagePosted = true;
        SelectedDisplay().PostDamage(window->handle);
    }
}

inline void MarkDamage(GraphWindowRecord* window, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (window->damageAll) [[likely]] return;
    const PixelRect& damage = window->damage;
    if (left >= damage.left && right <= damage.right && top >= damage.top && bottom <= damage.bottom &&
        damage.left < damage.right) [[likely]] {
        return;
    }
    GrowDamage(window, left, top, right, bottom);
}

// Sets columns x1..x2 (surface, x1 <= x2) of row y to value, cut to the buffer.
void FillRow(GraphWindowRecord* window, int32_t x1, int32_t x2, int32_t y, uint32_t value) {
    const PixelBuffer& buffer = window->buffer;
    if (static_cast<uint32_t>(y) >= static_cast<uint32_t>(buffer.height)) return;
    if (x1 < 0) x1 = 0;
    if (x2 >= buffer.width) x2 = buffer.width - 1;
    if (x1 > x2) return;
    uint32_t* row = PixelAt(buffer, 0, y);
    for (int32_t x = x1; x <= x2; ++x) row[x] = value;
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
    if (memo.key != key || memo.generation != paletteGeneration) {
        memo = {key, paletteGeneration, SearchNearest(red, green, blue)};
    }
    return memo.index;
}

void BackendPlotPixel(int16_t x, int16_t y) {
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    // Off the surface the read yields the invalid value and the write is ignored: nothing.
    if (!Ready(window) || !Inside(window->buffer, x, y)) return;
    uint32_t* pixel = PixelAt(window->buffer, x, y);
    const uint16_t mode = GraphState.writeMode;
    if (mode == 0 && colourMemo.colour == GraphState.drawColor && colourMemo.generation == paletteGeneration)
        [[likely]] {
        *pixel = colourMemo.pixel;
    } else {
        *pixel = PlottedValue(mode, *pixel);
    }
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
    *PixelAt(window->buffer, x, y) = PixelOfColour(colour);
    MarkDamage(window, x, y, x + 1, y + 1);
}

namespace {

// ReadPixel's memo of its last answer: the buffer pixel read and the colour number it gave, for
// one palette generation. A run of equal pixels costs one search.
struct ReadMemo {
    uint32_t pixel;
    uint32_t generation;  // 0: nothing remembered
    uint16_t index;
};
ReadMemo readMemo{0, 0, 0};

__attribute__((noinline)) uint16_t ColourOfPixel(uint32_t pixel, bool inside) {
    uint32_t rgb = inside ? PixelToRgb(pixel) : kInvalidRgb;
    uint16_t index = NearestColor(static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                  static_cast<uint8_t>(rgb >> 16));
    if (inside) readMemo = {pixel, paletteGeneration, index};
    return index;
}

inline uint16_t ColourOf(uint32_t pixel, bool inside) {
    if (inside && pixel == readMemo.pixel && readMemo.generation == paletteGeneration) [[likely]] {
        return readMemo.index;
    }
    return ColourOfPixel(pixel, inside);
}

inline bool OutsideViewportRows(int16_t y) {
    return y < GraphState.viewTop || y > GraphState.viewTop + GraphState.viewMaxY;
}
inline bool OutsideViewportColumns(int16_t x) {
    return x < GraphState.viewLeft || x > GraphState.viewLeft + GraphState.viewMaxX;
}

}  // namespace

// A point clipped away reads as 0 without touching the surface; so does a surface that is not
// ready (which also reports -11).
uint16_t BackendReadPixel(int16_t x, int16_t y) {
    x = static_cast<int16_t>(x + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    if (GraphState.clipOn && (OutsideViewportColumns(x) || OutsideViewportRows(y))) return 0;
    uint32_t pixel = 0;
    bool inside;
    {
        DrawingSide lock;
        GraphWindowRecord* window = currentWindow;
        if (!Ready(window)) {
            GraphState.resultCode = GraphErrorGeneral;
            return 0;
        }
        inside = Inside(window->buffer, x, y);
        if (inside) pixel = *PixelAt(window->buffer, x, y);
    }
    // The search runs outside the lock.
    return ColourOf(pixel, inside);
}

// Exactly ReadPixel for each x from x1 to x2, as one primitive: one hold of DrawLock for the run.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer) {
    if (x1 > x2) return;
    y = static_cast<int16_t>(y + GraphState.viewTop);
    const bool clip = GraphState.clipOn;
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    const bool ready = Ready(window);
    if (ready && clip && !OutsideViewportRows(y)) {
        // The usual case: the clipped run lies on the surface, so only the memo is consulted.
        int32_t from = x1 < 0 ? 0 : x1;
        int32_t to = x2 > GraphState.viewMaxX ? GraphState.viewMaxX : x2;
        const int32_t left = GraphState.viewLeft;
        if (to + left >= window->buffer.width) to = window->buffer.width - 1 - left;
        if (static_cast<uint32_t>(y) < static_cast<uint32_t>(window->buffer.height) && from <= to) {
            for (int32_t x = x1; x < from; ++x) buffer[x - x1] = 0;
            for (int32_t x = to + 1; x <= x2; ++x) buffer[x - x1] = 0;
            const uint32_t* row = PixelAt(window->buffer, left, y);
            bool known = readMemo.generation == paletteGeneration;
            uint32_t knownPixel = readMemo.pixel;
            uint16_t knownIndex = readMemo.index;
            for (int32_t x = from; x <= to; ++x) {
                if (!known || row[x] != knownPixel) [[unlikely]] {
                    knownIndex = ColourOfPixel(row[x], true);
                    knownPixel = row[x];
                    known = true;
                }
                buffer[x - x1] = knownIndex;
            }
            return;
        }
    }
    const bool rowClipped = clip && OutsideViewportRows(y);
    const bool rowInside = ready && static_cast<uint32_t>(y) < static_cast<uint32_t>(window->buffer.height);
    for (int32_t x = x1; x <= x2; ++x) {
        int16_t sx = static_cast<int16_t>(x + GraphState.viewLeft);
        uint16_t& out = buffer[x - x1];
        if (rowClipped || (clip && OutsideViewportColumns(sx))) {
            out = 0;
        } else if (!ready) {
            GraphState.resultCode = GraphErrorGeneral;
            out = 0;
        } else {
            bool inside = rowInside && static_cast<uint32_t>(sx) < static_cast<uint32_t>(window->buffer.width);
            out = ColourOf(inside ? PixelAt(window->buffer, sx, y)[0] : 0, inside);
        }
    }
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
    if (!CombiningMode(mode)) {
        FillRow(window, x1, x2, y, DrawPixelValue());
        return;
    }
    const PixelBuffer& buffer = window->buffer;
    if (static_cast<uint32_t>(y) >= static_cast<uint32_t>(buffer.height)) return;
    int32_t from = x1 < 0 ? 0 : x1;
    int32_t to = x2 >= buffer.width ? buffer.width - 1 : x2;
    if (from > to) return;
    uint32_t value = PixelOfColour(GraphState.drawColor);
    uint32_t* row = PixelAt(buffer, 0, y);
    for (int32_t x = from; x <= to; ++x) row[x] = Combine(mode, row[x], value);
    MarkDamage(window, from, y, to + 1, y + 1);
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
    for (int32_t y = from; y <= to; ++y) *PixelAt(buffer, x, y) = value;
    MarkDamage(window, x, from, x + 1, to + 1);
}

uint32_t BackendPixelOfColour(uint32_t colour) { return PixelOfColour(colour); }

void BackendMarkDamage(GraphWindowRecord* window, PixelRect area) {
    MarkDamage(window, area.left, area.top, area.right, area.bottom);
}
