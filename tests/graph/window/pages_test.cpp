// The two pages of a window on the memory display: where drawing and reading go, what the
// window shows, and the one whole present a switch makes.
#include <gtest/gtest.h>

#include "graph/graph.h"
#include "graph/window/window_thread.h"
#include "tests/graph/graph_test_support.h"

namespace {

MemoryDisplay& display = TestDisplay();

TEST(WindowPages, DrawingAndReadingGoToTheDrawPageAndTheWindowShowsTheShownPage) {
    StartMode();
    const WindowHandle window = display.NewestWindow();
    PlotPixelAt(1, 1, 2);
    ASSERT_TRUE(display.WaitForWindowPixel(window, 1, 1, DefaultPixel(2)));
    SelectPageToDraw(1);
    EXPECT_EQ(ReadPixelAt(1, 1), 0);  // page 1 starts black
    PlotPixelAt(1, 1, 4);
    EXPECT_EQ(ReadPixelAt(1, 1), 4);
    SelectPageToDraw(0);
    EXPECT_EQ(ReadPixelAt(1, 1), 2);
    SelectPageToShow(1);
    ASSERT_TRUE(display.WaitForWindowPixel(window, 1, 1, DefaultPixel(4)));
    PlotPixelAt(2, 2, 5);  // on page 0, not shown
    SelectPageToShow(0);
    ASSERT_TRUE(display.WaitForWindowPixel(window, 2, 2, DefaultPixel(5)));
    EXPECT_EQ(display.WindowPixel(window, 1, 1), DefaultPixel(2));
    EXPECT_EQ(GraphResult(), GraphOk);
}

// Nothing is drawn on the shown page meanwhile, so the switch's present is the last one.
TEST(WindowPages, ASwitchPresentsTheWholePageInOnePieceWhereLargePresentsComeInBands) {
    display.SetReadsBufferItself(false);
    StartMode();
    const WindowHandle window = display.NewestWindow();
    SelectPageToDraw(1);
    SelectFill(1, 3);
    FillBarArea(0, 0, 639, 479);
    SelectPageToShow(1);
    ASSERT_TRUE(display.WaitForWindowPixel(window, 639, 479, DefaultPixel(3)));
    EXPECT_EQ(display.WindowPixel(window, 0, 0), DefaultPixel(3));
    const PixelRect area = display.LastPresentArea(window);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, 640);
    EXPECT_EQ(area.bottom, 480);
}

TEST(WindowPages, PageOneIsMadeOnlyWhenSelectedAndOtherPagesAreRefused) {
    StartMode();
    SelectPageToDraw(0);
    SelectPageToShow(0);
    EXPECT_EQ(Backend.newestWindow->secondPage, nullptr);
    PlotPixelAt(3, 3, 6);
    for (uint16_t page : {2, 0xFFFF}) {
        SelectPageToDraw(page);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
        SelectPageToShow(page);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    }
    EXPECT_EQ(ReadPixelAt(3, 3), 6);
    EXPECT_EQ(Backend.newestWindow->secondPage, nullptr);
    SelectPageToShow(1);
    EXPECT_NE(Backend.newestWindow->secondPage, nullptr);
}

TEST(WindowPages, ANewModeStartsOnPageZeroAgain) {
    StartMode();
    SelectPageToDraw(1);
    SelectPageToShow(1);
    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "");
    PlotPixelAt(0, 0, 7);
    EXPECT_TRUE(display.WaitForWindowPixel(display.NewestWindow(), 0, 0, DefaultPixel(7)));
}

}  // namespace
