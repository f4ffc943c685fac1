// chaosplot in terminals that show pictures, each on a private Xvfb of which only the terminal
// knows (the program runs with DISPLAY unset): the terminal's window must show, at 1:1 from its
// top-left pixel, the picture the memory display draws, and "n" must end the program with
// status 0. In tmux, which shows no pictures, the program behaves as without any display.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/e2e/reference_pictures.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kComparedWidth = 420;  // the part every terminal's picture area holds
constexpr int32_t kComparedHeight = 360;

struct Terminal {
    const char* windowClass;
    std::vector<std::string> command;  // the script to run follows
    int tolerance;                     // per colour channel: sixel colours are percents
    bool remoteControl;                // keys go through kitty's remote control, not XTEST
};

bool Available(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

// Within `tolerance` in every channel of the reference's top-left part.
bool ShowsTopLeftOf(const Picture& shown, const Picture& reference, int tolerance) {
    if (shown.width < kComparedWidth || shown.height < kComparedHeight) return false;
    for (int32_t y = 0; y < kComparedHeight; ++y)
        for (int32_t x = 0; x < kComparedWidth; ++x)
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(static_cast<int>(shown.at(x, y) >> shift & 0xFF) - static_cast<int>(reference.at(x, y) >> shift & 0xFF)) > tolerance) return false;
    return true;
}

// The terminals draw with software GL: on one busy core, starting one takes over a minute.
template <typename Condition>
bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

class TerminalPictureTest : public ::testing::TestWithParam<Terminal> {
protected:
    void SetUp() override {
        if (!Available(GetParam().command[0])) GTEST_SKIP() << GetParam().command[0] << " is not installed";
        directory_ = fs::temp_directory_path() / ("chaosplot-terminal-" + std::to_string(getpid()));
        fs::create_directories(directory_);
        ASSERT_TRUE(server_.Start(1000, 800));
        std::ofstream(directory_ / "run") << "unset DISPLAY\n" CHAOSPLOT "\necho $? > " << (directory_ / "status").string()
                                          << ".new && mv " << (directory_ / "status").string() << ".new "
                                          << (directory_ / "status").string() << "\nexec sleep 600\n";
        terminal_ = fork();
        if (terminal_ == 0) {
            setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);  // kitty on Mesa's software GL
            std::vector<std::string> words = GetParam().command;
            if (GetParam().remoteControl)
                words.insert(words.begin() + 1, {"-o", "allow_remote_control=yes", "--listen-on", "unix:" + (directory_ / "socket").string()});
            words.insert(words.end(), {"sh", (directory_ / "run").string()});
            std::vector<char*> argv;
            for (std::string& word : words) argv.push_back(word.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }
    void TearDown() override {
        if (terminal_ > 0) {
            kill(terminal_, SIGKILL);
            waitpid(terminal_, nullptr, 0);
        }
        fs::remove_all(directory_);
    }
    // Keys as the user types them, lines ended by Enter.
    void Type(std::string lines) {
        if (GetParam().remoteControl) {
            for (size_t at; (at = lines.find('\n')) != std::string::npos;) lines.replace(at, 1, "\\r");
            RunProgram({"/bin/sh", "-c", "kitty @ --to unix:$1 send-text \"$0\"", lines, (directory_ / "socket").string()}, "");
        } else {  // XTEST into the window under the pointer; a typed '\n' would be Ctrl+J
            RunProgram({XDOTOOL, "mousemove", "50", "50"}, "");
            for (size_t at; (at = lines.find('\n')) != std::string::npos; lines.erase(0, at + 1)) {
                RunProgram({XDOTOOL, "type", "--delay", "30", lines.substr(0, at)}, "");
                RunProgram({XDOTOOL, "key", "Return"}, "");
            }
        }
    }
    std::string Status() {
        std::ifstream file(directory_ / "status");
        std::string status;
        std::getline(file, status);
        return status;
    }

    XvfbServer server_;
    fs::path directory_;
    pid_t terminal_ = -1;
};

TEST_P(TerminalPictureTest, APassShowsThePictureAboveTheDialogueAndNEndsIt) {
    const std::vector<Picture> reference = ReferencePictures("100\n100\n2000\nn\n", 800, 600);
    ASSERT_EQ(reference.size(), 1u);
    XInspector inspector;
    std::vector<xcb_window_t> windows;
    ASSERT_TRUE(Eventually([&] { return !(windows = inspector.WindowsOfClass(GetParam().windowClass)).empty(); }));
    // The first question is asked below the picture's rows, which start at the top.
    Picture shown;
    ASSERT_TRUE(Eventually([&] {
        shown = inspector.Capture(windows.back());
        auto below = shown.pixels.begin() + std::min<ptrdiff_t>(kComparedHeight * shown.width, shown.pixels.size());
        return std::count(below, shown.pixels.end(), shown.pixels.back()) < shown.pixels.end() - below;
    }));
    Type("100\n100\n2000\n");
    EXPECT_TRUE(Eventually([&] {
        shown = inspector.Capture(windows.back());
        return ShowsTopLeftOf(shown, reference[0], GetParam().tolerance);
    }));
    Type("n\n");
    EXPECT_TRUE(Eventually([&] { return Status() == "0"; })) << Status();
}

INSTANTIATE_TEST_SUITE_P(
    Chaosplot, TerminalPictureTest,
    ::testing::Values(
        Terminal{"kitty", {"kitty", "--config", "NONE", "-o", "window_padding_width=0", "-o", "placement_strategy=top-left", "-o", "initial_window_width=900", "-o", "initial_window_height=700", "-o", "remember_window_size=no"}, 0, true},
        Terminal{"XTerm", {"xterm", "-ti", "vt340", "-b", "0", "-bw", "0", "-geometry", "100x44", "-e"}, 2, false}),
    [](const ::testing::TestParamInfo<Terminal>& info) { return std::string(info.param.command[0]); });

TEST(ChaosplotInTmux, WithoutPicturesOrDisplayTheProgramSaysWhyAsBefore) {
    if (!Available("tmux")) GTEST_SKIP() << "tmux is not installed";
    const std::string socket = "chaosplot-" + std::to_string(getpid());
    const ProgramRun run = RunProgram({"/bin/sh", "-c",
        "tmux -L " + socket + " -f /dev/null new-session -d -x 80 -y 24 'env -u DISPLAY " CHAOSPLOT "; echo status $?; sleep 600' && "
        "for i in $(seq 600); do tmux -L " + socket + " capture-pane -p | grep -q 'inserire xp' && break; sleep 0.1; done; "
        "tmux -L " + socket + " send-keys '100' Enter '100' Enter '10' Enter && "
        "for i in $(seq 600); do tmux -L " + socket + " capture-pane -p | grep -q '^status' && break; sleep 0.1; done; "
        "tmux -L " + socket + " capture-pane -p; tmux -L " + socket + " kill-server"}, "");
    for (const char* line : {"chaosplot: cannot open display: DISPLAY is not set", "Window creation failed", "status 1"})
        EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
}

}  // namespace
