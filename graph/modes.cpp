// The mode list, InitGraph, EnterMode and LeaveGraphics.

#include <algorithm>
#include <cstring>

#include "graph/backend_entries.h"
#include "graph/graph_internal.h"
#include "runtime/exit.h"
#include "runtime/heap.h"

namespace {

// How a mode's surface is sized: fixed by its row, or after the screen's metrics.
enum class ModeSize : int8_t {
    Fixed,          // maxX, maxY of the row
    LargestWindow,  // the largest framed window (W, H)
    Maximised,      // a maximised window (FW, FH)
};

struct ModeRow {
    int32_t minWidth;   // condition W >= minWidth and H >= minHeight; 0 = always
    int32_t minHeight;
    int16_t driver;
    int16_t mode;
    const char* name;
    int32_t colours;
    ModeSize size;
    int16_t maxX;
    int16_t maxY;
};

constexpr ModeRow kModeRows[] = {
    {640, 480, 9, 2, "640 x 480 x 16 Win32GUI", 16, ModeSize::Fixed, 639, 479},
    {640, 200, 9, 0, "640 x 200 x 16 Win32GUI", 16, ModeSize::Fixed, 639, 199},
    {640, 350, 9, 1, "640 x 350 x 16 Win32GUI", 16, ModeSize::Fixed, 639, 349},
    {640, 400, 10, 256, "640 x 400 x 256 Win32GUI", 256, ModeSize::Fixed, 639, 399},
    {640, 480, 10, 257, "640 x 480 x 256 Win32GUI", 256, ModeSize::Fixed, 639, 479},
    {800, 600, 10, 258, "800 x 600 x 16 Win32GUI", 16, ModeSize::Fixed, 799, 599},
    {800, 600, 10, 259, "800 x 600 x 256 Win32GUI", 256, ModeSize::Fixed, 799, 599},
    {1024, 768, 10, 260, "1024 x 768 x 16 Win32GUI", 16, ModeSize::Fixed, 1023, 767},
    {1024, 768, 10, 261, "1024 x 768 x 256 Win32GUI", 256, ModeSize::Fixed, 1023, 767},
    {1280, 1024, 10, 262, "1280 x 1024 x 16 Win32GUI", 16, ModeSize::Fixed, 1279, 1023},
    {1280, 1024, 10, 263, "1280 x 1024 x 256 Win32GUI", 256, ModeSize::Fixed, 1279, 1023},
    {0, 0, 10, 240, "Largest Window x 16", 16, ModeSize::LargestWindow, 0, 0},
    {0, 0, 10, 241, "Largest Window x 256", 256, ModeSize::LargestWindow, 0, 0},
    {0, 0, 10, 245, "Maximized Window x 16", 16, ModeSize::Maximised, 0, 0},
    {0, 0, 10, 246, "Maximized Window x 256", 256, ModeSize::Maximised, 0, 0},
};

struct SizeCode {
    int16_t width;
    int16_t height;
};
constexpr SizeCode kModeSizeCodes[15] = {
    {320, 200}, {320, 256}, {320, 400}, {512, 384}, {640, 200},  {640, 256},   {640, 350},  {640, 400},
    {640, 480}, {800, 600}, {832, 624}, {1024, 768}, {1280, 1024}, {1600, 1200}, {2048, 1536},
};

bool IsClassDriver(int16_t driver) { return driver >= kFirstClassDriver && driver <= kLastClassDriver; }

// The walk's order: smaller surfaceMaxX, or equal with smaller surfaceMaxY (unsigned 16-bit).
bool Smaller(uint16_t ax, uint16_t ay, uint16_t bx, uint16_t by) { return ax < bx || (ax == bx && ay < by); }

ModeEntry* CopyEntry(const ModeEntry& entry) {
    auto* copy = HeapAllocateOf<ModeEntry>(static_cast<int32_t>(sizeof(ModeEntry)));
    *copy = entry;
    copy->next = nullptr;
    return copy;
}

void ReleaseList(ModeEntry*& head) {
    while (head != nullptr) {
        ModeEntry* next = head->next;
        HeapReleaseSized(head, static_cast<int32_t>(sizeof(ModeEntry)));
        head = next;
    }
}

}  // namespace

void ClearModeEntry(ModeEntry& entry) { std::memset(&entry, 0, sizeof entry); }

int16_t ColorClassOf(int32_t colorCount) {
    switch (colorCount) {
        case 2: return 11;
        case 4: return 12;
        case 16: return 13;
        case 64: return 14;
        case 256: return 15;
        case 4096: return 16;
        case 32768: return 17;
        case 65536: return 18;
        default: return 0;
    }
}

