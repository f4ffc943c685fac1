#include "graph/window/x11/x11_window.h"

#include "graph/window/x11/key_messages.h"

X11Window::X11Window(std::shared_ptr<X11Connection> connection) : connection(std::move(connection)) {}

X11Window::~X11Window() {
    if (window != 0) connection->Unroute(window);
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
