#include "graph/window/x11/key_messages.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

// Key-message second parameter: repeat count 1, scan code in bits 16-23, extended key in bit 24;
// a release also sets "was down" (bit 30) and "going up" (bit 31).
constexpr intptr_t kRepeatOnce = 1;
constexpr intptr_t kExtendedBit = 1 << 24;
constexpr intptr_t kReleaseBits = 0xC0000000;
constexpr int kKeycodeOffset = 8;

struct KeysymRange {
    uint32_t first;
    uint32_t last;
    uint32_t firstVirtualKey;
};

constexpr KeysymRange kVirtualKeys[] = {
    {XKB_KEY_a, XKB_KEY_z, 'A'},
    {XKB_KEY_A, XKB_KEY_Z, 'A'},
    {XKB_KEY_0, XKB_KEY_9, '0'},
    {XKB_KEY_space, XKB_KEY_space, 0x20},
    {XKB_KEY_BackSpace, XKB_KEY_BackSpace, 0x08},
    {XKB_KEY_Tab, XKB_KEY_Tab, 0x09},
    {XKB_KEY_ISO_Left_Tab, XKB_KEY_ISO_Left_Tab, 0x09},
    {XKB_KEY_Return, XKB_KEY_Return, 0x0D},
    {XKB_KEY_Pause, XKB_KEY_Pause, 0x13},
    {XKB_KEY_Scroll_Lock, XKB_KEY_Scroll_Lock, 0x91},
    {XKB_KEY_Escape, XKB_KEY_Escape, 0x1B},
    {XKB_KEY_Home, XKB_KEY_Home, 0x24},
    {XKB_KEY_Left, XKB_KEY_Down, 0x25},  // Left, Up, Right, Down
    {XKB_KEY_Prior, XKB_KEY_Next, 0x21},
    {XKB_KEY_End, XKB_KEY_End, 0x23},
    {XKB_KEY_Print, XKB_KEY_Print, 0x2C},
    {XKB_KEY_Insert, XKB_KEY_Insert, 0x2D},
    {XKB_KEY_Menu, XKB_KEY_Menu, 0x5D},
    {XKB_KEY_Num_Lock, XKB_KEY_Num_Lock, 0x90},
    {XKB_KEY_Delete, XKB_KEY_Delete, 0x2E},
    // The keypad with Num Lock on, and its operators.
    {XKB_KEY_KP_Enter, XKB_KEY_KP_Enter, 0x0D},
    {XKB_KEY_KP_0, XKB_KEY_KP_9, 0x60},
    {XKB_KEY_KP_Multiply, XKB_KEY_KP_Multiply, 0x6A},
    {XKB_KEY_KP_Add, XKB_KEY_KP_Add, 0x6B},
    {XKB_KEY_KP_Subtract, XKB_KEY_KP_Subtract, 0x6D},
    // The keypad's decimal key, whether the layout makes it a point or a comma.
    {XKB_KEY_KP_Separator, XKB_KEY_KP_Separator, 0x6E},
    {XKB_KEY_KP_Decimal, XKB_KEY_KP_Decimal, 0x6E},
    {XKB_KEY_KP_Divide, XKB_KEY_KP_Divide, 0x6F},
    // The keypad with Num Lock off: the cursor keys, and Clear in the middle.
    {XKB_KEY_KP_Home, XKB_KEY_KP_Home, 0x24},
    {XKB_KEY_KP_Left, XKB_KEY_KP_Down, 0x25},
    {XKB_KEY_KP_Prior, XKB_KEY_KP_Next, 0x21},
    {XKB_KEY_KP_End, XKB_KEY_KP_End, 0x23},
    {XKB_KEY_KP_Begin, XKB_KEY_KP_Begin, 0x0C},
    {XKB_KEY_KP_Insert, XKB_KEY_KP_Insert, 0x2D},
    {XKB_KEY_KP_Delete, XKB_KEY_KP_Delete, 0x2E},
    {XKB_KEY_F1, XKB_KEY_F24, 0x70},
    {XKB_KEY_Shift_L, XKB_KEY_Shift_R, 0x10},
    {XKB_KEY_Control_L, XKB_KEY_Control_R, 0x11},
    {XKB_KEY_Caps_Lock, XKB_KEY_Caps_Lock, 0x14},
    {XKB_KEY_Alt_L, XKB_KEY_Alt_R, 0x12},
    {XKB_KEY_ISO_Level3_Shift, XKB_KEY_ISO_Level3_Shift, 0x12},
    {XKB_KEY_Super_L, XKB_KEY_Super_R, 0x5B},
    // Punctuation keys named for the character they carry on every layout.
    {XKB_KEY_plus, XKB_KEY_plus, 0xBB},
    {XKB_KEY_equal, XKB_KEY_equal, 0xBB},
    {XKB_KEY_comma, XKB_KEY_comma, 0xBC},
    {XKB_KEY_minus, XKB_KEY_minus, 0xBD},
    {XKB_KEY_period, XKB_KEY_period, 0xBE},
    {XKB_KEY_semicolon, XKB_KEY_semicolon, 0xBA},
    {XKB_KEY_slash, XKB_KEY_slash, 0xBF},
    {XKB_KEY_grave, XKB_KEY_grave, 0xC0},
    {XKB_KEY_bracketleft, XKB_KEY_bracketleft, 0xDB},
    {XKB_KEY_backslash, XKB_KEY_backslash, 0xDC},
    {XKB_KEY_bracketright, XKB_KEY_bracketright, 0xDD},
    {XKB_KEY_apostrophe, XKB_KEY_apostrophe, 0xDE},
};

