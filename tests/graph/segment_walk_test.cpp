// The line walk's shortcut through the back-end (PlotWalk) against the walk point by
// point through the PlotPixel slot: the same pixels for any segment, viewport, clipping, write
// mode, style and thickness; and a caller's own PlotPixel still sees every point.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/graph/graph_test_support.h"

namespace {

// The back-end's own routine behind another address, so the walk takes the point-by-point way.
void ForwardToBackend(int16_t x, int16_t y) { BackendPlotPixel(x, y); }

std::vector<uint32_t> BufferCopy() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    std::vector<uint32_t> copy;
    for (int32_t y = 0; y < buffer.height; ++y) {
        const uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        copy.insert(copy.end(), row, row + buffer.width);
    }
    return copy;
}

struct Scene {
    int16_t viewport[4];
    bool clip;
    uint16_t writeMode, style, pattern, thickness;
    std::vector<int16_t> ends;  // x, y pairs, walked as one polyline
};

Scene RandomScene(std::mt19937& random) {
    auto in = [&](int lo, int hi) { return static_cast<int16_t>(std::uniform_int_distribution<int>(lo, hi)(random)); };
    Scene scene;
    const int16_t left = in(0, 600), top = in(0, 440);
    scene.viewport[0] = left;
    scene.viewport[1] = top;
    scene.viewport[2] = in(left, 700);  // may reach past the buffer
    scene.viewport[3] = in(top, 540);
    scene.clip = in(0, 1) == 1;
    scene.writeMode = static_cast<uint16_t>(in(0, 4));
    scene.style = static_cast<uint16_t>(in(0, 4));
    scene.pattern = static_cast<uint16_t>(in(0, 0xFFFF));
    scene.thickness = in(0, 1) ? 3 : 1;
    // Mostly near the buffer, some far off it and long enough to take several batches.
    const int spread = in(0, 3) == 0 ? 3000 : 800;
    for (int i = 0; i < 120; ++i) {
        scene.ends.push_back(in(-spread / 4, spread));
        scene.ends.push_back(in(-spread / 4, spread));
    }
    return scene;
}

std::vector<uint32_t> Draw(const Scene& scene, bool pointByPoint) {
    StartMode();
    if (pointByPoint) DriverSlots.PlotPixel = ForwardToBackend;
    DefineViewport(scene.viewport[0], scene.viewport[1], scene.viewport[2], scene.viewport[3], scene.clip);
    SetStrokeStyle(scene.style, scene.pattern, scene.thickness);
    GraphState.writeMode = scene.writeMode;
    PenMoveTo(scene.ends[0], scene.ends[1]);
    for (size_t i = 2; i < scene.ends.size(); i += 2) {
        SetDrawColor(static_cast<uint16_t>(i % 16));
        PenLineTo(scene.ends[i], scene.ends[i + 1]);
    }
    return BufferCopy();
}

TEST(SegmentWalks, LeaveThePixelsOfThePointByPointWalk) {
    std::mt19937 random(14);
    for (int round = 0; round < 60; ++round) {
        const Scene scene = RandomScene(random);
        SCOPED_TRACE(testing::Message() << "round " << round << " mode " << scene.writeMode << " style "
                                        << scene.style << " thickness " << scene.thickness << " clip "
                                        << scene.clip);
        const std::vector<uint32_t> shortcut = Draw(scene, false);
        const std::vector<uint32_t> reference = Draw(scene, true);
        ASSERT_EQ(shortcut, reference);
    }
}

TEST(SegmentWalks, XorTwiceOverTheSameSegmentRestoresThePicture) {
    // Each point is combined once per plot, also where the walk runs off the buffer.
    StartMode();
    const std::vector<uint32_t> before = BufferCopy();
    GraphState.writeMode = 1;
    SetDrawColor(9);
    for (int pass = 0; pass < 2; ++pass) {
        PenMoveTo(-300, 20);
        PenLineTo(900, 470);
    }
    EXPECT_EQ(BufferCopy(), before);
    PenMoveTo(-300, 20);
    PenLineTo(900, 470);
    EXPECT_NE(BufferCopy(), before);
}

int callerPlots = 0;
void CountingPlot(int16_t x, int16_t y) {
    ++callerPlots;
    BackendPlotPixel(x, y);
}

TEST(SegmentWalks, ACallersPlotPixelStillSeesEveryPoint) {
    StartMode();
    DriverSlots.PlotPixel = CountingPlot;
    callerPlots = 0;
    PenMoveTo(0, 0);
    PenLineTo(600, 400);
    EXPECT_EQ(callerPlots, 601);
}

TEST(SegmentWalks, AWalkDrawsOnlyItsPointsOnTheBuffer) {
    // The back-end entry on its own: a walk entirely off the buffer leaves no pixel, and a
    // partly visible one draws only its visible points.
    StartMode();
    const std::vector<uint32_t> before = BufferCopy();
    SegmentWalk walk;
    int32_t count = PrepareWalk(-5, -5, -3, -3, walk);
    BackendPlotWalk(walk, count);
    EXPECT_EQ(BufferCopy(), before);
    SetDrawColor(15);
    count = PrepareWalk(-1, 2, 1, 3, walk);  // (-1, 2), (0, 3), (1, 3)
    BackendPlotWalk(walk, count);
    EXPECT_EQ(BufferPixel(0, 3), DefaultPixel(15));
    EXPECT_EQ(BufferPixel(1, 3), DefaultPixel(15));
    EXPECT_EQ(BufferPixel(0, 2), before[2 * 640]);
}

}  // namespace
