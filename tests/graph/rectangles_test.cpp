// Outlines and bars against the rectangle's own pixel sets, clipped and unclipped.
#include <gtest/gtest.h>

#include <algorithm>

#include "graph/graph.h"
#include "tests/graph/slot_canvas.h"

namespace {

struct Box { int x1, y1, x2, y2; };

// The rectangle's pixels (all, or its border only) inside the viewport, in surface coordinates.
std::set<Pixel> Reference(Box b, Box view, bool borderOnly) {
    std::set<Pixel> pixels;
    const auto [left, right] = std::minmax(b.x1, b.x2);
    const auto [top, bottom] = std::minmax(b.y1, b.y2);
    for (int y = std::max(top, 0); y <= std::min(bottom, view.y2 - view.y1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, view.x2 - view.x1); ++x)
            if (!borderOnly || x == left || x == right || y == top || y == bottom) pixels.insert({x + view.x1, y + view.y1});
    return pixels;
}

TEST(Rectangles, OutlinesAndBarsCoverExactlyTheirPixels) {
    const Box view{3, 4, 20, 18};
    for (Box b : {Box{1, 1, 6, 5}, Box{6, 5, 1, 1}, Box{2, 2, 2, 9}, Box{0, 3, 7, 4}, Box{-4, -2, 30, 9}, Box{4, 4, 4, 4}}) {
        for (uint16_t mode : {0, 1}) {
            SlotCanvas canvas(32, 32);
            DefineViewport(view.x1, view.y1, view.x2, view.y2, true);
            SelectWriteMode(mode);  // exclusive or: a pixel drawn twice would vanish
            OutlineRectangle(static_cast<int16_t>(b.x1), static_cast<int16_t>(b.y1), static_cast<int16_t>(b.x2),
                             static_cast<int16_t>(b.y2));
            EXPECT_EQ(canvas.Drawn(), Reference(b, view, true)) << b.x1 << "," << b.y1 << " mode " << mode;
        }
        SlotCanvas canvas(32, 32);
        DefineViewport(view.x1, view.y1, view.x2, view.y2, true);
        SelectFill(1, 6);
        FillBarArea(static_cast<int16_t>(b.x1), static_cast<int16_t>(b.y1), static_cast<int16_t>(b.x2),
                    static_cast<int16_t>(b.y2));
        EXPECT_EQ(canvas.PixelsOf(6), Reference(b, view, false));
    }
}

TEST(Rectangles, DepthBarAddsTheSideFaceAndTheTopOnlyWhenAsked) {
    for (bool top : {false, true}) {
        SlotCanvas canvas(40, 40);
        SelectFill(1, 6);
        DrawDepthBar(5, 20, 10, 30, 4, top);
        std::set<Pixel> expected = Reference({5, 20, 10, 30}, {0, 0, 39, 39}, true);
        for (int i = 1; i <= 4; ++i) expected.insert({{10 + i, 30 - i}, {10 + i, 20 - i}});
        for (int y = 16; y <= 26; ++y) expected.insert({14, y});
        for (int i = 1; top && i <= 4; ++i) expected.insert({{5 + i, 20 - i}});
        for (int x = 9; top && x <= 13; ++x) expected.insert({x, 16});
        EXPECT_EQ(canvas.PixelsOf(15), expected);
        EXPECT_EQ(canvas.PixelsOf(6).size(), 4u * 9u);
    }
}

}  // namespace
