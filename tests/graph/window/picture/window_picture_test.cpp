// Saving a window's picture: the file decodes to the back-buffer exactly, SaveWindowPicture
// replaces only whole and reports failure, and Ctrl+S in the window saves under a fresh name,
// tells the user in the title, never reaches the message hook and survives a lost directory.
#include "graph/window/picture/window_picture.h"
#include "graph/window/picture/title_notice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/graph/graph_test_support.h"
#include "tests/graph/window/picture/png_decode.h"

namespace {

MemoryDisplay& display = TestDisplay();

// Every colour of the mode in a band of lines, a filled corner and a diagonal across it all.
void DrawEveryColour() {
    const uint16_t colours = HighestColor() + 1;
    for (uint16_t c = 0; c < colours; ++c) {
        SetDrawColor(c);
        PenMoveTo(static_cast<int16_t>(c % 200), static_cast<int16_t>(c / 2));
        PenLineTo(static_cast<int16_t>(300 + c % 100), static_cast<int16_t>(200 + c / 3));
    }
    SetDrawColor(colours - 1);
    PenMoveTo(0, SurfaceMaxY());
    PenLineTo(SurfaceMaxX(), 0);
}

std::string ReadAll(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Each test works in a folder of its own, which is also the current directory.
class WindowPicture : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/window-picture-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
        ASSERT_EQ(chdir(folder), 0);
    }
    void TearDown() override {
        GraphState.MessageHook = nullptr;
        ASSERT_EQ(chdir(previous_), 0);
        std::system(("rm -rf " + folder_).c_str());
    }
    std::string folder_;
    char previous_[4096] = {};
};

TEST_F(WindowPicture, SavedFileDecodesToTheBackBufferIn16And256ColourModes) {
    const struct {
        int16_t driver, mode;
        const char* file;
    } modes[] = {{9, 2, "sixteen.png"}, {10, 257, "two-five-six.png"}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.file);
        StartMode(m.driver, m.mode);
        DrawEveryColour();
        SaveWindowPicture(m.file);
        EXPECT_EQ(GraphResult(), GraphOk);
        const DecodedPng decoded = DecodePng(m.file);
        EXPECT_EQ(decoded.width, SurfaceMaxX() + 1);
        EXPECT_EQ(decoded.height, SurfaceMaxY() + 1);
        EXPECT_EQ(decoded.colourType, 3);  // a palette picture: at most 256 colours on screen
        EXPECT_TRUE(decoded.pixels == NewestBufferCopy());
    }
}

TEST_F(WindowPicture, TheShownPageIsSavedWhateverPageIsDrawnOn) {
    StartMode();
    DrawEveryColour();
    const std::vector<uint32_t> shown = NewestBufferCopy();
    SelectPageToDraw(1);
    SaveWindowPicture("shown.png");
    EXPECT_NE(NewestBufferCopy(), shown);  // page 1 is black
    EXPECT_TRUE(DecodePng("shown.png").pixels == shown);
}

TEST_F(WindowPicture, SaveReplacesAWholeFileAndReportsFailureKeepingWhatWasThere) {
    StartMode();
    DrawEveryColour();
    { std::ofstream("kept.png") << "earlier picture"; }
    SaveWindowPicture("kept.png");
    EXPECT_EQ(GraphResult(), GraphOk);
    EXPECT_TRUE(DecodePng("kept.png").pixels == NewestBufferCopy());

    // A folder that is not there: failure, and the program draws on.
    SaveWindowPicture("no-such-folder/picture.png");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    SaveWindowPicture("");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    SaveWindowPicture(std::string("cut\0.png", 8));  // not saved as "cut"
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_NE(access("cut", F_OK), 0);
    PenLineTo(5, 5);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);  // drawing does not clear it

    // With the window closed by the user, or no window at all, there is nothing to save, and
    // the file stays as it was.
    { std::ofstream("kept.png", std::ios::trunc) << "earlier picture"; }
    CloseNewestWindow();
    SaveWindowPicture("kept.png");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    RestartLibrary();
    SaveWindowPicture("kept.png");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_EQ(ReadAll("kept.png"), "earlier picture");
}

