#pragma once
// Runs a program as a person at a terminal would: answers go in bit by bit, what it writes is
// collected as it comes, and the test can wait for a prompt before it acts.

#include <sys/types.h>

#include <string>
#include <vector>

class ProgramSession {
public:
    explicit ProgramSession(const std::vector<std::string>& argv);
    ~ProgramSession();  // ends a program still running
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    void Type(const std::string& text);
    // Waits until standard output holds `text` `count` times; false after timeoutMs.
    bool AwaitOutput(const std::string& text, int count = 1, int timeoutMs = 20000);
    // Closes standard input and waits for the end; the exit status, -1 after a signal or
    // when the program has not ended after timeoutMs.
    int Finish(int timeoutMs = 20000);

    pid_t pid() const { return pid_; }
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

private:
    // Reads what is there, waiting at most timeoutMs; false when both streams are closed.
    bool Collect(int timeoutMs);

    pid_t pid_ = -1;
    int in_ = -1, outFd_ = -1, errFd_ = -1;
    std::string out_, err_;
};

// Occurrences of text in haystack.
int CountOf(const std::string& haystack, const std::string& text);
