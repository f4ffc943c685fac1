#pragma once
// What the X11 display keeps for one window. The window's GUI thread creates, presents and
// destroys it; the connection's dispatcher thread queues the server's events for it; any thread
// may post to it. The queues are the only shared part, under the window's own mutex.

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "graph/window/display.h"
#include "graph/window/x11/x11_connection.h"

// The back-buffer's storage: a shared-memory segment attached to the server, or plain memory.
struct X11BufferStore {
    bool shared = false;
    int shmId = -1;
    xcb_shm_seg_t segment = 0;
    void* memory = nullptr;
};

class X11Window final : public X11EventSink {
public:
    explicit X11Window(std::shared_ptr<X11Connection> connection);
    ~X11Window();

    void Deliver(const xcb_generic_event_t& event) override;
    void ConnectionLost() override;

    // Queues a Destroy, Quit, Damage or Wake event; damage once until it is taken, so a caller
    // that posts on every drawing call (not only the back-end) cannot grow the queue.
    void Post(WindowEventKind kind);
    // The next event: posts before server events, except that damage waits until the server's
    // events are taken (drawing posts damage again as soon as it is taken, and would otherwise
    // keep a close request or an exposure waiting for as long as it draws).
    WindowEvent Next();
    bool lost() const;
    // Neither lost nor on a connection in error: requests for the window may be sent.
    bool usable() const;

    // Set at creation, then read-only (the dispatcher reads them too).
    const std::shared_ptr<X11Connection> connection;
    xcb_window_t window = 0;
    // GUI thread only.
    xcb_gcontext_t gc = 0;
    X11BufferStore store;

private:
    void Queue(const WindowEvent& event);

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<WindowEventKind> posted_;
    std::deque<WindowEvent> fromServer_;
    bool damagePending_ = false;
    bool lost_ = false;
};

// Frees the back-buffer's storage (x11_buffer.cpp).
void ReleaseStore(X11Window& window);
// Mouse buttons as window messages (x11_input.cpp); returns the number of events appended.
int TranslateButton(const xcb_button_press_event_t& button, bool press, WindowEvent* out);
WindowEvent TranslateMotion(const xcb_motion_notify_event_t& motion);
