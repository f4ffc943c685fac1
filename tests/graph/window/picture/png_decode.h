#pragma once
// PNG files read back with the library that wrote them, for tests of what was written.

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
    int32_t width = 0, height = 0;
    int colourType = -1, bitDepth = 0;  // from the header chunk
    std::vector<uint32_t> pixels;       // 0x00RRGGBB, row after row; empty when unreadable
};

DecodedPng DecodePng(const std::string& path);
