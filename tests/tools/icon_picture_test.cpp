#include "tools/icon/icon_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr RgbaPixel kClear{0, 0, 0, 0};
constexpr RgbaPixel kRed{170, 0, 0, 255};
constexpr RgbaPixel kYellow{255, 255, 85, 255};

// An image buffer as SaveImage lays it out: width - 1, height - 1, 4 reserved bytes, colours.
std::vector<uint8_t> ImageBuffer(int32_t width, int32_t height, std::vector<uint16_t> colours) {
    std::vector<uint8_t> buffer(12 + 2 * colours.size());
    const int32_t header[3] = {width - 1, height - 1, 0};
    std::memcpy(buffer.data(), header, sizeof header);
    std::memcpy(buffer.data() + 12, colours.data(), 2 * colours.size());
    return buffer;
}

RgbaImage Filled(int32_t width, int32_t height, RgbaPixel pixel) {
    return {width, height, std::vector<RgbaPixel>(static_cast<size_t>(width) * height, pixel)};
}

TEST(PictureFromImageBuffer, LooksColoursUpAndClearsTheBackground) {
    IconPalette palette{};
    palette[4] = kRed;
    palette[14] = kYellow;
    const std::vector<uint8_t> buffer = ImageBuffer(3, 2, {0, 4, 14, 14, 4, 0});
    const RgbaImage picture = PictureFromImageBuffer(buffer.data(), palette, 0);
    ASSERT_EQ(picture.width, 3);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(picture.pixels, (std::vector<RgbaPixel>{kClear, kRed, kYellow, kYellow, kRed, kClear}));
}

TEST(ShrinkToSquare, CentresAWidePictureBetweenClearRows) {
    const RgbaImage icon = ShrinkToSquare(Filled(4, 2, kRed), 4);
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(icon.At(x, 0), kClear) << x;
        EXPECT_EQ(icon.At(x, 1), kRed) << x;
        EXPECT_EQ(icon.At(x, 2), kRed) << x;
        EXPECT_EQ(icon.At(x, 3), kClear) << x;
    }
}

TEST(ShrinkToSquare, AveragesColourByCoverageAndKeepsItsHueAtEdges) {
    // One red and three clear pixels: a quarter covered, still pure red, not darkened.
    RgbaImage picture = Filled(2, 2, kClear);
    picture.At(1, 1) = kRed;
    EXPECT_EQ(ShrinkToSquare(picture, 1).At(0, 0), (RgbaPixel{170, 0, 0, 64}));

    // Red beside yellow mixes half and half.
    picture = Filled(2, 2, kRed);
    picture.At(1, 0) = kYellow;
    picture.At(1, 1) = kYellow;
    EXPECT_EQ(ShrinkToSquare(picture, 1).At(0, 0), (RgbaPixel{213, 128, 43, 255}));
}

TEST(ShrinkToSquare, EveryPixelOfAnUnevenShrinkIsCovered) {
    // 401 into 128 does not divide: no icon pixel may be left out or read past the picture.
    const RgbaImage icon = ShrinkToSquare(Filled(401, 401, kYellow), 128);
    for (const RgbaPixel& pixel : icon.pixels) ASSERT_EQ(pixel, kYellow);
}

TEST(ShrinkToSquare, APictureSmallerThanTheIconIsEnlarged) {
    const RgbaImage icon = ShrinkToSquare(Filled(1, 1, kRed), 3);
    for (const RgbaPixel& pixel : icon.pixels) EXPECT_EQ(pixel, kRed);
}

}  // namespace
