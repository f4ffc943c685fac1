#include "graph/window/x11_display.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "graph/window/x11_window.h"

namespace {

const xcb_visualtype_t* FindTrueColorVisual(const xcb_screen_t& screen) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != kPixelDepth) continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& v = *visuals.data;
            if (v._class == XCB_VISUAL_CLASS_TRUE_COLOR && v.red_mask == 0xFF0000 &&
                v.green_mask == 0x00FF00 && v.blue_mask == 0x0000FF) {
                return visuals.data;
            }
        }
    }
    return nullptr;
}

// The buffer's 0x00RRGGBB words go to the server unchanged only when depth-24 images are
// stored as 32-bit words.
bool ServerStoresDepth24In32Bits(const xcb_setup_t& setup) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(&setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == kPixelDepth) return formats.data->bits_per_pixel == 32;
    }
    return false;
}

struct WindowAtoms {
    xcb_atom_t wmProtocols, wmDeleteWindow, netWmName, utf8String, netWmState, maximisedVert,
        maximisedHorz, netWmPid;
};

WindowAtoms InternWindowAtoms(xcb_connection_t* connection) {
    static constexpr const char* kNames[] = {"WM_PROTOCOLS",
                                             "WM_DELETE_WINDOW",
                                             "_NET_WM_NAME",
                                             "UTF8_STRING",
                                             "_NET_WM_STATE",
                                             "_NET_WM_STATE_MAXIMIZED_VERT",
                                             "_NET_WM_STATE_MAXIMIZED_HORZ",
                                             "_NET_WM_PID"};
    constexpr size_t kCount = sizeof kNames / sizeof kNames[0];
    xcb_intern_atom_cookie_t cookies[kCount];
    for (size_t i = 0; i < kCount; ++i) {
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(kNames[i])), kNames[i]);
    }
    xcb_atom_t atoms[kCount] = {};
    for (size_t i = 0; i < kCount; ++i) {
        if (auto* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            free(reply);
        }
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7]};
}

void SetText(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
             xcb_atom_t type, std::string_view text) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<uint32_t>(text.size()), text.data());
}

// Title, class, the close protocol and, for the maximised modes, the initial maximised state.
void DescribeWindow(xcb_connection_t* connection, xcb_window_t window, const WindowAtoms& atoms,
                    const WindowRequest& request) {
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

bool ShmOffered(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    return shm != nullptr && shm->present;
}

}  // namespace

xcb_screen_t* X11Screen(xcb_connection_t* connection, int number) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem && number > 0; --number) xcb_screen_next(&screens);
    return screens.rem ? screens.data : nullptr;
}

X11Window::X11Window() : wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

X11Window::~X11Window() {
    if (connection != nullptr) xcb_disconnect(connection);
    if (wakeFd >= 0) close(wakeFd);
}

void X11Window::Post(WindowEventKind kind) {
    {
        std::lock_guard<std::mutex> hold(postMutex);
        posted.push_back(kind);
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd, &one, sizeof one);
}

X11Display::X11Display() = default;
X11Display::~X11Display() = default;

std::shared_ptr<X11Window> X11Display::Find(WindowHandle window) {
    std::lock_guard<std::mutex> hold(registryMutex_);
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second;
}

