// An X window's two sides: the events the dispatcher and the back-end queue for it and its GUI
// thread takes, and the copy of the back-buffer's rectangles onto it.

#include "graph/window/x11/x11_window.h"

#include <algorithm>
#include <vector>

#include "graph/window/x11/key_messages.h"
#include "graph/window/x11/x11_display.h"

namespace {

// A put-image request's fixed part.
constexpr uint32_t kPutImageHeaderBytes = 24;

// Without shared memory: the area converted to the server's pixel format, in as many
// put-image requests as the server's request limit needs.
void PutImageInBands(X11Window& window, const PixelBuffer& buffer, PixelRect area) {
    const PixelFormat& format = window.connection->format;
    const int32_t width = area.right - area.left;
    const size_t rowBytes = ImageRowBytes(format, width);
    const size_t rowsPerBand = std::max<size_t>(
        1, (window.connection->maxRequestBytes - kPutImageHeaderBytes) / rowBytes);
    std::vector<uint8_t> band;
    for (int32_t top = area.top; top < area.bottom;) {
        const size_t rows = std::min<size_t>(rowsPerBand, static_cast<size_t>(area.bottom - top));
        band.resize(rows * rowBytes);
        for (size_t r = 0; r < rows; ++r) {
            ConvertRow(format, buffer.pixels + (top + r) * static_cast<size_t>(buffer.stride) + area.left,
                       width, band.data() + r * rowBytes);
        }
        xcb_put_image(window.connection->connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window.window,
                      window.gc, static_cast<uint16_t>(width), static_cast<uint16_t>(rows),
                      static_cast<int16_t>(area.left), static_cast<int16_t>(top), 0, format.depth,
                      static_cast<uint32_t>(band.size()), band.data());
        top += static_cast<int32_t>(rows);
    }
}

}  // namespace

X11Window::X11Window(std::shared_ptr<X11Connection> connection) : connection(std::move(connection)) {}

X11Window::~X11Window() {
    if (window != 0) connection->Unroute(window);
}

bool X11Window::usable() const {
    return !lost() && !xcb_connection_has_error(connection->connection);
}

bool X11Window::lost() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return lost_;
}

void X11Window::Queue(const WindowEvent& event) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        // Only the newest position of a pointer that moves faster than it is taken matters.
        if (event.kind == WindowEventKind::Motion && !fromServer_.empty() &&
            fromServer_.back().kind == WindowEventKind::Motion) {
            fromServer_.back() = event;
        } else {
            fromServer_.push_back(event);
        }
    }
    arrived_.notify_one();
}

void X11Window::Deliver(const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7F;
    switch (type) {
        case XCB_EXPOSE: {
            const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
            Queue({WindowEventKind::Expose,
                   {expose.x, expose.y, expose.x + expose.width, expose.y + expose.height},
                   0, 0, 0});
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
            if (message.type == connection->atoms.wmProtocols && message.format == 32 &&
                message.data.data32[0] == connection->atoms.wmDeleteWindow) {
                Queue({WindowEventKind::Close, {}, 0, 0, 0});
            }
            break;
        }
        case XCB_DESTROY_NOTIFY:
            // Another client destroyed the window: it is gone as if the user had closed it.
            if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == window) {
                Queue({WindowEventKind::Close, {}, 0, 0, 0});
            }
            break;
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE: {
            ResolvedKey key;
            WindowEvent messages[2];
            if (connection->keyboard.Resolve(reinterpret_cast<const xcb_key_press_event_t&>(event), key)) {
                const int count = KeyMessages(key, type == XCB_KEY_PRESS, messages);
                for (int i = 0; i < count; ++i) Queue(messages[i]);
            }
            break;
        }
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: {
            WindowEvent message;
            if (TranslateButton(reinterpret_cast<const xcb_button_press_event_t&>(event),
                                type == XCB_BUTTON_PRESS, &message) > 0) {
                Queue(message);
            }
            break;
        }
        case XCB_MOTION_NOTIFY:
            Queue(TranslateMotion(reinterpret_cast<const xcb_motion_notify_event_t&>(event)));
            break;
        default:
            break;
    }
}

void X11Window::ConnectionLost() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        lost_ = true;
        fromServer_.push_back({WindowEventKind::Close, {}, 0, 0, 0});
    }
    arrived_.notify_one();
}

void X11Window::Post(WindowEventKind kind) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (kind == WindowEventKind::Damage) {
            if (damagePending_) return;
            damagePending_ = true;
        }
        posted_.push_back(kind);
    }
    arrived_.notify_one();
}

WindowEvent X11Window::Next() {
    std::unique_lock<std::mutex> hold(mutex_);
    for (;;) {
        if (!posted_.empty() && posted_.front() != WindowEventKind::Damage) {
            const WindowEventKind kind = posted_.front();
            posted_.pop_front();
            return {kind, {}, 0, 0, 0};
        }
        if (!fromServer_.empty()) {
            const WindowEvent event = fromServer_.front();
            fromServer_.pop_front();
            return event;
        }
        if (!posted_.empty()) {
            posted_.pop_front();
            // Cleared before the back-end collects the damage, so that drawing after that
            // posts again.
            damagePending_ = false;
            return {WindowEventKind::Damage, {}, 0, 0, 0};
        }
        arrived_.wait(hold);
    }
}

// ---- The display's calls that reach a window's queue or its pixels ----

std::shared_ptr<X11Window> X11Display::Find(WindowHandle window) {
    std::lock_guard<std::mutex> hold(registryMutex_);
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second;
}

WindowEvent X11Display::NextEvent(WindowHandle handle) {
    auto window = Find(handle);
    if (window == nullptr) return {WindowEventKind::Quit, {}, 0, 0, 0};
    return window->Next();
}

void X11Display::PostDestroy(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Destroy);
}

void X11Display::PostQuit(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Quit);
}

void X11Display::PostDamage(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Damage);
}

void X11Display::PostWake(WindowHandle window) {
    if (auto record = Find(window)) record->Post(WindowEventKind::Wake);
}

void X11Display::Present(WindowHandle handle, const PixelBuffer& buffer, PixelRect area) {
    auto window = Find(handle);
    if (window == nullptr || !window->usable() || area.left >= area.right ||
        area.top >= area.bottom) {
        return;
    }
    xcb_connection_t* connection = window->connection->connection;
    if (window->store.shared && buffer.pixels == window->store.memory) {
        xcb_shm_put_image(
            connection, window->window, window->gc, static_cast<uint16_t>(buffer.stride),
            static_cast<uint16_t>(buffer.height), static_cast<uint16_t>(area.left),
            static_cast<uint16_t>(area.top), static_cast<uint16_t>(area.right - area.left),
            static_cast<uint16_t>(area.bottom - area.top), static_cast<int16_t>(area.left),
            static_cast<int16_t>(area.top), window->connection->format.depth,
            XCB_IMAGE_FORMAT_Z_PIXMAP, 0, window->store.segment, 0);
    } else {
        PutImageInBands(*window, buffer, area);
    }
    xcb_flush(connection);
}
