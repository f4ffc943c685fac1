#include "tests/e2e/plotter_terminal.h"

#include <chrono>
#include <utility>

PlotterTerminal::PlotterTerminal(PseudoTerminalOptions options) : PlotterTerminal({CHAOSPLOT}, std::move(options)) {}

PlotterTerminal::PlotterTerminal(const std::vector<std::string>& argv, PseudoTerminalOptions options)
    : terminal_(std::move(options)) {
    terminal_.Start(argv);
}

namespace {

const char* const kQuestions[] = {"inserire xp", "inserire yp", "inserire nmax", "ancora? s/n"};
constexpr int kAnswerWaitMs = 20000;

}  // namespace

int PlotterTerminal::QuestionsAsked() const {
    int asked = 0;
    for (const char* question : kQuestions) asked += CountOf(output(), question);
    return asked;
}

void PlotterTerminal::Answer(const std::string& lines) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
    for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos;
         start = end + 1) {
        // Any output moves the count on; a question seen is a question that can be answered.
        while (QuestionsAsked() <= linesTyped_ && std::chrono::steady_clock::now() < deadline) {
            terminal_.WaitForMoreThan(output().size(), 20);
        }
        terminal_.Type(lines.substr(start, end - start) + "\r");
        ++linesTyped_;
    }
}

bool PlotterTerminal::AwaitOutput(const std::string& text, int count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t after = 0;
        int seen = 0;
        for (size_t at = output().find(text); at != std::string::npos && seen < count;
             at = output().find(text, at + text.size())) {
            ++seen;
            after = at + text.size();
        }
        if (seen >= count) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        terminal_.WaitFor(text, after, static_cast<int>(left.count()));
    }
}

int PlotterTerminal::Finish(int timeoutMs) { return terminal_.WaitForEnd(timeoutMs).exitStatus; }

int CountOf(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos;
         at = haystack.find(text, at + text.size())) {
        ++count;
    }
    return count;
}
