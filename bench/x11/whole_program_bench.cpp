// A million chaos-game steps in a window against the same run on the memory display, and
// against the floor: the same million segments walked into a plain pixel array, no locks, no
// slots. The two runs are whole processes fed the same answers; all three are taken in turn so
// that the machine's noise falls on them alike; the figures that matter are the ratios.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench/support/plain_walk.h"
#include "runtime/random.h"

#include "tests/e2e/plotter_terminal.h"
#include "tests/e2e/xvfb_server.h"
#include "tests/support/run_program.h"

namespace {

const std::string kAnswers = "100\n100\n1000000\nn\n";

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// chaosplot on a terminal, as a user runs it.
double SecondsInWindow() {
    const auto start = std::chrono::steady_clock::now();
    PlotterTerminal plotter;
    plotter.Answer(kAnswers);
    return plotter.Finish(120000) == 0 ? SecondsSince(start) : -1;
}

// The same passes on the memory display, answers on standard input.
double SecondsInMemory(const std::string& scratch) {
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun reference =
        RunProgram({REFERENCE_PLOTTER, scratch, "1920", "1080", "1920", "1080"}, kAnswers);
    return reference.exitStatus == 0 ? SecondsSince(start) : -1;
}

struct Point {
    int32_t x, y;
};

// The plotter's path for the answers above: from (100, 100) half-way towards one of its three
// corners, picked by the runtime's generator from its fixed start.
const std::vector<Point>& PlotterPath() {
    static const std::vector<Point> path = [] {
        constexpr Point kCorners[3] = {{10, 10}, {410, 10}, {210, 346}};
        std::vector<Point> points{{100, 100}};
        for (int i = 0; i < 1000000; ++i) {
            const Point& c = kCorners[RandomBelow(3)];
            points.push_back({(points.back().x + c.x) / 2, (points.back().y + c.y) / 2});
        }
        return points;
    }();
    return path;
}

// The floor: the same segments, the same walk, into an array.
double SecondsOfPlainWalk() {
    const std::vector<Point>& path = PlotterPath();
    static std::vector<uint32_t> pixels(1920 * 1080);
    const auto start = std::chrono::steady_clock::now();
    WalkPathIntoArray(path, pixels, 0xFFFF55);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
    return SecondsSince(start);
}

void BM_MillionStepsWindowAgainstMemory(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1920, 1080)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    const std::string scratch = std::filesystem::temp_directory_path() / "chaosplot-bench";
    std::filesystem::create_directories(scratch);
    PlotterPath();
    double window = 0, memory = 0, walk = 0;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow();
        const double inMemory = SecondsInMemory(scratch);
        if (inWindow < 0 || inMemory < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        window += inWindow;
        memory += inMemory;
        walk += SecondsOfPlainWalk();
        state.SetIterationTime(inWindow);
    }
    std::filesystem::remove_all(scratch);
    state.counters["window_s"] = window / static_cast<double>(state.iterations());
    state.counters["memory_s"] = memory / static_cast<double>(state.iterations());
    state.counters["walk_s"] = walk / static_cast<double>(state.iterations());
    // Presenting's cost to the drawing thread, and the whole program against the floor.
    state.counters["ratio"] = memory > 0 ? window / memory : 0;
    state.counters["walk_ratio"] = walk > 0 ? window / walk : 0;
}

BENCHMARK(BM_MillionStepsWindowAgainstMemory)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
