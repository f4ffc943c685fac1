// The back-end's pixel and run primitives and the palette, pixel-exact on the memory display.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "tests/graph/arc_reference.h"
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
    CloseNewestWindow();
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

// The back-end's own DrawLine against the generic routine plotting through a PlotPixel of
// another address: the same pixels for any segment, viewport, clipping, write mode, style and
// thickness; and a caller's own PlotPixel sees every point.
void ForwardToBackend(int16_t x, int16_t y) { BackendPlotPixel(x, y); }
int forwarded = 0;
void CountingForward(int16_t x, int16_t y) {
    ++forwarded;
    BackendPlotPixel(x, y);
}

TEST(Primitives, DrawLineLeavesThePixelsOfTheGenericRoutine) {
    std::mt19937 random(14);
    auto in = [&](int lo, int hi) { return static_cast<int16_t>(std::uniform_int_distribution<int>(lo, hi)(random)); };
    StartMode();
    for (int round = 0; round < 60; ++round) {
        const int16_t left = in(0, 600), top = in(0, 440), right = in(left, 700), bottom = in(top, 540);
        const bool clip = in(0, 1) == 1;
        const uint16_t mode = static_cast<uint16_t>(in(0, 4)), style = static_cast<uint16_t>(in(0, 4));
        const uint16_t pattern = static_cast<uint16_t>(in(0, 0xFFFF)), thickness = in(0, 1) ? 3 : 1;
        const int spread = in(0, 3) == 0 ? 3000 : 800;
        std::vector<int16_t> ends;
        for (int i = 0; i < 240; ++i) ends.push_back(in(-spread / 4, spread));
        auto draw = [&](PlotPixelRoutine plot) {
            ClearNewestBuffer();
            DriverSlots.PlotPixel = plot;
            DefineViewport(left, top, right, bottom, clip);
            SetStrokeStyle(style, pattern, thickness);
            GraphState.writeMode = mode;
            PenMoveTo(ends[0], ends[1]);
            for (size_t i = 2; i < ends.size(); i += 2) {
                SetDrawColor(static_cast<uint16_t>(i % 16));
                PenLineTo(ends[i], ends[i + 1]);
            }
            return NewestBufferCopy();
        };
        ASSERT_EQ(draw(BackendPlotPixel), draw(ForwardToBackend))
            << "round " << round << " mode " << mode << " style " << style << " thickness " << thickness;
    }
    GraphState.writeMode = 0;
    SetStrokeStyle(0, 0, 1);
    DriverSlots.PlotPixel = CountingForward;
    PenMoveTo(0, 0);
    PenLineTo(600, 400);
    EXPECT_EQ(forwarded, 601);
}

// The arcs hand their points to the back-end's own WritePixel many at a time and pass over those
// of large arcs that cannot land: the same pixels and last-arc points as the routine in extended
// precision writing every point through WritePixel, for small radii and large ones (up to 65535,
// through small viewports), thin and thick, outlines and fills (their spans through the library's
// routine or the back-end's), clipping on and off, each arc led through the viewport from a
// centre that may wrap its points past the coordinate limits.
TEST(Primitives, ArcsLeaveThePixelsOfTheReference) {
    std::mt19937 random(65535);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    StartMode();
    const FillPatternSpanRoutine backendFill = DriverSlots.FillPatternSpan;
    for (int round = 0; round < 40; ++round) {
        const bool large = round % 2 == 0;
        const int reach = large ? 40 : 300, radius = large ? 65535 : 700;
        const int16_t left = in(0, 600), top = in(0, 440), right = left + in(0, reach), bottom = top + in(0, reach);
        const int rx = in(large ? 1000 : 0, radius), ry = in(0, 1) ? rx : in(large ? 1000 : 0, radius);
        // The first large ones through the top, bottom and sides, where a quarter turns.
        const double through = (round < 8 ? round * 45 : in(0, 359)) * M_PI / 180;
        const auto x = static_cast<int16_t>(in(left, right) - left - std::lround(rx * std::cos(through)));
        const auto y = static_cast<int16_t>(in(top, bottom) - top + std::lround(ry * std::sin(through)));
        const auto from = static_cast<uint16_t>(in(0, 400)), to = static_cast<uint16_t>(in(0, 400));
        const bool fill = in(0, 2) == 0;
        DriverSlots.FillPatternSpan = in(0, 1) == 0 ? backendFill : GenericFillPatternSpan;
        DefineViewport(left, top, right, bottom, in(0, 1) == 1);
        SetStrokeStyle(0, 0, in(0, 3) == 0 ? 3 : 1);
        SetDrawColor(static_cast<uint16_t>(in(1, 15)));
        SelectFill(in(0, 1) == 0 ? 1 : 9, static_cast<uint16_t>(in(1, 15)));
        auto draw = [&](EllipseRoutine ellipse) {
            ClearNewestBuffer();
            const EllipseRoutine kept = DriverSlots.EllipseOp;
            DriverSlots.EllipseOp = ellipse;
            if (fill) {
                FillEllipseArea(x, y, static_cast<uint16_t>(rx), static_cast<uint16_t>(ry));
            } else {
                DrawEllipse(x, y, from, to, static_cast<uint16_t>(rx), static_cast<uint16_t>(ry));
            }
            DriverSlots.EllipseOp = kept;
            return std::make_pair(NewestBufferCopy(), std::vector<int16_t>(GraphState.lastArc, GraphState.lastArc + 6));
        };
        ASSERT_EQ(draw(ReferenceEllipse), draw(GenericEllipse))
            << "round " << round << " radii " << rx << ", " << ry << " angles " << from << ".." << to;
    }
    DriverSlots.FillPatternSpan = backendFill;
}

TEST(Primitives, NothingIsDrawnOrReadWithoutASurface) {
    StartMode();
    CloseNewestWindow();
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
