#pragma once
// chaosplot on a pseudo-terminal, as a user at a terminal runs it: each answer is typed once
// its question is on the screen, Enter ends it, and what appears on the terminal (prompts,
// echo, messages on standard error) is collected as it comes.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/console/pseudo_terminal.h"

class PlotterTerminal {
public:
    explicit PlotterTerminal(PseudoTerminalOptions options = {});  // starts chaosplot
    // Starts another program that asks the same questions (argv[0] its path).
    explicit PlotterTerminal(const std::vector<std::string>& argv, PseudoTerminalOptions options = {});
    // Types the lines ending in '\n', each once the program has asked for it.
    void Answer(const std::string& lines);
    // Waits until the terminal has shown `text` `count` times; false after timeoutMs.
    bool AwaitOutput(const std::string& text, int count = 1, int timeoutMs = 20000);
    // Waits for the end; the exit status, -1 after a signal or a timeout.
    int Finish(int timeoutMs = 20000);

    const std::string& output() const { return terminal_.output(); }
    // The terminal itself: for keys that are not answers, signals and its settings.
    PseudoTerminal& terminal() { return terminal_; }
    pid_t pid() const { return terminal_.pid(); }

private:
    int QuestionsAsked() const;

    PseudoTerminal terminal_;
    int linesTyped_ = 0;
};

// Occurrences of text in haystack.
int CountOf(const std::string& haystack, const std::string& text);
