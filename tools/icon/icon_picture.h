#pragma once
// From a saved image buffer of the graphics library to an icon: colours through the palette,
// the background made transparent, and the picture shrunk into a square.

#include <array>
#include <cstdint>

#include "tools/icon/rgba_image.h"

using IconPalette = std::array<RgbaPixel, 256>;

// The picture in an image buffer (the 12-byte header, then 16-bit colours row by row). Pixels
// of `background` become fully transparent; every other colour is looked up in the palette.
RgbaImage PictureFromImageBuffer(const uint8_t* buffer, const IconPalette& palette,
                                 uint16_t background);

// The picture centred in a square (transparent where it does not reach) and shrunk to
// size x size: each icon pixel averages the pixels it covers, weighted by their alpha, so a
// colour keeps its hue at the edge of the drawing instead of darkening towards the background.
RgbaImage ShrinkToSquare(const RgbaImage& picture, int32_t size);
