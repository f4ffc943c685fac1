#include "console/memory_device.h"

#include "console/key_table.h"
#include "runtime/text_stream.h"

MemoryConsoleDevice::MemoryConsoleDevice(int32_t columns, int32_t rows, uint8_t attribute)
    : columns_(columns), rows_(rows), attribute_(attribute),
      cells_(static_cast<size_t>(columns * rows), Cell{' ', attribute}) {}

void MemoryConsoleDevice::SetCursor(int32_t column, int32_t row) {
    cursorColumn_ = column;
    cursorRow_ = row;
}

void MemoryConsoleDevice::Type(std::string_view text) {
    for (char c : text) {
        Press(c == '\r' ? NamedKeyEvent(NamedKey::Enter, 0)
                        : CharacterKeyEvent(static_cast<uint8_t>(c), 0));
    }
}

const MemoryConsoleDevice::Cell& MemoryConsoleDevice::CellAt(int32_t column, int32_t row) const {
    return cells_[static_cast<size_t>(row * columns_ + column)];
}

std::string MemoryConsoleDevice::RowText(int32_t row) const {
    std::string text;
    for (int32_t column = 0; column < columns_; ++column) {
        text.push_back(static_cast<char>(CellAt(column, row).character));
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

void MemoryConsoleDevice::StartSession(uint32_t, uint32_t) { sessionActive_ = true; }
void MemoryConsoleDevice::EndSession() { sessionActive_ = false; }

bool MemoryConsoleDevice::IsScreen(uint32_t handle) const {
    return (handle == kScreenHandle && standardOutputIsConsole_) ||
           (handle == kConsoleHandle && consoleAvailable_);
}

bool MemoryConsoleDevice::Inside(int32_t column, int32_t row) const {
    return column >= 0 && column < columns_ && row >= 0 && row < rows_;
}

bool MemoryConsoleDevice::GetScreenBufferInfo(uint32_t handle, ScreenBufferInfo& info) {
    if (!IsScreen(handle) || (handle == kConsoleHandle && !consoleInfoReadable_)) return false;
    info = ScreenBufferInfo{columns_, rows_, cursorColumn_, cursorRow_, attribute_};
    return true;
}

uint32_t MemoryConsoleDevice::OpenConsoleOutput() { return consoleAvailable_ ? kConsoleHandle : kNoHandle; }

void MemoryConsoleDevice::WriteCell(uint32_t handle, int32_t column, int32_t row, uint8_t character,
                                    uint8_t attribute) {
    if (!IsScreen(handle) || !Inside(column, row)) return;
    cells_[static_cast<size_t>(row * columns_ + column)] = Cell{character, attribute};
}

void MemoryConsoleDevice::SetCursorPosition(uint32_t handle, int32_t column, int32_t row) {
    if (!IsScreen(handle) || !Inside(column, row)) return;
    cursorColumn_ = column;
    cursorRow_ = row;
}

void MemoryConsoleDevice::ScrollRowsUp(uint32_t handle, int32_t top, int32_t bottom, uint8_t fillAttribute) {
    if (!IsScreen(handle) || !Inside(0, top) || !Inside(0, bottom) || top > bottom) return;
    ++scrollCount_;
    for (int32_t row = top; row < bottom; ++row) {
        for (int32_t column = 0; column < columns_; ++column) {
            cells_[static_cast<size_t>(row * columns_ + column)] = CellAt(column, row + 1);
        }
    }
    for (int32_t column = 0; column < columns_; ++column) {
        cells_[static_cast<size_t>(bottom * columns_ + column)] = Cell{' ', fillAttribute};
    }
}

int32_t MemoryConsoleDevice::PendingInputEvents(uint32_t) { return static_cast<int32_t>(events_.size()); }

bool MemoryConsoleDevice::ReadInputEvent(uint32_t, KeyEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void MemoryConsoleDevice::WaitForInput(uint32_t) { ++waitCount_; }

bool MemoryConsoleDevice::InputEnded(uint32_t) { return events_.empty(); }
