// Arcs, ellipses and circles on a slot canvas.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "graph/arc_offsets.h"
#include "graph/graph_internal.h"
#include "tests/graph/arc_reference.h"
#include "tests/graph/slot_canvas.h"

namespace {

std::set<Pixel> Union(std::set<Pixel> a, const std::set<Pixel>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// The outline GenericEllipse draws for the given thin arc, on a fresh canvas.
std::set<Pixel> ThinOutline(int x, int y, int rx, int ry, int from = 0, int to = 360) {
    SlotCanvas canvas(200, 200);
    GenericEllipse(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(rx),
                   static_cast<uint16_t>(ry), static_cast<uint16_t>(from), static_cast<uint16_t>(to),
                   IgnoreSpan);
    return canvas.Drawn();
}

TEST(Ellipse, RadiiTenAndFiveTraceNineteenStepsPerQuadrant) {
    SlotCanvas canvas(120, 120);
    GenericEllipse(50, 50, 10, 5, 0, 360, IgnoreSpan);
    // n = 19: angles 0, 90/19, ... up to 90 + 90/19 -- twenty points, each mirrored four ways.
    EXPECT_EQ(canvas.writeCalls, 80);
    std::set<Pixel> drawn = canvas.Drawn();
    for (Pixel p : {Pixel{60, 50}, Pixel{40, 50}, Pixel{50, 45}, Pixel{50, 55}}) EXPECT_TRUE(drawn.count(p));
    std::set<Pixel> rightmost;
    for (auto [x, y] : drawn) {
        EXPECT_GE(x, 40);
        EXPECT_LE(x, 60);
        EXPECT_GE(y, 45);
        EXPECT_LE(y, 55);
        if (x == 60) rightmost.insert({x, y});
    }
    EXPECT_EQ(rightmost, (std::set<Pixel>{{60, 49}, {60, 50}, {60, 51}}));
    // Symmetric about both axes through the centre.
    for (auto [x, y] : drawn) {
        EXPECT_TRUE(drawn.count({100 - x, y}));
        EXPECT_TRUE(drawn.count({x, 100 - y}));
    }
}

TEST(Ellipse, RecordsTheCentreAndEndPointsOfTheLastArc) {
    SlotCanvas canvas(120, 120);
    GenericEllipse(50, 50, 10, 5, 0, 90, IgnoreSpan);
    LastArcPoints arc = ReadLastArc();
    EXPECT_EQ(arc.centreX, 50);
    EXPECT_EQ(arc.centreY, 50);
    EXPECT_EQ(arc.fromX, 60);
    EXPECT_EQ(arc.fromY, 50);
    EXPECT_EQ(arc.toX, 50);
    EXPECT_EQ(arc.toY, 45);
    // Only the upper-right quadrant is drawn.
    for (auto [x, y] : canvas.Drawn()) {
        EXPECT_GE(x, 50);
        EXPECT_LE(y, 50);
    }
}

TEST(Ellipse, AnglesAreTakenModulo361AndOrdered) {
    EXPECT_EQ(ThinOutline(100, 100, 30, 30, 361, 90), ThinOutline(100, 100, 30, 30, 0, 90));
    std::set<Pixel> leftHalf = ThinOutline(100, 100, 30, 30, 270, 90);
    EXPECT_EQ(leftHalf, ThinOutline(100, 100, 30, 30, 90, 270));
    for (auto [x, y] : leftHalf) EXPECT_LE(x, 100);
    EXPECT_TRUE(leftHalf.count({70, 100}));
    // 360 stays a full turn; 722 is 0, which leaves only the point at 0 degrees.
    EXPECT_EQ(ThinOutline(100, 100, 30, 30, 0, 722), (std::set<Pixel>{{130, 100}}));
    EXPECT_EQ(ThinOutline(100, 100, 30, 30, 0, 360), ThinOutline(100, 100, 30, 30, 361, 360));
    EXPECT_TRUE(ThinOutline(100, 100, 30, 30, 0, 360).count({100, 130}));
}

TEST(Ellipse, TinyRadiiDrawTheCentreOnly) {
    SlotCanvas canvas(20, 20);
    GenericEllipse(5, 6, 1, 0, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{5, 6}}));
    LastArcPoints arc = ReadLastArc();
    EXPECT_EQ(std::vector<int16_t>({arc.centreX, arc.centreY, arc.fromX, arc.fromY, arc.toX, arc.toY}),
              std::vector<int16_t>({5, 6, 5, 6, 5, 6}));
}

