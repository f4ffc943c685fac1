#include "graph/window/x11/pixel_format.h"

#include <bit>
#include <cstring>

namespace {

// An 8-bit channel value scaled to the levels a mask holds, rounded to the nearest level.
uint32_t ScaleChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t levels = mask >> shift;  // the largest value the channel holds
    return ((value * levels + 127) / 255) << shift;
}

}  // namespace

bool IsBufferLayout(const PixelFormat& format) {
    return format.bitsPerPixel == 32 && format.redMask == 0xFF0000 &&
           format.greenMask == 0x00FF00 && format.blueMask == 0x0000FF &&
           format.mostSignificantFirst == (std::endian::native == std::endian::big);
}

size_t ImageRowBytes(const PixelFormat& format, int32_t width) {
    const size_t bits = static_cast<size_t>(width) * format.bitsPerPixel;
    const size_t pad = format.scanlinePad == 0 ? 8 : format.scanlinePad;
    return (bits + pad - 1) / pad * pad / 8;
}

uint32_t ConvertPixel(const PixelFormat& format, uint32_t pixel) {
    return ScaleChannel((pixel >> 16) & 0xFF, format.redMask) |
           ScaleChannel((pixel >> 8) & 0xFF, format.greenMask) |
           ScaleChannel(pixel & 0xFF, format.blueMask);
}

void ConvertRow(const PixelFormat& format, const uint32_t* pixels, int32_t width, uint8_t* row) {
    const size_t rowBytes = ImageRowBytes(format, width);
    if (IsBufferLayout(format)) {
        std::memcpy(row, pixels, static_cast<size_t>(width) * 4);
        std::memset(row + static_cast<size_t>(width) * 4, 0, rowBytes - static_cast<size_t>(width) * 4);
        return;
    }
    const int bytes = format.bitsPerPixel / 8;
    uint8_t* out = row;
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t value = ConvertPixel(format, pixels[x]);
        for (int i = 0; i < bytes; ++i) {
            const int shift = format.mostSignificantFirst ? 8 * (bytes - 1 - i) : 8 * i;
            *out++ = static_cast<uint8_t>(value >> shift);
        }
    }
    std::memset(out, 0, rowBytes - static_cast<size_t>(out - row));
}