// Main-block keys whose unshifted meaning names no virtual key (the digit row of a French
// layout, the umlaut keys of a German one) get the virtual key of the key at that place.
struct PlacedKey {
    uint8_t keyNumber;
    uint32_t virtualKey;
};

constexpr PlacedKey kPlacedKeys[] = {
    {2, '1'},  {3, '2'},  {4, '3'},  {5, '4'},  {6, '5'},  {7, '6'},  {8, '7'},
    {9, '8'},  {10, '9'}, {11, '0'}, {12, 0xBD}, {13, 0xBB}, {26, 0xDB}, {27, 0xDD},
    {39, 0xBA}, {40, 0xDE}, {41, 0xC0}, {43, 0xDC}, {51, 0xBC}, {52, 0xBE}, {53, 0xBF},
    {86, 0xE2},
};

// Keys a PC keyboard sends with the E0 prefix: their scan code and the extended flag.
constexpr PlacedKey kExtendedScanCodes[] = {
    {69, 0x45},  // Num Lock
    {96, 0x1C},  {97, 0x1D},  {98, 0x35},  {99, 0x37},  {100, 0x38}, {102, 0x47},
    {103, 0x48}, {104, 0x49}, {105, 0x4B}, {106, 0x4D}, {107, 0x4F}, {108, 0x50},
    {109, 0x51}, {110, 0x52}, {111, 0x53}, {125, 0x5B}, {126, 0x5C}, {127, 0x5D},
};

uint32_t VirtualKeyOfKeysym(uint32_t keysym) {
    for (const KeysymRange& range : kVirtualKeys) {
        if (keysym >= range.first && keysym <= range.last) {
            return range.firstVirtualKey + (keysym - range.first);
        }
    }
    return 0;
}

bool IsKeypadKeysym(uint32_t keysym) { return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_Equal; }

intptr_t KeyFlags(uint8_t keycode) {
    const int number = keycode - kKeycodeOffset;
    for (const PlacedKey& key : kExtendedScanCodes) {
        if (key.keyNumber == number) return kRepeatOnce | key.virtualKey << 16 | kExtendedBit;
    }
    const intptr_t scanCode = number > 0 && number <= 88 ? number : 0;
    return kRepeatOnce | scanCode << 16;
}

}  // namespace

uint32_t VirtualKeyOf(const ResolvedKey& key) {
    if (IsKeypadKeysym(key.baseKeysym)) return VirtualKeyOfKeysym(key.keysym);
    if (const uint32_t named = VirtualKeyOfKeysym(key.baseKeysym)) return named;
    for (const PlacedKey& placed : kPlacedKeys) {
        if (placed.keyNumber == key.keycode - kKeycodeOffset) return placed.virtualKey;
    }
    return VirtualKeyOfKeysym(key.keysym);
}

uint8_t CharacterOf(const ResolvedKey& key) {
    // Delete types nothing in a window, although its keysym stands for DEL.
    if (key.keysym == XKB_KEY_Delete || key.keysym == XKB_KEY_KP_Delete) return 0;
    return key.character <= 0xFF ? static_cast<uint8_t>(key.character) : 0;
}

int KeyMessages(const ResolvedKey& key, bool press, WindowEvent* out) {
    const intptr_t flags = KeyFlags(key.keycode);
    int added = 0;
    if (const uint32_t virtualKey = VirtualKeyOf(key)) {
        out[added++] = {WindowEventKind::Key, {}, press ? WM_KEYDOWN : WM_KEYUP, virtualKey,
                        press ? flags : flags | kReleaseBits};
    }
    if (press) {
        if (const uint8_t character = CharacterOf(key)) {
            out[added++] = {WindowEventKind::Key, {}, WM_CHAR, character, flags};
        }
    }
    return added;
}
