#pragma once
// Process start: the entry point, the runtime's own layer and the standard handles.

#include <cstdint>

#include "runtime/standard_handles.h"

using MainRoutine = void (*)();

// The program's entry: runs ProgramStart with the main routine. Never returns.
[[noreturn]] void ConsoleEntry(MainRoutine mainRoutine);
// Installs the fault filter, loads the floating-point control word and calls the main
// routine as the outermost frame of every stack trace. Never returns.
[[noreturn]] void ProgramStart(MainRoutine mainRoutine);

// Layer 1: heap, standard handles, the four standard text streams, command line.
void RuntimeInit();
