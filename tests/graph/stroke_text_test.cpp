// Stroke fonts: decoding, measuring, justification and drawing with a small font made here,
// and the fall-back to the built-in font for a font without stroke data.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "graph/fonts/bitmap_font.h"
#include "graph/graph_internal.h"
#include "graph/text.h"
#include "tests/graph/slot_canvas.h"

namespace {

using Segment = std::tuple<int, int, int, int>;

std::vector<Segment> segments;
std::vector<uint16_t> thicknessAtEachLine;

void RecordLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    segments.emplace_back(x1, y1, x2, y2);
    thicknessAtEachLine.push_back(GraphState.strokeThickness);
}

void Put(std::vector<uint8_t>& data, uint8_t op, int x, int y) {
    data.push_back(static_cast<uint8_t>(((op >> 1) << 7) | (x & 0x7F)));
    data.push_back(static_cast<uint8_t>(((op & 1) << 7) | (y & 0x7F)));
}

// Font 1: "L" (an upright stroke and a foot, advance 6) and "-" (advance 4) defined, codes
// from 'A' on; tops at 8, descenders to -2.
class StrokeFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        segments.clear();
        thicknessAtEachLine.clear();
        Put(data_, 2, 0, 8);  // L
        Put(data_, 3, 0, 0);
        Put(data_, 3, 4, 0);
        Put(data_, 0, 0, 0);
        uint16_t dash = static_cast<uint16_t>(data_.size());
        Put(data_, 2, 0, 4);  // -
        Put(data_, 1, 9, 9);
        Put(data_, 3, 3, 4);
        Put(data_, 0, 0, 0);
        FontRecord& font = GraphState.fontTable[0];
        font = FontRecord{};
        font.data = data_.data();
        font.dataSize = static_cast<int32_t>(data_.size());
        font.charCount = 26;
        font.firstChar = 'A';
        font.topExtent = 8;
        font.descentExtent = -2;
        font.strokeOffsets[uint8_t{'L'}] = 0;
        font.advanceWidths[uint8_t{'L'}] = 6;
        font.strokeOffsets[uint8_t{'-'}] = dash;
        font.advanceWidths[uint8_t{'-'}] = 4;
        GraphState.fontCount = 1;
        DriverSlots.DrawLine = RecordLine;
        SelectTextStyle(1, 0, 4);  // one pixel per glyph step
    }
    void TearDown() override {
        GraphState.fontTable[0] = FontRecord{};
        GraphState.fontCount = 0;
    }

    SlotCanvas canvas_{64, 64};
    std::vector<uint8_t> data_;
};

TEST(StrokeCommands, DecodeOpAndSevenBitCoordinates) {
    int16_t x, y;
    EXPECT_EQ(DecodeStrokeCommand(0x85, 0x7F, x, y), 2);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(DecodeStrokeCommand(0x40, 0xC0, x, y), 1);
    EXPECT_EQ(x, -64);
    EXPECT_EQ(y, -64);
    EXPECT_EQ(DecodeStrokeCommand(0xBF, 0xBF, x, y), 3);
    EXPECT_EQ(x, 63);
    EXPECT_EQ(y, 63);
    EXPECT_EQ(DecodeStrokeCommand(0x00, 0x00, x, y), 0);
}

TEST(StrokeCommands, GlyphEndsAtItsEndCommand) {
    std::vector<uint8_t> data;
    Put(data, 2, 1, 2);
    Put(data, 3, -3, 4);
    Put(data, 0, 0, 0);
    Put(data, 3, 7, 7);  // the next glyph
    StrokeCommand out[kGlyphStrokeCapacity];
    ASSERT_EQ(DecodeGlyph(data.data(), static_cast<int32_t>(data.size()), 0, out), 3);
    EXPECT_EQ(out[1].op, 3);
    EXPECT_EQ(out[1].x, -3);
    EXPECT_EQ(out[1].y, 4);
    EXPECT_EQ(out[2].op, 0);
    EXPECT_EQ(DecodeGlyph(data.data(), static_cast<int32_t>(data.size()), 2, out), 2);
}

TEST(StrokeCommands, GlyphsRunningOffTheDataOrTheRoomEndThere) {
    std::vector<uint8_t> data;
    Put(data, 3, 1, 1);
    Put(data, 3, 2, 2);
    StrokeCommand out[kGlyphStrokeCapacity];
    EXPECT_EQ(DecodeGlyph(data.data(), static_cast<int32_t>(data.size()), 0, out), 3);
    EXPECT_EQ(out[2].op, 0);
    EXPECT_EQ(DecodeGlyph(data.data(), static_cast<int32_t>(data.size()), 500, out), 1);

    std::vector<uint8_t> endless;
    for (int i = 0; i < 1200; ++i) Put(endless, 3, i % 50, 1);
    EXPECT_EQ(DecodeGlyph(endless.data(), static_cast<int32_t>(endless.size()), 0, out), kGlyphStrokeCapacity);
    EXPECT_EQ(out[kGlyphStrokeCapacity - 1].op, 0);
}

