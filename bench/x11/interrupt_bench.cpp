// How long chaosplot takes to end after Ctrl+C in the middle of an endless pass: from the key
// reaching the terminal to the process being gone, as the user's shell sees it.

#include <benchmark/benchmark.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "tests/e2e/plotter_terminal.h"
#include "tests/e2e/xvfb_server.h"

namespace {

void BM_CtrlCToExitDuringAPass(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(800, 600)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    double worst = 0;
    for (auto _ : state) {
        PlotterTerminal plotter;
        plotter.Answer("100\n100\n2147483647\n");
        // Drawing is well under way once the answers are in and the window had a moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const auto start = std::chrono::steady_clock::now();
        plotter.terminal().Type("\x03");
        const ProgramEnd end = plotter.terminal().WaitForEnd(20000, 1);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (end.signal != SIGINT) {
            state.SkipWithError("the program did not end by SIGINT");
            break;
        }
        worst = std::max(worst, seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
}

BENCHMARK(BM_CtrlCToExitDuringAPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
