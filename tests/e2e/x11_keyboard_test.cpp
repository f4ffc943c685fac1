// Keys typed on the server's keyboard (xdotool, through the XTEST extension) as the messages the
// window's message hook receives, with the server's own keymap and layout: the keypad with and
// without Num Lock, and a German layout loaded while the window is open.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "graph/window/x11/x11_display.h"
#include "runtime/virtual_keys.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"

namespace {

constexpr uint32_t kKeyDown = WM_KEYDOWN, kKeyUp = WM_KEYUP, kChar = WM_CHAR;
constexpr intptr_t kExtended = 1 << 24;

// Key codes of a PC keyboard (the system's key numbers plus 8).
constexpr int kKeypad1 = 87, kKeypadDecimal = 91, kKeypadEnter = 104, kKeypadDivide = 106,
              kKeypadMultiply = 63, kKeypadPlus = 86, kKeypadMinus = 82, kKeypad5 = 84;
constexpr int kKeyY = 29, kKeyLeftBracket = 34, kKeyMinus = 20, kKeyQ = 24, kRightAlt = 108,
              kKey1 = 10;

struct Message {
    uint32_t message;
    uintptr_t first;
    bool extended;
    friend bool operator==(const Message&, const Message&) = default;
};

std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << std::hex << "{" << m.message << ", " << m.first << (m.extended ? ", ext" : "") << "}";
}

class X11KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v xdotool >/dev/null && command -v setxkbmap >/dev/null") != 0) {
            GTEST_SKIP() << "xdotool or setxkbmap is not installed";
        }
        ASSERT_TRUE(server_.Start(320, 200));
        window_ = display_.CreateWindow({64, 64, false, "ZorvGraphWindow", "Graph window application"});
        ASSERT_NE(window_, kNoWindow);
        display_.ShowWindow(window_);
        const std::vector<xcb_window_t> shown = inspector().WindowsOfClass("ZorvGraphWindow");
        ASSERT_EQ(shown.size(), 1u);
        shown_ = shown[0];
        xcb_set_input_focus(inspector().connection(), XCB_INPUT_FOCUS_POINTER_ROOT, shown_,
                            XCB_CURRENT_TIME);
        inspector().Sync();
    }
    void TearDown() override {
        if (window_ != kNoWindow) display_.DestroyWindow(window_);
    }

    XInspector& inspector() {
        if (!inspector_) inspector_ = std::make_unique<XInspector>();
        return *inspector_;
    }

    // Types the keys (xdotool key names or key codes) and returns the key messages they made.
    std::vector<Message> Type(const std::string& keys) {
        const std::string command = "xdotool key " + keys;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        // xdotool has ended, so the server has made all its key events: a close request sent
        // now arrives after them.
        inspector().SendDeleteWindow(shown_);
        std::vector<Message> messages;
        for (WindowEvent event = display_.NextEvent(window_); event.kind != WindowEventKind::Close;
             event = display_.NextEvent(window_)) {
            if (event.kind == WindowEventKind::Key) {
                messages.push_back({event.message, event.first, (event.second & kExtended) != 0});
            }
        }
        return messages;
    }

    XvfbServer server_;
    X11Display display_;
    WindowHandle window_ = kNoWindow;
    std::unique_ptr<XInspector> inspector_;
    xcb_window_t shown_ = 0;
};

std::string Codes(std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) text += std::to_string(code) + " ";
    return text;
}

TEST_F(X11KeyboardTest, KeypadWithoutNumLockIsCursorKeysAndOperators) {
    EXPECT_EQ(Type(Codes({kKeypad1, kKeypad5, kKeypadDecimal})),
              (std::vector<Message>{{kKeyDown, VK_END, false}, {kKeyUp, VK_END, false},
                                    {kKeyDown, VK_CLEAR, false}, {kKeyUp, VK_CLEAR, false},
                                    {kKeyDown, VK_DELETE, false}, {kKeyUp, VK_DELETE, false}}));
    EXPECT_EQ(Type(Codes({kKeypadEnter, kKeypadDivide, kKeypadMultiply, kKeypadPlus, kKeypadMinus})),
              (std::vector<Message>{{kKeyDown, VK_RETURN, true},  {kChar, '\r', true},
                                    {kKeyUp, VK_RETURN, true},    {kKeyDown, VK_DIVIDE, true},
                                    {kChar, '/', true},      {kKeyUp, VK_DIVIDE, true},
                                    {kKeyDown, VK_MULTIPLY, false}, {kChar, '*', false},
                                    {kKeyUp, VK_MULTIPLY, false},   {kKeyDown, VK_ADD, false},
                                    {kChar, '+', false},     {kKeyUp, VK_ADD, false},
                                    {kKeyDown, VK_SUBTRACT, false}, {kChar, '-', false},
                                    {kKeyUp, VK_SUBTRACT, false}}));
}

