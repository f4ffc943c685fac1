// The four screen metrics from the server: the screen size, the work area and a window's frame
// as the window manager publishes them. Without a window manager a window has no frame and the
// whole screen is the work area, so all four metrics are the screen size.

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "graph/window/x11_display.h"
#include "graph/window/x11_window.h"

namespace {

// How long a window manager may take to tell the frame it would give a window.
constexpr auto kFrameExtentsWait = std::chrono::milliseconds(200);

struct Extents {
    int32_t left = 0, right = 0, top = 0, bottom = 0;
};

struct Area {
    int32_t width, height;
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
}

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

bool WindowManagerRunning(xcb_connection_t* connection, xcb_window_t root) {
    uint32_t check = 0;
    return ReadCardinals(connection, root, Atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                         XCB_ATOM_WINDOW, &check, 1) == 1 &&
           check != 0;
}

Area WorkArea(xcb_connection_t* connection, const xcb_screen_t& screen) {
    uint32_t area[4];
    if (ReadCardinals(connection, screen.root, Atom(connection, "_NET_WORKAREA"), XCB_ATOM_CARDINAL,
                      area, 4) == 4 &&
        area[2] > 0 && area[3] > 0) {
        return {static_cast<int32_t>(area[2]), static_cast<int32_t>(area[3])};
    }
    return {screen.width_in_pixels, screen.height_in_pixels};
}

// Asks the window manager which frame it would put around a new window, with a window made
// only for the question.
Extents FrameExtents(xcb_connection_t* connection, const xcb_screen_t& screen) {
    Extents extents;
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t published = Atom(connection, "_NET_FRAME_EXTENTS");
    const xcb_window_t probe = xcb_generate_id(connection);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, screen.root, 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &mask);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = probe;
    message.type = request;
    xcb_send_event(connection, 0, screen.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    const auto deadline = std::chrono::steady_clock::now() + kFrameExtentsWait;
    for (bool answered = false; !answered;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            answered = answered || ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                                    change->atom == published);
            free(event);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (answered || left.count() <= 0 || xcb_connection_has_error(connection)) break;
        pollfd source{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&source, 1, static_cast<int>(left.count()));
    }
    uint32_t values[4];
    if (ReadCardinals(connection, probe, published, XCB_ATOM_CARDINAL, values, 4) == 4) {
        extents = {static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]),
                   static_cast<int32_t>(values[2]), static_cast<int32_t>(values[3])};
    }
    xcb_destroy_window(connection, probe);
    return extents;
}

}  // namespace

ScreenMetrics X11Display::Metrics() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    const xcb_screen_t* screen =
        xcb_connection_has_error(connection) ? nullptr : X11Screen(connection, screenNumber);
    if (screen == nullptr) {
        xcb_disconnect(connection);
        return {0, 0, 0, 0};
    }
    const int32_t screenWidth = screen->width_in_pixels;
    const int32_t screenHeight = screen->height_in_pixels;
    Area work{screenWidth, screenHeight};
    Extents frame;
    if (WindowManagerRunning(connection, screen->root)) {
        work = WorkArea(connection, *screen);
        frame = FrameExtents(connection, *screen);
    }
    xcb_disconnect(connection);
    // As a framed window's sizes are reckoned: the side frames on both sides, the top frame
    // holding the caption above a frame as wide as the bottom one. A maximised window keeps its
    // caption only.
    const int32_t caption = std::max(0, frame.top - frame.bottom);
    return {screenWidth - frame.left - frame.right, screenHeight - frame.top - frame.bottom,
            work.width, work.height - caption};
}
