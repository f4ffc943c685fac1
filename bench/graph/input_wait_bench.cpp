// What a program costs while it waits for a key or a click in its window: the process's
// processor time over a second of ReadWindowKey and one of ReadPointerChange, the user acting
// only at the end, as a share of one core.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <thread>

#include "bench/graph/largest_window.h"

namespace {

constexpr auto kWaiting = std::chrono::seconds(1);

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The processor's share while `wait` waits and `act`, after kWaiting, ends the wait.
template <class Wait, class Act>
double ShareWhileWaiting(Wait wait, Act act) {
    const double before = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::thread user([&] {
        std::this_thread::sleep_for(kWaiting);
        act();
    });
    wait();
    user.join();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return (ProcessCpuSeconds() - before) / wall;
}

void BM_WaitingForAKeyOrAClickUsesNoProcessor(benchmark::State& state) {
    StartLargestWindow(1280, 1024);  // the size the program's other benchmark sets
    MemoryDisplay& display = static_cast<MemoryDisplay&>(SelectedDisplay());
    const WindowHandle window = display.NewestWindow();
    double keyShare = 0, clickShare = 0;
    for (auto _ : state) {
        keyShare = ShareWhileWaiting([] { ReadWindowKey(); }, [&] { display.TypeKey(window, 'A', 0x1E, 'a'); });
        clickShare = ShareWhileWaiting([] { ReadPointerChange(); },
                                       [&] { display.UseButton(window, WM_LBUTTONDOWN, 5, 5); });
    }
    state.counters["key_wait_core_share"] = keyShare;
    state.counters["click_wait_core_share"] = clickShare;
}
BENCHMARK(BM_WaitingForAKeyOrAClickUsesNoProcessor)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
