// The window back-end fills the library's table of back-end entries with its own routines.

#include "graph/window/backend.h"

#include "graph/backend_entries.h"
#include "graph/window/backend_text.h"
#include "graph/window/newest_input.h"
#include "graph/window/pages.h"
#include "graph/window/palette.h"
#include "graph/window/primitives.h"
#include "graph/window/picture/window_picture.h"
#include "graph/window/window_thread.h"

namespace {

void FillWindowModeRoutines(ModeEntry& entry) {
    entry.PlotPixel = BackendPlotPixel;
    entry.WritePixel = BackendWritePixel;
    entry.ReadPixel = BackendReadPixel;
    entry.ReadPixelRow = BackendReadPixelRow;  // the fill's row reads, one lock per row
    entry.DrawHorizontalLine = BackendDrawHorizontalLine;
    entry.DrawVerticalLine = BackendDrawVerticalLine;
    entry.DrawLine = BackendDrawLine;  // solid sloped segments walked on the surface at once
    entry.FillPatternSpan = BackendFillPatternSpan;  // solid rows painted on the surface at once
    entry.WritePaletteEntry = BackendWritePaletteEntry;
    entry.ReadPaletteEntry = BackendReadPaletteEntry;
    entry.ShowPage = BackendShowPage;
    entry.SelectDrawPage = BackendSelectDrawPage;
    entry.ModeInitHook = ModeInitHook;
    entry.DrawTextOp = BackendDrawText;
}

ScreenMetrics DisplayMetrics() { return SelectedDisplay().Metrics(); }

void LeaveWindow() {
    StopNewestWindow();
    ReleasePaletteTable();
}

PaletteEntry DefaultEntry(uint16_t colour) { return defaultPalette[colour & 0xFF]; }

}  // namespace

void BackendStartup() {}

void PlugWindowBackend() {
    BackendEntries = {BackendStartup, FillWindowModeRoutines, DisplayMetrics, LeaveWindow, DefaultEntry,
                      NewestWindowShows, SaveNewestWindowPicture, NewestKeyWaiting, ReadNewestKey, NewestPointer,
                      NewestPointerChangeWaiting, ReadNewestPointerChange, BackendWritePixel,
                      BackendWritePixels, BackendPointArea, BackendFillPatternSpan};
}

void SelectDisplay(Display& display) {
    RememberDisplay(display);
    PlugWindowBackend();
}
