#pragma once
// The median of a benchmark's runs, with their spread: counters NAME (the median), NAME_min and
// NAME_max.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

inline void ReportSpread(benchmark::State& state, const std::string& name, const std::vector<double>& values) {
    state.counters[name] = Median(values);
    state.counters[name + "_min"] = values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
    state.counters[name + "_max"] = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}
