// chaosplot as a user runs it: on a private Xvfb, with answers typed as the prompts come. The
// window's pixels, read back from the server, must equal what the same answers draw on the
// memory display (reference_plotter).

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tests/console/pseudo_terminal.h"
#include "tests/e2e/plotter_terminal.h"
#include "tests/e2e/reference_pictures.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"
#include "tests/graph/window/picture/png_decode.h"
#include "tests/support/run_program.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
const std::string kAgain = "ancora? s/n";
const std::string kGuardMessage =
    "Error: Not in graphics mode (use InitGraph and test GraphResult afterwards)";
// Enough steps to keep the program drawing for a few seconds.
const std::string kLongRun = "30000000";

template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Nothing the program writes on failure (the terminal shows standard error too).
void ExpectNoFailureMessage(const PlotterTerminal& plotter) {
    for (const char* message : {"Window creation failed", "Error:", "Runtime error"}) {
        EXPECT_EQ(CountOf(plotter.output(), message), 0) << plotter.output();
    }
}

// The terminal's settings after the program are those before it.
void ExpectTerminalAsFound(PlotterTerminal& plotter) {
    EXPECT_TRUE(SameSettings(plotter.terminal().settingsBefore(), plotter.terminal().SettingsNow()));
}

class ChaosplotTest : public ::testing::Test {
protected:
    void SetUp() override {
        XvfbSettings settings;
        settings.width = kScreenWidth;
        settings.height = kScreenHeight;
        settings.resetsWhenLastClientLeaves = resettingServer_;
        settings.depth = depth_;
        ASSERT_TRUE(server.Start(settings));
    }

    std::vector<xcb_window_t> Windows() { return inspector().WindowsOfClass("ZorvGraphWindow"); }

    // Raises the window (it repaints the uncovered part from its own buffer) and waits until
    // it shows the expected picture.
    std::string CompareWindow(xcb_window_t window, const Picture& expected) {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(inspector().connection(), window, XCB_CONFIG_WINDOW_STACK_MODE,
                             &above);
        Picture shown;
        Eventually([&] {
            shown = inspector().Capture(window);
            return shown == expected;
        });
        return DescribeDifference(expected, shown);
    }

    XInspector& inspector() {
        if (!inspector_) inspector_ = std::make_unique<XInspector>();
        return *inspector_;
    }

    // Plays the passes ("xp\nyp\nnmax\n") with their replies; when each pass asks whether to
    // go again, every window opened so far must show its reference picture.
    void PlayPasses(const std::vector<std::string>& passes,
                    const std::vector<std::string>& replies) {
        std::string answers;
        for (size_t i = 0; i < passes.size(); ++i) answers += passes[i] + replies[i];
        const std::vector<Picture> reference =
            ReferencePictures(answers, kScreenWidth, kScreenHeight);
        ASSERT_EQ(reference.size(), passes.size());
        PlotterTerminal plotter;
        std::vector<xcb_window_t> opened;  // in the order the passes opened them
        for (size_t i = 0; i < passes.size(); ++i) {
            plotter.Answer(passes[i]);
            ASSERT_TRUE(plotter.AwaitOutput(kAgain, static_cast<int>(i + 1)));
            // The window is mapped by its own thread, which may not have done so yet.
            std::vector<xcb_window_t> windows;
            ASSERT_TRUE(Eventually([&] { return (windows = Windows()).size() == i + 1; }))
                << windows.size() << " windows after pass " << i + 1;
            for (xcb_window_t window : windows) {
                if (std::find(opened.begin(), opened.end(), window) == opened.end()) {
                    opened.push_back(window);
                }
            }
            for (size_t j = 0; j <= i; ++j) {
                EXPECT_EQ(CompareWindow(opened[j], reference[j]), "same")
                    << "window of pass " << j + 1 << " after pass " << i + 1;
            }
            plotter.Answer(replies[i]);
        }
        EXPECT_EQ(plotter.Finish(), 0);
        ExpectTerminalAsFound(plotter);
        for (const char* prompt : {"inserire xp", "inserire yp", "inserire nmax"}) {
            EXPECT_EQ(CountOf(plotter.output(), prompt), static_cast<int>(passes.size()));
        }
        ExpectNoFailureMessage(plotter);
    }

