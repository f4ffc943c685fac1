// The library reaches the back-end only through BackendEntries: without a back-end it still
// starts, builds modes that cannot be set, and answers the window questions safely.

#include <gtest/gtest.h>

#include "graph/backend_entries.h"
#include "runtime/exit.h"
#include "tests/graph/graph_test_support.h"

namespace {

class WithoutBackEnd : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLibrary();
        ReleaseModeLists();
        BackendEntries = BackendEntriesRecord{};
        ExitHandler saved = ExitHandlerChain;
        GraphicsLayerInit();
        ExitHandlerChain = saved;
    }
    void TearDown() override {
        PlugWindowBackend();
        RestartLibrary();
    }
};

TEST_F(WithoutBackEnd, ModesAreListedWithoutRoutines) {
    EXPECT_EQ(GraphState.backendStartup, nullptr);
    int count = 0;
    for (ModeEntry* e = GraphState.KnownModes; e != nullptr; e = e->next) {
        ++count;
        EXPECT_EQ(e->PlotPixel, nullptr) << e->label;
        EXPECT_EQ(e->ModeInitHook, nullptr) << e->label;
    }
    // A screen of no size: only the four window-sized modes, each of no size.
    EXPECT_EQ(count, 4);
}

TEST_F(WithoutBackEnd, WindowQuestionsHaveSafeAnswers) {
    EXPECT_FALSE(GraphWindowShows());
    PaletteEntry entry = DefaultPaletteEntry(14);
    EXPECT_EQ(entry.red + entry.green + entry.blue, 0);
    // No default palette to load: the background changes without a palette write (which the
    // guard slots would turn into a stop).
    ChangeBackground(3);
    EXPECT_EQ(GraphState.backColor, 3);
    GraphState.inGraphics = true;  // as if a mode had been set
    LeaveGraphics();
    EXPECT_FALSE(GraphState.inGraphics);
}

TEST(BackendEntries, SelectingADisplayPlugsTheWindowBackEndIn) {
    BackendEntries = BackendEntriesRecord{};
    SelectDisplay(TestDisplay());
    EXPECT_EQ(BackendEntries.Startup, &BackendStartup);
    ScreenMetrics metrics = BackendEntries.Metrics();
    ScreenMetrics expected = TestDisplay().Metrics();
    EXPECT_EQ(metrics.largestClientWidth, expected.largestClientWidth);
    EXPECT_EQ(metrics.maximisedClientHeight, expected.maximisedClientHeight);
    StartMode();
    EXPECT_EQ(GraphResult(), GraphOk);
}

}  // namespace
