#include "console/console_output.h"
#include "console/console_driver.h"

#include "tests/console/memory_console.h"

namespace {

using ConsoleOutputTest = MemoryConsoleTest;

TEST_F(ConsoleOutputTest, PromptLineAppearsInTheAttributeAndTheCursorMovesToTheNextRow) {
    device.SetCursor(0, 1);
    StartConsole();
    WriteLine("inserire xp");
    EXPECT_EQ(device.RowText(1), "inserire xp");
    for (int column = 0; column < 11; ++column) EXPECT_EQ(device.CellAt(column, 1).attribute, kAttribute);
    EXPECT_EQ(device.cursorColumn(), 0);
    EXPECT_EQ(device.cursorRow(), 2);
    EXPECT_EQ(ConsoleState.cursorRow, 2);
    EXPECT_EQ(OutputText.cursor, 0);
}

TEST_F(ConsoleOutputTest, OutputStartsWhereTheConsoleCursorWas) {
    device.SetCursor(7, 3);
    StartConsole();
    Write("ab");
    EXPECT_EQ(device.RowText(3), "       ab");
    EXPECT_EQ(device.cursorColumn(), 9);
}

TEST_F(ConsoleOutputTest, LongLineWrapsToColumnOneOfTheNextRow) {
    StartConsole();
    Write(std::string(kColumns, 'x') + "yz");
    EXPECT_EQ(device.RowText(0), std::string(kColumns, 'x'));
    EXPECT_EQ(device.RowText(1), "yz");
    EXPECT_EQ(device.cursorColumn(), 2);
    EXPECT_EQ(device.cursorRow(), 1);
}

TEST_F(ConsoleOutputTest, LineEndOnTheLastRowScrollsWithABlankBottomRow) {
    device.SetCursor(0, kRows - 2);
    StartConsole();
    WriteLine("first");
    WriteLine("second");
    EXPECT_EQ(device.scrollCount(), 1);
    EXPECT_EQ(device.RowText(kRows - 3), "first");
    EXPECT_EQ(device.RowText(kRows - 2), "second");
    EXPECT_EQ(device.RowText(kRows - 1), "");
    EXPECT_EQ(device.CellAt(0, kRows - 1).attribute, kAttribute);
    EXPECT_EQ(device.cursorRow(), kRows - 1);
}

TEST_F(ConsoleOutputTest, WrapInTheBottomRightCornerScrollsOnce) {
    device.SetCursor(kColumns - 1, kRows - 1);
    StartConsole();
    Write("!");
    EXPECT_EQ(device.scrollCount(), 1);
    EXPECT_EQ(device.CellAt(kColumns - 1, kRows - 2).character, '!');
    EXPECT_EQ(device.cursorColumn(), 0);
    EXPECT_EQ(device.cursorRow(), kRows - 1);
}

TEST_F(ConsoleOutputTest, ControlCharacters) {
    device.SetCursor(3, 0);
    StartConsole();
    Write("a\nb");  // a lone LF keeps the column
    EXPECT_EQ(device.RowText(0), "   a");
    EXPECT_EQ(device.RowText(1), "    b");
    Write("\rc");  // a lone CR returns to column 1 of the same row
    EXPECT_EQ(device.RowText(1), "c   b");
    Write("\r\b\x07");  // backspace at column 1 and the bell do nothing
    EXPECT_EQ(device.cursorColumn(), 0);
    EXPECT_EQ(device.cursorRow(), 1);
    EXPECT_EQ(device.RowText(1), "c   b");
    Write("\b\t\x01");  // other control codes are cells
    EXPECT_EQ(device.CellAt(0, 1).character, '\t');
    EXPECT_EQ(device.CellAt(1, 1).character, 1);
}

TEST_F(ConsoleOutputTest, BackspaceMovesLeftWithoutErasing) {
    StartConsole();
    Write("abc\b\bX");
    EXPECT_EQ(device.RowText(0), "aXc");
}

TEST_F(ConsoleOutputTest, RemoveWindowRowDropsThatRowAndMovesTheRestUp) {
    StartConsole();
    for (int row = 0; row < kRows - 1; ++row) WriteLine(std::string(1, static_cast<char>('a' + row)));
    RemoveWindowRow(2);
    EXPECT_EQ(device.RowText(0), "a");
    EXPECT_EQ(device.RowText(1), "c");
    EXPECT_EQ(device.RowText(2), "d");
    EXPECT_EQ(device.RowText(3), "");
}

TEST_F(ConsoleOutputTest, TakesOverInputAndOutputButNotReportAndDiagnostic) {
    StartConsole();
    EXPECT_EQ(OutputText.onTransfer, ConsoleWrite);
    EXPECT_EQ(OutputText.onSync, ConsoleWrite);
    EXPECT_EQ(OutputText.onClose, ConsoleClose);
    EXPECT_EQ(OutputText.state, StateOutput);
    EXPECT_EQ(InputText.state, StateInput);
    EXPECT_EQ(InputText.osHandle, MemoryConsoleDevice::kKeyboardHandle);
    EXPECT_NE(ReportText.onTransfer, ConsoleWrite);
    EXPECT_NE(DiagnosticText.onTransfer, ConsoleWrite);
    EXPECT_EQ(ConsoleState.windowRight, kColumns);
    EXPECT_EQ(ConsoleState.windowBottom, kRows);
    EXPECT_EQ(ConsoleState.charAttribute, kAttribute);
}

TEST_F(ConsoleOutputTest, ClosingTheRecordLeavesTheHandleAlone) {
    StartConsole();
    ConsoleClose(OutputText);
    EXPECT_EQ(OutputText.state, StateClosed);
    EXPECT_EQ(OutputText.osHandle, MemoryConsoleDevice::kScreenHandle);
}

TEST_F(ConsoleOutputTest, RedirectedStandardOutputWritesToTheConsoleInstead) {
    device.SetStandardOutputIsConsole(false);
    StartConsole();
    EXPECT_EQ(ConsoleState.outputHandle, MemoryConsoleDevice::kConsoleHandle);
    EXPECT_EQ(OutputText.osHandle, MemoryConsoleDevice::kConsoleHandle);
    WriteLine("inserire yp");
    EXPECT_EQ(device.RowText(0), "inserire yp");
}

TEST_F(ConsoleOutputTest, NoConsoleStopsWithStatusOneAndAMessage) {
    device.SetStandardOutputIsConsole(false);
    device.SetConsoleAvailable(false);
    EXPECT_EXIT(StartConsole(), ::testing::ExitedWithCode(1), "^No way to get the console handle\r\n$");
}

TEST_F(ConsoleOutputTest, UnreadableConsoleStopsWithStatusOneAndAMessage) {
    device.SetStandardOutputIsConsole(false);
    device.SetConsoleInfoReadable(false);
    EXPECT_EXIT(StartConsole(), ::testing::ExitedWithCode(1),
                "^No way to get console screen buffer info\r\n$");
}

TEST_F(ConsoleOutputTest, ExitHandlerHandsTheConsoleBackAndChainsToItsPredecessor) {
    static bool predecessorRan;
    predecessorRan = false;
    ExitHandlerChain = [] { predecessorRan = true; };
    StartConsole();
    EXPECT_TRUE(device.sessionActive());
    ExitHandler handler = ExitHandlerChain;
    ExitHandlerChain = nullptr;
    handler();
    EXPECT_FALSE(device.sessionActive());
    ASSERT_NE(ExitHandlerChain, nullptr);
    ExitHandlerChain();
    EXPECT_TRUE(predecessorRan);
}

MemoryConsoleDevice* exitingDevice;

TEST_F(ConsoleOutputTest, ProcessExitHandsTheConsoleBack) {
    exitingDevice = &device;
    // Runs after the console's handler; the child reports what it saw through its status.
    ExitHandlerChain = [] { _exit(exitingDevice->sessionActive() ? 3 : 4); };
    StartConsole();
    EXPECT_EXIT(ProcessExit(), ::testing::ExitedWithCode(4), "");
}

}  // namespace

