#pragma once
// A 1280 x 1024 x 16 mode on the memory display, set once for the whole benchmark program.

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/backend_text.h"
#include "graph/window/memory_display.h"

inline void EnterBenchMode() {
    static bool entered = [] {
        static MemoryDisplay display;
        SelectDisplay(display);
        GraphicsLayerInit();
        int16_t driver = 10, mode = 262;
        InitGraph(driver, mode, "");
        return GraphResult() == 0;
    }();
    if (!entered) std::abort();
}
