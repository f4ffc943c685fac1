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
        // Rows and columns count from 1: a 0 is no terminal's answer.
        const int row = std::atoi(parameters.c_str()), column = std::atoi(parameters.c_str() + separator + 1);
        if (row < 1 || column < 1) return false;
        replies.cursorReported = true;
        replies.cursorRow = row - 1;
        replies.cursorColumn = column - 1;
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

// Answers of the kitty graphics protocol: ESC _ G keys ; message ESC backslash. Returns the
// answer's length, or 0 while its end has not arrived.
size_t TakeGraphicsAnswer(const std::string& bytes, size_t start, TerminalReplies& replies) {
    const size_t end = bytes.find("\x1b\\", start + 3);
    if (end == std::string::npos) return 0;
    const std::string_view answer(bytes.data() + start + 3, end - start - 3);
    const size_t separator = answer.find(';');
    if (separator != std::string_view::npos && answer.substr(separator + 1) == "OK") replies.kittyGraphics = true;
    return end + 2 - start;
}

}  // namespace

// One pass from the first byte not yet judged to the first that may begin an answer still cut
// off. Bytes judged to be keys are not judged again, so that an answer taken out from between
// them cannot join them into an answer of their own: the answers found do not depend on how the
// bytes were split into reads.
void TakeTerminalReplies(std::string& bytes, TerminalReplies& replies) {
    size_t at = std::min(replies.keysJudged, bytes.size());
    while (at < bytes.size()) {
        if (bytes[at] != '\x1b') {
            ++at;
            continue;
        }
        if (at + 2 >= bytes.size()) break;  // too short to tell: wait for the rest
        if (bytes[at + 1] == '_' && bytes[at + 2] == 'G') {
            const size_t length = TakeGraphicsAnswer(bytes, at, replies);
            if (length == 0) break;
            bytes.erase(at, length);
        } else if (bytes[at + 1] == '[') {
            size_t end = at + 2;
            while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x3F) ++end;
            if (end == bytes.size()) break;
            if (TakeControlSequence(bytes.substr(at + 2, end - at - 2), bytes[end], replies)) {
                bytes.erase(at, end + 1 - at);
            } else {
                at = end + 1;
            }
        } else {
            ++at;
        }
    }
    replies.keysJudged = at;
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
