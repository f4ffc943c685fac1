// Saving a 1920 x 1080 window's picture (SaveWindowPicture: the copy under the lock, the palette
// PNG and the file) against libpng's own simplified writer putting the same pixels in an RGB
// file, paired in one run. The picture is a 16-colour chaos game of 50,000 moves.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/graph/largest_window.h"
#include "bench/graph/paired.h"
#include "graph/window/draw_lock.h"

namespace {

constexpr int16_t kWidth = 1920, kHeight = 1080;

void DrawChaosGame() {
    const int16_t corners[3][2] = {{960, 20}, {40, 1060}, {1880, 1060}};
    std::mt19937 random(42);
    SetDrawColor(14);
    PenMoveTo(700, 500);
    for (int i = 0; i < 50000; ++i) {
        const int16_t* c = corners[random() % 3];
        PenLineTo(static_cast<int16_t>((PenX() + c[0]) / 2), static_cast<int16_t>((PenY() + c[1]) / 2));
    }
}

std::vector<png_byte> BufferAsRgb() {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    std::vector<png_byte> rgb;
    for (int32_t y = 0; y < buffer.height; ++y) {
        for (int32_t x = 0; x < buffer.width; ++x) {
            const uint32_t p = buffer.pixels[y * buffer.stride + x];
            rgb.insert(rgb.end(), {png_byte(p >> 16), png_byte(p >> 8), png_byte(p)});
        }
    }
    return rgb;
}

void BM_SaveWindowAgainstPlainRgbWriter(benchmark::State& state) {
    StartLargestWindow(kWidth, kHeight);
    DrawChaosGame();
    const std::vector<png_byte> rgb = BufferAsRgb();
    const std::string ours = "/tmp/save-bench-" + std::to_string(getpid()) + ".png";
    const std::string theirs = "/tmp/save-bench-rgb-" + std::to_string(getpid()) + ".png";
    RunPaired(
        state,
        [&] {
            SaveWindowPicture(ours);
            if (GraphResult() != GraphOk) std::abort();
        },
        [&] {
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            image.width = kWidth;
            image.height = kHeight;
            image.format = PNG_FORMAT_RGB;
            if (!png_image_write_to_file(&image, theirs.c_str(), 0, rgb.data(), 0, nullptr)) std::abort();
        });
    std::FILE* file = std::fopen(ours.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    state.counters["file_bytes"] = static_cast<double>(std::ftell(file));
    std::fclose(file);
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
}
BENCHMARK(BM_SaveWindowAgainstPlainRgbWriter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
BENCHMARK_MAIN();
