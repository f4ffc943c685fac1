// The X11 display against a private Xvfb: the window it makes, the pixels it presents, and the
// events it hands to the GUI thread.

#include "graph/window/x11/x11_display.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"

namespace {

WindowRequest Request(int32_t width, int32_t height, bool maximise = false) {
    return {width, height, maximise, "ZorvGraphWindow", "Graph window application"};
}

// Waits (a few seconds at most) until the window is on the screen.
xcb_window_t AwaitMappedWindow(XInspector& inspector) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        auto windows = inspector.WindowsOfClass("ZorvGraphWindow");
        if (!windows.empty()) return windows.back();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

void FillWithPattern(PixelBuffer& buffer, uint32_t seed) {
    for (int32_t y = 0; y < buffer.height; ++y) {
        for (int32_t x = 0; x < buffer.width; ++x) {
            buffer.pixels[y * buffer.stride + x] = (x * 2654435761u ^ y * 40503u ^ seed) & 0xFFFFFF;
        }
    }
}

Picture PictureOf(const PixelBuffer& buffer) {
    Picture picture{buffer.width, buffer.height, {}};
    for (int32_t y = 0; y < buffer.height; ++y) {
        picture.pixels.insert(picture.pixels.end(), buffer.pixels + y * buffer.stride,
                              buffer.pixels + y * buffer.stride + buffer.width);
    }
    return picture;
}

// Presenting is asynchronous: the server shows the pixels once it has read the request.
Picture AwaitPicture(XInspector& inspector, xcb_window_t window, const Picture& expected) {
    Picture shown;
    for (int attempt = 0; attempt < 200; ++attempt) {
        shown = inspector.Capture(window);
        if (shown == expected) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return shown;
}

WindowEvent AwaitEvent(X11Display& display, WindowHandle window, WindowEventKind kind) {
    for (;;) {
        const WindowEvent event = display.NextEvent(window);
        if (event.kind == kind || event.kind == WindowEventKind::Quit) return event;
    }
}

class X11DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(server.Start(640, 480));
    }

    WindowHandle OpenWindow(int32_t width, int32_t height, bool maximise = false) {
        const WindowHandle window = display.CreateWindow(Request(width, height, maximise));
        if (window != kNoWindow) display.ShowWindow(window);
        return window;
    }

    XvfbServer server;
    X11Display display;
};

TEST_F(X11DisplayTest, WindowIsOnTheScreenOnceShownWithClassTitleAndTheSurfaceSize) {
    const WindowHandle window = OpenWindow(320, 200);
    ASSERT_NE(window, kNoWindow);
    XInspector inspector;
    // No waiting: ShowWindow returns once the server has mapped the window.
    const std::vector<xcb_window_t> windows = inspector.WindowsOfClass("ZorvGraphWindow");
    ASSERT_EQ(windows.size(), 1u);
    const xcb_window_t shown = windows[0];
    EXPECT_EQ(inspector.TextProperty(shown, "WM_NAME"), "Graph window application");
    EXPECT_EQ(inspector.TextProperty(shown, "_NET_WM_NAME"), "Graph window application");
    const WindowGeometry geometry = inspector.Geometry(shown);
    EXPECT_EQ(geometry.width, 320);
    EXPECT_EQ(geometry.height, 200);
    EXPECT_TRUE(inspector.AtomProperty(shown, "_NET_WM_STATE").empty());
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, MaximisedModesAskTheWindowManagerToMaximise) {
    const WindowHandle window = OpenWindow(640, 480, true);
    XInspector inspector;
    const xcb_window_t shown = AwaitMappedWindow(inspector);
    EXPECT_EQ(inspector.AtomProperty(shown, "_NET_WM_STATE"),
              (std::vector<xcb_atom_t>{inspector.Atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                                       inspector.Atom("_NET_WM_STATE_MAXIMIZED_HORZ")}));
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, WithoutWindowManagerEveryMetricIsTheScreenSize) {
    const ScreenMetrics metrics = display.Metrics();
    EXPECT_EQ(metrics.largestClientWidth, 640);
    EXPECT_EQ(metrics.largestClientHeight, 480);
    EXPECT_EQ(metrics.maximisedClientWidth, 640);
    EXPECT_EQ(metrics.maximisedClientHeight, 480);
}

