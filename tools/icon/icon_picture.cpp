#include "tools/icon/icon_picture.h"

#include <algorithm>
#include <cstring>

namespace {

int32_t ReadLittleEndian32(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[i];
    return static_cast<int32_t>(value);
}

// The part [start, end) of a side of `from` pixels that icon pixel `index` of `to` covers;
// never empty, also when the picture is smaller than the icon.
void Span(int32_t index, int32_t from, int32_t to, int32_t& start, int32_t& end) {
    start = static_cast<int32_t>(static_cast<int64_t>(index) * from / to);
    end = static_cast<int32_t>(static_cast<int64_t>(index + 1) * from / to);
    end = std::max(end, start + 1);
}

}  // namespace

RgbaImage PictureFromImageBuffer(const uint8_t* buffer, const IconPalette& palette,
                                 uint16_t background) {
    RgbaImage picture;
    picture.width = ReadLittleEndian32(buffer) + 1;
    picture.height = ReadLittleEndian32(buffer + 4) + 1;
    const uint8_t* colours = buffer + 12;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        uint16_t colour;
        std::memcpy(&colour, colours + 2 * i, sizeof colour);
        picture.pixels[i] = colour == background ? RgbaPixel{0, 0, 0, 0} : palette[colour & 0xFF];
    }
    return picture;
}

RgbaImage ShrinkToSquare(const RgbaImage& picture, int32_t size) {
    const int32_t side = std::max(picture.width, picture.height);
    const int32_t left = (side - picture.width) / 2;
    const int32_t top = (side - picture.height) / 2;
    RgbaImage icon{size, size, std::vector<RgbaPixel>(static_cast<size_t>(size) * size)};
    for (int32_t iy = 0; iy < size; ++iy) {
        int32_t y0, y1;
        Span(iy, side, size, y0, y1);
        for (int32_t ix = 0; ix < size; ++ix) {
            int32_t x0, x1;
            Span(ix, side, size, x0, x1);
            uint64_t red = 0, green = 0, blue = 0, alpha = 0;
            for (int32_t y = y0; y < y1; ++y) {
                for (int32_t x = x0; x < x1; ++x) {
                    const int32_t px = x - left, py = y - top;
                    if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
                    const RgbaPixel& pixel = picture.At(px, py);
                    red += uint64_t{pixel.red} * pixel.alpha;
                    green += uint64_t{pixel.green} * pixel.alpha;
                    blue += uint64_t{pixel.blue} * pixel.alpha;
                    alpha += pixel.alpha;
                }
            }
            const uint64_t area = static_cast<uint64_t>(x1 - x0) * (y1 - y0);
            if (alpha == 0) continue;
            icon.At(ix, iy) = {static_cast<uint8_t>((red + alpha / 2) / alpha),
                               static_cast<uint8_t>((green + alpha / 2) / alpha),
                               static_cast<uint8_t>((blue + alpha / 2) / alpha),
                               static_cast<uint8_t>((alpha + area / 2) / area)};
        }
    }
    return icon;
}