WindowHandle X11Display::CreateWindow(const WindowRequest& request) {
    auto record = std::make_shared<X11Window>();
    if (record->wakeFd < 0 || request.clientWidth <= 0 || request.clientHeight <= 0) {
        return kNoWindow;
    }
    int screenNumber = 0;
    record->connection = xcb_connect(nullptr, &screenNumber);
    xcb_connection_t* connection = record->connection;
    if (xcb_connection_has_error(connection)) return kNoWindow;
    const xcb_screen_t* screen = X11Screen(connection, screenNumber);
    const xcb_visualtype_t* visual = screen ? FindTrueColorVisual(*screen) : nullptr;
    if (visual == nullptr || !ServerStoresDepth24In32Bits(*xcb_get_setup(connection))) {
        return kNoWindow;
    }

    // A visual other than the root's needs a colormap of its own, and a border pixel, or the
    // server refuses the window.
    const xcb_colormap_t colormap = xcb_generate_id(connection);
    xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root,
                        visual->visual_id);
    record->window = xcb_generate_id(connection);
    const uint32_t values[] = {0 /* black */, 0,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                   XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_BUTTON_PRESS |
                                   XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                               colormap};
    const xcb_void_cookie_t created = xcb_create_window_checked(
        connection, kPixelDepth, record->window, screen->root, 0, 0,
        static_cast<uint16_t>(request.clientWidth), static_cast<uint16_t>(request.clientHeight), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, visual->visual_id,
        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    xcb_free_colormap(connection, colormap);
    if (xcb_generic_error_t* error = xcb_request_check(connection, created)) {
        free(error);
        return kNoWindow;
    }
    const WindowAtoms atoms = InternWindowAtoms(connection);
    record->wmProtocols = atoms.wmProtocols;
    record->wmDeleteWindow = atoms.wmDeleteWindow;
    DescribeWindow(connection, record->window, atoms, request);
    record->gc = xcb_generate_id(connection);
    const uint32_t noExposures = 0;
    xcb_create_gc(connection, record->gc, record->window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    record->shmOffered = ShmOffered(connection);
    record->maxRequestBytes = xcb_get_maximum_request_length(connection) * 4;
    LoadKeymap(*record);
    if (xcb_connection_has_error(connection)) return kNoWindow;

    std::lock_guard<std::mutex> hold(registryMutex_);
    const WindowHandle handle = ++lastHandle_;
    windows_[handle] = std::move(record);
    return handle;
}

void X11Display::ShowWindow(WindowHandle window) {
    auto record = Find(window);
    if (record == nullptr) return;
    xcb_map_window(record->connection, record->window);
    xcb_flush(record->connection);
}

namespace {

// One server event as a window event; kind None for events the back-end has no use for.
WindowEvent TranslateServerEvent(X11Window& window, const xcb_generic_event_t& event) {
    WindowEvent result{};
    switch (event.response_type & 0x7F) {
        case XCB_EXPOSE: {
            const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
            result.kind = WindowEventKind::Expose;
            result.area = {expose.x, expose.y, expose.x + expose.width, expose.y + expose.height};
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
            if (message.type == window.wmProtocols && message.format == 32 &&
                message.data.data32[0] == window.wmDeleteWindow) {
                result.kind = WindowEventKind::Close;
            }
            break;
        }
        case XCB_DESTROY_NOTIFY:
            // Another client destroyed the window: it is gone as if the user had closed it.
            if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window ==
                window.window) {
                result.kind = WindowEventKind::Close;
            }
            break;
        case XCB_MAPPING_NOTIFY:
            LoadKeymap(window);
            break;
        default:
            if (TranslateInput(window, event, window.pendingInput) > 0) {
                result = window.pendingInput.front();
                window.pendingInput.pop_front();
            }
            break;
    }
    return result;
}

}  // namespace

WindowEvent X11Display::NextEvent(WindowHandle handle) {
    auto window = Find(handle);
    if (window == nullptr) return {WindowEventKind::Quit, {}, 0, 0, 0};
    for (;;) {
        if (!window->pendingInput.empty()) {
            WindowEvent event = window->pendingInput.front();
            window->pendingInput.pop_front();
            return event;
        }
        // Posts come in the order posted. Damage at the head waits until the server's events
        // are taken, though: drawing posts damage again as soon as it is taken, and would
        // otherwise keep a close request or an exposure waiting for as long as it draws.
        bool damageAtHead = false;
        {
            std::lock_guard<std::mutex> hold(window->postMutex);
            if (!window->posted.empty()) {
                const WindowEventKind kind = window->posted.front();
                if (kind != WindowEventKind::Damage) {
                    window->posted.pop_front();
                    return {kind, {}, 0, 0, 0};
                }
                damageAtHead = true;
            }
        }
        if (!window->connectionLost) {
            while (xcb_generic_event_t* raw = xcb_poll_for_event(window->connection)) {
                const WindowEvent event = TranslateServerEvent(*window, *raw);
                free(raw);
                if (event.kind != WindowEventKind::None) return event;
            }
            if (xcb_connection_has_error(window->connection)) {
                window->connectionLost = true;
                return {WindowEventKind::Close, {}, 0, 0, 0};
            }
            xcb_flush(window->connection);
        }
        if (damageAtHead) {
            std::lock_guard<std::mutex> hold(window->postMutex);
            window->posted.pop_front();
            // Cleared before the back-end collects the damage, so that drawing after that
            // posts again.
            window->damagePending = false;
            return {WindowEventKind::Damage, {}, 0, 0, 0};
        }
        pollfd sources[2] = {{window->wakeFd, POLLIN, 0},
                             {xcb_get_file_descriptor(window->connection), POLLIN, 0}};
        poll(sources, window->connectionLost ? 1 : 2, -1);
        uint64_t count;
        [[maybe_unused]] ssize_t drained = read(window->wakeFd, &count, sizeof count);
    }
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
    if (!window->connectionLost) {
        xcb_free_gc(window->connection, window->gc);
        xcb_destroy_window(window->connection, window->window);
        xcb_flush(window->connection);
    }
    xcb_disconnect(window->connection);
    window->connection = nullptr;
}

void X11Display::PostDestroy(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Destroy);
}

void X11Display::PostQuit(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Quit);
}

void X11Display::PostDamage(WindowHandle window) {
    auto record = Find(window);
    if (record != nullptr && !record->damagePending.exchange(true)) {
        record->Post(WindowEventKind::Damage);
    }
}
