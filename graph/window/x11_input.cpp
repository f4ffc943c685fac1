// Keyboard and mouse events of the server as the window messages the back-end's hooks expect:
// virtual-key codes, key-message flags, character messages and mouse-button messages with the
// button state and client position.

#include <cstdlib>

#include "graph/window/x11_window.h"

namespace {

// An "up" message follows its "down" message.
constexpr uint32_t kUpAfterDown = 1;

constexpr uintptr_t kLeftButtonFlag = 0x01;
constexpr uintptr_t kRightButtonFlag = 0x02;
constexpr uintptr_t kShiftFlag = 0x04;
constexpr uintptr_t kControlFlag = 0x08;
constexpr uintptr_t kMiddleButtonFlag = 0x10;

// Key-message second parameter: repeat count 1, scan code in bits 16-23; a release also sets
// "was down" (bit 30) and "going up" (bit 31).
constexpr intptr_t kRepeatOnce = 1;
constexpr intptr_t kReleaseBits = 0xC0000000;
// Server key codes are the system's key numbers plus 8; for the keys of a PC keyboard's main
// block those numbers are the scan codes.
constexpr int kKeycodeOffset = 8;

struct KeysymRange {
    xcb_keysym_t first;
    xcb_keysym_t last;
    uint32_t firstVirtualKey;
};

constexpr KeysymRange kVirtualKeys[] = {
    {'a', 'z', 'A'},         // letters
    {'0', '9', '0'},         // digits
    {' ', ' ', 0x20},        // space
    {0xFF08, 0xFF08, 0x08},  // BackSpace
    {0xFF09, 0xFF09, 0x09},  // Tab
    {0xFF0D, 0xFF0D, 0x0D},  // Return
    {0xFF8D, 0xFF8D, 0x0D},  // keypad Enter
    {0xFF1B, 0xFF1B, 0x1B},  // Escape
    {0xFF50, 0xFF50, 0x24},  // Home
    {0xFF51, 0xFF54, 0x25},  // Left, Up, Right, Down
    {0xFF55, 0xFF56, 0x21},  // Prior, Next
    {0xFF57, 0xFF57, 0x23},  // End
    {0xFF63, 0xFF63, 0x2D},  // Insert
    {0xFFFF, 0xFFFF, 0x2E},  // Delete
    {0xFFBE, 0xFFC9, 0x70},  // F1..F12
    {0xFFE1, 0xFFE2, 0x10},  // Shift
    {0xFFE3, 0xFFE4, 0x11},  // Control
    {0xFFE9, 0xFFEA, 0x12},  // Alt
};

uint32_t VirtualKeyOf(xcb_keysym_t keysym) {
    for (const KeysymRange& range : kVirtualKeys) {
        if (keysym >= range.first && keysym <= range.last) {
            return range.firstVirtualKey + (keysym - range.first);
        }
    }
    return 0;
}

xcb_keysym_t KeysymOf(const X11Keymap& keymap, xcb_keycode_t keycode, int column) {
    if (keycode < keymap.firstKeycode || column >= keymap.keysymsPerKeycode) return 0;
    const size_t index =
        static_cast<size_t>(keycode - keymap.firstKeycode) * keymap.keysymsPerKeycode + column;
    return index < keymap.keysyms.size() ? keymap.keysyms[index] : 0;
}

// The character a key press types, 0 for none.
uint8_t CharacterOf(const X11Keymap& keymap, const xcb_key_press_event_t& press) {
    const bool shift = press.state & XCB_MOD_MASK_SHIFT;
    xcb_keysym_t keysym = KeysymOf(keymap, press.detail, shift ? 1 : 0);
    if (keysym == 0) keysym = KeysymOf(keymap, press.detail, 0);
    if (press.state & XCB_MOD_MASK_LOCK && keysym >= 'a' && keysym <= 'z') keysym -= 0x20;
    uint8_t character = 0;
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
        character = static_cast<uint8_t>(keysym);
    } else if (keysym == 0xFF08 || keysym == 0xFF09 || keysym == 0xFF0D || keysym == 0xFF1B) {
        character = static_cast<uint8_t>(keysym & 0xFF);
    } else if (keysym == 0xFF8D) {
        character = 0x0D;
    }
    if (press.state & XCB_MOD_MASK_CONTROL &&
        ((character | 0x20) >= 'a' && (character | 0x20) <= 'z')) {
        character = static_cast<uint8_t>((character | 0x20) - 'a' + 1);
    }
    return character;
}

