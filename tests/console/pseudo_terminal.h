#pragma once
// Runs a program on a pseudo-terminal and plays the terminal: collects what the program
// writes, answers its questions (cursor position, device attributes and, when asked to, the
// kitty keyboard query) and types keys.

#include <termios.h>
#include <sys/types.h>

#include <string>
#include <vector>

struct PseudoTerminalOptions {
    int cursorRow = 1;  // 1-based, what the terminal reports
    int cursorColumn = 1;
    bool speaksKitty = false;
    std::string standardOutputFile;  // empty: standard output is the terminal
    bool standardInputFromPipe = false;
    std::string standardInputText;
    bool withoutTerminal = false;  // no terminal at all: output and errors into files
    std::string standardErrorFile;
    // The program runs as a job of a shell with job control: in a process group of its own in
    // the foreground, its parent waiting in the same session, so that stop signals stop it.
    bool asJob = false;
    int columns = 80;
    int rows = 24;
    int cellWidth = 0;  // pixels, told with the size; 0: the size in pixels is not told
    int cellHeight = 0;
};

struct ProgramEnd {
    int exitStatus = -1;  // -1 when a signal ended the program
    int signal = 0;
};

class PseudoTerminal {
public:
    explicit PseudoTerminal(PseudoTerminalOptions options);
    ~PseudoTerminal();

    void Start(const std::vector<std::string>& argv);
    // Reads until the output after position `from` contains text; false on timeout.
    bool WaitFor(const std::string& text, size_t from = 0, int timeoutMs = 5000);
    // Reads until the output is longer than `size` bytes; false on timeout.
    bool WaitForMoreThan(size_t size, int timeoutMs);
    void Type(const std::string& bytes);
    // Signals the program (the job itself when it runs as one).
    void Signal(int signalNumber);
    // The terminal's window takes a new size; the program hears of it by SIGWINCH.
    void Resize(int columns, int rows);
    // Waits until the program reads keys itself (the terminal's signal keys are off).
    bool WaitForListening(int timeoutMs = 5000);
    // Waits until the program is stopped (or, with stopped false, running again).
    bool WaitForStopped(bool stopped, int timeoutMs = 5000);
    // Looks for the end every pollMs (its resolution, for measurements).
    ProgramEnd WaitForEnd(int timeoutMs = 10000, int pollMs = 20);

    const std::string& output() const { return output_; }
    pid_t pid() const { return program_; }
    const termios& settingsBefore() const { return before_; }
    termios SettingsNow() const;

private:
    // Reads what has arrived, waiting up to timeoutMs for it; whether anything was read.
    bool ReadAvailable(int timeoutMs);
    void AnswerQuestions();

    PseudoTerminalOptions options_;
    int master_ = -1;
    int slave_ = -1;
    pid_t child_ = -1;
    pid_t program_ = -1;
    termios before_{};
    std::string output_;
    size_t answeredUpTo_ = 0;
};

bool SameSettings(const termios& a, const termios& b);
