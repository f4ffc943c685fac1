// A full circle of radius 500 through CircleOp, reported as time per outline pixel.

#include <benchmark/benchmark.h>

#include <set>
#include <utility>

#include "bench/text/bench_mode.h"

namespace {

// The distinct pixels of the outline, counted once on a cleared surface.
int64_t OutlinePixels() {
    DriverSlots.EraseViewportOp();
    SetDrawColor(14);
    DriverSlots.CircleOp(640, 512, 500);
    int64_t count = 0;
    for (int16_t y = 0; y <= SurfaceMaxY(); ++y)
        for (int16_t x = 0; x <= SurfaceMaxX(); ++x)
            if (DriverSlots.ReadPixel(x, y) == 14) ++count;
    return count;
}

void BM_CircleRadius500(benchmark::State& state) {
    EnterBenchMode();
    const int64_t pixels = OutlinePixels();
    for (auto _ : state) DriverSlots.CircleOp(640, 512, 500);
    state.counters["outline_pixels"] = static_cast<double>(pixels);
    state.counters["time_per_pixel"] =
        benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_CircleRadius500)->Unit(benchmark::kMicrosecond);

}  // namespace
