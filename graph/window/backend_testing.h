#pragma once
// Controls of the window back-end for tests, benchmarks and tools: what a program never calls.

#include "graph/window/display.h"

// Closes every window still open and waits for all GUI threads; then forgets all records.
// The program itself leaves earlier windows to the end of the process.
void ShutdownAllWindows();
// The newest window's draw page (empty before the first mode set). The caller holds
// DrawingSide, for this call and for as long as it uses the pixels.
PixelBuffer NewestWindowBuffer();

// The next n glyph bitmaps cannot be made, as if the window system refused them.
void FailGlyphBitmapCreations(int n);
// Forgets every cached glyph bitmap, as a new window starts without them.
void ClearGlyphCaches();
// The number of glyph bitmaps made since the caches were last cleared.
int GlyphBitmapsMade();
