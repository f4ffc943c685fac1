// A dialogue through the console layer, as the plotter holds it: prompts with WriteText and
// WriteLineEnd, answers with ReadInteger or ReadChar and SkipRestOfLine, CheckPendingIoError
// after each. It asks again until the answer is a lower-case n. Started with the argument
// "fault", it writes through an empty pointer after the first answer.

#include <string>

#include "console/console.h"
#include "runtime/exit.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

bool faultAfterAnswer = false;

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
        Say("letto " + std::to_string(xp));
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
    PlugConsoleLayer();
    ConsoleEntry(Dialogue);
}
