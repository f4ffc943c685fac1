#pragma once
// Turns the bytes a terminal sends for key presses into console key events. Pure functions:
// no state is kept between calls, the caller keeps the bytes that were not used yet.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "console/device.h"

// Decodes raw-mode terminal input: plain and UTF-8 characters, control codes, Esc, Alt as an
// Esc prefix, xterm cursor, editing and function keys with Shift/Ctrl/Alt, and the kitty
// keyboard protocol with key releases and keypad keys. Returns the number of bytes used.
// When final is false, an incomplete sequence at the end is left for the next call (so a lone
// Esc waits for what may follow it); when final is true, everything is used. Sequences that
// mean nothing here are dropped.
size_t DecodeTerminalInput(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events);

// Decodes a redirected standard input: every byte is a typed key, and LF, CR or CR LF is one
// Enter. afterCarriageReturn carries a CR at the end of one chunk over to the next.
void DecodeStreamInput(std::span<const uint8_t> bytes, bool& afterCarriageReturn,
                       std::vector<KeyEvent>& events);
