// The generic text routine with the built-in font, pixel by pixel on a slot canvas.

#include <gtest/gtest.h>

#include <string>

#include "graph/fonts/bitmap_font.h"
#include "graph/graph_internal.h"
#include "graph/text.h"
#include "tests/graph/slot_canvas.h"

namespace {

// The pixels glyph `code` sets when drawn upright at size 1 with its cell origin at (x, y).
std::set<Pixel> GlyphPixels(uint8_t code, int x, int y) {
    std::set<Pixel> pixels;
    const uint8_t* glyph = BitmapGlyph(code);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (glyph[r * 8 + c] != 0) pixels.insert({x + c, y + r});
    return pixels;
}

int LowestRow(const std::set<Pixel>& pixels) {
    int lowest = -1;
    for (auto [x, y] : pixels) lowest = std::max(lowest, y);
    return lowest;
}

TEST(GenericText, LetterAAtTenTwentyWithTheDefaults) {
    SlotCanvas canvas(64, 48);
    GenericDrawText(10, 20, "A");
    std::set<Pixel> drawn = canvas.Drawn();
    EXPECT_EQ(drawn, GlyphPixels('A', 10, 20));
    for (int x = 10; x < 18; ++x) EXPECT_EQ(canvas.At(x, 20) != 0, x >= 12 && x <= 14) << x;
    EXPECT_EQ(LowestRow(drawn), 26);
    EXPECT_EQ(canvas.At(12, 20), 15);
}

TEST(GenericText, EmptyTextDrawsNothingAndKeepsTheWriteMode) {
    SlotCanvas canvas(32, 32);
    GraphState.writeMode = 3;
    GenericDrawText(5, 5, "");
    EXPECT_TRUE(canvas.Drawn().empty());
    EXPECT_EQ(GraphState.writeMode, 3);
}

TEST(GenericText, WritesInCopyModeAndRestoresTheWriteMode) {
    SlotCanvas canvas(32, 32, 0);
    GraphState.writeMode = 1;
    GenericDrawText(0, 0, "\xDB");
    EXPECT_EQ(canvas.PixelsOf(15).size(), 64u);
    EXPECT_EQ(GraphState.writeMode, 1);
}

TEST(GenericText, CharactersSitOnAnEightPixelPitch) {
    SlotCanvas canvas(64, 32);
    GenericDrawText(3, 4, "Ab1");
    std::set<Pixel> expected = GlyphPixels('A', 3, 4);
    expected.merge(GlyphPixels('b', 11, 4));
    expected.merge(GlyphPixels('1', 19, 4));
    EXPECT_EQ(canvas.Drawn(), expected);
}

TEST(GenericText, BottomAndCentreJustificationMoveTheText) {
    {
        SlotCanvas canvas(64, 64);
        SelectTextJustify(0, 0);
        GenericDrawText(10, 30, "A");
        EXPECT_EQ(canvas.Drawn(), GlyphPixels('A', 10, 22));  // row 7 falls on y - 1
    }
    {
        SlotCanvas canvas(64, 64);
        SelectTextJustify(1, 1);
        GenericDrawText(30, 30, "AAA");
        std::set<Pixel> expected;
        for (int i = 0; i < 3; ++i) expected.merge(GlyphPixels('A', 18 + 8 * i, 26));
        EXPECT_EQ(canvas.Drawn(), expected);
    }
    {
        SlotCanvas canvas(64, 64);
        SelectTextJustify(2, 2);
        GenericDrawText(30, 10, "AB");
        std::set<Pixel> expected = GlyphPixels('A', 14, 10);
        expected.merge(GlyphPixels('B', 22, 10));
        EXPECT_EQ(canvas.Drawn(), expected);
    }
}

// Upwards text turns each glyph a quarter turn counter-clockwise: glyph pixel (row, col) lands
// at (x + row, cellY - col).
std::set<Pixel> UpwardGlyphPixels(uint8_t code, int x, int cellY) {
    std::set<Pixel> pixels;
    const uint8_t* glyph = BitmapGlyph(code);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (glyph[r * 8 + c] != 0) pixels.insert({x + r, cellY - c});
    return pixels;
}

TEST(GenericText, UpwardsTextGoesUpFromTheStartPoint) {
    SlotCanvas canvas(64, 64);
    SelectTextStyle(0, 1, 1);
    SelectTextJustify(0, 0);
    GenericDrawText(20, 40, "\xDB\xDB");
    std::set<Pixel> expected;
    for (int x = 20; x <= 27; ++x)
        for (int y = 25; y <= 40; ++y) expected.insert({x, y});
    EXPECT_EQ(canvas.Drawn(), expected);  // first in rows 33..40, second in rows 25..32

    SlotCanvas again(64, 64);
    SelectTextStyle(0, 1, 1);
    SelectTextJustify(0, 0);
    GenericDrawText(20, 40, "AB");
    std::set<Pixel> letters = UpwardGlyphPixels('A', 20, 40);
    letters.merge(UpwardGlyphPixels('B', 20, 32));
    EXPECT_EQ(again.Drawn(), letters);
}

TEST(GenericText, UpwardsRightJustifiedSitsLeftOfX) {
    SlotCanvas canvas(64, 64);
    SelectTextStyle(0, 1, 1);
    SelectTextJustify(2, 0);
    GenericDrawText(20, 40, "\xDB");
    std::set<Pixel> drawn = canvas.Drawn();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.begin()->first, 12);
    EXPECT_EQ(drawn.rbegin()->first, 19);
}

