#pragma once
// The options every program of the project answers before it starts: --help prints the usage
// and --version the version, each on standard output with exit status 0; any other argument is
// refused with a one-line error and a hint on standard error, exit status 2. Without arguments
// it returns and the program starts as usual.

#include <string_view>

void AnswerCommandLine(int argc, char** argv, std::string_view program, std::string_view usage);
