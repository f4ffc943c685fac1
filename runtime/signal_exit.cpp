// Deadly signals: the signal exit routine, then the default action of the signal.

#include "runtime/signal_exit.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<SignalExitRoutine> signalExitRoutine{nullptr};

// Default action "terminate" or "core", without the processor faults; SIGPIPE is in the list
// but the runtime ignores it from the start, so it stays ignored.
constexpr int kDeadlySignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGABRT,   SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
    SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,
};

void OnDeadlySignal(int signalNumber) {
    int savedErrno = errno;
    EndAsSignalDoes(signalNumber);
    errno = savedErrno;
}

void InstallIfNotIgnored(int signalNumber, const sigset_t& blockedMeanwhile) {
    struct sigaction previous{};
    if (sigaction(signalNumber, nullptr, &previous) != 0) return;
    if (previous.sa_handler == SIG_IGN) return;  // whoever started us wants it ignored
    struct sigaction action{};
    action.sa_handler = OnDeadlySignal;
    action.sa_mask = blockedMeanwhile;
    action.sa_flags = SA_ONSTACK;
    sigaction(signalNumber, &action, nullptr);
}

}  // namespace

void SetSignalExitRoutine(SignalExitRoutine routine) { signalExitRoutine.store(routine); }

void InstallDeadlySignalHandlers() {
    // While one deadly signal is being handled the others wait: the first one decides the status.
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signalNumber : kDeadlySignals) sigaddset(&blocked, signalNumber);
    for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) sigaddset(&blocked, signalNumber);
    for (int signalNumber : kDeadlySignals) InstallIfNotIgnored(signalNumber, blocked);
    for (int signalNumber = SIGRTMIN; signalNumber <= SIGRTMAX; ++signalNumber) {
        InstallIfNotIgnored(signalNumber, blocked);
    }
}

void EndAsSignalDoes(int signalNumber) {
    if (SignalExitRoutine routine = signalExitRoutine.load()) routine();
    struct sigaction byDefault{};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signalNumber, &byDefault, nullptr);
    // The signal is blocked while its handler runs: raised now it waits, and the moment it is
    // unblocked its default action takes the process.
    raise(signalNumber);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
}
