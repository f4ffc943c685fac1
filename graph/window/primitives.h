#pragma once
// The window back-end's pixel and run primitives (the pixel and line slots of every window
// mode), and the viewport as a rectangle of surface pixels, which every drawing routine of the
// back-end clips to.

#include <cstdint>

#include "graph/backend_entries.h"
#include "graph/graph_state.h"
#include "graph/window/pixel_rect.h"

// The current viewport in surface coordinates, half-open. Inline: WritePixel and ReadPixel
// clip every pixel against it.
inline PixelRect ViewportOnSurface() {
    return PixelRect::FromCorners(GraphState.viewLeft, GraphState.viewTop, GraphState.viewLeft + GraphState.viewMaxX,
                                  GraphState.viewTop + GraphState.viewMaxY);
}

void BackendPlotPixel(int16_t x, int16_t y);
// BackendPlotPixel for each point of the walk in turn, under one lock and with one damage step:
// the box of its first and last point (cut to the buffer), which holds the whole walk.
void BackendPlotWalk(const SegmentWalk& walk, int32_t count);
void BackendWritePixel(int16_t x, int16_t y, uint16_t colour);
uint16_t BackendReadPixel(int16_t x, int16_t y);
// The back-end's ReadPixelRow: the same colours as ReadPixel pixel by pixel, under one lock.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
// BackendDrawHorizontalLine for each run in turn, in copy mode and the run's colour, under one
// lock and with one damage step: the box of the runs' pixels.
void BackendPaintRuns(const ColourRun* runs, int32_t count);
void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
