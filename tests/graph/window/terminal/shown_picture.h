#pragma once
// What a terminal shows of the picture commands a terminal display writes: a kitty-protocol
// reader and a sixel reader, written from the protocols' descriptions, not from the encoders.

#include <cstdint>
#include <string_view>
#include <vector>

struct ShownPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
    bool shown = false;
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// Applies every kitty graphics command of the stream; false at a malformed one.
bool ShowKittyStream(std::string_view stream, ShownPicture& picture);
// Paints every sixel image of the stream from the cell the cursor was last put on, turning
// percents into values as `value` does; false at a malformed image.
bool ShowSixelStream(std::string_view stream, int32_t cellWidth, int32_t cellHeight,
                     uint8_t (*value)(int percent), ShownPicture& picture);
