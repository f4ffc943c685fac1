// The screen writer: characters at the write position, wrapping, scrolling, the window's size.

#include "console/console_output.h"

#include "console/console_state.h"
#include "console/device.h"

int32_t ConsoleWrite(TextStream& record) {
    FollowScreenSize();
    LoadWritePosition();
    for (int32_t i = 0; i < record.cursor; ++i) PutConsoleChar(record.data[i]);
    MoveConsoleCursor(ConsoleState.writeColumn, ConsoleState.writeRow);
    record.cursor = 0;
    return 0;
}

void LoadWritePosition() {
    ConsoleState.writeColumn = ConsoleState.cursorColumn + 1;
    ConsoleState.writeRow = ConsoleState.cursorRow + 1;
}

void PutConsoleChar(uint8_t c) {
    ConsoleStateRecord& s = ConsoleState;
    switch (c) {
        case 7:
            break;
        case 8:
            if (s.writeColumn > s.windowLeft) --s.writeColumn;
            break;
        case 10:
            ++s.writeRow;
            break;
        case 13:
            s.writeColumn = s.windowLeft;
            break;
        default:
            ActiveConsoleDevice().WriteCell(s.outputHandle, s.writeColumn - 1, s.writeRow - 1, c,
                                            s.charAttribute);
            ++s.writeColumn;
            break;
    }
    if (s.writeColumn > s.windowRight) {
        s.writeColumn = s.windowLeft;
        ++s.writeRow;
    }
    while (s.writeRow > s.windowBottom) {
        RemoveWindowRow(1);
        --s.writeRow;
    }
}

void StepWriteBack() {
    ConsoleStateRecord& s = ConsoleState;
    if (s.writeColumn > s.windowLeft) {
        --s.writeColumn;
    } else if (s.writeRow > s.windowTop) {
        s.writeColumn = s.windowRight;
        --s.writeRow;
    }
}

void MoveConsoleCursor(int32_t x, int32_t y) {
    ActiveConsoleDevice().SetCursorPosition(ConsoleState.outputHandle, x - 1, y - 1);
    ConsoleState.cursorColumn = x - 1;
    ConsoleState.cursorRow = y - 1;
}

void RemoveWindowRow(int32_t y) {
    const ConsoleStateRecord& s = ConsoleState;
    ActiveConsoleDevice().ScrollRowsUp(s.outputHandle, s.windowTop + y - 2, s.windowBottom - 1,
                                       s.charAttribute);
}

void FollowScreenSize() {
    ConsoleStateRecord& s = ConsoleState;
    ScreenBufferInfo info{};
    if (!ActiveConsoleDevice().ScreenBufferChanged(s.outputHandle, info)) return;
    s.screenColumns = info.columns;
    s.screenRows = info.rows;
    s.windowRight = s.screenColumns;
    s.windowBottom = s.screenRows;
    s.cursorColumn = info.cursorColumn;
    s.cursorRow = info.cursorRow;
    LoadWritePosition();
}
