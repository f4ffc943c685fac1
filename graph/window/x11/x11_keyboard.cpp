#include "graph/window/x11/x11_keyboard.h"

// xcb/xkb.h names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace {

// Core events carry the modifiers in bits 0-7 and the layout group in bits 13-14.
constexpr uint16_t kModifierBits = 0xFF;
constexpr int kGroupShift = 13;
constexpr uint16_t kGroupBits = 0x3;

void AskForKeymapChanges(xcb_connection_t* connection, int32_t device) {
    constexpr uint16_t kEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    constexpr uint16_t kMapParts = 0xFF;  // every part of the map
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    xcb_xkb_select_events_aux(connection, static_cast<xcb_xkb_device_spec_t>(device), kEvents, 0, 0,
                              kMapParts, kMapParts, &details);
}

}  // namespace

X11Keyboard::~X11Keyboard() {
    Release();
    if (context_ != nullptr) xkb_context_unref(context_);
}

void X11Keyboard::Release() {
    if (state_ != nullptr) xkb_state_unref(state_);
    if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
    state_ = nullptr;
    keymap_ = nullptr;
}

bool X11Keyboard::Open(xcb_connection_t* connection) {
    connection_ = connection;
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
                                     &firstEvent_, nullptr)) {
        return false;
    }
    device_ = xkb_x11_get_core_keyboard_device_id(connection);
    context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (device_ < 0 || context_ == nullptr) return false;
    AskForKeymapChanges(connection, device_);
    Load();
    return keymap_ != nullptr;
}

void X11Keyboard::Load() {
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) return;  // keep the keymap there was
    Release();
    keymap_ = keymap;
    state_ = xkb_state_new(keymap_);
}

bool X11Keyboard::TakeKeyboardEvent(const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7F;
    bool change;
    if (type == XCB_MAPPING_NOTIFY) {
        change = reinterpret_cast<const xcb_mapping_notify_event_t&>(event).request !=
                 XCB_MAPPING_POINTER;
    } else if (context_ != nullptr && type == firstEvent_) {
        const uint8_t xkbType =
            reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t&>(event).xkbType;
        change = xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY;
    } else {
        return false;
    }
    if (change && context_ != nullptr) Load();
    return true;
}

bool X11Keyboard::Resolve(const xcb_key_press_event_t& event, ResolvedKey& key) {
    if (state_ == nullptr) return false;
    // The event's own modifiers, not a tracked state: events sent by other clients carry theirs.
    xkb_state_update_mask(state_, event.state & kModifierBits, 0, 0, 0, 0,
                          (event.state >> kGroupShift) & kGroupBits);
    const xkb_keycode_t code = event.detail;
    key.keycode = event.detail;
    key.keysym = xkb_state_key_get_one_sym(state_, code);
    key.character = xkb_state_key_get_utf32(state_, code);
    const xkb_keysym_t* first = nullptr;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state_, code);
    key.baseKeysym =
        xkb_keymap_key_get_syms_by_level(keymap_, code, layout == XKB_LAYOUT_INVALID ? 0 : layout, 0, &first) == 1
            ? first[0]
            : key.keysym;
    return true;
}
