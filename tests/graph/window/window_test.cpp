// Windows on the memory display: the ready handshake, repainting, one buffer per window, closing
// windows, and drawing while the GUI thread paints and the window goes away.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "graph/window/thread_state.h"
#include "tests/graph/graph_test_support.h"

namespace {

MemoryDisplay& display = TestDisplay();

void WaitUntilClosed(WindowHandle window) {
    for (int i = 0; i < 5000 && display.IsOpen(window); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(display.IsOpen(window));
}

TEST(Window, InitGraphReturnsWithTheBufferReady) {
    StartMode();
    WindowHandle window = display.NewestWindow();
    EXPECT_TRUE(display.HasBuffer(window));
    EXPECT_EQ(display.Request(window).clientWidth, 640);
    EXPECT_EQ(display.Request(window).clientHeight, 480);
    EXPECT_FALSE(display.Request(window).maximise);
    DriverSlots.PlotPixel(3, 4);  // straight away
    EXPECT_EQ(BufferPixel(3, 4), DefaultPixel(15));
    EXPECT_TRUE(display.WaitForWindowPixel(window, 3, 4, DefaultPixel(15)));
    EXPECT_TRUE(display.IsShown(window));
}

TEST(Window, UncoveredPartsRepaintFromTheBufferWidenedByOnePixel) {
    StartMode();
    WindowHandle window = display.NewestWindow();
    SetDrawColor(2);
    DriverSlots.DrawHorizontalLine(0, 639, 20);
    ASSERT_TRUE(display.WaitForWindowPixel(window, 639, 20, DefaultPixel(2)));
    display.Uncover(window, {10, 15, 30, 25});
    ASSERT_TRUE(display.WaitForWindowPixel(window, 15, 15, 0));  // scribble painted over
    EXPECT_EQ(display.WindowPixel(window, 12, 20), DefaultPixel(2));
    PixelRect area = display.LastPresentArea(window);
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.top, 15);
    EXPECT_EQ(area.right, 31);
    EXPECT_EQ(area.bottom, 26);
}

TEST(Window, LargePresentsComeInBandsUnlessTheDisplayReadsTheBufferItself) {
    // One primitive is one damage area: a column down the whole window.
    for (bool readsItself : {false, true}) {
        display.SetReadsBufferItself(readsItself);
        StartMode();
        WindowHandle window = display.NewestWindow();
        // The first column waits for the window's first present; the second has a damage area
        // of its own.
        for (uint16_t colour : {3, 4}) {
            SetDrawColor(colour);
            DriverSlots.DrawVerticalLine(5, 0, 479);
            ASSERT_TRUE(display.WaitForWindowPixel(window, 5, 479, DefaultPixel(colour)));
        }
        const PixelRect area = display.LastPresentArea(window);
        // The last present: the whole column, or only the band at its foot.
        if (readsItself) EXPECT_EQ(area.top, 0);
        else EXPECT_GT(area.top, 400);
        EXPECT_EQ(area.bottom, 480);
        EXPECT_EQ(area.left, 5);
    }
    display.SetReadsBufferItself(false);
}

// While drawing goes on, presents start at least a display interval apart, however long each
// waits for the drawing thread to let go of the buffer; two presents come closer only when the
// drawing thread went a whole kDrawingPause (1 ms) between them without taking the lock, and
// was waiting in the kernel then (as it may for a lock under a busy machine).
TEST(Window, PresentsStartAnIntervalApartUnlessDrawingPausedBetweenThem) {
    using Clock = std::chrono::steady_clock;
    display.SetReadsBufferItself(true);  // one present is one call
    StartMode();
    WindowHandle window = display.NewestWindow();
    const size_t before = display.PresentTimes(window).size();
    // Each drawing call takes the lock somewhere between its two times.
    std::vector<std::pair<Clock::time_point, Clock::time_point>> calls;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    uint16_t colour = 0;
    while (display.PresentTimes(window).size() < before + 8 && Clock::now() < deadline) {
        SetDrawColor(static_cast<uint16_t>(1 + (++colour % 15)));
        for (int16_t y = 0; y < 480; ++y) {
            const Clock::time_point called = Clock::now();
            DriverSlots.DrawHorizontalLine(0, 639, y);
            calls.emplace_back(called, Clock::now());
        }
    }
    const auto times = display.PresentTimes(window);
    ASSERT_GE(times.size(), before + 8);
    const std::chrono::microseconds interval{16667}, pause{1000};
    int closer = 0;
    for (size_t k = before + 1; k < times.size(); ++k) {
        if (times[k] - times[k - 1] >= interval) continue;
        ++closer;
        // Some call ends a whole pause after the one before it began, between the two presents.
        bool paused = false;
        for (size_t i = 0; i + 1 < calls.size() && !paused; ++i) {
            paused = calls[i].first < times[k] && calls[i + 1].second > times[k - 1] &&
                     calls[i + 1].second - calls[i].first >= pause;
        }
        paused = paused || calls.back().first < times[k];  // drawing had ended
        EXPECT_TRUE(paused) << "presents " << k - 1 << " and " << k << " are "
                            << std::chrono::duration<double, std::milli>(times[k] - times[k - 1]).count()
                            << " ms apart while drawing went on";
    }
    RecordProperty("presents_closer_than_an_interval", closer);
    display.SetReadsBufferItself(false);
}

// The GUI thread tells a drawing thread that waits (stopped drawing) from one that runs or is
// ready to run (still drawing, or only not run for a while).
TEST(WindowThreads, AWaitingThreadIsToldFromOneThatRunsOrHasEnded) {
    EXPECT_FALSE(ThreadIsWaiting(CurrentThreadId()));
    std::atomic<pid_t> spinning{0};
    std::atomic<bool> stop{false};
    std::thread spinner([&] {
        spinning = CurrentThreadId();
        while (!stop.load(std::memory_order_relaxed)) {
        }
    });
    while (spinning == 0) std::this_thread::yield();
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(ThreadIsWaiting(spinning));
    stop = true;
    spinner.join();
    EXPECT_TRUE(ThreadIsWaiting(spinning));  // gone

    std::mutex mutex;
    std::condition_variable woken;
    bool go = false;
    std::atomic<pid_t> sleeping{0};
    std::thread sleeper([&] {
        sleeping = CurrentThreadId();
        std::unique_lock<std::mutex> lock(mutex);
        woken.wait(lock, [&] { return go; });
    });
    while (sleeping == 0) std::this_thread::yield();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ThreadIsWaiting(sleeping) && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    EXPECT_TRUE(ThreadIsWaiting(sleeping));
    {
        std::lock_guard<std::mutex> lock(mutex);
        go = true;
    }
    woken.notify_all();
    sleeper.join();
}

TEST(Window, EachWindowKeepsItsOwnPicture) {
    StartMode();
    WindowHandle first = display.NewestWindow();
    SetDrawColor(4);
    PenLineTo(100, 0);
    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "");
    WindowHandle second = display.NewestWindow();
    ASSERT_NE(first, second);
    SetDrawColor(1);
    PenMoveTo(0, 0);
    PenLineTo(50, 0);
    ASSERT_TRUE(display.WaitForWindowPixel(second, 10, 0, DefaultPixel(1)));
    EXPECT_EQ(display.WindowPixel(second, 80, 0), 0u);  // the new window starts black

