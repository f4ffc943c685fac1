// Fill settings, the fill patterns, and the default ReadPixelRow and FillPatternSpan routines.

#include "graph/graph_internal.h"

const uint8_t FillPatternTable[12][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83},
    {0x07, 0x83, 0xC1, 0xE0, 0x70, 0x38, 0x1C, 0x0E},
    {0x5A, 0x2D, 0x96, 0x4B, 0xA5, 0xD2, 0x69, 0xB4},
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},
    {0x18, 0x24, 0x42, 0x81, 0x81, 0x42, 0x24, 0x18},
    {0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33},
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00},
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},
};

namespace {

constexpr uint8_t kBitMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

}  // namespace

void SelectFill(uint16_t pattern, uint16_t colour) {
    if (pattern > 12 || colour > HighestColor()) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.fillColor = colour;
    GraphState.fillPatternIndex = pattern;
}


void GenericReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer) {
    ReadPixelRoutine read = DriverSlots.ReadPixel;
    for (int32_t x = x1; x <= x2; ++x) buffer[x - x1] = read(static_cast<int16_t>(x), y);
}

void GenericFillPatternSpan(int16_t x1, int16_t x2, int16_t y) {
    x1 = static_cast<int16_t>(x1 + GraphState.viewLeft);
    x2 = static_cast<int16_t>(x2 + GraphState.viewLeft);
    y = static_cast<int16_t>(y + GraphState.viewTop);
    int16_t ya = y, yb = y;
    if (ClipSegment(x1, ya, x2, yb, GraphState.viewLeft, GraphState.viewTop,
                    static_cast<int16_t>(GraphState.viewLeft + GraphState.viewMaxX),
                    static_cast<int16_t>(GraphState.viewTop + GraphState.viewMaxY))) {
        return;
    }
    uint16_t savedMode = GraphState.writeMode;
    GraphState.writeMode = 0;
    uint8_t bits = FillPatternRow(GraphState.fillPatternIndex, y);
    int16_t vx1 = static_cast<int16_t>(x1 - GraphState.viewLeft);
    int16_t vx2 = static_cast<int16_t>(x2 - GraphState.viewLeft);
    int16_t vy = static_cast<int16_t>(y - GraphState.viewTop);
    uint16_t solid;
    if (SolidSpanColour(y, solid)) {
        uint16_t saved = GraphState.drawColor;
        GraphState.drawColor = solid;
        DriverSlots.DrawHorizontalLine(vx1, vx2, vy);
        GraphState.drawColor = saved;
    } else {
        for (int32_t x = x1; x <= x2; ++x) {
            if (bits & kBitMask[x & 7]) {
                DriverSlots.PlotPixel(static_cast<int16_t>(x), y);
            } else {
                uint16_t saved = GraphState.drawColor;
                GraphState.drawColor = GraphState.backColor;
                DriverSlots.PlotPixel(static_cast<int16_t>(x), y);
                GraphState.drawColor = saved;
            }
        }
    }
    GraphState.writeMode = savedMode;
}
