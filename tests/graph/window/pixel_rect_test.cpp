// PixelRect, the half-open rectangle every clip of the back-end goes through.

#include "graph/window/pixel_rect.h"

#include <gtest/gtest.h>

namespace {

TEST(PixelRect, EdgesAreHalfOpen) {
    const PixelRect r{2, 3, 5, 7};
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(4, 6));
    EXPECT_FALSE(r.Contains(5, 3));  // right edge excluded
    EXPECT_FALSE(r.Contains(2, 7));  // bottom edge excluded
    EXPECT_FALSE(r.Contains(1, 3));
    EXPECT_FALSE(r.Contains(2, 2));
    EXPECT_EQ(r.Area(), 12);
    EXPECT_EQ(PixelRect::FromCorners(0, 0, 639, 479), (PixelRect{0, 0, 640, 480}));
    EXPECT_TRUE(PixelRect::FromCorners(7, 7, 7, 7).Contains(7, 7));
}

TEST(PixelRect, EmptyRectanglesHoldNothing) {
    for (const PixelRect& empty : {PixelRect{0, 0, 0, 0}, PixelRect{3, 0, 3, 5}, PixelRect{0, 5, 4, 5},
                                   PixelRect{5, 0, 3, 2}, PixelRect::FromCorners(5, 5, 4, 9)}) {
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_EQ(empty.Area(), 0);  // an inverted rectangle has no negative area
        EXPECT_FALSE(empty.Contains(empty.left, empty.top));
        EXPECT_FALSE(empty.Contains(4, 1));
    }
    EXPECT_FALSE((PixelRect{0, 0, 1, 1}).IsEmpty());
}

TEST(PixelRect, IntersectedKeepsOnlyTheSharedPixels) {
    const PixelRect a{0, 0, 10, 10};
    EXPECT_EQ(a.Intersected({5, -5, 15, 5}), (PixelRect{5, 0, 10, 5}));
    EXPECT_EQ(a.Intersected({2, 2, 4, 4}), (PixelRect{2, 2, 4, 4}));
    EXPECT_TRUE(a.Intersected({20, 20, 30, 30}).IsEmpty());
    // Neighbours share an edge but no pixel.
    EXPECT_TRUE(a.Intersected({10, 0, 20, 10}).IsEmpty());
    EXPECT_TRUE(a.Intersected({0, 10, 10, 20}).IsEmpty());
}

TEST(PixelRect, UnitedIgnoresEmptySides) {
    const PixelRect a{0, 0, 2, 2};
    EXPECT_EQ(a.United({5, 5, 6, 6}), (PixelRect{0, 0, 6, 6}));
    EXPECT_EQ((PixelRect{0, 0, 0, 0}).United(a), a);
    EXPECT_EQ(a.United({0, 0, 0, 0}), a);
    // An empty rectangle far away does not stretch the union towards it.
    EXPECT_EQ(a.United({100, 100, 100, 200}), a);
}

TEST(PixelRect, ContainsARectangleOnlyWhenEveryPixelIsInside) {
    const PixelRect a{0, 0, 10, 10};
    EXPECT_TRUE(a.Contains(PixelRect{0, 0, 10, 10}));
    EXPECT_TRUE(a.Contains(PixelRect{3, 3, 4, 4}));
    EXPECT_FALSE(a.Contains(PixelRect{3, 3, 11, 4}));
    EXPECT_FALSE(a.Contains(PixelRect{-1, 0, 5, 5}));
    EXPECT_TRUE(a.Contains(PixelRect{50, 50, 50, 50}));  // nothing to hold
}

}  // namespace
