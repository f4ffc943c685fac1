#include "tests/e2e/program_session.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

ProgramSession::ProgramSession(const std::vector<std::string>& argv) {
    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err)) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    in_ = in[1];
    outFd_ = out[0];
    errFd_ = err[0];
    signal(SIGPIPE, SIG_IGN);
}

ProgramSession::~ProgramSession() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : {in_, outFd_, errFd_}) {
        if (fd >= 0) close(fd);
    }
}

void ProgramSession::Type(const std::string& text) {
    for (size_t sent = 0; in_ >= 0 && sent < text.size();) {
        const ssize_t n = write(in_, text.data() + sent, text.size() - sent);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
}

bool ProgramSession::Collect(int timeoutMs) {
    pollfd sources[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (outFd_ < 0 && errFd_ < 0) return false;
    if (poll(sources, 2, timeoutMs) <= 0) return true;
    for (int i = 0; i < 2; ++i) {
        if (!(sources[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[4096];
        const ssize_t n = read(sources[i].fd, buffer, sizeof buffer);
        int& fd = i == 0 ? outFd_ : errFd_;
        if (n > 0) {
            (i == 0 ? out_ : err_).append(buffer, static_cast<size_t>(n));
        } else {
            close(fd);
            fd = -1;
        }
    }
    return true;
}

bool ProgramSession::AwaitOutput(const std::string& text, int count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (CountOf(out_, text) < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !Collect(static_cast<int>(left.count()))) {
            return CountOf(out_, text) >= count;
        }
    }
    return true;
}

int ProgramSession::Finish(int timeoutMs) {
    if (in_ >= 0) {
        close(in_);
        in_ = -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline && Collect(50)) {
    }
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) break;
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        usleep(10000);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int CountOf(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos;
         at = haystack.find(text, at + text.size())) {
        ++count;
    }
    return count;
}