    // Starts a run long enough to act during it, and waits until its window shows the picture
    // being drawn while the program has not yet asked whether to go again.
    void StartLongRun(PlotterTerminal& plotter, const std::string& steps = kLongRun) {
        plotter.Answer("100\n100\n" + steps + "\n");
        ASSERT_TRUE(Eventually([&] { return Windows().size() == 1; }));
        const xcb_window_t window = Windows()[0];
        ASSERT_TRUE(Eventually([&] { return inspector().Capture(window).at(200, 100) != 0; }));
        EXPECT_FALSE(plotter.AwaitOutput(kAgain, 1, 50));
    }

    XvfbServer server;
    std::unique_ptr<XInspector> inspector_;
    bool resettingServer_ = false;
    int depth_ = 24;
};

class ChaosplotOnA16BitServerTest : public ChaosplotTest {
protected:
    ChaosplotOnA16BitServerTest() { depth_ = 16; }
};

TEST_F(ChaosplotOnA16BitServerTest, TheWindowShowsThePictureConvertedToTheVisual) {
    const std::vector<Picture> reference =
        ReferencePictures("100\n100\n5000\nn\n", kScreenWidth, kScreenHeight);
    ASSERT_EQ(reference.size(), 1u);
    const Picture expected = ConvertedToVisual(reference[0], 0xF800, 0x07E0, 0x001F);
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n5000\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain));
    ASSERT_EQ(Windows().size(), 1u);
    Picture shown;
    Eventually([&] {
        shown = inspector().CaptureServerValues(Windows()[0]);
        return shown == expected;
    });
    EXPECT_EQ(DescribeDifference(expected, shown), "same");
    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
    ExpectNoFailureMessage(plotter);
}

// On a server that resets when its last client leaves, with chaosplot its only client until
// the first pass is drawn.
class ChaosplotOnAResettingServerTest : public ChaosplotTest {
protected:
    ChaosplotOnAResettingServerTest() { resettingServer_ = true; }
};

// Entries 4 and 14 of the default palette.
constexpr uint32_t kRed = 0xA80000;
constexpr uint32_t kYellow = 0xFCFC54;

TEST_F(ChaosplotTest, OnePassFromTheExampleStart) { PlayPasses({"100\n100\n5000\n"}, {"n\n"}); }

TEST_F(ChaosplotTest, StartOutsideTheSurface) { PlayPasses({"-300\n5000\n2000\n"}, {"no\n"}); }

TEST_F(ChaosplotTest, NoStepsDrawsTheFilledTriangleOnly) { PlayPasses({"100\n100\n0\n"}, {"n\n"}); }

TEST_F(ChaosplotTest, ThreePassesKeepThreeWindowsEachWithItsOwnPicture) {
    PlayPasses({"100\n100\n3000\n", "-50\n400\n3000\n", "300\n20\n3000\n"}, {"N\n", "s\n", "n\n"});
}

TEST_F(ChaosplotOnAResettingServerTest, TwoPassesEachShowItsPicture) {
    PlayPasses({"100\n100\n2000\n", "7\n9\n2000\n"}, {"s\n", "n\n"});
}

// Piped answers reach InitGraph right after start-up, with the program the server's only client.
TEST_F(ChaosplotOnAResettingServerTest, PipedAnswersOpenEveryWindow) {
    PseudoTerminalOptions options;
    options.standardInputFromPipe = true;
    options.standardInputText = "100\n100\n300\ns\n5\n5\n300\nn\n";
    PseudoTerminal terminal(options);
    terminal.Start({CHAOSPLOT});
    EXPECT_EQ(terminal.WaitForEnd(20000).exitStatus, 0) << terminal.output();
    EXPECT_EQ(CountOf(terminal.output(), kAgain), 2) << terminal.output();
    EXPECT_EQ(CountOf(terminal.output(), "Window creation failed"), 0) << terminal.output();
}

