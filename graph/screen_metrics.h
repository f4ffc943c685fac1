#pragma once
// What a display tells of its screen, as a plain record: the library builds its mode list from
// it, and a display (graph/window/display.h) reports it without seeing anything else of the
// library.

#include <cstdint>

// The four screen metrics the mode list is built from, as client-area sizes in pixels:
//   W, H   = the largest client area a framed, captioned window can have on the screen;
//   FW, FH = the client area of a maximised window.
// With no window manager information all four are the screen size.
struct ScreenMetrics {
    int32_t largestClientWidth;     // W
    int32_t largestClientHeight;    // H
    int32_t maximisedClientWidth;   // FW
    int32_t maximisedClientHeight;  // FH
};
