#pragma once
// Paired timing: each iteration times the library's work and its floor or peer back to back, so
// the ratio of the two sums holds on a noisy machine. The counters are the two medians in
// milliseconds and their ratio (library / other).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

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
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    const double a = median(oursMs), b = median(theirsMs);
    state.counters["ours_ms"] = a;
    state.counters["other_ms"] = b;
    state.counters["ratio"] = b > 0 ? a / b : 0;
}
