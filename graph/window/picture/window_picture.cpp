#include "graph/window/picture/window_picture.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "graph/window/picture/png_file.h"

namespace {

// A copy of a back-buffer, taken under the lock and encoded without it.
struct PictureCopy {
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t height = 0;

    PngPicture View() const { return {pixels.data(), width, height, width}; }
};

// DrawLock held by the caller: the window's pixels, or an empty copy once the buffer is gone.
PictureCopy CopyBuffer(const GraphWindowRecord& record) {
    PictureCopy copy;
    const PixelBuffer buffer = record.ShownPage();
    if (!record.surfaceReady || buffer.pixels == nullptr) return copy;
    copy.width = buffer.width;
    copy.height = buffer.height;
    copy.pixels.resize(static_cast<size_t>(buffer.width) * static_cast<size_t>(buffer.height));
    for (int32_t y = 0; y < buffer.height; ++y) {
        std::memcpy(copy.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(buffer.width),
                    buffer.pixels + static_cast<int64_t>(y) * buffer.stride,
                    sizeof(uint32_t) * static_cast<size_t>(buffer.width));
    }
    return copy;
}

// More than a person saves in one second; past it something else is wrong with the directory.
constexpr int kMaxAttempts = 1000;

}  // namespace

std::string PictureFileName(const char* program, const std::tm& when, int attempt) {
    char stamp[64];  // room for any int fields, so the compiler sees no truncation
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900, when.tm_mon + 1,
                  when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    char counter[16] = "";
    if (attempt >= 2) std::snprintf(counter, sizeof counter, "-%d", attempt);
    std::string name(program);
    name.append(stamp).append(counter).append(".png");
    return name;
}

std::string SaveWindowUnderFreshName(GraphWindowRecord* record) {
    PictureCopy copy;
    {
        WindowSide lock;
        copy = CopyBuffer(*record);
    }
    const std::time_t now = std::time(nullptr);
    std::tm when{};
    localtime_r(&now, &when);
    std::string error = "the window has no picture";
    if (copy.pixels.empty()) return "Picture not saved: " + error;
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const std::string name = PictureFileName(program_invocation_short_name, when, attempt);
        if (WritePngFile(name, copy.View(), PngCreation::Exclusive, error)) return "Saved " + name;
        // Only a name already taken is worth another try.
        if (access(name.c_str(), F_OK) != 0) break;
    }
    return "Picture not saved: " + error;
}

bool SaveNewestWindowPicture(const char* path) {
    PictureCopy copy;
    {
        DrawingSide lock;
        if (Backend.newestWindow != nullptr) copy = CopyBuffer(*Backend.newestWindow);
    }
    if (copy.pixels.empty()) return false;
    std::string error;
    return WritePngFile(path, copy.View(), PngCreation::Replace, error);
}
