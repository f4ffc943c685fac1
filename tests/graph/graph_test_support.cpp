#include "tests/graph/graph_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

void StartMode(int16_t driver, int16_t mode) {
    RestartLibrary();
    InitGraph(driver, mode, "");
}

uint32_t BufferPixel(int32_t x, int32_t y) {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    return buffer.pixels[y * buffer.stride + x];
}

uint32_t DefaultPixel(int c) {
    const PaletteEntry& e = defaultPalette[c];
    return RgbToPixel(ColorToRgb(e.red, e.green, e.blue));
}

void CloseNewestWindow() {
    const WindowHandle window = TestDisplay().NewestWindow();
    TestDisplay().Close(window);
    while (TestDisplay().IsOpen(window)) std::this_thread::yield();
}

namespace {

// Windows a test leaves open are closed after the last test, so no GUI thread outlives the
// test program unjoined.
class CloseWindowsAtTheEnd : public ::testing::Environment {
public:
    void TearDown() override { ShutdownAllWindows(); }
};

[[maybe_unused]] const ::testing::Environment* const closeWindowsAtTheEnd =
    ::testing::AddGlobalTestEnvironment(new CloseWindowsAtTheEnd);

}  // namespace
