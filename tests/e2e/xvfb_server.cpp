#include "tests/e2e/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long a server may take to start listening.
constexpr int kStartTimeoutMs = 10000;

}  // namespace

XvfbServer::~XvfbServer() { Kill(); }

bool XvfbServer::Start(int width, int height, const std::vector<std::string>& extraArguments) {
    int ready[2];
    if (pipe(ready) != 0) return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> arguments = {"Xvfb",      "-displayfd", std::to_string(ready[1]),
                                          "-screen",   "0",          screen,
                                          "-nolisten", "tcp",        "-noreset"};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    pid_ = fork();
    if (pid_ == 0) {
        close(ready[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(ready[1]);
    // The server writes its display number and a newline once it accepts connections.
    std::string number;
    pollfd source{ready[0], POLLIN, 0};
    while (pid_ > 0 && poll(&source, 1, kStartTimeoutMs) > 0) {
        char c;
        if (read(ready[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(ready[0]);
    if (pid_ < 0 || number.empty()) {
        Kill();
        return false;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    return true;
}

void XvfbServer::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
