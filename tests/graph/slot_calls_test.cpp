// Every new drawing operation reaches the surface only through the slots: with the drawing
// slots replaced by recorders nothing is drawn, and the recorder each one is built on sees it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "graph/graph.h"
#include "tests/graph/slot_canvas.h"

namespace {

std::map<std::string, int> calls;

void RecordSlots() {
    calls.clear();
    DriverSlots.PlotPixel = [](int16_t, int16_t) { ++calls["PlotPixel"]; };
    DriverSlots.WritePixel = [](int16_t, int16_t, uint16_t) { ++calls["WritePixel"]; };
    DriverSlots.DrawLine = [](int16_t, int16_t, int16_t, int16_t) { ++calls["DrawLine"]; };
    DriverSlots.FillPatternSpan = [](int16_t, int16_t, int16_t) { ++calls["FillPatternSpan"]; };
    DriverSlots.DrawHorizontalLine = [](int16_t, int16_t, int16_t) { ++calls["DrawHorizontalLine"]; };
    DriverSlots.DrawVerticalLine = [](int16_t, int16_t, int16_t) { ++calls["DrawVerticalLine"]; };
    DriverSlots.EllipseOp = [](int16_t, int16_t, uint16_t, uint16_t, uint16_t, uint16_t, SpanRoutine) { ++calls["EllipseOp"]; };
    DriverSlots.EraseViewportOp = [] { ++calls["EraseViewportOp"]; };
    DriverSlots.WritePaletteEntry = [](int16_t, int16_t, int16_t, int16_t) { ++calls["WritePaletteEntry"]; };
}

TEST(SlotCalls, EachOperationGoesThroughItsSlots) {
    static const GraphPoint triangle[] = {{2, 2}, {12, 3}, {5, 9}};
    struct Case { void (*operation)(); std::map<std::string, int> expected; };
    const Case cases[] = {
        {[] { PlotPixelAt(1, 1, 3); }, {{"WritePixel", 1}}},
        {[] { DrawSegment(0, 0, 5, 3); }, {{"DrawLine", 1}}},
        {[] { PenLineBy(4, 4); }, {{"DrawLine", 1}}},
        {[] { ChangePaletteEntry(2, {}); }, {{"WritePaletteEntry", 1}}},
        {[] { EraseSurface(); }, {{"EraseViewportOp", 1}}},
        {[] { OutlineRectangle(1, 1, 6, 6); }, {{"DrawLine", 4}}},
        {[] { FillBarArea(1, 1, 6, 6); }, {{"FillPatternSpan", 6}}},
        {[] { DrawDepthBar(1, 4, 6, 9, 3, true); }, {{"FillPatternSpan", 6}, {"DrawLine", 9}}},
        {[] { DrawPolygonOutline(triangle, 3); }, {{"DrawLine", 2}}},
        {[] { FillPolygonArea(triangle, 3); }, {{"FillPatternSpan", 6}, {"DrawLine", 3}}},
        {[] { FillWedge(10, 10, 0, 90, 5); }, {{"FillPatternSpan", 6}, {"EllipseOp", 1}, {"DrawLine", 2}}},
    };
    for (const Case& c : cases) {
        SlotCanvas canvas(20, 20);
        RecordSlots();
        c.operation();
        EXPECT_EQ(calls, c.expected);
        EXPECT_TRUE(canvas.Drawn().empty());
    }
}

}  // namespace
