// What the plotter costs while it waits: at "ancora? s/n" the main thread waits for input and
// the window's thread for events. Processor time over five seconds of waiting, as a share of
// one core.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/e2e/plotter_terminal.h"
#include "tests/e2e/xvfb_server.h"

namespace {

constexpr auto kWaiting = std::chrono::seconds(5);

// User and system time of a process so far, in seconds.
double ProcessorSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name (which may hold spaces) start after the last ')'.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long long userTicks = 0, systemTicks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) userTicks = std::stoll(field);
        if (index == 15) {
            systemTicks = std::stoll(field);
            break;
        }
    }
    return static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void BM_WaitingAtThePromptUsesNoProcessor(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1920, 1080)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    double share = 0;
    for (auto _ : state) {
        PlotterTerminal plotter;
        plotter.Answer("100\n100\n1000\n");
        if (!plotter.AwaitOutput("ancora? s/n")) {
            state.SkipWithError("no prompt");
            break;
        }
        const double before = ProcessorSeconds(plotter.pid());
        std::this_thread::sleep_for(kWaiting);
        share = (ProcessorSeconds(plotter.pid()) - before) /
                std::chrono::duration<double>(kWaiting).count();
        plotter.Answer("n\n");
        plotter.Finish();
    }
    state.counters["core_percent"] = share * 100;
}

BENCHMARK(BM_WaitingAtThePromptUsesNoProcessor)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
