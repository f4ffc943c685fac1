// The console on a real terminal: screen queries, output batches, keyboard input.

#include "console/terminal_device.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <string_view>
#include <vector>

#include "console/key_decoder.h"
#include "console/keys.h"
#include "console/terminal_replies.h"
#include "console/terminal_session.h"
#include "console/terminal_write.h"
#include "runtime/text_stream.h"
#include "runtime/write_all.h"

namespace {

constexpr int32_t kFallbackColumns = 80;
constexpr int32_t kFallbackRows = 25;
constexpr uint8_t kDefaultAttribute = 0x07;
// How long a terminal may take to answer a question at start-up.
constexpr std::chrono::milliseconds kAnswerWait{500};
// How long the rest of a key sequence may lag behind its Esc before the Esc counts alone.
constexpr std::chrono::milliseconds kEscapeWait{50};
// kitty keyboard protocol: disambiguate, report releases, alternate keys, all keys, text.
constexpr char kKittyEnable[] = "\x1b[>31u";
constexpr char kKittyDisable[] = "\x1b[<u";

void WriteFully(int fd, std::string_view bytes) { WriteAll(fd, bytes.data(), bytes.size()); }

constexpr uint8_t kCtrlC = 3;
constexpr uint8_t kCtrlBackslash = 0x1C;

// The signal a terminal's own signal key raises (Ctrl+C, Ctrl+\), or 0 for any other key.
int SignalOfKey(const KeyEvent& event) {
    if (!event.keyDown || (event.controlState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) == 0) return 0;
    if (event.character == kCtrlC) return SIGINT;
    if (event.character == kCtrlBackslash) return SIGQUIT;
    return 0;
}

}  // namespace

TerminalDevice::TerminalDevice(int fd, int32_t columns, int32_t rows)
    : screenFd_(fd), screenColumns_(columns), screenRows_(rows) {}

void TerminalDevice::ReserveTopRows(int32_t rows) {
    reservedRows_ = std::max(rows, 0);
    writer_.SetFirstRow(reservedRows_);
}

void TerminalDevice::KeepTypedKeys(const std::string& bytes) { unreadBytes_ += bytes; }

int32_t TerminalDevice::RowsLeft(int32_t terminalRows) const { return std::max(terminalRows - reservedRows_, 1); }

bool TerminalDevice::IsScreen(uint32_t handle) const {
    int fd = static_cast<int>(handle);
    return fd >= 0 && (fd == outputFd_ || fd == screenFd_);
}

bool TerminalDevice::GetScreenBufferInfo(uint32_t handle, ScreenBufferInfo& info) {
    int fd = static_cast<int>(handle);
    if (fd >= 0 && fd == screenFd_) {
        if (!drawn_) drawn_.emplace(screenColumns_, screenRows_, kDefaultAttribute);
        info = ScreenBufferInfo{screenColumns_, screenRows_, 0, 0, kDefaultAttribute};
        return true;
    }
    if (fd < 0 || !isatty(fd)) return false;
    winsize size{};
    int32_t columns = kFallbackColumns;
    int32_t rows = kFallbackRows;
    if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        columns = size.ws_col;
        rows = size.ws_row;
    }
    if (!cursorAsked_) {
        // Asked once: the layer tracks the cursor itself from then on.
        cursorAsked_ = true;
        if (!AskCursorPosition(fd, startColumn_, startRow_)) {
            startColumn_ = 0;  // no answer: start on the bottom row, where new text scrolls
            startRow_ = rows - 1;
        }
        startRow_ -= reservedRows_;  // counted from the screen's first row
    }
    rows = RowsLeft(rows);
    screenColumns_ = columns;
    screenRows_ = rows;
    info = ScreenBufferInfo{columns, rows, std::min(std::max(startColumn_, 0), columns - 1),
                            std::min(std::max(startRow_, 0), rows - 1), kDefaultAttribute};
    if (!drawn_) {
        // What was on the terminal before is not known: it counts as blank.
        drawn_.emplace(columns, rows, kDefaultAttribute);
        drawn_->SetCursor(info.cursorColumn, info.cursorRow);
    }
    return true;
}

bool TerminalDevice::ScreenBufferChanged(uint32_t handle, ScreenBufferInfo& info) {
    if (!TakeScreenChange() || !IsScreen(handle) || !drawn_) return false;
    winsize size{};
    int fd = static_cast<int>(handle);
    if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        screenColumns_ = size.ws_col;
        screenRows_ = RowsLeft(size.ws_row);
    }
    // Terminals differ in what they do with their cells on a resize; drawn again, the screen
    // is the model's whatever the terminal did.
    drawn_->Resize(screenColumns_, screenRows_);
    writer_.Redraw(*drawn_);
    Flush();
    if (screenRedrawn_ != nullptr) screenRedrawn_();
    info = ScreenBufferInfo{screenColumns_, screenRows_, drawn_->cursorColumn(), drawn_->cursorRow(),
                            kDefaultAttribute};
    return true;
}

bool TerminalDevice::AskCursorPosition(int fd, int32_t& column, int32_t& row) {
    // The answer arrives as input from the same terminal, which is held meanwhile as the session
    // holds it: no echo of the answer, and given back by any signal that comes during the wait.
    int replyFd = isatty(STDIN_FILENO) ? STDIN_FILENO : open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (replyFd < 0) return false;
    InstallTerminalSignalHandlers();
    bool held = TakeOverTerminal(replyFd, fd);
    WriteFully(fd, "\x1b[6n");
    TerminalReplies replies;
    std::string typed = ReadTerminalReplies(replyFd, replies, [](const TerminalReplies& r) { return r.cursorReported; }, kAnswerWait);
    if (held) GiveBackTerminal();
    if (replyFd == STDIN_FILENO) {
        unreadBytes_ += typed;  // keys typed before the answer came
    } else {
        close(replyFd);
    }
    column = replies.cursorColumn;
    row = replies.cursorRow;
    return replies.cursorReported;
}

