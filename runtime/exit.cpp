#include "runtime/exit.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/disk_information.h"
#include "runtime/faults.h"
#include "runtime/report.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

// Entry 2, the constant table, has nothing to walk in this program: both routines are empty.
LayerTableRecord LayerTable = {
    kLayerCount,
    0,
    {
        {RuntimeInit, nullptr},
        {nullptr, nullptr},
        {DiskInformationInit, DiskInformationDone},
        {nullptr, nullptr},
        {nullptr, nullptr},
    },
};

ExitHandler ExitHandlerChain = nullptr;
uint16_t ExitStatus = 0;
uint16_t RuntimeErrorNumber = 0;
const void* RuntimeErrorAddress = nullptr;
void* RuntimeErrorFrame = nullptr;

namespace {

std::atomic<bool> exitStarted{false};
thread_local bool exitingOnThisThread = false;
std::atomic<bool> reportInProgress{false};

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
    if (RuntimeErrorAddress && !reportInProgress.exchange(true)) WriteReport();
    EndProcess();
}

[[noreturn]] void EndProcess() {
    RemoveFaultFilter();
    _exit(ExitStatus);
}

bool ReportInProgress() { return reportInProgress.load(); }

[[noreturn]] void RaiseRuntimeError(uint16_t number, const void* address, void* frame) {
    ClaimExitPath();  // before the globals change: the first way out keeps its status
    RuntimeErrorNumber = number;
    ExitStatus = number;
    RuntimeErrorAddress = address;
    RuntimeErrorFrame = frame;
    ProcessExit();
}

[[noreturn]] void StopProgram(uint8_t status) {
    ClaimExitPath();
    ExitStatus = status;
    ProcessExit();
}
