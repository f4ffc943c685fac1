#pragma once
// Control-state bits of console key events, and the virtual-key numbers the events carry.

#include <cstdint>

#include "runtime/virtual_keys.h"

constexpr uint32_t RIGHT_ALT_PRESSED = 0x1;
constexpr uint32_t LEFT_ALT_PRESSED = 0x2;
constexpr uint32_t RIGHT_CTRL_PRESSED = 0x4;
constexpr uint32_t LEFT_CTRL_PRESSED = 0x8;
constexpr uint32_t SHIFT_PRESSED = 0x10;
constexpr uint32_t ENHANCED_KEY = 0x100;
