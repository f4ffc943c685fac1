// graphdemo as a user runs it: on a private Xvfb, from a terminal, turned page by page with key
// presses sent to its window by xdotool or typed at the terminal.

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <string>

#include "tests/console/pseudo_terminal.h"
#include "tests/e2e/plotter_terminal.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"
#include "tests/graph/window/picture/png_decode.h"
#include "tests/support/run_program.h"

namespace {

constexpr int kPageCount = 10;

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
        terminal_.Start({GRAPHDEMO});
    }

    // Waits until the terminal has shown `text` `count` times.
    bool Await(const std::string& text, int count = 1) {
        for (int tries = 0; tries < 200; ++tries) {
            if (CountOf(terminal_.output(), text) >= count) return true;
            terminal_.WaitFor("\n", terminal_.output().size(), 100);
        }
        return false;
    }

    // The demo's window, once its first page is drawn.
    xcb_window_t DemoWindow() {
        EXPECT_TRUE(Await(PageLine(1))) << terminal_.output();
        XInspector inspector;
        // The page is drawn in the back-buffer; the server may list the window a moment later.
        std::vector<xcb_window_t> windows;
        for (int tries = 0; tries < 200 && windows.empty(); ++tries) {
            windows = inspector.WindowsOfClass("ZorvGraphWindow");
            if (windows.empty()) terminal_.WaitFor("\n", terminal_.output().size(), 20);
        }
        EXPECT_EQ(windows.size(), 1u);
        return windows.empty() ? 0 : windows.back();
    }

    XvfbServer server_;
    PseudoTerminal terminal_{PseudoTerminalOptions{}};
};

TEST_F(GraphdemoTest, KeysInTheWindowTurnEveryPageAndEscapeEnds) {
    xcb_window_t window = DemoWindow();
    ASSERT_NE(window, 0u);
    for (int page = 2; page <= kPageCount; ++page) {
        ASSERT_TRUE(PressInWindow(window, page % 2 == 0 ? "space" : "Return"));
        ASSERT_TRUE(Await(PageLine(page))) << terminal_.output();
    }
    ASSERT_TRUE(PressInWindow(window, "a"));  // after the last page comes the first again
    ASSERT_TRUE(Await(PageLine(1), 2)) << terminal_.output();
    PressInWindow(window, "Escape");  // the window may be gone before the key is released
    EXPECT_EQ(terminal_.WaitForEnd().exitStatus, 0);
    EXPECT_EQ(CountOf(terminal_.output(), "page "), kPageCount + 1) << terminal_.output();
    EXPECT_TRUE(SameSettings(terminal_.settingsBefore(), terminal_.SettingsNow()));
}

// Ctrl+S saves the page shown, in the current directory, and turns no page; nor do modifier and
// lock keys alone.
TEST_F(GraphdemoTest, ControlSSavesThePageWithoutTurningIt) {
    xcb_window_t window = DemoWindow();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(PressInWindow(window, "ctrl+s"));
    XInspector inspector;
    std::string title;
    for (int tries = 0; tries < 500 && title.rfind("Saved ", 0) != 0; ++tries) {
        title = inspector.TextProperty(window, "_NET_WM_NAME");
        terminal_.WaitFor("\n", terminal_.output().size(), 20);
    }
    ASSERT_EQ(title.rfind("Saved graphdemo-", 0), 0u) << title;
    const std::string name = title.substr(6);
    const DecodedPng saved = DecodePng(name);
    std::remove(name.c_str());
    EXPECT_TRUE(saved.pixels == inspector.Capture(window).pixels);
    ASSERT_TRUE(PressInWindow(window, "Caps_Lock Num_Lock Scroll_Lock Shift_L Alt_L Super_L"));
    ASSERT_TRUE(PressInWindow(window, "space"));
    ASSERT_TRUE(Await(PageLine(2))) << terminal_.output();
    EXPECT_EQ(CountOf(terminal_.output(), "page "), 2) << terminal_.output();
    PressInWindow(window, "Escape");
    EXPECT_EQ(terminal_.WaitForEnd().exitStatus, 0);
}

