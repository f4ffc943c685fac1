#include "console/terminal_output.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>

#include "console/console.h"
#include "console/terminal_device.h"
#include "console/terminal_replies.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

std::string Glyph(uint8_t c) {
    std::string out;
    AppendGlyph(out, c);
    return out;
}

TEST(TerminalOutput, GlyphsOfEightBitCharacters) {
    EXPECT_EQ(Glyph('A'), "A");
    EXPECT_EQ(Glyph('\t'), "\u25CB");
    EXPECT_EQ(Glyph(1), "\u263A");
    EXPECT_EQ(Glyph(0), " ");
    EXPECT_EQ(Glyph(0x1B), "\u2190");
    EXPECT_EQ(Glyph(0x7F), "\u2302");
    EXPECT_EQ(Glyph(0x9B), "?");
    EXPECT_EQ(Glyph(0xE9), "\u00E9");
    EXPECT_EQ(Glyph(0xFF), "\u00FF");
}

TEST(TerminalOutput, AttributesBecomeColours) {
    std::string out;
    AppendAttribute(out, 0x07);
    EXPECT_EQ(out, "\x1b[0m");
    out.clear();
    AppendAttribute(out, 0x1E);  // bright yellow on blue
    EXPECT_EQ(out, "\x1b[0;93;44m");
    out.clear();
    AppendAttribute(out, 0xC1);  // blue on bright red
    EXPECT_EQ(out, "\x1b[0;34;101m");
}

TEST(TerminalOutput, CellsInARowNeedOneCursorMove) {
    TerminalScreenWriter writer;
    writer.WriteCell(2, 4, 'a', 0x07, 80);
    writer.WriteCell(3, 4, 'b', 0x07, 80);
    writer.WriteCell(0, 5, 'c', 0x07, 80);
    writer.MoveCursor(1, 5);
    EXPECT_EQ(writer.bytes(), "\x1b[5;3H\x1b[0mab\x1b[6;1Hc");
}

TEST(TerminalOutput, AfterTheLastColumnTheNextCellIsAddressedAgain) {
    TerminalScreenWriter writer;
    writer.WriteCell(79, 0, 'a', 0x07, 80);
    writer.WriteCell(0, 1, 'b', 0x07, 80);
    EXPECT_EQ(writer.bytes(), "\x1b[1;80H\x1b[0ma\x1b[2;1Hb");
}

TEST(TerminalOutput, ScrollingTheWholeScreenIsALineFeedOnTheBottomRow) {
    TerminalScreenWriter writer;
    writer.ScrollUp(0, 23, 24, 0x07);
    EXPECT_EQ(writer.bytes(), "\x1b[0m\x1b[24;1H\n");
    writer.Sent();
    writer.ScrollUp(2, 23, 24, 0x07);
    EXPECT_EQ(writer.bytes(), "\x1b[3;24r\x1b[24;1H\n\x1b[r");
}

TEST(TerminalOutput, EachBatchStartsBySettingThePosition) {
    TerminalScreenWriter writer;
    writer.WriteCell(0, 0, 'a', 0x07, 80);
    writer.Sent();
    writer.WriteCell(1, 0, 'b', 0x07, 80);
    writer.WriteCell(2, 0, 'c', 0x1E, 80);
    EXPECT_EQ(writer.bytes(), "\x1b[1;2Hb\x1b[0;93;44mc");
}

TEST(TerminalOutput, LineEndOnTheBottomRowIsALineFeedAndACarriageReturn) {
    TerminalScreenWriter writer;
    writer.WriteCell(79, 23, 'a', 0x07, 80);  // the terminal now waits to wrap
    writer.ScrollUp(0, 23, 24, 0x07);
    writer.MoveCursor(0, 23);
    EXPECT_EQ(writer.bytes(), "\x1b[24;80H\x1b[0ma\n\r");
}

TEST(TerminalReplies, AnswersAreTakenOutTypedKeysStay) {
    TerminalReplies replies;
    std::string bytes = "a\x1b[12;40Rb\x1b[?1u\x1b[A\x1b[?62;22cc";
    TakeTerminalReplies(bytes, replies);
    EXPECT_EQ(bytes, "ab\x1b[Ac");
    EXPECT_TRUE(replies.cursorReported);
    EXPECT_EQ(replies.cursorRow, 11);
    EXPECT_EQ(replies.cursorColumn, 39);
    EXPECT_TRUE(replies.keyboardFlagsReported);
    EXPECT_TRUE(replies.attributesReported);
}

TEST(TerminalOutput, BelowAPictureTheScreenStartsOnItsFirstRowAndScrollsOnlyThere) {
    TerminalScreenWriter writer;
    writer.SetFirstRow(30);
    writer.MoveCursor(3, 2);
    writer.ScrollUp(0, 7, 8, 0x07);
    EXPECT_EQ(writer.bytes(), "\x1b[33;4H\x1b[0m\x1b[31;38r\x1b[38;1H\n\x1b[r");
    writer.Sent();
    writer.Redraw(ScreenModel(80, 8, 0x07));
    EXPECT_EQ(writer.bytes(), "\x1b[0m\x1b[31;1H\x1b[J\x1b[31;1H");  // the picture's rows stay
}

