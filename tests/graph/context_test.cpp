// The graphics context: guards before a mode, defaults after one, viewport, background, font
// names and the exit handler.
#include <gtest/gtest.h>

#include "runtime/exit.h"
#include "runtime/startup.h"
#include "tests/graph/graph_test_support.h"

namespace {

const char kGuardMessage[] =
    "Error: Not in graphics mode \\(use InitGraph and test GraphResult afterwards\\)";

TEST(GuardDeathTest, DrawingBeforeAnyModeStopsWithTheMessage) {
    EXPECT_EXIT(
        {
            RuntimeInit();
            RestartLibrary();
            SetDrawColor(4);   // settings alone are fine
            PenMoveTo(5, 5);
            PenLineTo(400, 0);  // plots pixels
        },
        testing::ExitedWithCode(1), kGuardMessage);
}

TEST(GuardDeathTest, EveryGuardedSlotStops) {
    auto run = [](void (*call)()) {
        EXPECT_EXIT(
            {
                RuntimeInit();
                RestartLibrary();
                call();
            },
            testing::ExitedWithCode(1), kGuardMessage);
    };
    run([] { DriverSlots.PlotPixel(0, 0); });
    run([] { DriverSlots.ReadPixel(0, 0); });
    run([] { DriverSlots.WritePixel(0, 0, 1); });
    run([] { DriverSlots.WritePaletteEntry(0, 1, 2, 3); });
    run([] {
        int16_t r, g, b;
        DriverSlots.ReadPaletteEntry(0, r, g, b);
    });
}

TEST(Context, TheLibraryIsLayerFiveAndChainsItsExitHandler) {
    PlugGraphicsLayer();
    EXPECT_EQ(LayerTable.entries[LayerGraphics - 1].initialiser, &GraphicsLayerInit);
    ExitHandler before = ExitHandlerChain;
    RestartLibrary();  // keeps the chain as it was
    ExitHandlerChain = before;
    ReleaseModeLists();
    GraphicsLayerInit();
    EXPECT_EQ(ExitHandlerChain, &GraphExitHandler);
    EXPECT_EQ(GraphState.savedExitHandler, before);
    ExitHandlerChain = before;
    EXPECT_EQ(DriverSlots.DrawLine, &GenericDrawLine);
    EXPECT_EQ(GraphState.backendStartup, &BackendStartup);
}

TEST(Context, DefaultsAfterInitGraph) {
    StartMode(9, 2);
    EXPECT_EQ(PenX(), 0);
    EXPECT_EQ(PenY(), 0);
    EXPECT_EQ(GraphState.drawColor, 15);
    EXPECT_EQ(GraphState.fillPatternIndex, 1);
    EXPECT_EQ(GraphState.fillColor, 15);
    EXPECT_EQ(GraphState.writeMode, 0);
    EXPECT_TRUE(GraphState.clipOn);
    EXPECT_EQ(GraphState.viewMaxX, 639);
    EXPECT_EQ(GraphState.viewMaxY, 479);
    EXPECT_EQ(GraphState.textVertJustify, 2);
    EXPECT_EQ(GraphState.aspectX, 10000);

    int16_t driver = 10, mode = 257;  // 256 colours
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphState.fillColor, 255);
    EXPECT_EQ(GraphState.drawColor, 15);
}

TEST(Context, ViewportIsCheckedAndMovesThePen) {
    StartMode();
    PenMoveTo(7, 8);
    DefineViewport(10, 10, 5, 20, true);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_EQ(GraphState.viewMaxX, 639);
    EXPECT_EQ(PenX(), 7);
    DefineViewport(0, 0, 640, 10, true);  // beyond the surface
    EXPECT_EQ(GraphState.viewMaxY, 479);

    DefineViewport(0, 0, 639, 479, false);
    EXPECT_FALSE(GraphState.clipOn);
    EXPECT_EQ(PenX(), 0);
    DefineViewport(3, 4, 30, 40, true);
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    EXPECT_EQ(x1, 3);
    EXPECT_EQ(y1, 4);
    EXPECT_EQ(x2, 30);
    EXPECT_EQ(y2, 40);
    EXPECT_TRUE(clip);
}

TEST(Context, BackgroundLoadsEntryZeroFromTheDefaultTable) {
    StartMode();
    DefineViewport(5, 5, 50, 50, true);
    PenMoveTo(3, 3);
    ChangeBackground(4);
    int16_t r, g, b;
    DriverSlots.ReadPaletteEntry(0, r, g, b);
    EXPECT_EQ(r, 168);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(PenX(), 0);
    EXPECT_EQ(GraphState.viewLeft, 5);  // the viewport comes back

    ChangeBackground(300);
    EXPECT_EQ(GraphState.backColor, 300);
    DriverSlots.ReadPaletteEntry(0, r, g, b);
    EXPECT_EQ(r, 168);  // unchanged
}

TEST(Context, FontTableHoldsSixteenNames) {
    RestartLibrary();
    EXPECT_EQ(GraphState.fontCount, 10);
    EXPECT_STREQ(GraphState.fontTable[0].name, "TRIP");
    EXPECT_STREQ(GraphState.fontTable[9].name, "BOLD");
    for (int16_t n = 11; n <= 16; ++n) EXPECT_EQ(RegisterFontName("LONGFONTNAME"), n);
    EXPECT_STREQ(GraphState.fontTable[15].name, "LONGFONT");
    EXPECT_EQ(RegisterFontName("MORE"), 0);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
}

TEST(ExitHandlerDeathTest, NormalEndLeavesGraphicsModeOpen) {
    EXPECT_EXIT(
        {
            RuntimeInit();
            StartMode();
            ExitHandlerChain = GraphExitHandler;
            GraphState.savedExitHandler = nullptr;
            GraphExitHandler();
            if (GraphState.inGraphics && GraphState.KnownModes == nullptr) StopProgram(7);
            StopProgram(8);
        },
        testing::ExitedWithCode(7), "");
}

TEST(ExitHandlerDeathTest, RunTimeErrorClosesGraphicsMode) {
    EXPECT_EXIT(
        {
            RuntimeInit();
            StartMode();
            RuntimeErrorNumber = 201;
            GraphState.savedExitHandler = nullptr;
            GraphExitHandler();
            RuntimeErrorNumber = 0;
            StopProgram(GraphState.inGraphics ? 8 : 7);
        },
        testing::ExitedWithCode(7), "");
}

}  // namespace
