// Window keys come through the library's key reading; the terminal's are read here. Without a
// terminal the gallery sleeps in the window's key wait; with one it waits on the terminal and
// looks at the window's keys a few times a second. The terminal is held by the console layer's
// session code, as the plotter holds it: no echo, single keys, and given back on every way out
// (Ctrl+C, the other deadly signals, a stop) with the same signal handlers.

#include "app/graphdemo/demo_keys.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <span>
#include <vector>

#include "console/key_decoder.h"
#include "console/terminal_session.h"
#include "graph/graph.h"
#include "runtime/exit.h"
#include "runtime/virtual_keys.h"

namespace {

// How often a gallery waiting on the terminal looks at the window's keys.
constexpr int kWindowCheckMs = 50;
constexpr uint8_t kEscape = 27;

bool terminalInput = false;  // standard input is a terminal that has not ended
void (*onScreenChange)() = nullptr;
ExitHandler savedExitHandler;

// Shift, Ctrl, Alt and the logo keys are held for another key (Ctrl+S saves the page), and
// the lock keys change what other keys mean: none of them turns a page alone.
bool TurnsNoPage(uintptr_t virtualKey) {
    constexpr uint16_t kLeftLogo = 0x5B, kRightLogo = 0x5C;
    constexpr uint16_t kHeldOrLock[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL, VK_NUMLOCK,
                                        VK_SCROLL, kLeftLogo, kRightLogo};
    return std::find(std::begin(kHeldOrLock), std::end(kHeldOrLock), virtualKey) != std::end(kHeldOrLock);
}

// The window's next key, if one waits: Esc ends, any other turns the page (the key codes leave
// out modifier and lock keys alone). A closed window ends the gallery; a window without keys of
// its own (a picture in the terminal) leaves them to the terminal.
std::optional<DemoKey> WindowKey(bool wait) {
    if (!wait && !WindowKeyWaiting()) {
        if (GraphResult() != GraphOk && GraphResult() != GraphErrorNoInput) return DemoKey::End;
        return std::nullopt;
    }
    const uint8_t code = ReadWindowKey();
    if (GraphResult() != GraphOk) return DemoKey::End;
    if (code == 0) ReadWindowKey();  // the extended code of the same key
    return code == kEscape ? DemoKey::End : DemoKey::Next;
}

void RestoreTerminal() {
    ExitHandlerChain = savedExitHandler;
    GiveBackTerminal();
}

// What a read from the terminal means: Esc ends, any other key turns the page, and a read of
// modifier or lock keys alone (a terminal that reports every key) means nothing; a cursor or
// function key's sequence is one key, not an Esc.
std::optional<DemoKey> TerminalKey(std::span<const uint8_t> bytes) {
    std::vector<KeyEvent> events;
    DecodeTerminalInput(bytes, true, events);
    std::optional<DemoKey> key;
    for (const KeyEvent& event : events) {
        if (event.keyDown && event.virtualKey == VK_ESCAPE) return DemoKey::End;
        if (event.keyDown && !TurnsNoPage(event.virtualKey)) key = DemoKey::Next;
    }
    // Bytes the decoder makes no key of still turn the page, as they always did.
    return events.empty() ? DemoKey::Next : key;
}


}  // namespace

void StartDemoKeys(void (*screenChanged)()) {
    onScreenChange = screenChanged;
    if (isatty(0)) {
        terminalInput = true;
        InstallTerminalSignalHandlers();
        TakeOverTerminal(0, 1);  // the signal keys stay on: Ctrl+C ends the gallery at once
    }
    savedExitHandler = ExitHandlerChain;
    ExitHandlerChain = RestoreTerminal;
}

std::optional<DemoKey> TakeDemoKey(int waitMs) {
    if (!terminalInput && waitMs < 0) return WindowKey(true);
    if (const auto key = WindowKey(false)) return key;
    pollfd waits[2] = {{terminalInput ? 0 : -1, POLLIN, 0}, {ScreenChangeDescriptor(), POLLIN, 0}};
    poll(waits, 2, waitMs < 0 ? kWindowCheckMs : waitMs);
    if (TakeScreenChange() && onScreenChange != nullptr) onScreenChange();
    if (waits[0].revents != 0) {
        uint8_t keys[64];
        const ssize_t n = read(0, keys, sizeof keys);
        if (n <= 0) {
            terminalInput = false;  // the terminal's input has ended
        } else if (const auto key = TerminalKey(std::span<const uint8_t>(keys, static_cast<size_t>(n)))) {
            return key;
        }
    }
    return WindowKey(false);
}

DemoKey AwaitDemoKey() {
    for (;;) {
        if (const auto key = TakeDemoKey(-1)) return *key;
    }
}
