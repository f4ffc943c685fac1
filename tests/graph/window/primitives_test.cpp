// The back-end's pixel and run primitives and the palette, pixel-exact on the memory display.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "tests/graph/graph_test_support.h"

namespace {

uint32_t Rgb(int r, int g, int b) { return RgbToPixel(ColorToRgb(r, g, b)); }

TEST(Primitives, RunsIncludeBothEndsInEitherOrder) {
    StartMode();
    SetDrawColor(2);
    DriverSlots.DrawHorizontalLine(10, 5, 7);
    for (int x = 4; x <= 11; ++x) EXPECT_EQ(BufferPixel(x, 7), (x >= 5 && x <= 10) ? DefaultPixel(2) : 0u) << x;
    DriverSlots.DrawHorizontalLine(20, 22, 8);  // three pixels
    DriverSlots.DrawHorizontalLine(30, 33, 8);  // four pixels
    EXPECT_EQ(BufferPixel(22, 8), DefaultPixel(2));
    EXPECT_EQ(BufferPixel(23, 8), 0u);
    EXPECT_EQ(BufferPixel(33, 8), DefaultPixel(2));
    EXPECT_EQ(BufferPixel(34, 8), 0u);
    DriverSlots.DrawVerticalLine(3, 12, 9);
    for (int y = 8; y <= 13; ++y) EXPECT_EQ(BufferPixel(3, y), (y >= 9 && y <= 12) ? DefaultPixel(2) : 0u) << y;
}

// Runs are painted several pixels a store: every length and every start within a group of
// stores paints exactly its own pixels, however the row is placed.
TEST(Primitives, RunsOfEveryLengthAndStartPaintExactlyTheirPixels) {
    StartMode();
    for (int16_t length = 1; length <= 40; ++length) {
        for (int16_t start = 0; start < 8; ++start) {
            const int16_t y = static_cast<int16_t>((length - 1) * 8 + start);
            SetDrawColor(static_cast<uint16_t>(1 + (y % 15)));
            const int16_t left = static_cast<int16_t>(100 + start);
            DriverSlots.DrawHorizontalLine(left, static_cast<int16_t>(left + length - 1), y);
            for (int x = 90; x < 160; ++x) {
                const bool inside = x >= left && x < left + length;
                ASSERT_EQ(BufferPixel(x, y), inside ? DefaultPixel(static_cast<uint16_t>(1 + (y % 15))) : 0u)
                    << "length " << length << " start " << start << " x " << x;
            }
        }
    }
}

TEST(Primitives, RunsAreClippedToTheViewportOnlyWhenClipping) {
    StartMode();
    DefineViewport(100, 100, 199, 199, true);
    SetDrawColor(1);
    DriverSlots.DrawHorizontalLine(-10, 200, 5);
    EXPECT_EQ(BufferPixel(99, 105), 0u);
    EXPECT_EQ(BufferPixel(100, 105), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(199, 105), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(200, 105), 0u);
    DriverSlots.DrawHorizontalLine(0, 50, -1);   // above
    DriverSlots.DrawHorizontalLine(0, 50, 100);  // below
    DriverSlots.DrawVerticalLine(-1, 0, 50);     // left
    EXPECT_EQ(BufferPixel(100, 99), 0u);
    EXPECT_EQ(BufferPixel(100, 200), 0u);
    EXPECT_EQ(BufferPixel(99, 100), 0u);
    DriverSlots.DrawVerticalLine(5, -20, 300);
    EXPECT_EQ(BufferPixel(105, 99), 0u);
    EXPECT_EQ(BufferPixel(105, 199), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(105, 200), 0u);

    DefineViewport(100, 100, 199, 199, false);
    DriverSlots.DrawHorizontalLine(-10, 200, 50);
    EXPECT_EQ(BufferPixel(90, 150), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(300, 150), DefaultPixel(1));
    // Off the surface nothing happens, and reading there yields white's nearest colour.
    DriverSlots.DrawHorizontalLine(-200, 1000, 1000);
    DriverSlots.PlotPixel(-5, 3);
    EXPECT_EQ(DriverSlots.ReadPixel(-150, 0), 15);
}

TEST(Primitives, ClippedRunsReachingTheCoordinateLimitsStillDrawTheirViewportPart) {
    StartMode();
    DefineViewport(100, 100, 199, 199, true);
    SetDrawColor(3);
    // Translated first, these ends would pass 32767 and wrap round to negative numbers.
    DriverSlots.DrawHorizontalLine(-32768, 32767, 10);
    DriverSlots.DrawVerticalLine(20, 32767, -32768);
    EXPECT_EQ(BufferPixel(100, 110), DefaultPixel(3));
    EXPECT_EQ(BufferPixel(199, 110), DefaultPixel(3));
    EXPECT_EQ(BufferPixel(200, 110), 0u);
    EXPECT_EQ(BufferPixel(120, 100), DefaultPixel(3));
    EXPECT_EQ(BufferPixel(120, 199), DefaultPixel(3));
    EXPECT_EQ(BufferPixel(120, 200), 0u);
}

TEST(Primitives, WriteModesCombineRgbValues) {
    StartMode();
    SetDrawColor(1);  // (0, 0, 168)
    DriverSlots.WritePixel(5, 5, 4);  // (168, 0, 0)
    GraphState.writeMode = 1;
    DriverSlots.PlotPixel(5, 5);
    EXPECT_EQ(BufferPixel(5, 5), Rgb(168, 0, 168));
    DriverSlots.PlotPixel(5, 5);
    EXPECT_EQ(BufferPixel(5, 5), DefaultPixel(4));  // exclusive or twice restores
    DriverSlots.WritePixel(5, 5, 2);                // WritePixel ignores the write mode
    EXPECT_EQ(BufferPixel(5, 5), DefaultPixel(2));
    GraphState.writeMode = 2;
    DriverSlots.DrawHorizontalLine(5, 6, 5);
    EXPECT_EQ(BufferPixel(5, 5), Rgb(0, 168, 168));
    EXPECT_EQ(BufferPixel(6, 5), DefaultPixel(1));
    GraphState.writeMode = 3;
    DriverSlots.DrawVerticalLine(5, 5, 6);
    EXPECT_EQ(BufferPixel(5, 5), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(5, 6), 0u);
}

TEST(Primitives, ComplementAndColoursBeyondThePaletteStayInsideIt) {
    StartMode();  // 16 colours
    GraphState.writeMode = 4;
    SetDrawColor(3);
    DriverSlots.PlotPixel(0, 0);
    DriverSlots.DrawHorizontalLine(0, 9, 1);
    DriverSlots.DrawVerticalLine(20, 0, 9);
    EXPECT_EQ(BufferPixel(0, 0), DefaultPixel(12));  // 15 - 3
    EXPECT_EQ(BufferPixel(9, 1), DefaultPixel(12));
    EXPECT_EQ(BufferPixel(20, 9), DefaultPixel(12));
    GraphState.writeMode = 0;
    SetDrawColor(18);  // wraps to 2
    DriverSlots.PlotPixel(1, 0);
    EXPECT_EQ(BufferPixel(1, 0), DefaultPixel(2));
    DriverSlots.WritePixel(2, 0, 65535);
    EXPECT_EQ(BufferPixel(2, 0), DefaultPixel(15));

    int16_t driver = 10, mode = 257;  // 256 colours
    InitGraph(driver, mode, "");
    GraphState.writeMode = 4;
    SetDrawColor(40);
    DriverSlots.PlotPixel(0, 0);
    EXPECT_EQ(BufferPixel(0, 0), DefaultPixel(215));
}

TEST(Primitives, ReadBackFindsTheLowestNearestColour) {
    StartMode();
    for (uint16_t c = 0; c < 16; ++c) {
        DriverSlots.WritePixel(static_cast<int16_t>(c), 0, c);
        EXPECT_EQ(DriverSlots.ReadPixel(static_cast<int16_t>(c), 0), c);
    }
    int16_t driver = 10, mode = 257;
    InitGraph(driver, mode, "");
    DriverSlots.WritePixel(0, 0, 16);
    DriverSlots.WritePixel(1, 0, 31);
    DriverSlots.WritePixel(2, 0, 250);
    DriverSlots.WritePixel(3, 0, 100);
    EXPECT_EQ(DriverSlots.ReadPixel(0, 0), 0);
    EXPECT_EQ(DriverSlots.ReadPixel(1, 0), 15);
    EXPECT_EQ(DriverSlots.ReadPixel(2, 0), 0);
    EXPECT_EQ(DriverSlots.ReadPixel(3, 0), 100);
}

TEST(Primitives, PaletteChangesAffectOnlyLaterDrawing) {
    StartMode();
    SetDrawColor(3);
    DriverSlots.DrawHorizontalLine(0, 9, 0);
    DriverSlots.WritePaletteEntry(3, 255, 0, 0);
    DriverSlots.DrawHorizontalLine(0, 9, 1);
    EXPECT_EQ(BufferPixel(5, 0), DefaultPixel(3));
    EXPECT_EQ(BufferPixel(5, 1), Rgb(255, 0, 0));
    // The old pixel (0, 168, 168) now reads as the nearest entry: blue (1), green (2) and grey
    // (7) are all 168 away, and the lowest index wins.
    EXPECT_EQ(DriverSlots.ReadPixel(5, 0), 1);
    EXPECT_EQ(DriverSlots.ReadPixel(5, 1), 3);
}

TEST(Palette, DefaultTableFollowsItsRules) {
    auto is = [](int i, int r, int g, int b) {
        EXPECT_EQ(defaultPalette[i].red, r) << i;
        EXPECT_EQ(defaultPalette[i].green, g) << i;
        EXPECT_EQ(defaultPalette[i].blue, b) << i;
    };
    is(0, 0, 0, 0);
    is(6, 168, 84, 0);
    is(7, 168, 168, 168);
    is(9, 84, 84, 252);
    is(14, 252, 252, 84);
    is(15, 252, 252, 252);
    is(16, 0, 0, 0);
    is(23, 96, 96, 96);
    is(31, 252, 252, 252);
    is(32, 0, 0, 252);      // block 0 starts at blue
    is(40, 252, 0, 0);      // red
    is(55, 0, 64, 252);     // block 0 ends
    is(56, 124, 124, 252);  // block 1 starts
    is(104 + 12, 112, 112, 0);
    is(247, 44, 48, 64);
    for (int i = 248; i < 256; ++i) is(i, 0, 0, 0);
}

TEST(Palette, EntriesAreCheckedStoredAndRestored) {
    StartMode();
    GraphState.resultCode = 0;
    DriverSlots.WritePaletteEntry(16, 1, 2, 3);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    GraphState.resultCode = 0;
    DriverSlots.WritePaletteEntry(-1, 1, 2, 3);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    GraphState.resultCode = 0;
    int16_t r = 7, g = 7, b = 7;
    DriverSlots.ReadPaletteEntry(16, r, g, b);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_EQ(r, 7);
    GraphState.resultCode = 0;
    DriverSlots.WritePaletteEntry(15, 1, 2, 3);
    EXPECT_EQ(GraphResult(), 0);

    DriverSlots.WritePaletteEntry(2, 300, 0, 0);
    DriverSlots.ReadPaletteEntry(2, r, g, b);
    EXPECT_EQ(r, 300);
    DriverSlots.WritePixel(0, 0, 2);
    EXPECT_EQ(BufferPixel(0, 0), Rgb(44, 0, 0));

    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "");
    DriverSlots.ReadPaletteEntry(2, r, g, b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 168);
}

