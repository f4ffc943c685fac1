#include <gtest/gtest.h>
#include <signal.h>

#include <string.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "runtime/exit.h"
#include "runtime/faults.h"
#include "runtime/signal_exit.h"

namespace {

volatile int zero = 0;

void PrepareLikeStartProgram() {
    InstallFaultFilter();
    PrepareThreadForFaults(__builtin_frame_address(0));
    LoadFloatControlWord();
}

TEST(FaultDeathTest, IntegerDivisionByZeroIs200) {
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            zero = 5 / zero;
        },
        ::testing::ExitedWithCode(200), "");
}

TEST(FaultDeathTest, FullPendingListDeclinesTheFault) {
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            pendingFaults.count = kPendingFaultCapacity;
            zero = 5 / zero;
        },
        ::testing::KilledBySignal(SIGFPE), "");
}

TEST(FaultDeathTest, FaultInTheExitPathDoesNotRunItsHandlerAgain) {
    // The exit handler that faults has already been taken off the chain: the second run-time
    // error goes straight on to the report instead of looping through the handler.
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            ExitHandlerChain = [] { zero = 5 / zero; };
            zero = 5 / zero;
        },
        ::testing::ExitedWithCode(200), "");
}

TEST(FaultDeathTest, ThreadsNotPreparedAreLeftToTheSystem) {
    EXPECT_EXIT(
        {
            InstallFaultFilter();
            zero = 5 / zero;
        },
        ::testing::KilledBySignal(SIGFPE), "");
}

// Read as the thread ends: made before the thread's fault stacks, so destroyed after them.
stack_t stackAtThreadEnd = {};
struct StackReader {
    ~StackReader() { sigaltstack(nullptr, &stackAtThreadEnd); }
};

TEST(FaultTest, AThreadGetsItsEarlierAlternateStackBack) {
    static char earlier[64 * 1024];
    std::thread([] {
        thread_local StackReader reader;
        static_cast<void>(reader);
        const stack_t stack = {.ss_sp = earlier, .ss_flags = 0, .ss_size = sizeof earlier};
        sigaltstack(&stack, nullptr);
        PrepareThreadForFaults(__builtin_frame_address(0));
    }).join();
    EXPECT_EQ(stackAtThreadEnd.ss_sp, earlier);
}

TEST(FaultDeathTest, FloatingPointFaultReloadsTheControlWord) {
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            ExitHandlerChain = [] {
                uint16_t controlWord = 0;
                asm volatile("fnstcw %0" : "=m"(controlWord));
                // Bit 6 is reserved and always reads back as 1.
                _exit((controlWord & ~0x40) == 0x1332 ? 42 : 1);
            };
            volatile double z = 0.0;
            z = 1.0 / z;
        },
        ::testing::ExitedWithCode(42), "");
}

// Sent by a process, a fault signal is no processor fault: whatever address the report would
// name, nothing faulted. The signal ends the process as it would without the filter, after the
// signal exit routine.
struct SentSignal {
    int signalNumber;
    bool throughKill;  // kill() to the process, else raise() on this thread
};

class SentFaultSignalDeathTest : public testing::TestWithParam<SentSignal> {};

TEST_P(SentFaultSignalDeathTest, EndsTheProcessAsTheSignalDoesAfterTheExitRoutine) {
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            SetSignalExitRoutine([] { [[maybe_unused]] ssize_t n = write(2, "given back\n", 11); });
            if (GetParam().throughKill) {
                kill(getpid(), GetParam().signalNumber);
            } else {
                raise(GetParam().signalNumber);
            }
            _exit(0);
        },
        ::testing::KilledBySignal(GetParam().signalNumber), "given back");
}

INSTANTIATE_TEST_SUITE_P(Faults, SentFaultSignalDeathTest,
                         testing::Values(SentSignal{SIGSEGV, true}, SentSignal{SIGFPE, true},
                                         SentSignal{SIGBUS, true}, SentSignal{SIGTRAP, false},
                                         SentSignal{SIGILL, false}),
                         [](const testing::TestParamInfo<SentSignal>& info) {
                             return std::string(sigabbrev_np(info.param.signalNumber)) +
                                    (info.param.throughKill ? "_kill" : "_raise");
                         });

TEST(FaultDeathTest, DeclinedFaultRunsTheSignalExitRoutineToo) {
    EXPECT_EXIT(
        {
            PrepareLikeStartProgram();
            SetSignalExitRoutine([] { [[maybe_unused]] ssize_t n = write(2, "given back\n", 11); });
            pendingFaults.count = kPendingFaultCapacity;
            zero = 5 / zero;
        },
        ::testing::KilledBySignal(SIGFPE), "given back");
}

TEST(DeadlySignalDeathTest, EndsTheProcessAsTheSignalDoesAfterTheExitRoutine) {
    for (int signalNumber : {SIGTERM, SIGQUIT, SIGUSR2, SIGRTMIN + 3}) {
        EXPECT_EXIT(
            {
                SetSignalExitRoutine([] { [[maybe_unused]] ssize_t n = write(2, "given back\n", 11); });
                InstallDeadlySignalHandlers();
                kill(getpid(), signalNumber);
                _exit(0);
            },
            ::testing::KilledBySignal(signalNumber), "given back") << signalNumber;
    }
}

TEST(DeadlySignalDeathTest, ASignalIgnoredAtStartStaysIgnored) {
    EXPECT_EXIT(
        {
            signal(SIGUSR1, SIG_IGN);
            InstallDeadlySignalHandlers();
            kill(getpid(), SIGUSR1);
            _exit(7);
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
