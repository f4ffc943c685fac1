#pragma once
// Integer conversion from text.

#include <cstdint>

#include "runtime/length_prefixed.h"

// Parses an integer in decimal, $hex or %binary with an optional sign. position is 0 on
// success, else the 1-based index of the offending character (length + 1 for no digits).
// size (1, 2 or 4) selects the sign extension of hexadecimal and binary results.
int32_t ParseInteger(int32_t size, const LengthPrefixedString& text, int32_t& position);
