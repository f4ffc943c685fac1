#include "tests/graph/graph_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/exit.h"

MemoryDisplay& TestDisplay() {
    // Never destroyed: GUI threads may outlive the test that started them until their window
    // is closed.
    static MemoryDisplay* display = [] {
        auto* created = new MemoryDisplay();
        SelectDisplay(*created);
        return created;
    }();
    return *display;
}

void RestartLibrary(ScreenMetrics metrics) {
    TestDisplay().SetMetrics(metrics);
    TestDisplay().FailWindowCreations(0);
    TestDisplay().FailBufferCreations(0);
    ShutdownAllWindows();
    ReleasePaletteTable();
    ReleaseModeLists();
    ExitHandler saved = ExitHandlerChain;
    GraphicsLayerInit();
    ExitHandlerChain = saved;
    GraphState.resultCode = 0;
    GraphState.firstInitPending = true;
    GraphState.driverPath.Assign(".");
    GraphState.inGraphics = false;
}

void StartMode(int16_t driver, int16_t mode) {
    RestartLibrary();
    InitGraph(driver, mode, "");
}

uint32_t BufferPixel(int32_t x, int32_t y) {
    DrawingSide lock;
    const PixelBuffer& buffer = currentWindow->buffer;
    return buffer.pixels[y * buffer.stride + x];
}

uint32_t DefaultPixel(int c) {
    const PaletteEntry& e = defaultPalette[c];
    return RgbToPixel(ColorToRgb(e.red, e.green, e.blue));
}

std::vector<uint16_t> SurfaceColours() {
    std::vector<uint16_t> colours;
    int16_t savedLeft = GraphState.viewLeft, savedTop = GraphState.viewTop;
    bool savedClip = GraphState.clipOn;
    GraphState.viewLeft = GraphState.viewTop = 0;
    GraphState.clipOn = false;
    for (int32_t y = 0; y <= GraphState.surfaceMaxY; ++y) {
        for (int32_t x = 0; x <= GraphState.surfaceMaxX; ++x) {
            colours.push_back(DriverSlots.ReadPixel(static_cast<int16_t>(x), static_cast<int16_t>(y)));
        }
    }
    GraphState.viewLeft = savedLeft;
    GraphState.viewTop = savedTop;
    GraphState.clipOn = savedClip;
    return colours;
}

namespace {
// Windows run on threads of their own: death tests re-execute the test program instead of
// forking a threaded process.
const bool kThreadsafeDeathTests = [] {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return true;
}();
}  // namespace