// ReadPixelRow is ReadPixel for each pixel of the run, under one lock: the same colours and the
// same result code, wherever the run lies against the viewport and the surface.
void ExpectRowsReadAsPixels(const char* when) {
    const int16_t viewports[][4] = {{0, 0, 639, 479}, {100, 100, 199, 199}, {600, 470, 639, 479}};
    for (const auto& v : viewports) {
        for (bool clip : {true, false}) {
            DefineViewport(v[0], v[1], v[2], v[3], clip);
            const int16_t maxX = static_cast<int16_t>(v[2] - v[0]), maxY = static_cast<int16_t>(v[3] - v[1]);
            for (int16_t y : {int16_t(-1), int16_t(0), int16_t(5), maxY, int16_t(maxY + 1), int16_t(2000)}) {
                const int16_t x1 = -20, x2 = static_cast<int16_t>(maxX + 700);
                std::vector<uint16_t> row(static_cast<size_t>(x2 - x1 + 1), 0xBEEF);
                GraphState.resultCode = 0;
                DriverSlots.ReadPixelRow(x1, x2, y, row.data());
                const int16_t rowResult = GraphResult();
                GraphState.resultCode = 0;
                for (int16_t x = x1; x <= x2; ++x) {
                    ASSERT_EQ(row[static_cast<size_t>(x - x1)], DriverSlots.ReadPixel(x, y))
                        << when << " viewport " << v[0] << "," << v[1] << " clip " << clip << " at " << x << "," << y;
                }
                ASSERT_EQ(rowResult, GraphResult()) << when << " clip " << clip << " row " << y;
            }
        }
    }
}

