// The dialogue program on a pseudo-terminal: what the user sees and types, and the terminal
// settings after every way out.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/console/pseudo_terminal.h"

namespace {

const std::string kProgram = CONSOLE_DIALOGUE;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + name + "_" + std::to_string(getpid());
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

TEST(PseudoTerminal, CtrlCEndsTheProgramAndRestoresTheTerminal) {
    PseudoTerminal terminal({});
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("12\x03");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.signal, SIGINT);
    EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow()));
}

TEST(PseudoTerminal, TerminationSignalsRestoreTheTerminal) {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        PseudoTerminal terminal({});
        terminal.Start({kProgram});
        ASSERT_TRUE(terminal.WaitFor("inserire xp"));
        terminal.Signal(signalNumber);
        ProgramEnd end = terminal.WaitForEnd();
        EXPECT_EQ(end.signal, signalNumber);
        EXPECT_TRUE(SameSettings(terminal.settingsBefore(), terminal.SettingsNow())) << signalNumber;
    }
}

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
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    EXPECT_NE(terminal.output().find("\x1b[>31u"), std::string::npos);
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

TEST(PseudoTerminal, KittyCtrlCEndsTheProgramToo) {
    PseudoTerminalOptions options;
    options.speaksKitty = true;
    PseudoTerminal terminal(options);
    terminal.Start({kProgram});
    ASSERT_TRUE(terminal.WaitFor("inserire xp"));
    terminal.Type("\x1b[57442;5u\x1b[99;5u");
    ProgramEnd end = terminal.WaitForEnd();
    EXPECT_EQ(end.signal, SIGINT);
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
