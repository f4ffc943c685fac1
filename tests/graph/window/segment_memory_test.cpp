// The segment memory: what it answers alone, and every way of drawing that must make a window
// walk a remembered segment again.
#include <gtest/gtest.h>

#include <functional>

#include "graph/segment_walk.h"
#include "graph/window/segment_memory.h"
#include "tests/graph/graph_test_support.h"

namespace {

TEST(SegmentMemory, SeesOnlyTheSameSegmentInTheSameValueAndGeneration) {
    SegmentMemory memory;
    const uint64_t a = SegmentKey(1, 2, 3, 4), b = SegmentKey(3, 4, 1, 2);
    struct Ask { uint64_t key; uint32_t value, generation; bool seen; };
    const Ask asks[] = {{a, 7, 1, false}, {a, 7, 1, true},  {b, 7, 1, false}, {b, 7, 1, true}, {a, 8, 1, false},
                        {b, 8, 1, false}, {a, 8, 1, true},  {a, 8, 2, false}, {a, 8, 2, true}, {b, 8, 2, false}};
    for (const Ask& ask : asks) EXPECT_EQ(SeenElseRemembered(memory, ask.key, ask.value, ask.generation), ask.seen);
}

TEST(SegmentMemory, StopsRememberingWhenFull) {
    SegmentMemory memory;
    const uint64_t last = kSegmentsRemembered + 1;
    for (uint64_t key = 1; key <= last; ++key) ASSERT_FALSE(SeenElseRemembered(memory, key, 1, 1));
    EXPECT_TRUE(SeenElseRemembered(memory, 1, 1, 1));
    EXPECT_FALSE(SeenElseRemembered(memory, last, 1, 1));
}

// The segment drawn twice in colour 14, with `between` done in between: a sloped one, walked,
// and a level one, painted as a run.
constexpr int16_t kX1 = 10, kY1 = 20, kX2 = 300;
int16_t y2;

void DrawInColour(uint16_t colour) {
    SetDrawColor(colour);
    DrawSegment(kX1, kY1, kX2, y2);
}

void PlotInColour2(int16_t x, int16_t y) { BackendWritePixel(x, y, 2); }
void RunStartInColour2(int16_t x1, int16_t, int16_t y) { PlotPixelAt(x1, y, 2); }
void DrawStartInColour2(int16_t x, int16_t y, int16_t, int16_t) { PlotPixelAt(x, y, 2); }
void DrawThroughOwnSlots() {
    DriverSlots.PlotPixel = PlotInColour2;
    DriverSlots.DrawHorizontalLine = RunStartInColour2;
    DrawInColour(14);
}

// Whether every pixel of the segment reads as colour 14.
bool SegmentShows14() {
    SegmentWalk walk;
    const int32_t count = PrepareWalk(kX1, kY1, kX2, y2, walk);
    bool all = true;
    for (int32_t i = 0; i < count; ++i, walk.Step()) all = all && ReadPixelAt(int16_t(walk.x), int16_t(walk.y)) == 14;
    return all;
}

uint8_t image[4096];

struct Rule {
    const char* name;
    std::function<void()> before, between;
};

TEST(SegmentMemory, EveryOtherDrawingMakesTheWindowWalkTheSegmentAgain) {
    const auto none = [] {};
    const Rule rules[] = {
        {"another colour", none, [] { DrawInColour(2); }},
        {"xor", none, [] { SelectWriteMode(1); DrawInColour(14); }},
        {"complement", none, [] { SelectWriteMode(4); DrawInColour(14); }},
        {"thick", none, [] { SetStrokeStyle(0, 0, 3); DrawInColour(2); }},
        {"run", none, [] { SetDrawColor(2); DrawSegment(100, 0, 100, 400); }},
        {"pixel", none, [] { PlotPixelAt(kX1, kY1, 2); }},
        {"bar", none, [] { SelectFill(1, 2); FillBarArea(0, 0, 100, 100); }},
        {"flood fill", none, [] { SelectFill(1, 2); FloodFillArea(kX1, kY1, 15); }},
        {"erase", none, [] { EraseViewport(); }},
        {"text", none, [] { SetDrawColor(2); SelectTextStyle(0, 0, 8); DrawTextAt(0, 0, "HHHH"); }},
        {"image", [] { SelectFill(1, 2); FillBarArea(400, 300, 420, 320); SaveImage(400, 300, 420, 320, image); },
         [] { PutImage(kX1, kY1, image, 0); }},
        {"palette", none, [] { ChangePaletteEntry(14, {0, 200, 0}); }},
        {"viewport", [] { DefineViewport(0, 0, 100, 50, true); }, [] { DefineViewport(0, 0, 639, 479, true); }},
        {"clipping", [] { DefineViewport(0, 0, 100, 50, true); }, [] { DefineViewport(0, 0, 100, 50, false); }},
        {"new window", none, [] { StartMode(); }},
        {"mode set", none, [] { int16_t driver = 0, mode = 0; InitGraph(driver, mode, ""); }},
        {"another page", none, [] { SelectPageToDraw(1); }},
        {"buffer written by the caller", none, [] { ClearNewestBuffer(); }},
        {"pixel and run slots", none, DrawThroughOwnSlots},
        {"line slot", none, [] { DriverSlots.DrawLine = DrawStartInColour2; DrawInColour(14); }},
    };
    for (const Rule& rule : rules) {
        for (int16_t end : {150, 20}) {
            y2 = end;
            StartMode();
            rule.before();
            DrawInColour(14);
            rule.between();
            DriverSlots.PlotPixel = BackendPlotPixel;
            DriverSlots.DrawHorizontalLine = BackendDrawHorizontalLine;
            DriverSlots.DrawLine = BackendDrawLine;
            SelectWriteMode(0);
            SetStrokeStyle(0, 0, 1);
            EXPECT_FALSE(SegmentShows14()) << rule.name << " " << y2 << ": changed nothing";
            DrawInColour(14);
            EXPECT_TRUE(SegmentShows14()) << rule.name << " " << y2;
        }
    }
}

}  // namespace
