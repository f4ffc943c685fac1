// Clearing the viewport and the surface, the user fill pattern, and reading back the fill and
// text settings and the aspect factors.

#include <cstring>

#include "graph/graph_internal.h"

void EraseViewport() { DriverSlots.EraseViewportOp(); }

void EraseSurface() {
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    DefineViewport(0, 0, GraphState.surfaceMaxX, GraphState.surfaceMaxY, false);
    DriverSlots.EraseViewportOp();
    // Defining the viewport puts the pen at (0, 0), as erasing does.
    DefineViewport(x1, y1, x2, y2, clip);
}

void ReadAspectFactors(uint16_t& xFactor, uint16_t& yFactor) {
    xFactor = GraphState.aspectX;
    yFactor = GraphState.aspectY;
}

void ReadFillSettings(FillSettings& settings) {
    settings.pattern = GraphState.fillPatternIndex;
    settings.colour = GraphState.fillColor;
}

void DefineUserFillPattern(const uint8_t* rows, uint16_t colour) {
    if (rows == nullptr || colour > HighestColor()) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    std::memcpy(GraphState.userFillPattern, rows, sizeof GraphState.userFillPattern);
    SelectFill(12, colour);
}

void ReadTextSettings(TextSettings& settings) {
    settings.font = GraphState.textFont;
    settings.direction = GraphState.textDirection;
    settings.size = GraphState.textSize;
    settings.horizontal = GraphState.textHorizJustify;
    settings.vertical = GraphState.textVertJustify;
}
