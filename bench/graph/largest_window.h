#pragma once
// The "largest window" mode in 16 colours on a memory display of the given screen size, set
// afresh for each benchmark (the display is made once per benchmark program).

#include <cstdlib>

#include "graph/graph.h"
#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/memory_display.h"
#include "runtime/exit.h"

inline void StartLargestWindow(int16_t width, int16_t height) {
    static MemoryDisplay* display = [&] {
        auto* created = new MemoryDisplay({width, height, width, height});
        SelectDisplay(*created);
        ExitHandler saved = ExitHandlerChain;
        GraphicsLayerInit();
        ExitHandlerChain = saved;
        return created;
    }();
    (void)display;
    ShutdownAllWindows();
    int16_t driver = 10, mode = 240;
    InitGraph(driver, mode, "");
    if (GraphResult() != 0 || SurfaceMaxX() != width - 1 || SurfaceMaxY() != height - 1) std::abort();
}
