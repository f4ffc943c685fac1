#include "tools/icon/png_file.h"

#include <gtest/gtest.h>

#include <string_view>

#include "tests/tools/png_reader.h"

namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

RgbaImage Gradient(int32_t width, int32_t height) {
    RgbaImage image{width, height, {}};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.pixels.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                    static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x + y)});
        }
    }
    return image;
}

TEST(Checksums, MatchTheirPublishedCheckValues) {
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(Bytes("")), 0u);
    EXPECT_EQ(Adler32(Bytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(Adler32(Bytes("")), 1u);
}

TEST(Checksums, Adler32ReducesItsSumsBeforeTheyOverflow) {
    // 64 KiB of 0xFF wraps both 16-bit sums many times; computed by the definition.
    const std::vector<uint8_t> ones(65536, 0xFF);
    uint64_t a = 1, b = 0;
    for (uint8_t byte : ones) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(Adler32(ones), (b << 16) | a);
}

TEST(EncodePng, ASmallImageReadsBackPixelForPixel) {
    const RgbaImage image = Gradient(3, 2);
    const PngReading reading = ReadPng(EncodePng(image));
    ASSERT_EQ(reading.fault, "");
    EXPECT_EQ(reading.chunkTypes, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(reading.image.width, 3);
    EXPECT_EQ(reading.image.height, 2);
    EXPECT_EQ(reading.image.pixels, image.pixels);
    EXPECT_EQ(reading.storedBlocks, 1);
}

TEST(EncodePng, DataLongerThanOneStoredBlockIsSplitAcrossBlocks) {
    // 200 rows of 1 + 4 * 100 bytes: 80200 bytes, more than a stored block's 65535.
    const RgbaImage image = Gradient(100, 200);
    const PngReading reading = ReadPng(EncodePng(image));
    ASSERT_EQ(reading.fault, "");
    EXPECT_EQ(reading.storedBlocks, 2);
    EXPECT_EQ(reading.image.pixels, image.pixels);
}

TEST(EncodePng, DataOfExactlyOneFullBlockNeedsNoSecond) {
    // 15 rows of 1 + 4 * 1092 bytes: exactly 65535, one full block and no empty one after it.
    const RgbaImage image = Gradient(1092, 15);
    const PngReading reading = ReadPng(EncodePng(image));
    ASSERT_EQ(reading.fault, "");
    EXPECT_EQ(reading.storedBlocks, 1);
    EXPECT_EQ(reading.image.pixels, image.pixels);
}

}  // namespace
