// A million chaos-game steps in a window against the same run on the memory display. Both runs
// are whole processes fed the same answers, taken in turn so that the machine's noise falls on
// both alike; the figure that matters is the ratio.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "tests/e2e/program_session.h"
#include "tests/e2e/xvfb_server.h"

namespace {

const std::string kAnswers = "100\n100\n1000000\nn\n";

double SecondsToRun(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    ProgramSession program(argv);
    program.Type(kAnswers);
    if (program.Finish(120000) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
        const double inWindow = SecondsToRun({CHAOSPLOT});
        const double inMemory =
            SecondsToRun({REFERENCE_PLOTTER, scratch, "1920", "1080", "1920", "1080"});
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

BENCHMARK(BM_MillionStepsWindowAgainstMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
