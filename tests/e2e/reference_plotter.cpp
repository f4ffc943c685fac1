// The plotter on the memory display: reads the same answers as chaosplot and, when it ends,
// writes the picture in each of its windows' back-buffers to DIRECTORY/window-N.pixels (N from
// 1, in the order the windows were opened): width and height as 32-bit numbers, then the
// 0x00RRGGBB pixels row by row. The buffers are read rather than what the memory windows show,
// because an earlier window may not yet have presented its last drawing when the program ends.
//   reference_plotter DIRECTORY W H FW FH [last]
// With "last", only the newest window's picture is written (long runs of many windows).

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "app/plotter.h"
#include "graph/graph.h"
#include "graph/window/memory_display.h"
#include "runtime/exit.h"
#include "runtime/startup.h"

namespace {

struct Picture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

Picture Copy(const PixelBuffer& buffer) {
    Picture picture{buffer.width, buffer.height, {}};
    for (int32_t y = 0; y < buffer.height; ++y) {
        const uint32_t* row = buffer.pixels + static_cast<size_t>(y) * buffer.stride;
        picture.pixels.insert(picture.pixels.end(), row, row + buffer.width);
    }
    return picture;
}

// The memory display, keeping each window's buffer in view and its picture when it goes.
class RecordingDisplay final : public Display {
public:
    explicit RecordingDisplay(ScreenMetrics metrics) : memory_(metrics) {}

    // The pictures of the windows from the first-th on (0: every window), in the order the
    // windows were opened.
    std::vector<Picture> Pictures(size_t first) {
        std::lock_guard<std::mutex> hold(mutex_);
        std::vector<Picture> pictures;
        for (size_t i = first; i < buffers_.size(); ++i) {
            const Buffer& buffer = buffers_[i];
            pictures.push_back(buffer.released ? buffer.picture : Copy(buffer.live));
        }
        return pictures;
    }
    size_t WindowCount() {
        std::lock_guard<std::mutex> hold(mutex_);
        return buffers_.size();
    }

    ScreenMetrics Metrics() override { return memory_.Metrics(); }
    WindowHandle CreateWindow(const WindowRequest& request) override {
        return memory_.CreateWindow(request);
    }
    bool CreateBuffer(WindowHandle window, int32_t width, int32_t height,
                      PixelBuffer& buffer) override {
        if (!memory_.CreateBuffer(window, width, height, buffer)) return false;
        std::lock_guard<std::mutex> hold(mutex_);
        buffers_.push_back({window, buffer, false, {}});
        return true;
    }
    void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) override {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            for (Buffer& kept : buffers_) {
                if (kept.window == window && !kept.released) {
                    kept.picture = Copy(buffer);
                    kept.released = true;
                }
            }
        }
        memory_.DestroyBuffer(window, buffer);
    }
    void ShowWindow(WindowHandle window) override { memory_.ShowWindow(window); }
    WindowEvent NextEvent(WindowHandle window) override { return memory_.NextEvent(window); }
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override {
        memory_.Present(window, buffer, area);
    }
    void DestroyWindow(WindowHandle window) override { memory_.DestroyWindow(window); }
    void PostDestroy(WindowHandle window) override { memory_.PostDestroy(window); }
    void PostQuit(WindowHandle window) override { memory_.PostQuit(window); }
    void PostDamage(WindowHandle window) override { memory_.PostDamage(window); }
    void SetTitle(WindowHandle window, const char* title) override { memory_.SetTitle(window, title); }
    void PostWake(WindowHandle window) override { memory_.PostWake(window); }

private:
    struct Buffer {
        WindowHandle window;
        PixelBuffer live;
        bool released;
        Picture picture;
    };

    MemoryDisplay memory_;
    std::mutex mutex_;
    std::vector<Buffer> buffers_;
};

RecordingDisplay* display;
std::string directory;
bool lastOnly = false;

void SavePictures() {
    const size_t count = display->WindowCount();
    const size_t first = lastOnly && count > 0 ? count - 1 : 0;
    size_t number = first;
    for (const Picture& picture : display->Pictures(first)) {
        const std::string path = directory + "/window-" + std::to_string(++number) + ".pixels";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) continue;
        const int32_t size[2] = {picture.width, picture.height};
        std::fwrite(size, sizeof size, 1, file);
        std::fwrite(picture.pixels.data(), sizeof(uint32_t), picture.pixels.size(), file);
        std::fclose(file);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 && !(argc == 7 && std::string(argv[6]) == "last")) {
        std::fputs("usage: reference_plotter DIRECTORY W H FW FH [last]\n", stderr);
        return 2;
    }
    directory = argv[1];
    lastOnly = argc == 7;
    display = new RecordingDisplay(
        {std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])});
    SelectDisplay(*display);
    PlugGraphicsLayer();
    // The graphics layer chains its own handler in front of this one.
    ExitHandlerChain = SavePictures;
    StartProgram(PlotterMain);
}
