// A million chaos-game steps in a window against the same pass on the memory display, and
// against the floor: the same million segments walked into a plain pixel array, no locks, no
// slots; and a hundred million steps against a hundred such walks. The runs are whole processes
// on a pseudo-terminal, their answers typed as the questions appear; all are taken in turn so
// that the machine's noise falls on them alike; the figures that matter are the ratios.

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

namespace {

const std::string kMillion = "100\n100\n1000000\nn\n";

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// chaosplot on a terminal, as a user runs it.
double SecondsInWindow(const std::string& answers) {
    const auto start = std::chrono::steady_clock::now();
    PlotterTerminal plotter;
    plotter.Answer(answers);
    // The end is looked for every millisecond, as finely as the passes are timed.
    return plotter.terminal().WaitForEnd(120000, 1).exitStatus == 0 ? SecondsSince(start) : -1;
}

// The pass of a million steps alone, as its user waits for it: from the step count typed to the
// next question. `program` asks chaosplot's questions: chaosplot itself (a window), or the tests'
// plotter on the memory display, whose pictures go to `scratch` when it ends, after the timing.
double SecondsOfPass(const std::vector<std::string>& program) {
    PlotterTerminal plotter(program);
    plotter.Answer("100\n100\n");
    if (!plotter.AwaitOutput("inserire nmax")) return -1;
    const auto start = std::chrono::steady_clock::now();
    plotter.Answer("1000000\n");
    if (!plotter.AwaitOutput("ancora? s/n", 1, 120000)) return -1;
    const double seconds = SecondsSince(start);
    plotter.Answer("n\n");
    return plotter.Finish(120000) == 0 ? seconds : -1;
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
    std::vector<double> window, windowPass, memoryPass, walk, ratio, walkRatio, passWalkRatio;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow(kMillion);
        const double passInWindow = SecondsOfPass({CHAOSPLOT});
        const double passInMemory = SecondsOfPass({REFERENCE_PLOTTER, scratch, "1920", "1080", "1920", "1080"});
        if (inWindow < 0 || passInWindow < 0 || passInMemory < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        const double walked = SecondsOfPlainWalk();
        window.push_back(inWindow);
        windowPass.push_back(passInWindow);
        memoryPass.push_back(passInMemory);
        walk.push_back(walked);
        // Presenting's cost to the drawing thread; the whole program, start and end included,
        // against the floor; and its pass alone.
        ratio.push_back(passInWindow / passInMemory);
        walkRatio.push_back(inWindow / walked);
        passWalkRatio.push_back(passInWindow / walked);
        state.SetIterationTime(inWindow);
    }
    std::filesystem::remove_all(scratch);
    state.counters["window_s"] = Median(window);
    state.counters["window_pass_s"] = Median(windowPass);
    state.counters["memory_pass_s"] = Median(memoryPass);
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