void BuildKnownModes() {
    GraphState.backendStartup = BackendEntries.Startup;
    ScreenMetrics metrics = BackendEntries.Metrics != nullptr ? BackendEntries.Metrics() : ScreenMetrics{0, 0, 0, 0};
    // A surface's coordinates are 16-bit: a larger screen gets modes of at most 32768 pixels a side.
    constexpr int32_t kLargestSide = 32768;
    int32_t w = std::min(metrics.largestClientWidth, kLargestSide);
    int32_t h = std::min(metrics.largestClientHeight, kLargestSide);
    int32_t fw = std::min(metrics.maximisedClientWidth, kLargestSide);
    int32_t fh = std::min(metrics.maximisedClientHeight, kLargestSide);
    if (GraphState.KnownModes != nullptr) return;
    for (const ModeRow& row : kModeRows) {
        if (row.size == ModeSize::Fixed && !(w >= row.minWidth && h >= row.minHeight)) continue;
        ModeEntry entry;
        ClearModeEntry(entry);
        entry.driver = row.driver;
        entry.extraFlag = 0;
        entry.mode = row.mode;
        std::strncpy(entry.label, row.name, kModeLabelLength);
        entry.label[kModeLabelLength] = '\0';
        entry.colorCount = row.colours;
        entry.secondColorCount = row.colours;
        entry.noPalette = false;
        switch (row.size) {
            case ModeSize::Fixed:
                entry.surfaceMaxX = row.maxX;
                entry.surfaceMaxY = row.maxY;
                break;
            case ModeSize::LargestWindow:
                entry.surfaceMaxX = static_cast<int16_t>(w - 1);
                entry.surfaceMaxY = static_cast<int16_t>(h - 1);
                break;
            case ModeSize::Maximised:
                entry.surfaceMaxX = static_cast<int16_t>(fw - 1);
                entry.surfaceMaxY = static_cast<int16_t>(fh - 1);
                break;
        }
        if (BackendEntries.FillModeRoutines != nullptr) BackendEntries.FillModeRoutines(entry);
        entry.aspectX = 10000;
        entry.aspectY = 10000;
        InsertModeEntry(entry);
    }
}

void InsertModeEntry(const ModeEntry& entry) {
    int16_t cls = ColorClassOf(entry.colorCount);
    if (cls != 0) {
        ModeEntry*& head = GraphState.classModeLists[cls - kFirstClassDriver];
        if (head == nullptr) {
            head = CopyEntry(entry);
        } else {
            ModeEntry** link = &head;
            uint16_t nx = static_cast<uint16_t>(entry.surfaceMaxX);
            uint16_t ny = static_cast<uint16_t>(entry.surfaceMaxY);
            while (*link != nullptr && Smaller(static_cast<uint16_t>((*link)->surfaceMaxX),
                                               static_cast<uint16_t>((*link)->surfaceMaxY), nx, ny)) {
                link = &(*link)->next;
            }
            ModeEntry* at = *link;
            if (at != nullptr && at->surfaceMaxX == entry.surfaceMaxX && at->surfaceMaxY == entry.surfaceMaxY) {
                ModeEntry* keep = at->next;
                *at = entry;
                at->next = keep;
            } else {
                ModeEntry* copy = CopyEntry(entry);
                copy->next = at;
                *link = copy;
            }
        }
        int16_t count = 0;
        for (ModeEntry* e = head; e != nullptr; e = e->next) e->classIndex = ++count;
        GraphState.classModeRange[cls - kFirstClassDriver] = {1, count};
    }
    ModeEntry* copy = CopyEntry(entry);
    copy->classIndex = 0;
    ModeEntry** tail = &GraphState.KnownModes;
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = copy;
}

