#pragma once
// Processor faults become run-time errors: a signal handler records the fault and resumes the
// faulting thread in FaultResume, which raises the error there.

#include <cstdint>

struct PendingFault {
    const void* address;
    uint8_t errorNumber;
    bool resetFloatingPoint;
};

constexpr int kPendingFaultCapacity = 16;

struct PendingFaultList {
    PendingFault entries[kPendingFaultCapacity];
    uint8_t count;
};

extern PendingFaultList pendingFaults;

// Installs the handler for SIGFPE, SIGSEGV, SIGBUS, SIGILL and SIGTRAP. At the end of the
// process it declines every fault (see FaultsDeclined), as a removed filter would.
void InstallFaultFilter();

// Every thread that runs system code calls this first: it gives the thread an alternate
// signal stack (so a stack overflow can be reported) and records its outermost frame.
void PrepareThreadForFaults(void* outermostFrame);

// Initialises the floating-point unit and loads control word 0x1332 (and the matching MXCSR).
void LoadFloatControlWord();
