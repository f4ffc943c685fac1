// FloodFillArea on a 1920 x 1080 surface against its floor and peer, paired in one run:
//  - an empty surface against one plain pass that reads and writes every pixel once;
//  - a maze (about three quarters open) and an open field around 3600 disc holes against the
//    image library's 4-connected floodFill on the same picture, on 32-bit and on 8-bit pixels.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "bench/graph/largest_window.h"
#include "bench/graph/paired.h"
#ifdef CHAOSPLOT_BENCH_OPENCV
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr uint16_t kWall = 4;

// The library's fill, each call in the other of two colours so that every call repaints.
struct LibraryFill {
    int16_t x, y;
    uint16_t colour = 2;
    void operator()() {
        colour = colour == 2 ? 3 : 2;
        SelectFill(1, colour);
        FloodFillArea(x, y, kWall);
    }
};

#ifdef CHAOSPLOT_BENCH_OPENCV
// A picture of walls (true) and open pixels.
using Walls = std::vector<uint8_t>;

// A maze of 4 x 4 cells whose walls are one pixel wide, carved by a depth-first walk.
Walls Maze() {
    Walls walls(kWidth * kHeight, 1);
    const int cellsX = kWidth / 4, cellsY = kHeight / 4;
    std::vector<uint8_t> seen(static_cast<size_t>(cellsX) * cellsY, 0);
    std::mt19937 random(7);
    auto open = [&](int x, int y, int w, int h) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) walls[static_cast<size_t>(j) * kWidth + i] = 0;
    };
    std::vector<std::pair<int, int>> stack{{0, 0}};
    seen[0] = 1;
    open(1, 1, 3, 3);
    while (!stack.empty()) {
        auto [cx, cy] = stack.back();
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        int choices[4], count = 0;
        for (int k = 0; k < 4; ++k) {
            int nx = cx + steps[k][0], ny = cy + steps[k][1];
            if (nx >= 0 && ny >= 0 && nx < cellsX && ny < cellsY && !seen[static_cast<size_t>(ny) * cellsX + nx])
                choices[count++] = k;
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        int k = choices[random() % count];
        int nx = cx + steps[k][0], ny = cy + steps[k][1];
        seen[static_cast<size_t>(ny) * cellsX + nx] = 1;
        open(nx * 4 + 1, ny * 4 + 1, 3, 3);
        // The wall between the two cells.
        if (steps[k][0] != 0) open(std::max(cx, nx) * 4, cy * 4 + 1, 1, 3);
        else open(cx * 4 + 1, std::max(cy, ny) * 4, 3, 1);
        stack.emplace_back(nx, ny);
    }
    return walls;
}

// 60 x 60 = 3600 discs of radius 7 on a grid.
Walls Discs() {
    Walls walls(kWidth * kHeight, 0);
    for (int j = 0; j < 60; ++j)
        for (int i = 0; i < 60; ++i) {
            int cx = 16 + i * 32, cy = 9 + j * 18;
            for (int y = cy - 7; y <= cy + 7; ++y)
                for (int x = cx - 7; x <= cx + 7; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 49 && x < kWidth && y < kHeight)
                        walls[static_cast<size_t>(y) * kWidth + x] = 1;
        }
    return walls;
}

void DrawWalls(const Walls& walls) {
    StartLargestWindow(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (walls[static_cast<size_t>(y) * kWidth + x])
                DriverSlots.WritePixel(static_cast<int16_t>(x), static_cast<int16_t>(y), kWall);
}

template <int Type>
struct ImageLibraryFill {
    cv::Mat image;
    cv::Point seed;
    int colour = 2;
    ImageLibraryFill(const Walls& walls, int x, int y) : image(kHeight, kWidth, Type), seed(x, y) {
        for (int j = 0; j < kHeight; ++j)
            for (int i = 0; i < kWidth; ++i) {
                const int value = walls[static_cast<size_t>(j) * kWidth + i] ? kWall : 0;
                if (Type == CV_8UC1) image.at<uint8_t>(j, i) = static_cast<uint8_t>(value);
                else image.at<int32_t>(j, i) = value;
            }
        cv::floodFill(image, seed, cv::Scalar(colour), nullptr, cv::Scalar(), cv::Scalar(), 4);
    }
    void operator()() {
        colour = colour == 2 ? 3 : 2;
        cv::floodFill(image, seed, cv::Scalar(colour), nullptr, cv::Scalar(), cv::Scalar(), 4);
    }
};

template <int Type>
void BM_FillAgainstImageLibrary(benchmark::State& state, const Walls& walls, int x, int y) {
    DrawWalls(walls);
    LibraryFill ours{static_cast<int16_t>(x), static_cast<int16_t>(y)};
    ImageLibraryFill<Type> theirs(walls, x, y);
    RunPaired(state, ours, theirs);
}

void BM_MazeAgainstImageLibrary32(benchmark::State& state) {
    static const Walls maze = Maze();
    BM_FillAgainstImageLibrary<CV_32SC1>(state, maze, 1, 1);
}
void BM_MazeAgainstImageLibrary8(benchmark::State& state) {
    static const Walls maze = Maze();
    BM_FillAgainstImageLibrary<CV_8UC1>(state, maze, 1, 1);
}
void BM_DiscsAgainstImageLibrary32(benchmark::State& state) {
    static const Walls discs = Discs();
    BM_FillAgainstImageLibrary<CV_32SC1>(state, discs, 0, 0);
}
void BM_DiscsAgainstImageLibrary8(benchmark::State& state) {
    static const Walls discs = Discs();
    BM_FillAgainstImageLibrary<CV_8UC1>(state, discs, 0, 0);
}
BENCHMARK(BM_MazeAgainstImageLibrary32)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MazeAgainstImageLibrary8)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscsAgainstImageLibrary32)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscsAgainstImageLibrary8)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

// One plain pass over a 32-bit surface: read every pixel, write the open ones.
struct PlainPass {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kWidth * kHeight, 0);
    uint32_t colour = 2;
    void operator()() {
        colour ^= 1;
        for (uint32_t& pixel : pixels) {
            if (pixel != 0x00A80000) pixel = colour;
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
};

void BM_EmptySurfaceAgainstPlainPass(benchmark::State& state) {
    StartLargestWindow(kWidth, kHeight);
    LibraryFill ours{960, 540};
    PlainPass theirs;
    RunPaired(state, ours, theirs);
}
BENCHMARK(BM_EmptySurfaceAgainstPlainPass)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
