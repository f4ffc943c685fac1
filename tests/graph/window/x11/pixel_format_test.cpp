// The back-buffer's pixels as the server's visuals store them.

#include "graph/window/x11/pixel_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

PixelFormat Format(uint8_t depth, uint8_t bitsPerPixel, uint32_t red, uint32_t green, uint32_t blue,
                   bool mostSignificantFirst = false) {
    PixelFormat format;
    format.depth = depth;
    format.bitsPerPixel = bitsPerPixel;
    format.redMask = red;
    format.greenMask = green;
    format.blueMask = blue;
    format.mostSignificantFirst = mostSignificantFirst;
    return format;
}

const PixelFormat k565 = Format(16, 16, 0xF800, 0x07E0, 0x001F);
const PixelFormat k555 = Format(15, 16, 0x7C00, 0x03E0, 0x001F);
const PixelFormat k30 = Format(30, 32, 0x3FF00000, 0x000FFC00, 0x000003FF);

// The level of `levels` + 1 evenly spaced levels whose brightness is closest to value / 255.
uint32_t NearestLevel(uint32_t value, uint32_t levels) {
    uint32_t best = 0;
    for (uint32_t level = 1; level <= levels; ++level) {
        if (std::abs(level * 255.0 / levels - value) < std::abs(best * 255.0 / levels - value)) best = level;
    }
    return best;
}

TEST(PixelFormat, OnlyThe24BitLayoutOfTheBufferNeedsNoConversion) {
    EXPECT_TRUE(IsBufferLayout(PixelFormat{}));
    EXPECT_FALSE(IsBufferLayout(k565));
    EXPECT_FALSE(IsBufferLayout(k30));
    EXPECT_FALSE(IsBufferLayout(Format(24, 32, 0xFF, 0xFF00, 0xFF0000)));  // blue and red exchanged
    EXPECT_FALSE(IsBufferLayout(Format(24, 32, 0xFF0000, 0xFF00, 0xFF, true)));
    EXPECT_FALSE(IsBufferLayout(Format(24, 24, 0xFF0000, 0xFF00, 0xFF)));
}

TEST(PixelFormat, EveryChannelValueBecomesTheNearestLevel) {
    for (uint32_t v = 0; v < 256; ++v) {
        const uint32_t five = NearestLevel(v, 31), six = NearestLevel(v, 63), ten = NearestLevel(v, 1023);
        ASSERT_EQ(ConvertPixel(k565, v << 16 | v << 8 | v), five << 11 | six << 5 | five) << v;
        ASSERT_EQ(ConvertPixel(k555, v << 16), five << 10) << v;
        ASSERT_EQ(ConvertPixel(k30, v), ten) << v;
    }
    // Channels stay apart: each colour reaches its own field only.
    EXPECT_EQ(ConvertPixel(k565, 0xFF0000), 0xF800u);
    EXPECT_EQ(ConvertPixel(k565, 0x00FF00), 0x07E0u);
    EXPECT_EQ(ConvertPixel(k565, 0x0000FF), 0x001Fu);
    EXPECT_EQ(ConvertPixel(k30, 0xFFFFFF), 0x3FFFFFFFu);
}

TEST(PixelFormat, RowsAreStoredInTheServersByteOrderAndPadded) {
    const uint32_t pixels[3] = {0xFF0000, 0x0000FF, 0xFFFFFF};
    EXPECT_EQ(ImageRowBytes(k565, 3), 8u);  // 6 bytes padded to 32 bits
    std::vector<uint8_t> row(8, 0xAA);
    ConvertRow(k565, pixels, 3, row.data());
    EXPECT_EQ(row, (std::vector<uint8_t>{0x00, 0xF8, 0x1F, 0x00, 0xFF, 0xFF, 0, 0}));
    ConvertRow(Format(16, 16, 0xF800, 0x07E0, 0x001F, true), pixels, 3, row.data());
    EXPECT_EQ(row, (std::vector<uint8_t>{0xF8, 0x00, 0x00, 0x1F, 0xFF, 0xFF, 0, 0}));

    const PixelFormat packed = Format(24, 24, 0xFF0000, 0xFF00, 0xFF);
    EXPECT_EQ(ImageRowBytes(packed, 3), 12u);  // 9 bytes padded
    row.assign(12, 0xAA);
    ConvertRow(packed, pixels, 3, row.data());
    EXPECT_EQ(row, (std::vector<uint8_t>{0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0}));

    // The buffer's own layout is copied word for word.
    const uint32_t words[2] = {0x123456, 0xABCDEF};
    std::vector<uint32_t> copied(2);
    ConvertRow(PixelFormat{}, words, 2, reinterpret_cast<uint8_t*>(copied.data()));
    EXPECT_EQ(copied, (std::vector<uint32_t>{0x123456, 0xABCDEF}));
}

}  // namespace
