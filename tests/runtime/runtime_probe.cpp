// Runs one scenario through the whole runtime, chosen by the first argument, and ends the way
// the scenario ends. The tests read its output, report and exit status.
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <thread>

#include "runtime/exit.h"
#include "runtime/faults.h"
#include "runtime/heap.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

const char* scenario = "";

volatile int zero = 0;
volatile double zeroReal = 0.0;
volatile double hugeReal = 1e308;

__attribute__((noinline)) int DivideByZero() { return 7 / zero; }
__attribute__((noinline)) int ReadNull() { return *static_cast<volatile int*>(nullptr); }
volatile bool keepGoing = true;
__attribute__((noinline)) int Recurse(int depth) {
    volatile char pad[256];
    pad[0] = static_cast<char>(depth);
    return keepGoing ? Recurse(depth + 1) + pad[0] : 0;
}
// Each level keeps a value alive across the call, so the recursion stays a chain of frames.
__attribute__((noinline)) int NestedRead(int depth) {
    if (depth == 0) {
        const int value = ReadInteger(InputText);
        CheckPendingIoError();
        return value;
    }
    volatile int level = depth;
    return NestedRead(depth - 1) + level;
}

void Say(const char* text) {
    WriteText(0, OutputText, text);
    WriteLineEnd(OutputText);
}

void SayNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    Say(text);
}

void ProbeMain() {
    RunLayerInits();
    if (!std::strcmp(scenario, "read")) {
        Say("inserire xp");
        CheckPendingIoError();
        const int32_t value = ReadInteger(InputText);
        CheckPendingIoError();
        SkipRestOfLine(InputText);
        CheckPendingIoError();
        SayNumber(value);
    } else if (!std::strcmp(scenario, "deep-read")) {
        NestedRead(20);
    } else if (!std::strcmp(scenario, "divide")) {
        SayNumber(DivideByZero());
    } else if (!std::strcmp(scenario, "divide-real")) {
        SayNumber(1.0 / zeroReal);
    } else if (!std::strcmp(scenario, "overflow-real")) {
        SayNumber(hugeReal * hugeReal);
    } else if (!std::strcmp(scenario, "invalid-real")) {
        SayNumber(zeroReal / zeroReal);
    } else if (!std::strcmp(scenario, "null")) {
        SayNumber(ReadNull());
    } else if (!std::strcmp(scenario, "stack")) {
        SayNumber(Recurse(0));
    } else if (!std::strcmp(scenario, "illegal")) {
        asm volatile("ud2");
    } else if (!std::strcmp(scenario, "trap")) {
        asm volatile("int3");
    } else if (!std::strcmp(scenario, "thread-fault")) {
        std::thread worker([] {
            PrepareThreadForFaults(__builtin_frame_address(0));
            SayNumber(DivideByZero());
        });
        worker.join();
    } else if (!std::strcmp(scenario, "fault-while-leaving")) {
        // The exit path waits for a thread that faults: the process must still end.
        ExitHandlerChain = [] {
            std::thread worker([] {
                PrepareThreadForFaults(__builtin_frame_address(0));
                SayNumber(DivideByZero());
            });
            worker.join();
        };
        StopProgram(3);
    } else if (!std::strcmp(scenario, "heap-negative")) {
        HeapAllocate(-1);
    } else if (!std::strcmp(scenario, "stop")) {
        StopProgram(3);
    } else if (!std::strcmp(scenario, "closed-pipe")) {
        // Far more than a pipe holds, so the writes meet the closed end whatever the timing.
        for (int i = 0; i < 100000; ++i) {
            Say("line");
            CheckPendingIoError();
        }
    }
    ProcessExit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) scenario = argv[1];
    StartProgram(ProbeMain);
}
