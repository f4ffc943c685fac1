#pragma once
// The key codes programs read, from the console and from the graphics windows alike: the
// character of a key that types one, or 0 followed by the key's extended code.

#include <cstdint>

// The code a key reading gives once no key can come any more (the input has ended, the window
// is closed): the end-of-file character, as ReadChar gives at the end of input.
constexpr uint8_t kEndOfInputKey = 26;

// The extended code of a key, from its scan code and the modifier held, Alt before Ctrl before
// Shift.
uint8_t ExtendedKeyCode(uint16_t scanCode, bool alt, bool ctrl, bool shift);
