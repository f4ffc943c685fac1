#pragma once
// A strict reader of the PNG files png_file writes, for checking them: every chunk's length and
// CRC, the IHDR fields, a zlib stream of stored blocks with its Adler-32, filter 0 on every row.
// It reports the first fault it finds instead of reading past it.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/icon/rgba_image.h"

struct PngReading {
    std::string fault;  // empty when the file is sound
    RgbaImage image;
    int storedBlocks = 0;
    std::vector<std::string> chunkTypes;
};

PngReading ReadPng(const std::vector<uint8_t>& file);
