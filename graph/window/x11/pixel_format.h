#pragma once
// How a server stores a pixel of its TrueColor visual in an image, and the conversion of the
// back-buffer's 0x00RRGGBB words into that form. Each channel becomes the visual's nearest
// representable value, so a 16-bit window shows what a 16-bit display can show of the picture.

#include <cstddef>
#include <cstdint>

struct PixelFormat {
    uint8_t depth = 24;          // significant bits per pixel
    uint8_t bitsPerPixel = 32;   // 8, 16, 24 or 32 bits per pixel in an image
    uint8_t scanlinePad = 32;    // each image row is padded to a multiple of this many bits
    bool mostSignificantFirst = false;  // the server's image byte order
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0x00FF00;
    uint32_t blueMask = 0x0000FF;
};

// True when image rows are the back-buffer's words as they are in memory: no conversion.
bool IsBufferLayout(const PixelFormat& format);
// The bytes of one image row of `width` pixels, padding included.
size_t ImageRowBytes(const PixelFormat& format, int32_t width);
// The value of a 0x00RRGGBB colour in the format, each channel rounded to the nearest level.
uint32_t ConvertPixel(const PixelFormat& format, uint32_t pixel);
// One row of `width` back-buffer pixels as an image row (ImageRowBytes(format, width) bytes).
void ConvertRow(const PixelFormat& format, const uint32_t* pixels, int32_t width, uint8_t* row);
