// The GUI thread hands window keys to the main thread through a pipe, so that the main thread
// can wait on the window and the terminal at once with one poll. The terminal is held by the
// console layer's session code, as the plotter holds it: no echo, single keys, and given back
// on every way out (Ctrl+C, the other deadly signals, a stop) with the same signal handlers.

#include "app/graphdemo/demo_keys.h"

#include <fcntl.h>
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
#include "graph/window/display.h"
#include "runtime/exit.h"
#include "runtime/virtual_keys.h"

namespace {

constexpr int kWindowCheckMs = 250;

int keyPipe[2] = {-1, -1};
bool terminalInput = true;  // false once standard input has ended
ExitHandler savedExitHandler;

// Shift, Ctrl, Alt and the logo keys are held for another key (Ctrl+S saves the page), and
// the lock keys change what other keys mean: none of them turns a page alone.
bool TurnsNoPage(uintptr_t virtualKey) {
    constexpr uint16_t kLeftLogo = 0x5B, kRightLogo = 0x5C;
    constexpr uint16_t kHeldOrLock[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL, VK_NUMLOCK,
                                        VK_SCROLL, kLeftLogo, kRightLogo};
    return std::find(std::begin(kHeldOrLock), std::end(kHeldOrLock), virtualKey) != std::end(kHeldOrLock);
}

int32_t WindowKeyHook(uintptr_t, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_KEYDOWN && !TurnsNoPage(first)) {  // its first parameter is the virtual key
        uint8_t key = static_cast<uint8_t>(first);
        [[maybe_unused]] ssize_t written = write(keyPipe[1], &key, 1);
    }
    return 0;
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

void StartDemoKeys() {
    if (pipe2(keyPipe, O_CLOEXEC | O_NONBLOCK) != 0) keyPipe[0] = keyPipe[1] = -1;
    GraphState.MessageHook = WindowKeyHook;
    if (isatty(0)) {
        InstallTerminalSignalHandlers();
        TakeOverTerminal(0, 1);  // the signal keys stay on: Ctrl+C ends the gallery at once
    }
    savedExitHandler = ExitHandlerChain;
    ExitHandlerChain = RestoreTerminal;
}

DemoKey AwaitDemoKey() {
    for (;;) {
        pollfd sources[2] = {{keyPipe[0], POLLIN, 0}, {terminalInput ? 0 : -1, POLLIN, 0}};
        int ready = poll(sources, 2, kWindowCheckMs);
        if (ready == 0 && !GraphWindowShows()) return DemoKey::End;
        for (const pollfd& source : sources) {
            if (source.fd < 0 || (source.revents & (POLLIN | POLLHUP)) == 0) continue;
            uint8_t keys[64];
            ssize_t n = read(source.fd, keys, source.fd == 0 ? sizeof keys : 1);
            if (n <= 0) {
                if (source.fd == 0) terminalInput = false;  // the terminal's input has ended
                continue;
            }
            if (source.fd != 0) return keys[0] == VK_ESCAPE ? DemoKey::End : DemoKey::Next;
            if (const auto key = TerminalKey(std::span<const uint8_t>(keys, static_cast<size_t>(n)))) return *key;
        }
    }
}