namespace {

// ---- A screen whose size changes: wrapping and scrolling follow it, the position stays inside.

using ResizedConsoleTest = MemoryConsoleTest;

TEST_F(ResizedConsoleTest, GrownScreenScrollsOnlyAtItsNewBottomRow) {
    device.SetCursor(0, kRows - 1);
    StartConsole();
    device.Resize(30, kRows + 3);
    for (const char* line : {"a", "b", "c", "d"}) WriteLine(line);
    EXPECT_EQ(device.scrollCount(), 1);
    EXPECT_EQ(device.RowText(kRows + 1), "d");
    EXPECT_EQ(device.cursorRow(), kRows + 2);
    Write(std::string(25, 'w'));  // wraps at the new width
    EXPECT_EQ(device.RowText(kRows + 2), std::string(25, 'w'));
    EXPECT_EQ(ConsoleState.windowRight, 30);
}

TEST_F(ResizedConsoleTest, ShrunkScreenKeepsTheRowsUpToTheCursorAndWritesBelowThem) {
    StartConsole();
    for (const char* line : {"one", "two", "three"}) WriteLine(line);
    device.Resize(10, 2);  // the cursor was on row 3: rows 0 and 1 go
    EXPECT_EQ(device.RowText(0), "three");
    Write("four");
    EXPECT_EQ(device.RowText(0), "three");
    EXPECT_EQ(device.RowText(1), "four");
    WriteLine("");
    EXPECT_EQ(device.RowText(0), "four");
    EXPECT_EQ(device.cursorRow(), 1);
}

TEST_F(ResizedConsoleTest, ColumnBeyondTheNewWidthIsBroughtInside) {
    device.SetCursor(15, 1);
    StartConsole();
    device.Resize(10, kRows);
    Write("xy");
    EXPECT_EQ(device.CellAt(9, 1).character, 'x');
    EXPECT_EQ(device.CellAt(0, 2).character, 'y');
}

}  // namespace
