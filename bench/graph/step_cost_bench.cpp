// What one chaos-game step costs, in the plotter's own pass on the memory display, taken apart
// beside the floor (the same million segments walked into a plain array), all in one run:
//   pass_ns        a whole step of PlayChaosGame (generator, midpoint, PenLineTo), a fresh window
//   generator_ns   RandomBelow(3) alone
//   remembered_ns  PenLineTo of a segment the window remembers (slot call, clip, lock, lookup)
//   lock_ns        taking and leaving DrawLock's drawing side alone
//   lookup_ns      the segment memory's lookup alone
//   walk_ns        the floor's walk of one segment
// and pass_walk_ratio = pass_ns / walk_ns, each the median of the runs with its spread. All are
// the drawing thread's processor time (the GUI thread only presents).

#include <benchmark/benchmark.h>

#include <time.h>

#include <vector>

#include "app/plotter.h"
#include "bench/graph/largest_window.h"
#include "bench/support/plain_walk.h"
#include "bench/support/plotter_path.h"
#include "bench/support/spread.h"
#include "graph/window/draw_lock.h"
#include "graph/window/segment_memory.h"

namespace {

constexpr int kSteps = 1000000;

// The processor time of this thread, which a busy machine's other work does not add to.
double ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

template <typename Work>
double NanosecondsPerStep(Work work) {
    const double start = ThreadNanoseconds();
    work();
    return (ThreadNanoseconds() - start) / kSteps;
}

void BM_ChaosStepCosts(benchmark::State& state) {
    const std::vector<PlotterPoint>& path = PlotterPath();
    std::vector<uint32_t> pixels(1920 * 1080);
    SegmentMemory memory;
    std::vector<double> pass, generator, remembered, lock, lookup, walk, ratio;
    for (auto _ : state) {
        StartLargestWindow(1920, 1080);
        DrawFilledTriangle();
        RandomState = {0, 0, 0, 0, true};
        xp = path[0].x;
        yp = path[0].y;
        nmax = kSteps;
        pass.push_back(NanosecondsPerStep(PlayChaosGame));
        RandomState = {0, 0, 0, 0, true};
        int32_t corners = 0;
        generator.push_back(NanosecondsPerStep([&] {
            for (int i = 0; i < kSteps; ++i) corners += RandomBelow(3);
        }));
        benchmark::DoNotOptimize(corners);
        remembered.push_back(NanosecondsPerStep([&] {
            PenMoveTo(static_cast<int16_t>(path[0].x), static_cast<int16_t>(path[0].y));
            for (int i = 1; i <= kSteps; ++i) PenLineTo(static_cast<int16_t>(path[i].x), static_cast<int16_t>(path[i].y));
        }));
        lock.push_back(NanosecondsPerStep([] {
            for (int i = 0; i < kSteps; ++i) {
                DrawingSide side;
                benchmark::ClobberMemory();
            }
        }));
        auto key = [&](int i) {
            return SegmentKey(static_cast<int16_t>(path[i - 1].x), static_cast<int16_t>(path[i - 1].y),
                              static_cast<int16_t>(path[i].x), static_cast<int16_t>(path[i].y));
        };
        for (int i = 1; i <= kSteps; ++i) SeenElseRemembered(memory, key(i), 1, 1);
        int32_t seen = 0;
        lookup.push_back(NanosecondsPerStep([&] {
            for (int i = 1; i <= kSteps; ++i) seen += SeenElseRemembered(memory, key(i), 1, 1);
        }));
        benchmark::DoNotOptimize(seen);
        walk.push_back(NanosecondsPerStep([&] {
            WalkPathIntoArray(path, pixels, 0xFFFF55);
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        }));
        ratio.push_back(pass.back() / walk.back());
    }
    ReportSpread(state, "pass_ns", pass);
    ReportSpread(state, "generator_ns", generator);
    ReportSpread(state, "remembered_ns", remembered);
    ReportSpread(state, "lock_ns", lock);
    ReportSpread(state, "lookup_ns", lookup);
    ReportSpread(state, "walk_ns", walk);
    ReportSpread(state, "pass_walk_ratio", ratio);
}
BENCHMARK(BM_ChaosStepCosts)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