TEST(Ellipse, WithoutAModeTheAspectIsLeftAlone) {
    std::set<Pixel> corrected = ThinOutline(100, 100, 20, 20);
    SlotCanvas canvas(200, 200);
    GraphState.aspectX = 0;
    GraphState.aspectY = 0;
    GenericEllipse(100, 100, 20, 20, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), corrected);
}

TEST(Ellipse, AspectFactorsStretchTheRadii) {
    std::set<Pixel> circle = ThinOutline(100, 100, 20, 20);
    SlotCanvas canvas(200, 200);
    GraphState.aspectY = 5000;  // pixels twice as tall: the vertical radius doubles
    GenericEllipse(100, 100, 20, 10, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), circle);
}

TEST(Ellipse, TheCorrectedRadiusIsSixteenBit) {
    // 7000 x 10000 / 1000 = 70000, which as a 16-bit radius is 4464: the ellipse is the one of
    // radius 4464 (its right end at x = 64 with the centre at x = -4400).
    std::set<Pixel> wrapped = ThinOutline(-4400, 100, 4464, 20);
    ASSERT_FALSE(wrapped.empty());
    SlotCanvas canvas(200, 200);
    GraphState.aspectX = 1000;
    GenericEllipse(-4400, 100, 7000, 20, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), wrapped);
}

std::vector<std::tuple<int, int, int, uint16_t>> spans;
void RecordSpan(int16_t x1, int16_t x2, int16_t y) { spans.emplace_back(x1, x2, y, GraphState.drawColor); }

// Every pixel write and span call of one arc, in order, and the last-arc points it leaves.
struct ArcCalls {
    std::vector<std::tuple<int, int, int>> writes;
    std::vector<std::tuple<int, int, int, uint16_t>> spans;
    std::vector<int16_t> lastArc;
    bool operator==(const ArcCalls&) const = default;
};
std::vector<std::tuple<int, int, int>> writes;
void RecordWrite(int16_t x, int16_t y, uint16_t colour) { writes.emplace_back(x, y, colour); }

template <typename Routine>
ArcCalls CallsOf(Routine routine, int x, int y, int rx, int ry, int from, int to) {
    writes.clear();
    spans.clear();
    routine(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(rx), static_cast<uint16_t>(ry),
            static_cast<uint16_t>(from), static_cast<uint16_t>(to), RecordSpan);
    return {writes, spans, std::vector<int16_t>(GraphState.lastArc, GraphState.lastArc + 6)};
}

// The library's arc takes its cosines and sines from a polynomial; every radius up to 2000 (in
// the optimised builds; every ninth in the sanitizer and debug builds), with full outlines and
// random arcs, thin and thick, square and other aspects, gives the same pixel writes in the same
// order, the same spans and the same last-arc points as the routine in extended precision.
#ifdef NDEBUG
constexpr int kRadiusStride = 1;
#else
constexpr int kRadiusStride = 9;
#endif
TEST(Ellipse, EqualsTheExtendedPrecisionRoutineAtEveryRadius) {
    SlotCanvas canvas(16, 16);
    DriverSlots.WritePixel = RecordWrite;
    GraphState.fillColor = 5;
    std::mt19937 random(2000);
    for (int r = 0; r <= 2000; r += kRadiusStride) {
        const int other = static_cast<int>(random() % 2001);
        // The whole outline, and an arc of random angles (some past 360, some swapped).
        const int pairs[2][2] = {{0, 360}, {static_cast<int>(random() % 400), static_cast<int>(random() % 400)}};
        for (const auto& pair : pairs) {
            for (int shape = 0; shape < 2; ++shape) {
                const int rx = r, ry = shape == 0 ? r : other;
                GraphState.strokeThickness = random() % 8 == 0 ? 3 : 1;
                const bool square = random() % 4 != 0;
                GraphState.aspectX = square ? 10000 : static_cast<uint16_t>(4000 + random() % 12000);
                GraphState.aspectY = square ? 10000 : static_cast<uint16_t>(4000 + random() % 12000);
                const int x = static_cast<int>(random() % 200) - 100, y = static_cast<int>(random() % 200) - 100;
                const ArcCalls expected = CallsOf(ReferenceEllipse, x, y, rx, ry, pair[0], pair[1]);
                const ArcCalls actual = CallsOf(GenericEllipse, x, y, rx, ry, pair[0], pair[1]);
                ASSERT_TRUE(actual == expected) << "radii " << rx << ", " << ry << ", angles " << pair[0] << ".."
                                                << pair[1] << ", thickness " << GraphState.strokeThickness;
            }
        }
    }
}

