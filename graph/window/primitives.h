#pragma once
// The window back-end's pixel and run primitives (the pixel and line slots of every window
// mode) and the two helpers every drawing routine of the back-end shares: the viewport as a
// rectangle of surface pixels, and the damage record of the window drawn on.

#include <cstdint>

#include "graph/window/pixel_rect.h"
#include "graph/window/window_thread.h"

// The current viewport in surface coordinates, half-open.
PixelRect ViewportOnSurface();

// DrawLock held: the area (already cut to the buffer) joins the window's damage, which its GUI
// thread presents.
void MarkDamage(GraphWindowRecord* window, PixelRect area);

void BackendPlotPixel(int16_t x, int16_t y);
void BackendWritePixel(int16_t x, int16_t y, uint16_t colour);
uint16_t BackendReadPixel(int16_t x, int16_t y);
// The back-end's ReadPixelRow: the same colours as ReadPixel pixel by pixel, under one lock.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
