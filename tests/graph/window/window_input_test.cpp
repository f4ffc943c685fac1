// The keys and pointer of the newest window on the memory display, read through the public
// operations: the console's codes, the order and positions of button changes, and what a read
// gives once the window is closed or when the display supplies no input.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "graph/graph.h"
#include "runtime/virtual_keys.h"
#include "tests/graph/graph_test_support.h"

namespace {

MemoryDisplay& display = TestDisplay();

struct TypedKey {
    const char* name;
    uint16_t held;  // a modifier held around the key, 0 for none
    uint8_t heldScan;
    bool heldExtended;
    uint16_t virtualKey;
    uint8_t scanCode;
    uint8_t character;
    bool extended;
    std::vector<uint8_t> codes;
};

TEST(WindowInput, KeysGiveTheConsolesCodes) {
    const TypedKey keys[] = {
        {"letter", 0, 0, false, 'A', 0x1E, 'a', false, {'a'}},
        {"Esc", 0, 0, false, VK_ESCAPE, 0x01, 27, false, {27}},
        {"F1", 0, 0, false, VK_F1, 0x3B, 0, false, {0, 0x3B}},
        {"Up", 0, 0, false, VK_UP, 0x48, 0, true, {0, 0x48}},
        {"keypad divide", 0, 0, false, VK_DIVIDE, 0x35, '/', true, {0, 0x35}},
        {"keypad Enter", 0, 0, false, VK_RETURN, 0x1C, '\r', true, {'\r'}},
        {"Shift+F1", VK_SHIFT, 0x2A, false, VK_F1, 0x3B, 0, false, {0, 0x54}},
        {"Ctrl+Left", VK_CONTROL, 0x1D, false, VK_LEFT, 0x4B, 0, true, {0, 0x73}},
        {"Left Alt+letter", VK_MENU, 0x38, false, 'A', 0x1E, 'a', false, {0, 0x1E}},
        {"AltGr+letter", VK_MENU, 0x38, true, 'Q', 0x10, '@', false, {'@'}},
        {"Shift alone", VK_SHIFT, 0x2A, false, VK_SHIFT, 0x2A, 0, false, {}},
    };
    StartMode();
    const WindowHandle window = display.NewestWindow();
    for (const TypedKey& key : keys) {
        const intptr_t heldFlags = 1 | key.heldScan << kKeyScanCodeShift | (key.heldExtended ? kKeyExtendedFlag : 0);
        if (key.held != 0) display.PressKey(window, {{WindowEventKind::Key, {}, WM_KEYDOWN, key.held, heldFlags}});
        display.TypeKey(window, key.virtualKey, key.scanCode, key.character, key.extended);
        if (key.held != 0) display.PressKey(window, {{WindowEventKind::Key, {}, WM_KEYUP, key.held, heldFlags}});
        display.TypeKey(window, VK_SPACE, 0x39, ' ');  // the end of this key's codes
        std::vector<uint8_t> codes;
        for (uint8_t code = ReadWindowKey(); code != ' '; code = ReadWindowKey()) codes.push_back(code);
        EXPECT_EQ(codes, key.codes) << key.name;
        EXPECT_FALSE(WindowKeyWaiting()) << key.name;
    }
    EXPECT_EQ(GraphResult(), GraphOk);
}

TEST(WindowInput, ButtonChangesComeInOrderWithTheirPositionsAndTheWheelAsButtonsFourAndFive) {
    StartMode();
    const WindowHandle window = display.NewestWindow();
    display.MovePointer(window, 10, 20);
    display.UseButton(window, WM_LBUTTONDOWN, 11, 21);
    display.UseButton(window, WM_RBUTTONDOWN, -12, 22);  // held beyond the left edge
    display.UseButton(window, WM_LBUTTONUP, 13, 23);
    display.UseButton(window, WM_MOUSEWHEEL, 14, 24, 120);
    display.UseButton(window, WM_MOUSEWHEEL, 15, 25, -240);
    const PointerChange expected[] = {{kPointerLeft, true, 11, 21},        {kPointerRight, true, -12, 22},
                                      {kPointerLeft, false, 13, 23},       {kPointerWheelAway, true, 14, 24},
                                      {kPointerWheelTowards, true, 15, 25}};
    for (const PointerChange& want : expected) {
        const PointerChange got = ReadPointerChange();
        EXPECT_EQ(got.button, want.button);
        EXPECT_EQ(got.pressed, want.pressed);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
    }
    EXPECT_FALSE(PointerChangeWaiting());
    display.MovePointer(window, 30, -40);
    display.Close(window);
    (void)ReadPointerChange();  // returns once the window is closed: the motion came first
    const PointerState pointer = ReadPointer();
    EXPECT_EQ(pointer.x, 30);
    EXPECT_EQ(pointer.y, -40);
    EXPECT_EQ(pointer.buttons, 1 << (kPointerRight - 1));
}

TEST(WindowInput, ClosingTheWindowEndsAWaitAfterWhatWasQueued) {
    StartMode();
    const WindowHandle window = display.NewestWindow();
    display.TypeKey(window, 'X', 0x2D, 'x');
    std::thread user([&] { display.Close(window); });
    EXPECT_EQ(ReadWindowKey(), 'x');
    EXPECT_EQ(ReadWindowKey(), kEndOfInputKey);  // waits until the window is closed
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    user.join();
    EXPECT_FALSE(WindowKeyWaiting());
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    const PointerChange none = ReadPointerChange();
    EXPECT_EQ(none.button, 0);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
}

TEST(WindowInput, ADisplayWithoutInputSaysSoAtOnce) {
    StartMode();
    display.WithholdInput(true);
    display.TypeKey(display.NewestWindow(), 'A', 0x1E, 'a');
    EXPECT_EQ(ReadWindowKey(), kEndOfInputKey);
    EXPECT_EQ(GraphResult(), GraphErrorNoInput);
    EXPECT_EQ(ReadPointerChange().button, 0);
    EXPECT_EQ(GraphResult(), GraphErrorNoInput);
    display.WithholdInput(false);
}

}  // namespace
