// One pass's drawing on the memory display: the triangle and the chaos-game arithmetic.

#include "app/plotter.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "graph/graph_internal.h"
#include "graph/segment_walk.h"
#include "graph/window/backend_testing.h"
#include "graph/window/colour_lookup.h"
#include "graph/window/draw_lock.h"
#include "graph/window/memory_display.h"
#include "graph/window/primitives.h"
#include "graph/window/surface.h"
#include "runtime/exit.h"
#include "runtime/random.h"

namespace {

constexpr uint16_t kBlack = 0, kRed = 4, kYellow = 14;

class PlotterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static MemoryDisplay display({640, 480, 640, 480});
        SelectDisplay(display);
        GraphicsLayerInit();
        ExitHandlerChain = nullptr;
    }

    void SetUp() override {
        RandomState = {0, 0, 0, 0, true};
        graphDriver = 0;
        graphMode = 2;
        InitGraph(graphDriver, graphMode, kDriverPath);
        ASSERT_EQ(GraphResult(), GraphOk);
        DrawFilledTriangle();
    }
    void TearDown() override { ShutdownAllWindows(); }

    static uint16_t ColourAt(int16_t x, int16_t y) { return DriverSlots.ReadPixel(x, y); }

    void Play(int32_t x, int32_t y, int32_t steps) {
        xp = x;
        yp = y;
        nmax = steps;
        PlayChaosGame();
    }
};

TEST_F(PlotterTest, TriangleIsOutlinedInYellowAndFilledWithRed) {
    EXPECT_EQ(ColourAt(0, 0), kYellow);
    EXPECT_EQ(ColourAt(400, 0), kYellow);
    EXPECT_EQ(ColourAt(200, 346), kYellow);
    EXPECT_EQ(ColourAt(10, 10), kRed);
    EXPECT_EQ(ColourAt(200, 300), kRed);
    EXPECT_EQ(ColourAt(300, 300), kBlack);
    EXPECT_EQ(ColourAt(200, 347), kBlack);
    EXPECT_EQ(PenX(), 0);
    EXPECT_EQ(PenY(), 0);
}

TEST_F(PlotterTest, ExampleStartAndTheGeneratorGoingOnAcrossPasses) {
    Play(100, 100, 1);
    EXPECT_EQ(corner, 3);
    EXPECT_EQ(xp, 155);
    EXPECT_EQ(yp, 223);
    EXPECT_EQ(ColourAt(100, 100), kYellow);
    EXPECT_EQ(ColourAt(155, 223), kYellow);
    // The next pass starts where the generator stopped: corner 2.
    Play(xp, yp, 1);
    EXPECT_EQ(corner, 2);
    EXPECT_EQ(xp, 282);
    EXPECT_EQ(yp, 116);
    EXPECT_EQ(step, 1);
}

TEST_F(PlotterTest, HalvingNegativeSumsTruncatesTowardZero) {
    Play(-213, -349, 1);  // corner 3: (-3) div 2 = -1 on both axes
    EXPECT_EQ(xp, -1);
    EXPECT_EQ(yp, -1);
}

TEST_F(PlotterTest, OnlyTheLow16BitsReachTheLibrary) {
    Play(70000, 100, 0);
    EXPECT_EQ(PenX(), 70000 - 65536);
    Play(70000, 100, 1);  // (70000 + 210) div 2 = 35105, which is -30431 in 16 bits
    EXPECT_EQ(xp, -30431);
    EXPECT_EQ(yp, 223);
}

TEST_F(PlotterTest, NoStepsForZeroOrNegativeCountsAndTheGeneratorRests) {
    for (int32_t count : {0, -5}) {
        const RandomStateRecord before = RandomState;
        Play(30, 40, count);
        EXPECT_EQ(PenX(), 30);
        EXPECT_EQ(PenY(), 40);
        EXPECT_EQ(RandomState.primary, before.primary);
        EXPECT_EQ(RandomState.needsInit, before.needsInit);
    }
}

std::vector<std::array<int16_t, 4>> segmentsDrawn;

void RecordingDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    segmentsDrawn.push_back({x1, y1, x2, y2});
    BackendDrawLine(x1, y1, x2, y2);
}

std::vector<uint32_t> NewestPicture() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    return {buffer.pixels, buffer.pixels + buffer.stride * buffer.height};
}

// The window skips the segments its buffer already holds: its picture is still the one that
// walking every segment of the pass gives.
TEST_F(PlotterTest, LongPassShowsEverySegmentWalked) {
    std::vector<uint32_t> walked = NewestPicture();
    ASSERT_EQ(walked.size(), 640u * 480u);
    DriverSlots.DrawLine = RecordingDrawLine;
    Play(100, 100, 3000000);
    DriverSlots.DrawLine = BackendDrawLine;
    ASSERT_EQ(segmentsDrawn.size(), 3000000u);
    const Surface surface = Surface::Over(walked.data(), 640, 480, 640);
    for (const auto& [x1, y1, x2, y2] : segmentsDrawn) {
        SegmentWalk walk;
        WalkSegment(surface, walk, PrepareWalk(x1, y1, x2, y2, walk), {PixelOfColour(kYellow), PixelCombine::Copy});
    }
    EXPECT_TRUE(NewestPicture() == walked);
}

}  // namespace
