#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "runtime/exit.h"
#include "runtime/text_stream.h"

namespace {

void Note(const char* text) {
    const ssize_t ignored = write(2, text, std::strlen(text));
    (void)ignored;
}

ExitHandler savedByFirst = nullptr;
ExitHandler savedBySecond = nullptr;

void FirstHandler() {
    ExitHandlerChain = savedByFirst;
    Note("[first handler]");
}

// Leaves an I/O failure pending; the next handler must still be able to write.
void SecondHandler() {
    ExitHandlerChain = savedBySecond;
    Note("[second handler]");
    pendingIoError = 101;
}

void InstallHandlers() {
    savedByFirst = ExitHandlerChain;
    ExitHandlerChain = FirstHandler;
    savedBySecond = ExitHandlerChain;
    ExitHandlerChain = SecondHandler;
}

void Init1() { Note("[init 1]"); }
void Init2() { Note("[init 2]"); }
void Init3() { Note("[init 3]"); }
void Done1() { Note("[done 1]"); }
void Done3() { Note("[done 3]"); }
void Done4() { Note("[done 4]"); }
void Init4Stops() {
    Note("[init 4]");
    StopProgram(1);
}

void PlugTestLayers() {
    PlugLayer(LayerRuntime, Init1, Done1);
    PlugLayer(LayerConstantTable, Init2, nullptr);
    PlugLayer(LayerDiskInformation, Init3, Done3);
    PlugLayer(LayerConsole, nullptr, Done4);
    PlugLayer(LayerGraphics, nullptr, nullptr);
}

TEST(ExitChainDeathTest, HandlersRunNewestFirstThenFinalisersInReverse) {
    EXPECT_EXIT(
        {
            PlugTestLayers();
            RunLayerInits();
            InstallHandlers();
            StopProgram(7);
        },
        ::testing::ExitedWithCode(7),
        "^\\[init 1\\]\\[init 2\\]\\[init 3\\]\\[second handler\\]\\[first handler\\]"
        "\\[done 4\\]\\[done 3\\]\\[done 1\\]$");
}

TEST(ExitChainDeathTest, StopDuringInitialisationFinalisesOnlyCompletedLayers) {
    EXPECT_EXIT(
        {
            PlugTestLayers();
            PlugLayer(LayerConsole, Init4Stops, Done4);
            RunLayerInits();
        },
        ::testing::ExitedWithCode(1), "\\[init 4\\]\\[done 3\\]\\[done 1\\]$");
}

TEST(ExitChainDeathTest, PendingFailureDoesNotDisableTheNextHandler) {
    EXPECT_EXIT(
        {
            PlugTestLayers();
            PlugLayer(LayerRuntime, nullptr, nullptr);
            RunLayerInits();
            savedByFirst = ExitHandlerChain;
            ExitHandlerChain = [] {
                ExitHandlerChain = savedByFirst;
                WriteText(0, DiagnosticText, "[handler wrote]");
                WriteLineEnd(DiagnosticText);
            };
            savedBySecond = ExitHandlerChain;
            ExitHandlerChain = SecondHandler;
            BindStandardText(DiagnosticText, StateOutput, 2);
            StopProgram(0);
        },
        ::testing::ExitedWithCode(0), "\\[second handler\\]\\[handler wrote\\]");
}

TEST(ExitChainDeathTest, StopWritesNoReport) {
    EXPECT_EXIT(
        {
            PlugTestLayers();
            BindStandardText(ReportText, StateOutput, 2);  // a report would show on stderr
            StopProgram(1);
        },
        ::testing::ExitedWithCode(1), "^$");
}

}  // namespace