// A stand-in window manager: it announces itself, publishes a work area that leaves 30 rows
// to a panel, and answers frame-extent requests with a 4-pixel border and a 20-pixel caption.
class StandInWindowManager {
public:
    explicit StandInWindowManager(int32_t screenWidth, int32_t screenHeight) {
        xcb_connection_t* c = inspector_.connection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const xcb_window_t check = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, check, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root,
                            inspector_.Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 32, 1,
                            &check);
        const uint32_t workArea[4] = {0, 0, static_cast<uint32_t>(screenWidth),
                                      static_cast<uint32_t>(screenHeight - 30)};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, inspector_.Atom("_NET_WORKAREA"),
                            XCB_ATOM_CARDINAL, 32, 4, workArea);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
        request_ = inspector_.Atom("_NET_REQUEST_FRAME_EXTENTS");
        extents_ = inspector_.Atom("_NET_FRAME_EXTENTS");
        inspector_.Sync();
        answering_ = std::thread([this] { Answer(); });
    }
    ~StandInWindowManager() {
        stop_ = true;
        answering_.join();
    }

private:
    void Answer() {
        xcb_connection_t* c = inspector_.connection();
        pollfd source{xcb_get_file_descriptor(c), POLLIN, 0};
        while (!stop_) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                    message->type == request_) {
                    const uint32_t frame[4] = {4, 4, 24, 4};  // left, right, top, bottom
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, message->window, extents_,
                                        XCB_ATOM_CARDINAL, 32, 4, frame);
                    xcb_flush(c);
                }
                free(event);
            }
            poll(&source, 1, 20);
        }
    }

    XInspector inspector_;
    xcb_atom_t request_, extents_;
    std::atomic<bool> stop_{false};
    std::thread answering_;
};

TEST_F(X11DisplayTest, WindowManagerFramesAndWorkAreaShapeTheMetrics) {
    StandInWindowManager manager(640, 480);
    const ScreenMetrics metrics = display.Metrics();
    // A framed, captioned window on the whole screen; a maximised one keeps only its caption
    // and fills the work area.
    EXPECT_EQ(metrics.largestClientWidth, 640 - 4 - 4);
    EXPECT_EQ(metrics.largestClientHeight, 480 - 24 - 4);
    EXPECT_EQ(metrics.maximisedClientWidth, 640);
    EXPECT_EQ(metrics.maximisedClientHeight, 450 - 20);
}

