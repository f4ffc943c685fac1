// Single pixels, segments between two points, pen moves relative to the pen, and the write mode.

#include "graph/graph_internal.h"

void PlotPixelAt(int16_t x, int16_t y, uint16_t colour) { DriverSlots.WritePixel(x, y, colour); }

uint16_t ReadPixelAt(int16_t x, int16_t y) { return DriverSlots.ReadPixel(x, y); }

void DrawSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2) { DriverSlots.DrawLine(x1, y1, x2, y2); }

void PenMoveBy(int16_t dx, int16_t dy) {
    PenMoveTo(static_cast<int16_t>(GraphState.penX + dx), static_cast<int16_t>(GraphState.penY + dy));
}

void PenLineBy(int16_t dx, int16_t dy) {
    PenLineTo(static_cast<int16_t>(GraphState.penX + dx), static_cast<int16_t>(GraphState.penY + dy));
}

void SelectWriteMode(uint16_t mode) {
    if (mode > 4) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.writeMode = mode;
}
