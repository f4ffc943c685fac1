#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "runtime/exit.h"
#include "runtime/text_stream.h"

namespace {

class TextStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        pendingIoError = 0;
        signal(SIGPIPE, SIG_IGN);  // as the runtime's start-up does
    }
    void TearDown() override {
        for (int fd : fds_) close(fd);
    }

    // A record reading the given bytes through the file driver, then end of input.
    void InputFrom(const std::string& bytes) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        ASSERT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(ends[1]);
        fds_.push_back(ends[0]);
        BindStandardText(input_, StateInput, static_cast<uint32_t>(ends[0]));
    }

    // A record writing through the file driver into a pipe whose other end is `reader_`.
    void OutputToPipe() {
        int ends[2];
        ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
        fds_.push_back(ends[0]);
        fds_.push_back(ends[1]);
        reader_ = ends[0];
        BindStandardText(output_, StateOutput, static_cast<uint32_t>(ends[1]));
    }

    std::string Drain() {
        std::string got;
        char buffer[4096];
        ssize_t n;
        while ((n = read(reader_, buffer, sizeof buffer)) > 0) got.append(buffer, n);
        return got;
    }

    TextStream input_{};
    TextStream output_{};
    int reader_ = -1;
    std::vector<int> fds_;
};

TEST_F(TextStreamTest, ReadsIntegersLineByLine) {
    InputFrom("12\r\n  -5  \r\n12 34\r\n+7\n");
    EXPECT_EQ(ReadInteger(input_), 12);
    EXPECT_EQ(input_.data[input_.cursor], '\r');  // stands on the blank that ended the token
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadInteger(input_), -5);
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadInteger(input_), 12);
    SkipRestOfLine(input_);  // throws 34 away
    EXPECT_EQ(ReadInteger(input_), 7);
    EXPECT_EQ(pendingIoError, 0);
}

TEST_F(TextStreamTest, EmptyLinesBeforeANumberAreSkipped) {
    InputFrom("\r\n\n   \r\n42\r\n");
    EXPECT_EQ(ReadInteger(input_), 42);
    EXPECT_EQ(pendingIoError, 0);
}

TEST_F(TextStreamTest, BadOrMissingNumbersLeave106AndTheRestOfTheLine) {
    InputFrom("12abc\r\nxyz");
    EXPECT_EQ(ReadInteger(input_), 0);
    EXPECT_EQ(pendingIoError, 106);
    SkipRestOfLine(input_);  // does nothing while the failure is pending
    EXPECT_EQ(ReadChar(input_), 0);
    pendingIoError = 0;
    EXPECT_EQ(ReadChar(input_), '\r');
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadInteger(input_), 0);
    EXPECT_EQ(pendingIoError, 106);
    pendingIoError = 0;
    // End of input before any digit.
    EXPECT_EQ(ReadInteger(input_), 0);
    EXPECT_EQ(pendingIoError, 106);
}

TEST_F(TextStreamTest, LongTokenStopsAfter255Characters) {
    InputFrom(std::string(300, '1') + "\r\n");
    EXPECT_EQ(ReadInteger(input_), 0);
    EXPECT_EQ(pendingIoError, 106);
    pendingIoError = 0;
    EXPECT_EQ(ReadChar(input_), '1');  // the 256th character is still there
    // 255 characters cross the 256-byte buffer: the token is joined across refills.
    InputFrom(std::string(250, ' ') + "123456789\r\n");
    EXPECT_EQ(ReadInteger(input_), 123456789);
}

TEST_F(TextStreamTest, ReadCharSeesLineEndsAndEndOfInput) {
    InputFrom("\r\nx");
    EXPECT_EQ(ReadChar(input_), 13);
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadChar(input_), 'x');
    EXPECT_EQ(ReadChar(input_), 26);
    EXPECT_EQ(ReadChar(input_), 26);
}

TEST_F(TextStreamTest, SkipRestOfLineEndsAtLfCrLfOrLoneCr) {
    InputFrom("a\rb\nc\r\nd");
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadChar(input_), 'b');
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadChar(input_), 'c');
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadChar(input_), 'd');
    SkipRestOfLine(input_);
    EXPECT_EQ(pendingIoError, 0);
}

TEST_F(TextStreamTest, SkipRestOfLineOnAnEmptyBufferTakesTheNextLine) {
    InputFrom("first line\r\nsecond\r\n");
    SkipRestOfLine(input_);
    EXPECT_EQ(ReadChar(input_), 's');
}

