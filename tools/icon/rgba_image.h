#pragma once
// A picture with straight (not premultiplied) alpha: 8-bit red, green, blue and alpha per pixel,
// row by row from the top.

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbaPixel {
    uint8_t red, green, blue, alpha;
    bool operator==(const RgbaPixel&) const = default;
};

struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<RgbaPixel> pixels;  // width * height

    RgbaPixel& At(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const RgbaPixel& At(int32_t x, int32_t y) const {
        return pixels[static_cast<size_t>(y) * width + x];
    }
};
