// The dialogue program on a pseudo-terminal: what the user sees and types, and the terminal
// settings after every way out.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "console/console.h"
#include "console/keyboard.h"
#include "console/memory_device.h"
#include "runtime/exit.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"
#include "tests/console/pseudo_terminal.h"
#include "tests/console/terminal_screen.h"

namespace {

const std::string kProgram = CONSOLE_DIALOGUE;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + name + "_" + std::to_string(getpid());
}

// The keyboard protocol is switched off as often as it was switched on.
void ExpectProtocolBalanced(const std::string& output) {
    size_t on = 0, off = 0;
    for (size_t at = 0; (at = output.find("\x1b[>31u", at)) != std::string::npos; ++at) ++on;
    for (size_t at = 0; (at = output.find("\x1b[<u", at)) != std::string::npos; ++at) ++off;
    EXPECT_EQ(on, off);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PseudoTerminal, DialogueAtTheCursorWithEchoAndEditing) {
    PseudoTerminalOptions options;
    options.cursorRow = 5;
    options.cursorColumn = 3;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    // The prompt starts where the cursor was and the cursor goes to the start of the next row.
    ASSERT_TRUE(terminal.WaitFor("\x1b[5;3H\x1b[0minserire xp\x1b[6;1H"));
    size_t mark = terminal.output().size();
    terminal.Type("4");
    ASSERT_TRUE(terminal.WaitFor("4", mark));  // echoed at once
    mark = terminal.output().size();
    terminal.Type("\x1b");  // Esc alone, with nothing after it, erases the line
    ASSERT_TRUE(terminal.WaitFor(" ", mark));
    terminal.Type("4");
    terminal.Type("x\x7f" "2");              // typed, erased, retyped
    terminal.Type("\x1b[D\x1b[D" "1\x1b[F\r");  // Left Left overwrites, End, Enter
    ASSERT_TRUE(terminal.WaitFor("letto 12"));
    ASSERT_TRUE(terminal.WaitFor("ancora? s/n"));
    terminal.Type("n\r");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    EXPECT_NE(terminal.output().find("risposta 110"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, RunTimeErrorRestoresTheTerminal) {
    PseudoTerminal terminal({});
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("abc\r");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 106);
    EXPECT_NE(terminal.output().find("Runtime error 106 at 0x"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, FaultRestoresTheTerminal) {
    PseudoTerminal terminal({});
    terminal.Start({kProgram, "fault"});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("3\r");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 216);
    EXPECT_NE(terminal.output().find("Runtime error 216 at 0x"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, DeclinedFaultEndsAsTheSignalDoesAndRestoresTheTerminal) {
    PseudoTerminalOptions options;
    options.speaksKitty = true;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram, "thread-fault"});
    ASSERT_TRUE(terminal.WaitFor("\x1b[>31u"));
    terminal.Type("\x1b[51u\x1b[13u");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.signal, SIGFPE);
    EXPECT_EQ(terminal.output().find("Runtime error"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    ExpectProtocolBalanced(terminal.output());
}

// A terminal's signal key, as plain bytes or as the kitty keyboard protocol reports it.
struct SignalKey {
    const char* bytes;
    int signalNumber;
    bool speaksKitty;
};

std::string SignalKeyName(const testing::TestParamInfo<SignalKey>& info) {
    return std::string(sigabbrev_np(info.param.signalNumber)) + (info.param.speaksKitty ? "_kitty" : "");
}

class KeyAtPrompt : public testing::TestWithParam<SignalKey> {};

TEST_P(KeyAtPrompt, EndsTheProgramAsItsSignalDoesAndRestoresTheTerminal) {
    PseudoTerminalOptions options;
    options.speaksKitty = GetParam().speaksKitty;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    // The key must reach the line editor, not the terminal's own signal keys.
    ASSERT_TRUE(terminal.WaitForListening());
    terminal.Type(std::string("12") + GetParam().bytes);
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.signal, GetParam().signalNumber);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    ExpectProtocolBalanced(terminal.output());
}

INSTANTIATE_TEST_SUITE_P(PseudoTerminal, KeyAtPrompt,
                         testing::Values(SignalKey{"\x03", SIGINT, false},
                                         SignalKey{"\x1b[57442;5u\x1b[99;5u", SIGINT, true},
                                         SignalKey{"\x1c", SIGQUIT, false},
                                         SignalKey{"\x1b[57442;5u\x1b[92;5u", SIGQUIT, true}),
                         SignalKeyName);

TEST(PseudoTerminal, RedirectedOutputKeepsThePromptsOnTheScreen) {
    PseudoTerminalOptions options;
    options.standardOutputFile = TempPath("dialogue_out");
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("7\r");
    ASSERT_TRUE(terminal.WaitFor("ancora? s/n"));
    terminal.Type("n\r");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    EXPECT_NE(terminal.output().find("letto 7"), std::string::npos);
    EXPECT_EQ(FileText(options.standardOutputFile), "");
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    std::remove(options.standardOutputFile.c_str());
}

TEST(PseudoTerminal, KittyKeyboardAltKeypadEntryAndProtocolOffAtExit) {
    PseudoTerminalOptions options;
    options.speaksKitty = true;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("\x1b[>31u"));  // on while the line is typed
    // Alt + keypad 5 2 gives '4'; then Enter, all with key releases.
    terminal.Type("\x1b[57443;3u\x1b[57404;3u\x1b[57404;3:3u\x1b[57401;3u\x1b[57401;3:3u\x1b[57443;1:3u");
    terminal.Type("\x1b[13u\x1b[13;1:3u");
    ASSERT_TRUE(terminal.WaitFor("letto 4"));
    terminal.Type("\x1b[110u\x1b[110;1:3u\x1b[13u");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    EXPECT_NE(terminal.output().find("\x1b[<u"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, PipedInputIsTypedAndItsEndEndsTheDialogue) {
    PseudoTerminalOptions options;
    options.standardInputFromPipe = true;
    options.standardInputText = "5\r\ns\n6";  // the last line has no line end
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ProgramEnd end = terminal.WaitForEnd();
    // After "6" the input ends: ReadChar gives 26, the dialogue asks again, ReadInteger fails.
    EXPECT_EQ(end.exitStatus, 106);
    EXPECT_NE(terminal.output().find("letto 5"), std::string::npos);
    EXPECT_NE(terminal.output().find("letto 6"), std::string::npos);
    EXPECT_NE(terminal.output().find("risposta 26"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, NoTerminalAtAllStopsWithStatusOne) {
    PseudoTerminalOptions options;
    options.withoutTerminal = true;
    options.standardOutputFile = TempPath("dialogue_none_out");
    options.standardErrorFile = TempPath("dialogue_none_err");
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 1);
    EXPECT_EQ(FileText(options.standardErrorFile), "No way to get the console handle\r\n");
    EXPECT_EQ(FileText(options.standardOutputFile), "");
    std::remove(options.standardOutputFile.c_str());
    std::remove(options.standardErrorFile.c_str());
}

}  // namespace

namespace {

// ---- Signals: each ends the program as it would end any other, and the terminal is as found.

struct SignalCase {
    int signalNumber;
    bool speaksKitty;
};

std::string SignalCaseName(const testing::TestParamInfo<SignalCase>& info) {
    return std::string(sigabbrev_np(info.param.signalNumber)) + (info.param.speaksKitty ? "_kitty" : "");
}

void ExpectEndBySignalWithTerminalRestored(const SignalCase& signalCase) {
    PseudoTerminalOptions options;
    options.speaksKitty = signalCase.speaksKitty;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor(options.speaksKitty ? "\x1b[>31u" : "inserire xp"));
    terminal.Signal(signalCase.signalNumber);
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.signal, signalCase.signalNumber);
    EXPECT_EQ(terminal.output().find("Runtime error"), std::string::npos);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    ExpectProtocolBalanced(terminal.output());
}

class DeadlySignal : public testing::TestWithParam<SignalCase> {};
TEST_P(DeadlySignal, EndsTheProgramAsTheSignalDoesAndRestoresTheTerminal) {
    ExpectEndBySignalWithTerminalRestored(GetParam());
}
INSTANTIATE_TEST_SUITE_P(PseudoTerminal, DeadlySignal,
                         testing::Values(SignalCase{SIGTERM, false}, SignalCase{SIGHUP, false},
                                         SignalCase{SIGINT, false}, SignalCase{SIGQUIT, false},
                                         SignalCase{SIGABRT, false}, SignalCase{SIGUSR1, false},
                                         SignalCase{SIGUSR2, false}, SignalCase{SIGALRM, false},
                                         SignalCase{SIGTERM, true}, SignalCase{SIGQUIT, true}),
                         SignalCaseName);

// Sent with kill, the processor-fault signals are not faults: no report, the signal's status.
using SentFaultSignal = DeadlySignal;
TEST_P(SentFaultSignal, IsNoProcessorFault) { ExpectEndBySignalWithTerminalRestored(GetParam()); }
INSTANTIATE_TEST_SUITE_P(PseudoTerminal, SentFaultSignal,
                         testing::Values(SignalCase{SIGSEGV, true}, SignalCase{SIGFPE, false},
                                         SignalCase{SIGBUS, false}, SignalCase{SIGTRAP, false},
                                         SignalCase{SIGILL, false}),
                         SignalCaseName);

// ---- Between prompts the program is busy: the terminal's signal keys act at once.

class KeyWhileBusy : public testing::TestWithParam<SignalKey> {};

TEST_P(KeyWhileBusy, EndsTheProgramInTheMiddleOfItsWork) {
    std::string busyFile = TempPath("busy");
    std::ofstream(busyFile).put('x');
    PseudoTerminalOptions options;
    options.speaksKitty = GetParam().speaksKitty;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram, "busy", busyFile});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("1\r");
    ASSERT_TRUE(terminal.WaitFor("letto 1"));
    terminal.Type(GetParam().bytes);
    ProgramEnd end = terminal.WaitForEnd();
    std::remove(busyFile.c_str());
    EXPECT_EQ(end.signal, GetParam().signalNumber);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    ExpectProtocolBalanced(terminal.output());
}