TEST_F(TextStreamTest, WritesFieldWidthsAndHandsOverEachLine) {
    OutputToPipe();
    WriteText(5, output_, "ab");
    WriteText(0, output_, "ab");
    WriteText(-3, output_, "ab");
    EXPECT_EQ(Drain(), "");  // nothing leaves before the line ends
    WriteLineEnd(output_);
    EXPECT_EQ(Drain(), "   ababab\r\n");
    WriteText(600, output_, "x");  // padding longer than the buffer
    WriteLineEnd(output_);
    EXPECT_EQ(Drain(), std::string(599, ' ') + "x\r\n");
}

TEST_F(TextStreamTest, FullBuffersGoOutWithoutALineEnd) {
    OutputToPipe();
    const std::string chunk(200, 'q');
    WriteText(0, output_, chunk);
    WriteText(0, output_, chunk);
    EXPECT_EQ(Drain(), std::string(256, 'q'));
    EXPECT_EQ(output_.cursor, 144);
}

TEST_F(TextStreamTest, WrongDirectionAndClosedRecordsSetTheirNumbers) {
    InputFrom("1\n");
    OutputToPipe();
    WriteText(0, input_, "x");
    EXPECT_EQ(pendingIoError, 105);
    pendingIoError = 0;
    ReadInteger(output_);
    EXPECT_EQ(pendingIoError, 104);
    pendingIoError = 0;
    SkipRestOfLine(output_);
    EXPECT_EQ(pendingIoError, 104);
    pendingIoError = 0;
    TextStream never{};
    ReadChar(never);
    EXPECT_EQ(pendingIoError, 103);
    pendingIoError = 0;
    WriteLineEnd(never);
    EXPECT_EQ(pendingIoError, 103);
    pendingIoError = 0;
    CloseText(never);
    EXPECT_EQ(pendingIoError, 103);
    pendingIoError = 0;
    never.state = 0x1234;
    OpenText(never, StateInput);
    EXPECT_EQ(pendingIoError, 102);
    pendingIoError = 0;
    BindStandardText(never, StateClosed, 1);
    EXPECT_EQ(pendingIoError, 102);
    EXPECT_EQ(never.state, StateClosed);
}

TEST_F(TextStreamTest, WritingToAClosedPipeIs101) {
    OutputToPipe();
    close(reader_);
    fds_.erase(fds_.begin());
    WriteText(0, output_, "lost");
    WriteLineEnd(output_);
    EXPECT_EQ(pendingIoError, 101);
    EXPECT_EQ(output_.cursor, 0);
}

TEST_F(TextStreamTest, ReadFailureIsMappedFromTheSystemError) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    fds_.push_back(ends[0]);
    fds_.push_back(ends[1]);
    // Reading the writing end of a pipe fails with a bad handle (6).
    BindStandardText(input_, StateInput, static_cast<uint32_t>(ends[1]));
    EXPECT_EQ(ReadChar(input_), 26);
    EXPECT_EQ(pendingIoError, 6);
}

TEST_F(TextStreamTest, MapOsErrorRanges) {
    const struct {
        int32_t os;
        uint16_t pending;
    } cases[] = {{19, 150}, {31, 162}, {32, 5}, {18, 18}, {109, 109}, {70000, 70000 & 0xFFFF}};
    for (const auto& c : cases) {
        lastOsError = c.os;
        MapOsError();
        EXPECT_EQ(pendingIoError, c.pending) << c.os;
        EXPECT_EQ(lastOsError, 0);
    }
}

TEST_F(TextStreamTest, OpensNamedFilesForWritingAndReading) {
    char path[] = "/tmp/textstreamXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    TextStream file;
    InitTextRecord(file, path);
    OpenForOutput(file);
    ASSERT_EQ(pendingIoError, 0);
    WriteText(0, file, "-123");
    WriteLineEnd(file);
    CloseText(file);
    EXPECT_EQ(file.state, StateClosed);
    EXPECT_EQ(file.osHandle, kNoHandle);
    OpenForInput(file);
    EXPECT_EQ(ReadInteger(file), -123);
    CloseText(file);
    unlink(path);
    OpenForInput(file);
    EXPECT_EQ(pendingIoError, 2);  // file not found
    EXPECT_EQ(file.state, StateClosed);
}

TEST(TextStreamDeathTest, PendingErrorsBecomeRunTimeErrors) {
    EXPECT_EXIT(
        {
            pendingIoError = 105;
            CheckPendingIoError();
        },
        ::testing::ExitedWithCode(105), "");
}

}  // namespace
