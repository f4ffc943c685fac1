// The four screen metrics from the server: the screen size, the work area and a window's frame
// as the window manager publishes them. Without a window manager a window has no frame and the
// whole screen is the work area, so all four metrics are the screen size.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "graph/window/x11/x11_connection.h"
#include "graph/window/x11/x11_display.h"

namespace {

// How long a window manager may take to tell the frame it would give a window.
constexpr auto kFrameExtentsWait = std::chrono::milliseconds(200);

struct Extents {
    int32_t left = 0, right = 0, top = 0, bottom = 0;
};

struct Area {
    int32_t width, height;
};

// Reads up to `count` 32-bit values of a property; returns how many were there.
int ReadCardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                  xcb_atom_t type, uint32_t* values, int count) {
    auto* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, type, 0, static_cast<uint32_t>(count)),
        nullptr);
    if (reply == nullptr) return 0;
    int found = 0;
    if (reply->format == 32) {
        found = std::min(count, xcb_get_property_value_length(reply) / 4);
        std::memcpy(values, xcb_get_property_value(reply), static_cast<size_t>(found) * 4);
    }
    free(reply);
    return found;
}

bool WindowManagerRunning(X11Connection& server) {
    uint32_t check = 0;
    return ReadCardinals(server.connection, server.screen->root, server.atoms.netSupportingWmCheck,
                         XCB_ATOM_WINDOW, &check, 1) == 1 &&
           check != 0;
}

Area WorkArea(X11Connection& server) {
    uint32_t area[4];
    if (ReadCardinals(server.connection, server.screen->root, server.atoms.netWorkArea,
                      XCB_ATOM_CARDINAL, area, 4) == 4 &&
        area[2] > 0 && area[3] > 0) {
        return {static_cast<int32_t>(area[2]), static_cast<int32_t>(area[3])};
    }
    return {server.screen->width_in_pixels, server.screen->height_in_pixels};
}

// Hears the window manager's answer about a probe window's frame.
class FrameAnswer final : public X11EventSink {
public:
    explicit FrameAnswer(xcb_atom_t published) : published_(published) {}

    void Deliver(const xcb_generic_event_t& event) override {
        if ((event.response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
            reinterpret_cast<const xcb_property_notify_event_t&>(event).atom == published_) {
            Arrive();
        }
    }
    void ConnectionLost() override { Arrive(); }

    void AwaitUntil(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock<std::mutex> hold(mutex_);
        arrived_.wait_until(hold, deadline, [this] { return answered_; });
    }

private:
    void Arrive() {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            answered_ = true;
        }
        arrived_.notify_all();
    }

    const xcb_atom_t published_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    bool answered_ = false;
};

// Asks the window manager which frame it would put around a new window, with a window made
// only for the question.
Extents FrameExtents(X11Connection& server) {
    xcb_connection_t* connection = server.connection;
    Extents extents;
    FrameAnswer answer(server.atoms.netFrameExtents);
    const xcb_window_t probe = xcb_generate_id(connection);
    server.Route(probe, &answer);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, server.screen->root, 0, 0, 100, 100,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &mask);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = probe;
    message.type = server.atoms.netRequestFrameExtents;
    xcb_send_event(connection, 0, server.screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    answer.AwaitUntil(std::chrono::steady_clock::now() + kFrameExtentsWait);
    uint32_t values[4];
    if (ReadCardinals(connection, probe, server.atoms.netFrameExtents, XCB_ATOM_CARDINAL, values, 4) == 4) {
        extents = {static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]),
                   static_cast<int32_t>(values[2]), static_cast<int32_t>(values[3])};
    }
    xcb_destroy_window(connection, probe);
    xcb_flush(connection);
    server.Unroute(probe);
    return extents;
}

}  // namespace

ScreenMetrics X11Display::Metrics() {
    // The connection stays open for the windows to come.
    const std::shared_ptr<X11Connection> server = Connection();
    if (!server->Usable()) return {0, 0, 0, 0};
    const int32_t screenWidth = server->screen->width_in_pixels;
    const int32_t screenHeight = server->screen->height_in_pixels;
    Area work{screenWidth, screenHeight};
    Extents frame;
    if (WindowManagerRunning(*server)) {
        work = WorkArea(*server);
        frame = FrameExtents(*server);
    }
    // As a framed window's sizes are reckoned: the side frames on both sides, the top frame
    // holding the caption above a frame as wide as the bottom one. A maximised window keeps its
    // caption only.
    const int32_t caption = std::max(0, frame.top - frame.bottom);
    return {screenWidth - frame.left - frame.right, screenHeight - frame.top - frame.bottom,
            work.width, work.height - caption};
}
