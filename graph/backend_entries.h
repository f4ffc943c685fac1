#pragma once
// What the library asks of the window back-end, as one table the back-end fills itself when a
// display is selected (graph/window/backend.h). The library only calls through the table and
// never includes a back-end header; with no back-end plugged in every entry is empty, so
// there are no modes to set and InitGraph stops at its missing start-up routine.

#include <cstdint>

#include "graph/graph_state.h"
#include "graph/segment_walk.h"

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

// A run of row y from column left to column right (viewport coordinates, both ends included)
// in one colour.
struct ColourRun {
    int16_t left;
    int16_t right;
    int16_t y;
    uint16_t colour;
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
    // The line walk's shortcut: while the PlotPixel slot still holds OwnPlotPixel, a solid
    // segment's walk of `count` points may be handed over whole to PlotWalk, which leaves
    // exactly the pixels OwnPlotPixel would leave for each point in turn. A caller's own
    // PlotPixel is always called point by point.
    PlotPixelRoutine OwnPlotPixel;
    void (*PlotWalk)(const SegmentWalk& walk, int32_t count);
    // The fill's shortcut: while the DrawHorizontalLine slot still holds OwnDrawHorizontalLine,
    // the library's own span routine may hand its solid runs over many at a time to PaintRuns,
    // which leaves exactly the pixels DrawHorizontalLine would leave for each run in turn, in
    // copy mode with the run's colour as the drawing colour.
    HorizontalLineRoutine OwnDrawHorizontalLine;
    void (*PaintRuns)(const ColourRun* runs, int32_t count);
};

extern BackendEntriesRecord BackendEntries;
