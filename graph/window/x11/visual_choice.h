#pragma once
// Which of the visuals a screen offers the windows use: one whose pixels the back-buffer's words
// are as they stand (no conversion, shared memory possible) first, then the root window's, then
// the deepest. Only TrueColor visuals can show the buffer's colours; the 32-bit visual is the
// one with an alpha channel, under which a compositing manager would see the windows as
// transparent, so it is taken only when nothing else is offered.

#include <cstdint>
#include <vector>

#include "graph/window/x11/pixel_format.h"

struct VisualOffer {
    uint32_t id;
    bool trueColor;
    bool root;           // the root window's visual
    PixelFormat format;  // bitsPerPixel 0 when the server has no image format for the depth
};

// The index of the visual to use, -1 when none can show the buffer.
int ChooseVisual(const std::vector<VisualOffer>& offers);
