// The generator's draws scaled to the plotter's three corners, a million at a time, against
// the same draws in extended precision (how RandomBelow answered before it computed exactly)
// and against a plain generator: the same three congruential steps and a remainder, the floor
// of any draw from this state.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/graph/paired.h"
#include "runtime/random.h"

namespace {

constexpr int kDraws = 1'000'000;

// Each side starts from the state the plotter starts from, so both make the same draws.
template <typename Draw>
void MillionDraws(Draw draw) {
    RandomState = {0, 0, 0, 0, true};
    int64_t sum = 0;
    for (int i = 0; i < kDraws; ++i) sum += draw();
    benchmark::DoNotOptimize(sum);
}

int32_t DrawBelowThree() { return RandomBelow(3); }

int32_t ExtendedDrawBelowThree() { return static_cast<int32_t>(static_cast<int64_t>(RandomUnit() * 3.0L)); }

uint32_t plainPrimary = 1, plainSecond = 2, plainThird = 3;
int32_t PlainDrawBelowThree() {
    plainPrimary = (plainPrimary + 1) * 706 % 500009;
    plainSecond = (plainSecond + 1) * 774 % 600011;
    plainThird = (plainThird + 1) * 871 % 765241;
    return static_cast<int32_t>((plainPrimary + plainSecond + plainThird) % 3);
}

void BM_RandomBelowAgainstExtendedPrecision(benchmark::State& state) {
    RunPaired(state, [] { MillionDraws(DrawBelowThree); }, [] { MillionDraws(ExtendedDrawBelowThree); });
}
BENCHMARK(BM_RandomBelowAgainstExtendedPrecision)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RandomBelowAgainstPlainGenerator(benchmark::State& state) {
    RunPaired(state, [] { MillionDraws(DrawBelowThree); }, [] { MillionDraws(PlainDrawBelowThree); });
}
BENCHMARK(BM_RandomBelowAgainstPlainGenerator)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
