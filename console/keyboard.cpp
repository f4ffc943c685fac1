// Keyboard reading: key events to key codes, with the extended codes and Alt+keypad entry.

#include "console/keyboard.h"

#include "console/console_output.h"
#include "console/console_state.h"
#include "console/device.h"
#include "console/keys.h"
#include "runtime/key_codes.h"
#include "runtime/text_stream.h"

KeyboardStateRecord KeyboardState;

namespace {

bool IsLockOrModifier(uint16_t virtualKey) {
    return virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU ||
           virtualKey == VK_CAPITAL || virtualKey == VK_NUMLOCK || virtualKey == VK_SCROLL;
}

bool IsKeypadDigit(uint16_t virtualKey) { return virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9; }

// Takes one event off the queue; true when it yields a key code.
bool TakeKeyFrom(const KeyEvent& event) {
    KeyboardStateRecord& k = KeyboardState;
    if (!event.keyDown) {
        if (event.virtualKey == VK_MENU && k.altComposing && k.altCode != 0) {
            k.pendingKey = k.altCode;
            k.altComposing = false;
            k.altCode = 0;
            return true;
        }
        return false;
    }
    bool alt = (event.controlState & (RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED)) != 0;
    if (IsLockOrModifier(event.virtualKey)) return false;
    if (event.character != 0 && (event.controlState & (ENHANCED_KEY | LEFT_ALT_PRESSED)) == 0) {
        k.extendedPending = false;
        k.pendingKey = event.character;
    } else if (event.character == 13 && event.virtualKey == VK_RETURN) {
        k.extendedPending = false;
        k.pendingKey = 13;
    } else {
        k.extendedPending = true;
        k.pendingKey = TranslateKey(event.scanCode, event.controlState, event.virtualKey);
    }
    if ((IsKeypadDigit(event.virtualKey) && alt) || (k.extendedPending && k.pendingKey == 0)) {
        // A digit of an Alt+keypad code is composed, not delivered. A key with no code at all
        // (a NUL byte read from a file) gives nothing: a lone 0 would make the reader take the
        // next key as its extended code.
        k.extendedPending = false;
        k.pendingKey = 0;
        return false;
    }
    return true;
}

}  // namespace

bool PollKey() {
    KeyboardStateRecord& k = KeyboardState;
    if (k.pendingKey != 0) return true;
    ConsoleDevice& device = ActiveConsoleDevice();
    uint32_t handle = InputText.osHandle;
    bool found = false;
    int32_t count = device.PendingInputEvents(handle);
    while (count > 0 && !found) {
        KeyEvent event{};
        if (device.ReadInputEvent(handle, event)) found = TakeKeyFrom(event);
        if (!found) count = device.PendingInputEvents(handle);
    }
    return found;
}

bool WaitKeyUnlessEnded(uint8_t& key) {
    ConsoleDevice& device = ActiveConsoleDevice();
    uint32_t handle = InputText.osHandle;
    while (!PollKey()) {
        if (device.InputEnded(handle)) return false;
        device.WaitForInput(handle);
        FollowScreenSize();  // a resize while the user thinks: the echo goes where it now belongs
    }
    KeyboardStateRecord& k = KeyboardState;
    if (k.extendedPending) {
        k.extendedPending = false;
        key = 0;
    } else {
        key = k.pendingKey;
        k.pendingKey = 0;
    }
    return true;
}

uint8_t WaitKey() {
    uint8_t key = 0;
    return WaitKeyUnlessEnded(key) ? key : kEndOfInputKey;
}

uint8_t TranslateKey(uint16_t scanCode, uint32_t controlState, uint16_t virtualKey) {
    bool alt = (controlState & (RIGHT_ALT_PRESSED | LEFT_ALT_PRESSED)) != 0;
    bool ctrl = (controlState & (RIGHT_CTRL_PRESSED | LEFT_CTRL_PRESSED)) != 0;
    bool shift = (controlState & SHIFT_PRESSED) != 0;
    if (alt && IsKeypadDigit(virtualKey)) {
        KeyboardState.altComposing = true;
        KeyboardState.altCode = static_cast<uint8_t>(KeyboardState.altCode * 10 + virtualKey - VK_NUMPAD0);
    }
    return ExtendedKeyCode(scanCode, alt, ctrl, shift);
}
