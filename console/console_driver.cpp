// Binding text streams to the console: output to the screen writer, input to the line editor.

#include "console/console_driver.h"

#include "console/console_output.h"
#include "console/line_input.h"

void AttachConsoleDriver(TextStream& record) {
    InitTextRecord(record, LengthPrefixedString());
    record.onOpen = ConsoleOpen;
}

int32_t ConsoleOpen(TextStream& record) {
    if (record.state == StateOutput) {
        record.onTransfer = ConsoleWrite;
        record.onSync = ConsoleWrite;
    } else {
        record.state = StateInput;
        record.onTransfer = ConsoleLineInput;
        record.onSync = ConsoleInputSync;
    }
    record.onClose = ConsoleClose;
    return 0;
}

int32_t ConsoleClose(TextStream& record) {
    record.state = StateClosed;
    return 0;
}
