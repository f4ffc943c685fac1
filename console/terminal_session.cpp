// The terminal's settings while the console holds it, and the signals that must give it back.

#include "console/terminal_session.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "console/terminal_write.h"
#include "runtime/signal_exit.h"
#include "runtime/write_all.h"

namespace {

struct Sequence {
    char bytes[16];
    size_t length;
};

struct SavedTerminal {
    int inputFd;
    int outputFd;
    termios settings;  // as found
    termios busy;      // raw, signal keys on
    termios listening; // raw, signal keys off
    Sequence startListening;
    Sequence stopListening;
};

SavedTerminal saved;
// held: the program means to hold the terminal (from TakeOverTerminal to GiveBackTerminal);
// taken: it is in our settings right now (not while stopped).
std::atomic<bool> held{false};
std::atomic<bool> taken{false};
std::atomic<bool> listening{false};
int changePipe[2] = {-1, -1};

struct Farewell {
    int fd;
    std::string bytes;
};
std::atomic<const Farewell*> farewell{nullptr};

constexpr int kStopSignals[] = {SIGTSTP, SIGTTIN, SIGTTOU};

void Send(const Sequence& sequence) { WriteAll(saved.outputFd, sequence.bytes, sequence.length); }

void Store(Sequence& sequence, const char* bytes) {
    size_t length = std::strlen(bytes);
    if (length >= sizeof sequence.bytes) return;
    std::memcpy(sequence.bytes, bytes, length);
    sequence.length = length;
}

void NoteScreenChange() {
    if (changePipe[1] < 0) return;
    char mark = 1;
    [[maybe_unused]] ssize_t written = write(changePipe[1], &mark, 1);  // full pipe: already noted
}

bool InForeground() { return tcgetpgrp(saved.inputFd) == getpgrp(); }

// Puts our settings back after a stop; a program continued in the background leaves the
// terminal alone (touching it would stop it again) until it is brought to the foreground.
void TakeAgain() {
    if (!held.load() || !InForeground() || taken.exchange(true)) return;
    bool keys = listening.load();
    tcsetattr(saved.inputFd, TCSANOW, keys ? &saved.listening : &saved.busy);
    if (keys) Send(saved.startListening);
}

// Leaves the terminal as it was found; flush drops input still on its way.
void Release(bool flush) {
    if (!taken.exchange(false)) return;
    if (listening.load()) Send(saved.stopListening);
    bool flushNow = flush && saved.stopListening.length > 0;
    tcsetattr(saved.inputFd, flushNow ? TCSAFLUSH : TCSADRAIN, &saved.settings);
}

// The signal exit routine.
void SayFarewellAndGiveBack() {
    if (const Farewell* last = farewell.load()) {
        // A string terminator first ends any picture command the signal cut off, so that the
        // terminal reads what follows as commands; where none was open terminals ignore it.
        WriteAll(last->fd, "\x1b\\", 2);
        WriteAll(last->fd, last->bytes.data(), last->bytes.size());
    }
    GiveBackTerminal();
}

void OnStop(int signalNumber);

void InstallStopHandler(int signalNumber) {
    struct sigaction action{};
    action.sa_handler = OnStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

void OnStop(int signalNumber) {
    int savedErrno = errno;
    Release(false);
    // Stop as the signal does by default; execution goes on here once the program is continued.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    InstallStopHandler(signalNumber);
    TakeAgain();
    errno = savedErrno;
}

void OnContinue(int) {
    int savedErrno = errno;
    TakeAgain();
    NoteScreenChange();
    errno = savedErrno;
}

void OnResize(int) {
    int savedErrno = errno;
    NoteScreenChange();
    errno = savedErrno;
}

void InstallNotice(int signalNumber, void (*handler)(int)) {
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

}  // namespace

bool TakeOverTerminal(int inputFd, int outputFd) {
    termios settings{};
    if (tcgetattr(inputFd, &settings) != 0) return false;
    saved.inputFd = inputFd;
    saved.outputFd = outputFd;
    saved.settings = settings;
    saved.startListening.length = 0;
    saved.stopListening.length = 0;

    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                               ICRNL | IXON);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    saved.busy = settings;
    settings.c_lflag &= ~static_cast<tcflag_t>(ISIG);
    saved.listening = settings;

    listening.store(false);
    held.store(true);
    taken.store(true);
    if (tcsetattr(inputFd, TCSADRAIN, &saved.busy) != 0) {
        taken.store(false);
        held.store(false);
        return false;
    }
    return true;
}

void SetListeningSequences(const char* start, const char* stop) {
    Store(saved.startListening, start);
    Store(saved.stopListening, stop);
}

void ListenForKeys(bool wanted) {
    if (!taken.load() || listening.load() == wanted) return;
    listening.store(wanted);
    // Signal keys go off before the protocol goes on, and come back after it is off: a Ctrl+C
    // is always either a signal or a key, never lost between the two.
    // Outside signal handlers the sequences take their turn with other threads' writes (a
    // picture in the terminal), so they never land inside one.
    if (wanted) {
        tcsetattr(saved.inputFd, TCSANOW, &saved.listening);
        WriteToTerminal(saved.outputFd, {saved.startListening.bytes, saved.startListening.length});
    } else {
        WriteToTerminal(saved.outputFd, {saved.stopListening.bytes, saved.stopListening.length});
        tcsetattr(saved.inputFd, TCSANOW, &saved.busy);
    }
}

void GiveBackTerminal() {
    held.store(false);
    Release(true);
}

void SetSignalFarewell(int fd, std::string bytes) {
    // Kept for the life of the process: a signal handler may be reading the one before.
    farewell.store(new Farewell{fd, std::move(bytes)});
}

void WatchScreenChanges() {
    if (changePipe[0] < 0 && pipe2(changePipe, O_CLOEXEC | O_NONBLOCK) != 0) changePipe[0] = changePipe[1] = -1;
    InstallNotice(SIGCONT, OnContinue);
    InstallNotice(SIGWINCH, OnResize);
}

void InstallTerminalSignalHandlers() {
    WatchScreenChanges();
    SetSignalExitRoutine(SayFarewellAndGiveBack);
    InstallDeadlySignalHandlers();
    for (int signalNumber : kStopSignals) {
        struct sigaction previous{};
        sigaction(signalNumber, nullptr, &previous);
        // A shell without job control starts its jobs with the stop signals ignored.
        if (previous.sa_handler != SIG_IGN) InstallStopHandler(signalNumber);
    }
}

int ScreenChangeDescriptor() { return changePipe[0]; }

bool TakeScreenChange() {
    if (changePipe[0] < 0) return false;
    char marks[64];
    bool changed = false;
    while (read(changePipe[0], marks, sizeof marks) > 0) changed = true;
    return changed;
}
