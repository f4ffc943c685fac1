#pragma once
// Keys for the gallery: a key pressed in the graphics window (the library's window key reading)
// or typed in the terminal. Escape ends the gallery, as does closing the window.

#include <optional>

// When standard input is a terminal, takes it over: single keys without Enter and without echo,
// given back on every way out. `screenChanged` runs, while keys are awaited, after the terminal
// changed under the program (a resize).
void StartDemoKeys(void (*screenChanged)());

enum class DemoKey { Next, End };

// The next key if one comes within waitMs milliseconds (0: only one already there), else none;
// a negative waitMs waits a while, as long as it likes.
std::optional<DemoKey> TakeDemoKey(int waitMs);

// Waits, without using the processor, for the next key or for the window to go away.
DemoKey AwaitDemoKey();
