// Wedges against a per-pixel angle test: a pixel centre belongs to the wedge when it lies in the
// ellipse and its parameter angle lies between the two angles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graph/graph.h"
#include "tests/graph/slot_canvas.h"

namespace {

struct Wedge { int rx, ry, from, to; };

TEST(Wedges, FillIsEveryPixelCentreInsideTheEllipseAndBetweenTheAngles) {
    const int cx = 25, cy = 22;
    for (Wedge w : {Wedge{12, 12, 0, 90}, Wedge{15, 9, 30, 200}, Wedge{15, 9, 200, 30}, Wedge{10, 14, 45, 315},
                    Wedge{13, 13, 0, 360}, Wedge{9, 9, 90, 270}, Wedge{14, 6, 350, 10}, Wedge{12, 8, 100, 100},
                    Wedge{30, 20, 120, 340}, Wedge{65535, 65535, 10, 350}, Wedge{65535, 3, 1, 359}}) {
        SlotCanvas canvas(50, 44);
        DefineViewport(3, 2, 44, 40, true);
        SelectFill(1, 9);
        FillEllipticalWedge(cx - 3, cy - 2, w.from, w.to, w.rx, w.ry);
        const std::set<Pixel> outline = canvas.PixelsOf(15);
        const int from = std::min(w.from, w.to), to = std::max(w.from, w.to);
        for (int y = 2; y <= 40; ++y) {
            for (int x = 3; x <= 44; ++x) {
                const double dx = x - cx, dy = cy - y;
                double angle = std::atan2(dy * w.rx, dx * w.ry) * 180 / std::numbers::pi;
                if (angle < 0) angle += 360;
                const bool onRay = std::fabs(std::remainder(angle - from, 360)) < 1e-9 || std::fabs(std::remainder(angle - to, 360)) < 1e-9;
                if (outline.count({x, y}) || onRay || (dx == 0 && dy == 0)) continue;
                const bool inEllipse = dx * dx * w.ry * w.ry + dy * dy * w.rx * w.rx <= double(w.rx) * w.rx * w.ry * w.ry;
                const bool between = to - from >= 360 || (from <= angle && angle <= to);
                EXPECT_EQ(canvas.At(x, y) == 9, inEllipse && between && from != to)
                    << x << "," << y << " wedge " << w.rx << "x" << w.ry << " " << w.from << ".." << w.to;
            }
        }
    }
}

TEST(Wedges, RadiiRunFromTheCentreToTheArcsEnds) {
    SlotCanvas canvas(40, 40);
    SelectFill(0, 0);
    FillWedge(20, 20, 0, 90, 10);
    for (Pixel p : {Pixel{20, 20}, Pixel{25, 20}, Pixel{30, 20}, Pixel{20, 15}, Pixel{20, 10}}) EXPECT_EQ(canvas.At(p.first, p.second), 15);
    EXPECT_EQ(canvas.At(15, 20), 0);
}

}  // namespace
