// What flipping pages costs the drawing thread: an animation on a full 1280 x 1024 window at 60
// frames a second, a frame drawn on the hidden page and then shown, against a frame drawn on the
// page the window shows, the two kinds taking turns so that both meet the same load of the
// machine. Frames are paced as a program paces them, so the window's GUI thread presents between
// them as it would. The figures are medians of the drawing thread's own processor time per frame
// (the sleeps between frames cost none).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "bench/graph/largest_window.h"

namespace {

constexpr int kFramesPerSide = 30;
constexpr std::chrono::microseconds kFrameInterval{16667};

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A frame of the animation: the page cleared, a disc moving across it and a fan of lines.
void DrawFrame(int frame) {
    EraseSurface();
    const int16_t x = static_cast<int16_t>(150 + (frame * 17) % 980);
    SelectFill(1, static_cast<uint16_t>(1 + frame % 15));
    FillEllipseArea(x, 512, 140, 140);
    for (int16_t i = 0; i < 64; ++i) DrawSegment(x, 512, static_cast<int16_t>(i * 20), 1023);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void BM_PageFlipsAgainstDrawingAlone(benchmark::State& state) {
    StartLargestWindow(1280, 1024);
    std::vector<double> flipsMs, aloneMs;
    uint16_t shown = 0;
    int frame = 0;
    auto due = std::chrono::steady_clock::now();
    // The processor time of one frame, then the wait for the next one's turn.
    auto time = [&](std::vector<double>& into, auto draw) {
        const double start = ThreadCpuMs();
        draw();
        into.push_back(ThreadCpuMs() - start);
        due = std::max(due + kFrameInterval, std::chrono::steady_clock::now());
        std::this_thread::sleep_until(due);
    };
    for (auto _ : state) {
        for (int i = 0; i < kFramesPerSide; ++i) {
            time(flipsMs, [&] {
                const uint16_t hidden = static_cast<uint16_t>(1 - shown);
                SelectPageToDraw(hidden);
                DrawFrame(++frame);
                SelectPageToShow(hidden);
                shown = hidden;
            });
            time(aloneMs, [&] {
                SelectPageToDraw(shown);
                DrawFrame(++frame);
            });
        }
    }
    const double ours = Median(flipsMs), other = Median(aloneMs);
    state.counters["ours_ms"] = ours;
    state.counters["other_ms"] = other;
    state.counters["ratio"] = other > 0 ? ours / other : 0;
}
BENCHMARK(BM_PageFlipsAgainstDrawingAlone)->Unit(benchmark::kMillisecond)->Iterations(9);

}  // namespace