// Beside a half the offsets still round as in extended precision: at the floats nearest to the
// angles where r cos a or r sin a is k + 1/2, for radii up to 65535 and angles up to 2.2 radians
// (past a right angle, where the loop's last step can reach).
TEST(ArcOffsets, BesideAHalfRoundAsInExtendedPrecision) {
    std::mt19937 random(65535);
    auto check = [](int32_t r, double exactAngle) {
        // The angle's float and two floats either side of it.
        float angles[5] = {std::nextafter(std::nextafter(static_cast<float>(exactAngle), 0.0f), 0.0f)};
        for (int i = 1; i < 5; ++i) angles[i] = std::nextafter(angles[i - 1], 4.0f);
        int32_t dx[5], dy[5], expectedDx, expectedDy;
        ArcOffsetsAt(r, r, angles, 5, dx, dy);
        for (int i = 0; i < 5; ++i) {
            ReferenceOffsets(r, r, angles[i], expectedDx, expectedDy);
            ASSERT_EQ(std::make_pair(dx[i], dy[i]), std::make_pair(expectedDx, expectedDy)) << r << ", " << angles[i];
        }
    };
    for (int32_t r = 1; r <= 200; ++r)
        for (int32_t k = -(r * 59) / 100; k < r; ++k) ASSERT_NO_FATAL_FAILURE(check(r, std::acos((k + 0.5) / r)));
    for (int i = 0; i < 20000; ++i) {
        const int32_t r = 1 + static_cast<int32_t>(random() % 65535);
        const double half = static_cast<int32_t>(random() % static_cast<uint32_t>(r)) + 0.5;
        ASSERT_NO_FATAL_FAILURE(check(r, std::acos(half / r)));
        ASSERT_NO_FATAL_FAILURE(check(r, std::asin(half / r)));
        ASSERT_NO_FATAL_FAILURE(check(r, std::acos(-0.59 * half / r)));
    }
}

TEST(Ellipse, HandsEachInteriorRowToTheSpanRoutineInTheFillColour) {
    SlotCanvas canvas(120, 120);
    spans.clear();
    GraphState.fillColor = 4;
    GraphState.drawColor = 2;
    GenericEllipse(50, 50, 10, 5, 0, 360, RecordSpan);
    std::set<int> rows;
    for (auto [x1, x2, y, colour] : spans) {
        rows.insert(y);
        EXPECT_EQ(colour, 4);
        // Strictly between the outline pixels of that row.
        EXPECT_EQ(canvas.At(x1 - 1, y), 2) << y;
        EXPECT_EQ(canvas.At(x2 + 1, y), 2) << y;
        EXPECT_EQ(x1 + x2, 100) << y;
    }
    // The top and bottom rows hold single outline points, with nothing between.
    EXPECT_EQ(rows, (std::set<int>{46, 47, 48, 49, 50, 51, 52, 53, 54}));
    EXPECT_EQ(GraphState.drawColor, 2);
}

TEST(Ellipse, AnOpenSideOfAnArcPassesItsSentinelToTheSpanRoutine) {
    SlotCanvas canvas(200, 200);
    spans.clear();
    GenericEllipse(100, 100, 20, 20, 0, 90, RecordSpan);
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(std::get<0>(spans.front()), -32767);  // the upper-left point was not plotted
}

