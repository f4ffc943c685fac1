#include "tests/console/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

[[noreturn]] void Run(const std::vector<std::string>& argv) {
    for (int fd = 3; fd < 256; ++fd) close(fd);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

// What a shell with job control does for a foreground job: a process group of its own that
// owns the terminal. This process waits for the job and ends the way it ended; the job's pid
// goes to pidPipe.
[[noreturn]] void RunAsJob(const std::vector<std::string>& argv, int pidPipe) {
    pid_t job = fork();
    if (job == 0) {
        setpgid(0, 0);
        signal(SIGTTOU, SIG_IGN);  // tcsetpgrp from what is still a background group
        tcsetpgrp(0, getpid());
        signal(SIGTTOU, SIG_DFL);
        Run(argv);
    }
    setpgid(job, job);
    [[maybe_unused]] ssize_t written = write(pidPipe, &job, sizeof job);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    int status = 0;
    while (waitpid(job, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        signal(WTERMSIG(status), SIG_DFL);
        raise(WTERMSIG(status));
    }
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 127);
}

}  // namespace

PseudoTerminal::PseudoTerminal(PseudoTerminalOptions options) : options_(std::move(options)) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(options_.columns);
    size.ws_row = static_cast<unsigned short>(options_.rows);
    size.ws_xpixel = static_cast<unsigned short>(options_.columns * options_.cellWidth);
    size.ws_ypixel = static_cast<unsigned short>(options_.rows * options_.cellHeight);
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) throw std::runtime_error("openpty");
    tcgetattr(slave_, &before_);
}

PseudoTerminal::~PseudoTerminal() {
    if (program_ > 0 && program_ != child_) kill(program_, SIGKILL);
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
    int jobPid[2] = {-1, -1};
    if (options_.asJob && pipe(jobPid) != 0) throw std::runtime_error("pipe");
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
        if (options_.asJob) RunAsJob(argv, jobPid[1]);
        Run(argv);
    }
    program_ = child_;
    if (options_.asJob) {
        close(jobPid[1]);
        if (read(jobPid[0], &program_, sizeof program_) != sizeof program_) throw std::runtime_error("job");
        close(jobPid[0]);
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

bool PseudoTerminal::ReadAvailable(int timeoutMs) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) output_.append(buffer, static_cast<size_t>(n));
    AnswerQuestions();
    return n > 0;
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

bool PseudoTerminal::WaitForMoreThan(size_t size, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (output_.size() <= size) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        ReadAvailable(static_cast<int>(left.count()));
    }
    return true;
}

void PseudoTerminal::Type(const std::string& bytes) {
    if (!bytes.empty() && write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("write to terminal");
    }
}

void PseudoTerminal::Signal(int signalNumber) { kill(program_, signalNumber); }

void PseudoTerminal::Resize(int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &size);  // the terminal sends SIGWINCH to its foreground group
}

bool PseudoTerminal::WaitForListening(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while ((SettingsNow().c_lflag & ISIG) != 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ReadAvailable(5);
    }
    return true;
}

bool PseudoTerminal::WaitForStopped(bool stopped, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::ifstream stat("/proc/" + std::to_string(program_) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;  // the program's name has no spaces
        if ((state == "T") == stopped) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        ReadAvailable(20);
    }
}

ProgramEnd PseudoTerminal::WaitForEnd(int timeoutMs, int pollMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    ProgramEnd end;
    int status = 0;
    while (waitpid(child_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child_, SIGKILL);
            waitpid(child_, &status, 0);
            break;
        }
        ReadAvailable(pollMs);
    }
    child_ = -1;
    program_ = -1;
    // Everything the program wrote before it ended, which may be more than one read's worth.
    while (ReadAvailable(0)) {
    }
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
