// Processor faults to run-time errors: the signal handler, FaultResume, the thread's stacks.

#include "runtime/faults.h"

#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>

#include <cstddef>

#include "runtime/exit.h"
#include "runtime/signal_exit.h"
#include "runtime/stack_trace.h"

PendingFaultList pendingFaults;

extern "C" [[noreturn]] void FaultResume();

namespace {

constexpr int kFaultSignals[] = {SIGFPE, SIGSEGV, SIGBUS, SIGILL, SIGTRAP};
constexpr size_t kAlternateStackSize = 64 * 1024;
// After a stack overflow the thread's own stack has no room left: the run-time error is
// raised on this reserve, which holds the exit handlers, finalisers and the report.
constexpr size_t kReserveStackSize = 512 * 1024;
constexpr uintptr_t kOverflowWindow = 1024 * 1024;

constexpr uint16_t kX87ControlWord = 0x1332;
// Invalid operation, zero divide and overflow unmasked; the other three masked.
constexpr uint32_t kMxcsr = 0x1900;

// The stacks a prepared thread owns; given back when the thread ends. The alternate stack the
// thread had before (a sanitizer's, another library's) is put back then, so its owner, releasing
// it as the thread ends, finds it again instead of losing it.
struct ThreadFaultStacks {
    void* alternate = nullptr;
    void* reserve = nullptr;
    stack_t earlier = {};
    ~ThreadFaultStacks() {
        if (!alternate) return;
        sigaltstack(&earlier, nullptr);
        munmap(alternate, kAlternateStackSize);
        munmap(reserve, kReserveStackSize);
    }
};

thread_local ThreadFaultStacks threadFaultStacks;
thread_local uintptr_t reserveStackTop = 0;

struct FaultKind {
    uint8_t errorNumber;  // 0: not converted
    bool resetFloatingPoint;
};

bool IsStackOverflow(const siginfo_t* info, uintptr_t stackPointer) {
    const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    const uintptr_t low = StackLowEnd();
    return low != 0 && address + kOverflowWindow >= low && address < low + kOverflowWindow &&
           address <= stackPointer + 4096;
}

FaultKind Classify(int signalNumber, const siginfo_t* info, uintptr_t stackPointer) {
    switch (signalNumber) {
        case SIGFPE:
            switch (info->si_code) {
                case FPE_INTDIV: return {200, false};
                case FPE_INTOVF: return {215, false};
                case FPE_FLTDIV: return {200, true};
                case FPE_FLTOVF: return {205, true};
                case FPE_FLTUND: return {206, true};
                case FPE_FLTINV: return {207, true};
                case FPE_FLTSUB: return {201, false};
                default: return {0, false};  // inexact results are masked and never converted
            }
        case SIGSEGV:
            return {static_cast<uint8_t>(IsStackOverflow(info, stackPointer) ? 202 : 216), false};
        case SIGBUS:
        case SIGILL:
        case SIGTRAP:
            return {217, false};
        default:
            return {0, false};
    }
}

// A signal another process (or this one) sent with kill, sigqueue or raise: it says so with a
// code of 0 or below, and whatever address it carries, no instruction of ours faulted.
bool SentByAProcess(const siginfo_t* info) { return info->si_code <= 0; }

void ClearFloatingPointFlags(ucontext_t* context) {
    if (!context->uc_mcontext.fpregs) return;
    context->uc_mcontext.fpregs->mxcsr &= ~0x3Fu;
    context->uc_mcontext.fpregs->swd = 0;
}

void FaultFilter(int signalNumber, siginfo_t* info, void* rawContext) {
    if (SentByAProcess(info)) {
        EndAsSignalDoes(signalNumber);
        return;
    }
    auto* context = static_cast<ucontext_t*>(rawContext);
    greg_t* registers = context->uc_mcontext.gregs;
    const auto stackPointer = static_cast<uintptr_t>(registers[REG_RSP]);
    const FaultKind kind = Classify(signalNumber, info, stackPointer);
    // Faults on threads the system did not prepare, faults while the report is being
    // written, and more than the list holds are declined rather than looped on: the signal then
    // ends the process as it would without us, after the signal exit routine.
    if (kind.errorNumber == 0 || reserveStackTop == 0 || FaultsDeclined() ||
        pendingFaults.count >= kPendingFaultCapacity) {
        EndAsSignalDoes(signalNumber);
        return;
    }
    const auto faultAddress = reinterpret_cast<const void*>(registers[REG_RIP]);
    pendingFaults.entries[pendingFaults.count++] = {faultAddress, kind.errorNumber,
                                                    kind.resetFloatingPoint};
    if (kind.resetFloatingPoint) ClearFloatingPointFlags(context);

    // Enter FaultResume as if the faulting instruction had called it: aligned as after a call,
    // below the interrupted routine's red zone, with the fault address as return address. The
    // frame pointer is left alone, so FaultResume's caller frame is the faulting routine's.
    uintptr_t top = kind.errorNumber == 202 ? reserveStackTop : stackPointer - 128;
    top = (top & ~uintptr_t{15}) - sizeof(void*);
    *reinterpret_cast<const void**>(top) = faultAddress;
    registers[REG_RSP] = static_cast<greg_t>(top);
    registers[REG_RIP] = reinterpret_cast<greg_t>(&FaultResume);
}

void* MapStack(size_t size) {
    void* area = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return area == MAP_FAILED ? nullptr : area;
}

}  // namespace

extern "C" [[noreturn]] __attribute__((noinline, used)) void FaultResume() {
    PendingFault entry{nullptr, 217, false};
    if (pendingFaults.count > 0) {
        --pendingFaults.count;
        entry = pendingFaults.entries[pendingFaults.count];
    }
    if (entry.resetFloatingPoint) LoadFloatControlWord();
    // The saved frame pointer is the faulting routine's frame (see FaultFilter).
    void* faultingFrame = *static_cast<void**>(__builtin_frame_address(0));
    RaiseRuntimeError(entry.errorNumber, entry.address, faultingFrame);
}

void InstallFaultFilter() {
    struct sigaction action = {};
    action.sa_sigaction = FaultFilter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int blocked : kFaultSignals) sigaddset(&action.sa_mask, blocked);
    for (int signalNumber : kFaultSignals) sigaction(signalNumber, &action, nullptr);
}

void PrepareThreadForFaults(void* outermostFrame) {
    SetOutermostFrame(outermostFrame);
    if (reserveStackTop != 0) return;
    void* alternate = MapStack(kAlternateStackSize);
    void* reserve = MapStack(kReserveStackSize);
    if (!alternate || !reserve) {  // the thread's faults are then left to the system
        if (alternate) munmap(alternate, kAlternateStackSize);
        if (reserve) munmap(reserve, kReserveStackSize);
        return;
    }
    threadFaultStacks.alternate = alternate;
    threadFaultStacks.reserve = reserve;
    stack_t stack = {};
    stack.ss_sp = alternate;
    stack.ss_size = kAlternateStackSize;
    sigaltstack(&stack, &threadFaultStacks.earlier);
    reserveStackTop = reinterpret_cast<uintptr_t>(reserve) + kReserveStackSize;
}

void LoadFloatControlWord() {
    uint16_t controlWord = kX87ControlWord;
    uint32_t mxcsr = kMxcsr;
    asm volatile("fninit\n\tfldcw %0\n\tldmxcsr %1" : : "m"(controlWord), "m"(mxcsr));
}
