#pragma once
// Ctrl+S among a window's key messages. The back-end takes it before the message hook: the
// press saves the picture, and the press, the character it types (0x13) and the release of S
// never reach the hook. Ctrl's own messages pass on as they are; Ctrl is down from its
// WM_KEYDOWN to its WM_KEYUP.

#include <cstdint>

#include "graph/window/display.h"
#include "runtime/virtual_keys.h"

constexpr uintptr_t kVirtualKeyControl = VK_CONTROL;
constexpr uintptr_t kVirtualKeyS = 'S';
constexpr uintptr_t kControlS = 0x13;  // the character Ctrl+S types

enum class KeyVerdict : uint8_t {
    Pass,     // the message hook gets it
    Save,     // save the picture; the hook does not get it
    Swallow,  // part of a Ctrl+S: the hook does not get it
};

class SaveKey {
public:
    KeyVerdict Take(const WindowEvent& key);

private:
    bool controlDown_ = false;
    bool saving_ = false;  // a Ctrl+S was pressed and S is not yet released
};
