// The slot table and what it holds until a mode is set: guards in the five pixel and palette
// slots, which end the program with the not-in-graphics-mode line, pages that do nothing, and
// the generic routines everywhere else; and the context as no mode leaves it. Above the generic
// routines, which it refers to, and above the context, so nothing below calls back into it.

#include "graph/graph_internal.h"
#include "runtime/fatal_line.h"

namespace {

[[noreturn]] void NotInGraphics() {
    StopWithFatalLine("Error: Not in graphics mode (use InitGraph and test GraphResult afterwards)");
}

void GuardPlotPixel(int16_t, int16_t) { NotInGraphics(); }
uint16_t GuardReadPixel(int16_t, int16_t) { NotInGraphics(); }
void GuardWritePixel(int16_t, int16_t, uint16_t) { NotInGraphics(); }
void GuardWritePaletteEntry(int16_t, int16_t, int16_t, int16_t) { NotInGraphics(); }
void GuardReadPaletteEntry(int16_t, int16_t&, int16_t&, int16_t&) { NotInGraphics(); }

void NoPage(uint16_t) {}

constexpr DriverSlotsRecord DefaultSlots() {
    DriverSlotsRecord slots{};
    slots.PlotPixel = GuardPlotPixel;
    slots.WritePixel = GuardWritePixel;
    slots.ReadPixel = GuardReadPixel;
    slots.WritePaletteEntry = GuardWritePaletteEntry;
    slots.ReadPaletteEntry = GuardReadPaletteEntry;
    slots.SelectDrawPage = NoPage;
    slots.ShowPage = NoPage;
    slots.EraseViewportOp = GenericEraseViewport;
    slots.RestoreImageOp = GenericRestoreImage;
    slots.SaveImageOp = GenericSaveImage;
    slots.ImageBufferSizeOp = GenericImageBufferSize;
    slots.ReadPixelRow = GenericReadPixelRow;
    slots.DrawLine = GenericDrawLine;
    slots.EllipseOp = GenericEllipse;
    slots.FillPatternSpan = GenericFillPatternSpan;
    slots.DrawHorizontalLine = GenericDrawHorizontalLine;
    slots.DrawVerticalLine = GenericDrawVerticalLine;
    slots.DrawTextOp = GenericDrawText;
    slots.CircleOp = GenericCircle;
    return slots;
}

}  // namespace

constinit DriverSlotsRecord DriverSlots = DefaultSlots();

void InstallDefaultSlots() { DriverSlots = DefaultSlots(); }

void ResetGraphState() {
    for (int16_t& value : GraphState.lastArc) value = 0;
    GraphState.currentMode = 0;
    GraphState.currentDriver = 0;
    GraphState.classDriver = 0;
    GraphState.aspectX = 0;
    GraphState.aspectY = 0;
    GraphState.surfaceMaxX = 0;
    GraphState.surfaceMaxY = 0;
    GraphState.colorCount = 0;
    GraphState.secondColorCount = 0;
    GraphState.noPalette = false;
    GraphState.extraFlag = 0;
    InstallDefaultSlots();
}