TEST_F(X11DisplayTest, PresentShowsTheGivenAreaOfTheBufferOnly) {
    const WindowHandle window = OpenWindow(320, 200);
    PixelBuffer buffer{};
    ASSERT_TRUE(display.CreateBuffer(window, 320, 200, buffer));
    // The back-end leaves a buffer the display calls black unpainted.
    ASSERT_TRUE(display.BufferStartsBlack(window));
    EXPECT_EQ(std::count(buffer.pixels, buffer.pixels + 320 * 200, 0u), 320 * 200);
    XInspector inspector;
    const xcb_window_t shown = AwaitMappedWindow(inspector);
    FillWithPattern(buffer, 0);
    display.Present(window, buffer, {0, 0, 320, 200});
    const Picture first = PictureOf(buffer);
    EXPECT_EQ(DescribeDifference(first, AwaitPicture(inspector, shown, first)), "same");

    FillWithPattern(buffer, 0x5A5A5A);
    Picture expected = first;
    for (int32_t y = 50; y < 70; ++y) {
        for (int32_t x = 30; x < 131; ++x)
            expected.pixels[y * 320 + x] = buffer.pixels[y * 320 + x];
    }
    display.Present(window, buffer, {30, 50, 131, 70});
    EXPECT_EQ(DescribeDifference(expected, AwaitPicture(inspector, shown, expected)), "same");
    display.DestroyBuffer(window, buffer);
    EXPECT_EQ(buffer.pixels, nullptr);
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, ExposedPartsAreReportedForRepainting) {
    const WindowHandle window = OpenWindow(320, 200);
    XInspector inspector;
    AwaitMappedWindow(inspector);
    // The first exposure comes with mapping; a window laid over part and taken away again
    // uncovers exactly that part.
    EXPECT_EQ(AwaitEvent(display, window, WindowEventKind::Expose).kind, WindowEventKind::Expose);
    inspector.Remove(inspector.CoverWith(40, 30, 50, 20));
    const WindowEvent uncovered = AwaitEvent(display, window, WindowEventKind::Expose);
    EXPECT_EQ(uncovered.area.left, 40);
    EXPECT_EQ(uncovered.area.top, 30);
    EXPECT_EQ(uncovered.area.right, 90);
    EXPECT_EQ(uncovered.area.bottom, 50);
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, PostsArriveInOrderAndDamageIsCoalesced) {
    const WindowHandle window = OpenWindow(64, 64);
    XInspector inspector;
    AwaitMappedWindow(inspector);
    std::thread poster([&] {
        for (int i = 0; i < 1000; ++i) display.PostDamage(window);
        display.PostDestroy(window);
        display.PostQuit(window);
    });
    poster.join();
    std::vector<WindowEventKind> seen;
    for (WindowEvent event{}; event.kind != WindowEventKind::Quit;) {
        event = display.NextEvent(window);
        if (event.kind != WindowEventKind::Expose) seen.push_back(event.kind);
    }
    EXPECT_EQ(seen, (std::vector<WindowEventKind>{WindowEventKind::Damage, WindowEventKind::Destroy,
                                                  WindowEventKind::Quit}));
    // A post from another thread wakes an event loop that is waiting.
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        display.PostQuit(window);
    });
    EXPECT_EQ(AwaitEvent(display, window, WindowEventKind::Quit).kind, WindowEventKind::Quit);
    waker.join();
    // Damage after the last one was taken is handed out again.
    display.PostDamage(window);
    EXPECT_EQ(AwaitEvent(display, window, WindowEventKind::Damage).kind, WindowEventKind::Damage);
    display.DestroyWindow(window);
    // Posts to a window that is gone do nothing; its event loop is told to end.
    display.PostDamage(window);
    display.PostQuit(window);
    EXPECT_EQ(display.NextEvent(window).kind, WindowEventKind::Quit);
}

// While the drawing thread keeps posting damage, a close request still gets through.
TEST_F(X11DisplayTest, WindowManagerCloseRequestIsCloseEvenWhileDrawing) {
    const WindowHandle window = OpenWindow(64, 64);
    XInspector inspector;
    inspector.SendDeleteWindow(AwaitMappedWindow(inspector));
    inspector.Sync();
    display.PostDamage(window);
    WindowEvent event{};
    for (int taken = 0; taken < 500 && event.kind != WindowEventKind::Close; ++taken) {
        event = display.NextEvent(window);
        // Presenting takes a while, and the drawing has posted damage again meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        display.PostDamage(window);
    }
    EXPECT_EQ(event.kind, WindowEventKind::Close);
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, WindowDestroyedByAnotherClientIsClose) {
    const WindowHandle window = OpenWindow(64, 64);
    XInspector inspector;
    inspector.Remove(AwaitMappedWindow(inspector));
    EXPECT_EQ(AwaitEvent(display, window, WindowEventKind::Close).kind, WindowEventKind::Close);
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, LostConnectionIsCloseAndLaterCallsAreHarmless) {
    const WindowHandle window = OpenWindow(64, 64);
    PixelBuffer buffer{};
    ASSERT_TRUE(display.CreateBuffer(window, 64, 64, buffer));
    {
        XInspector inspector;
        AwaitMappedWindow(inspector);
    }
    server.Kill();
    EXPECT_EQ(AwaitEvent(display, window, WindowEventKind::Close).kind, WindowEventKind::Close);
    display.Present(window, buffer, {0, 0, 64, 64});
    display.PostQuit(window);
    EXPECT_EQ(display.NextEvent(window).kind, WindowEventKind::Quit);
    display.DestroyBuffer(window, buffer);
    display.DestroyWindow(window);
}