TEST_F(ChaosplotTest, ThePassAfterTheServerWentAwaySaysWhyAndEndsThroughTheGuard) {
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n10\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain));
    inspector_.reset();
    const std::string display = server.display();
    server.Kill();
    plotter.Answer("s\n100\n100\n10\n");
    EXPECT_EQ(plotter.Finish(), 1);
    const std::string& shown = plotter.output();
    const size_t why = shown.find("chaosplot: cannot open display \"" + display +
                                  "\": the X server refused the connection or could not be reached");
    const size_t failure = shown.find("Window creation failed");
    const size_t guard = shown.find(kGuardMessage);
    EXPECT_TRUE(why < failure && failure < guard && guard != std::string::npos) << shown;
    EXPECT_EQ(CountOf(shown, kAgain), 1);
}

TEST_F(ChaosplotTest, ClosingTheWindowDuringARunLeavesTheDialogueWorking) {
    PlotterTerminal plotter;
    StartLongRun(plotter);
    inspector().SendDeleteWindow(Windows()[0]);
    ASSERT_TRUE(Eventually([&] { return Windows().empty(); }));
    ASSERT_TRUE(plotter.AwaitOutput(kAgain, 1, 120000));
    plotter.Answer("s\n100\n100\n1000\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain, 2));
    ASSERT_TRUE(Eventually([&] { return Windows().size() == 1; }));
    const xcb_window_t window = Windows()[0];
    // The new pass draws in a new window: the outline, the fill inside it and the path.
    Picture shown;
    EXPECT_TRUE(Eventually([&] {
        shown = inspector().Capture(window);
        return shown.at(400, 0) == kYellow && shown.at(5, 2) == kRed;
    })) << std::hex
        << shown.at(400, 0) << " " << shown.at(5, 2);
    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
    ExpectNoFailureMessage(plotter);
}

TEST_F(ChaosplotTest, LosingTheServerDuringARunLeavesTheDialogueWorking) {
    PlotterTerminal plotter;
    StartLongRun(plotter);
    inspector_.reset();
    server.Kill();
    ASSERT_TRUE(plotter.AwaitOutput(kAgain, 1, 120000));
    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
    ExpectTerminalAsFound(plotter);
    ExpectNoFailureMessage(plotter);
}

// Ctrl+S in the window while the dialogue waits: tests run chaosplot in a folder of their own.
class ChaosplotSaveTest : public ChaosplotTest {
protected:
    void SetUp() override {
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
        ChaosplotTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() / ("chaosplot-save-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);  // the program starts here
    }
    void TearDown() override {
        if (!previous_.empty()) std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    bool PressControlS(xcb_window_t window) {
        const std::string command = "xdotool key --window " + std::to_string(window) + " ctrl+s 2>/dev/null";
        return std::system(command.c_str()) == 0;
    }
    // The title while it shows the notice, "" when no notice came.
    std::string Notice(xcb_window_t window) {
        std::string title;
        Eventually([&] { return (title = inspector().TextProperty(window, "_NET_WM_NAME")) != kTitle; });
        return title == kTitle ? "" : title;
    }

    const std::string kTitle = "Graph window application";
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

TEST_F(ChaosplotSaveTest, ControlSAtTheQuestionWritesThePictureAndLeavesTheDialogueAlone) {
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n5000\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain));
    ASSERT_TRUE(Eventually([&] { return Windows().size() == 1; }));
    const xcb_window_t window = Windows()[0];
    const std::string screenBefore = plotter.output();

    ASSERT_TRUE(PressControlS(window));
    const std::string notice = Notice(window);
    ASSERT_EQ(notice.rfind("Saved chaosplot-", 0), 0u) << notice;
    EXPECT_EQ(inspector().TextProperty(window, "WM_NAME"), notice);
    const std::string name = notice.substr(6);
    const DecodedPng saved = DecodePng((folder_ / name).string());
    const Picture shown = inspector().Capture(window);
    EXPECT_EQ(saved.width, shown.width);
    EXPECT_EQ(saved.height, shown.height);
    EXPECT_TRUE(saved.pixels == shown.pixels);
    // Then the title as it was; the terminal has not changed meanwhile.
    EXPECT_TRUE(Eventually([&] { return inspector().TextProperty(window, "_NET_WM_NAME") == kTitle; }, 30000));
    EXPECT_EQ(inspector().TextProperty(window, "WM_NAME"), kTitle);
    EXPECT_EQ(plotter.output(), screenBefore);

    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
    EXPECT_EQ(CountOf(plotter.output(), kAgain), 1);
    ExpectTerminalAsFound(plotter);
    ExpectNoFailureMessage(plotter);
}

TEST_F(ChaosplotSaveTest, AFailedSaveSaysWhyInTheTitleAndTheProgramGoesOn) {
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n1000\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain));
    ASSERT_TRUE(Eventually([&] { return Windows().size() == 1; }));
    const xcb_window_t window = Windows()[0];
    // The program's current directory goes away (permission bits would not stop root).
    std::filesystem::remove_all(folder_);
    const std::string screenBefore = plotter.output();

    ASSERT_TRUE(PressControlS(window));
    EXPECT_EQ(Notice(window), "Picture not saved: No such file or directory");
    EXPECT_EQ(plotter.output(), screenBefore);
    plotter.Answer("s\n100\n100\n1000\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain, 2));
    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
    ExpectNoFailureMessage(plotter);
}

// The longest pass there is: only a signal ends it.
const std::string kEndlessRun = "2147483647";

struct MidPassEnd {
    const char* name;
    const char* typed;  // typed at the terminal, or empty
    int signalNumber;   // sent when nothing is typed
    int endedBy;
};

class ChaosplotMidPass : public ChaosplotTest, public testing::WithParamInterface<MidPassEnd> {};

TEST_P(ChaosplotMidPass, EndsAsTheSignalDoesWithTheTerminalRestored) {
    PlotterTerminal plotter;
    StartLongRun(plotter, kEndlessRun);
    const auto start = std::chrono::steady_clock::now();
    if (*GetParam().typed != 0) {
        plotter.terminal().Type(GetParam().typed);
    } else {
        plotter.terminal().Signal(GetParam().signalNumber);
    }
    const ProgramEnd end = plotter.terminal().WaitForEnd(20000);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(end.signal, GetParam().endedBy);
    // Generous: the figure itself comes from the benchmark.
    EXPECT_LT(elapsed.count(), 5000);
    ExpectTerminalAsFound(plotter);
    EXPECT_EQ(CountOf(plotter.output(), "Runtime error"), 0);
}

INSTANTIATE_TEST_SUITE_P(Chaosplot, ChaosplotMidPass,
                         testing::Values(MidPassEnd{"CtrlC", "\x03", 0, SIGINT},
                                         MidPassEnd{"CtrlBackslash", "\x1c", 0, SIGQUIT},
                                         MidPassEnd{"Terminate", "", SIGTERM, SIGTERM},
                                         MidPassEnd{"User1", "", SIGUSR1, SIGUSR1},
                                         MidPassEnd{"SentSegv", "", SIGSEGV, SIGSEGV},
                                         MidPassEnd{"SentFpe", "", SIGFPE, SIGFPE}),
                         [](const testing::TestParamInfo<MidPassEnd>& info) { return std::string(info.param.name); });

// Typed at the prompt after a pass, then the signal sent unless 0.
struct WayOut { const char* name; const char* typed; int signalNumber; ProgramEnd end; };
class ChaosplotPictureWayOut : public testing::TestWithParam<WayOut> {};

TEST_P(ChaosplotPictureWayOut, RemovesThePictureInTheTerminalAndRestoresTheTerminal) {
    unsetenv("DISPLAY");
    setenv("CHAOSPLOT_DISPLAY", "terminal", 1);
    PseudoTerminalOptions options;
    options.cellWidth = 8;
    options.cellHeight = 16;
    PlotterTerminal plotter(options);
    plotter.Answer("100\n100\n10\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain) && plotter.AwaitOutput("\x1b_Ga=T"));
    plotter.terminal().Type(GetParam().typed);
    if (GetParam().signalNumber != 0) plotter.terminal().Signal(GetParam().signalNumber);
    const ProgramEnd end = plotter.terminal().WaitForEnd(20000);
    EXPECT_EQ(std::pair(end.exitStatus, end.signal), std::pair(GetParam().end.exitStatus, GetParam().end.signal));
    ExpectTerminalAsFound(plotter);
    const size_t removed = plotter.output().rfind("\x1b_Ga=d,d=I,q=2,i=1");
    EXPECT_TRUE(removed != std::string::npos && removed > plotter.output().rfind("\x1b_Ga=T")) << "the picture stays";
}

INSTANTIATE_TEST_SUITE_P(Chaosplot, ChaosplotPictureWayOut,
                         testing::Values(WayOut{"No", "n\r", 0, {0, 0}}, WayOut{"CtrlC", "\x03", 0, {-1, SIGINT}},
                                         WayOut{"Terminate", "", SIGTERM, {-1, SIGTERM}}, WayOut{"HangUp", "", SIGHUP, {-1, SIGHUP}},
                                         WayOut{"RunTimeError", "s\r12abc\r", 0, {106, 0}}),
                         [](const testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });

TEST(ChaosplotScreen, TheWindowIsTheWholeScreenWithoutWindowManager) {
    XvfbServer server;
    ASSERT_TRUE(server.Start(1024, 700));
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n10\n");
    ASSERT_TRUE(plotter.AwaitOutput(kAgain));
    XInspector inspector;
    std::vector<xcb_window_t> windows;
    ASSERT_TRUE(Eventually(
        [&] { return (windows = inspector.WindowsOfClass("ZorvGraphWindow")).size() == 1; }));
    const WindowGeometry geometry = inspector.Geometry(windows[0]);
    EXPECT_EQ(geometry.width, 1024);
    EXPECT_EQ(geometry.height, 700);
    EXPECT_EQ(inspector.TextProperty(windows[0], "WM_NAME"), "Graph window application");
    // Detection picks the maximised 256-colour mode, whose window asks to be maximised.
    EXPECT_EQ(inspector.AtomProperty(windows[0], "_NET_WM_STATE").size(), 2u);
    plotter.Answer("n\n");
    EXPECT_EQ(plotter.Finish(), 0);
}

TEST(ChaosplotWithoutWindow, AWordForANumberIsRunTimeError106) {
    unsetenv("DISPLAY");
    PlotterTerminal plotter;
    ASSERT_TRUE(plotter.AwaitOutput("inserire xp"));
    plotter.Answer("12abc\n");
    EXPECT_EQ(plotter.Finish(), 106);
    ExpectTerminalAsFound(plotter);
    EXPECT_TRUE(plotter.AwaitOutput("Runtime error 106 at 0x", 1, 0)) << plotter.output();
}

TEST(ChaosplotWithoutWindow, FirstDrawingEndsTheProgramThroughTheGuard) {
    unsetenv("DISPLAY");
    PlotterTerminal plotter;
    plotter.Answer("100\n100\n10\n");
    EXPECT_EQ(plotter.Finish(), 1);
    ExpectTerminalAsFound(plotter);
    const std::string& shown = plotter.output();
    const size_t lastPrompt = shown.find("inserire nmax");
    const size_t why = shown.find("chaosplot: cannot open display: DISPLAY is not set");
    const size_t failure = shown.find("Window creation failed");
    const size_t guard = shown.find(kGuardMessage);
    EXPECT_NE(lastPrompt, std::string::npos);
    EXPECT_TRUE(lastPrompt < why && why < failure && failure < guard && guard != std::string::npos)
        << shown;
    EXPECT_EQ(CountOf(shown, kAgain), 0);
}

}  // namespace
