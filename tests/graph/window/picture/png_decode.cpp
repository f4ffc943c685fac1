#include "tests/graph/window/picture/png_decode.h"

#include <png.h>

#include <fstream>

DecodedPng DecodePng(const std::string& path) {
    DecodedPng decoded;
    // Depth and colour type straight from the header chunk, which always comes first.
    std::ifstream file(path, std::ios::binary);
    unsigned char header[26] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return decoded;
    decoded.bitDepth = header[24];
    decoded.colourType = header[25];
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return DecodedPng{};
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return DecodedPng{};
    decoded.width = static_cast<int32_t>(image.width);
    decoded.height = static_cast<int32_t>(image.height);
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        decoded.pixels.push_back(uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    }
    return decoded;
}