TEST_F(X11DisplayTest, KeysAndButtonsBecomeWindowMessages) {
    const WindowHandle window = OpenWindow(64, 64);
    XInspector inspector;
    const xcb_window_t shown = AwaitMappedWindow(inspector);
    const uint8_t keyA = inspector.KeycodeOf('a');
    ASSERT_NE(keyA, 0);
    inspector.SendKey(shown, keyA, true);
    inspector.SendKey(shown, keyA, false);
    inspector.SendButton(shown, 1, true, 5, 7);
    inspector.SendButton(shown, 3, false, 9, 2);
    std::vector<WindowEvent> input;
    while (input.size() < 5) {
        const WindowEvent event = display.NextEvent(window);
        if (event.kind == WindowEventKind::Key || event.kind == WindowEventKind::Button) {
            input.push_back(event);
        }
    }
    const intptr_t scanCode = static_cast<intptr_t>(keyA - 8) << 16;
    EXPECT_EQ(input[0].message, WM_KEYDOWN);
    EXPECT_EQ(input[0].first, 'A');
    EXPECT_EQ(input[0].second, 1 | scanCode);
    EXPECT_EQ(input[1].message, WM_CHAR);
    EXPECT_EQ(input[1].first, 'a');
    EXPECT_EQ(input[2].message, WM_KEYUP);
    EXPECT_EQ(input[2].second, 1 | scanCode | 0xC0000000);
    EXPECT_EQ(input[3].kind, WindowEventKind::Button);
    EXPECT_EQ(input[3].message, WM_LBUTTONDOWN);
    EXPECT_EQ(input[3].first, 1u);
    EXPECT_EQ(input[3].second, (7 << 16) | 5);
    EXPECT_EQ(input[4].message, WM_RBUTTONUP);
    EXPECT_EQ(input[4].first, 0u);
    display.DestroyWindow(window);
}

TEST(X11DisplayWithoutServer, NoDisplayMeansNoWindowNoScreenAndALineSayingWhy) {
    X11Display display;
    const struct {
        const char* display;
        std::string why;
    } cases[] = {
        {nullptr, "x11_display_tests: cannot open display: DISPLAY is not set\n"},
        {":4093", "x11_display_tests: cannot open display \":4093\": the X server refused the "
                  "connection or could not be reached\n"},
        {"no-colon", "x11_display_tests: cannot open display \"no-colon\": DISPLAY does not name "
                     "an X display\n"},
    };
    for (const auto& unreachable : cases) {
        if (unreachable.display == nullptr) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", unreachable.display, 1);
        }
        testing::internal::CaptureStderr();
        const ScreenMetrics metrics = display.Metrics();
        EXPECT_EQ(metrics.largestClientWidth, 0);
        EXPECT_EQ(metrics.maximisedClientHeight, 0);
        EXPECT_EQ(display.CreateWindow(Request(64, 64)), kNoWindow);
        // The metrics say nothing: only a window that cannot be made is worth a line.
        EXPECT_EQ(testing::internal::GetCapturedStderr(), unreachable.why);
    }
}

