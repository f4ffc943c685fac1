#include "console/keyboard.h"

#include <vector>

#include "console/key_table.h"
#include "console/keys.h"
#include "tests/console/memory_console.h"

namespace {

class KeyboardTest : public MemoryConsoleTest {
protected:
    void SetUp() override {
        MemoryConsoleTest::SetUp();
        StartConsole();
    }
    std::vector<int> TakeCodes() {
        std::vector<int> codes;
        uint8_t key = 0;
        while (WaitKeyUnlessEnded(key)) codes.push_back(key);
        return codes;
    }
    void Press(NamedKey key, uint32_t state = 0) { device.Press(NamedKeyEvent(key, state)); }
    void Release(NamedKey key, uint32_t state = 0) { device.Press(NamedKeyEvent(key, state, false)); }
};

using Codes = std::vector<int>;

TEST_F(KeyboardTest, FunctionKeysWithModifiers) {
    Press(NamedKey::F1);
    Press(NamedKey::F1, SHIFT_PRESSED);
    Press(NamedKey::F1, LEFT_CTRL_PRESSED);
    Press(NamedKey::F1, LEFT_ALT_PRESSED);
    Press(NamedKey::F12);
    EXPECT_EQ(TakeCodes(), (Codes{0, 0x3B, 0, 0x54, 0, 0x5E, 0, 0x68, 0, 0x86}));
}

TEST_F(KeyboardTest, AltKeypadDigitsComposeACharacterOnAltRelease) {
    Press(NamedKey::Alt, LEFT_ALT_PRESSED);
    Press(NamedKey::Keypad6, LEFT_ALT_PRESSED);
    Release(NamedKey::Keypad6, LEFT_ALT_PRESSED);
    Press(NamedKey::Keypad5, LEFT_ALT_PRESSED);
    Release(NamedKey::Keypad5, LEFT_ALT_PRESSED);
    EXPECT_FALSE(PollKey());
    Release(NamedKey::Alt);
    EXPECT_EQ(TakeCodes(), (Codes{65}));
    EXPECT_FALSE(KeyboardState.altComposing);
    EXPECT_EQ(KeyboardState.altCode, 0);
}

TEST_F(KeyboardTest, AltKeypadCodeIsTakenModulo256) {
    for (NamedKey digit : {NamedKey::Keypad3, NamedKey::Keypad2, NamedKey::Keypad1}) {
        Press(digit, LEFT_ALT_PRESSED);
    }
    Release(NamedKey::Alt);
    EXPECT_EQ(TakeCodes(), (Codes{321 % 256}));
}

TEST_F(KeyboardTest, ModifierAndLockKeysAloneDeliverNothing) {
    for (NamedKey key : {NamedKey::Shift, NamedKey::Control, NamedKey::CapsLock, NamedKey::NumLock,
                         NamedKey::ScrollLock, NamedKey::Alt}) {
        Press(key);
        Release(key);
    }
    EXPECT_FALSE(PollKey());
    EXPECT_EQ(TakeCodes(), Codes{});
}

TEST_F(KeyboardTest, LeftAltWithALetterGivesItsScanCodeRightAltTheCharacter) {
    device.Press(CharacterKeyEvent('q', LEFT_ALT_PRESSED));
    device.Press(CharacterKeyEvent('q', RIGHT_ALT_PRESSED));
    EXPECT_EQ(TakeCodes(), (Codes{0, 0x10, 'q'}));
}

TEST_F(KeyboardTest, KeypadDivideIsExtendedKeypadEnterIsEnter) {
    Press(NamedKey::KeypadDivide);
    Press(NamedKey::KeypadEnter);
    Press(NamedKey::Enter, LEFT_ALT_PRESSED);
    EXPECT_EQ(TakeCodes(), (Codes{0, 0x35, 13, 13}));
}

TEST_F(KeyboardTest, KeyReleasesOtherThanAltAreIgnored) {
    device.Press(CharacterKeyEvent('a', 0, false));
    Release(NamedKey::F1);
    device.Type("b");
    EXPECT_EQ(TakeCodes(), (Codes{'b'}));
}

TEST_F(KeyboardTest, WaitKeyAtTheEndOfInputGivesTheEndOfFileCharacter) {
    EXPECT_EQ(WaitKey(), kEndOfInputKey);
}

TEST_F(KeyboardTest, ExtendedCodeWaitsForTheSecondCall) {
    Press(NamedKey::Home);
    EXPECT_TRUE(PollKey());
    EXPECT_EQ(WaitKey(), 0);
    EXPECT_TRUE(PollKey());
    EXPECT_EQ(WaitKey(), 0x47);
    EXPECT_FALSE(PollKey());
}

TEST_F(KeyboardTest, AKeyWithNoCodeGivesNothing) {
    // A NUL byte of redirected input gave a lone 0, and the reader took the "2" as its code.
    device.Press(CharacterKeyEvent('1', 0));
    device.Press(CharacterKeyEvent(0, 0));
    device.Press(CharacterKeyEvent('2', 0));
    EXPECT_EQ(TakeCodes(), (Codes{'1', '2'}));
}

struct TranslateCase {
    uint16_t scan;
    uint32_t state;
    int expected;
};

constexpr uint32_t kAlt = LEFT_ALT_PRESSED;
constexpr uint32_t kCtrl = RIGHT_CTRL_PRESSED;
constexpr uint32_t kShift = SHIFT_PRESSED;

// Every row of the translation table, the first and last scan code of each range, and the
// scan codes that match no row.
const TranslateCase kTranslateCases[] = {
    {0x02, kAlt, 0x78}, {0x0D, kAlt, 0x83}, {0x1C, kAlt, 0xA6}, {0x35, kAlt, 0xA4},
    {0x3B, kAlt, 0x68}, {0x44, kAlt, 0x71}, {0x47, kAlt, 0x97}, {0x48, kAlt, 0x98},
    {0x49, kAlt, 0x99}, {0x4B, kAlt, 0x9B}, {0x4D, kAlt, 0x9D}, {0x4F, kAlt, 0x9F},
    {0x53, kAlt, 0xA3}, {0x57, kAlt, 0x8B}, {0x58, kAlt, 0x8C}, {0x10, kAlt, 0x10},
    {0x4A, kAlt, 0x4A}, {0x0F, kAlt | kCtrl, 0x0F},
    {0x0F, kCtrl, 0x94}, {0x35, kCtrl, 0x95}, {0x37, kCtrl, 0x96}, {0x3B, kCtrl, 0x5E},
    {0x44, kCtrl, 0x67}, {0x47, kCtrl, 0x77}, {0x48, kCtrl, 0x8D}, {0x49, kCtrl, 0x84},
    {0x4A, kCtrl, 0x8E}, {0x4B, kCtrl, 0x73}, {0x4C, kCtrl, 0x8F}, {0x4D, kCtrl, 0x74},
    {0x4E, kCtrl, 0x4E}, {0x4F, kCtrl, 0x75}, {0x50, kCtrl, 0x91}, {0x51, kCtrl, 0x76},
    {0x52, kCtrl, 0x92}, {0x53, kCtrl, 0x93}, {0x57, kCtrl, 0x89}, {0x58, kCtrl, 0x8A},
    {0x02, kCtrl, 0x02}, {0x3B, kCtrl | kShift, 0x5E},
    {0x3B, kShift, 0x54}, {0x44, kShift, 0x5D}, {0x57, kShift, 0x87}, {0x58, kShift, 0x88},
    {0x48, kShift, 0x48},
    {0x57, 0, 0x85}, {0x58, 0, 0x86}, {0x3B, 0, 0x3B}, {0x53, 0, 0x53}, {0x135, 0, 0x35},
};

TEST(TranslateKey, EveryRowOfTheTable) {
    for (const TranslateCase& c : kTranslateCases) {
        EXPECT_EQ(TranslateKey(c.scan, c.state, 0), c.expected)
            << "scan 0x" << std::hex << c.scan << " state 0x" << c.state;
    }
}

TEST(TranslateKey, AltWithKeypadDigitComposes) {
    KeyboardState = {};
    TranslateKey(0x4D, RIGHT_ALT_PRESSED, VK_NUMPAD0 + 6);
    TranslateKey(0x4C, RIGHT_ALT_PRESSED, VK_NUMPAD0 + 5);
    EXPECT_TRUE(KeyboardState.altComposing);
    EXPECT_EQ(KeyboardState.altCode, 65);
    TranslateKey(0x4C, 0, VK_NUMPAD0 + 5);  // without Alt nothing is composed
    EXPECT_EQ(KeyboardState.altCode, 65);
}

}  // namespace