// The messages the message hook received, for the key tests.
std::mutex hookMutex;
std::vector<WindowEvent> hooked;
int32_t RecordingHook(uintptr_t, uint32_t message, uintptr_t first, intptr_t second) {
    std::lock_guard<std::mutex> hold(hookMutex);
    hooked.push_back({WindowEventKind::Key, {}, message, first, second});
    return 0;
}
std::vector<WindowEvent> Hooked() {
    std::lock_guard<std::mutex> hold(hookMutex);
    return hooked;
}

constexpr WindowEvent Message(uint32_t message, uintptr_t first) {
    return {WindowEventKind::Key, {}, message, first, 0};
}
// Ctrl+S as a keyboard sends it, then an A whose arrival at the hook says every earlier
// message has been handled.
void PressControlS(WindowHandle window) {
    display.PressKey(window, {Message(WM_KEYDOWN, 0x11), Message(WM_KEYDOWN, 0x53), Message(WM_CHAR, 0x13),
                              Message(WM_KEYUP, 0x53), Message(WM_KEYUP, 0x11), Message(WM_KEYDOWN, 0x41)});
}
void WaitForHookedA() {
    for (int i = 0; i < 10000; ++i) {
        const std::vector<WindowEvent> seen = Hooked();
        if (!seen.empty() && seen.back().message == WM_KEYDOWN && seen.back().first == 0x41) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::string TitleAfterSave(WindowHandle window) {
    {
        std::lock_guard<std::mutex> hold(hookMutex);
        hooked.clear();
    }
    PressControlS(window);
    WaitForHookedA();
    return display.Title(window);
}

TEST_F(WindowPicture, ControlSSavesUnderFreshNamesAndTheHookNeverSeesIt) {
    StartMode();
    DrawEveryColour();
    GraphState.MessageHook = RecordingHook;
    const WindowHandle window = display.NewestWindow();

    const std::string first = TitleAfterSave(window);
    ASSERT_EQ(first.rfind("Saved ", 0), 0u) << first;
    const std::string firstName = first.substr(6);
    EXPECT_EQ(firstName.rfind(std::string(program_invocation_short_name) + "-", 0), 0u) << firstName;
    EXPECT_TRUE(DecodePng(firstName).pixels == NewestBufferCopy());
    // Only Ctrl's own messages and the A reach the hook.
    const std::vector<WindowEvent> seen = Hooked();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, 0x11u);
    EXPECT_EQ(seen[1].first, 0x11u);
    EXPECT_EQ(seen[1].message, WM_KEYUP);

    // A second save, within the same second or not, writes a file of its own.
    const std::string second = TitleAfterSave(window);
    ASSERT_EQ(second.rfind("Saved ", 0), 0u) << second;
    EXPECT_NE(second, first);
    EXPECT_TRUE(DecodePng(second.substr(6)).pixels == NewestBufferCopy());
    EXPECT_TRUE(DecodePng(firstName).pixels == NewestBufferCopy());

    // The notice goes, and the title is as it was.
    EXPECT_TRUE(display.WaitForTitle(window, "Graph window application", 6 * kNoticeMs));
}

TEST_F(WindowPicture, ControlSInALostDirectorySaysWhyAndTheWindowGoesOn) {
    StartMode();
    GraphState.MessageHook = RecordingHook;
    const WindowHandle window = display.NewestWindow();
    std::system(("rm -rf " + folder_).c_str());

    const std::string title = TitleAfterSave(window);
    EXPECT_EQ(title, "Picture not saved: No such file or directory");
    SetDrawColor(14);
    PenMoveTo(0, 0);
    PenLineTo(9, 9);
    EXPECT_TRUE(display.WaitForWindowPixel(window, 9, 9, DefaultPixel(14)));
    EXPECT_TRUE(display.WaitForTitle(window, "Graph window application", 6 * kNoticeMs));
}

TEST(WindowPictureName, StampAndCounter) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 5;
    when.tm_min = 3;
    when.tm_sec = 7;
    EXPECT_EQ(PictureFileName("chaosplot", when, 1), "chaosplot-20261209-050307.png");
    EXPECT_EQ(PictureFileName("chaosplot", when, 2), "chaosplot-20261209-050307-2.png");
    EXPECT_EQ(PictureFileName("graphdemo", when, 13), "graphdemo-20261209-050307-13.png");
}

}  // namespace
