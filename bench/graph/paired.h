#pragma once
// Paired timing: each iteration times the library's work and its floor or peer back to back, so
// the ratio of the two sums holds on a noisy machine. The counters are the two medians in
// milliseconds and their ratio (library / other).

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/support/spread.h"

template <typename Ours, typename Theirs>
void RunPaired(benchmark::State& state, Ours ours, Theirs theirs) {
    std::vector<double> oursMs, theirsMs;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        ours();
        auto t1 = std::chrono::steady_clock::now();
        theirs();
        auto t2 = std::chrono::steady_clock::now();
        oursMs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        theirsMs.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    const double a = Median(oursMs), b = Median(theirsMs);
    state.counters["ours_ms"] = a;
    state.counters["other_ms"] = b;
    state.counters["ratio"] = b > 0 ? a / b : 0;
}
