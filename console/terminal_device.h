#pragma once
// The console on a real terminal: ANSI output batched into one write per screen update, and
// raw-mode keyboard input decoded into key events. A redirected standard input is read as
// typed keys. It keeps a model of what it drew, to draw the screen again when the terminal's
// size changed or others wrote to it while the program was stopped.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "console/device.h"
#include "console/screen_model.h"
#include "console/terminal_output.h"

class TerminalDevice : public ConsoleDevice {
public:
    TerminalDevice() = default;
    // A screen of the given size on a descriptor that is not a terminal (a pipe, for
    // measurements), with the cursor at the top left.
    TerminalDevice(int fd, int32_t columns, int32_t rows);

    // The top `rows` rows of the terminal hold a picture from now on: the screen is the rows
    // below them, and it scrolls only there. Call it before the screen is first asked about.
    void ReserveTopRows(int32_t rows);
    // Keys typed on the terminal before the session started, read while its answers were
    // awaited: they come first.
    void KeepTypedKeys(const std::string& bytes);
    // Called once the screen has been drawn again after the terminal changed under it (a
    // resize, or a stop during which others wrote to it), for what else it shows: the picture
    // in the reserved rows. Nothing by default.
    void SetScreenRedrawnSlot(void (*slot)()) { screenRedrawn_ = slot; }

    void StartSession(uint32_t outputHandle, uint32_t inputHandle) override;
    void EndSession() override;
    bool GetScreenBufferInfo(uint32_t handle, ScreenBufferInfo& info) override;
    bool ScreenBufferChanged(uint32_t handle, ScreenBufferInfo& info) override;
    uint32_t OpenConsoleOutput() override;
    void WriteCell(uint32_t handle, int32_t column, int32_t row, uint8_t character,
                   uint8_t attribute) override;
    void SetCursorPosition(uint32_t handle, int32_t column, int32_t row) override;
    void RingBell(uint32_t handle) override;
    void ScrollRowsUp(uint32_t handle, int32_t top, int32_t bottom, uint8_t fillAttribute) override;
    void ListenForKeys(bool listening) override;
    int32_t PendingInputEvents(uint32_t handle) override;
    bool ReadInputEvent(uint32_t handle, KeyEvent& event) override;
    void WaitForInput(uint32_t handle) override;
    bool InputEnded(uint32_t handle) override;

private:
    using Clock = std::chrono::steady_clock;

    bool IsScreen(uint32_t handle) const;
    // The terminal's rows less the reserved ones, at least one.
    int32_t RowsLeft(int32_t terminalRows) const;
    bool AskCursorPosition(int fd, int32_t& column, int32_t& row);
    void AskKeyboardProtocol();
    // Reads what the input has (waiting up to timeoutMs, -1 for as long as it takes) and decodes
    // it; false when the wait ended because the screen changed.
    bool ReadInput(int timeoutMs);
    void Decode(bool final);
    int EscapeWaitLeft() const;
    void Flush();

    int screenFd_ = -1;  // the fixed screen of the measuring constructor
    int32_t screenColumns_ = 0;
    int32_t screenRows_ = 0;
    std::optional<ScreenModel> drawn_;  // what this device drew, from the first screen query
    bool cursorAsked_ = false;
    int32_t startColumn_ = 0;
    int32_t startRow_ = 0;
    int32_t reservedRows_ = 0;
    void (*screenRedrawn_)() = nullptr;

    int outputFd_ = -1;
    int inputFd_ = -1;
    bool inputIsTerminal_ = false;
    bool inputEnded_ = false;
    bool afterCarriageReturn_ = false;
    std::string unreadBytes_;  // bytes read but not yet decoded (a sequence cut off)
    Clock::time_point lastByteTime_;
    std::deque<KeyEvent> events_;
    TerminalScreenWriter writer_;
};
