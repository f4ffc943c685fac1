// The window back-end's pixel and run primitives, on the newest window's back-buffer.
// Every primitive holds DrawLock for its whole work on the surface and does nothing while the
// window's surface is not ready (ReadPixel then reports -11). "Back-buffer first, then window":
// the pixels are written to the buffer and then added to the window's damage area, which the
// window's GUI thread presents (window_thread.h). Each primitive starts with one clip step: the
// pixels it may touch are the viewport (when clipping) intersected with the buffer.

#include "graph/window/primitives.h"

#include <algorithm>
#include <utility>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "graph/window/colour_lookup.h"
#include "graph/window/window_thread.h"

namespace {

inline bool Ready(const GraphWindowRecord* window) { return window != nullptr && window->surfaceReady; }

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

// What PlotPixel writes over `old` in a write mode other than copy.
__attribute__((noinline)) uint32_t PlottedValue(uint16_t mode, uint32_t old) {
    return CombiningMode(mode) ? Combine(mode, old, PixelOfColour(GraphState.drawColor)) : DrawPixelValue();
}

// BufferRect(buffer).Contains(x, y) in two compares: a buffer's size is never negative.
inline bool InsideBuffer(const PixelBuffer& buffer, int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(buffer.width) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(buffer.height);
}

inline uint32_t* PixelAt(const PixelBuffer& buffer, int32_t x, int32_t y) {
    return buffer.pixels + static_cast<int64_t>(y) * buffer.stride + x;
}

// Sets the pixels from `first` up to `last` (not included) to `value`. The compiler's own loop
// stores one pixel at a time, which made painting a whole row cost as much as reading it.
inline void FillPixels(uint32_t* first, uint32_t* last, uint32_t value) {
#ifdef __SSE2__
    const __m128i four = _mm_set1_epi32(static_cast<int32_t>(value));
    for (; last - first >= 8; first += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + 4), four);
    }
#endif
    for (; first < last; ++first) *first = value;
}

// Draws the run (one row or one column of surface pixels) in the drawing colour and write mode.
void DrawRun(PixelRect run) {
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    const PixelBuffer& buffer = window->buffer;
    run = run.Intersected(BufferRect(buffer));
    if (run.IsEmpty()) return;
    const uint16_t mode = GraphState.writeMode;
    const bool combining = CombiningMode(mode);
    const uint32_t value = combining ? PixelOfColour(GraphState.drawColor) : DrawPixelValue();
    for (int32_t y = run.top; y < run.bottom; ++y) {
        uint32_t* row = PixelAt(buffer, 0, y);
        if (combining) {
            for (int32_t x = run.left; x < run.right; ++x) row[x] = Combine(mode, row[x], value);
        } else {
            FillPixels(row + run.left, row + run.right, value);
        }
    }
    MarkDamage(window, run);
}

// A viewport point in surface coordinates, with the slots' 16-bit arithmetic.
inline int16_t SurfaceX(int16_t x) { return static_cast<int16_t>(x + GraphState.viewLeft); }
inline int16_t SurfaceY(int16_t y) { return static_cast<int16_t>(y + GraphState.viewTop); }

// The clip step of the run routines: the run from (x1, y1) to (x2, y2), viewport coordinates and
// both ends included, as surface pixels cut to the viewport when clipping. Unclipped, its ends
// are translated with the slots' 16-bit arithmetic, as single points are.
PixelRect SurfaceRun(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    if (GraphState.clipOn) {
        const int32_t left = GraphState.viewLeft, top = GraphState.viewTop;
        return PixelRect::FromCorners(x1 + left, y1 + top, x2 + left, y2 + top).Intersected(ViewportOnSurface());
    }
    return PixelRect::FromCorners(SurfaceX(x1), SurfaceY(y1), SurfaceX(x2), SurfaceY(y2));
}

}  // namespace

void BackendPlotPixel(int16_t x, int16_t y) {
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    // The clip step: PlotPixel is cut to the buffer only. Off it the read yields the invalid
    // value and the write is ignored: nothing.
    if (!Ready(window) || !InsideBuffer(window->buffer, x, y)) return;
    uint32_t* pixel = PixelAt(window->buffer, x, y);
    const uint16_t mode = GraphState.writeMode;
    *pixel = mode == 0 ? PixelOfColour(GraphState.drawColor) : PlottedValue(mode, *pixel);
    MarkPixelDamage(window, x, y);
}

