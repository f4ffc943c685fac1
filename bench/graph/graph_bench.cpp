// The graphics library's two hot paths against plain loops doing the same memory work, in one
// binary so the ratios survive a noisy machine:
//  - the chaos game's long run of PenLineTo calls through the slots on the memory display,
//    against the same segment walk writing a plain pixel array;
//  - FloodFillArea of a whole empty 1920 x 1080 surface, against one plain pass that reads and
//    writes every pixel once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "bench/graph/largest_window.h"
#include "bench/support/plain_walk.h"
#include "graph/window/draw_lock.h"

namespace {

struct Point {
    int16_t x, y;
};

// The chaos game's moves: half-way towards one of three corners, from a start point.
std::vector<Point> ChaosPath(int steps) {
    const Point corners[3] = {{960, 20}, {40, 1060}, {1880, 1060}};
    std::mt19937 random(42);
    std::vector<Point> path{{700, 500}};
    for (int i = 0; i < steps; ++i) {
        const Point& c = corners[random() % 3];
        path.push_back({static_cast<int16_t>((path.back().x + c.x) / 2), static_cast<int16_t>((path.back().y + c.y) / 2)});
    }
    return path;
}

int64_t PathPixels(const std::vector<Point>& path) {
    int64_t pixels = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        pixels += std::max(std::abs(path[i].x - path[i - 1].x), std::abs(path[i].y - path[i - 1].y)) + 1;
    }
    return pixels;
}

const std::vector<Point>& Path() {
    static const std::vector<Point> path = ChaosPath(20000);
    return path;
}

void BM_ChaosGamePenLineTo(benchmark::State& state) {
    StartLargestWindow(1920, 1080);
    const std::vector<Point>& path = Path();
    uint16_t colour = 0;
    for (auto _ : state) {
        SetDrawColor(static_cast<uint16_t>(++colour & 15));
        PenMoveTo(path[0].x, path[0].y);
        for (size_t i = 1; i < path.size(); ++i) PenLineTo(path[i].x, path[i].y);
    }
    state.SetItemsProcessed(state.iterations() * PathPixels(path));
    state.counters["lock"] = DrawLock.asymmetric() ? 1 : 0;
}
BENCHMARK(BM_ChaosGamePenLineTo)->Unit(benchmark::kMillisecond);

// The same walk (decision term, straight and diagonal steps) writing a plain array.
void BM_ChaosGamePlainLoop(benchmark::State& state) {
    const std::vector<Point>& path = Path();
    std::vector<uint32_t> pixels(1920 * 1080);
    uint32_t colour = 0;
    for (auto _ : state) {
        ++colour;
        WalkPathIntoArray(path, pixels, colour);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * PathPixels(path));
}
BENCHMARK(BM_ChaosGamePlainLoop)->Unit(benchmark::kMillisecond);

void BM_FloodFillEmptySurface(benchmark::State& state) {
    StartLargestWindow(1920, 1080);
    uint16_t colour = 2;
    for (auto _ : state) {
        colour = colour == 2 ? 3 : 2;  // each pass refills the whole surface
        SelectFill(1, colour);
        FloodFillArea(960, 540, 4);
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_FloodFillEmptySurface)->Unit(benchmark::kMillisecond);

void BM_FloodFillPlainPass(benchmark::State& state) {
    std::vector<uint32_t> pixels(1920 * 1080, 0);
    const uint32_t border = 0x00A80000;
    uint32_t colour = 2;
    for (auto _ : state) {
        colour ^= 1;
        for (uint32_t& pixel : pixels) {
            if (pixel != border) pixel = colour;
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_FloodFillPlainPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
