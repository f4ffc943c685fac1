#include "tests/console/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

PseudoTerminal::PseudoTerminal(PseudoTerminalOptions options) : options_(std::move(options)) {
    winsize size{};
    size.ws_col = 80;
    size.ws_row = 24;
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) throw std::runtime_error("openpty");
    tcgetattr(slave_, &before_);
}

PseudoTerminal::~PseudoTerminal() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    close(master_);
    close(slave_);
}

void PseudoTerminal::Start(const std::vector<std::string>& argv) {
    int input[2] = {-1, -1};
    if (options_.standardInputFromPipe && pipe(input) != 0) throw std::runtime_error("pipe");
    child_ = fork();
    if (child_ == 0) {
        setsid();
        if (options_.withoutTerminal) {
            int null = open("/dev/null", O_RDONLY);
            dup2(null, 0);
            dup2(open(options_.standardOutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(options_.standardErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        } else {
            ioctl(slave_, TIOCSCTTY, 0);
            dup2(slave_, 0);
            dup2(slave_, 1);
            dup2(slave_, 2);
            if (!options_.standardOutputFile.empty()) {
                dup2(open(options_.standardOutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            }
            if (options_.standardInputFromPipe) dup2(input[0], 0);
        }
        for (int fd = 3; fd < 256; ++fd) close(fd);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    if (options_.standardInputFromPipe) {
        close(input[0]);
        const std::string& text = options_.standardInputText;
        if (write(input[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            throw std::runtime_error("write");
        }
        close(input[1]);
    }
}

void PseudoTerminal::ReadAvailable(int timeoutMs) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return;
    char buffer[4096];
    ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) output_.append(buffer, static_cast<size_t>(n));
    AnswerQuestions();
}

void PseudoTerminal::AnswerQuestions() {
    // Questions are whole once the next byte after them has arrived or they end the output.
    struct Question {
        const char* text;
        std::string answer;
    };
    std::string cursor = "\x1b[" + std::to_string(options_.cursorRow) + ";" +
                         std::to_string(options_.cursorColumn) + "R";
    const Question questions[] = {
        {"\x1b[6n", cursor},
        {"\x1b[?u", options_.speaksKitty ? "\x1b[?0u" : ""},
        {"\x1b[c", "\x1b[?62;22c"},
    };
    for (;;) {
        size_t earliest = std::string::npos;
        const Question* asked = nullptr;
        for (const Question& q : questions) {
            size_t at = output_.find(q.text, answeredUpTo_);
            if (at < earliest) {
                earliest = at;
                asked = &q;
            }
        }
        if (asked == nullptr) return;
        answeredUpTo_ = earliest + std::strlen(asked->text);
        Type(asked->answer);
    }
}

bool PseudoTerminal::WaitFor(const std::string& text, size_t from, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (output_.find(text, from) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ReadAvailable(20);
    }
    return true;
}

void PseudoTerminal::Type(const std::string& bytes) {
    if (!bytes.empty() && write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("write to terminal");
    }
}

void PseudoTerminal::Signal(int signalNumber) { kill(child_, signalNumber); }

ProgramEnd PseudoTerminal::WaitForEnd(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    ProgramEnd end;
    int status = 0;
    while (waitpid(child_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child_, SIGKILL);
            waitpid(child_, &status, 0);
            break;
        }
        ReadAvailable(20);
    }
    child_ = -1;
    ReadAvailable(0);
    if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
}

termios PseudoTerminal::SettingsNow() const {
    termios now{};
    tcgetattr(slave_, &now);
    return now;
}

bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}
