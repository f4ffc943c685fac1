#pragma once
// PNG encoding of an RgbaImage: 8-bit RGBA, no interlace, every row with filter 0 and the
// compressed stream made of stored deflate blocks. Icons are small, so the file needs no
// compression library and stays byte for byte reproducible.

#include <cstdint>
#include <span>
#include <vector>

#include "tools/icon/rgba_image.h"

// The CRC-32 every PNG chunk ends with (ISO 3309, reflected polynomial 0xEDB88320).
uint32_t Crc32(std::span<const uint8_t> bytes);
// The Adler-32 checksum that ends a zlib stream.
uint32_t Adler32(std::span<const uint8_t> bytes);

std::vector<uint8_t> EncodePng(const RgbaImage& image);
