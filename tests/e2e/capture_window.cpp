// Writes the picture of the newest (topmost) program window on $DISPLAY to FILE, in the format
// of reference_plotter (width and height as 32-bit numbers, then the 0x00RRGGBB pixels), and
// prints how many program windows are open. For measurements of long runs.
//   capture_window FILE

#include <cstdio>

#include "tests/e2e/x_inspector.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: capture_window FILE\n", stderr);
        return 2;
    }
    XInspector inspector;
    if (!inspector.connected()) return 1;
    const std::vector<xcb_window_t> windows = inspector.WindowsOfClass("ZorvGraphWindow");
    std::printf("%zu\n", windows.size());
    if (windows.empty()) return 1;
    const Picture picture = inspector.Capture(windows.back());
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) return 1;
    const int32_t size[2] = {picture.width, picture.height};
    std::fwrite(size, sizeof size, 1, file);
    std::fwrite(picture.pixels.data(), sizeof(uint32_t), picture.pixels.size(), file);
    return std::fclose(file) == 0 ? 0 : 1;
}
