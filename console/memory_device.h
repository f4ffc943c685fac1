#pragma once
// A console in memory: a screen buffer of character cells, a cursor and a scripted queue of
// key events. Tests drive the console layer through it and look at the cells afterwards.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "console/device.h"
#include "console/screen_model.h"

class MemoryConsoleDevice : public ConsoleDevice {
public:
    using Cell = ScreenModel::Cell;

    static constexpr uint32_t kScreenHandle = 1;    // standard output when it is the console
    static constexpr uint32_t kConsoleHandle = 7;   // what OpenConsoleOutput hands out
    static constexpr uint32_t kKeyboardHandle = 0;

    MemoryConsoleDevice(int32_t columns, int32_t rows, uint8_t attribute = 0x07);

    // How the process was started: standard output a console or not, a console to open or not.
    void SetStandardOutputIsConsole(bool isConsole) { standardOutputIsConsole_ = isConsole; }
    void SetConsoleAvailable(bool available) { consoleAvailable_ = available; }
    // The console opens but tells nothing about its screen buffer.
    void SetConsoleInfoReadable(bool readable) { consoleInfoReadable_ = readable; }
    void SetCursor(int32_t column, int32_t row) { screen_.SetCursor(column, row); }
    // The console window is resized: the buffer follows as ScreenModel::Resize says and the
    // layer hears of it at its next call.
    void Resize(int32_t columns, int32_t rows);

    // Script: key events are delivered in order; once they are used up the input has ended.
    void Press(const KeyEvent& event) { events_.push_back(event); }
    // Each character as a key press (Enter for CR), as on a US keyboard.
    void Type(std::string_view text);

    const ScreenModel& screen() const { return screen_; }
    const Cell& CellAt(int32_t column, int32_t row) const { return screen_.At(column, row); }
    // The characters of a row with trailing spaces removed.
    std::string RowText(int32_t row) const { return screen_.RowText(row); }
    int32_t cursorColumn() const { return screen_.cursorColumn(); }
    int32_t cursorRow() const { return screen_.cursorRow(); }
    bool sessionActive() const { return sessionActive_; }
    bool listening() const { return listening_; }
    // Events read while the layer was not listening for keys.
    int32_t readsWithoutListening() const { return readsWithoutListening_; }
    int32_t scrollCount() const { return scrollCount_; }
    int32_t bellCount() const { return bellCount_; }
    int32_t waitCount() const { return waitCount_; }

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
    void ListenForKeys(bool listening) override { listening_ = listening; }
    int32_t PendingInputEvents(uint32_t handle) override;
    bool ReadInputEvent(uint32_t handle, KeyEvent& event) override;
    void WaitForInput(uint32_t handle) override;
    bool InputEnded(uint32_t handle) override;

private:
    bool IsScreen(uint32_t handle) const;
    ScreenBufferInfo Info() const;

    ScreenModel screen_;
    uint8_t attribute_;
    bool resized_ = false;
    bool listening_ = false;
    int32_t readsWithoutListening_ = 0;
    bool standardOutputIsConsole_ = true;
    bool consoleAvailable_ = true;
    bool consoleInfoReadable_ = true;
    bool sessionActive_ = false;
    int32_t scrollCount_ = 0;
    int32_t bellCount_ = 0;
    int32_t waitCount_ = 0;
    std::deque<KeyEvent> events_;
};
