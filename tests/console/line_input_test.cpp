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

TEST_F(LineInputTest, BackspaceStepsBackOverAWrappedRowAtAnyWidth) {
    for (int32_t width : {1, kColumns}) {
        device.Resize(width, kRows);
        device.SetCursor(0, 0);
        StartConsole();
        // One row and one character: the second backspace goes back to the first row's end.
        device.Type(std::string(static_cast<size_t>(width) + 1, 'a'));
        Press(NamedKey::Backspace);
        Press(NamedKey::Backspace);
        device.Type("x\r");
        std::string kept = std::string(static_cast<size_t>(width) - 1, 'a') + "x";
        EXPECT_EQ(ReadLine(), kept + "\r\n") << width;
        EXPECT_EQ(device.RowText(0), kept) << width;
        EXPECT_EQ(device.RowText(1), "") << width;
    }
}

TEST_F(LineInputTest, LineHoldsAtMost254CharactersAndEachKeyBeyondRingsTheBell) {
    StartConsole();
    device.Type(std::string(300, 'a') + "\r");
    std::string line = ReadLine();
    EXPECT_EQ(line, std::string(254, 'a') + "\r\n");
    EXPECT_EQ(device.bellCount(), 300 - 254);
    // 254 echoed characters fill 12 rows of 20 and 14 more; the screen of 5 rows scrolled.
    EXPECT_EQ(device.RowText(kRows - 2), std::string(14, 'a'));
    EXPECT_EQ(device.cursorRow(), kRows - 1);
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

// ---- Editing keys: what the line holds when Enter comes, and what row 0 shows.

using Keys = std::vector<KeyEvent>;

Keys Typed(const std::string& text) {
    Keys keys;
    for (char c : text) keys.push_back(c == '\r' ? NamedKeyEvent(NamedKey::Enter, 0) : CharacterKeyEvent(static_cast<uint8_t>(c), 0));
    return keys;
}
KeyEvent Key(NamedKey key) { return NamedKeyEvent(key, 0); }
KeyEvent CtrlKey(char letter) { return CharacterKeyEvent(static_cast<uint8_t>(letter), LEFT_CTRL_PRESSED); }
Keys operator+(Keys a, const Keys& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Keys operator+(Keys a, const KeyEvent& b) { return a + Keys{b}; }

struct EditCase {
    const char* name;
    const char* prompt;
    Keys keys;
    std::string line;
    std::string shown;
};

class LineEditing : public LineInputTest, public testing::WithParamInterface<EditCase> {};

TEST_P(LineEditing, DeliversTheLineAndShowsIt) {
    StartConsole();
    WriteText(0, OutputText, GetParam().prompt);
    ConsoleWriteNow();
    for (const KeyEvent& key : GetParam().keys) device.Press(key);
    EXPECT_EQ(ReadLine(), GetParam().line);
    EXPECT_EQ(device.RowText(0), GetParam().shown);
    EXPECT_FALSE(device.listening());  // keys are listened for only while the line is typed
}

INSTANTIATE_TEST_SUITE_P(
    LineInput, LineEditing,
    testing::Values(
        EditCase{"EchoStartsAfterThePrompt", "? ", Typed("5\r"), "5\r\n", "? 5"},
        EditCase{"TypingAfterMovingLeftOverwrites", "", Typed("abc") + Key(NamedKey::Left) + Key(NamedKey::Left) + Typed("x\r"),
                 "axc\r\n", "axc"},
        EditCase{"HomeEndAndRightMoveOverTheTypedText", "",
                 Typed("abcd") + Key(NamedKey::Home) + Typed("X") + Key(NamedKey::Right) + Typed("Y") + Key(NamedKey::End) +
                     Key(NamedKey::Right) + Typed("Z\r"),
                 "XbYdZ\r\n", "XbYdZ"},
        EditCase{"EscapeAndCtrlYEraseTheWholeLineButNotThePrompt", "xp: ",
                 Typed("abc") + Key(NamedKey::Left) + Key(NamedKey::Left) + Key(NamedKey::Escape) + Typed("7") + CtrlKey('y') +
                     Typed("9\r"),
                 "9\r\n", "xp: 9"},
        EditCase{"TabAndUnlistedControlCodesAreStoredCtrlZIsIgnored", "", Typed("\t") + CtrlKey('z') + CtrlKey('b') + Typed("\r"),
                 "\t\x02\r\n", "\t\x02"},
        EditCase{"OtherExtendedKeysAreIgnored", "",
                 Typed("1") + Key(NamedKey::F1) + Key(NamedKey::Up) + Key(NamedKey::Delete) + Typed("2\r"), "12\r\n", "12"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST_F(LineInputTest, ListensForKeysOnlyWhileTheLineIsTyped) {
    StartConsole();
    device.Type("1\r");
    EXPECT_FALSE(device.listening());
    EXPECT_EQ(ReadLine(), "1\r\n");
    EXPECT_EQ(device.readsWithoutListening(), 0);
    EXPECT_FALSE(device.listening());
}

TEST_F(LineInputTest, EchoFollowsAResizeThatCameBeforeTheLine) {
    device.SetCursor(0, kRows - 1);
    StartConsole();
    device.Resize(kColumns, kRows - 2);  // the cursor's row falls off: two rows go at the top
    device.Type("ab\r");
    EXPECT_EQ(ReadLine(), "ab\r\n");
    EXPECT_EQ(device.RowText(kRows - 4), "ab");
    EXPECT_EQ(device.cursorRow(), kRows - 3);
}

}  // namespace
