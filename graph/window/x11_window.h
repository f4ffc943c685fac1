#pragma once
// What the X11 display keeps for one window. The connection and everything below it belong to
// the window's GUI thread; only the posted-event queue is shared with other threads.

#include <sys/types.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "graph/window/display.h"

// The keyboard mapping of the server: keysyms per keycode, first keycode first.
struct X11Keymap {
    xcb_keycode_t firstKeycode = 0;
    uint8_t keysymsPerKeycode = 0;
    std::vector<xcb_keysym_t> keysyms;
};

// The back-buffer's storage: a shared-memory segment attached to the server, or plain memory.
struct X11BufferStore {
    bool shared = false;
    int shmId = -1;
    xcb_shm_seg_t segment = 0;
    void* memory = nullptr;
};

struct X11Window {
    X11Window();
    ~X11Window();

    // GUI thread only.
    xcb_connection_t* connection = nullptr;
    xcb_window_t window = 0;
    xcb_gcontext_t gc = 0;
    xcb_atom_t wmProtocols = 0;
    xcb_atom_t wmDeleteWindow = 0;
    bool shmOffered = false;
    uint32_t maxRequestBytes = 0;
    bool connectionLost = false;
    X11Keymap keymap;
    X11BufferStore store;
    // Events made from one server event beyond the first (WM_CHAR after WM_KEYDOWN).
    std::deque<WindowEvent> pendingInput;

    // Shared: posted events, in the order posted, and what wakes the GUI thread for them.
    std::mutex postMutex;
    std::deque<WindowEventKind> posted;
    std::atomic<bool> damagePending{false};
    int wakeFd = -1;

    void Post(WindowEventKind kind);
};

// The screen of the given number, or null.
xcb_screen_t* X11Screen(xcb_connection_t* connection, int number);
// Present, buffer and input helpers, each in its own file.
bool CreateSharedStore(X11Window& window, size_t bytes);
void ReleaseStore(X11Window& window);
void PutImageInBands(X11Window& window, const PixelBuffer& buffer, PixelRect area);
void LoadKeymap(X11Window& window);
// Translates an input event of the server; returns the number of window events appended.
int TranslateInput(X11Window& window, const xcb_generic_event_t& event,
                   std::deque<WindowEvent>& out);
