#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/keys.h"
#include "tests/console/memory_console.h"

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::vector<KeyEvent> DecodeAll(const std::string& text) {
    std::vector<KeyEvent> events;
    EXPECT_EQ(DecodeTerminalInput(Bytes(text), true, events), text.size());
    return events;
}

// Key codes as WaitKey hands them out for the decoded events.
class DecodedKeysTest : public MemoryConsoleTest {
protected:
    std::vector<int> Codes(const std::string& text) {
        KeyboardState = {};
        StartConsole();
        for (const KeyEvent& event : DecodeAll(text)) device.Press(event);
        std::vector<int> codes;
        uint8_t key = 0;
        while (WaitKeyUnlessEnded(key)) codes.push_back(key);
        return codes;
    }
};

struct KeyCase {
    const char* bytes;
    std::vector<int> codes;
};

// xterm's sequences for every key the translation table knows, with Shift, Ctrl and Alt.
const KeyCase kXtermKeys[] = {
    {"\x1bOP", {0, 0x3B}}, {"\x1bOQ", {0, 0x3C}}, {"\x1bOR", {0, 0x3D}}, {"\x1bOS", {0, 0x3E}},
    {"\x1b[15~", {0, 0x3F}}, {"\x1b[17~", {0, 0x40}}, {"\x1b[18~", {0, 0x41}},
    {"\x1b[19~", {0, 0x42}}, {"\x1b[20~", {0, 0x43}}, {"\x1b[21~", {0, 0x44}},
    {"\x1b[23~", {0, 0x85}}, {"\x1b[24~", {0, 0x86}}, {"\x1b[11~", {0, 0x3B}},
    {"\x1b[1;2P", {0, 0x54}}, {"\x1b[1;5P", {0, 0x5E}}, {"\x1b[1;3P", {0, 0x68}},
    {"\x1b[1;2S", {0, 0x57}}, {"\x1b[21;2~", {0, 0x5D}}, {"\x1b[21;5~", {0, 0x67}},
    {"\x1b[21;3~", {0, 0x71}}, {"\x1b[23;2~", {0, 0x87}}, {"\x1b[24;2~", {0, 0x88}},
    {"\x1b[23;5~", {0, 0x89}}, {"\x1b[24;5~", {0, 0x8A}}, {"\x1b[23;3~", {0, 0x8B}},
    {"\x1b[24;3~", {0, 0x8C}}, {"\x1b[24;7~", {0, 0x8C}},
    {"\x1b[A", {0, 0x48}}, {"\x1b[B", {0, 0x50}}, {"\x1b[C", {0, 0x4D}}, {"\x1b[D", {0, 0x4B}},
    {"\x1bOA", {0, 0x48}}, {"\x1b[H", {0, 0x47}}, {"\x1b[F", {0, 0x4F}}, {"\x1bOH", {0, 0x47}},
    {"\x1b[1~", {0, 0x47}}, {"\x1b[4~", {0, 0x4F}}, {"\x1b[7~", {0, 0x47}}, {"\x1b[8~", {0, 0x4F}},
    {"\x1b[2~", {0, 0x52}}, {"\x1b[3~", {0, 0x53}}, {"\x1b[5~", {0, 0x49}}, {"\x1b[6~", {0, 0x51}},
    {"\x1b[1;5H", {0, 0x77}}, {"\x1b[1;5A", {0, 0x8D}}, {"\x1b[5;5~", {0, 0x84}},
    {"\x1b[1;5D", {0, 0x73}}, {"\x1b[1;5C", {0, 0x74}}, {"\x1b[1;5F", {0, 0x75}},
    {"\x1b[1;5B", {0, 0x91}}, {"\x1b[6;5~", {0, 0x76}}, {"\x1b[2;5~", {0, 0x92}},
    {"\x1b[3;5~", {0, 0x93}}, {"\x1b[1;5E", {0, 0x8F}},
    {"\x1b[1;3H", {0, 0x97}}, {"\x1b[1;3A", {0, 0x98}}, {"\x1b[5;3~", {0, 0x99}},
    {"\x1b[1;3D", {0, 0x9B}}, {"\x1b[1;3C", {0, 0x9D}}, {"\x1b[1;3F", {0, 0x9F}},
    {"\x1b[1;3B", {0, 0xA0}}, {"\x1b[6;3~", {0, 0xA1}}, {"\x1b[2;3~", {0, 0xA2}},
    {"\x1b[3;3~", {0, 0xA3}}, {"\x1b\x1b[A", {0, 0x98}}, {"\x1b[1;2A", {0, 0x48}},
    // Esc as an Alt prefix: the key's scan code or the Alt row.
    {"\x1bq", {0, 0x10}}, {"\x1bQ", {0, 0x10}}, {"\x1b" "1", {0, 0x78}}, {"\x1b-", {0, 0x82}},
    {"\x1b=", {0, 0x83}}, {"\x1b\r", {13}}, {"\x1bOq", {'1'}},
    // Plain keys and control codes.
    {"a", {'a'}}, {"A", {'A'}}, {"~", {'~'}}, {" ", {' '}}, {"\r", {13}}, {"\t", {9}},
    {"\x7f", {8}}, {"\x08", {8}}, {"\x01", {1}}, {"\x19", {25}}, {"\x1a", {26}}, {"\x13", {19}},
    {"\x1c", {0x1C}}, {"\x00", {0, 0x03}}, {"\x1b[Z", {9}},
    {"\xc3\xa9", {0xE9}}, {"\xe2\x82\xac", {'?'}}, {"\xc2\x85", {'?'}},
    // Esc alone, and twice.
    {"\x1b", {27}}, {"\x1b\x1b", {27, 27}},
};

