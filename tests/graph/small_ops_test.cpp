// Pixels, relative pen moves, the write mode, the palette, erasing and the settings readers.
#include <gtest/gtest.h>

#include "tests/graph/graph_test_support.h"
#include "tests/graph/slot_canvas.h"

namespace {

TEST(SmallOps, PixelsAndRelativeLinesAreViewportRelativeAndClipped) {
    SlotCanvas canvas(20, 20);
    DefineViewport(5, 5, 9, 9, true);
    PlotPixelAt(1, 2, 7);
    PlotPixelAt(5, 0, 7);  // one past the viewport's right edge
    EXPECT_EQ(ReadPixelAt(1, 2), 7);
    PenMoveTo(32767, 3);
    PenMoveBy(1, 0);
    EXPECT_EQ(PenX(), -32768);
    PenMoveTo(2, 4);
    PenLineBy(4, 0);
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{6, 7}, {7, 9}, {8, 9}, {9, 9}}));
    EXPECT_EQ(PenX(), 6);
}

TEST(SmallOps, BadValuesSetTheResultCodeAndChangeNothing) {
    SlotCanvas canvas(8, 8);
    for (void (*call)() : {+[] { SelectWriteMode(5); }, +[] { DefineUserFillPattern(nullptr, 1); },
                           +[] { static const uint8_t rows[8] = {}; DefineUserFillPattern(rows, 16); },
                           +[] { DrawDepthBar(0, 0, 3, 3, -1, true); }}) {
        GraphState.resultCode = GraphOk;
        call();
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    }
    FillSettings fill;
    ReadFillSettings(fill);
    EXPECT_EQ(GraphState.writeMode * 100 + fill.pattern, 1);
    EXPECT_TRUE(canvas.Drawn().empty());
}

TEST(SmallOps, UserPatternEraseAndSettingsReadBack) {
    SlotCanvas canvas(10, 10);
    const uint8_t rows[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};
    DefineUserFillPattern(rows, 3);
    FillBarArea(0, 0, 7, 0);
    EXPECT_EQ(canvas.PixelsOf(3), (std::set<Pixel>{{0, 0}}));
    FillSettings fill;
    ReadFillSettings(fill);
    SelectTextStyle(2, 1, 5);
    SelectTextJustify(1, 0);
    TextSettings text;
    ReadTextSettings(text);
    uint16_t ax, ay;
    ReadAspectFactors(ax, ay);
    EXPECT_EQ((std::vector<int>{fill.pattern, fill.colour, text.font, text.direction, text.size, text.horizontal,
                                text.vertical, ax, ay}),
              (std::vector<int>{12, 3, 2, 1, 5, 1, 0, 10000, 10000}));
    DefineViewport(2, 2, 4, 4, true);
    EraseViewport();
    EXPECT_EQ(canvas.Drawn(), (std::set<Pixel>{{0, 0}}));
    EraseSurface();
    EXPECT_TRUE(canvas.Drawn().empty());
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    EXPECT_EQ((std::vector<int>{x1, y1, x2, y2, clip}), (std::vector<int>{2, 2, 4, 4, 1}));
}

TEST(SmallOps, PaletteEntriesRoundTripAndBadCountsChangeNothing) {
    StartMode();  // 16 colours
    ChangePaletteEntry(3, {1, 2, 3});
    PaletteEntry all[17] = {};
    for (auto [entries, count] : {std::pair{all, 17}, std::pair{all, -1}, std::pair{(PaletteEntry*)nullptr, 1}}) {
        GraphState.resultCode = GraphOk;
        ChangeWholePalette(entries, count);
        EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    }
    EXPECT_EQ(ReadWholePalette(all, 17), 16);
    EXPECT_EQ(all[3].green, 2);
    ChangePaletteEntry(16, {});
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    all[3] = {9, 9, 9};
    ChangeWholePalette(all, 16);
    EXPECT_EQ(ReadPaletteEntryAt(3).red, 9);
}

}  // namespace
