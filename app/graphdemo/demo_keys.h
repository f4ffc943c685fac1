#pragma once
// Keys for the gallery: a key pressed in the graphics window (through MessageHook) or typed in
// the terminal. Escape ends the gallery, as does closing the window.

// Installs the window's key hook and, when standard input is a terminal, takes it over: single
// keys without Enter and without echo, given back on every way out.
void StartDemoKeys();

enum class DemoKey { Next, End };

// Waits, without using the processor, for the next key or for the window to go away.
DemoKey AwaitDemoKey();
