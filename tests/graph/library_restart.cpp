#include "tests/graph/library_restart.h"

#include <cstring>

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/palette.h"
#include "graph/window/draw_lock.h"
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

void CopyNewestBuffer(std::vector<uint32_t>& copy) {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    copy.resize(static_cast<size_t>(buffer.width) * static_cast<size_t>(buffer.height));
    for (int32_t y = 0; y < buffer.height; ++y) {
        std::memcpy(copy.data() + static_cast<size_t>(y) * static_cast<size_t>(buffer.width),
                    buffer.pixels + static_cast<int64_t>(y) * buffer.stride,
                    sizeof(uint32_t) * static_cast<size_t>(buffer.width));
    }
}

std::vector<uint32_t> NewestBufferCopy() {
    std::vector<uint32_t> copy;
    CopyNewestBuffer(copy);
    return copy;
}

void ClearNewestBuffer() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    for (int32_t y = 0; y < buffer.height; ++y) {
        std::memset(buffer.pixels + static_cast<int64_t>(y) * buffer.stride, 0, sizeof(uint32_t) * size_t(buffer.width));
    }
}
