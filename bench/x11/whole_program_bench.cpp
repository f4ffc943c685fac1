// A million chaos-game steps in a window against the same run on the memory display. Both runs
// are whole processes fed the same answers, taken in turn so that the machine's noise falls on
// both alike; the figure that matters is the ratio.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

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

void BM_MillionStepsWindowAgainstMemory(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1920, 1080)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    const std::string scratch = std::filesystem::temp_directory_path() / "chaosplot-bench";
    std::filesystem::create_directories(scratch);
    double window = 0, memory = 0;
    for (auto _ : state) {
        const double inWindow = SecondsInWindow();
        const double inMemory = SecondsInMemory(scratch);
        if (inWindow < 0 || inMemory < 0) {
            state.SkipWithError("a run failed");
            break;
        }
        window += inWindow;
        memory += inMemory;
        state.SetIterationTime(inWindow);
    }
    std::filesystem::remove_all(scratch);
    state.counters["window_s"] = window / static_cast<double>(state.iterations());
    state.counters["memory_s"] = memory / static_cast<double>(state.iterations());
    state.counters["ratio"] = memory > 0 ? window / memory : 0;
}

BENCHMARK(BM_MillionStepsWindowAgainstMemory)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
