// The console layer's state record and the choice of its device.

#include "console/console_state.h"

ConsoleStateRecord ConsoleState;

namespace {

ConsoleDevice* chosenDevice = nullptr;

}  // namespace

void UseConsoleDevice(ConsoleDevice& device) { chosenDevice = &device; }

ConsoleDevice& ActiveConsoleDevice() { return *chosenDevice; }