// More windows than a server takes clients (256 for Xvfb): they share one connection.
TEST_F(X11DisplayTest, MoreWindowsThanTheServerTakesClients) {
    std::vector<WindowHandle> windows;
    std::vector<PixelBuffer> buffers(300);
    for (PixelBuffer& buffer : buffers) {
        windows.push_back(OpenWindow(16, 16));
        ASSERT_NE(windows.back(), kNoWindow) << "window " << windows.size();
        ASSERT_TRUE(display.CreateBuffer(windows.back(), 16, 16, buffer));
    }
    XInspector inspector;
    ASSERT_TRUE(inspector.connected());
    EXPECT_EQ(inspector.WindowsOfClass("ZorvGraphWindow").size(), 300u);
    // Each window still hears its own events only.
    const xcb_window_t topmost = inspector.WindowsOfClass("ZorvGraphWindow").back();
    inspector.SendDeleteWindow(topmost);
    EXPECT_EQ(AwaitEvent(display, windows.back(), WindowEventKind::Close).kind, WindowEventKind::Close);
    display.PostQuit(windows.front());
    EXPECT_EQ(AwaitEvent(display, windows.front(), WindowEventKind::Close).kind, WindowEventKind::Quit);
    FillWithPattern(buffers.back(), 7);
    display.Present(windows.back(), buffers.back(), {0, 0, 16, 16});
    const Picture expected = PictureOf(buffers.back());
    EXPECT_EQ(DescribeDifference(expected, AwaitPicture(inspector, topmost, expected)), "same");
    for (size_t i = 0; i < windows.size(); ++i) {
        display.DestroyBuffer(windows[i], buffers[i]);
        display.DestroyWindow(windows[i]);
    }
    EXPECT_TRUE(inspector.WindowsOfClass("ZorvGraphWindow").empty());
}

// A server that resets when its last client leaves: the metrics' connection stays for the
// windows, so the server never sees the program leave between them.
TEST(X11DisplayOnAResettingServer, WindowsOpenAfterTheMetricsAndAfterTheLastWindowClosed) {
    XvfbServer server;
    XvfbSettings settings;
    settings.resetsWhenLastClientLeaves = true;
    ASSERT_TRUE(server.Start(settings));
    X11Display display;
    EXPECT_EQ(display.Metrics().largestClientWidth, 640);
    for (int round = 0; round < 3; ++round) {
        const WindowHandle window = display.CreateWindow(Request(32, 32));
        ASSERT_NE(window, kNoWindow) << "round " << round;
        display.ShowWindow(window);
        PixelBuffer buffer{};
        ASSERT_TRUE(display.CreateBuffer(window, 32, 32, buffer));
        FillWithPattern(buffer, static_cast<uint32_t>(round));
        display.Present(window, buffer, {0, 0, 32, 32});
        {
            XInspector inspector;
            const Picture expected = PictureOf(buffer);
            EXPECT_EQ(DescribeDifference(expected, AwaitPicture(inspector, AwaitMappedWindow(inspector), expected)),
                      "same");
        }
        display.DestroyBuffer(window, buffer);
        display.DestroyWindow(window);
    }
}

// A server that went away is no window, with the reason, until a server is there again.
TEST(X11DisplayAfterTheServerWentAway, NoWindowUntilAServerIsThereAgain) {
    auto server = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server->Start(320, 200));
    const std::string gone = server->display();
    X11Display display;
    const WindowHandle first = display.CreateWindow(Request(32, 32));
    ASSERT_NE(first, kNoWindow);
    display.ShowWindow(first);
    server->Kill();
    EXPECT_EQ(AwaitEvent(display, first, WindowEventKind::Close).kind, WindowEventKind::Close);
    display.DestroyWindow(first);
    testing::internal::CaptureStderr();
    EXPECT_EQ(display.CreateWindow(Request(32, 32)), kNoWindow);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "x11_display_tests: cannot open display \"" + gone +
                  "\": the X server refused the connection or could not be reached\n");
    server = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server->Start(320, 200));
    const WindowHandle again = display.CreateWindow(Request(32, 32));
    EXPECT_NE(again, kNoWindow);
    display.DestroyWindow(again);
}

