// The polygon fill against a brute-force even-odd test of every pixel centre.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "graph/graph.h"
#include "tests/graph/slot_canvas.h"

namespace {

int outlineSegments = 0;

// The classic crossing-number test at the centre of pixel (px, py).
bool InsideByCrossings(const std::vector<GraphPoint>& points, double px, double py) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const double xi = points[i].x, yi = points[i].y, xj = points[j].x, yj = points[j].y;
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

void ExpectFillMatchesReference(const std::vector<GraphPoint>& points, int viewLeft, int viewTop) {
    SlotCanvas canvas(48, 40);
    DefineViewport(static_cast<int16_t>(viewLeft), static_cast<int16_t>(viewTop), 40, 33, true);
    DriverSlots.DrawLine = [](int16_t, int16_t, int16_t, int16_t) { ++outlineSegments; };
    outlineSegments = 0;
    SelectFill(1, 9);
    FillPolygonArea(points.data(), static_cast<int32_t>(points.size()));
    std::set<Pixel> expected;
    for (int y = viewTop; y <= 33; ++y)
        for (int x = viewLeft; x <= 40; ++x)
            if (InsideByCrossings(points, x - viewLeft, y - viewTop)) expected.insert({x, y});
    EXPECT_EQ(canvas.PixelsOf(9), expected);
    EXPECT_EQ(outlineSegments, static_cast<int>(points.size()));
}

TEST(Polygons, FillIsTheEvenOddSetOfPixelCentres) {
    // A self-crossing star, flat edges, a sliver, and points far off the 16-bit range's middle.
    ExpectFillMatchesReference({{20, 2}, {30, 30}, {4, 12}, {36, 12}, {10, 30}}, 0, 0);
    ExpectFillMatchesReference({{3, 3}, {30, 3}, {30, 20}, {15, 20}, {15, 10}, {3, 10}}, 2, 1);
    ExpectFillMatchesReference({{0, 0}, {40, 1}, {0, 2}}, 0, 0);
    ExpectFillMatchesReference({{-32768, -32768}, {32767, 20}, {-30000, 32767}}, 5, 5);
    std::mt19937 random(25);
    std::uniform_int_distribution<int> coordinate(-10, 50);
    for (int round = 0; round < 40; ++round) {
        std::vector<GraphPoint> points(static_cast<size_t>(3 + round % 6));
        for (GraphPoint& p : points) p = {static_cast<int16_t>(coordinate(random)), static_cast<int16_t>(coordinate(random))};
        ExpectFillMatchesReference(points, round % 4, round % 3);
    }
}

TEST(Polygons, OutlineIsOpenAndBadInputSetsResultCodes) {
    SlotCanvas canvas(10, 10);
    const GraphPoint points[] = {{1, 1}, {5, 1}, {5, 4}};
    struct Case { const GraphPoint* points; int32_t count; int16_t fillCode, outlineCode; };
    for (Case c : {Case{points, 1, GraphErrorGeneral, GraphErrorGeneral}, Case{points, -3, GraphErrorGeneral, GraphErrorGeneral},
                   Case{nullptr, 2, GraphErrorGeneral, GraphErrorGeneral}, Case{points, INT32_MAX, GraphErrorNoFillMemory, GraphOk}}) {
        GraphState.resultCode = GraphOk;
        FillPolygonArea(c.points, c.count);
        EXPECT_EQ(GraphResult(), c.fillCode);
        GraphState.resultCode = GraphOk;
        if (c.count != INT32_MAX) DrawPolygonOutline(c.points, c.count);
        EXPECT_EQ(GraphResult(), c.outlineCode);
    }
    DrawPolygonOutline(points, 3);
    EXPECT_EQ(canvas.Drawn().size(), 8u);
}

}  // namespace
