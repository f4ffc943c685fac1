// The back-end's text routine on the memory display: its own rules (colour 15 pure white,
// transparent cells, always clipped, the start-point rule, stretching, the glyph caches) and
// its agreement with the generic routine where both draw the same.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "graph/fonts/bitmap_font.h"
#include "graph/text.h"
#include "runtime/text_stream.h"
#include "tests/graph/graph_test_support.h"

namespace {

uint32_t Rgb(int r, int g, int b) { return RgbToPixel(ColorToRgb(r, g, b)); }

// A striped background, so that a cell that is not transparent shows.
void PaintStripes() {
    int16_t x1, y1, x2, y2;
    bool clip;
    ReadViewport(x1, y1, x2, y2, clip);
    DefineViewport(0, 0, SurfaceMaxX(), SurfaceMaxY(), false);
    uint16_t saved = GraphState.drawColor;
    for (int16_t y = 0; y < 120; ++y) {
        SetDrawColor(static_cast<uint16_t>(1 + y % 3));
        DriverSlots.DrawHorizontalLine(0, 200, y);
    }
    SetDrawColor(saved);
    DefineViewport(x1, y1, x2, y2, clip);
}

// What each text routine draws for the same call, on the same striped background.
struct BothDrawings {
    std::vector<uint32_t> generic;
    std::vector<uint32_t> backend;
};

template <typename Setup>
BothDrawings DrawBoth(Setup setup, int16_t x, int16_t y, const char* text) {
    BothDrawings result;
    for (int pass = 0; pass < 2; ++pass) {
        StartMode();
        PaintStripes();
        setup();
        if (pass == 0) GenericDrawText(x, y, text);
        else BackendDrawText(x, y, text);
        (pass == 0 ? result.generic : result.backend) = NewestBufferCopy();
    }
    return result;
}

TEST(BackendText, AgreesWithTheGenericRoutineInsideTheViewport) {
    struct Case {
        uint16_t direction, horizontal, vertical;
        int16_t x, y;
    };
    for (Case c : {Case{0, 0, 2, 10, 20}, Case{0, 1, 1, 100, 60}, Case{0, 2, 0, 190, 100},
                   Case{1, 0, 0, 20, 100}, Case{1, 2, 2, 120, 10}, Case{1, 1, 1, 60, 60}}) {
        BothDrawings drawn = DrawBoth(
            [&] {
                DefineViewport(5, 3, 195, 115, true);
                SetDrawColor(5);
                SelectTextStyle(0, c.direction, 1);
                SelectTextJustify(c.horizontal, c.vertical);
            },
            c.x, c.y, "Ag\x01\xB3y");
        EXPECT_TRUE(drawn.generic == drawn.backend)
            << "direction " << c.direction << " justify " << c.horizontal << "," << c.vertical;
        EXPECT_NE(drawn.backend, (DrawBoth([] {}, 0, 0, "").backend));
    }
}

TEST(BackendText, ColourFifteenIsPureWhiteWhateverThePalette) {
    StartMode();
    ASSERT_EQ(GraphState.paletteTable[15].red, 252);
    BackendDrawText(0, 0, "\xDB");
    EXPECT_EQ(BufferPixel(3, 3), Rgb(255, 255, 255));
    DriverSlots.WritePaletteEntry(15, 10, 20, 30);
    BackendDrawText(8, 0, "\xDB");
    EXPECT_EQ(BufferPixel(11, 3), Rgb(255, 255, 255));
    // Other colours take their current palette entry.
    DriverSlots.WritePaletteEntry(4, 1, 2, 3);
    SetDrawColor(4);
    BackendDrawText(16, 0, "\xDB");
    EXPECT_EQ(BufferPixel(19, 3), Rgb(1, 2, 3));
}

TEST(BackendText, CellsAreTransparentInEveryColour) {
    for (uint16_t colour : {15, 2}) {
        StartMode();
        PaintStripes();
        std::vector<uint32_t> before = NewestBufferCopy();
        SetDrawColor(colour);
        BackendDrawText(10, 10, "A");
        const uint8_t* glyph = BitmapGlyph('A');
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 8; ++c) {
                uint32_t expected = glyph[r * 8 + c] != 0 ? (colour == 15 ? Rgb(255, 255, 255) : DefaultPixel(2))
                                                         : before[(10 + r) * 640 + 10 + c];
                EXPECT_EQ(BufferPixel(10 + c, 10 + r), expected) << colour << ": " << r << "," << c;
            }
        }
    }
}

