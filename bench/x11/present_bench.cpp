// Presents on the X server: how long after the last drawing call of a full-window redraw its
// pixels are on the server, both when the request that carries them has been written to the
// server (sent_*) and when the server gives them back to a connection of its own (latency_*,
// which adds the server's own work on the request); and how far apart the window's presents
// start while drawing goes on without a stop. The display interval is the yardstick: the
// latencies and 1000 / min_present_gap_ms should stay within 16.7 ms and 60.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/draw_lock.h"
#include "graph/window/x11/x11_display.h"
#include "tests/e2e/x_inspector.h"
#include "tests/e2e/xvfb_server.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The X11 display, noting when each present starts and when the request holding the buffer's
// last row has been written to the server: a present's bands follow one another down the area,
// so a band that does not start where the one before ended starts a new present.
class TimedDisplay : public X11Display {
public:
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override {
        const Clock::time_point now = Clock::now();
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (area.top != lastBottom_) starts_.push_back(now);
            lastBottom_ = area.bottom;
        }
        X11Display::Present(window, buffer, area);
        if (area.bottom == buffer.height) {
            std::lock_guard<std::mutex> guard(mutex_);
            lastRowSent_ = Clock::now();
        }
    }
    Clock::time_point LastRowSent() {
        std::lock_guard<std::mutex> guard(mutex_);
        return lastRowSent_;
    }
    std::vector<Clock::time_point> TakeStarts() {
        std::lock_guard<std::mutex> guard(mutex_);
        lastBottom_ = -1;
        return std::exchange(starts_, {});
    }

private:
    std::mutex mutex_;
    int32_t lastBottom_ = -1;
    std::vector<Clock::time_point> starts_;
    Clock::time_point lastRowSent_;
};

// The server's value of one pixel of the window, 0x00RRGGBB on a 24-bit server.
uint32_t ServerPixel(xcb_connection_t* connection, xcb_window_t window, int16_t x, int16_t y) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, 1, 1, ~0u), nullptr);
    if (reply == nullptr) return 0xFFFFFFFF;
    uint32_t value = 0;
    std::copy_n(xcb_get_image_data(reply), std::min<int>(4, xcb_get_image_data_length(reply)),
                reinterpret_cast<uint8_t*>(&value));
    std::free(reply);
    return value & 0xFFFFFF;
}

uint32_t BufferPixelAt(int32_t x, int32_t y) {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    return buffer.pixels[static_cast<int64_t>(y) * buffer.stride + x] & 0xFFFFFF;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_FullRedrawReachesTheServer(benchmark::State& state) {
    XvfbServer server;
    if (!server.Start(1280, 1024)) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    static TimedDisplay display;
    SelectDisplay(display);
    GraphicsLayerInit();
    int16_t driver = 10, mode = 240;  // the largest window the screen holds
    InitGraph(driver, mode, "");
    XInspector inspector;
    const std::vector<xcb_window_t> windows = inspector.WindowsOfClass("ZorvGraphWindow");
    if (GraphResult() != GraphOk || windows.empty()) {
        state.SkipWithError("no window");
        return;
    }
    const int16_t right = static_cast<int16_t>(GraphState.viewMaxX), bottom = static_cast<int16_t>(GraphState.viewMaxY);
    std::vector<double> latencies, sentLatencies;
    uint16_t colour = 0;
    for (auto _ : state) {
        SetDrawColor(static_cast<uint16_t>(1 + (++colour % 15)));
        // A full-window redraw, one drawing call per row; the last row's last pixel comes last.
        for (int16_t y = 0; y <= bottom; ++y) DriverSlots.DrawHorizontalLine(0, right, y);
        const Clock::time_point drawn = Clock::now();
        const uint32_t expected = BufferPixelAt(right, bottom);
        // Asked again every 0.1 ms, not in a busy loop: on two cores a busy loop (and the
        // server answering it) kept the window's thread from waking on time, by up to 9 ms.
        while (ServerPixel(inspector.connection(), windows.back(), right, bottom) != expected) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        latencies.push_back(MsBetween(drawn, Clock::now()));
        sentLatencies.push_back(std::max(0.0, MsBetween(drawn, display.LastRowSent())));
        state.SetIterationTime(latencies.back() / 1000);
    }
    // Drawing that goes on, redraw after redraw for a second: how close its presents come.
    display.TakeStarts();
    for (const Clock::time_point end = Clock::now() + std::chrono::seconds(1); Clock::now() < end;) {
        SetDrawColor(static_cast<uint16_t>(1 + (++colour % 15)));
        for (int16_t y = 0; y <= bottom; ++y) DriverSlots.DrawHorizontalLine(0, right, y);
    }
    const std::vector<Clock::time_point> starts = display.TakeStarts();
    double minGap = 1e9;
    for (size_t i = 1; i < starts.size(); ++i) minGap = std::min(minGap, MsBetween(starts[i - 1], starts[i]));
    state.counters["latency_median_ms"] = Median(latencies);
    state.counters["latency_max_ms"] = *std::max_element(latencies.begin(), latencies.end());
    state.counters["sent_median_ms"] = Median(sentLatencies);
    state.counters["sent_max_ms"] = *std::max_element(sentLatencies.begin(), sentLatencies.end());
    state.counters["min_present_gap_ms"] = minGap;
    state.counters["presents"] = static_cast<double>(starts.size());
    ShutdownAllWindows();
}

BENCHMARK(BM_FullRedrawReachesTheServer)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
