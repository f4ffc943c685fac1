#include "graph/window/x11/x11_connection.h"

#include <xcb/shm.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/window/x11/visual_choice.h"

namespace {

std::string DisplayName() {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr ? name : "";
}

// Why xcb_connect failed, as a user reads it.
std::string ConnectFailure(int error, const std::string& display) {
    if (display.empty()) return "cannot open display: DISPLAY is not set";
    const std::string named = "cannot open display \"" + display + "\": ";
    switch (error) {
        case XCB_CONN_CLOSED_PARSE_ERR:
            return named + "DISPLAY does not name an X display";
        case XCB_CONN_CLOSED_INVALID_SCREEN:
            return named + "the X server has no such screen";
        default:
            return named + "the X server refused the connection or could not be reached";
    }
}

uint8_t BitsPerPixelOfDepth(const xcb_setup_t& setup, uint8_t depth, uint8_t& scanlinePad) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth) {
            scanlinePad = formats.data->scanline_pad;
            return formats.data->bits_per_pixel;
        }
    }
    return 0;
}

X11Atoms InternAtoms(xcb_connection_t* connection) {
    static constexpr const char* kNames[] = {
        "WM_PROTOCOLS",          "WM_DELETE_WINDOW",
        "_NET_WM_NAME",          "UTF8_STRING",
        "_NET_WM_STATE",         "_NET_WM_STATE_MAXIMIZED_VERT",
        "_NET_WM_STATE_MAXIMIZED_HORZ", "_NET_WM_PID",
        "_NET_FRAME_EXTENTS",    "_NET_REQUEST_FRAME_EXTENTS",
        "_NET_WORKAREA",         "_NET_SUPPORTING_WM_CHECK"};
    constexpr size_t kCount = sizeof kNames / sizeof kNames[0];
    static_assert(kCount * sizeof(xcb_atom_t) == sizeof(X11Atoms));
    xcb_intern_atom_cookie_t cookies[kCount];
    for (size_t i = 0; i < kCount; ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(kNames[i])), kNames[i]);
    }
    xcb_atom_t atoms[kCount] = {};
    for (size_t i = 0; i < kCount; ++i) {
        if (auto* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            free(reply);
        }
    }
    X11Atoms result;
    std::memcpy(&result, atoms, sizeof result);
    return result;
}

// The window an event concerns, 0 for none. Structure events name the window they were
// selected on in the same place as the input events do.
xcb_window_t WindowOfEvent(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7F) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
        case XCB_MOTION_NOTIFY:
            return reinterpret_cast<const xcb_key_press_event_t&>(event).event;
        case XCB_EXPOSE:
            return reinterpret_cast<const xcb_expose_event_t&>(event).window;
        case XCB_CLIENT_MESSAGE:
            return reinterpret_cast<const xcb_client_message_event_t&>(event).window;
        case XCB_PROPERTY_NOTIFY:
            return reinterpret_cast<const xcb_property_notify_event_t&>(event).window;
        case XCB_DESTROY_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_MAP_NOTIFY:
        case XCB_REPARENT_NOTIFY:
        case XCB_CONFIGURE_NOTIFY:
            return reinterpret_cast<const xcb_destroy_notify_event_t&>(event).event;
        default:
            return 0;
    }
}

}  // namespace

X11Connection::X11Connection() : connection(xcb_connect(nullptr, nullptr)) {
    const std::string display = DisplayName();
    if (const int error = xcb_connection_has_error(connection)) {
        failure_ = ConnectFailure(error, display);
        return;
    }
    // The screen DISPLAY names (":0.1" is screen 1).
    char* host = nullptr;
    int displayNumber = 0, screenNumber = 0;
    if (xcb_parse_display(nullptr, &host, &displayNumber, &screenNumber) == 0) screenNumber = 0;
    free(host);
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem && screenNumber > 0; --screenNumber) xcb_screen_next(&screens);
    screen = screens.data;
    if (!ChooseVisual()) {
        failure_ = "cannot open a window on \"" + display +
                   "\": the X server offers no TrueColor visual";
        return;
    }
    atoms = InternAtoms(connection);
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    shmOffered = shm != nullptr && shm->present;
    maxRequestBytes = xcb_get_maximum_request_length(connection) * 4;
    keyboard.Open(connection);

    // A window only this connection knows: a message sent to it wakes the dispatcher.
    wakeWindow_ = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, wakeWindow_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(connection);
    dispatcher_ = std::thread(&X11Connection::Dispatch, this);
}

X11Connection::~X11Connection() {
    if (dispatcher_.joinable()) {
        stopping_ = true;
        xcb_client_message_event_t wake{};
        wake.response_type = XCB_CLIENT_MESSAGE;
        wake.format = 32;
        wake.window = wakeWindow_;
        xcb_send_event(connection, 0, wakeWindow_, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&wake));
        xcb_flush(connection);
        dispatcher_.join();
    }
    xcb_disconnect(connection);
}

bool X11Connection::ChooseVisual() {
    if (screen == nullptr) return false;
    const xcb_setup_t& setup = *xcb_get_setup(connection);
    std::vector<VisualOffer> offers;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& v = *visuals.data;
            VisualOffer offer{v.visual_id, v._class == XCB_VISUAL_CLASS_TRUE_COLOR,
                              v.visual_id == screen->root_visual, {}};
            offer.format.depth = depths.data->depth;
            offer.format.bitsPerPixel =
                BitsPerPixelOfDepth(setup, offer.format.depth, offer.format.scanlinePad);
            offer.format.mostSignificantFirst = setup.image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
            offer.format.redMask = v.red_mask;
            offer.format.greenMask = v.green_mask;
            offer.format.blueMask = v.blue_mask;
            offers.push_back(offer);
        }
    }
    const int chosen = ::ChooseVisual(offers);
    if (chosen < 0) return false;
    visual = offers[chosen].id;
    format = offers[chosen].format;
    if (offers[chosen].root) {
        colormap = screen->default_colormap;
    } else {
        // A visual other than the root's needs a colormap of its own.
        colormap = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
    }
    return true;
}

bool X11Connection::Usable() const {
    return failure_.empty() && !lost_ && !xcb_connection_has_error(connection);
}

bool X11Connection::Route(xcb_window_t window, X11EventSink* sink) {
    std::lock_guard<std::mutex> hold(routesMutex_);
    if (lost_) return false;
    routes_[window] = sink;
    return true;
}

void X11Connection::Unroute(xcb_window_t window) {
    std::lock_guard<std::mutex> hold(routesMutex_);
    routes_.erase(window);
}

void X11Connection::Sync() {
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void X11Connection::Dispatch() {
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const xcb_window_t window = WindowOfEvent(*event);
        if (window == wakeWindow_ && stopping_) {
            free(event);
            return;
        }
        if (!keyboard.TakeKeyboardEvent(*event) && window != 0) {
            std::lock_guard<std::mutex> hold(routesMutex_);
            auto route = routes_.find(window);
            if (route != routes_.end()) route->second->Deliver(*event);
        }
        free(event);
    }
    // The connection is gone: every window reads it as closed.
    std::lock_guard<std::mutex> hold(routesMutex_);
    lost_ = true;
    for (auto& route : routes_) route.second->ConnectionLost();
}
