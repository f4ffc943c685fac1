// The exit path: layer initialisers, exit handlers, finalisers, the report, the exit status.

#include "runtime/exit.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/io_result.h"
#include "runtime/report.h"

ExitHandler ExitHandlerChain = nullptr;
uint16_t ExitStatus = 0;
uint16_t RuntimeErrorNumber = 0;
const void* RuntimeErrorAddress = nullptr;
void* RuntimeErrorFrame = nullptr;
LayerTableRecord LayerTable = {kLayerCount, 0, {}};

namespace {

std::atomic<bool> exitStarted{false};
thread_local bool exitingOnThisThread = false;
// Set when the report starts and when the process ends: faults from then on are not converted
// into run-time errors (the fault filter is as good as removed).
std::atomic<bool> faultsDeclined{false};

constexpr auto kLateExitGrace = std::chrono::seconds(5);

// Only one thread runs the exit path; a second one (a fault on the GUI thread while the main
// thread is already leaving) waits for the process to end instead of racing it. The first
// thread may itself be waiting for the second (closing its window), so the wait is bounded:
// after it the process ends with the status already chosen.
void ClaimExitPath() {
    if (exitingOnThisThread) return;
    if (exitStarted.exchange(true)) {
        std::this_thread::sleep_for(kLateExitGrace);
        _exit(ExitStatus);
    }
    exitingOnThisThread = true;
}

}  // namespace

void PlugLayer(int32_t number, LayerRoutine initialiser, LayerRoutine finaliser) {
    LayerTable.entries[number - 1] = {initialiser, finaliser};
}

void RunLayerInits() {
    for (int32_t i = 1; i <= LayerTable.count; ++i) {
        if (LayerTable.entries[i - 1].initialiser) LayerTable.entries[i - 1].initialiser();
        LayerTable.initialisedCount = i;
    }
}

[[noreturn]] void ProcessExit() {
    ClaimExitPath();
    while (ExitHandlerChain) {
        pendingIoError = 0;
        ExitHandler handler = ExitHandlerChain;
        ExitHandlerChain = nullptr;
        handler();
    }
    while (LayerTable.initialisedCount > 0) {
        --LayerTable.initialisedCount;
        LayerRoutine finaliser = LayerTable.entries[LayerTable.initialisedCount].finaliser;
        if (finaliser) finaliser();
    }
    if (RuntimeErrorAddress && !faultsDeclined.exchange(true)) {
        WriteReport(RuntimeErrorNumber, RuntimeErrorAddress, RuntimeErrorFrame);
    }
    EndProcess();
}

[[noreturn]] void EndProcess() {
    faultsDeclined.store(true);
    _exit(ExitStatus);
}

bool FaultsDeclined() { return faultsDeclined.load(); }

[[noreturn]] void RaiseRuntimeError(uint16_t number, const void* address, void* frame) {
    ClaimExitPath();  // before the globals change: the first way out keeps its status
    RuntimeErrorNumber = number;
    ExitStatus = number;
    RuntimeErrorAddress = address;
    RuntimeErrorFrame = frame;
    ProcessExit();
}

void CheckPendingIoError() {
    if (pendingIoError == 0) return;
    const uint16_t number = pendingIoError;
    pendingIoError = 0;
    RaiseRuntimeErrorHere(number);
}

[[noreturn]] void StopProgram(uint8_t status) {
    ClaimExitPath();
    ExitStatus = status;
    ProcessExit();
}
