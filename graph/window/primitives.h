#pragma once
// The window back-end's pixel and run primitives (the pixel and line slots of every window
// mode) and the two helpers every drawing routine of the back-end shares: the viewport as a
// rectangle of surface pixels, and the damage record of the window drawn on.

#include <cstdint>

#include "graph/graph_state.h"
#include "graph/window/pixel_rect.h"
#include "graph/window/window_thread.h"

// The current viewport in surface coordinates, half-open. Inline: WritePixel and ReadPixel
// clip every pixel against it.
inline PixelRect ViewportOnSurface() {
    return PixelRect::FromCorners(GraphState.viewLeft, GraphState.viewTop, GraphState.viewLeft + GraphState.viewMaxX,
                                  GraphState.viewTop + GraphState.viewMaxY);
}

// DrawLock held: the area (already cut to the buffer) joins the window's damage, which its GUI
// thread presents. Inline, because every pixel passes here and almost always leaves at once
// (the damage already holds it); growing the damage is the slow side, out of line.
void GrowDamage(GraphWindowRecord* window, PixelRect area);
inline void MarkDamage(GraphWindowRecord* window, PixelRect area) {
    if (window->damageAll) [[likely]] return;
    if (!window->damage.IsEmpty() && window->damage.Contains(area)) [[likely]] return;
    GrowDamage(window, area);
}
// The same for the one pixel (x, y), without building its rectangle.
inline void MarkPixelDamage(GraphWindowRecord* window, int32_t x, int32_t y) {
    if (window->damageAll) [[likely]] return;
    if (window->damage.Contains(x, y)) [[likely]] return;
    GrowDamage(window, {x, y, x + 1, y + 1});
}

void BackendPlotPixel(int16_t x, int16_t y);
void BackendWritePixel(int16_t x, int16_t y, uint16_t colour);
uint16_t BackendReadPixel(int16_t x, int16_t y);
// The back-end's ReadPixelRow: the same colours as ReadPixel pixel by pixel, under one lock.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
