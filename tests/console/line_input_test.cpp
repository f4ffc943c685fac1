#include "console/line_input.h"

#include "console/key_table.h"
#include "console/keys.h"
#include "tests/console/memory_console.h"

namespace {

class LineInputTest : public MemoryConsoleTest {
protected:
    void Press(NamedKey key, uint32_t state = 0) { device.Press(NamedKeyEvent(key, state)); }
    void Ctrl(char letter) { device.Press(CharacterKeyEvent(static_cast<uint8_t>(letter), LEFT_CTRL_PRESSED)); }
    std::string ReadLine() {
        ConsoleLineInput(InputText);
        return DeliveredLine();
    }
};

TEST_F(LineInputTest, DigitsAndEnterAreDeliveredWithCrLfAndEchoed) {
    device.SetCursor(0, 1);
    StartConsole();
    device.Type("12\r");
    EXPECT_EQ(ReadLine(), "12\r\n");
    EXPECT_EQ(InputText.fillEnd, 4);
    EXPECT_EQ(InputText.cursor, 0);
    EXPECT_EQ(device.RowText(1), "12");
    EXPECT_EQ(device.cursorColumn(), 0);
    EXPECT_EQ(device.cursorRow(), 2);
}

TEST_F(LineInputTest, EnterAloneGivesCarriageReturnToReadChar) {
    StartConsole();
    device.Type("\r");
    EXPECT_EQ(ReadChar(InputText), 13);
    EXPECT_EQ(DeliveredLine(), "\r\n");
}

TEST_F(LineInputTest, EchoStartsAfterThePrompt) {
    StartConsole();
    WriteText(0, OutputText, "? ");
    ConsoleWriteNow();
    device.Type("5\r");
    EXPECT_EQ(ReadLine(), "5\r\n");
    EXPECT_EQ(device.RowText(0), "? 5");
}

TEST_F(LineInputTest, TypingAfterMovingLeftOverwrites) {
    StartConsole();
    device.Type("abc");
    Press(NamedKey::Left);
    Press(NamedKey::Left);
    device.Type("x\r");
    EXPECT_EQ(ReadLine(), "axc\r\n");
    EXPECT_EQ(device.RowText(0), "axc");
}

TEST_F(LineInputTest, BackspaceWorksOnlyAtTheEndOfTheLine) {
    StartConsole();
    device.Type("abc");
    Press(NamedKey::Left);
    Press(NamedKey::Backspace);
    Ctrl('s');
    device.Type("\r");
    EXPECT_EQ(ReadLine(), "abc\r\n");

    device.Type("abc");
    Press(NamedKey::Backspace);
    Ctrl('s');
    device.Type("\r");
    EXPECT_EQ(ReadLine(), "a\r\n");
    EXPECT_EQ(device.RowText(1), "a");
}

TEST_F(LineInputTest, HomeEndAndRightMoveOverTheTypedText) {
    StartConsole();
    device.Type("abcd");
    Press(NamedKey::Home);
    device.Type("X");
    Press(NamedKey::Right);
    device.Type("Y");
    Press(NamedKey::End);
    Press(NamedKey::Right);  // nothing beyond the end
    device.Type("Z\r");
    EXPECT_EQ(ReadLine(), "XbYdZ\r\n");
    EXPECT_EQ(device.RowText(0), "XbYdZ");
}

TEST_F(LineInputTest, EscapeAndCtrlYEraseTheWholeLineButNotThePrompt) {
    StartConsole();
    WriteText(0, OutputText, "xp: ");
    ConsoleWriteNow();
    device.Type("abc");
    Press(NamedKey::Left);
    Press(NamedKey::Left);
    Press(NamedKey::Escape);
    device.Type("7");
    Ctrl('y');
    device.Type("9\r");
    EXPECT_EQ(ReadLine(), "9\r\n");
    EXPECT_EQ(device.RowText(0), "xp: 9");
}

TEST_F(LineInputTest, LineHoldsAtMost254Characters) {
    StartConsole();
    device.Type(std::string(300, 'a') + "\r");
    std::string line = ReadLine();
    EXPECT_EQ(line, std::string(254, 'a') + "\r\n");
    // 254 echoed characters fill 12 rows of 20 and 14 more; the screen of 5 rows scrolled.
    EXPECT_EQ(device.RowText(kRows - 2), std::string(14, 'a'));
    EXPECT_EQ(device.cursorRow(), kRows - 1);
}

TEST_F(LineInputTest, TabAndUnlistedControlCodesAreStoredCtrlZIsIgnored) {
    StartConsole();
    device.Type("\t");
    Ctrl('z');
    Ctrl('b');
    device.Type("\r");
    EXPECT_EQ(ReadLine(), "\t\x02\r\n");
}

TEST_F(LineInputTest, OtherExtendedKeysAreIgnored) {
    StartConsole();
    device.Type("1");
    Press(NamedKey::F1);
    Press(NamedKey::Up);
    Press(NamedKey::Delete);
    device.Type("2\r");
    EXPECT_EQ(ReadLine(), "12\r\n");
}

TEST_F(LineInputTest, ReadIntegerAndSkipRestOfLineThroughTheEditor) {
    StartConsole();
    device.Type("\r  -5 34\r7\r");
    EXPECT_EQ(ReadInteger(InputText), -5);
    SkipRestOfLine(InputText);
    EXPECT_EQ(ReadInteger(InputText), 7);
    EXPECT_EQ(pendingIoError, 0);
    EXPECT_EQ(device.RowText(1), "  -5 34");
}

TEST_F(LineInputTest, EndOfInputFinishesThePartLineThenComesBackEmpty) {
    StartConsole();
    device.Type("42");
    EXPECT_EQ(ReadLine(), "42\r\n");
    EXPECT_EQ(ReadLine(), "");
    EXPECT_EQ(ReadChar(InputText), 26);
    EXPECT_EQ(ReadInteger(InputText), 0);
    EXPECT_EQ(pendingIoError, 106);
}

}  // namespace
