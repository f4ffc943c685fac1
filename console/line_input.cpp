// The line editor: one line typed, edited, echoed and delivered with CR LF.

#include "console/line_input.h"

#include "console/console_output.h"
#include "console/console_state.h"
#include "console/device.h"
#include "console/keyboard.h"

namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kCtrlS = 19;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kCtrlY = 25;
constexpr uint8_t kCtrlZ = 26;
constexpr uint8_t kEscape = 27;

constexpr uint8_t kExtendedHome = 0x47;
constexpr uint8_t kExtendedLeft = 0x4B;
constexpr uint8_t kExtendedRight = 0x4D;
constexpr uint8_t kExtendedEnd = 0x4F;

void StepLeft(TextStream& record) {
    --record.cursor;
    StepWriteBack();
}

void StepRight(TextStream& record) {
    PutConsoleChar(record.data[record.cursor]);
    ++record.cursor;
}

void MoveToEnd(TextStream& record) {
    while (record.cursor < record.fillEnd) StepRight(record);
}

void EditExtended(TextStream& record, uint8_t code) {
    switch (code) {
        case kExtendedHome:
            while (record.cursor > 0) StepLeft(record);
            break;
        case kExtendedLeft:
            if (record.cursor > 0) StepLeft(record);
            break;
        case kExtendedRight:
            if (record.cursor < record.fillEnd) StepRight(record);
            break;
        case kExtendedEnd:
            MoveToEnd(record);
            break;
        default:
            break;
    }
}

// The editor's documented behaviour at the limit: a line holds 254 characters (two more places
// keep the CR LF it is delivered with), and a key that does not fit rings the bell and is not
// echoed, so the user hears that it was refused instead of losing it unnoticed.
void TypeChar(TextStream& record, uint8_t key) {
    if (record.cursor >= record.capacity - 2) {
        ActiveConsoleDevice().RingBell(ConsoleState.outputHandle);
        return;
    }
    record.data[record.cursor] = key;
    ++record.cursor;
    PutConsoleChar(key);
}

void FinishLine(TextStream& record) {
    PutConsoleChar(kEnter);
    PutConsoleChar(kLineFeed);
    record.data[record.fillEnd] = kEnter;
    record.data[record.fillEnd + 1] = kLineFeed;
    record.fillEnd += 2;
}

}  // namespace

int32_t ConsoleLineInput(TextStream& record) {
    ConsoleDevice& device = ActiveConsoleDevice();
    FollowScreenSize();
    LoadWritePosition();
    device.ListenForKeys(true);
    record.cursor = 0;
    record.fillEnd = 0;
    for (;;) {
        if (record.cursor > record.fillEnd) record.fillEnd = record.cursor;
        MoveConsoleCursor(ConsoleState.writeColumn, ConsoleState.writeRow);
        uint8_t key = 0;
        if (!WaitKeyUnlessEnded(key)) {
            // End of input: a last line without its line end still counts; after it the line
            // comes back empty, which readers take as the end of input.
            if (record.fillEnd > 0) FinishLine(record);
            break;
        }
        if (key == 0) {
            uint8_t extended = 0;
            if (WaitKeyUnlessEnded(extended)) EditExtended(record, extended);
            continue;
        }
        if (key == kEnter) {
            FinishLine(record);
            break;
        }
        switch (key) {
            case kBackspace:
            case kCtrlS:
                EraseLastChar(record);
                break;
            case kCtrlY:
            case kEscape:
                MoveToEnd(record);
                while (record.fillEnd > 0) EraseLastChar(record);
                break;
            case kCtrlZ:
                break;
            default:
                TypeChar(record, key);
                break;
        }
    }
    record.cursor = 0;
    MoveConsoleCursor(ConsoleState.writeColumn, ConsoleState.writeRow);
    device.ListenForKeys(false);
    return 0;
}

void EraseLastChar(TextStream& record) {
    if (record.cursor == 0 || record.cursor != record.fillEnd) return;
    StepWriteBack();
    PutConsoleChar(' ');
    StepWriteBack();
    --record.cursor;
    --record.fillEnd;
}

int32_t ConsoleInputSync(TextStream&) { return 0; }
