// Lines: the segment walk, clipping, styles, thickness, the pen and the viewport clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "tests/graph/graph_test_support.h"

namespace {

using Points = std::vector<std::pair<int, int>>;
Points plotted;

void Record(int16_t x, int16_t y) { plotted.emplace_back(x, y); }

// The generic routines with a recording PlotPixel; viewport at the origin, clipping off.
void RecordOnly() {
    RestartLibrary();
    InstallDefaultSlots();
    DriverSlots.PlotPixel = Record;
    GraphState.viewLeft = GraphState.viewTop = 0;
    GraphState.viewMaxX = GraphState.viewMaxY = 32767;
    GraphState.clipOn = false;
    SetStrokeStyle(0, 0, 1);
    plotted.clear();
}

// What makes `points` the walk from (x1, y1) to (x2, y2): it starts and ends there, takes one
// step along the major axis each time (and none or one along the other, towards the end), and
// keeps each point within half a pixel of the true line. Checked in 64-bit arithmetic, so an
// overflowing walk fails it.
void ExpectWalk(const Points& points, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const int64_t dx = x2 - x1, dy = y2 - y1;
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const int64_t major = steep ? std::llabs(dy) : std::llabs(dx);
    ASSERT_EQ(points.size(), static_cast<size_t>(major + 1));
    ASSERT_EQ(points.front(), std::make_pair(int(x1), int(y1)));
    ASSERT_EQ(points.back(), std::make_pair(int(x2), int(y2)));
    for (size_t i = 0; i < points.size(); ++i) {
        const int64_t along = (steep ? points[i].second - y1 : points[i].first - x1);
        const int64_t across = (steep ? points[i].first - x1 : points[i].second - y1);
        const int64_t alongExtent = steep ? dy : dx, acrossExtent = steep ? dx : dy;
        ASSERT_EQ(along, alongExtent < 0 ? -int64_t(i) : int64_t(i));
        // |across - along * slope| <= 1/2, with slope = (across extent) / (along extent).
        ASSERT_LE(std::llabs(2 * (across * alongExtent - along * acrossExtent)), std::llabs(alongExtent)) << i;
    }
}

TEST(Lines, WalkOrderAndTies) {
    RecordOnly();
    DriverSlots.DrawLine(0, 0, 4, 2);
    EXPECT_EQ(plotted, (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    plotted.clear();
    DriverSlots.DrawLine(4, 2, 0, 0);
    EXPECT_EQ(plotted, (Points{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
}

TEST(Lines, LongSegmentsAreWalkedExactly) {
    RecordOnly();
    const int cases[][4] = {{-30000, -20000, 30000, 20001}, {32767, -32768, -32768, 32767},
                            {-32768, 100, 32767, -7}, {5, -32000, -6, 32000}};
    for (const auto& c : cases) {
        plotted.clear();
        DriverSlots.DrawLine(static_cast<int16_t>(c[0]), static_cast<int16_t>(c[1]), static_cast<int16_t>(c[2]),
                             static_cast<int16_t>(c[3]));
        ExpectWalk(plotted, c[0], c[1], c[2], c[3]);
    }
}

TEST(Lines, ClippedLinesWalkFromTheirMovedEndPoints) {
    RecordOnly();
    GraphState.clipOn = true;
    GraphState.viewLeft = 5;
    GraphState.viewMaxX = 100;
    GraphState.viewMaxY = 100;
    // (0,0)-(10,3) meets the left edge x = 5 at y = 3 * 5 / 10 = 1 (truncated): the walk starts
    // there, not at the whole line's (5,2).
    DriverSlots.DrawLine(-5, 0, 5, 3);
    EXPECT_EQ(plotted, (Points{{5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 3}, {10, 3}}));
}

TEST(Lines, ClippedLinesStayInsideTheViewport) {
    std::mt19937 random(20261208);
    RecordOnly();
    for (int round = 0; round < 4000; ++round) {
        auto coordinate = [&](int range) { return static_cast<int>(random() % (2 * range + 1)) - range; };
        int range = round % 10 == 0 ? 32000 : 300;
        int x1 = coordinate(range), y1 = coordinate(range), x2 = coordinate(range), y2 = coordinate(range);
        if (round % 7 == 0) y2 = y1;  // axis-parallel ones too
        if (round % 11 == 0) x2 = x1;
        int left = coordinate(150), top = coordinate(150);
        int right = left + static_cast<int>(random() % 200), bottom = top + static_cast<int>(random() % 200);
        GraphState.viewLeft = static_cast<int16_t>(left);
        GraphState.viewTop = static_cast<int16_t>(top);
        GraphState.viewMaxX = static_cast<int16_t>(right - left);
        GraphState.viewMaxY = static_cast<int16_t>(bottom - top);
        GraphState.clipOn = true;
        plotted.clear();
        DriverSlots.DrawLine(static_cast<int16_t>(x1 - left), static_cast<int16_t>(y1 - top),
                             static_cast<int16_t>(x2 - left), static_cast<int16_t>(y2 - top));
        int16_t cx1 = static_cast<int16_t>(x1), cy1 = static_cast<int16_t>(y1);
        int16_t cx2 = static_cast<int16_t>(x2), cy2 = static_cast<int16_t>(y2);
        const bool nothing = ClipSegment(cx1, cy1, cx2, cy2, static_cast<int16_t>(left), static_cast<int16_t>(top),
                                         static_cast<int16_t>(right), static_cast<int16_t>(bottom));
        if (x1 != x2 && y1 != y2) {
            if (nothing) ASSERT_EQ(plotted, Points{});
            else ExpectWalk(plotted, cx1, cy1, cx2, cy2);
        }
        for (const auto& p : plotted) {
            ASSERT_TRUE(p.first >= left && p.first <= right && p.second >= top && p.second <= bottom)
                << x1 << "," << y1 << " - " << x2 << "," << y2;
        }
    }
}

TEST(Lines, ClipSegmentMovesEndsOntoTheRectangle) {
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        auto coordinate = [&] { return static_cast<int16_t>(static_cast<int>(random() % 801) - 400); };
        int16_t x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
        const int16_t left = -50, top = -20, right = 100, bottom = 60;
        int16_t cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
        bool nothing = ClipSegment(cx1, cy1, cx2, cy2, left, top, right, bottom);
        if (nothing) {
            // Rejection is exact for the segment: no point of it lies inside (sampled finely).
            for (int s = 0; s <= 1000; ++s) {
                double x = x1 + (x2 - x1) * s / 1000.0, y = y1 + (y2 - y1) * s / 1000.0;
                ASSERT_FALSE(x >= left + 1 && x <= right - 1 && y >= top + 1 && y <= bottom - 1);
            }
            continue;
        }
        for (int16_t v : {cx1, cx2}) ASSERT_TRUE(v >= left && v <= right);
        for (int16_t v : {cy1, cy2}) ASSERT_TRUE(v >= top && v <= bottom);
        if (y1 == y2) {
            int16_t from = std::max(std::min(x1, x2), left), to = std::min(std::max(x1, x2), right);
            ASSERT_EQ(std::min(cx1, cx2), from);
            ASSERT_EQ(std::max(cx1, cx2), to);
        }
    }
}

TEST(Lines, SegmentsSpanningThe16BitRangeThatMissTheViewportAreRejected) {
    // Spans of 65535 multiplied in 32 bits overflowed and moved these onto the rectangle.
    const int16_t misses[][4] = {{-32768, 32767, 32269, -32768}, {-32767, 32767, 31825, -32767},
                                 {-32767, -32767, 381, 32766}, {-32669, -32768, 100, 32767}};
    for (const auto& m : misses) {
        int16_t x1 = m[0], y1 = m[1], x2 = m[2], y2 = m[3];
        EXPECT_TRUE(ClipSegment(x1, y1, x2, y2, 100, 100, 300, 250)) << m[0] << "," << m[1];
    }
    RecordOnly();
    GraphState.clipOn = true;
    GraphState.viewLeft = 100;
    GraphState.viewTop = 100;
    GraphState.viewMaxX = 200;
    GraphState.viewMaxY = 150;
    DriverSlots.DrawLine(32767, 32668, 0, 32667);  // the last one above, before wrapping
    EXPECT_EQ(plotted, Points{});
}

TEST(Lines, AxisParallelAndThickSolidLinesGoToTheRuns) {
    RecordOnly();
    DriverSlots.DrawLine(7, 9, 7, 9);
    EXPECT_EQ(plotted, (Points{{7, 9}}));
    plotted.clear();
    SetStrokeStyle(0, 0, 3);
    DriverSlots.DrawLine(7, 9, 7, 9);
    EXPECT_EQ(plotted, (Points{{7, 8}, {7, 9}, {7, 10}}));
    plotted.clear();
    DriverSlots.DrawLine(2, 5, 0, 5);
    EXPECT_EQ(plotted, (Points{{0, 4}, {1, 4}, {2, 4}, {0, 5}, {1, 5}, {2, 5}, {0, 6}, {1, 6}, {2, 6}}));
    plotted.clear();
    DriverSlots.DrawLine(0, 0, 1, 3);  // steep: three columns per position
    EXPECT_EQ(plotted.size(), 12u);
    EXPECT_EQ(plotted[0], std::make_pair(-1, 0));
}

TEST(Lines, ThickLineAlongTheViewportEdgeLosesTheOutsideRow) {
    RecordOnly();
    GraphState.viewLeft = 10;
    GraphState.viewTop = 10;
    GraphState.viewMaxX = 100;
    GraphState.viewMaxY = 100;
    GraphState.clipOn = true;
    SetStrokeStyle(1, 0, 3);
    DriverSlots.DrawLine(0, 0, 7, 0);  // patterned: x = 10..11, 14..15 of rows 10, 11
    EXPECT_EQ(plotted, (Points{{12, 10}, {13, 10}, {16, 10}, {17, 10}, {12, 11}, {13, 11}, {16, 11}, {17, 11}}));
}

TEST(Lines, StylesAnchorAxisLinesAndRestartSlopedOnes) {
    RecordOnly();
    SetStrokeStyle(1, 0, 1);
    DriverSlots.DrawLine(1, 0, 8, 0);
    EXPECT_EQ(plotted, (Points{{1, 0}, {4, 0}, {5, 0}, {8, 0}}));
    plotted.clear();
    DriverSlots.DrawLine(10, 0, 17, 2);
    EXPECT_EQ(plotted.size(), 4u);
    EXPECT_EQ(plotted[0].first, 10);
    EXPECT_EQ(plotted[1].first, 11);
    EXPECT_EQ(plotted[2].first, 14);
    plotted.clear();
    SetStrokeStyle(4, 0, 1);
    DriverSlots.DrawLine(0, 0, 40, 3);
    EXPECT_TRUE(plotted.empty());
    SetStrokeStyle(4, 0x8000, 1);
    DriverSlots.DrawLine(0, 0, 40, 3);
    EXPECT_EQ(plotted.size(), 3u);
    EXPECT_EQ(plotted[1].first, 16);
    EXPECT_EQ(plotted[2].first, 32);
}

// A patterned segment that the viewport cuts down to one row, one column or one point is drawn
// as a run: its pattern is anchored to the surface (style 1: on where (x AND 3) < 2), not
// restarted at its first pixel.
TEST(Lines, PatternedLinesThatClippingMakesAxisParallelAreRuns) {
    RecordOnly();
    SetStrokeStyle(1, 0, 1);
    GraphState.clipOn = true;
    auto setViewport = [](int left, int top, int maxX, int maxY) {
        GraphState.viewLeft = static_cast<int16_t>(left);
        GraphState.viewTop = static_cast<int16_t>(top);
        GraphState.viewMaxX = static_cast<int16_t>(maxX);
        GraphState.viewMaxY = static_cast<int16_t>(maxY);
    };
    auto anchored = [](int from, int to, auto point) {
        Points points;
        for (int v = from; v <= to; ++v) {
            if ((v & 3) < 2) points.push_back(point(v));
        }
        return points;
    };

    setViewport(5, 10, 90, 0);  // the one row y = 10, x = 5..95
    DriverSlots.DrawLine(-1000, 0, 1000, 1);  // clipped to (5,10)-(95,10)
    EXPECT_EQ(plotted, anchored(5, 95, [](int x) { return std::make_pair(x, 10); }));

    plotted.clear();
    setViewport(15, 3, 15, 200);  // x = 15..30, y = 3..203
    DriverSlots.DrawLine(5, -1000, 6, 1000);  // clipped at the top and bottom to (20,3)-(20,203)
    EXPECT_EQ(plotted, anchored(3, 203, [](int y) { return std::make_pair(20, y); }));

    plotted.clear();
    setViewport(6, 10, 0, 0);  // the one pixel (6,10): pattern entry 6 is off
    DriverSlots.DrawLine(-1000, 0, 1000, 1);
    EXPECT_TRUE(plotted.empty());
}

TEST(Lines, StrokeStyleIsChecked) {
    RecordOnly();
    SetStrokeStyle(2, 0, 1);
    GraphState.resultCode = 0;
    SetStrokeStyle(5, 0, 1);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    SetStrokeStyle(0, 0, 2);
    StrokeSettings settings;
    GetStrokeStyle(settings);
    EXPECT_EQ(settings.style, 2);
    EXPECT_EQ(settings.pattern, 0xFC78);
    EXPECT_EQ(settings.thickness, 1);
    SetStrokeStyle(1, 0x1234, 3);
    GetStrokeStyle(settings);
    EXPECT_EQ(settings.pattern, 0xCCCC);
    EXPECT_EQ(GraphState.strokeMask[0], 1);
    EXPECT_EQ(GraphState.strokeMask[2], 0);
}

TEST(Lines, PenMovesEvenWhenNothingIsDrawn) {
    StartMode();
    PenMoveTo(10, 10);
    PenLineTo(-500, -500);
    EXPECT_EQ(PenX(), -500);
    EXPECT_EQ(PenY(), -500);
    PenLineTo(20, 10);
    EXPECT_EQ(BufferPixel(20, 10), DefaultPixel(15));
    EXPECT_EQ(BufferPixel(0, 0), DefaultPixel(15));  // the clipped segment reached the corner
}

TEST(Lines, ViewportClearUsesCopyModeAndRestoresSettings) {
    StartMode();
    SetDrawColor(1);
    DriverSlots.DrawHorizontalLine(0, 639, 20);
    DefineViewport(10, 10, 29, 29, true);
    ChangeBackground(2);  // entry 0 shows green now
    GraphState.backColor = 5;
    GraphState.writeMode = 1;
    SetStrokeStyle(3, 0, 3);
    PenMoveTo(4, 4);
    DriverSlots.EraseViewportOp();
    EXPECT_EQ(BufferPixel(10, 10), DefaultPixel(5));
    EXPECT_EQ(BufferPixel(29, 20), DefaultPixel(5));
    EXPECT_EQ(BufferPixel(30, 20), DefaultPixel(1));
    EXPECT_EQ(GraphState.writeMode, 1);
    EXPECT_EQ(GraphState.drawColor, 1);
    EXPECT_EQ(GraphState.strokeStyle, 3);
    EXPECT_EQ(GraphState.strokeThickness, 3);
    EXPECT_EQ(PenX(), 0);
}

}  // namespace
