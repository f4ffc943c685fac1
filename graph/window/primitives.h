#pragma once
// The window back-end's pixel, run and line routines (the pixel and line slots of every window
// mode), and the viewport as a rectangle of surface pixels, which every drawing routine of the
// back-end clips to.

#include <cstdint>

#include "graph/backend_entries.h"
#include "graph/graph.h"
#include "graph/graph_state.h"
#include "graph/window/pixel_rect.h"

// The current viewport in surface coordinates, half-open. Inline: WritePixel and ReadPixel
// clip every pixel against it.
inline PixelRect ViewportOnSurface() {
    return PixelRect::FromCorners(GraphState.viewLeft, GraphState.viewTop, GraphState.viewLeft + GraphState.viewMaxX,
                                  GraphState.viewTop + GraphState.viewMaxY);
}

void BackendPlotPixel(int16_t x, int16_t y);
void BackendWritePixel(int16_t x, int16_t y, uint16_t colour);
// BackendWritePixel for each point, in one hold of DrawLock (BackendEntries.WritePixels).
void BackendWritePixels(const GraphPoint* points, int count, uint16_t colour);
// Where BackendWritePixel's points can land (BackendEntries.PointArea).
WritablePointArea BackendPointArea();
uint16_t BackendReadPixel(int16_t x, int16_t y);
// The back-end's ReadPixelRow: the same colours as ReadPixel pixel by pixel, under one lock.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
// The window modes' DrawLine: the generic routine's pixels, with a solid thin sloped segment
// walked on the surface at once while PlotPixel is the back-end's own.
void BackendDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// The window modes' FillPatternSpan: the generic routine's pixels, with a solid row painted on
// the surface at once while DrawHorizontalLine is the back-end's own.
void BackendFillPatternSpan(int16_t x1, int16_t x2, int16_t y);
