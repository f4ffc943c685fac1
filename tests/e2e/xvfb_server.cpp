#include "tests/e2e/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// How long a server may take to start listening.
constexpr int kStartTimeoutMs = 10000;

}  // namespace

XvfbServer::~XvfbServer() {
    Stop();
    ReleaseNumber();
}

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
    HoldNumber(pid_);
    pid_ = -1;
}

namespace {

// The process a server lock file names, or -1.
pid_t LockOwner(const std::string& lock) {
    char text[16] = {};
    const int file = open(lock.c_str(), O_RDONLY);
    if (file < 0) return -1;
    const ssize_t length = read(file, text, sizeof text - 1);
    close(file);
    return length > 0 ? atoi(text) : -1;
}

// Whether a server accepts connections on the socket file at `path`.
bool SomeoneListens(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    const bool answered = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return answered;
}

}  // namespace

void XvfbServer::HoldNumber(pid_t killed) {
    if (display_.size() < 2) return;
    const std::string number = display_.substr(1);
    // Servers that pick their own number skip one whose abstract socket name is bound; clients
    // that try it are refused, as by a server that is gone.
    const std::string name = "/tmp/.X11-unix/X" + number;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    heldSocket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (heldSocket_ >= 0 && bind(heldSocket_, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        close(heldSocket_);
        heldSocket_ = -1;
    }
    // A killed server leaves its socket file behind, and the server may have taken no lock: the
    // file goes unless a server of another test has the number again and answers on it.
    if (!SomeoneListens(name)) unlink(name.c_str());
    const std::string lock = "/tmp/.X" + number + "-lock";
    // Only while the lock still names the killed server: the number may be in use again.
    if (LockOwner(lock) != killed) return;
    // A lock naming a live process keeps servers off the number; the new lock replaces the old
    // in one step, so there is no moment without one.
    const std::string mine = lock + "." + std::to_string(getpid());
    const int file = open(mine.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0444);
    if (file >= 0) {
        char text[16];
        const int textLength = snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
        const bool written = write(file, text, static_cast<size_t>(textLength)) == textLength;
        close(file);
        if (written && rename(mine.c_str(), lock.c_str()) == 0) heldLock_ = lock;
        else unlink(mine.c_str());
    }
    if (heldLock_.empty()) unlink(lock.c_str());
}

void XvfbServer::ReleaseNumber() {
    if (!heldLock_.empty() && LockOwner(heldLock_) == getpid()) unlink(heldLock_.c_str());
    heldLock_.clear();
    if (heldSocket_ >= 0) close(heldSocket_);
    heldSocket_ = -1;
}
