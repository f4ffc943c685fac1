#pragma once
// Process start: the entry point, the runtime's own layer and the standard handles.

#include <cstdint>

#include "runtime/standard_handles.h"

using MainRoutine = void (*)();

// The program's entry, called from main once the program has plugged in its layers: plugs in
// the runtime's own, installs the fault filter, loads the floating-point control word and
// calls the main routine, which runs the layers' initialisers. Never returns.
[[noreturn]] void StartProgram(MainRoutine mainRoutine);

// Layer 1: heap, standard handles, the four standard text streams, command line.
void RuntimeInit();
