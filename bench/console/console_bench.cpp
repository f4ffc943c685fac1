// Console layer speed: output through OutputText against plain writes, and the time from a
// key press on a pseudo-terminal to its echo, with the processor time an idle program uses.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "console/console.h"
#include "console/terminal_device.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"
#include "tests/console/pseudo_terminal.h"

namespace {

constexpr int kLines = 100000;

// A pipe whose reading end is emptied by a thread, as a terminal would.
class DrainedPipe {
public:
    DrainedPipe() {
        if (pipe(fds_) != 0) std::abort();
        reader_ = std::thread([this] {
            char buffer[65536];
            while (read(fds_[0], buffer, sizeof buffer) > 0) {
            }
        });
    }
    ~DrainedPipe() {
        close(fds_[1]);
        reader_.join();
        close(fds_[0]);
    }
    int fd() const { return fds_[1]; }

private:
    int fds_[2];
    std::thread reader_;
};

std::string LineText(int i) { return "line " + std::to_string(i); }

void BM_OutputTextLinesToTerminalDevice(benchmark::State& state) {
    DrainedPipe screen;
    int nullInput = open("/dev/null", O_RDONLY);
    TerminalDevice device(screen.fd(), 80, 25);
    osOutputHandle = static_cast<uint32_t>(screen.fd());
    osInputHandle = static_cast<uint32_t>(nullInput);
    UseConsoleDevice(device);
    ConsoleInit();
    std::vector<LengthPrefixedString> lines;
    for (int i = 0; i < kLines; ++i) lines.emplace_back(LineText(i));
    for (auto _ : state) {
        for (const LengthPrefixedString& line : lines) {
            WriteText(0, OutputText, line);
            WriteLineEnd(OutputText);
        }
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    close(nullInput);
}
BENCHMARK(BM_OutputTextLinesToTerminalDevice)->Unit(benchmark::kMillisecond);

void BM_PlainWritePerLine(benchmark::State& state) {
    DrainedPipe screen;
    std::vector<std::string> lines;
    for (int i = 0; i < kLines; ++i) lines.push_back(LineText(i) + "\r\n");
    for (auto _ : state) {
        for (const std::string& line : lines) {
            if (write(screen.fd(), line.data(), line.size()) != static_cast<ssize_t>(line.size())) std::abort();
        }
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_PlainWritePerLine)->Unit(benchmark::kMillisecond);

// Processor time of a process so far, in clock ticks.
long ProcessorTicks(pid_t pid) {
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (stat == nullptr) return -1;
    char text[1024] = {};
    size_t n = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    std::string fields(text, n);
    // Fields after the command name: state is the 3rd; utime and stime are the 14th and 15th.
    size_t at = fields.rfind(')') + 2;
    long utime = 0, stime = 0;
    std::sscanf(fields.c_str() + at, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &utime, &stime);
    return utime + stime;
}

void BM_KeyToEcho(benchmark::State& state) {
    PseudoTerminal terminal({});
    terminal.Start({CONSOLE_DIALOGUE});
    if (!terminal.WaitFor("inserire xp")) {
        state.SkipWithError("no prompt");
        return;
    }
    // Idle: the program waits for a key.
    long before = ProcessorTicks(terminal.pid());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    long idleTicks = ProcessorTicks(terminal.pid()) - before;

    std::vector<double> latencies;
    bool typeLetter = true;
    for (auto _ : state) {
        size_t mark = terminal.output().size();
        auto start = std::chrono::steady_clock::now();
        // A letter echoes as itself; Backspace as back, blank, back: only they bring these bytes.
        terminal.Type(typeLetter ? "x" : "\x7f");
        if (!terminal.WaitFor(typeLetter ? "x" : " ", mark)) {
            state.SkipWithError("no echo");
            break;
        }
        latencies.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        typeLetter = !typeLetter;
    }
    if (!latencies.empty()) {
        std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2, latencies.end());
        state.counters["median_us"] = latencies[latencies.size() / 2];
    }
    state.counters["idle_cpu_ticks_per_s"] = static_cast<double>(idleTicks);
}
BENCHMARK(BM_KeyToEcho)->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
