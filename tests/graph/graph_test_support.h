#pragma once
// Shared set-up for the graphics tests: one memory display for the whole test program, and a
// fresh library (mode lists built from chosen screen metrics) for each test.

#include <cstdint>
#include <vector>

#include "graph/graph_internal.h"
#include "graph/window/backend.h"
#include "graph/window/backend_testing.h"
#include "graph/window/backend_text.h"
#include "graph/window/colour_lookup.h"
#include "graph/window/draw_lock.h"
#include "graph/window/memory_display.h"
#include "graph/window/primitives.h"
#include "tests/graph/library_restart.h"


// Restarts the library and sets a mode (default: driver 9, mode 2, 640 x 480 x 16).
void StartMode(int16_t driver = 9, int16_t mode = 2);

// The newest window's back-buffer pixel at surface (x, y), 0x00RRGGBB.
uint32_t BufferPixel(int32_t x, int32_t y);
// The buffer pixel of default palette entry c.
uint32_t DefaultPixel(int c);
// The user closes the newest window; returns once its GUI thread has torn it down.
void CloseNewestWindow();
