#include "tests/e2e/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long a server may take to start listening.
constexpr int kStartTimeoutMs = 10000;

}  // namespace

XvfbServer::~XvfbServer() { Stop(); }

bool XvfbServer::Start(int width, int height, const std::vector<std::string>& extraArguments) {
    XvfbSettings settings;
    settings.width = width;
    settings.height = height;
    settings.extraArguments = extraArguments;
    return Start(settings);
}

bool XvfbServer::Start(const XvfbSettings& settings) {
    int ready[2];
    if (pipe(ready) != 0) return false;
    const std::string screen = std::to_string(settings.width) + "x" + std::to_string(settings.height) +
                               "x" + std::to_string(settings.depth);
    std::vector<std::string> arguments = {"Xvfb",    "-displayfd", std::to_string(ready[1]),
                                          "-screen", "0",          screen,
                                          "-nolisten", "tcp"};
    if (!settings.resetsWhenLastClientLeaves) arguments.push_back("-noreset");
    arguments.insert(arguments.end(), settings.extraArguments.begin(), settings.extraArguments.end());
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test killed by its timeout takes its server with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
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

void XvfbServer::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void XvfbServer::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    RemoveLeftovers(pid_);
    pid_ = -1;
}

void XvfbServer::RemoveLeftovers(pid_t killed) const {
    if (display_.size() < 2) return;
    const std::string number = display_.substr(1);
    const std::string lock = "/tmp/.X" + number + "-lock";
    // Only while the lock still names the killed server: the number may be in use again.
    char text[16] = {};
    const int file = open(lock.c_str(), O_RDONLY);
    if (file < 0) return;
    const ssize_t length = read(file, text, sizeof text - 1);
    close(file);
    if (length <= 0 || atoi(text) != killed) return;
    unlink(("/tmp/.X11-unix/X" + number).c_str());
    unlink(lock.c_str());
}