TEST_F(X11KeyboardTest, KeypadWithNumLockIsDigitsAndThePoint) {
    const std::vector<Message> typed = Type("Num_Lock " + Codes({kKeypad1, kKeypadDecimal}) + "Num_Lock");
    EXPECT_EQ(typed, (std::vector<Message>{{kKeyDown, VK_NUMLOCK, true},  {kKeyUp, VK_NUMLOCK, true},
                                           {kKeyDown, VK_NUMPAD0 + 1, false}, {kChar, '1', false},
                                           {kKeyUp, VK_NUMPAD0 + 1, false},   {kKeyDown, VK_DECIMAL, false},
                                           {kChar, '.', false},     {kKeyUp, VK_DECIMAL, false},
                                           {kKeyDown, VK_NUMLOCK, true},  {kKeyUp, VK_NUMLOCK, true}}));
    // Num Lock is off again.
    EXPECT_EQ(Type(Codes({kKeypad1})),
              (std::vector<Message>{{kKeyDown, VK_END, false}, {kKeyUp, VK_END, false}}));
}

TEST_F(X11KeyboardTest, AGermanLayoutLoadedMeanwhileGivesItsLettersAndCharacters) {
    ASSERT_EQ(std::system(("setxkbmap -display " + server_.display() + " de").c_str()), 0);
    // Z sits where a US keyboard has Y; the umlaut and sharp s keys take the virtual keys of
    // the US keys in their place; AltGr+Q types @. (xdotool lets go of a combination's keys in
    // the order it pressed them.)
    EXPECT_EQ(Type(Codes({kKeyY, kKeyLeftBracket, kKeyMinus}) + "shift+" + std::to_string(kKeyY) +
                   " " + std::to_string(kRightAlt) + "+" + std::to_string(kKeyQ)),
              (std::vector<Message>{{kKeyDown, 'Z', false},  {kChar, 'z', false},
                                    {kKeyUp, 'Z', false},    {kKeyDown, PunctuationVirtualKey('['), false},
                                    {kChar, 0xFC, false},    {kKeyUp, PunctuationVirtualKey('['), false},
                                    {kKeyDown, PunctuationVirtualKey('-'), false}, {kChar, 0xDF, false},
                                    {kKeyUp, PunctuationVirtualKey('-'), false},   {kKeyDown, VK_SHIFT, false},
                                    {kKeyDown, 'Z', false},  {kChar, 'Z', false},
                                    {kKeyUp, VK_SHIFT, false},   {kKeyUp, 'Z', false},
                                    {kKeyDown, VK_MENU, true},  {kKeyDown, 'Q', false},
                                    {kChar, '@', false},     {kKeyUp, VK_MENU, true},
                                    {kKeyUp, 'Q', false}}));
    // Its keypad's decimal key types a comma.
    EXPECT_EQ(Type("Num_Lock " + Codes({kKeypadDecimal}) + "Num_Lock"),
              (std::vector<Message>{{kKeyDown, VK_NUMLOCK, true},  {kKeyUp, VK_NUMLOCK, true},
                                    {kKeyDown, VK_DECIMAL, false}, {kChar, ',', false},
                                    {kKeyUp, VK_DECIMAL, false},   {kKeyDown, VK_NUMLOCK, true},
                                    {kKeyUp, VK_NUMLOCK, true}}));
}

TEST_F(X11KeyboardTest, AFrenchLayoutsDigitRowKeepsTheDigitKeys) {
    ASSERT_EQ(std::system(("setxkbmap -display " + server_.display() + " fr").c_str()), 0);
    EXPECT_EQ(Type(Codes({kKey1}) + "shift+" + std::to_string(kKey1)),
              (std::vector<Message>{{kKeyDown, '1', false}, {kChar, '&', false},
                                    {kKeyUp, '1', false},   {kKeyDown, VK_SHIFT, false},
                                    {kKeyDown, '1', false}, {kChar, '1', false},
                                    {kKeyUp, VK_SHIFT, false},  {kKeyUp, '1', false}}));
}

}  // namespace
