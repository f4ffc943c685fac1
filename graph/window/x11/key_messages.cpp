#include "graph/window/x11/key_messages.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "runtime/virtual_keys.h"

namespace {

// Key-message second parameter (display.h): repeat count 1.
constexpr intptr_t kRepeatOnce = 1;
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
    {XKB_KEY_space, XKB_KEY_space, VK_SPACE},
    {XKB_KEY_BackSpace, XKB_KEY_BackSpace, VK_BACK},
    {XKB_KEY_Tab, XKB_KEY_Tab, VK_TAB},
    {XKB_KEY_ISO_Left_Tab, XKB_KEY_ISO_Left_Tab, VK_TAB},
    {XKB_KEY_Return, XKB_KEY_Return, VK_RETURN},
    {XKB_KEY_Pause, XKB_KEY_Pause, 0x13},
    {XKB_KEY_Scroll_Lock, XKB_KEY_Scroll_Lock, VK_SCROLL},
    {XKB_KEY_Escape, XKB_KEY_Escape, VK_ESCAPE},
    {XKB_KEY_Home, XKB_KEY_Home, VK_HOME},
    {XKB_KEY_Left, XKB_KEY_Down, VK_LEFT},  // Left, Up, Right, Down
    {XKB_KEY_Prior, XKB_KEY_Next, VK_PRIOR},
    {XKB_KEY_End, XKB_KEY_End, VK_END},
    {XKB_KEY_Print, XKB_KEY_Print, 0x2C},
    {XKB_KEY_Insert, XKB_KEY_Insert, VK_INSERT},
    {XKB_KEY_Menu, XKB_KEY_Menu, 0x5D},
    {XKB_KEY_Num_Lock, XKB_KEY_Num_Lock, VK_NUMLOCK},
    {XKB_KEY_Delete, XKB_KEY_Delete, VK_DELETE},
    // The keypad with Num Lock on, and its operators.
    {XKB_KEY_KP_Enter, XKB_KEY_KP_Enter, VK_RETURN},
    {XKB_KEY_KP_0, XKB_KEY_KP_9, VK_NUMPAD0},
    {XKB_KEY_KP_Multiply, XKB_KEY_KP_Multiply, VK_MULTIPLY},
    {XKB_KEY_KP_Add, XKB_KEY_KP_Add, VK_ADD},
    {XKB_KEY_KP_Subtract, XKB_KEY_KP_Subtract, VK_SUBTRACT},
    // The keypad's decimal key, whether the layout makes it a point or a comma.
    {XKB_KEY_KP_Separator, XKB_KEY_KP_Separator, VK_DECIMAL},
    {XKB_KEY_KP_Decimal, XKB_KEY_KP_Decimal, VK_DECIMAL},
    {XKB_KEY_KP_Divide, XKB_KEY_KP_Divide, VK_DIVIDE},
    // The keypad with Num Lock off: the cursor keys, and Clear in the middle.
    {XKB_KEY_KP_Home, XKB_KEY_KP_Home, VK_HOME},
    {XKB_KEY_KP_Left, XKB_KEY_KP_Down, VK_LEFT},
    {XKB_KEY_KP_Prior, XKB_KEY_KP_Next, VK_PRIOR},
    {XKB_KEY_KP_End, XKB_KEY_KP_End, VK_END},
    {XKB_KEY_KP_Begin, XKB_KEY_KP_Begin, VK_CLEAR},
    {XKB_KEY_KP_Insert, XKB_KEY_KP_Insert, VK_INSERT},
    {XKB_KEY_KP_Delete, XKB_KEY_KP_Delete, VK_DELETE},
    {XKB_KEY_F1, XKB_KEY_F24, VK_F1},
    {XKB_KEY_Shift_L, XKB_KEY_Shift_R, VK_SHIFT},
    {XKB_KEY_Control_L, XKB_KEY_Control_R, VK_CONTROL},
    {XKB_KEY_Caps_Lock, XKB_KEY_Caps_Lock, VK_CAPITAL},
    {XKB_KEY_Alt_L, XKB_KEY_Alt_R, VK_MENU},
    {XKB_KEY_ISO_Level3_Shift, XKB_KEY_ISO_Level3_Shift, VK_MENU},
    {XKB_KEY_Super_L, XKB_KEY_Super_R, 0x5B},
    // Punctuation keys named for the character they carry on every layout.
    {XKB_KEY_plus, XKB_KEY_plus, PunctuationVirtualKey('=')},
    {XKB_KEY_equal, XKB_KEY_equal, PunctuationVirtualKey('=')},
    {XKB_KEY_comma, XKB_KEY_comma, PunctuationVirtualKey(',')},
    {XKB_KEY_minus, XKB_KEY_minus, PunctuationVirtualKey('-')},
    {XKB_KEY_period, XKB_KEY_period, PunctuationVirtualKey('.')},
    {XKB_KEY_semicolon, XKB_KEY_semicolon, PunctuationVirtualKey(';')},
    {XKB_KEY_slash, XKB_KEY_slash, PunctuationVirtualKey('/')},
    {XKB_KEY_grave, XKB_KEY_grave, PunctuationVirtualKey('`')},
    {XKB_KEY_bracketleft, XKB_KEY_bracketleft, PunctuationVirtualKey('[')},
    {XKB_KEY_backslash, XKB_KEY_backslash, PunctuationVirtualKey('\\')},
    {XKB_KEY_bracketright, XKB_KEY_bracketright, PunctuationVirtualKey(']')},
    {XKB_KEY_apostrophe, XKB_KEY_apostrophe, PunctuationVirtualKey('\'')},
};

// Main-block keys whose unshifted meaning names no virtual key (the digit row of a French
// layout, the umlaut keys of a German one) get the virtual key of the key at that place.
struct PlacedKey {
    uint8_t keyNumber;
    uint32_t virtualKey;
};

constexpr PlacedKey kPlacedKeys[] = {
    {2, '1'},  {3, '2'},  {4, '3'},  {5, '4'},  {6, '5'},  {7, '6'},  {8, '7'},
    {9, '8'},  {10, '9'}, {11, '0'},
    {12, PunctuationVirtualKey('-')},  {13, PunctuationVirtualKey('=')},
    {26, PunctuationVirtualKey('[')},  {27, PunctuationVirtualKey(']')},
    {39, PunctuationVirtualKey(';')},  {40, PunctuationVirtualKey('\'')},
    {41, PunctuationVirtualKey('`')},  {43, PunctuationVirtualKey('\\')},
    {51, PunctuationVirtualKey(',')},  {52, PunctuationVirtualKey('.')},
    {53, PunctuationVirtualKey('/')},
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
        if (key.keyNumber == number) return kRepeatOnce | key.virtualKey << kKeyScanCodeShift | kKeyExtendedFlag;
    }
    const intptr_t scanCode = number > 0 && number <= 88 ? number : 0;
    return kRepeatOnce | scanCode << kKeyScanCodeShift;
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
                        press ? flags : flags | kKeyReleaseFlags};
    }
    if (press) {
        if (const uint8_t character = CharacterOf(key)) {
            out[added++] = {WindowEventKind::Key, {}, WM_CHAR, character, flags};
        }
    }
    return added;
}