TEST_F(StrokeFontTest, MeasuresWithTheFontTables) {
    EXPECT_EQ(MeasureTextWidth("LL"), 12);
    EXPECT_EQ(MeasureTextWidth("L-"), 10);  // '-' lies below firstChar and still counts
    EXPECT_EQ(MeasureTextWidth("Lz"), 6);   // 'z' - 'A' is past charCount
    EXPECT_EQ(MeasureTextHeight("anything"), 10);
    SelectTextStyle(1, 0, 2);  // half a pixel per step
    EXPECT_EQ(MeasureTextWidth("L"), 3);
    EXPECT_EQ(MeasureTextWidth("L-"), 5);
    EXPECT_EQ(MeasureTextHeight(""), 5);
    SelectTextStyle(1, 0, 3);  // 0.75: 4.5 rounds to 4, 7.5 to 8
    EXPECT_EQ(MeasureTextWidth("L"), 4);
    EXPECT_EQ(MeasureTextWidth("L-"), 8);
}

TEST_F(StrokeFontTest, JustificationStandsOnTheBaseline) {
    int32_t dx, dy;
    SelectTextJustify(0, 0);
    TextJustifyOffsets(dx, dy, "LL");
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    SelectTextJustify(1, 1);
    TextJustifyOffsets(dx, dy, "LL");
    EXPECT_EQ(dx, 6);
    EXPECT_EQ(dy, 5);
    SelectTextStyle(1, 1, 4);
    SelectTextJustify(2, 2);
    TextJustifyOffsets(dx, dy, "LL");
    EXPECT_EQ(dx, 10);
    EXPECT_EQ(dy, 12);
}

TEST_F(StrokeFontTest, DrawsSegmentsFromTheBaselineWithThinSolidLines) {
    SetStrokeStyle(1, 0, 3);
    GraphState.writeMode = 2;
    SelectTextJustify(0, 0);
    GenericDrawText(10, 30, "L-");
    std::vector<Segment> expected = {
        {10, 22, 10, 30}, {10, 30, 14, 30},  // L
        {16, 26, 19, 26},                    // - (its op 1 moves nothing)
    };
    EXPECT_EQ(segments, expected);
    for (uint16_t thickness : thicknessAtEachLine) EXPECT_EQ(thickness, 1);
    StrokeSettings after;
    GetStrokeStyle(after);
    EXPECT_EQ(after.style, 1);
    EXPECT_EQ(after.thickness, 3);
    EXPECT_EQ(GraphState.writeMode, 2);
}

TEST_F(StrokeFontTest, TopJustificationHangsTheTextBelowTheReferencePoint) {
    GenericDrawText(10, 30, "L");  // defaults: left, top
    std::vector<Segment> expected = {{10, 32, 10, 40}, {10, 40, 14, 40}};
    EXPECT_EQ(segments, expected);
}

TEST_F(StrokeFontTest, UpwardsTextTurnsAndClimbs) {
    SelectTextStyle(1, 1, 4);
    SelectTextJustify(0, 0);
    GenericDrawText(10, 30, "LL");
    // x moves right by the height (10); glyph x runs up the surface, glyph y to the left.
    std::vector<Segment> expected = {
        {12, 30, 20, 30}, {20, 30, 20, 26},
        {12, 24, 20, 24}, {20, 24, 20, 20},
    };
    EXPECT_EQ(segments, expected);
}

TEST_F(StrokeFontTest, TheLastPointCarriesIntoTheNextCharacter) {
    std::vector<uint8_t> extra = data_;
    uint16_t offset = static_cast<uint16_t>(extra.size());
    Put(extra, 3, 2, 0);  // draws from wherever the previous character ended
    Put(extra, 0, 0, 0);
    GraphState.fontTable[0].data = extra.data();
    GraphState.fontTable[0].dataSize = static_cast<int32_t>(extra.size());
    GraphState.fontTable[0].strokeOffsets[uint8_t{'M'}] = offset;
    SelectTextJustify(0, 0);
    GenericDrawText(10, 30, "LM");
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[2], Segment(14, 30, 18, 30));
}

TEST_F(StrokeFontTest, AFontWithoutDataIsDrawnAndMeasuredAsTheBuiltInFont) {
    GraphState.fontTable[0].data = nullptr;
    GraphState.fontTable[0].dataSize = 0;
    SelectTextStyle(1, 0, 1);
    EXPECT_EQ(MeasureTextWidth("LL"), 16);
    EXPECT_EQ(MeasureTextHeight("LL"), 8);
    GenericDrawText(0, 0, "\xDB");
    EXPECT_TRUE(segments.empty());
    EXPECT_EQ(canvas_.PixelsOf(15).size(), 64u);
    SelectTextStyle(5, 0, 1);  // an unregistered number: the same
    EXPECT_EQ(MeasureTextWidth("LL"), 16);
}

}  // namespace
