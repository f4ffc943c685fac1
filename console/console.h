#pragma once
// The console layer: layer 4 of the LayerTable. It takes over InputText and OutputText so that
// prompts are written into the console screen and answers come from the keyboard line editor.

#include <cstdint>

#include "console/console_state.h"

// Plugs ConsoleInit into the layer table as entry 4, on the given device (a TerminalDevice
// for the terminal the program runs in). The device lives until the process ends.
void PlugConsoleLayer(ConsoleDevice& device);

void ConsoleInit();
int32_t ConsoleColumns();
int32_t ConsoleRows();