TEST_F(DecodedKeysTest, XtermSequencesGiveTheConsoleKeyCodes) {
    for (const KeyCase& c : kXtermKeys) {
        std::string bytes = c.bytes[0] == 0 ? std::string(1, '\0') : std::string(c.bytes);
        EXPECT_EQ(Codes(bytes), c.codes) << "bytes: " << testing::PrintToString(bytes);
    }
}

const KeyCase kKittyKeys[] = {
    // Alt held, keypad 6 and 5 pressed and released, Alt released: the letter A.
    {"\x1b[57443;3u\x1b[57405;3u\x1b[57405;3:3u\x1b[57404;3u\x1b[57404;3:3u\x1b[57443;1:3u", {65}},
    {"\x1b[57449;3u\x1b[57400;3u\x1b[57399;3u\x1b[57399;3u\x1b[57449;1:3u", {100}},
    {"\x1b[97u\x1b[97;1:3u", {'a'}},
    {"\x1b[97:65;2;65u\x1b[97:65;2:3u", {'A'}},
    {"\x1b[97;2u", {'A'}}, {"\x1b[49:33;2u", {'!'}}, {"\x1b[49;2u", {'!'}},
    {"\x1b[233;1;233u", {0xE9}},
    {"\x1b[13u\x1b[13;1:3u", {13}}, {"\x1b[27u", {27}}, {"\x1b[127u", {8}}, {"\x1b[9u", {9}},
    {"\x1b[9;5u", {0, 0x94}}, {"\x1b[113;3u", {0, 0x10}}, {"\x1b[121;5u", {25}},
    {"\x1b[57410u", {0, 0x35}}, {"\x1b[57411;5u", {0, 0x96}}, {"\x1b[57412;5u", {0, 0x8E}},
    {"\x1b[57414u", {13}}, {"\x1b[57415u", {'='}}, {"\x1b[57427;5u", {0, 0x8F}}, {"\x1b[57405u", {'6'}}, {"\x1b[57417u", {0, 0x4B}},
    {"\x1b[57441;2u\x1b[57441;1:3u\x1b[57442;5u\x1b[57442;1:3u\x1b[57358u\x1b[57360u", {}},
    {"\x1b[13~", {0, 0x3D}}, {"\x1b[1;5P", {0, 0x5E}}, {"\x1b[57376u", {}},
    {"\x1b[A\x1b[1;1:3A", {0, 0x48}}, {"\x1b[97;1:2u", {'a'}},
    // xterm's other form for modified keys.
    {"\x1b[27;5;105~", {9}}, {"\x1b[27;2;13~", {13}},
};

TEST_F(DecodedKeysTest, KittySequencesIncludingReleasesAndKeypadDigits) {
    for (const KeyCase& c : kKittyKeys) {
        EXPECT_EQ(Codes(c.bytes), c.codes) << "bytes: " << testing::PrintToString(std::string(c.bytes));
    }
}

TEST(KeyDecoder, KittyReportsReleaseAsKeyUp) {
    auto events = DecodeAll("\x1b[57405;3u\x1b[57405;3:3u");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].keyDown);
    EXPECT_FALSE(events[1].keyDown);
    EXPECT_EQ(events[0].virtualKey, VK_NUMPAD0 + 6);
    EXPECT_EQ(events[0].scanCode, 0x4D);
    EXPECT_EQ(events[0].character, '6');
    EXPECT_EQ(events[0].controlState, LEFT_ALT_PRESSED);
}

