// Image buffers on a slot canvas: sizes, layout, round trips, clipping and write modes.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "graph/graph_internal.h"
#include "tests/graph/slot_canvas.h"

namespace {

// A surface whose pixel (x, y) has the colour (x + 3 * y) % 16.
void Paint(SlotCanvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) canvas.Set(x, y, static_cast<uint16_t>((x + 3 * y) % 16));
}

uint16_t Painted(int x, int y) { return static_cast<uint16_t>((x + 3 * y) % 16); }

std::vector<uint8_t> Saved(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    std::vector<uint8_t> buffer(static_cast<size_t>(ImageBufferSize(x1, y1, x2, y2)), 0xEE);
    SaveImage(x1, y1, x2, y2, buffer.data());
    return buffer;
}

TEST(ImageBuffers, SizeIsTwelveBytesAndTwoPerPixel) {
    SlotCanvas canvas(4, 4);
    EXPECT_EQ(ImageBufferSize(0, 0, 9, 4), 112);
    EXPECT_EQ(ImageBufferSize(7, 7, 7, 7), 14);
    EXPECT_EQ(ImageBufferSize(-5, 0, 4, 0), 32);
    EXPECT_EQ(ImageBufferSize(0, 0, 32767, 1), 2 * 32768 * 2 + 12);
}

TEST(ImageBuffers, RectanglesNoBufferSizeExpressesAreRefused) {
    SlotCanvas canvas(4, 4);
    struct Case { int16_t x1, y1, x2, y2; int32_t size; };
    const Case cases[] = {
        {0, 0, 32767, 32766, 2 * 32768 * 32767 + 12}, {10, 0, 9, 0, 12},  // the largest; an empty one
        {-32768, 0, 32767, 32767, 0}, {0, 0, 32767, 32767, 0},            // beyond 32 bits
        {10, 0, 8, 0, 0}, {0, 5, 0, 3, 0}};                                 // negative sides
    for (const Case& c : cases) {
        GraphState.resultCode = GraphOk;
        EXPECT_EQ(ImageBufferSize(c.x1, c.y1, c.x2, c.y2), c.size) << c.x1 << "," << c.y1 << "," << c.x2;
        EXPECT_EQ(GraphResult(), c.size == 0 ? GraphErrorGeneral : GraphOk);
        if (c.size != 0) continue;
        GraphState.resultCode = GraphOk;
        uint8_t untouched[16] = {};
        SaveImage(c.x1, c.y1, c.x2, c.y2, untouched);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
        EXPECT_EQ(std::count(untouched, untouched + 16, 0), 16);
    }
}

TEST(ImageBuffers, HeadersNoSaveWritesAreRefused) {
    SlotCanvas canvas(40, 40, 0);
    const int32_t sides[][2] = {{INT32_MAX, 0}, {0, INT32_MAX}, {INT32_MIN, 0}, {-2, 0}, {65536, 0}, {40000, 40000}};
    for (const auto& side : sides) {
        uint8_t buffer[16] = {};
        for (int i = 0; i < 8; ++i) buffer[i] = static_cast<uint8_t>(side[i / 4] >> (8 * (i % 4)));
        GraphState.resultCode = GraphOk;
        PutImage(-20, -20, buffer, 0);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral) << side[0] << "," << side[1];
    }
    EXPECT_TRUE(canvas.Drawn().empty());
}

TEST(ImageBuffers, LayoutIsHeaderThenRowsLittleEndian) {
    SlotCanvas canvas(32, 32);
    Paint(canvas);
    canvas.Set(2, 1, 0x1234);
    std::vector<uint8_t> buffer = Saved(1, 1, 3, 2);
    ASSERT_EQ(buffer.size(), 24u);
    const uint8_t header[12] = {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buffer.data(), header, 12), 0);
    EXPECT_EQ(buffer[12], Painted(1, 1));
    EXPECT_EQ(buffer[14], 0x34);
    EXPECT_EQ(buffer[15], 0x12);
    EXPECT_EQ(buffer[18], Painted(1, 2));  // the second row starts after three entries
}

