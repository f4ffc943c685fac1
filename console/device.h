#pragma once
// The console calls the console layer makes. Two devices implement them: a real terminal
// (terminal_device.h) and a screen model with scripted key events (memory_device.h).
// Handles are the layer's outputHandle and inputHandle; positions are 0-based.

#include <cstdint>

struct ScreenBufferInfo {
    int32_t columns;
    int32_t rows;
    int32_t cursorColumn;
    int32_t cursorRow;
    uint16_t attributes;
};

// One keyboard event as the console input queue delivers it.
struct KeyEvent {
    bool keyDown;
    uint16_t virtualKey;
    uint16_t scanCode;
    uint8_t character;  // 0 for keys without one
    uint32_t controlState;
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

class ConsoleDevice {
public:
    virtual ~ConsoleDevice() = default;

    // The layer takes the console over for the rest of the run: key presses become events
    // instead of being echoed. EndSession puts the console back exactly as it was; it may run
    // more than once and on every way out of the program.
    virtual void StartSession(uint32_t outputHandle, uint32_t inputHandle) = 0;
    virtual void EndSession() = 0;

    // False when the handle is not a console screen.
    virtual bool GetScreenBufferInfo(uint32_t handle, ScreenBufferInfo& info) = 0;
    // True once after the screen buffer changed under the layer (the terminal was resized, or
    // others wrote to it while the program was stopped); info then holds the size now and the
    // cursor, which the device keeps inside the screen with the rows around it.
    virtual bool ScreenBufferChanged(uint32_t handle, ScreenBufferInfo& info) = 0;
    // The console screen the process belongs to even when standard output is redirected;
    // kNoHandle when there is none.
    virtual uint32_t OpenConsoleOutput() = 0;

    // Writes one cell without moving the cursor.
    virtual void WriteCell(uint32_t handle, int32_t column, int32_t row, uint8_t character,
                           uint8_t attribute) = 0;
    // Moves the visible cursor; everything written before it is on the screen afterwards.
    virtual void SetCursorPosition(uint32_t handle, int32_t column, int32_t row) = 0;
    // Rings the bell: a sound or a flash, nothing on the screen.
    virtual void RingBell(uint32_t handle) = 0;
    // Rows top+1..bottom move up one row over the full width; row top is lost and row bottom
    // is filled with spaces in the attribute.
    virtual void ScrollRowsUp(uint32_t handle, int32_t top, int32_t bottom, uint8_t fillAttribute) = 0;

    // The layer is waiting for keys (a line is being typed) or not. While it is not, keys the
    // console turns into signals (Ctrl+C) take effect at once rather than when next read.
    virtual void ListenForKeys(bool listening) = 0;
    // Number of events waiting; never blocks.
    virtual int32_t PendingInputEvents(uint32_t handle) = 0;
    // Removes the oldest waiting event; false when there is none.
    virtual bool ReadInputEvent(uint32_t handle, KeyEvent& event) = 0;
    // Blocks without using the processor until an event waits, the input has ended or the
    // screen buffer changed.
    virtual void WaitForInput(uint32_t handle) = 0;
    // True once no event can arrive any more (end of a redirected input, a hung-up terminal).
    virtual bool InputEnded(uint32_t handle) = 0;
};