INSTANTIATE_TEST_SUITE_P(PseudoTerminal, KeyWhileBusy,
                         testing::Values(SignalKey{"\x03", SIGINT, false}, SignalKey{"\x03", SIGINT, true},
                                         SignalKey{"\x1c", SIGQUIT, false}),
                         SignalKeyName);

// ---- Job control.

TEST(PseudoTerminal, StoppedTheTerminalIsGivenBackAndContinuedItIsTakenAgain) {
    PseudoTerminalOptions options;
    options.speaksKitty = true;
    options.asJob = true;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("\x1b[>31u"));
    size_t stopped = terminal.output().size();
    terminal.Signal(SIGTSTP);
    ASSERT_TRUE(terminal.WaitForStopped(true));
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    EXPECT_TRUE(terminal.WaitFor("\x1b[<u", stopped));

    size_t mark = terminal.output().size();
    terminal.Signal(SIGCONT);
    ASSERT_TRUE(terminal.WaitForStopped(false));
    ASSERT_TRUE(terminal.WaitFor("\x1b[>31u", mark));  // the line is still being typed
    EXPECT_FALSE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    terminal.Type("\x1b[53u\x1b[13u");
    ASSERT_TRUE(terminal.WaitFor("letto 5"));
    ASSERT_TRUE(terminal.WaitFor("ancora? s/n"));
    terminal.Type("\x1b[110u\x1b[13u");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    ExpectProtocolBalanced(terminal.output());
}

