#pragma once
// Runs a program with the given standard input and collects what it writes and how it ends.

#include <string>
#include <vector>

struct ProgramRun {
    std::string out;
    std::string err;
    int exitStatus = -1;  // -1 when the program was ended by a signal
    int signal = 0;
};

// stdinText is written to the program's standard input, which is then closed. When
// closeStdout is set the program's standard output is a pipe whose reading end is already
// closed.
ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& stdinText,
                      bool closeStdout = false);
