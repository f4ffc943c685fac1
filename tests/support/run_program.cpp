#include "tests/support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace {

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& stdinText,
                      bool closeStdout) {
    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err)) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        signal(SIGPIPE, SIG_DFL);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (closeStdout) {
        close(out[0]);
        out[0] = -1;
    }
    signal(SIGPIPE, SIG_IGN);
    SetNonBlocking(in[1]);
    ProgramRun run;
    size_t sent = 0;
    if (stdinText.empty()) {
        close(in[1]);
        in[1] = -1;
    }
    while (out[0] >= 0 || err[0] >= 0) {
        pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
        if (poll(fds, 3, 10000) <= 0) break;
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? run.out : run.err).append(buffer, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                (i == 0 ? out[0] : err[0]) = -1;
            }
        }
        if (in[1] >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = write(in[1], stdinText.data() + sent, stdinText.size() - sent);
            if (n > 0) sent += static_cast<size_t>(n);
            if (n < 0 || sent == stdinText.size()) {
                close(in[1]);
                in[1] = -1;
            }
        }
    }
    for (int fd : {in[1], out[0], err[0]}) {
        if (fd >= 0) close(fd);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}
