#pragma once
// Keyboard reading: console key events become 8-bit key codes, the character for ordinary keys
// and 0 followed by an extended code for keys without one.

#include <cstdint>

#include "runtime/key_codes.h"

struct KeyboardStateRecord {
    uint8_t pendingKey;    // code waiting for WaitKey; 0 means none
    bool extendedPending;  // the waiting code is extended: WaitKey first returns 0
    bool altComposing;     // keypad digits are being typed with Alt held
    uint8_t altCode;       // value composed from them so far, modulo 256
};

extern KeyboardStateRecord KeyboardState;

// WaitKey's answer once the input has ended is kEndOfInputKey.

bool PollKey();
uint8_t WaitKey();
// Like WaitKey, but false (and no key) once the input has ended.
bool WaitKeyUnlessEnded(uint8_t& key);
uint8_t TranslateKey(uint16_t scanCode, uint32_t controlState, uint16_t virtualKey);