TEST(Primitives, ReadPixelRowReadsWhatReadPixelReads) {
    StartMode();
    for (int16_t x = 0; x < 640; x += 3) {
        SetDrawColor(static_cast<uint16_t>(x % 16));
        DriverSlots.DrawVerticalLine(x, 0, 479);
    }
    ExpectRowsReadAsPixels("ready");
    WindowHandle window = TestDisplay().NewestWindow();
    TestDisplay().Close(window);
    while (TestDisplay().IsOpen(window)) std::this_thread::yield();
    ExpectRowsReadAsPixels("closed");
}

TEST(Primitives, ReadPixelRowReadsRunsOfEveryLengthAsReadPixelDoes) {
    // Runs of 1 to 40 equal pixels, so that runs start and end at every place of the row
    // reader's groups of pixels; then a palette change, so that pixels drawn earlier read as
    // the nearest entry of the new palette.
    StartMode();
    std::mt19937 random(11);
    for (int16_t y = 0; y < 480; ++y) {
        for (int16_t x = 0; x < 640;) {
            const int16_t length = static_cast<int16_t>(1 + random() % 40);
            SetDrawColor(static_cast<uint16_t>(random() % 16));
            DriverSlots.DrawHorizontalLine(x, static_cast<int16_t>(x + length - 1), y);
            x = static_cast<int16_t>(x + length);
        }
    }
    ExpectRowsReadAsPixels("runs");
    DriverSlots.WritePaletteEntry(3, 0, 0, 0);
    DriverSlots.WritePaletteEntry(9, 255, 255, 255);
    ExpectRowsReadAsPixels("runs, palette changed");
}