TEST(GenericText, SizeTwoDrawsTwoByTwoSquaresSixteenApart) {
    SlotCanvas canvas(64, 32);
    SelectTextStyle(0, 0, 2);
    GenericDrawText(0, 0, "AA");
    std::set<Pixel> expected;
    for (int i = 0; i < 2; ++i)
        for (auto [x, y] : GlyphPixels('A', 0, 0))
            for (int sx = 0; sx < 2; ++sx)
                for (int sy = 0; sy < 2; ++sy) expected.insert({16 * i + 2 * x + sx, 2 * y + sy});
    EXPECT_EQ(canvas.Drawn(), expected);
}

TEST(GenericText, SizeZeroDrawsNothing) {
    SlotCanvas canvas(32, 32);
    SelectTextStyle(0, 0, 0);
    GenericDrawText(4, 4, "AB");
    EXPECT_TRUE(canvas.Drawn().empty());
    EXPECT_EQ(canvas.writeCalls, 0);
}

TEST(GenericText, ClearGlyphPixelsKeepTheSurfaceUnlessOpaque) {
    SlotCanvas canvas(32, 32, 6);
    GraphState.drawColor = 2;
    GenericDrawText(0, 0, "A");
    EXPECT_EQ(canvas.At(0, 0), 6);
    EXPECT_EQ(canvas.At(2, 0), 2);
    EXPECT_EQ(canvas.PixelsOf(2), GlyphPixels('A', 0, 0));

    GraphState.opaqueText = true;
    GraphState.backColor = 9;
    GenericDrawText(8, 0, "A");
    EXPECT_EQ(canvas.At(8, 0), 9);
    EXPECT_EQ(canvas.At(10, 0), 2);
    EXPECT_EQ(canvas.PixelsOf(9).size(), 64 - GlyphPixels('A', 0, 0).size());
}

TEST(GenericText, ClippingFollowsClipOn) {
    SlotCanvas canvas(64, 32);
    DefineViewport(10, 0, 19, 31, true);
    GenericDrawText(4, 0, "\xDB\xDB");  // from surface column 14 to 29
    for (auto [x, y] : canvas.Drawn()) EXPECT_LE(x, 19);
    EXPECT_EQ(canvas.Drawn().size(), 6u * 8u);
    GraphState.clipOn = false;
    GenericDrawText(4, 8, "\xDB\xDB");
    EXPECT_EQ(canvas.At(29, 8), 15);
}

TEST(GenericText, MeasuresFontZero) {
    SlotCanvas canvas(8, 8);
    SelectTextStyle(0, 0, 3);
    EXPECT_EQ(MeasureTextWidth("Hello"), 120);
    EXPECT_EQ(MeasureTextHeight("Hello"), 24);
}

TEST(GenericText, ExtentsBeyond16BitsSaturateAndStillJustify) {
    SlotCanvas canvas(8, 8);
    SelectTextStyle(0, 0, 40);
    SelectTextJustify(1, 1);
    const std::string text(205, 'w');  // 65600 pixels wide, which wrapped to 64
    EXPECT_EQ(MeasureTextWidth(text), 65535);
    int32_t dx = 0, dy = 0;
    TextJustifyOffsets(dx, dy, text);
    EXPECT_EQ(dx, 32800);
    SelectTextStyle(0, 0, 65535);
    EXPECT_EQ(MeasureTextHeight("w"), 65535);
}

TEST(GenericText, TranslationTableAppliesToDrawingOnly) {
    SlotCanvas canvas(32, 16);
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
    table[uint8_t{'a'}] = 'B';
    GraphState.charTranslation = table;
    EXPECT_EQ(TranslateText("bab").view(), "bBb");
    GenericDrawText(0, 0, "a");
    EXPECT_EQ(canvas.Drawn(), GlyphPixels('B', 0, 0));
    GraphState.charTranslation = nullptr;
    EXPECT_EQ(TranslateText("bab").view(), "bab");
}

TEST(TextSettings, RefuseValuesOutsideTheirRanges) {
    SlotCanvas canvas(8, 8);
    GraphState.resultCode = 0;
    SelectTextStyle(17, 0, 2);
    EXPECT_EQ(GraphState.resultCode, GraphErrorGeneral);
    EXPECT_EQ(GraphState.textSize, 1);
    GraphState.resultCode = 0;
    SelectTextJustify(3, 0);
    EXPECT_EQ(GraphState.resultCode, GraphErrorGeneral);
    EXPECT_EQ(GraphState.textHorizJustify, 0);
    SelectTextStyle(0, 1, 4);
    EXPECT_EQ(GraphState.textDirection, 1);
    EXPECT_EQ(GraphState.strokeScaleX, 1.0f);
}

}  // namespace