// Typed on the server's keyboard into the focused window: the keypad with and without Num Lock
// and the umlaut key of a German layout each turn a page; the Escape key ends the demo.
TEST_F(GraphdemoTest, KeypadKeysAndAGermanLayoutReachTheWindow) {
    xcb_window_t window = DemoWindow();
    ASSERT_NE(window, 0u);
    ASSERT_EQ(std::system(("setxkbmap -display " + server_.display() + " de").c_str()), 0);
    {
        XInspector inspector;
        xcb_set_input_focus(inspector.connection(), XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        inspector.Sync();
    }
    const char* keys[] = {"87" /* keypad 1 */, "Num_Lock 87", "KP_Add", "34" /* u umlaut */};
    for (int page = 2; page <= 5; ++page) {
        ASSERT_EQ(std::system(("xdotool key " + std::string(keys[page - 2])).c_str()), 0);
        ASSERT_TRUE(Await(PageLine(page))) << keys[page - 2] << "\n" << terminal_.output();
    }
    std::system("xdotool key Escape");
    EXPECT_EQ(terminal_.WaitForEnd().exitStatus, 0);
    EXPECT_EQ(CountOf(terminal_.output(), "page "), 5) << terminal_.output();
}

TEST_F(GraphdemoTest, SingleKeysTypedAtTheTerminalTurnPagesToo) {
    ASSERT_NE(DemoWindow(), 0u);
    terminal_.Type("%");  // no Enter needed
    ASSERT_TRUE(Await(PageLine(2))) << terminal_.output();
    terminal_.Type("\x1b[A");  // a cursor key is one key, not an Esc
    ASSERT_TRUE(Await(PageLine(3))) << terminal_.output();
    terminal_.Type("\x1b");
    EXPECT_EQ(terminal_.WaitForEnd().exitStatus, 0);
    EXPECT_EQ(CountOf(terminal_.output(), "page "), 3);
    EXPECT_EQ(terminal_.output().find('%'), std::string::npos) << "echoed";
    EXPECT_TRUE(SameSettings(terminal_.settingsBefore(), terminal_.SettingsNow()));
}

TEST_F(GraphdemoTest, CtrlCEndsItAsTheSignalDoesWithTheTerminalRestored) {
    ASSERT_NE(DemoWindow(), 0u);
    terminal_.Type("\x03");
    EXPECT_EQ(terminal_.WaitForEnd().signal, SIGINT);
    EXPECT_TRUE(SameSettings(terminal_.settingsBefore(), terminal_.SettingsNow()));
}

TEST_F(GraphdemoTest, TerminationSignalEndsItWithTheTerminalRestored) {
    ASSERT_NE(DemoWindow(), 0u);
    terminal_.Signal(SIGTERM);
    EXPECT_EQ(terminal_.WaitForEnd().signal, SIGTERM);
    EXPECT_TRUE(SameSettings(terminal_.settingsBefore(), terminal_.SettingsNow()));
}

TEST_F(GraphdemoTest, ClosingTheWindowEndsTheDemo) {
    xcb_window_t window = DemoWindow();
    ASSERT_NE(window, 0u);
    XInspector inspector;
    inspector.SendDeleteWindow(window);
    inspector.Sync();
    EXPECT_EQ(terminal_.WaitForEnd().exitStatus, 0);
}

TEST(GraphdemoWithoutServer, SaysSoAndEndsWithStatusOne) {
    const char* display = std::getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    setenv("DISPLAY", ":4097", 1);  // no server there
    ProgramRun run = RunProgram({GRAPHDEMO}, "");
    if (display != nullptr) {
        setenv("DISPLAY", saved.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("graphdemo: no window could be opened"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

// Without an X server, in a terminal that shows pictures, the pages are pictures there, and the
// last one is taken away at the end.
TEST(GraphdemoInTerminal, ShowsPagesAsPicturesAndRemovesTheLast) {
    unsetenv("DISPLAY");
    setenv("CHAOSPLOT_DISPLAY", "terminal", 1);
    PseudoTerminalOptions options;
    options.cellWidth = 16;
    options.cellHeight = 32;
    PseudoTerminal terminal(options);
    terminal.Start({GRAPHDEMO});
    ASSERT_TRUE(terminal.WaitFor(PageLine(1), 0, 60000) && terminal.WaitFor("\x1b_Ga=T,f=24,o=z,C=1,i=1,s=800,v=600", 0, 60000));
    terminal.Type(" ");  // the keys come from the terminal
    ASSERT_TRUE(terminal.WaitFor(PageLine(2), 0, 60000)) << terminal.output();
    terminal.Type("\x1b");
    EXPECT_EQ(terminal.WaitForEnd(60000).exitStatus, 0);
    const size_t removed = terminal.output().rfind("\x1b_Ga=d,d=I,q=2,i=1");
    EXPECT_TRUE(removed != std::string::npos && removed > terminal.output().rfind(PageLine(1)));
}

}  // namespace
