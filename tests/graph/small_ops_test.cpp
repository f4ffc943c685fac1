// Pixels, relative pen moves, the write mode, the palette, erasing and the settings readers.
#include <gtest/gtest.h>

#include "tests/graph/graph_test_support.h"
#include "tests/graph/slot_canvas.h"

namespace {

TEST(SmallOps, PixelsAreViewportRelativeAndClipped) {
    SlotCanvas canvas(20, 20);
    DefineViewport(5, 5, 9, 9, true);
    PlotPixelAt(1, 2, 7);
    PlotPixelAt(5, 0, 7);  // one past the viewport's right edge
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{6, 7}}));
    EXPECT_EQ(ReadPixelAt(1, 2), 7);
}

TEST(SmallOps, RelativePenMovesWrapAndDrawFromThePen) {
    SlotCanvas canvas(20, 20);
    PenMoveTo(32767, 3);
    PenMoveBy(1, 0);
    EXPECT_EQ(PenX(), -32768);
    PenMoveTo(2, 3);
    PenLineBy(4, 0);
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}));
    EXPECT_EQ(PenX(), 6);
}

TEST(SmallOps, BadValuesSetTheResultCodeAndChangeNothing) {
    SlotCanvas canvas(8, 8);
    struct Case { void (*call)(); };
    for (Case c : {Case{[] { SelectWriteMode(5); }}, Case{[] { DefineUserFillPattern(nullptr, 1); }},
                   Case{[] { static const uint8_t rows[8] = {}; DefineUserFillPattern(rows, 16); }}, Case{[] { DrawDepthBar(0, 0, 3, 3, -1, true); }}}) {
        GraphState.resultCode = GraphOk;
        c.call();
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    }
    EXPECT_EQ(GraphState.writeMode, 0);
    FillSettings fill;
    ReadFillSettings(fill);
    EXPECT_EQ(fill.pattern, 1);
    EXPECT_TRUE(canvas.Drawn().empty());
}

TEST(SmallOps, UserPatternAndSettingsReadBack) {
    SlotCanvas canvas(8, 8);
    const uint8_t rows[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};
    DefineUserFillPattern(rows, 3);
    FillBarArea(0, 0, 7, 0);
    EXPECT_EQ(canvas.PixelsOf(3), (std::set<Pixel>{{0, 0}}));
    FillSettings fill;
    ReadFillSettings(fill);
    EXPECT_EQ(fill.pattern * 100 + fill.colour, 1203);
    SelectTextStyle(2, 1, 5);
    SelectTextJustify(1, 0);
    TextSettings text;
    ReadTextSettings(text);
    EXPECT_EQ((std::vector<int>{text.font, text.direction, text.size, text.horizontal, text.vertical}),
              (std::vector<int>{2, 1, 5, 1, 0}));
    uint16_t ax, ay;
    ReadAspectFactors(ax, ay);
    EXPECT_EQ(ax + ay, 20000);
}

TEST(SmallOps, EraseSurfaceClearsAllAndKeepsTheViewport) {
    SlotCanvas canvas(10, 10);
    canvas.Set(0, 0, 5);
    canvas.Set(9, 9, 5);
    DefineViewport(2, 2, 4, 4, true);
    EraseViewport();
    EXPECT_EQ(canvas.Drawn().size(), 2u);
    PenMoveTo(1, 1);
    EraseSurface();
    EXPECT_TRUE(canvas.Drawn().empty());
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    EXPECT_EQ((std::vector<int>{x1, y1, x2, y2, clip, PenX(), PenY()}), (std::vector<int>{2, 2, 4, 4, 1, 0, 0}));
}

TEST(SmallOps, PaletteEntriesRoundTripAndBadCountsChangeNothing) {
    StartMode();  // 16 colours
    ChangePaletteEntry(3, {1, 2, 3});
    EXPECT_EQ(ReadPaletteEntryAt(3).blue, 3);
    PaletteEntry all[17] = {};
    for (int32_t count : {17, -1}) {
        GraphState.resultCode = GraphOk;
        ChangeWholePalette(all, count);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    }
    ChangePaletteEntry(16, {});
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_EQ(ReadWholePalette(all, 17), 16);
    EXPECT_EQ(all[3].green, 2);
    all[3] = {9, 9, 9};
    ChangeWholePalette(all, 16);
    EXPECT_EQ(ReadPaletteEntryAt(3).red, 9);
}

}  // namespace