// On a 16-, 15-, 30- or 8-bit server the window shows each pixel as the visual's nearest colour.
struct VisualCase {
    int depth;
    uint32_t redMask, greenMask, blueMask;
};

class X11VisualTest : public ::testing::TestWithParam<VisualCase> {};

TEST_P(X11VisualTest, PictureIsThe32BitPictureConvertedToTheVisual) {
    const VisualCase& visual = GetParam();
    XvfbServer server;
    XvfbSettings settings;
    settings.width = 320;
    settings.height = 200;
    settings.depth = visual.depth;
    ASSERT_TRUE(server.Start(settings));
    X11Display display;
    const WindowHandle window = display.CreateWindow(Request(203, 61));  // odd rows get padded
    ASSERT_NE(window, kNoWindow);
    display.ShowWindow(window);
    PixelBuffer buffer{};
    ASSERT_TRUE(display.CreateBuffer(window, 203, 61, buffer));
    FillWithPattern(buffer, 0x3C5A96);
    display.Present(window, buffer, {0, 0, 203, 61});
    const Picture expected =
        ConvertedToVisual(PictureOf(buffer), visual.redMask, visual.greenMask, visual.blueMask);
    XInspector inspector;
    const xcb_window_t shown = AwaitMappedWindow(inspector);
    Picture actual;
    for (int attempt = 0; attempt < 200 && actual != expected; ++attempt) {
        actual = inspector.CaptureServerValues(shown);
        if (actual != expected) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(DescribeDifference(expected, actual), "same");
    display.DestroyBuffer(window, buffer);
    display.DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Depths, X11VisualTest,
                         ::testing::Values(VisualCase{16, 0xF800, 0x07E0, 0x001F},
                                           VisualCase{15, 0x7C00, 0x03E0, 0x001F},
                                           VisualCase{30, 0x3FF00000, 0x000FFC00, 0x000003FF},
                                           // Not the root visual (that one is PseudoColor).
                                           VisualCase{8, 0x07, 0x38, 0xC0}),
                         [](const auto& info) { return "Depth" + std::to_string(info.param.depth); });

// The same pixels whether the buffer is shared with the server or sent in put-image requests;
// a window larger than the biggest request the server takes is sent in bands.
class X11PresentPathTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(X11PresentPathTest, WholeBufferArrivesExactly) {
    const bool large = GetParam().size() > 2;
    const int32_t width = large ? 2100 : 400, height = large ? 2100 : 300;
    XvfbServer server;
    ASSERT_TRUE(server.Start(
        width, height,
        {GetParam().begin(), GetParam().begin() + std::min<size_t>(2, GetParam().size())}));
    X11Display display;
    const WindowHandle window = display.CreateWindow(Request(width, height));
    display.ShowWindow(window);
    PixelBuffer buffer{};
    ASSERT_TRUE(display.CreateBuffer(window, width, height, buffer));
    XInspector inspector;
    const xcb_window_t shown = AwaitMappedWindow(inspector);
    FillWithPattern(buffer, 0x123456);
    display.Present(window, buffer, {0, 0, width, height});
    const Picture expected = PictureOf(buffer);
    EXPECT_EQ(DescribeDifference(expected, AwaitPicture(inspector, shown, expected)), "same");
    display.DestroyBuffer(window, buffer);
    display.DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, X11PresentPathTest,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"-extension", "MIT-SHM"},
                      std::vector<std::string>{"-extension", "MIT-SHM", "large"}),
    [](const testing::TestParamInfo<std::vector<std::string>>& info) {
        return std::string(info.param.empty() ? "SharedMemory" : info.param.size() > 2 ? "PutImageInBands" : "PutImage");
    });

}  // namespace
