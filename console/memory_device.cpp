// The in-memory console: a screen model, the handles a process may have, and scripted keys.

#include "console/memory_device.h"

#include "console/key_table.h"
#include "runtime/text_stream.h"

MemoryConsoleDevice::MemoryConsoleDevice(int32_t columns, int32_t rows, uint8_t attribute)
    : screen_(columns, rows, attribute), attribute_(attribute) {}

void MemoryConsoleDevice::Resize(int32_t columns, int32_t rows) {
    screen_.Resize(columns, rows);
    resized_ = true;
}

void MemoryConsoleDevice::Type(std::string_view text) {
    for (char c : text) {
        Press(c == '\r' ? NamedKeyEvent(NamedKey::Enter, 0)
                        : CharacterKeyEvent(static_cast<uint8_t>(c), 0));
    }
}

void MemoryConsoleDevice::StartSession(uint32_t, uint32_t) { sessionActive_ = true; }
void MemoryConsoleDevice::EndSession() { sessionActive_ = false; }

bool MemoryConsoleDevice::IsScreen(uint32_t handle) const {
    return (handle == kScreenHandle && standardOutputIsConsole_) ||
           (handle == kConsoleHandle && consoleAvailable_);
}

ScreenBufferInfo MemoryConsoleDevice::Info() const {
    return ScreenBufferInfo{screen_.columns(), screen_.rows(), screen_.cursorColumn(), screen_.cursorRow(),
                            attribute_};
}

bool MemoryConsoleDevice::GetScreenBufferInfo(uint32_t handle, ScreenBufferInfo& info) {
    if (!IsScreen(handle) || (handle == kConsoleHandle && !consoleInfoReadable_)) return false;
    info = Info();
    return true;
}

bool MemoryConsoleDevice::ScreenBufferChanged(uint32_t handle, ScreenBufferInfo& info) {
    if (!IsScreen(handle) || !resized_) return false;
    resized_ = false;
    info = Info();
    return true;
}

uint32_t MemoryConsoleDevice::OpenConsoleOutput() { return consoleAvailable_ ? kConsoleHandle : kNoHandle; }

void MemoryConsoleDevice::WriteCell(uint32_t handle, int32_t column, int32_t row, uint8_t character,
                                    uint8_t attribute) {
    if (IsScreen(handle)) screen_.Write(column, row, character, attribute);
}

void MemoryConsoleDevice::SetCursorPosition(uint32_t handle, int32_t column, int32_t row) {
    if (IsScreen(handle)) screen_.SetCursor(column, row);
}

void MemoryConsoleDevice::RingBell(uint32_t handle) {
    if (IsScreen(handle)) ++bellCount_;
}

void MemoryConsoleDevice::ScrollRowsUp(uint32_t handle, int32_t top, int32_t bottom, uint8_t fillAttribute) {
    if (!IsScreen(handle) || !screen_.Inside(0, top) || !screen_.Inside(0, bottom) || top > bottom) return;
    ++scrollCount_;
    screen_.ScrollUp(top, bottom, fillAttribute);
}

int32_t MemoryConsoleDevice::PendingInputEvents(uint32_t) { return static_cast<int32_t>(events_.size()); }

bool MemoryConsoleDevice::ReadInputEvent(uint32_t, KeyEvent& event) {
    if (events_.empty()) return false;
    if (!listening_) ++readsWithoutListening_;
    event = events_.front();
    events_.pop_front();
    return true;
}

void MemoryConsoleDevice::WaitForInput(uint32_t) { ++waitCount_; }

bool MemoryConsoleDevice::InputEnded(uint32_t) { return events_.empty(); }