    // The earlier window repaints its own picture.
    display.Uncover(first, {0, 0, 200, 10});
    ASSERT_TRUE(display.WaitForWindowPixel(first, 10, 0, DefaultPixel(4)));
    EXPECT_EQ(display.WindowPixel(first, 80, 0), DefaultPixel(4));

    // Closing the earlier window tears down only its own buffer.
    display.Close(first);
    WaitUntilClosed(first);
    EXPECT_FALSE(display.HasBuffer(first));
    EXPECT_TRUE(display.HasBuffer(second));
    GraphState.resultCode = 0;
    EXPECT_EQ(DriverSlots.ReadPixel(10, 0), 1);
    EXPECT_EQ(GraphResult(), 0);
    PenLineTo(50, 50);
    EXPECT_TRUE(display.WaitForWindowPixel(second, 50, 50, DefaultPixel(1)));
}

TEST(Window, LeaveGraphicsClosesOnlyTheNewestWindow) {
    RestartLibrary();
    std::vector<WindowHandle> windows;
    for (int pass = 0; pass < 3; ++pass) {
        int16_t driver = 0, mode = 2;
        InitGraph(driver, mode, "");
        ASSERT_EQ(GraphResult(), 0);
        windows.push_back(display.NewestWindow());
    }
    LeaveGraphics();
    EXPECT_TRUE(display.IsOpen(windows[0]));
    EXPECT_TRUE(display.IsOpen(windows[1]));
    EXPECT_FALSE(display.IsOpen(windows[2]));
    ShutdownAllWindows();
    EXPECT_FALSE(display.IsOpen(windows[0]));
}

// Run under ThreadSanitizer in CI: the main thread draws while another thread keeps uncovering
// the window (so its GUI thread repaints) and then closes it.
TEST(WindowThreading, DrawingWhileRepaintingAndClosing) {
    StartMode();
    WindowHandle window = display.NewestWindow();
    std::atomic<bool> drawing{true};
    std::thread user([&] {
        for (int i = 0; i < 300; ++i) {
            display.Uncover(window, {i % 600, i % 400, i % 600 + 40, i % 400 + 40});
            std::this_thread::yield();
        }
        display.Close(window);
        while (drawing.load()) std::this_thread::yield();
    });
    int passes = 0;
    while (display.IsOpen(window) || passes < 50) {
        for (int16_t i = 0; i < 100; ++i) {
            SetDrawColor(static_cast<uint16_t>(i % 16));
            PenLineTo(static_cast<int16_t>((i * 37 + passes) % 640), static_cast<int16_t>((i * 91) % 480));
            DriverSlots.ReadPixel(i, i);
        }
        DriverSlots.DrawHorizontalLine(0, 639, static_cast<int16_t>(passes % 480));
        ++passes;
    }
    drawing = false;
    user.join();
    GraphState.resultCode = 0;
    DriverSlots.ReadPixel(0, 0);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    LeaveGraphics();
    EXPECT_FALSE(GraphState.inGraphics);
}

}  // namespace

namespace {

// The drawing side and the window side never hold DrawLock at once: a pair written together
// under the drawing side is never seen half-written under the window side.
TEST(WindowThreading, DrawLockExcludesTheTwoSides) {
    std::atomic<int> first{0}, second{0};
    std::atomic<bool> done{false};
    std::atomic<int> torn{0}, looks{0};
    std::thread gui([&] {
        while (!done.load()) {
            DrawLock.LockForWindow();
            if (first.load(std::memory_order_relaxed) != second.load(std::memory_order_relaxed)) ++torn;
            DrawLock.UnlockForWindow();
            ++looks;
        }
    });
    for (int i = 1; looks.load(std::memory_order_relaxed) < 3000; ++i) {
        DrawLock.LockForDrawing();
        first.store(i, std::memory_order_relaxed);
        second.store(i, std::memory_order_relaxed);
        DrawLock.UnlockForDrawing();
    }
    done = true;
    gui.join();
    EXPECT_EQ(torn.load(), 0);
}

}  // namespace
