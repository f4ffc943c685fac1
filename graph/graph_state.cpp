// The graphics context and the small context operations: the bottom of the library, which
// every other part uses and which calls none of them.

#include <cstring>
#include <string>

#include "graph/backend_entries.h"
#include "graph/graph_internal.h"

namespace {

GraphStateRecord InitialGraphState() {
    GraphStateRecord state{};
    state.driverPath.Assign(".");
    std::memset(state.strokeMask, 1, sizeof state.strokeMask);
    state.firstInitPending = true;
    state.classDriver = 0;
    for (ModeRange& range : state.classModeRange) range = {-1, -1};
    return state;
}

}  // namespace

GraphStateRecord GraphState = InitialGraphState();
BackendEntriesRecord BackendEntries{};

// ---- Context operations ----

void ApplyDefaults() {
    GraphState.strokeStyle = 0;
    GraphState.strokeThickness = 1;
    std::memset(GraphState.strokeMask, 1, sizeof GraphState.strokeMask);
    GraphState.fillColor = HighestColor();
    GraphState.fillPatternIndex = 1;
    std::memset(GraphState.userFillPattern, 0xFF, sizeof GraphState.userFillPattern);
    GraphState.drawColor = 15;
    GraphState.clipOn = true;
    GraphState.viewLeft = 0;
    GraphState.viewTop = 0;
    GraphState.viewMaxX = GraphState.surfaceMaxX;
    GraphState.viewMaxY = GraphState.surfaceMaxY;
    GraphState.penX = 0;
    GraphState.penY = 0;
    ChangeBackground(0);
    GraphState.writeMode = 0;
    GraphState.textFont = 0;
    GraphState.textDirection = 0;
    GraphState.textSize = 1;
    GraphState.textHorizJustify = 0;
    GraphState.textVertJustify = 2;
    GraphState.aspectX = 10000;
    GraphState.aspectY = 10000;
}

void DefineViewport(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip) {
    if (x1 > GraphState.surfaceMaxX || x2 > GraphState.surfaceMaxX || x2 < x1 || x1 < 0 ||
        y1 > GraphState.surfaceMaxY || y2 > GraphState.surfaceMaxY || y2 < y1 || y1 < 0) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    GraphState.penX = 0;
    GraphState.penY = 0;
    GraphState.viewLeft = x1;
    GraphState.viewTop = y1;
    GraphState.viewMaxX = static_cast<int16_t>(x2 - x1);
    GraphState.viewMaxY = static_cast<int16_t>(y2 - y1);
    GraphState.clipOn = clip;
}

void ReadViewport(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, bool& clip) {
    x1 = GraphState.viewLeft;
    y1 = GraphState.viewTop;
    x2 = static_cast<int16_t>(GraphState.viewLeft + GraphState.viewMaxX);
    y2 = static_cast<int16_t>(GraphState.viewTop + GraphState.viewMaxY);
    clip = GraphState.clipOn;
}

void ChangeBackground(uint16_t colour) {
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    DefineViewport(0, 0, GraphState.surfaceMaxX, GraphState.surfaceMaxY, false);
    GraphState.backColor = colour;
    if (!GraphState.noPalette && colour < 256 && BackendEntries.DefaultPaletteEntry != nullptr) {
        PaletteEntry entry = BackendEntries.DefaultPaletteEntry(colour);
        DriverSlots.WritePaletteEntry(0, entry.red, entry.green, entry.blue);
    }
    DefineViewport(x1, y1, x2, y2, clip);
}

uint16_t HighestColor() { return static_cast<uint16_t>(GraphState.colorCount - 1); }
int16_t SurfaceMaxX() { return GraphState.surfaceMaxX; }
int16_t SurfaceMaxY() { return GraphState.surfaceMaxY; }

int16_t RegisterFontName(const LengthPrefixedString& name) {
    GraphState.resultCode = GraphOk;
    if (GraphState.fontCount == kFontTableSize) {
        GraphState.resultCode = GraphErrorGeneral;
        return 0;
    }
    ++GraphState.fontCount;
    FontRecord& font = GraphState.fontTable[GraphState.fontCount - 1];
    font = FontRecord{};
    size_t length = name.length() < 8 ? name.length() : 8;
    std::memcpy(font.name, name.chars(), length);
    font.name[length] = '\0';
    font.dataSize = 0;
    font.data = nullptr;
    return static_cast<int16_t>(GraphState.fontCount);
}

int16_t GraphResult() { return GraphState.resultCode; }

bool GraphWindowShows() { return BackendEntries.WindowShows != nullptr && BackendEntries.WindowShows(); }

void SaveWindowPicture(const LengthPrefixedString& fileName) {
    const std::string path(fileName.chars(), fileName.length());
    // A NUL inside the name would save under a shorter name than the caller gave.
    const bool nameable = !path.empty() && path.find('\0') == std::string::npos;
    const bool saved = BackendEntries.SavePicture != nullptr && nameable && BackendEntries.SavePicture(path.c_str());
    GraphState.resultCode = saved ? GraphOk : GraphErrorGeneral;
}

PaletteEntry DefaultPaletteEntry(uint16_t colour) {
    if (BackendEntries.DefaultPaletteEntry == nullptr || colour > 255) return {0, 0, 0};
    return BackendEntries.DefaultPaletteEntry(colour);
}
