#include <gtest/gtest.h>

#include "tests/graph/graph_test_support.h"

TEST(Smoke, InitDrawLeave) {
    StartMode();
    EXPECT_EQ(GraphResult(), 0);
    PenLineTo(10, 0);
    EXPECT_EQ(BufferPixel(5, 0), DefaultPixel(15));
    LeaveGraphics();
}
