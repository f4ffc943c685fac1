// A dialogue through the console layer, as the plotter holds it: prompts with WriteText and
// WriteLineEnd, answers with ReadInteger or ReadChar and SkipRestOfLine, CheckPendingIoError
// after each. It asks again until the answer is a lower-case n. Started with the argument
// "fault", it writes through an empty pointer after the first answer; with "busy PATH" it
// works without touching the console after each "letto" line for as long as PATH exists, as
// the plotter does while it draws; with "thread-fault" a thread the runtime did not prepare
// divides by zero after the first answer, a fault the runtime declines.

#include <unistd.h>

#include <string>
#include <thread>

#include "console/console.h"
#include "console/terminal_device.h"
#include "runtime/exit.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

bool faultAfterAnswer = false;
bool threadFaultAfterAnswer = false;
volatile int zero = 0;
const char* busyWhileExists = nullptr;

void WorkWhileExists(const char* path) {
    volatile uint64_t work = 0;
    while (access(path, F_OK) == 0) {
        for (int i = 0; i < 100000; ++i) work = work + 1;
    }
}

void Say(const std::string& text) {
    WriteText(0, OutputText, LengthPrefixedString(text));
    WriteLineEnd(OutputText);
    CheckPendingIoError();
}

void Dialogue() {
    RunLayerInits();
    uint8_t reply = 0;
    do {
        Say("inserire xp");
        int32_t xp = ReadInteger(InputText);
        CheckPendingIoError();
        SkipRestOfLine(InputText);
        CheckPendingIoError();
        if (faultAfterAnswer) {
            int* volatile nowhere = nullptr;
            *nowhere = xp;
        }
        if (threadFaultAfterAnswer) std::thread([xp] { zero = xp / zero; }).join();
        Say("letto " + std::to_string(xp));
        if (busyWhileExists != nullptr) WorkWhileExists(busyWhileExists);
        Say("ancora? s/n");
        reply = ReadChar(InputText);
        CheckPendingIoError();
        SkipRestOfLine(InputText);
        CheckPendingIoError();
        Say("risposta " + std::to_string(reply));
    } while (reply != 'n');
    ProcessExit();
}

}  // namespace

int main(int argc, char** argv) {
    faultAfterAnswer = argc > 1 && std::string(argv[1]) == "fault";
    threadFaultAfterAnswer = argc > 1 && std::string(argv[1]) == "thread-fault";
    if (argc > 2 && std::string(argv[1]) == "busy") busyWhileExists = argv[2];
    static TerminalDevice terminal;
    PlugConsoleLayer(terminal);
    StartProgram(Dialogue);
}
