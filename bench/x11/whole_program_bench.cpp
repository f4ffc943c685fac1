// A million chaos-game steps in a window against the same run on the memory display, and
// against the floor: the same million segments walked into a plain pixel array, no locks, no
// slots; and a hundred million steps against a hundred such walks. The runs are whole processes fed the same answers, each also run with a single step
// to measure what it costs besides the pass; all are taken in turn so that the machine's noise
// falls on them alike; the figures that matter are the ratios.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench/support/plain_walk.h"
#include "bench/support/plotter_path.h"
#include "bench/support/spread.h"

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

// The floor: the same segments, the same walk, into an array.
double SecondsOfPlainWalk() {
    const std::vector<PlotterPoint>& path = PlotterPath();
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
    std::vector<double> window, memory, windowStart, memoryStart, walk, ratio, walkRatio, passWalkRatio;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow(kMillion);
        const double inMemory = SecondsInMemory(scratch, kMillion);
        const double windowOneStep = SecondsInWindow(kOneStep);
        const double memoryOneStep = SecondsInMemory(scratch, kOneStep);
        if (inWindow < 0 || inMemory < 0 || windowOneStep < 0 || memoryOneStep < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        const double walked = SecondsOfPlainWalk();
        window.push_back(inWindow);
        memory.push_back(inMemory);
        windowStart.push_back(windowOneStep);
        memoryStart.push_back(memoryOneStep);
        walk.push_back(walked);
        // Presenting's cost to the drawing thread: the pass alone, the rest of each run (starting,
        // the window or the picture files, the questions, ending) taken off by its one-step run.
        const double windowPass = inWindow - windowOneStep, memoryPass = inMemory - memoryOneStep;
        ratio.push_back(memoryPass > 0 ? windowPass / memoryPass : 0);
        // The whole program, start and end included, against the floor; and its pass alone.
        walkRatio.push_back(inWindow / walked);
        passWalkRatio.push_back(windowPass / walked);
        state.SetIterationTime(inWindow);
    }
    std::filesystem::remove_all(scratch);
    state.counters["window_s"] = Median(window);
    state.counters["memory_s"] = Median(memory);
    state.counters["window_one_step_s"] = Median(windowStart);
    state.counters["memory_one_step_s"] = Median(memoryStart);
    state.counters["walk_s"] = Median(walk);
    ReportSpread(state, "ratio", ratio);
    ReportSpread(state, "walk_ratio", walkRatio);
    ReportSpread(state, "pass_walk_ratio", passWalkRatio);
}

BENCHMARK(BM_MillionStepsWindowAgainstMemory)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The largest passes: a hundred million steps in a window, against a hundred plain walks of
// the million segments above (what drawing every step would cost at the floor's speed).
void BM_HundredMillionStepsAgainstWalks(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1920, 1080)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    PlotterPath();
    std::vector<double> window, walks, walkRatio;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow("100\n100\n100000000\nn\n");
        if (inWindow < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        double walked = 0;
        for (int i = 0; i < 100; ++i) walked += SecondsOfPlainWalk();
        window.push_back(inWindow);
        walks.push_back(walked);
        walkRatio.push_back(inWindow / walked);
        state.SetIterationTime(inWindow);
    }
    state.counters["window_s"] = Median(window);
    state.counters["walks_s"] = Median(walks);
    ReportSpread(state, "walk_ratio", walkRatio);
}

BENCHMARK(BM_HundredMillionStepsAgainstWalks)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
