#pragma once
// Pictures written as PNG files: a palette picture when the pixels have at most 256 colours
// (1, 2, 4 or 8 bits a pixel), 8-bit RGB otherwise; colours are kept exactly.

#include <cstdint>
#include <string>

struct PngPicture {
    const uint32_t* pixels;  // 0x00RRGGBB; row r starts at pixels + r * stride
    int32_t width;
    int32_t height;
    int32_t stride;
};

enum class PngCreation : uint8_t {
    Replace,    // an existing file of that name (a symbolic link's target) is replaced, unless
                // it is read-only; a link to nothing and a pipe nobody reads are errors
    Exclusive,  // an existing file of that name is an error (nothing is overwritten)
};

// Writes the picture; on failure returns false with the reason in `error` and leaves no file
// behind.
bool WritePngFile(const std::string& path, const PngPicture& picture, PngCreation creation, std::string& error);
