// Fonts 1 to 10 draw the Hershey glyphs they were made from: the segments of a character land
// where the font file's points say, moved to the glyph's left edge and stretched as the set was.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "graph/fonts/stroke_font_sets.h"
#include "graph/graph.h"
#include "tests/graph/graph_test_support.h"
#include "tests/graph/slot_canvas.h"
#include "tools/stroke_fonts/jhf_glyphs.h"

namespace {

using Segment = std::tuple<int, int, int, int>;
std::vector<Segment> drawn;

TEST(StrokeFontSets, EachFontDrawsItsHersheyGlyph) {
    RestartLibrary();  // registers the ten names
    ASSERT_EQ(kStrokeFontSetCount, 10);
    for (uint16_t font = 1; font <= 10; ++font) {
        const StrokeFontSet& set = kStrokeFontSets[font - 1];
        ASSERT_STREQ(GraphState.fontTable[font - 1].name, set.name);
        std::stringstream text;
        text << std::ifstream(std::string(CHAOSPLOT_HERSHEY_DIR "/") + set.source).rdbuf();
        std::vector<JhfGlyph> glyphs;
        std::string error;
        ASSERT_TRUE(ParseJhf(text.str(), glyphs, error)) << error;
        for (char c : {'H', 'g', '&'}) {
            const JhfGlyph& glyph = glyphs[static_cast<size_t>(c - ' ')];
            auto across = [&](int x) { return static_cast<int>(std::lround((x - glyph.left) * set.widthPercent / 100.0)); };
            std::vector<Segment> expected;
            for (const auto& stroke : glyph.strokes)
                for (size_t i = 1; i < stroke.size(); ++i)
                    expected.emplace_back(100 + across(stroke[i - 1].x), 41 + stroke[i - 1].y, 100 + across(stroke[i].x), 41 + stroke[i].y);
            SlotCanvas canvas(8, 8);
            DriverSlots.DrawLine = [](int16_t x1, int16_t y1, int16_t x2, int16_t y2) { drawn.emplace_back(x1, y1, x2, y2); };
            drawn.clear();
            SelectTextStyle(font, 0, 4);  // one pixel per glyph unit
            SelectTextJustify(0, 0);      // (100, 50) on the baseline, 9 units below the glyph's centre line
            DrawTextAt(100, 50, std::string(1, c).c_str());
            EXPECT_EQ(drawn, expected) << set.name << " '" << c << "'";
            EXPECT_EQ(MeasureTextWidth(std::string(1, c).c_str()), across(glyph.right));
        }
    }
}

TEST(StrokeFontSets, AFreeScaleStretchesEachWayAndAZeroDivisorIsRefused) {
    RestartLibrary();
    SlotCanvas canvas(8, 8);
    SelectTextStyle(6, 0, 4);
    const uint16_t width = MeasureTextWidth("HH"), height = MeasureTextHeight("H");
    ScaleStrokeText(3, 1, 1, 2);
    EXPECT_EQ(MeasureTextWidth("HH"), 3 * width);
    EXPECT_EQ(MeasureTextHeight("H"), height / 2);
    ScaleStrokeText(1, 0, 1, 1);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    EXPECT_EQ(MeasureTextWidth("HH"), 3 * width);
}

}  // namespace