TEST(Ellipse, ThickArcsAreThreeRingsAndOnlyTheInnerOneFeedsTheSpans) {
    std::set<Pixel> rings = Union(Union(ThinOutline(100, 100, 10, 10), ThinOutline(100, 100, 11, 11)),
                                  ThinOutline(100, 100, 9, 9));
    SlotCanvas canvas(200, 200);
    GraphState.strokeThickness = 3;
    spans.clear();
    GenericEllipse(100, 100, 10, 10, 0, 360, RecordSpan);
    EXPECT_EQ(canvas.Drawn(), rings);
    EXPECT_EQ(GraphState.strokeThickness, 3);
    int widest = 0;
    for (auto [x1, x2, y, colour] : spans) widest = std::max(widest, x2 - x1 + 1);
    EXPECT_EQ(widest, 17);  // inside the ring of radius 9
}

TEST(Ellipse, ThickArcWithARadiusOfZeroDrawsItsTwoOuterPasses) {
    std::set<Pixel> outer = Union(ThinOutline(100, 100, 0, 10), ThinOutline(100, 100, 1, 11));
    SlotCanvas canvas(200, 200);
    GraphState.strokeThickness = 3;
    GenericEllipse(100, 100, 0, 10, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), outer);
    EXPECT_EQ(GraphState.strokeThickness, 3);
}

TEST(Ellipse, ThickArcOfTheLargestRadiusHasNoRingAtTheCentre) {
    // r + 1 wrapped to 0, a ring at the centre; the outer ring is the middle one instead.
    std::set<Pixel> rings = Union(ThinOutline(100, 100, 65535, 65535), ThinOutline(100, 100, 65534, 65534));
    SlotCanvas canvas(200, 200);
    GraphState.strokeThickness = 3;
    GenericEllipse(100, 100, 65535, 65535, 0, 360, IgnoreSpan);
    EXPECT_EQ(canvas.Drawn(), rings);
    EXPECT_EQ(rings.count({100, 100}), 0u);
}

TEST(Circle, RadiusZeroDrawsNothingAndOneTheCentre) {
    SlotCanvas canvas(20, 20);
    GenericCircle(5, 5, 0);
    EXPECT_TRUE(canvas.Drawn().empty());
    GenericCircle(5, 5, 1);
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{5, 5}}));
}

TEST(Circle, IsTheFullEllipseAndKeepsLastArcAndWriteMode) {
    std::set<Pixel> outline = ThinOutline(100, 100, 40, 40);
    SlotCanvas canvas(200, 200);
    const int16_t earlier[6] = {1, 2, 3, 4, 5, 6};
    std::copy(earlier, earlier + 6, GraphState.lastArc);
    GraphState.writeMode = 1;
    DrawCircle(100, 100, 40);
    EXPECT_EQ(canvas.Drawn(), outline);  // drawn in copy mode despite write mode 1
    EXPECT_EQ(GraphState.writeMode, 1);
    EXPECT_TRUE(std::equal(earlier, earlier + 6, GraphState.lastArc));
}

TEST(Circle, ThickCircleIsTheRingsTenElevenAndNine) {
    std::set<Pixel> rings = Union(Union(ThinOutline(100, 100, 10, 10), ThinOutline(100, 100, 11, 11)),
                                  ThinOutline(100, 100, 9, 9));
    SlotCanvas canvas(200, 200);
    GraphState.strokeThickness = 3;
    DrawCircle(100, 100, 10);
    EXPECT_EQ(canvas.Drawn(), rings);
}

TEST(Ellipse, ClipsToTheViewportThroughWritePixel) {
    SlotCanvas canvas(200, 200);
    DefineViewport(50, 50, 99, 99, true);
    GenericEllipse(0, 0, 30, 30, 0, 360, IgnoreSpan);
    for (auto [x, y] : canvas.Drawn()) {
        EXPECT_GE(x, 50);
        EXPECT_GE(y, 50);
    }
    EXPECT_TRUE(canvas.Drawn().count({80, 50}));
}

}  // namespace
