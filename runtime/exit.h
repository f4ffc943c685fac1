#pragma once
// The frame around the program: the layer table, the exit-handler chain, run-time errors and
// the way out of the process. Every way out goes through ProcessExit.

#include <cstdint>

using LayerRoutine = void (*)();
using ExitHandler = void (*)();

struct LayerEntry {
    LayerRoutine initialiser;  // may be empty
    LayerRoutine finaliser;    // may be empty
};

// Entry numbers in the layer table, in the order the layers are initialised.
enum LayerNumber : int32_t {
    LayerRuntime = 1,
    LayerConstantTable = 2,
    LayerDiskInformation = 3,
    LayerConsole = 4,
    LayerGraphics = 5,
};

constexpr int32_t kLayerCount = 5;

struct LayerTableRecord {
    int32_t count;
    int32_t initialisedCount;
    LayerEntry entries[kLayerCount];  // entries[0] is entry 1
};

// Entries 1 to 3 are the runtime's own (start-up plugs them in); the console and graphics
// layers plug theirs in with PlugLayer before the main routine runs (tests may plug any entry).
extern LayerTableRecord LayerTable;
void PlugLayer(int32_t number, LayerRoutine initialiser, LayerRoutine finaliser);

extern ExitHandler ExitHandlerChain;
extern uint16_t ExitStatus;
extern uint16_t RuntimeErrorNumber;
extern const void* RuntimeErrorAddress;  // not null: a report is written at exit
extern void* RuntimeErrorFrame;

// Runs the initialiser of every entry in order, counting each completed one.
void RunLayerInits();

// Exit handlers, then finalisers of initialised layers in reverse order, then the run-time
// error report when there is one; ends the process with ExitStatus.
[[noreturn]] void ProcessExit();

[[noreturn]] void RaiseRuntimeError(uint16_t number, const void* address, void* frame);

// Raises the error for the routine that detected it: the address is that routine's return
// point in its caller and the stack trace starts at the caller's frame. Always inlined, so
// that "the routine" is the one that calls this, not a helper in between.
[[noreturn]] __attribute__((always_inline)) inline void RaiseRuntimeErrorHere(uint16_t number) {
    void* ownFrame = __builtin_frame_address(0);
    RaiseRuntimeError(number, __builtin_return_address(0), *static_cast<void**>(ownFrame));
}
// Raises the pending I/O error (io_result.h), if any, as a run-time error at the caller.
void CheckPendingIoError();
// Ends the program with the given status and no report.
[[noreturn]] void StopProgram(uint8_t status);

// The last steps of every way out: the fault filter declines from now on, and the process ends.
[[noreturn]] void EndProcess();

// True once the run-time error report is being written or the process is ending: a fault then
// is not converted into a run-time error.
bool FaultsDeclined();
