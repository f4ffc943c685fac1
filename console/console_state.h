#pragma once
// The console layer's state: where it writes and how big the screen is, and the device behind
// the console calls.

#include <cstdint>

class ConsoleDevice;

struct ConsoleStateRecord {
    uint32_t outputHandle;
    uint32_t inputHandle;
    int32_t cursorColumn;  // 0-based, as last set by this layer
    int32_t cursorRow;
    uint8_t charAttribute;
    int32_t screenColumns;
    int32_t screenRows;
    int32_t windowLeft;  // the window, 1-based: the whole screen
    int32_t windowTop;
    int32_t windowRight;
    int32_t windowBottom;
    int32_t writeColumn;  // 1-based, while a write or an input line is in progress
    int32_t writeRow;
};

extern ConsoleStateRecord ConsoleState;

// The device ConsoleInit and everything after it use, chosen before ConsoleInit runs
// (PlugConsoleLayer chooses it for a program, a test may choose its own).
void UseConsoleDevice(ConsoleDevice& device);
ConsoleDevice& ActiveConsoleDevice();
