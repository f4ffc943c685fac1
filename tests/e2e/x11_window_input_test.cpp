// Keys typed and buttons clicked into a real window with xdotool (XTEST), read back by the
// program through the public operations, and a wait ended by the window's close.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "graph/graph.h"
#include "graph/window/x11/x11_display.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"
#include "tests/graph/graph_test_support.h"

namespace {

void RunCommand(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

TEST(X11WindowInput, KeysAndClicksReachTheProgramUntilTheWindowCloses) {
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.Start(800, 600));
    RestartLibrary();
    static X11Display display;  // outlives the window's GUI thread
    SelectDisplay(display);
    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "");
    ASSERT_EQ(GraphResult(), GraphOk);
    XInspector inspector;
    const auto shown = inspector.WindowsOfClass("ZorvGraphWindow");
    ASSERT_EQ(shown.size(), 1u);
    xcb_set_input_focus(inspector.connection(), XCB_INPUT_FOCUS_POINTER_ROOT, shown[0], XCB_CURRENT_TIME);
    inspector.Sync();

    RunCommand("xdotool key a F1 Escape");
    for (uint8_t want : {uint8_t{'a'}, uint8_t{0}, uint8_t{0x3B}, uint8_t{27}}) EXPECT_EQ(ReadWindowKey(), want);

    RunCommand("xdotool mousemove --window " + std::to_string(shown[0]) + " 30 40 click 1 click 4");
    const PointerChange expected[] = {{kPointerLeft, true, 30, 40}, {kPointerLeft, false, 30, 40},
                                      {kPointerWheelAway, true, 30, 40}};
    for (const PointerChange& want : expected) {
        const PointerChange got = ReadPointerChange();
        EXPECT_EQ(got.button, want.button);
        EXPECT_EQ(got.pressed, want.pressed);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
    }
    RunCommand("xdotool mousemove --window " + std::to_string(shown[0]) + " 50 60 mousedown 3");
    EXPECT_EQ(ReadPointerChange().button, kPointerRight);  // the motion came before it
    const PointerState pointer = ReadPointer();
    EXPECT_EQ(pointer.x, 50);
    EXPECT_EQ(pointer.y, 60);
    EXPECT_EQ(pointer.buttons, 1 << (kPointerRight - 1));

    inspector.SendDeleteWindow(shown[0]);
    EXPECT_EQ(ReadWindowKey(), kEndOfInputKey);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    ShutdownAllWindows();
    SelectDisplay(TestDisplay());
}

}  // namespace
