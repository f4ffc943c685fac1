// WindowKeys: see window_keys.h.

#include "graph/window/window_keys.h"

#include "runtime/key_codes.h"
#include "runtime/virtual_keys.h"

namespace {

// The keys that type no character whatever the modifiers: their code comes with WM_KEYDOWN, as
// no WM_CHAR follows. Every other key's comes with its WM_CHAR, and keys that type nothing (the
// modifiers, the locks, the logo keys held for the desktop's shortcuts) give no code.
bool TypesNoCharacter(uintptr_t virtualKey) {
    constexpr uintptr_t kPause = 0x13, kPrint = 0x2C, kMenu = 0x5D, kLastFunction = 0x87;
    return virtualKey == VK_CLEAR || virtualKey == kPause || virtualKey == kMenu ||
           (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || (virtualKey >= kPrint && virtualKey <= VK_DELETE) ||
           (virtualKey >= VK_F1 && virtualKey <= kLastFunction);
}

uint16_t ScanCode(const WindowEvent& message) { return static_cast<uint16_t>((message.second >> kKeyScanCodeShift) & 0xFF); }

}  // namespace

int WindowKeys::Take(const WindowEvent& message, uint8_t* codes) {
    const bool down = message.message == WM_KEYDOWN;
    if (down || message.message == WM_KEYUP) {
        switch (message.first) {
            case VK_SHIFT: shift_ = down; return 0;
            case VK_CONTROL: control_ = down; return 0;
            case VK_MENU: ((message.second & kKeyExtendedFlag) != 0 ? rightAlt_ : leftAlt_) = down; return 0;
            default: break;
        }
        if (!down || !TypesNoCharacter(message.first)) return 0;
    } else if (message.message == WM_CHAR) {
        const uint8_t character = static_cast<uint8_t>(message.first);
        if (character == '\r' || ((message.second & kKeyExtendedFlag) == 0 && !leftAlt_)) {
            codes[0] = character;
            return 1;
        }
    } else {
        return 0;
    }
    // A key without any code gives nothing: a lone 0 would make the reader take the next key
    // as its extended code.
    const uint8_t extended = ExtendedKeyCode(ScanCode(message), leftAlt_ || rightAlt_, control_, shift_);
    if (extended == 0) return 0;
    codes[0] = 0;
    codes[1] = extended;
    return 2;
}