void BackendPlotWalk(const SegmentWalk& walk, int32_t count) {
    if (count <= 0) return;
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    const PixelBuffer& buffer = window->buffer;
    const PixelRect box = PixelRect::FromCorners(std::min(walk.x, walk.endX), std::min(walk.y, walk.endY),
                                                 std::max(walk.x, walk.endX), std::max(walk.y, walk.endY));
    const PixelRect damage = box.Intersected(BufferRect(buffer));
    if (damage.IsEmpty()) return;
    const uint16_t mode = GraphState.writeMode;
    if (mode == 0 && damage == box) {
        // The chaos game's case: every point on the buffer, plain copies. The walk's steps
        // become steps of a pixel pointer.
        const uint32_t value = PixelOfColour(GraphState.drawColor);
        uint32_t* pixel = PixelAt(buffer, walk.x, walk.y);
        const int64_t straight = walk.straightX + int64_t{walk.straightY} * buffer.stride;
        const int64_t diagonal = walk.sx + int64_t{walk.sy} * buffer.stride;
        const int64_t straightInc = walk.straightInc, diagonalInc = walk.diagonalInc;
        int64_t d = walk.d;
        for (int32_t i = 0; i < count; ++i) {
            *pixel = value;
            if (d < 0) {
                d += straightInc;
                pixel += straight;
            } else {
                d += diagonalInc;
                pixel += diagonal;
            }
        }
    } else {
        SegmentWalk at = walk;
        for (int32_t i = 0; i < count; ++i) {
            if (InsideBuffer(buffer, at.x, at.y)) {
                uint32_t* pixel = PixelAt(buffer, at.x, at.y);
                *pixel = mode == 0 ? PixelOfColour(GraphState.drawColor) : PlottedValue(mode, *pixel);
            }
            at.Step();
        }
    }
    MarkDamage(window, damage);
}

void BackendWritePixel(int16_t x, int16_t y, uint16_t colour) {
    x = SurfaceX(x);
    y = SurfaceY(y);
    if (GraphState.clipOn && !ViewportOnSurface().Contains(x, y)) return;
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window) || !InsideBuffer(window->buffer, x, y)) return;
    *PixelAt(window->buffer, x, y) = PixelOfColour(colour);
    MarkPixelDamage(window, x, y);
}

// A point clipped away reads as 0 without touching the surface; so does a surface that is not
// ready (which also reports -11).
uint16_t BackendReadPixel(int16_t x, int16_t y) {
    x = SurfaceX(x);
    y = SurfaceY(y);
    if (GraphState.clipOn && !ViewportOnSurface().Contains(x, y)) return 0;
    uint32_t pixel = 0;
    bool inside;
    {
        DrawingSide lock;
        GraphWindowRecord* window = currentWindow;
        if (!Ready(window)) {
            GraphState.resultCode = GraphErrorGeneral;
            return 0;
        }
        inside = InsideBuffer(window->buffer, x, y);
        if (inside) pixel = *PixelAt(window->buffer, x, y);
    }
    // The search runs outside the lock.
    return ColourOf(pixel, inside);
}

