// Picking the terminal's answers (cursor position, keyboard protocol, attributes) out of its input.

#include "console/terminal_replies.h"

#include <cstdlib>

void TakeTerminalReplies(std::string& bytes, TerminalReplies& replies) {
    size_t start = 0;
    while ((start = bytes.find("\x1b[", start)) != std::string::npos) {
        size_t end = start + 2;
        while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x3F) ++end;
        if (end >= bytes.size()) return;  // cut off: wait for the rest
        std::string parameters = bytes.substr(start + 2, end - start - 2);
        char finalByte = bytes[end];
        bool asked = false;
        size_t separator = parameters.find(';');
        if (finalByte == 'R' && separator != std::string::npos && separator > 0 &&
            parameters.find_first_not_of("0123456789;") == std::string::npos) {
            replies.cursorReported = true;
            replies.cursorRow = std::atoi(parameters.c_str()) - 1;
            replies.cursorColumn = std::atoi(parameters.c_str() + separator + 1) - 1;
            asked = true;
        } else if (!parameters.empty() && parameters[0] == '?' && finalByte == 'u') {
            replies.keyboardFlagsReported = true;
            asked = true;
        } else if (!parameters.empty() && parameters[0] == '?' && finalByte == 'c') {
            replies.attributesReported = true;
            asked = true;
        }
        if (asked) {
            bytes.erase(start, end + 1 - start);
        } else {
            start = end + 1;
        }
    }
}
