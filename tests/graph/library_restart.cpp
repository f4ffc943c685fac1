#include "tests/graph/library_restart.h"

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/palette.h"
#include "runtime/exit.h"

namespace {

MemoryDisplay* current = nullptr;

}  // namespace

MemoryDisplay& TestDisplay() {
    // Never destroyed: GUI threads may outlive the test that started them until their window
    // is closed.
    if (current == nullptr) {
        current = new MemoryDisplay();
        SelectDisplay(*current);
    }
    return *current;
}

void RenewTestDisplay() {
    ShutdownAllWindows();
    MemoryDisplay* earlier = current;
    current = nullptr;
    TestDisplay();
    delete earlier;
}

void RestartLibrary(ScreenMetrics metrics) {
    TestDisplay().SetMetrics(metrics);
    TestDisplay().FailWindowCreations(0);
    TestDisplay().FailBufferCreations(0);
    ShutdownAllWindows();
    ReleasePaletteTable();
    ReleaseModeLists();
    ReleaseFontData();
    ExitHandler saved = ExitHandlerChain;
    GraphicsLayerInit();
    ExitHandlerChain = saved;
    GraphState.resultCode = 0;
    GraphState.firstInitPending = true;
    GraphState.driverPath.Assign(".");
    GraphState.inGraphics = false;
}
