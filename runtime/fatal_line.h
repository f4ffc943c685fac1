#pragma once
// The way out of a layer that cannot go on: one line on standard error, then exit status 1.

#include "runtime/length_prefixed.h"

// Writes the message and a line end to DiagnosticText and ends the program with status 1 and no
// run-time error report. A failing write becomes a run-time error instead.
[[noreturn]] void StopWithFatalLine(const LengthPrefixedString& message);
