// A million chaos-game steps in a window against the same run on the memory display, and
// against the floor: the same million segments walked into a plain pixel array, no locks, no
// slots. The runs are whole processes fed the same answers, each also run with a single step
// to measure what it costs besides the pass; all are taken in turn so that the machine's noise
// falls on them alike; the figures that matter are the ratios.

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

// One pass of a million steps; one pass of a single step gives what a run costs besides its pass.
const std::string kMillion = "100\n100\n1000000\nn\n";
const std::string kOneStep = "100\n100\n1\nn\n";

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// chaosplot on a terminal, as a user runs it.
double SecondsInWindow(const std::string& answers) {
    const auto start = std::chrono::steady_clock::now();
    PlotterTerminal plotter;
    plotter.Answer(answers);
    // The end is looked for every millisecond, as finely as the memory run's wait sees it.
    return plotter.terminal().WaitForEnd(120000, 1).exitStatus == 0 ? SecondsSince(start) : -1;
}

// The same passes on the memory display, answers on standard input.
double SecondsInMemory(const std::string& scratch, const std::string& answers) {
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun reference =
        RunProgram({REFERENCE_PLOTTER, scratch, "1920", "1080", "1920", "1080"}, answers);
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
    double window = 0, memory = 0, windowStart = 0, memoryStart = 0, walk = 0;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow(kMillion);
        const double inMemory = SecondsInMemory(scratch, kMillion);
        const double windowOneStep = SecondsInWindow(kOneStep);
        const double memoryOneStep = SecondsInMemory(scratch, kOneStep);
        if (inWindow < 0 || inMemory < 0 || windowOneStep < 0 || memoryOneStep < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        window += inWindow;
        memory += inMemory;
        windowStart += windowOneStep;
        memoryStart += memoryOneStep;
        walk += SecondsOfPlainWalk();
        state.SetIterationTime(inWindow);
    }
    std::filesystem::remove_all(scratch);
    const double runs = static_cast<double>(state.iterations());
    state.counters["window_s"] = window / runs;
    state.counters["memory_s"] = memory / runs;
    state.counters["window_one_step_s"] = windowStart / runs;
    state.counters["memory_one_step_s"] = memoryStart / runs;
    state.counters["walk_s"] = walk / runs;
    // Presenting's cost to the drawing thread: the pass alone, the rest of each run (starting,
    // the window or the picture files, the questions, ending) taken off by its one-step run.
    const double windowPass = window - windowStart, memoryPass = memory - memoryStart;
    state.counters["ratio"] = memoryPass > 0 ? windowPass / memoryPass : 0;
    // The whole program, start and end included, against the floor.
    state.counters["walk_ratio"] = walk > 0 ? window / walk : 0;
}

BENCHMARK(BM_MillionStepsWindowAgainstMemory)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
