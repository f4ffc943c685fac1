#pragma once
// What the library asks of the window back-end, as one table the back-end fills itself when a
// display is selected (graph/window/backend.h). The library only calls through the table and
// never includes a back-end header; with no back-end plugged in every entry is empty, so
// there are no modes to set and InitGraph stops at its missing start-up routine.

#include <cstdint>

#include "graph/graph.h"
#include "graph/graph_state.h"
#include "graph/screen_metrics.h"

// Where a point written through the back-end's own WritePixel can land on the newest window, in
// viewport coordinates: only a point whose x and y, modulo 65536 (the 16-bit wrap), fall within
// columns left..right-1 and rows top..bottom-1.
struct WritablePointArea {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct BackendEntriesRecord {
    // Becomes GraphState.backendStartup when the mode list is built.
    BackendStartupRoutine Startup;
    // Puts the back-end's routines into a mode entry the mode list is building.
    void (*FillModeRoutines)(ModeEntry& entry);
    ScreenMetrics (*Metrics)();
    // LeaveGraphics' share: the newest window goes, and with it the palette table.
    void (*Leave)();
    // Entry `colour` (0..255) of the palette every mode set starts from.
    PaletteEntry (*DefaultPaletteEntry)(uint16_t colour);
    // True while the newest window still shows (the user has not closed it).
    bool (*WindowShows)();
    // Saves the newest window's picture as a PNG file of that name; false when it cannot.
    bool (*SavePicture)(const char* path);
    // The newest window's keys and pointer, as graph.h describes them; each returns the
    // operation's result code.
    int16_t (*KeyWaiting)(bool& waiting);
    int16_t (*ReadKey)(uint8_t& key);
    int16_t (*Pointer)(PointerState& state);
    int16_t (*PointerChangeWaiting)(bool& waiting);
    int16_t (*ReadPointerChange)(PointerChange& change);
    // The back-end's own WritePixel, and the same for `count` points of one colour at once:
    // each point lands as WritePixel lands it, under one hold of the drawing lock. The arcs
    // hand their points over this way only while the WritePixel slot holds the back-end's own
    // routine; a program's own slot sees every point go by.
    WritePixelRoutine WritePixel;
    void (*WritePixels)(const GraphPoint* points, int count, uint16_t colour);
    // The area for the viewport and clipping of the moment; everywhere while no window is ready.
    WritablePointArea (*PointArea)();
    // The back-end's own FillPatternSpan, which, as the library's, cuts every span to the
    // viewport before anything else sees it.
    FillPatternSpanRoutine FillPatternSpan;
};

extern BackendEntriesRecord BackendEntries;
