// graph/graph.h is the header a program includes. It comes first here, so this file compiles
// only while the header stands on its own.
#include "graph/graph.h"

#include <gtest/gtest.h>


#include "tests/graph/graph_test_support.h"

namespace {

TEST(PublicHeader, AProgramDrawsAndSeesItsWindowThroughThePublicOperations) {
    RestartLibrary();
    int16_t driver = 0, mode = 0;
    InitGraph(driver, mode, "");
    ASSERT_EQ(GraphResult(), GraphOk);
    EXPECT_TRUE(GraphWindowShows());
    SetDrawColor(14);
    PenMoveTo(10, 10);
    PenLineTo(20, 10);
    EXPECT_EQ(PenX(), 20);
    EXPECT_EQ(BufferPixel(15, 10), DefaultPixel(14));
    LeaveGraphics();
    EXPECT_FALSE(GraphWindowShows());
}

TEST(PublicHeader, TheWindowNoLongerShowsOnceTheUserClosesIt) {
    StartMode();
    ASSERT_TRUE(GraphWindowShows());
    // The GUI thread tears the buffer down before it destroys the window.
    CloseNewestWindow();
    EXPECT_FALSE(GraphWindowShows());
    EXPECT_TRUE(GraphState.inGraphics);
}

TEST(PublicHeader, DefaultPaletteEntriesAreWhatEveryModeStartsFrom) {
    StartMode(10, 257);  // 256 colours
    ASSERT_EQ(GraphResult(), GraphOk);
    DriverSlots.WritePaletteEntry(14, 1, 2, 3);  // the current palette, not the default one
    for (uint16_t c = 0; c < 256; ++c) {
        PaletteEntry entry = DefaultPaletteEntry(c);
        EXPECT_EQ(entry.red, defaultPalette[c].red) << c;
        EXPECT_EQ(entry.green, defaultPalette[c].green) << c;
        EXPECT_EQ(entry.blue, defaultPalette[c].blue) << c;
    }
    EXPECT_EQ(DefaultPaletteEntry(14).blue, 84);  // yellow
    // There is no entry past 255: black, not a neighbour's colour.
    PaletteEntry past = DefaultPaletteEntry(256 + 14);
    EXPECT_EQ(past.red + past.green + past.blue, 0);
}

}  // namespace