TEST(ImageBuffers, RoundTripRestoresTheRectangleAndShiftsWithTheCorner) {
    SlotCanvas canvas(32, 32);
    Paint(canvas);
    std::vector<uint8_t> buffer = Saved(0, 0, 9, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) canvas.Set(x, y, 0);
    PutImage(0, 0, buffer.data(), 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(canvas.At(x, y), Painted(x, y)) << x << "," << y;

    PutImage(5, 5, buffer.data(), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.At(x + 5, y + 5), Painted(x, y));
    EXPECT_EQ(canvas.At(15, 5), Painted(15, 5));
}

TEST(ImageBuffers, ViewportCoordinatesAndUnalignedBuffers) {
    SlotCanvas canvas(32, 32);
    Paint(canvas);
    DefineViewport(4, 6, 31, 31, true);
    std::vector<uint8_t> storage(1 + static_cast<size_t>(ImageBufferSize(0, 0, 2, 2)));
    SaveImage(0, 0, 2, 2, storage.data() + 1);
    PutImage(10, 10, storage.data() + 1, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.At(14 + x, 16 + y), Painted(4 + x, 6 + y));
}

TEST(ImageBuffers, ClippingShowsOnlyThePartInsideTheViewport) {
    SlotCanvas canvas(40, 40);
    Paint(canvas);
    std::vector<uint8_t> buffer = Saved(0, 0, 9, 7);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) canvas.Set(x, y, 0);
    DefineViewport(10, 10, 15, 14, true);
    PutImage(-3, -2, buffer.data(), 0);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            bool inside = x >= 10 && x <= 15 && y >= 10 && y <= 14;
            // Image column 3 of row 2 lands on the viewport's corner.
            uint16_t expected = inside ? Painted(x - 10 + 3, y - 10 + 2) : 0;
            ASSERT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(ImageBuffers, WithoutClippingTheWholeImageIsPut) {
    SlotCanvas canvas(40, 40);
    Paint(canvas);
    std::vector<uint8_t> buffer = Saved(0, 0, 3, 3);
    DefineViewport(10, 10, 15, 14, false);
    PutImage(-3, -2, buffer.data(), 0);
    EXPECT_EQ(canvas.At(7, 8), Painted(0, 0));
}

TEST(ImageBuffers, AnImageWhollyOutsideDrawsNothing) {
    SlotCanvas canvas(40, 40, 0);
    std::vector<uint8_t> buffer(static_cast<size_t>(ImageBufferSize(0, 0, 3, 3)), 0);
    for (size_t i = 12; i < buffer.size(); i += 2) buffer[i] = 7;
    std::memcpy(buffer.data(), "\x03\0\0\0\x03\0\0\0\0\0\0\0", 12);
    DefineViewport(10, 10, 20, 20, true);
    PutImage(-10, 2, buffer.data(), 0);
    PutImage(2, 20, buffer.data(), 0);
    EXPECT_TRUE(canvas.Drawn().empty());
}

TEST(ImageBuffers, WriteModesCombineAndTheSettingsAreRestored) {
    SlotCanvas canvas(16, 16, 0);
    canvas.Set(0, 0, 0b1100);
    std::vector<uint8_t> buffer = Saved(0, 0, 0, 0);
    GraphState.drawColor = 3;
    GraphState.writeMode = 0;
    canvas.Set(0, 0, 0b1010);
    PutImage(0, 0, buffer.data(), 1);
    EXPECT_EQ(canvas.At(0, 0), 0b0110);
    canvas.Set(0, 0, 0b1010);
    PutImage(0, 0, buffer.data(), 2);
    EXPECT_EQ(canvas.At(0, 0), 0b1110);
    canvas.Set(0, 0, 0b1010);
    PutImage(0, 0, buffer.data(), 3);
    EXPECT_EQ(canvas.At(0, 0), 0b1000);
    EXPECT_EQ(GraphState.drawColor, 3);
    EXPECT_EQ(GraphState.writeMode, 0);
}

}  // namespace
