#pragma once
// How a signal that ends the process ends it: the signal exit routine runs first (the console
// gives the terminal back there), then the signal's own default action, so the parent sees the
// usual status (128 + N in a shell) and no run-time error report is written.

using SignalExitRoutine = void (*)();

// The routine runs inside a signal handler on any thread, so it may only do what is
// async-signal-safe. There is one; a later call replaces it, and nullptr removes it.
void SetSignalExitRoutine(SignalExitRoutine routine);

// Every signal whose default action ends the process, apart from the processor faults (the
// fault filter owns those) and any the process was started with ignored, ends it through
// EndAsSignalDoes from now on.
void InstallDeadlySignalHandlers();

// Runs the signal exit routine, then the signal's default action. Called inside the handler of
// that signal; returns only when the default action does not end the process.
void EndAsSignalDoes(int signalNumber);
