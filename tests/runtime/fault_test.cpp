#include <gtest/gtest.h>
#include <signal.h>

#include "runtime/exit.h"
#include "runtime/faults.h"

namespace {

volatile int zero = 0;

void PrepareLikeProgramStart() {
    InstallFaultFilter();
    PrepareThreadForFaults(__builtin_frame_address(0));
    LoadFloatControlWord();
}

TEST(FaultDeathTest, IntegerDivisionByZeroIs200) {
    EXPECT_EXIT(
        {
            PrepareLikeProgramStart();
            zero = 5 / zero;
        },
        ::testing::ExitedWithCode(200), "");
}

TEST(FaultDeathTest, FullPendingListDeclinesTheFault) {
    EXPECT_EXIT(
        {
            PrepareLikeProgramStart();
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
            PrepareLikeProgramStart();
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

TEST(FaultDeathTest, FloatingPointFaultReloadsTheControlWord) {
    EXPECT_EXIT(
        {
            PrepareLikeProgramStart();
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

}  // namespace
