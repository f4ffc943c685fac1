// Picking the terminal's answers (cursor position, keyboard protocol, graphics, cell size,
// attributes) out of its input.

#include "console/terminal_replies.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace {

// A cell size beyond this is no terminal's: the answer is taken out but not believed.
constexpr long kLargestCell = 4096;

// True when the ';'-separated numbers hold `wanted` as a whole number.
bool HasParameter(std::string_view parameters, std::string_view wanted) {
    while (!parameters.empty()) {
        size_t separator = parameters.find(';');
        if (parameters.substr(0, separator) == wanted) return true;
        if (separator == std::string_view::npos) break;
        parameters.remove_prefix(separator + 1);
    }
    return false;
}

// A control sequence's answer; false when it is none of the asked ones (a key, say).
bool TakeControlSequence(const std::string& parameters, char finalByte, TerminalReplies& replies) {
    const bool numeric = parameters.find_first_not_of("0123456789;") == std::string::npos;
    size_t separator = parameters.find(';');
    if (finalByte == 'R' && separator != std::string::npos && separator > 0 && numeric) {
        replies.cursorReported = true;
        replies.cursorRow = std::atoi(parameters.c_str()) - 1;
        replies.cursorColumn = std::atoi(parameters.c_str() + separator + 1) - 1;
        return true;
    }
    if (finalByte == 't' && numeric && parameters.rfind("6;", 0) == 0) {
        // The cell's size in pixels: 6 ; height ; width.
        size_t second = parameters.find(';', 2);
        if (second == std::string::npos) return false;
        long height = std::strtol(parameters.c_str() + 2, nullptr, 10);
        long width = std::strtol(parameters.c_str() + second + 1, nullptr, 10);
        if (height > 0 && height <= kLargestCell && width > 0 && width <= kLargestCell) {
            replies.cellHeight = static_cast<int32_t>(height);
            replies.cellWidth = static_cast<int32_t>(width);
        }
        return true;
    }
    if (parameters.empty() || parameters[0] != '?') return false;
    if (finalByte == 'u') {
        replies.keyboardFlagsReported = true;
        return true;
    }
    if (finalByte == 'c') {
        replies.attributesReported = true;
        replies.sixel = HasParameter(std::string_view(parameters).substr(1), "4");
        return true;
    }
    return false;
}

// Up to `limit`: what follows is inside an answer not yet whole.
void TakeControlSequences(std::string& bytes, size_t limit, TerminalReplies& replies) {
    size_t start = 0;
    while ((start = bytes.find("\x1b[", start)) < limit) {
        size_t end = start + 2;
        while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x3F) ++end;
        if (end >= std::min(limit, bytes.size())) return;  // cut off: wait for the rest
        if (TakeControlSequence(bytes.substr(start + 2, end - start - 2), bytes[end], replies)) {
            bytes.erase(start, end + 1 - start);
            if (limit != std::string::npos) limit -= end + 1 - start;
        } else {
            start = end + 1;
        }
    }
}

// Answers of the kitty graphics protocol: ESC _ G keys ; message ESC backslash.
void TakeGraphicsAnswers(std::string& bytes, TerminalReplies& replies) {
    size_t start = 0;
    while ((start = bytes.find("\x1b_G", start)) != std::string::npos) {
        size_t end = bytes.find("\x1b\\", start + 3);
        if (end == std::string::npos) return;  // cut off: wait for the rest
        std::string_view answer(bytes.data() + start + 3, end - start - 3);
        size_t separator = answer.find(';');
        if (separator != std::string_view::npos && answer.substr(separator + 1) == "OK") replies.kittyGraphics = true;
        bytes.erase(start, end + 2 - start);
    }
}

}  // namespace

void TakeTerminalReplies(std::string& bytes, TerminalReplies& replies) {
    TakeGraphicsAnswers(bytes, replies);
    // Whole graphics answers are out; one that is left is cut off and may hold anything.
    TakeControlSequences(bytes, bytes.find("\x1b_G"), replies);
}

std::string ReadTerminalReplies(int fd, TerminalReplies& replies, bool (*done)(const TerminalReplies&),
                                std::chrono::milliseconds wait) {
    std::string bytes;
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (!done(replies)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        char buffer[256];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
        TakeTerminalReplies(bytes, replies);
    }
    return bytes;
}
