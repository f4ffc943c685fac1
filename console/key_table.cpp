// What each key of a US keyboard reports as a console key event.

#include "console/key_table.h"

#include <cstring>

#include "console/keys.h"

namespace {

struct NamedKeyRecord {
    uint16_t virtualKey;
    uint16_t scanCode;
    uint8_t character;
    bool enhanced;
};

// In the order of NamedKey. Keypad digits report their digit, as with Num Lock on.
constexpr NamedKeyRecord kNamedKeys[] = {
    {VK_ESCAPE, 0x01, 27, false},  {VK_RETURN, 0x1C, 13, false},  {VK_TAB, 0x0F, 9, false},
    {VK_BACK, 0x0E, 8, false},
    {VK_UP, 0x48, 0, true},        {VK_DOWN, 0x50, 0, true},      {VK_LEFT, 0x4B, 0, true},
    {VK_RIGHT, 0x4D, 0, true},     {VK_HOME, 0x47, 0, true},      {VK_END, 0x4F, 0, true},
    {VK_INSERT, 0x52, 0, true},    {VK_DELETE, 0x53, 0, true},    {VK_PRIOR, 0x49, 0, true},
    {VK_NEXT, 0x51, 0, true},
    {VK_F1 + 0, 0x3B, 0, false},   {VK_F1 + 1, 0x3C, 0, false},   {VK_F1 + 2, 0x3D, 0, false},
    {VK_F1 + 3, 0x3E, 0, false},   {VK_F1 + 4, 0x3F, 0, false},   {VK_F1 + 5, 0x40, 0, false},
    {VK_F1 + 6, 0x41, 0, false},   {VK_F1 + 7, 0x42, 0, false},   {VK_F1 + 8, 0x43, 0, false},
    {VK_F1 + 9, 0x44, 0, false},   {VK_F1 + 10, 0x57, 0, false},  {VK_F1 + 11, 0x58, 0, false},
    {VK_NUMPAD0 + 0, 0x52, '0', false}, {VK_NUMPAD0 + 1, 0x4F, '1', false},
    {VK_NUMPAD0 + 2, 0x50, '2', false}, {VK_NUMPAD0 + 3, 0x51, '3', false},
    {VK_NUMPAD0 + 4, 0x4B, '4', false}, {VK_NUMPAD0 + 5, 0x4C, '5', false},
    {VK_NUMPAD0 + 6, 0x4D, '6', false}, {VK_NUMPAD0 + 7, 0x47, '7', false},
    {VK_NUMPAD0 + 8, 0x48, '8', false}, {VK_NUMPAD0 + 9, 0x49, '9', false},
    {VK_DECIMAL, 0x53, '.', false}, {VK_DIVIDE, 0x35, '/', true}, {VK_MULTIPLY, 0x37, '*', false},
    {VK_SUBTRACT, 0x4A, '-', false}, {VK_ADD, 0x4E, '+', false},  {VK_RETURN, 0x1C, 13, true},
    {VK_CLEAR, 0x4C, 0, false},
    {VK_SHIFT, 0x2A, 0, false},    {VK_CONTROL, 0x1D, 0, false},  {VK_MENU, 0x38, 0, false},
    {VK_CAPITAL, 0x3A, 0, false},  {VK_NUMLOCK, 0x45, 0, true},   {VK_SCROLL, 0x46, 0, false},
};
static_assert(sizeof(kNamedKeys) / sizeof(kNamedKeys[0]) ==
              static_cast<size_t>(NamedKey::ScrollLock) + 1);

// The four rows of the main block: unshifted and shifted characters, first scan code.
struct KeyRow {
    const char* plain;
    const char* shifted;
    uint8_t firstScan;
};
constexpr KeyRow kRows[] = {
    {"1234567890-=", "!@#$%^&*()_+", 0x02},
    {"qwertyuiop[]", "QWERTYUIOP{}", 0x10},
    {"asdfghjkl;'`", "ASDFGHJKL:\"~", 0x1E},
    {"\\zxcvbnm,./", "|ZXCVBNM<>?", 0x2B},
};

uint16_t VirtualKeyOf(char plain) {
    if (plain >= 'a' && plain <= 'z') return static_cast<uint16_t>(plain - 'a' + 'A');
    if (plain >= '0' && plain <= '9') return static_cast<uint16_t>(plain);
    return PunctuationVirtualKey(plain);
}

// The character Ctrl gives with a key, as terminals and the console agree on it.
uint8_t ControlCharacter(char plain, bool shifted) {
    if (plain >= 'a' && plain <= 'z') return static_cast<uint8_t>(plain - 'a' + 1);
    if (!shifted && plain == '[') return 0x1B;
    if (!shifted && plain == '\\') return 0x1C;
    if (!shifted && plain == ']') return 0x1D;
    if (shifted && plain == '6') return 0x1E;
    if (shifted && plain == '-') return 0x1F;
    return 0;
}

}  // namespace

KeyEvent NamedKeyEvent(NamedKey key, uint32_t controlState, bool keyDown) {
    const NamedKeyRecord& record = kNamedKeys[static_cast<size_t>(key)];
    uint8_t character = record.character;
    bool ctrl = (controlState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0;
    if (ctrl) {
        // With Ctrl only Enter, Backspace and Esc keep a character.
        bool enter = key == NamedKey::Enter || key == NamedKey::KeypadEnter;
        character = enter ? 10 : key == NamedKey::Backspace ? 0x7F : key == NamedKey::Escape ? 27 : 0;
    }
    return KeyEvent{keyDown, record.virtualKey, record.scanCode, character,
                    controlState | (record.enhanced ? ENHANCED_KEY : 0)};
}

KeyEvent CharacterKeyEvent(uint8_t character, uint32_t controlState, bool keyDown) {
    if (character == ' ') {
        return KeyEvent{keyDown, VK_SPACE, 0x39, ' ', controlState};
    }
    for (const KeyRow& row : kRows) {
        for (int shifted = 0; shifted < 2; ++shifted) {
            const char* found = std::strchr(shifted ? row.shifted : row.plain, character);
            if (character == 0 || found == nullptr) continue;
            size_t index = static_cast<size_t>(found - (shifted ? row.shifted : row.plain));
            char plain = row.plain[index];
            uint32_t state = controlState | (shifted ? SHIFT_PRESSED : 0);
            bool ctrl = (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0;
            uint8_t typed = ctrl ? ControlCharacter(plain, shifted != 0) : character;
            return KeyEvent{keyDown, VirtualKeyOf(plain),
                            static_cast<uint16_t>(row.firstScan + index), typed, state};
        }
    }
    return KeyEvent{keyDown, 0, 0, character, controlState};
}

uint8_t ShiftedCharacter(uint8_t plain) {
    for (const KeyRow& row : kRows) {
        const char* found = plain == 0 ? nullptr : std::strchr(row.plain, plain);
        if (found != nullptr) return static_cast<uint8_t>(row.shifted[found - row.plain]);
    }
    return plain;
}