TEST(TerminalReplies, PictureAnswersSayWhatTheTerminalShows) {
    struct Case { const char* bytes; bool kitty; bool sixel; int32_t cellWidth; int32_t cellHeight; };
    for (const Case& c : {Case{"\x1b_Gi=31;OK\x1b\\\x1b[6;18;9t\x1b[?62;c", true, false, 9, 18},
                          Case{"\x1b_Gi=31;ENOENT:no\x1b\\\x1b[?63;1;4c", false, true, 0, 0},
                          Case{"\x1b[?64;14;44c", false, false, 0, 0},
                          Case{"\x1b[6;99999999999;7t\x1b[?4c", false, true, 0, 0}}) {
        TerminalReplies replies;
        std::string bytes = c.bytes;
        TakeTerminalReplies(bytes, replies);
        EXPECT_TRUE(replies.attributesReported) << c.bytes;
        EXPECT_EQ(replies.kittyGraphics, c.kitty) << c.bytes;
        EXPECT_EQ(replies.sixel, c.sixel) << c.bytes;  // 4 only among the attributes, not in 14 or 44
        EXPECT_EQ(replies.cellWidth, c.cellWidth) << c.bytes;
        EXPECT_EQ(replies.cellHeight, c.cellHeight) << c.bytes;
    }
}

// Escape typed, then the attributes arrive, then "[5;5R" is typed: taking the answer out must not
// make a cursor report of the keys around it, however the bytes were split into reads.
TEST(TerminalReplies, KeysAroundAnAnswerTakenOutStayKeys) {
    for (size_t firstRead : {size_t{6}, size_t{11}}) {
        const std::string input = "\x1b\x1b[?1c[5;5R";
        TerminalReplies replies;
        std::string bytes = input.substr(0, firstRead);
        TakeTerminalReplies(bytes, replies);
        bytes += input.substr(firstRead);
        TakeTerminalReplies(bytes, replies);
        EXPECT_EQ(bytes, "\x1b[5;5R");
        EXPECT_TRUE(replies.attributesReported);
        EXPECT_FALSE(replies.cursorReported);
    }
}

TEST(TerminalReplies, AnAnswerCutOffStaysForTheNextRead) {
    TerminalReplies replies;
    std::string bytes = "x\x1b[3;";
    TakeTerminalReplies(bytes, replies);
    EXPECT_EQ(bytes, "x\x1b[3;");
    EXPECT_FALSE(replies.cursorReported);
    bytes += "7R";
    TakeTerminalReplies(bytes, replies);
    EXPECT_EQ(bytes, "x");
    EXPECT_EQ(replies.cursorRow, 2);
    EXPECT_EQ(replies.cursorColumn, 6);
}

// The terminal device writes into a packet socket, so every write call arrives as one packet.
class TerminalDeviceOnSocket : public ::testing::Test {
protected:
    int fds[2] = {-1, -1};
    int nullInput = -1;

    void SetUp() override {
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
        nullInput = open("/dev/null", O_RDONLY);
        osOutputHandle = static_cast<uint32_t>(fds[0]);
        osInputHandle = static_cast<uint32_t>(nullInput);
        BindStandardText(DiagnosticText, StateOutput, 2);
        pendingIoError = 0;
    }
    void TearDown() override {
        close(fds[0]);
        close(fds[1]);
        close(nullInput);
    }
    std::vector<std::string> Packets() {
        std::vector<std::string> packets;
        char buffer[65536];
        ssize_t n;
        while ((n = recv(fds[1], buffer, sizeof buffer, MSG_DONTWAIT)) > 0) packets.emplace_back(buffer, n);
        return packets;
    }
};

TEST_F(TerminalDeviceOnSocket, OneWritePerConsoleWrite) {
    TerminalDevice device(fds[0], 10, 3);
    UseConsoleDevice(device);
    ConsoleInit();
    WriteText(0, OutputText, "inserire xp");
    WriteLineEnd(OutputText);
    WriteText(0, OutputText, "ok");
    WriteLineEnd(OutputText);
    std::vector<std::string> packets = Packets();
    ASSERT_EQ(packets.size(), 2u);
    // Wraps after ten columns; the line end on the last row scrolls.
    EXPECT_EQ(packets[0], "\x1b[1;1H\x1b[0minserire x\x1b[2;1Hp\x1b[3;1H");
    EXPECT_EQ(packets[1], "\x1b[3;1Hok\n\r");
}

TEST_F(TerminalDeviceOnSocket, RedirectedInputIsReadAsTypedKeysUntilItEnds) {
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    ASSERT_EQ(write(input[1], "12\r\nn", 5), 5);
    close(input[1]);
    osInputHandle = static_cast<uint32_t>(input[0]);
    TerminalDevice device(fds[0], 10, 3);
    UseConsoleDevice(device);
    ConsoleInit();
    EXPECT_EQ(ReadInteger(InputText), 12);
    SkipRestOfLine(InputText);
    EXPECT_EQ(ReadChar(InputText), 'n');
    SkipRestOfLine(InputText);
    EXPECT_EQ(ReadChar(InputText), 26);
    EXPECT_EQ(pendingIoError, 0);
    close(input[0]);
}

}  // namespace