ModeEntry* LookupMode(int16_t driver, int16_t& mode) {
    if (IsClassDriver(driver)) {
        int index = driver - kFirstClassDriver;
        ModeEntry* head = GraphState.classModeLists[index];
        const ModeRange& range = GraphState.classModeRange[index];
        if (mode == kLowestModeMarker) {
            mode = range.lowest;
            return head;
        }
        if (mode == kHighestModeMarker) {
            mode = range.highest;
            if (mode == -1) return nullptr;
            ModeEntry* last = head;
            while (last != nullptr && last->next != nullptr) last = last->next;
            return last;
        }
        if (mode >= kFirstModeSizeCode && mode <= kLastModeSizeCode) {
            const SizeCode& size = kModeSizeCodes[mode - kFirstModeSizeCode];
            uint16_t wx = static_cast<uint16_t>(size.width - 1);
            uint16_t wy = static_cast<uint16_t>(size.height - 1);
            ModeEntry* e = head;
            while (e != nullptr && Smaller(static_cast<uint16_t>(e->surfaceMaxX), static_cast<uint16_t>(e->surfaceMaxY), wx, wy)) {
                e = e->next;
            }
            if (e != nullptr && static_cast<uint16_t>(e->surfaceMaxX) == wx && static_cast<uint16_t>(e->surfaceMaxY) == wy) return e;
            return nullptr;
        }
        for (ModeEntry* e = head; e != nullptr; e = e->next) {
            if (e->classIndex == mode) return e;
        }
        return nullptr;
    }
    if (mode == kHighestModeMarker) {
        ModeEntry* e = GraphState.KnownModes;
        while (e != nullptr && e->driver != driver) e = e->next;
        if (e == nullptr) return nullptr;
        while (e->next != nullptr && e->next->driver == driver) e = e->next;
        mode = e->mode;
        return e;
    }
    for (ModeEntry* e = GraphState.KnownModes; e != nullptr; e = e->next) {
        if (e->driver != driver) continue;
        if (mode == kLowestModeMarker) {
            mode = e->mode;
            return e;
        }
        if (e->mode == mode) return e;
    }
    return nullptr;
}

void ModeNumberRange(int16_t driver, int16_t& lowest, int16_t& highest) {
    highest = -1;
    lowest = kLowestModeMarker;
    if (LookupMode(driver, lowest) == nullptr) {
        lowest = -1;
        return;
    }
    highest = kHighestModeMarker;
    LookupMode(driver, highest);
}

void ChooseBestMode(int16_t& driver, int16_t& mode, bool honourDriver) {
    int16_t lowest, highest;
    if (honourDriver && IsClassDriver(driver)) {
        ModeNumberRange(driver, lowest, highest);
        if (highest == -1) {
            GraphState.resultCode = GraphErrorNotDetected;
            return;
        }
        GraphState.resultCode = GraphOk;
        mode = highest;
        return;
    }
    int16_t d = kFirstClassDriver;
    for (;; ++d) {
        ModeNumberRange(d, lowest, highest);
        if (highest != -1) break;
        if (d == kLastClassDriver) {
            driver = kLastClassDriver;
            GraphState.resultCode = GraphErrorNotDetected;
            return;
        }
    }
    int16_t bestDriver = d;
    int16_t bestMode = highest;
    for (int16_t c = static_cast<int16_t>(d + 1); c <= kLastClassDriver; ++c) {
        ModeNumberRange(c, lowest, highest);
        if (highest != -1) {
            bestDriver = c;
            bestMode = highest;
        }
    }
    GraphState.resultCode = GraphOk;
    driver = bestDriver;
    mode = bestMode;
}

namespace {

// InitGraph's work; true once the back-end has been asked for the mode's window.
bool EnterRequestedMode(int16_t& driver, int16_t& mode, const LengthPrefixedString& path) {
    ResetGraphState();
    GraphState.driverPath = path;
    if (GraphState.driverPath.length() != 0 &&
        GraphState.driverPath.at(GraphState.driverPath.length()) != '\\') {
        GraphState.driverPath.Append('\\');  // no effect on a full (255-character) path
    }
    if (GraphState.backendStartup == nullptr) RaiseRuntimeErrorHere(216);
    GraphState.driverName.Assign("WIN32GUI");
    if (driver == 0 || mode == kHighestModeRequest) {
        ChooseBestMode(driver, mode, true);
        if (GraphState.resultCode == GraphErrorNotDetected) return false;
    } else {
        if (LookupMode(driver, mode) == nullptr) {
            GraphState.resultCode = GraphErrorInvalidMode;
            return false;
        }
        GraphState.resultCode = GraphOk;
    }
    GraphState.currentDriver = driver;
    GraphState.classDriver = IsClassDriver(driver) ? driver : -1;
    if (GraphState.firstInitPending) {
        GraphState.backendStartup();
        GraphState.firstInitPending = false;
    }
    return EnterMode(mode);
}

}  // namespace

void InitGraph(int16_t& driver, int16_t& mode, const LengthPrefixedString& path) {
    const bool wasInGraphics = GraphState.inGraphics;
    const GraphStateRecord stateBefore = GraphState;
    const DriverSlotsRecord slotsBefore = DriverSlots;
    const bool windowAsked = EnterRequestedMode(driver, mode, path);
    const int16_t result = GraphState.resultCode;
    if (!wasInGraphics || result == GraphOk) return;
    if (!windowAsked) {
        // Refused before anything beyond these records changed: the mode in use goes on.
        GraphState = stateBefore;
        DriverSlots = slotsBefore;
    } else {
        // The back-end could not open the new window after it had replaced the palette the
        // old one drew with: graphics mode ends as LeaveGraphics ends it.
        LeaveGraphics();
    }
    GraphState.resultCode = result;
}

