// The runtime as a whole program sees it: report text, exit statuses and resolvable addresses.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_program.h"

namespace {

const std::string kProbe = RUNTIME_PROBE;

ProgramRun Probe(const std::string& scenario, const std::string& input = "") {
    return RunProgram({kProbe, scenario}, input);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The report's lines, from "Runtime error" to the empty line.
std::vector<std::string> ReportLines(const std::string& out) {
    const size_t start = out.find("Runtime error ");
    if (start == std::string::npos) return {};
    return Lines(out.substr(start));
}

std::string SourceOf(const std::string& address) {
    return RunProgram({"/usr/bin/addr2line", "-e", kProbe, address}, "").out;
}

// endsAtStartUp: the trace is short enough to reach the main routine's return into start-up.
void ExpectReport(const ProgramRun& run, int number, const std::string& faultSource,
                  bool endsAtStartUp = true) {
    EXPECT_EQ(run.exitStatus, number) << run.err;
    const std::vector<std::string> report = ReportLines(run.out);
    ASSERT_GE(report.size(), 4u) << run.out;
    std::smatch match;
    const std::regex first("Runtime error " + std::to_string(number) + " at 0x([0-9A-F]{8})");
    ASSERT_TRUE(std::regex_match(report[0], match, first)) << report[0];
    EXPECT_EQ(report[1], "  0x" + match[1].str());
    EXPECT_TRUE(report.back().empty());
    EXPECT_NE(SourceOf("0x" + match[1].str()).find(faultSource), std::string::npos)
        << SourceOf("0x" + match[1].str());
    if (!endsAtStartUp) return;
    // The last frame line is the main routine's return into the start-up code.
    const std::string last = report[report.size() - 2];
    ASSERT_EQ(last.substr(0, 4), "  0x");
    EXPECT_NE(SourceOf(last.substr(2)).find("startup.cpp"), std::string::npos);
}

TEST(ProbeTest, NormalEndWritesNoReport) {
    const ProgramRun run = Probe("read", "12\r\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "inserire xp\r\n12\r\n");
}

TEST(ProbeTest, BadIntegerReportsError106AtTheCheck) {
    const ProgramRun run = Probe("read", "12abc\r\n");
    ExpectReport(run, 106, "runtime_probe.cpp");
    EXPECT_EQ(ReportLines(run.out).size(), 4u);  // error, address, main routine's frame, empty
}

TEST(ProbeTest, StackTraceFollowsEveryFrameIntoAFile) {
    const ProgramRun run = Probe("deep-read", "x\n");
    ExpectReport(run, 106, "runtime_probe.cpp");
    // Twenty-odd nested reads (the compiler may fold a level) and the main routine, all of them
    // down to the start-up code: far more than a terminal would get.
    EXPECT_GE(ReportLines(run.out).size(), 2u + 20u + 1u);
}

TEST(ProbeTest, StackTraceOnATerminalStopsAfterNineFrames) {
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(kProbe.c_str(), kProbe.c_str(), "deep-read", nullptr);
        _exit(127);
    }
    const char typed[] = "x\n";
    ASSERT_EQ(write(master, typed, 2), 2);
    std::string out;
    char buffer[1024];
    ssize_t n;
    while ((n = read(master, buffer, sizeof buffer)) > 0) out.append(buffer, n);
    int status = 0;
    waitpid(child, &status, 0);
    close(master);
    EXPECT_EQ(WEXITSTATUS(status), 106);
    // The terminal turns LF into CR LF on output; undo that before counting.
    std::string text = std::regex_replace(out, std::regex("\r\r\n"), "\r\n");
    EXPECT_EQ(ReportLines(text).size(), 2u + 9u + 1u) << text;
}

TEST(ProbeTest, StopProgramEndsWithItsStatusAndNoReport) {
    const ProgramRun run = Probe("stop");
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.out, "");
}

TEST(ProbeTest, HeapMisuseIsReportedAtTheCaller) {
    ExpectReport(Probe("heap-negative"), 204, "runtime_probe.cpp");
}

TEST(ProbeTest, WritingToAClosedPipeEndsWith101) {
    const ProgramRun run = RunProgram({kProbe, "closed-pipe"}, "", /*closeStdout=*/true);
    EXPECT_EQ(run.exitStatus, 101);
    EXPECT_EQ(run.signal, 0);
}

struct FaultCase {
    const char* scenario;
    int number;
    bool endsAtStartUp = true;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.scenario; }

class ProbeFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ProbeFaultTest, FaultBecomesRunTimeError) {
    ExpectReport(Probe(GetParam().scenario), GetParam().number, "runtime_probe.cpp",
                 GetParam().endsAtStartUp);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ProbeFaultTest,
    ::testing::Values(FaultCase{"divide", 200}, FaultCase{"divide-real", 200},
                      FaultCase{"overflow-real", 205}, FaultCase{"invalid-real", 207},
                      FaultCase{"null", 216}, FaultCase{"stack", 202, false}, FaultCase{"illegal", 217},
                      FaultCase{"trap", 217}),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.scenario;
        for (char& c : name) {
            if (c == '-') c = '_';
        }
        return name;
    });

TEST(ProbeFaultTest, FaultOnAThreadTheExitPathWaitsForEndsTheProcess) {
    const ProgramRun run = Probe("fault-while-leaving");
    EXPECT_EQ(run.exitStatus, 3);
}

TEST(ProbeFaultTest, FaultOnAnotherThreadIsRaisedThere) {
    const ProgramRun run = Probe("thread-fault");
    EXPECT_EQ(run.exitStatus, 200);
    const std::vector<std::string> report = ReportLines(run.out);
    ASSERT_GE(report.size(), 3u);
    EXPECT_NE(SourceOf(report[1].substr(2)).find("runtime_probe.cpp"), std::string::npos);
}

}  // namespace