// PaintRuns leaves what DrawHorizontalLine leaves run by run in copy mode, on and off the
// buffer, with either end first, clipped or not.
TEST(Primitives, PaintRunsLeavesWhatRunsOneByOneLeave) {
    std::mt19937 random(77);
    auto picture = [] {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) pixels.push_back(BufferPixel(x, y));
        return pixels;
    };
    for (int round = 0; round < 40; ++round) {
        const bool clip = round % 2 == 0;
        const int16_t left = static_cast<int16_t>(random() % 600), top = static_cast<int16_t>(random() % 440);
        const int16_t right = static_cast<int16_t>(left + random() % (640 - left));
        const int16_t bottom = static_cast<int16_t>(top + random() % (480 - top));
        std::vector<ColourRun> runs(1 + random() % 300);
        for (ColourRun& run : runs) {
            run = {static_cast<int16_t>(static_cast<int>(random() % 900) - 100),
                   static_cast<int16_t>(static_cast<int>(random() % 900) - 100),
                   static_cast<int16_t>(static_cast<int>(random() % 700) - 100), static_cast<uint16_t>(random() % 16)};
        }
        if (round == 1) runs[0] = {-32000, 32000, 3, 5};  // wraps when translated without clipping
        StartMode();
        DefineViewport(left, top, right, bottom, clip);
        for (const ColourRun& run : runs) {
            GraphState.drawColor = run.colour;
            DriverSlots.DrawHorizontalLine(run.left, run.right, run.y);
        }
        const std::vector<uint32_t> oneByOne = picture();
        StartMode();
        DefineViewport(left, top, right, bottom, clip);
        GraphState.writeMode = 1;  // PaintRuns paints in copy mode whatever the mode
        BackendPaintRuns(runs.data(), static_cast<int32_t>(runs.size()));
        ASSERT_EQ(picture(), oneByOne) << "round " << round;
    }
}

TEST(Primitives, NothingIsDrawnOrReadWithoutASurface) {
    StartMode();
    WindowHandle window = TestDisplay().NewestWindow();
    TestDisplay().Close(window);
    while (TestDisplay().IsOpen(window)) std::this_thread::yield();
    GraphState.resultCode = 0;
    PenLineTo(100, 50);
    DriverSlots.WritePixel(1, 1, 1);
    EXPECT_EQ(GraphResult(), 0);
    DriverSlots.ReadPixel(1, 1);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_TRUE(GraphState.inGraphics);
    LeaveGraphics();  // completes at once
    EXPECT_FALSE(GraphState.inGraphics);
}

}  // namespace
