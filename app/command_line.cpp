#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <string>

void AnswerCommandLine(int argc, char** argv, std::string_view program, std::string_view usage) {
    if (argc < 2) return;
    const std::string_view option = argv[1];
    if (argc == 2 && option == "--help") {
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        std::exit(0);
    }
    if (argc == 2 && option == "--version") {
        std::printf("%.*s %s\n", static_cast<int>(program.size()), program.data(), CHAOSPLOT_VERSION);
        std::exit(0);
    }
    const std::string refused = argc == 2 ? "unknown option '" + std::string(option) + "'"
                                          : std::string("too many arguments");
    std::fprintf(stderr, "%.*s: %s\nTry '%.*s --help' for more information.\n",
                 static_cast<int>(program.size()), program.data(), refused.c_str(),
                 static_cast<int>(program.size()), program.data());
    std::exit(2);
}
