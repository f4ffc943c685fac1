#include "console/terminal_session.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

struct SavedTerminal {
    int inputFd;
    int outputFd;
    termios settings;
    bool flushInput;  // drop unread input on the way out (answers the terminal still sends)
    char leaveSequence[16];
    size_t leaveLength;
};

SavedTerminal saved;
volatile sig_atomic_t terminalTaken = 0;

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP};

void WriteFully(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t written = write(fd, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;
        }
        bytes += written;
        length -= static_cast<size_t>(written);
    }
}

void RestoreAndResignal(int signalNumber) {
    int savedErrno = errno;
    GiveBackTerminal();
    // The handler was installed with SA_RESETHAND: the signal now ends the process as usual.
    raise(signalNumber);
    errno = savedErrno;
}

}  // namespace

bool TakeOverTerminal(int inputFd, int outputFd) {
    termios settings{};
    if (tcgetattr(inputFd, &settings) != 0) return false;
    saved.inputFd = inputFd;
    saved.outputFd = outputFd;
    saved.settings = settings;
    saved.flushInput = false;
    saved.leaveLength = 0;

    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                               ICRNL | IXON);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    terminalTaken = 1;
    if (tcsetattr(inputFd, TCSADRAIN, &settings) != 0) {
        terminalTaken = 0;
        return false;
    }
    return true;
}

void SetLeaveSequence(const char* bytes, size_t length) {
    if (length >= sizeof(saved.leaveSequence)) return;
    std::memcpy(saved.leaveSequence, bytes, length);
    saved.leaveLength = length;
    saved.flushInput = true;
}

void GiveBackTerminal() {
    if (!terminalTaken) return;
    terminalTaken = 0;
    WriteFully(saved.outputFd, saved.leaveSequence, saved.leaveLength);
    tcsetattr(saved.inputFd, saved.flushInput ? TCSAFLUSH : TCSADRAIN, &saved.settings);
}

void InstallTerminalSignalHandlers() {
    for (int signalNumber : kRestoringSignals) {
        struct sigaction previous{};
        sigaction(signalNumber, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) continue;  // the parent wants it ignored
        struct sigaction action{};
        action.sa_handler = RestoreAndResignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signalNumber, &action, nullptr);
    }
}
