// The GUI thread hands window keys to the main thread through a pipe, so that the main thread
// can wait on the window and the terminal at once with one poll.

#include "app/graphdemo/demo_keys.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "graph/graph.h"
#include "graph/window/display.h"
#include "runtime/exit.h"

namespace {

constexpr uint8_t kEscape = 0x1B;            // the virtual key and the terminal byte alike
constexpr int kWindowCheckMs = 250;

int keyPipe[2] = {-1, -1};
bool terminalInput = true;  // false once standard input has ended
bool terminalChanged = false;
termios savedTerminal;
ExitHandler savedExitHandler;

int32_t WindowKeyHook(uintptr_t, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_KEYDOWN) {  // its first parameter is the virtual key
        uint8_t key = static_cast<uint8_t>(first);
        [[maybe_unused]] ssize_t written = write(keyPipe[1], &key, 1);
    }
    return 0;
}

void RestoreTerminal() {
    ExitHandlerChain = savedExitHandler;
    if (terminalChanged) tcsetattr(0, TCSANOW, &savedTerminal);
}


}  // namespace

void StartDemoKeys() {
    if (pipe2(keyPipe, O_CLOEXEC | O_NONBLOCK) != 0) keyPipe[0] = keyPipe[1] = -1;
    GraphState.MessageHook = WindowKeyHook;
    if (isatty(0) && tcgetattr(0, &savedTerminal) == 0) {
        termios keys = savedTerminal;
        keys.c_lflag &= static_cast<tcflag_t>(~ICANON);
        keys.c_cc[VMIN] = 1;
        keys.c_cc[VTIME] = 0;
        terminalChanged = tcsetattr(0, TCSANOW, &keys) == 0;
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
            uint8_t key;
            if (read(source.fd, &key, 1) != 1) {
                if (source.fd == 0) terminalInput = false;  // the terminal's input has ended
                continue;
            }
            return key == kEscape ? DemoKey::End : DemoKey::Next;
        }
    }
}
