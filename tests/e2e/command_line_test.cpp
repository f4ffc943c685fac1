// The programs' options, answered before anything starts: no display or terminal is needed.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_program.h"

namespace {

struct Program {
    const char* name;
    const char* path;
};

class CommandLineTest : public ::testing::TestWithParam<Program> {};

TEST_P(CommandLineTest, HelpAndVersionAnswerOnStandardOutput) {
    const ProgramRun help = RunProgram({GetParam().path, "--help"}, "");
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: " + std::string(GetParam().name), 0), 0u) << help.out;
    EXPECT_NE(help.out.find("DISPLAY"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    const ProgramRun version = RunProgram({GetParam().path, "--version"}, "");
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string(GetParam().name) + " " + CHAOSPLOT_VERSION + "\n");
}

TEST_P(CommandLineTest, OtherArgumentsAreRefusedWithAHint) {
    const std::string name = GetParam().name;
    const std::string hint = "Try '" + name + " --help' for more information.\n";
    const ProgramRun unknown = RunProgram({GetParam().path, "-x"}, "");
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.err, name + ": unknown option '-x'\n" + hint);
    EXPECT_EQ(unknown.out, "");
    const ProgramRun extra = RunProgram({GetParam().path, "--help", "--version"}, "");
    EXPECT_EQ(extra.exitStatus, 2);
    EXPECT_EQ(extra.err, name + ": too many arguments\n" + hint);
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLineTest,
                         ::testing::Values(Program{"chaosplot", CHAOSPLOT}, Program{"graphdemo", GRAPHDEMO}),
                         [](const ::testing::TestParamInfo<Program>& info) { return info.param.name; });

}  // namespace
