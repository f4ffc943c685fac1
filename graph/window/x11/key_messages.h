#pragma once
// A key press or release, as the keyboard layout resolved it, turned into the window messages
// the message hook receives: WM_KEYDOWN/WM_KEYUP with the virtual key and the key-message flags,
// and WM_CHAR with the character the key typed.
//
// Key codes are the server's (evdev numbering: the system's key number plus 8); for the keys of
// a PC keyboard's main block the key number is the keyboard's scan code.

#include <cstdint>

#include "graph/window/display.h"

struct ResolvedKey {
    uint8_t keycode;
    uint32_t keysym;      // what the key means with the modifiers and locks in force
    uint32_t baseKeysym;  // what it means without any (its first level in the active layout)
    uint32_t character;   // the Unicode character it types, 0 for none
};

// The virtual key of a key: named keys and the keypad by their meaning (Num Lock decides between
// digits and cursor keys), letters, digits and the common punctuation by their unshifted meaning,
// and any other key of the main block by where it sits on the keyboard.
uint32_t VirtualKeyOf(const ResolvedKey& key);
// The 8-bit character WM_CHAR carries, 0 for a key that types none (Latin-1 only).
uint8_t CharacterOf(const ResolvedKey& key);
// Appends the key's messages to out (room for two) and returns how many: WM_KEYDOWN and
// WM_CHAR for a press, WM_KEYUP for a release; none for a key without a virtual key or character.
int KeyMessages(const ResolvedKey& key, bool press, WindowEvent* out);
