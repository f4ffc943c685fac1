#pragma once
// The server's keyboard as the user's layout describes it (XKB): which keysym and character a
// key event means with the modifiers, locks and layout group the event carries. Reloaded when
// the server says the keymap changed (setxkbmap, a new keyboard).

#include <xcb/xcb.h>

#include <cstdint>

#include "graph/window/x11/key_messages.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

class X11Keyboard {
public:
    X11Keyboard() = default;
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // Sets the extension up on the connection, asks for keymap changes and loads the keymap.
    // False when the server has no XKB; then no key resolves.
    bool Open(xcb_connection_t* connection);
    // True for an event about the keyboard itself (no window's business); the keymap is
    // reloaded when the event announces a change.
    bool TakeKeyboardEvent(const xcb_generic_event_t& event);
    // The key of a press or release event; false when there is no keymap.
    bool Resolve(const xcb_key_press_event_t& event, ResolvedKey& key);

private:
    void Load();
    void Release();

    xcb_connection_t* connection_ = nullptr;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
    int32_t device_ = -1;
    uint8_t firstEvent_ = 0;
};
