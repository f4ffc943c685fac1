#pragma once
// Sixel images of 32-bit pixels (0x00RRGGBB). Sixel colours are percents, which terminals turn
// back into 8-bit values in their own ways; a register gets the percent whose value lands
// nearest the true one in every known way.

#include <cstdint>
#include <string>
#include <string_view>

#include "graph/window/display.h"

// What a terminal shows for a percent: 255 * p / 100 rounded, or the high byte of the 16-bit
// 65535 * p / 100 (xterm's way, which shows 99% as 253).
uint8_t SixelValueRounded(int percent);
uint8_t SixelValueHighByte(int percent);
// The percent for an 8-bit channel: the one whose larger error over both ways is least.
int SixelPercent(uint8_t channel);

// The area of the buffer as sixel images of at most `registers` colours each (more colours
// take more images, each leaving the pixels of the others as they are), every image preceded
// by `placeCursor`, which puts the cursor on the cell whose top-left pixel is the area's.
void AppendSixelArea(std::string& out, const PixelBuffer& buffer, PixelRect area, int registers,
                     std::string_view placeCursor);
