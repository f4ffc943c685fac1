#pragma once
// The process's connection to the X server, shared by the GUI threads of all windows. Keeping
// one connection open from the first screen metrics on means the server never sees its last
// client leave between the metrics and the first window (a server that resets then would drop
// the window's connection), and a run of many passes is not limited by the server's client cap.
//
// Requests go out from any thread (XCB serialises them). Events are read by one dispatcher
// thread of the connection and handed to the sink registered for the window they concern,
// which queues them for the window's own GUI thread. When the connection is lost, every sink
// is told so once.

#include <xcb/xcb.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "graph/window/x11/pixel_format.h"
#include "graph/window/x11/x11_keyboard.h"

class X11EventSink {
public:
    // Dispatcher thread, with the routes locked: an event for the sink's window.
    virtual void Deliver(const xcb_generic_event_t& event) = 0;
    // Dispatcher thread, with the routes locked: the connection is gone.
    virtual void ConnectionLost() = 0;

protected:
    ~X11EventSink() = default;
};

struct X11Atoms {
    xcb_atom_t wmProtocols, wmDeleteWindow, netWmName, utf8String, netWmState, maximisedVert,
        maximisedHorz, netWmPid, netFrameExtents, netRequestFrameExtents, netWorkArea,
        netSupportingWmCheck;
};

class X11Connection {
public:
    // Connects to the server named by DISPLAY; Usable() tells whether that worked.
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // Open, with a TrueColor visual, and not lost since.
    bool Usable() const;
    // Why the connection could not be opened, in a user's words; empty when it was.
    const std::string& failure() const { return failure_; }

    // Routes the window's events to the sink until Unroute; false when the connection is lost.
    bool Route(xcb_window_t window, X11EventSink* sink);
    // After it returns the sink receives nothing more.
    void Unroute(xcb_window_t window);

    // Waits until the server has handled every request sent so far.
    void Sync();

    xcb_connection_t* const connection;
    const xcb_screen_t* screen = nullptr;
    // The visual windows are made with, and how its pixels are stored in images.
    xcb_visualid_t visual = 0;
    PixelFormat format;
    xcb_colormap_t colormap = 0;
    bool shmOffered = false;
    uint32_t maxRequestBytes = 0;
    X11Atoms atoms{};
    // The dispatcher thread's alone once the connection is open.
    X11Keyboard keyboard;

private:
    bool ChooseVisual();
    void Dispatch();

    std::string failure_;
    mutable std::mutex routesMutex_;
    std::unordered_map<xcb_window_t, X11EventSink*> routes_;
    std::atomic<bool> lost_{false};
    std::atomic<bool> stopping_{false};
    xcb_window_t wakeWindow_ = 0;
    std::thread dispatcher_;
};
