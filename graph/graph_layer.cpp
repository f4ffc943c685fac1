// The graphics library as layer 5 of the runtime: its start-up, which builds the mode list,
// registers the font names and installs the default slots, and its exit handler. Kept apart
// from the context (graph_state.cpp) and the modes (modes.cpp), which both sit below it.

#include "graph/backend_entries.h"
#include "graph/graph_internal.h"
#include "runtime/exit.h"
#include "runtime/heap.h"

void GraphicsLayerInit() {
    GraphState.inGraphics = false;
    GraphState.KnownModes = nullptr;
    for (int i = 0; i < kClassCount; ++i) {
        GraphState.classModeLists[i] = nullptr;
        GraphState.classModeRange[i] = {-1, -1};
    }
    GraphState.backendStartup = nullptr;
    BuildKnownModes();
    GraphState.fontCount = 0;
    for (const char* name : {"TRIP", "LITT", "SANS", "GOTH", "SCRI", "SIMP", "TSCR", "LCOM", "EURO", "BOLD"}) {
        RegisterFontName(name);
    }
    GraphState.savedExitHandler = ExitHandlerChain;
    ExitHandlerChain = GraphExitHandler;
    GraphState.MessageHook = nullptr;
    InstallDefaultSlots();
}

void PlugGraphicsLayer() { PlugLayer(LayerGraphics, GraphicsLayerInit, nullptr); }

void GraphExitHandler() {
    ExitHandlerChain = GraphState.savedExitHandler;
    if (GraphState.inGraphics && (RuntimeErrorNumber != 0 || RuntimeErrorAddress != nullptr)) {
        LeaveGraphics();
    }
    ReleaseFontData();
    ReleaseModeLists();
}

void ReleaseFontData() {
    for (int i = 0; i < GraphState.fontCount && i < kFontTableSize; ++i) {
        FontRecord& font = GraphState.fontTable[i];
        if (font.data != nullptr) HeapReleaseSized(font.data, font.dataSize);
        font.data = nullptr;
    }
}
