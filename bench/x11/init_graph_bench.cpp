// InitGraph on the X server, from the call until it returns with the window's buffer in place.

#include <benchmark/benchmark.h>

#include <chrono>

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/x11/x11_display.h"
#include "tests/e2e/xvfb_server.h"

namespace {

void BM_InitGraphOpensWindow(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1920, 1080)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    static X11Display display;
    SelectDisplay(display);
    GraphicsLayerInit();
    for (auto _ : state) {
        int16_t driver = 0, mode = 2;
        const auto start = std::chrono::steady_clock::now();
        InitGraph(driver, mode, "");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (GraphResult() != GraphOk) state.SkipWithError("InitGraph failed");
        ShutdownAllWindows();
    }
}

BENCHMARK(BM_InitGraphOpensWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
