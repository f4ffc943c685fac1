#pragma once
// A window's key messages as the key codes programs read (runtime/key_codes.h), by the rules
// of the console's key reading: a key that types a character gives the character, unless Left
// Alt is held or it is a key of the extended group (the keypad's divide, say: its character
// then gives way to its extended code); any other key gives 0 and its extended code. The
// modifiers held are followed from their own messages. GUI thread only.

#include <cstdint>

#include "graph/window/display.h"

class WindowKeys {
public:
    // The codes the message gives, into `codes` (room for two); returns how many.
    int Take(const WindowEvent& message, uint8_t* codes);

private:
    bool leftAlt_ = false;
    bool rightAlt_ = false;
    bool control_ = false;
    bool shift_ = false;
};