int TranslateKey(X11Window& window, const xcb_key_press_event_t& key, bool press,
                 std::deque<WindowEvent>& out) {
    const uint32_t virtualKey = VirtualKeyOf(KeysymOf(window.keymap, key.detail, 0));
    const intptr_t scanCode = static_cast<intptr_t>(key.detail - kKeycodeOffset) & 0xFF;
    const intptr_t flags = kRepeatOnce | scanCode << 16;
    int added = 0;
    if (virtualKey != 0) {
        out.push_back({WindowEventKind::Key,
                       {},
                       press ? WM_KEYDOWN : WM_KEYUP,
                       virtualKey,
                       press ? flags : flags | kReleaseBits});
        ++added;
    }
    if (press) {
        if (const uint8_t character = CharacterOf(window.keymap, key)) {
            out.push_back({WindowEventKind::Key, {}, WM_CHAR, character, flags});
            ++added;
        }
    }
    return added;
}

int TranslateButton(const xcb_button_press_event_t& button, bool press,
                    std::deque<WindowEvent>& out) {
    uint32_t downMessage;
    uintptr_t buttonFlag;
    switch (button.detail) {
        case 1:
            downMessage = WM_LBUTTONDOWN;
            buttonFlag = kLeftButtonFlag;
            break;
        case 2:
            downMessage = WM_MBUTTONDOWN;
            buttonFlag = kMiddleButtonFlag;
            break;
        case 3:
            downMessage = WM_RBUTTONDOWN;
            buttonFlag = kRightButtonFlag;
            break;
        default:
            return 0;  // wheel and extra buttons send no button message
    }
    // The server reports the state before the event; the message carries the state after it.
    uintptr_t flags = 0;
    if (button.state & XCB_BUTTON_MASK_1) flags |= kLeftButtonFlag;
    if (button.state & XCB_BUTTON_MASK_2) flags |= kMiddleButtonFlag;
    if (button.state & XCB_BUTTON_MASK_3) flags |= kRightButtonFlag;
    if (button.state & XCB_MOD_MASK_SHIFT) flags |= kShiftFlag;
    if (button.state & XCB_MOD_MASK_CONTROL) flags |= kControlFlag;
    flags = press ? flags | buttonFlag : flags & ~buttonFlag;
    const intptr_t position = (static_cast<intptr_t>(static_cast<uint16_t>(button.event_y)) << 16) |
                              static_cast<uint16_t>(button.event_x);
    out.push_back({WindowEventKind::Button,
                   {},
                   press ? downMessage : downMessage + kUpAfterDown,
                   flags,
                   position});
    return 1;
}

}  // namespace

void LoadKeymap(X11Window& window) {
    const xcb_setup_t* setup = xcb_get_setup(window.connection);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto* reply = xcb_get_keyboard_mapping_reply(
        window.connection, xcb_get_keyboard_mapping(window.connection, setup->min_keycode, count),
        nullptr);
    if (reply == nullptr) return;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply);
    window.keymap = {setup->min_keycode, reply->keysyms_per_keycode,
                     std::vector<xcb_keysym_t>(keysyms, keysyms + length)};
    free(reply);
}

int TranslateInput(X11Window& window, const xcb_generic_event_t& event,
                   std::deque<WindowEvent>& out) {
    switch (event.response_type & 0x7F) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
            return TranslateKey(window, reinterpret_cast<const xcb_key_press_event_t&>(event),
                                (event.response_type & 0x7F) == XCB_KEY_PRESS, out);
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
            return TranslateButton(reinterpret_cast<const xcb_button_press_event_t&>(event),
                                   (event.response_type & 0x7F) == XCB_BUTTON_PRESS, out);
        default:
            return 0;
    }
}