// Exactly ReadPixel for each x from x1 to x2, as one primitive: one hold of DrawLock for the run.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer) {
    if (x1 > x2) return;
    const int16_t sy = SurfaceY(y);
    const bool clip = GraphState.clipOn;
    const PixelRect viewport = ViewportOnSurface();
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    const bool ready = Ready(window);
    // The clip step: the part of the row that is read from the buffer.
    PixelRect readable = ready ? BufferRect(window->buffer) : PixelRect{0, 0, 0, 0};
    if (clip) readable = readable.Intersected(viewport);
    const int32_t viewLeft = GraphState.viewLeft;
    const PixelRect run = readable.Intersected({x1 + viewLeft, sy, x2 + viewLeft + 1, sy + 1});
    // The rest of the row: clipped away, not ready, or off the buffer.
    auto unread = [&](int32_t x) -> uint16_t {
        if (clip && !viewport.Contains(SurfaceX(static_cast<int16_t>(x)), sy)) return 0;
        if (!ready) {
            GraphState.resultCode = GraphErrorGeneral;
            return 0;
        }
        return ColourOf(0, false);
    };
    if (run.IsEmpty()) {
        for (int32_t x = x1; x <= x2; ++x) buffer[x - x1] = unread(x);
        return;
    }
    const int32_t from = run.left - viewLeft, to = run.right - 1 - viewLeft;
    for (int32_t x = x1; x < from; ++x) buffer[x - x1] = unread(x);
    // The usual case: a run of equal pixels costs one lookup.
    const uint32_t* row = PixelAt(window->buffer, run.left, sy);
    uint16_t* out = buffer + (from - x1);
    const int32_t count = run.right - run.left;
    // The last two pixel values looked up are remembered: a row that alternates between a
    // border and the area inside it (a maze, a grid) then costs no palette search after its
    // first two pixels. The palette cannot change during the row (it is changed from this
    // thread only).
    uint32_t knownPixel = row[0];
    uint16_t knownIndex = ColourOf(knownPixel, true);
    uint32_t otherPixel = knownPixel;
    uint16_t otherIndex = knownIndex;
    auto lookUp = [&](int32_t i) {
        const uint32_t pixel = row[i];
        if (pixel != knownPixel) [[unlikely]] {
            std::swap(knownPixel, otherPixel);
            std::swap(knownIndex, otherIndex);
            if (pixel != knownPixel) {
                knownPixel = pixel;
                knownIndex = ColourOfPixel(pixel, true);
            }
        }
        out[i] = knownIndex;
    };
    int32_t i = 0;
#ifdef __SSE2__
    // Eight pixels at a time: those that all equal the last one looked up take one store.
    for (; i + 8 <= count; i += 8) {
        const __m128i known = _mm_set1_epi32(static_cast<int32_t>(knownPixel));
        const __m128i low = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), known);
        const __m128i high = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i + 4)), known);
        if (_mm_movemask_epi8(_mm_and_si128(low, high)) == 0xFFFF) [[likely]] {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_set1_epi16(static_cast<int16_t>(knownIndex)));
        } else {
            for (int32_t j = i; j < i + 8; ++j) lookUp(j);
        }
    }
#endif
    for (; i < count; ++i) lookUp(i);
    for (int32_t x = to + 1; x <= x2; ++x) buffer[x - x1] = unread(x);
}

void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y) {
    if (x2 < x1) std::swap(x1, x2);
    DrawRun(SurfaceRun(x1, y, x2, y));
}

void BackendPaintRuns(const ColourRun* runs, int32_t count) {
    if (count <= 0) return;
    DrawingSide lock;
    GraphWindowRecord* window = currentWindow;
    if (!Ready(window)) return;
    const PixelBuffer& buffer = window->buffer;
    const PixelRect onBuffer = BufferRect(buffer);
    PixelRect damage{0, 0, 0, 0};
    // Neighbouring runs are mostly of one colour: one lookup for each change.
    uint16_t colour = runs[0].colour;
    uint32_t value = PixelOfColour(colour);
    for (int32_t i = 0; i < count; ++i) {
        const ColourRun& run = runs[i];
        const PixelRect area = SurfaceRun(std::min(run.left, run.right), run.y, std::max(run.left, run.right), run.y)
                                   .Intersected(onBuffer);
        if (area.IsEmpty()) continue;
        if (run.colour != colour) {
            colour = run.colour;
            value = PixelOfColour(colour);
        }
        FillPixels(PixelAt(buffer, area.left, area.top), PixelAt(buffer, area.right, area.top), value);
        damage = damage.United(area);
    }
    if (!damage.IsEmpty()) MarkDamage(window, damage);
}

void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2) {
    if (y2 <= y1) std::swap(y1, y2);
    const PixelRect run = SurfaceRun(x, y1, x, y2);
    if (run.IsEmpty()) return;
    if (GraphState.writeMode != 0) {
        // Other write modes go pixel by pixel through the PlotPixel slot, which applies the mode.
        for (int32_t sy = run.top; sy < run.bottom; ++sy) {
            DriverSlots.PlotPixel(static_cast<int16_t>(run.left), static_cast<int16_t>(sy));
        }
        return;
    }
    DrawRun(run);
}
