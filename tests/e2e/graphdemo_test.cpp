// graphdemo as a user runs it: on a private Xvfb, turned page by page with key presses sent to
// its window by xdotool, or typed into its standard input.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/program_session.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"

namespace {

constexpr int kPageCount = 7;

std::string PageLine(int page) { return "page " + std::to_string(page) + ": "; }

// Presses a key in the window the way a user's keyboard would reach it.
bool PressInWindow(xcb_window_t window, const std::string& key) {
    std::string command = "xdotool key --window " + std::to_string(window) + " " + key + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

class GraphdemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
        ASSERT_TRUE(server_.Start(1024, 768));
    }

    // The demo's window, once its first page is drawn.
    xcb_window_t StartDemo(ProgramSession& demo) {
        EXPECT_TRUE(demo.AwaitOutput(PageLine(1))) << demo.out() << demo.err();
        XInspector inspector;
        std::vector<xcb_window_t> windows = inspector.WindowsOfClass("ZorvGraphWindow");
        EXPECT_EQ(windows.size(), 1u);
        return windows.empty() ? 0 : windows.back();
    }

    XvfbServer server_;
};

TEST_F(GraphdemoTest, KeysInTheWindowTurnEveryPageAndEscapeEnds) {
    ProgramSession demo({GRAPHDEMO});
    xcb_window_t window = StartDemo(demo);
    ASSERT_NE(window, 0u);
    for (int page = 2; page <= kPageCount; ++page) {
        ASSERT_TRUE(PressInWindow(window, page % 2 == 0 ? "space" : "Return"));
        ASSERT_TRUE(demo.AwaitOutput(PageLine(page))) << demo.out() << demo.err();
    }
    ASSERT_TRUE(PressInWindow(window, "a"));  // after the last page comes the first again
    ASSERT_TRUE(demo.AwaitOutput(PageLine(1), 2)) << demo.out();
    PressInWindow(window, "Escape");  // the window may be gone before the key is released
    EXPECT_EQ(demo.Finish(), 0);
    EXPECT_EQ(demo.err(), "");
    EXPECT_EQ(CountOf(demo.out(), "page "), kPageCount + 1);
}

TEST_F(GraphdemoTest, KeysTypedAtTheTerminalTurnPagesToo) {
    ProgramSession demo({GRAPHDEMO});
    ASSERT_NE(StartDemo(demo), 0u);
    demo.Type("x");
    ASSERT_TRUE(demo.AwaitOutput(PageLine(2))) << demo.out();
    demo.Type("\x1b");
    EXPECT_EQ(demo.Finish(), 0);
    EXPECT_EQ(CountOf(demo.out(), "page "), 2);
}

TEST_F(GraphdemoTest, ClosingTheWindowEndsTheDemo) {
    ProgramSession demo({GRAPHDEMO});
    xcb_window_t window = StartDemo(demo);
    ASSERT_NE(window, 0u);
    XInspector inspector;
    inspector.SendDeleteWindow(window);
    inspector.Sync();
    EXPECT_EQ(demo.Finish(10000), 0);
}

TEST(GraphdemoWithoutServer, SaysSoAndEndsWithStatusOne) {
    const char* display = std::getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    setenv("DISPLAY", ":4097", 1);  // no server there
    ProgramSession demo({GRAPHDEMO});
    int status = demo.Finish();
    if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
    else unsetenv("DISPLAY");
    EXPECT_EQ(status, 1);
    EXPECT_NE(demo.err().find("graphdemo: no window could be opened"), std::string::npos) << demo.err();
    EXPECT_EQ(demo.out(), "");
}

}  // namespace