TEST(PseudoTerminal, CtrlZIsIgnoredAtThePromptAndStopsTheBusyProgram) {
    std::string busyFile = TempPath("busy_stop");
    std::ofstream(busyFile).put('x');
    PseudoTerminalOptions options;
    options.asJob = true;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram, "busy", busyFile});
    ASSERT_TRUE(terminal.WaitForListening());  // before, the program is busy and Ctrl+Z stops it
    terminal.Type("\x1a" "1\r");
    ASSERT_TRUE(terminal.WaitFor("letto 1"));
    terminal.Type("\x1a");
    ASSERT_TRUE(terminal.WaitForStopped(true));
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
    std::remove(busyFile.c_str());
    terminal.Signal(SIGCONT);
    ASSERT_TRUE(terminal.WaitFor("ancora? s/n"));
    terminal.Type("n\r");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

}  // namespace

namespace {

// ---- Resizing: the screen follows the terminal's size and equals what the screen model says.

struct DialogueStep {
    enum Kind { Say, Answer, Resize } kind;
    std::string text;
    int columns = 0;
    int rows = 0;
};

DialogueStep Say(std::string text) { return {DialogueStep::Say, std::move(text)}; }
DialogueStep Answer(std::string text) { return {DialogueStep::Answer, std::move(text)}; }
DialogueStep ResizeTo(int columns, int rows) { return {DialogueStep::Resize, "", columns, rows}; }

// The dialogue's steps on the console layer over the in-memory screen model.
std::vector<std::string> PredictedRows(int columns, int rows, const std::vector<DialogueStep>& steps) {
    MemoryConsoleDevice device(columns, rows, 0x07);
    osOutputHandle = MemoryConsoleDevice::kScreenHandle;
    osInputHandle = MemoryConsoleDevice::kKeyboardHandle;
    pendingIoError = 0;
    ExitHandlerChain = nullptr;
    KeyboardState = {};
    UseConsoleDevice(device);
    ConsoleInit();
    for (const DialogueStep& step : steps) {
        switch (step.kind) {
            case DialogueStep::Say:
                WriteText(0, OutputText, LengthPrefixedString(step.text));
                WriteLineEnd(OutputText);
                break;
            case DialogueStep::Answer:
                device.Type(step.text + "\r");
                InputText.onTransfer(InputText);
                break;
            case DialogueStep::Resize:
                device.Resize(step.columns, step.rows);
                break;
        }
    }
    ExitHandlerChain = nullptr;
    std::vector<std::string> predicted;
    for (int row = 0; row < device.screen().rows(); ++row) predicted.push_back(device.RowText(row));
    return predicted;
}

struct ResizeCase {
    const char* name;
    int columns;
    int rows;
    bool busy;  // the resize comes while the program works between prompts
    std::vector<DialogueStep> steps;
};

class Resize : public testing::TestWithParam<ResizeCase> {};

TEST_P(Resize, TheScreenIsTheModelsForTheNewSize) {
    const ResizeCase& c = GetParam();
    std::string busyFile = TempPath("busy_resize");
    if (c.busy) std::ofstream(busyFile).put('x');
    PseudoTerminalOptions options;
    options.columns = c.columns;
    options.rows = c.rows;
    PseudoTerminal terminal(options);
    terminal.Start(c.busy ? std::vector<std::string>{kProgram, "busy", busyFile} : std::vector<std::string>{kProgram});
    TerminalScreen screen(c.columns, c.rows);
    size_t fed = 0;
    size_t searchFrom = 0;
    for (const DialogueStep& step : c.steps) {
        if (step.kind == DialogueStep::Say) {
            ASSERT_TRUE(terminal.WaitFor(step.text, searchFrom)) << step.text;
            searchFrom = terminal.output().find(step.text, searchFrom) + step.text.size();
        } else if (step.kind == DialogueStep::Answer) {
            terminal.Type(step.text + "\r");
        } else {
            screen.Feed(std::string_view(terminal.output()).substr(fed));
            fed = terminal.output().size();
            screen.Resize(step.columns, step.rows);
            terminal.Resize(step.columns, step.rows);
            if (c.busy) std::remove(busyFile.c_str());
        }
    }
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.exitStatus, 0);
    screen.Feed(std::string_view(terminal.output()).substr(fed));
    std::vector<std::string> predicted = PredictedRows(c.columns, c.rows, c.steps);
    for (size_t row = 0; row < predicted.size(); ++row) EXPECT_EQ(screen.Row(static_cast<int>(row)), predicted[row]) << "row " << row;
    std::remove(busyFile.c_str());
}

const std::vector<DialogueStep> kFirstPass = {Say("inserire xp"), Answer("1"), Say("letto 1"), Say("ancora? s/n"),
                                              Answer("s"), Say("risposta 115"), Say("inserire xp")};

std::vector<DialogueStep> ResizedAtTheSecondPrompt(int columns, int rows) {
    std::vector<DialogueStep> steps = kFirstPass;
    for (DialogueStep step : {ResizeTo(columns, rows), Answer("2"), Say("letto 2"), Say("ancora? s/n"),
                              Answer("n"), Say("risposta 110")}) {
        steps.push_back(step);
    }
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    PseudoTerminal, Resize,
    testing::Values(
        ResizeCase{"Grown", 40, 8, false, ResizedAtTheSecondPrompt(60, 12)},
        ResizeCase{"Shrunk", 60, 12, false, ResizedAtTheSecondPrompt(40, 6)},
        ResizeCase{"ShrunkWhileBusy", 40, 8, true,
                   {Say("inserire xp"), Answer("1"), Say("letto 1"), ResizeTo(30, 5), Say("ancora? s/n"),
                    Answer("n"), Say("risposta 110")}}),
    [](const testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

}  // namespace