TEST(KeyDecoder, LoneEscWaitsForWhatMayFollowUnlessFinal) {
    std::vector<KeyEvent> events;
    EXPECT_EQ(DecodeTerminalInput(Bytes("a\x1b"), false, events), 1u);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(DecodeTerminalInput(Bytes("\x1b"), true, events), 1u);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].virtualKey, VK_ESCAPE);
    EXPECT_EQ(events[1].character, 27);
}

// Every sequence split at every pair of points into three reads decodes as when it came in
// one, garbage and overlong sequences included.
TEST(KeyDecoder, SequencesSplitIntoReadsDecodeAsWhole) {
    const std::string inputs[] = {"\x1b[1;5A", "\x1b[24;3~", "\x1bOP", "\x1b[57405;3:3u", "\x1bq",
                                  "\xe2\x82\xac", "\x1b\x1b[B", "x\x1b[97:65;2;65uy", "\x1b[1\x03z",
                                  "\x1b[" + std::string(70, '1') + "Az", "\x1b\x1b", "\x1bO", "\xc3\x1b[C"};
    for (const std::string& whole : inputs) {
        const std::vector<KeyEvent> expected = DecodeAll(whole);
        for (size_t first = 1; first < whole.size(); ++first) {
            for (size_t second = first; second <= whole.size(); ++second) {
                std::vector<KeyEvent> events;
                std::string pending;
                for (std::string read : {whole.substr(0, first), whole.substr(first, second - first)}) {
                    pending += read;
                    pending.erase(0, DecodeTerminalInput(Bytes(pending), false, events));
                }
                pending += whole.substr(second);
                EXPECT_EQ(DecodeTerminalInput(Bytes(pending), true, events), pending.size());
                EXPECT_TRUE(events == expected) << testing::PrintToString(whole) << " split " << first << "," << second;
            }
        }
    }
}

TEST(KeyDecoder, GarbageIsDroppedAndDecodingGoesOn) {
    const std::string garbage[] = {
        "\x1b[99999999999999999999999999u", "\x1b[;;;;;;;;;;;;;~", "\x1b[?1;2c", "\x1b[12;40R",
        "\x1b[I", "\x1b[<0;3;4M", "\x1b[1\x03", "\x1b[" + std::string(100, '1') + "A",
        "\x1bOz", "\x80", "\xff", "\xc3", "\xe2\x82", "\xed\xa0\x80", "\x1b[200~", "\x1b[1114112u",
    };
    for (const std::string& bytes : garbage) {
        std::vector<KeyEvent> events;
        EXPECT_EQ(DecodeTerminalInput(Bytes(bytes + "z"), true, events), bytes.size() + 1);
        ASSERT_FALSE(events.empty()) << testing::PrintToString(bytes);
        EXPECT_EQ(events.back().character, 'z') << testing::PrintToString(bytes);
    }
}

TEST(KeyDecoder, ArbitraryBytesNeverStopTheDecoder) {
    uint32_t seed = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        size_t length = 1 + round % 24;
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            const char pool[] = "\x1b[O;:?0123456789~uABPZ\x7f\x80\xc3\xe2";
            bytes.push_back((seed >> 16) % 3 == 0 ? static_cast<char>(seed >> 8) : pool[(seed >> 16) % (sizeof pool - 1)]);
        }
        std::vector<KeyEvent> events;
        size_t used = DecodeTerminalInput(Bytes(bytes), false, events);
        ASSERT_LE(used, bytes.size());
        ASSERT_EQ(DecodeTerminalInput(Bytes(bytes.substr(used)), true, events), bytes.size() - used);
    }
}

TEST(KeyDecoder, StreamInputLineEnds) {
    std::vector<KeyEvent> events;
    bool afterCr = false;
    DecodeStreamInput(Bytes("1\n2\r\n3\r"), afterCr, events);
    DecodeStreamInput(Bytes("\n4\r\r\x1b"), afterCr, events);
    std::string typed;
    for (const KeyEvent& event : events) typed.push_back(static_cast<char>(event.character));
    EXPECT_EQ(typed, "1\r2\r3\r4\r\r\x1b");
    EXPECT_EQ(events[1].virtualKey, VK_RETURN);
}

}  // namespace