uint32_t TerminalDevice::OpenConsoleOutput() {
    int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    return fd < 0 ? kNoHandle : static_cast<uint32_t>(fd);
}

void TerminalDevice::StartSession(uint32_t outputHandle, uint32_t inputHandle) {
    outputFd_ = static_cast<int>(outputHandle);
    inputFd_ = static_cast<int>(inputHandle);
    inputIsTerminal_ = isatty(inputFd_) != 0;
    if (!inputIsTerminal_) {
        if (isatty(outputFd_)) WatchScreenChanges();  // typed input from a pipe, the screen a terminal
        return;
    }
    InstallTerminalSignalHandlers();
    if (TakeOverTerminal(inputFd_, outputFd_)) AskKeyboardProtocol();
}

void TerminalDevice::ListenForKeys(bool listening) { ::ListenForKeys(listening); }

void TerminalDevice::AskKeyboardProtocol() {
    if (!isatty(outputFd_)) return;
    // Every terminal answers the device-attributes question, so its answer ends the wait.
    WriteFully(outputFd_, "\x1b[?u\x1b[c");
    TerminalReplies replies;
    unreadBytes_ += ReadTerminalReplies(inputFd_, replies, [](const TerminalReplies& r) { return r.attributesReported; }, kAnswerWait);
    // Switched on only while a line is typed: in between, Ctrl+C must reach the terminal's own
    // signal key, which the protocol would turn into a key sequence.
    if (replies.keyboardFlagsReported) SetListeningSequences(kKittyEnable, kKittyDisable);
}

void TerminalDevice::EndSession() {
    Flush();
    GiveBackTerminal();
}

void TerminalDevice::WriteCell(uint32_t handle, int32_t column, int32_t row, uint8_t character,
                               uint8_t attribute) {
    if (!IsScreen(handle)) return;
    if (drawn_) drawn_->Write(column, row, character, attribute);
    writer_.WriteCell(column, row, character, attribute, screenColumns_);
}

void TerminalDevice::SetCursorPosition(uint32_t handle, int32_t column, int32_t row) {
    if (!IsScreen(handle)) return;
    if (drawn_) drawn_->SetCursor(column, row);
    writer_.MoveCursor(column, row);
    Flush();
}

void TerminalDevice::RingBell(uint32_t handle) {
    if (!IsScreen(handle)) return;
    writer_.bytes() += '\a';  // moves no cursor, so it may go anywhere in the batch
    Flush();
}

void TerminalDevice::ScrollRowsUp(uint32_t handle, int32_t top, int32_t bottom, uint8_t fillAttribute) {
    if (!IsScreen(handle)) return;
    if (drawn_) drawn_->ScrollUp(top, bottom, fillAttribute);
    writer_.ScrollUp(top, bottom, screenRows_, fillAttribute);
}

void TerminalDevice::Flush() {
    if (writer_.bytes().empty()) return;
    int fd = outputFd_ >= 0 ? outputFd_ : screenFd_;
    WriteToTerminal(fd, writer_.bytes());
    writer_.Sent();
}

int32_t TerminalDevice::PendingInputEvents(uint32_t) {
    if (events_.empty() && !inputEnded_) ReadInput(0);
    return static_cast<int32_t>(events_.size());
}

bool TerminalDevice::ReadInputEvent(uint32_t, KeyEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void TerminalDevice::WaitForInput(uint32_t) {
    while (events_.empty() && !inputEnded_) {
        if (!ReadInput(unreadBytes_.empty() ? -1 : EscapeWaitLeft())) return;
    }
}

bool TerminalDevice::InputEnded(uint32_t) { return inputEnded_ && events_.empty(); }

int TerminalDevice::EscapeWaitLeft() const {
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastByteTime_);
    return waited >= kEscapeWait ? 0 : static_cast<int>((kEscapeWait - waited).count());
}

bool TerminalDevice::ReadInput(int timeoutMs) {
    if (inputFd_ < 0) {
        inputEnded_ = true;
        return true;
    }
    pollfd p[2] = {{inputFd_, POLLIN, 0}, {ScreenChangeDescriptor(), POLLIN, 0}};
    int ready = poll(p, 2, timeoutMs);
    if (ready > 0 && (p[1].revents & POLLIN) != 0) return false;
    if (ready < 0) {
        if (errno != EINTR) inputEnded_ = true;
    } else if (ready > 0) {
        uint8_t buffer[4096];
        ssize_t n = read(inputFd_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
        if (n <= 0) {
            inputEnded_ = true;  // end of a redirected input, or the terminal hung up
        } else {
            unreadBytes_.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
            lastByteTime_ = Clock::now();
        }
    }
    bool final = inputEnded_ || EscapeWaitLeft() == 0;
    if (!unreadBytes_.empty()) Decode(final);
    return true;
}

void TerminalDevice::Decode(bool final) {
    std::vector<KeyEvent> decoded;
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(unreadBytes_.data()), unreadBytes_.size());
    if (inputIsTerminal_) {
        unreadBytes_.erase(0, DecodeTerminalInput(bytes, final, decoded));
    } else {
        DecodeStreamInput(bytes, afterCarriageReturn_, decoded);
        unreadBytes_.clear();
    }
    for (const KeyEvent& event : decoded) {
        // While the reader listens, the terminal sends its signal keys as bytes; they end the
        // program as the terminal itself would (Ctrl+C, Ctrl+\), through the same handlers.
        if (int signalNumber = SignalOfKey(event)) raise(signalNumber);
        events_.push_back(event);
    }
}
