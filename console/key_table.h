#pragma once
// What the console input queue reports for each key of a US keyboard: virtual key, scan code,
// character and control state, so that decoded terminal input looks like console input.

#include <cstdint>

#include "console/device.h"

enum class NamedKey : uint8_t {
    Escape, Enter, Tab, Backspace,
    Up, Down, Left, Right, Home, End, Insert, Delete, PageUp, PageDown,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Keypad0, Keypad1, Keypad2, Keypad3, Keypad4, Keypad5, Keypad6, Keypad7, Keypad8, Keypad9,
    KeypadDecimal, KeypadDivide, KeypadMultiply, KeypadSubtract, KeypadAdd, KeypadEnter,
    KeypadBegin,
    Shift, Control, Alt, CapsLock, NumLock, ScrollLock,
};

// The function key Fn (1..12).
constexpr NamedKey FunctionKey(int number) {
    return static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + number - 1);
}

KeyEvent NamedKeyEvent(NamedKey key, uint32_t controlState, bool keyDown = true);

// A character typed on a US layout: shifted characters add SHIFT_PRESSED, Ctrl turns letters
// and a few symbols into their control codes. Characters 0x80..0xFF have no key of their own.
KeyEvent CharacterKeyEvent(uint8_t character, uint32_t controlState, bool keyDown = true);

// The character Shift gives with a key of the US layout; other characters come back unchanged.
uint8_t ShiftedCharacter(uint8_t plain);
