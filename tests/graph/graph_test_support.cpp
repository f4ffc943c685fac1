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

std::vector<uint32_t> NewestBufferCopy() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    std::vector<uint32_t> copy;
    for (int32_t y = 0; y < buffer.height; ++y) {
        const uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        copy.insert(copy.end(), row, row + buffer.width);
    }
    return copy;
}

void ClearNewestBuffer() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    for (int32_t y = 0; y < buffer.height; ++y) {
        std::memset(buffer.pixels + static_cast<int64_t>(y) * buffer.stride, 0, sizeof(uint32_t) * size_t(buffer.width));
    }
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