bool EnterMode(int16_t mode) {
    int16_t used;
    int16_t lookup = mode;
    ModeEntry* entry;
    if (mode == kHighestModeRequest) {
        used = GraphState.classDriver;
        lookup = kHighestModeMarker;
    } else if (mode >= kFirstModeSizeCode && mode <= kLastModeSizeCode) {
        used = GraphState.classDriver;
    } else {
        used = GraphState.currentDriver;
    }
    entry = LookupMode(used, lookup);
    if (entry == nullptr) {
        GraphState.resultCode = GraphErrorInvalidMode;
        return false;
    }
    InstallDefaultSlots();
    if (entry->PlotPixel == nullptr || entry->WritePixel == nullptr || entry->ReadPixel == nullptr ||
        entry->WritePaletteEntry == nullptr || entry->ReadPaletteEntry == nullptr) {
        InstallDefaultSlots();
        GraphState.resultCode = GraphErrorInvalidMode;
        return false;
    }
    DriverSlots.PlotPixel = entry->PlotPixel;
    DriverSlots.WritePixel = entry->WritePixel;
    DriverSlots.ReadPixel = entry->ReadPixel;
    DriverSlots.WritePaletteEntry = entry->WritePaletteEntry;
    DriverSlots.ReadPaletteEntry = entry->ReadPaletteEntry;
    if (entry->EraseViewportOp) DriverSlots.EraseViewportOp = entry->EraseViewportOp;
    if (entry->RestoreImageOp) DriverSlots.RestoreImageOp = entry->RestoreImageOp;
    if (entry->SaveImageOp) DriverSlots.SaveImageOp = entry->SaveImageOp;
    if (entry->ImageBufferSizeOp) DriverSlots.ImageBufferSizeOp = entry->ImageBufferSizeOp;
    if (entry->ReadPixelRow) DriverSlots.ReadPixelRow = entry->ReadPixelRow;
    if (entry->DrawLine) DriverSlots.DrawLine = entry->DrawLine;
    if (entry->EllipseOp) DriverSlots.EllipseOp = entry->EllipseOp;
    if (entry->FillPatternSpan) DriverSlots.FillPatternSpan = entry->FillPatternSpan;
    if (entry->DrawHorizontalLine) DriverSlots.DrawHorizontalLine = entry->DrawHorizontalLine;
    if (entry->DrawVerticalLine) DriverSlots.DrawVerticalLine = entry->DrawVerticalLine;
    if (entry->ShowPage) DriverSlots.ShowPage = entry->ShowPage;
    if (entry->SelectDrawPage) DriverSlots.SelectDrawPage = entry->SelectDrawPage;
    if (entry->DrawTextOp) DriverSlots.DrawTextOp = entry->DrawTextOp;
    GraphState.currentMode = entry->mode;
    GraphState.currentDriver = used;
    GraphState.aspectX = entry->aspectX;
    GraphState.aspectY = entry->aspectY;
    GraphState.surfaceMaxX = entry->surfaceMaxX;
    GraphState.surfaceMaxY = entry->surfaceMaxY;
    GraphState.extraFlag = entry->extraFlag;
    GraphState.colorCount = entry->colorCount;
    GraphState.secondColorCount = entry->secondColorCount;
    GraphState.noPalette = entry->noPalette;
    if (entry->ModeInitHook == nullptr) {
        InstallDefaultSlots();
        GraphState.resultCode = GraphErrorInvalidMode;
        return false;
    }
    entry->ModeInitHook();
    if (GraphState.resultCode != GraphOk) {
        InstallDefaultSlots();
        return true;
    }
    GraphState.inGraphics = true;
    DriverSlots.SelectDrawPage(0);
    DriverSlots.ShowPage(0);
    DefineViewport(0, 0, GraphState.surfaceMaxX, GraphState.surfaceMaxY, true);
    ApplyDefaults();
    return true;
}

void LeaveGraphics() {
    if (!GraphState.inGraphics) {
        GraphState.resultCode = GraphErrorNotInGraphics;
        return;
    }
    if (BackendEntries.Leave != nullptr) BackendEntries.Leave();
    GraphState.inGraphics = false;
}

void ReleaseModeLists() {
    ReleaseList(GraphState.KnownModes);
    for (ModeEntry*& head : GraphState.classModeLists) ReleaseList(head);
}
