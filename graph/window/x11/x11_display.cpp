#include "graph/window/x11/x11_display.h"

#include <errno.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "graph/window/x11/x11_connection.h"
#include "graph/window/x11/x11_window.h"

namespace {

constexpr uint32_t kWindowEvents = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                   XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_BUTTON_PRESS |
                                   XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                   XCB_EVENT_MASK_STRUCTURE_NOTIFY;

void SetText(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
             xcb_atom_t type, std::string_view text) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<uint32_t>(text.size()), text.data());
}

// Title, class, the close protocol and, for the maximised modes, the initial maximised state.
void DescribeWindow(const X11Connection& server, xcb_window_t window, const WindowRequest& request) {
    xcb_connection_t* connection = server.connection;
    const X11Atoms& atoms = server.atoms;
    SetText(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, request.title);
    SetText(connection, window, atoms.netWmName, atoms.utf8String, request.title);
    // WM_CLASS holds the instance name and the class name, each ending in NUL.
    std::string classNames = std::string(request.className) + '\0' + request.className + '\0';
    SetText(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, classNames);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.wmProtocols, XCB_ATOM_ATOM,
                        32, 1, &atoms.wmDeleteWindow);
    const uint32_t pid = static_cast<uint32_t>(getpid());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.netWmPid,
                        XCB_ATOM_CARDINAL, 32, 1, &pid);
    if (request.maximise) {
        const xcb_atom_t state[2] = {atoms.maximisedVert, atoms.maximisedHorz};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.netWmState,
                            XCB_ATOM_ATOM, 32, 2, state);
    }
}

// The line under "Window creation failed" would read as if the window were at fault; this one
// comes first and names the display.
void SayWhy(const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, reason.c_str());
    std::fflush(stderr);
}

}  // namespace

X11Display::X11Display() = default;
X11Display::~X11Display() = default;

std::shared_ptr<X11Connection> X11Display::Connection() {
    std::lock_guard<std::mutex> hold(connectionMutex_);
    if (connection_ == nullptr || !connection_->Usable()) {
        connection_ = std::make_shared<X11Connection>();
    }
    return connection_;
}

bool X11Display::Answers() { return Connection()->Usable(); }

WindowHandle X11Display::CreateWindow(const WindowRequest& request) {
    const std::shared_ptr<X11Connection> server = Connection();
    if (!server->Usable()) {
        if (!server->failure().empty()) SayWhy(server->failure());
        return kNoWindow;
    }
    if (request.clientWidth <= 0 || request.clientHeight <= 0) return kNoWindow;
    xcb_connection_t* connection = server->connection;
    auto record = std::make_shared<X11Window>(server);
    record->window = xcb_generate_id(connection);
    if (!server->Route(record->window, record.get())) return kNoWindow;
    const uint32_t values[] = {0 /* black */, 0, kWindowEvents, server->colormap};
    const xcb_void_cookie_t created = xcb_create_window_checked(
        connection, server->format.depth, record->window, server->screen->root, 0, 0,
        static_cast<uint16_t>(request.clientWidth), static_cast<uint16_t>(request.clientHeight), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, server->visual,
        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (xcb_generic_error_t* error = xcb_request_check(connection, created)) {
        free(error);
        return kNoWindow;
    }
    DescribeWindow(*server, record->window, request);
    record->gc = xcb_generate_id(connection);
    const uint32_t noExposures = 0;
    xcb_create_gc(connection, record->gc, record->window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    xcb_flush(connection);
    if (xcb_connection_has_error(connection)) return kNoWindow;

    std::lock_guard<std::mutex> hold(registryMutex_);
    const WindowHandle handle = ++lastHandle_;
    windows_[handle] = std::move(record);
    return handle;
}

void X11Display::ShowWindow(WindowHandle window) {
    auto record = Find(window);
    if (record == nullptr) return;
    xcb_map_window(record->connection->connection, record->window);
    record->connection->Sync();
}

void X11Display::DestroyWindow(WindowHandle handle) {
    std::shared_ptr<X11Window> window;
    {
        std::lock_guard<std::mutex> hold(registryMutex_);
        auto found = windows_.find(handle);
        if (found == windows_.end()) return;
        window = std::move(found->second);
        windows_.erase(found);
    }
    ReleaseStore(*window);
    if (!window->lost()) {
        xcb_connection_t* connection = window->connection->connection;
        xcb_free_gc(connection, window->gc);
        xcb_destroy_window(connection, window->window);
        xcb_flush(connection);
    }
}

// Both title properties, as DescribeWindow set them, so that old and new window managers agree.
void X11Display::SetTitle(WindowHandle handle, const char* title) {
    auto window = Find(handle);
    if (window == nullptr || window->lost()) return;
    xcb_connection_t* connection = window->connection->connection;
    SetText(connection, window->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
    SetText(connection, window->window, window->connection->atoms.netWmName,
            window->connection->atoms.utf8String, title);
    xcb_flush(connection);
}
