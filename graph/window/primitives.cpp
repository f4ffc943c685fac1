// The window back-end's slot routines for pixels, runs and lines: adapters from the library's
// slots to the surface operations (surface.h). Each reads the drawing colour and write mode
// from GraphState, makes its clip step (the viewport when clipping, in surface coordinates) and
// runs one surface operation on the newest window's back-buffer through DrawOnNewestSurface,
// which holds DrawLock, does nothing while the surface is not ready and adds what was touched
// to the window's damage ("back-buffer first, then window": the GUI thread presents it). The
// one exception is a copied solid segment, which the buffer's segment memory may already hold.

#include "graph/window/primitives.h"

#include <algorithm>
#include <utility>

#include "graph/graph_internal.h"
#include "graph/window/colour_lookup.h"
#include "graph/window/window_thread.h"

namespace {

// How the drawing colour lands in the current write mode: 1 to 3 combine the colour's pixel
// with the one under it; 4 copies the complement colour's pixel; 0 (and any other) copies.
Ink CurrentInk() {
    const uint16_t colour = GraphState.drawColor;
    switch (GraphState.writeMode) {
        case 1: return {PixelOfColour(colour), PixelCombine::Xor};
        case 2: return {PixelOfColour(colour), PixelCombine::Or};
        case 3: return {PixelOfColour(colour), PixelCombine::And};
        case 4: return {PixelOfColour(static_cast<uint16_t>(~colour)), PixelCombine::Copy};
        default: return {PixelOfColour(colour), PixelCombine::Copy};
    }
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

// The walk from (x1, y1) to (x2, y2), surface coordinates.
PixelRect WalkBetween(const Surface& surface, int16_t x1, int16_t y1, int16_t x2, int16_t y2, Ink ink) {
    SegmentWalk walk;
    const int32_t count = PrepareWalk(x1, y1, x2, y2, walk);
    return WalkSegment(surface, walk, count, ink);
}

// Runs `paint` with the current ink on the newest window's surface under DrawLock, as
// DrawOnNewestSurface does; but in a copy mode, not when the buffer already holds the pixels the
// segment `key` stands for (segment_memory.h). What lands on the surface is fixed by the key
// alone, whatever viewport cut the segment.
template <class Paint>
void PaintUnlessRemembered(uint64_t key, Paint paint) {
    DrawingSide lock;
    GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return;
    // Looked up only for a surface that is ready: with no window there may be no palette.
    const Ink ink = CurrentInk();
    if (ink.combine != PixelCombine::Copy) {
        ++window->drawingGeneration;
    } else if (SeenElseRemembered(window->segments, key, ink.value, window->drawingGeneration)) {
        return;
    }
    DrawOnWindow(window, [&](const Surface& surface) { return paint(surface, ink); });
}

void DrawRun(PixelRect run) {
    DrawOnNewestSurface([&](const Surface& surface) { return PaintArea(surface, run, CurrentInk()); });
}

}  // namespace

// PlotPixel is cut to the buffer only: off it the point is ignored.
void BackendPlotPixel(int16_t x, int16_t y) {
    DrawOnNewestSurface([&](const Surface& surface) { return PlotPoint(surface, x, y, CurrentInk()); });
}

void BackendWritePixel(int16_t x, int16_t y, uint16_t colour) {
    x = SurfaceX(x);
    y = SurfaceY(y);
    if (GraphState.clipOn && !ViewportOnSurface().Contains(x, y)) return;
    DrawOnNewestSurface([&](const Surface& surface) {
        return PlotPoint(surface, x, y, {PixelOfColour(colour), PixelCombine::Copy});
    });
}

// Points of one colour land in any order alike: the damage is what they touched together, and
// the drawing generation moves on once when any of them passes the viewport.
void BackendWritePixels(const GraphPoint* points, int count, uint16_t colour) {
    const bool clip = GraphState.clipOn;
    const PixelRect viewport = ViewportOnSurface();
    DrawingSide lock;
    GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return;
    bool passed = false;
    DrawOnWindow(window, [&](const Surface& surface) {
        const Ink ink{PixelOfColour(colour), PixelCombine::Copy};
        PixelRect touched{0, 0, 0, 0};
        for (int i = 0; i < count; ++i) {
            const int16_t x = SurfaceX(points[i].x), y = SurfaceY(points[i].y);
            if (clip && !viewport.Contains(x, y)) continue;
            passed = true;
            touched = touched.United(PlotPoint(surface, x, y, ink));
        }
        return touched;
    });
    if (passed) ++window->drawingGeneration;
}

// A point lands when its surface point (the viewport point moved by the viewport's corner, with
// the 16-bit wrap) lies on the draw page and, when clipping, in the viewport.
WritablePointArea BackendPointArea() {
    DrawingSide lock;
    const GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return {INT16_MIN, INT16_MIN, INT16_MAX + 1, INT16_MAX + 1};
    PixelRect area = window->Surface().clip;
    if (GraphState.clipOn) area = area.Intersected(ViewportOnSurface());
    const int32_t left = GraphState.viewLeft, top = GraphState.viewTop;
    return {area.left - left, area.top - top, area.right - left, area.bottom - top};
}

// A point clipped away reads as 0 without touching the surface; so does a surface that is not
// ready (which also reports -11).
uint16_t BackendReadPixel(int16_t x, int16_t y) {
    x = SurfaceX(x);
    y = SurfaceY(y);
    if (GraphState.clipOn && !ViewportOnSurface().Contains(x, y)) return 0;
    uint32_t pixel = 0;
    bool inside = false;
    const bool ready = ReadNewestSurface([&](const Surface& surface) {
        inside = surface.clip.Contains(x, y);
        if (inside) pixel = *surface.At(x, y);
    });
    if (!ready) {
        GraphState.resultCode = GraphErrorGeneral;
        return 0;
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
    const int32_t viewLeft = GraphState.viewLeft;
    // The part of the row read from the buffer: the rest is clipped away or off the buffer.
    PixelRect run{0, 0, 0, 0};
    const bool ready = ReadNewestSurface([&](const Surface& surface) {
        const Surface readable = clip ? surface.ClippedTo(viewport) : surface;
        run = readable.clip.Intersected({x1 + viewLeft, sy, x2 + viewLeft + 1, sy + 1});
        if (run.IsEmpty()) return;
        ReadColours(surface, run.left, run.right, sy, buffer + (run.left - viewLeft - x1),
                    [](uint32_t pixel) { return ColourOfPixel(pixel, true); });
    });
    // The rest of the row: clipped away, not ready, or off the buffer.
    auto unread = [&](int32_t x) -> uint16_t {
        if (clip && !viewport.Contains(SurfaceX(static_cast<int16_t>(x)), sy)) return 0;
        if (!ready) {
            GraphState.resultCode = GraphErrorGeneral;
            return 0;
        }
        return ColourOf(0, false);
    };
    const int32_t readFrom = run.IsEmpty() ? x2 + 1 : run.left - viewLeft;
    const int32_t readTo = run.IsEmpty() ? x2 : run.right - 1 - viewLeft;
    for (int32_t x = x1; x < readFrom; ++x) buffer[x - x1] = unread(x);
    for (int32_t x = readTo + 1; x <= x2; ++x) buffer[x - x1] = unread(x);
}

void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y) {
    if (x2 < x1) std::swap(x1, x2);
    DrawRun(SurfaceRun(x1, y, x2, y));
}

void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2) {
    if (y2 <= y1) std::swap(y1, y2);
    const PixelRect run = SurfaceRun(x, y1, x, y2);
    if (run.IsEmpty()) return;
    if (GraphState.writeMode != 0) {
        // A column in another write mode has always been plotted point by point through the
        // PlotPixel slot, each point under a lock of its own: a caller's PlotPixel sees these
        // points, and programs that count or trace them rely on it.
        for (int32_t sy = run.top; sy < run.bottom; ++sy) {
            DriverSlots.PlotPixel(static_cast<int16_t>(run.left), static_cast<int16_t>(sy));
        }
        return;
    }
    DrawRun(run);
}

void BackendDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    // Only a solid thin segment whose pixels would all go to this back-end's own routines is
    // drawn on the surface here: nobody could see them go by one by one. Everything else is the
    // generic routine's, which hands solid axis-parallel lines to the run slots and plots the
    // rest through PlotPixel.
    if (GraphState.strokeStyle != 0 || GraphState.strokeThickness != 1) {
        GenericDrawLine(x1, y1, x2, y2);
        return;
    }
    if (x1 == x2 || y1 == y2) {
        // The run the generic routine would hand the run slot, in copy mode.
        if (GraphState.writeMode != 0 || DriverSlots.DrawHorizontalLine != BackendDrawHorizontalLine ||
            DriverSlots.DrawVerticalLine != BackendDrawVerticalLine) {
            GenericDrawLine(x1, y1, x2, y2);
            return;
        }
        const PixelRect run = SurfaceRun(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
        if (run.IsEmpty()) return;
        PaintUnlessRemembered(SegmentKey(static_cast<int16_t>(run.left), static_cast<int16_t>(run.top),
                                         static_cast<int16_t>(run.right - 1), static_cast<int16_t>(run.bottom - 1)),
                              [&](const Surface& surface, Ink ink) { return PaintArea(surface, run, ink); });
        return;
    }
    if (DriverSlots.PlotPixel != BackendPlotPixel) {
        GenericDrawLine(x1, y1, x2, y2);
        return;
    }
    if (!SegmentToSurface(x1, y1, x2, y2)) return;
    PaintUnlessRemembered(SegmentKey(x1, y1, x2, y2),
                          [&](const Surface& surface, Ink ink) { return WalkBetween(surface, x1, y1, x2, y2, ink); });
}

void BackendFillPatternSpan(int16_t x1, int16_t x2, int16_t y) {
    // A solid row painted by this back-end's own run routine is painted here at once; a mixed
    // row, or any row while a program has its own DrawHorizontalLine, is the generic routine's.
    uint16_t colour;
    if (DriverSlots.DrawHorizontalLine != BackendDrawHorizontalLine || !SolidSpanColour(SurfaceY(y), colour)) {
        GenericFillPatternSpan(x1, x2, y);
        return;
    }
    // What the generic routine hands the run slot: the span translated with the slots' 16-bit
    // arithmetic and cut to the viewport whatever clipOn says, in copy mode.
    const int16_t a = SurfaceX(x1), b = SurfaceX(x2), sy = SurfaceY(y);
    const PixelRect run = PixelRect::FromCorners(std::min(a, b), sy, std::max(a, b), sy).Intersected(ViewportOnSurface());
    DrawOnNewestSurface([&](const Surface& surface) {
        return PaintArea(surface, run, {PixelOfColour(colour), PixelCombine::Copy});
    });
}