TEST(BackendText, IsCutAtTheViewportAndNeedsItsStartPointInside) {
    StartMode();
    DefineViewport(20, 20, 59, 59, false);  // clipping off: the text is cut all the same
    BackendDrawText(30, 0, "\xDB\xDB");     // surface columns 50..65
    EXPECT_EQ(BufferPixel(59, 20), Rgb(255, 255, 255));
    EXPECT_EQ(BufferPixel(60, 20), 0u);
    BackendDrawText(-1, 10, "\xDB\xDB");    // one pixel left of the viewport: nothing
    EXPECT_EQ(BufferPixel(25, 30), 0u);
    BackendDrawText(0, 35, "\xDB");         // runs past the bottom: cut there
    EXPECT_EQ(BufferPixel(20, 59), Rgb(255, 255, 255));
    EXPECT_EQ(BufferPixel(20, 60), 0u);
    SelectTextJustify(0, 0);                // bottom: the start point moves 8 rows up, outside
    BackendDrawText(10, 5, "\xDB");
    EXPECT_EQ(BufferPixel(30, 20), 0u);
}

TEST(BackendText, SizeTwoStretchesEachCellToSixteenPixels) {
    StartMode();
    SelectTextStyle(0, 0, 2);
    BackendDrawText(0, 0, "AA");
    const uint8_t* glyph = BitmapGlyph('A');
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 34; ++x) {
            int cx = x % 16;
            bool ink = x < 32 && glyph[(y / 2) * 8 + cx / 2] != 0;
            EXPECT_EQ(BufferPixel(x, y), ink ? Rgb(255, 255, 255) : 0u) << x << "," << y;
        }
    }
    SelectTextStyle(0, 0, 0);
    BackendDrawText(100, 100, "AA");
    EXPECT_EQ(BufferPixel(102, 100), 0u);
}

TEST(BackendText, UpwardsCharactersClimbFromTheStartRow) {
    StartMode();
    SelectTextStyle(0, 1, 1);
    SelectTextJustify(0, 0);
    BackendDrawText(50, 100, "\xDB\xDB");
    for (int y = 80; y <= 102; ++y) {
        bool ink = y >= 85 && y <= 100;  // first 93..100, second 85..92
        EXPECT_EQ(BufferPixel(50, y), ink ? Rgb(255, 255, 255) : 0u) << y;
    }
    EXPECT_EQ(BufferPixel(57, 90), Rgb(255, 255, 255));
    EXPECT_EQ(BufferPixel(58, 90), 0u);
}

TEST(BackendText, OneCachedBitmapServesEveryColourAndEachDirectionHasItsOwn) {
    StartMode();
    ClearGlyphCaches();
    SetDrawColor(2);
    BackendDrawText(0, 0, "A");
    SetDrawColor(4);
    BackendDrawText(10, 0, "AA");
    EXPECT_EQ(GlyphBitmapsMade(), 1);
    EXPECT_EQ(BufferPixel(12, 0), DefaultPixel(4));
    SelectTextStyle(0, 1, 1);
    BackendDrawText(50, 50, "A");
    EXPECT_EQ(GlyphBitmapsMade(), 2);
}

TEST(BackendText, EmptyTextAndWriteModeAreLeftAsTheyWere) {
    StartMode();
    GraphState.writeMode = 1;
    BackendDrawText(10, 10, "");
    EXPECT_EQ(GraphState.writeMode, 1);
    BackendDrawText(10, 10, "\xDB");
    EXPECT_EQ(BufferPixel(10, 10), Rgb(255, 255, 255));  // copied, not combined
    BackendDrawText(10, 10, "\xDB");
    EXPECT_EQ(BufferPixel(10, 10), Rgb(255, 255, 255));
    EXPECT_EQ(GraphState.writeMode, 1);
}

TEST(BackendText, AGlyphThatCannotBeMadeIsReportedAndTriedAgainNextTime) {
    StartMode();
    ClearGlyphCaches();
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    BindStandardText(OutputText, StateOutput, static_cast<uint32_t>(ends[1]));
    FailGlyphBitmapCreations(2);
    BackendDrawText(0, 0, "\xDB");  // horizontal: fails
    SelectTextStyle(0, 1, 1);
    BackendDrawText(20, 20, "\xDB");  // upwards: fails
    EXPECT_EQ(BufferPixel(3, 3), 0u);
    SelectTextStyle(0, 0, 1);
    BackendDrawText(0, 0, "\xDB");  // made now
    EXPECT_EQ(BufferPixel(3, 3), Rgb(255, 255, 255));
    CloseText(OutputText);
    std::string written(256, '\0');
    ssize_t n = read(ends[0], written.data(), written.size());
    close(ends[0]);
    close(ends[1]);
    ASSERT_GT(n, 0);
    written.resize(static_cast<size_t>(n));
    EXPECT_EQ(written.find("Bitmap konnte nicht erzeugt werden!"), 0u) << written;
    EXPECT_NE(written.find("\nCould not create bitmap!"), std::string::npos) << written;
}

}  // namespace
