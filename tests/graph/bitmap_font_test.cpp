// The built-in font: the documented glyphs, the spacing rule and the shape of the table.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "graph/fonts/bitmap_font.h"

namespace {

// A glyph as 8 row bytes, bit 7 the leftmost column.
std::array<uint8_t, 8> Rows(uint8_t code) {
    std::array<uint8_t, 8> rows{};
    const uint8_t* glyph = BitmapGlyph(code);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (glyph[r * 8 + c] != 0) rows[r] |= static_cast<uint8_t>(0x80 >> c);
    return rows;
}

using RowBytes = std::array<uint8_t, 8>;

TEST(BitmapFont, DocumentedGlyphsAreExact) {
    EXPECT_EQ(Rows(0x41), (RowBytes{0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0x00}));
    EXPECT_EQ(Rows(0x61), (RowBytes{0x00, 0x00, 0x7C, 0x06, 0x7E, 0xC6, 0x7E, 0x00}));
    EXPECT_EQ(Rows(0x30), (RowBytes{0x7C, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0x7C, 0x00}));
    EXPECT_EQ(Rows(0x31), (RowBytes{0x30, 0x70, 0x30, 0x30, 0x30, 0x30, 0xFC, 0x00}));
    EXPECT_EQ(Rows(0x01), (RowBytes{0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}));
    EXPECT_EQ(Rows(0xDB), (RowBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(BitmapFont, EveryByteIsZeroOrOne) {
    for (uint8_t byte : bitmapFont) ASSERT_LE(byte, 1);
}

TEST(BitmapFont, OnlyTheBlankCodesAreBlankAndNoTwoGlyphsAreAlike) {
    std::set<RowBytes> seen;
    for (int code = 0; code < kGlyphCount; ++code) {
        RowBytes rows = Rows(static_cast<uint8_t>(code));
        bool blank = rows == RowBytes{};
        bool meantBlank = code == 0x00 || code == 0x20 || code == 0xFF;
        EXPECT_EQ(blank, meantBlank) << "code " << code;
        if (!blank) {
            EXPECT_TRUE(seen.insert(rows).second) << "code " << code << " repeats a glyph";
        }
    }
}

// Digits and letters carry their own spacing: row 7 and column 7 stay clear, except the
// descenders (row 7) and the arms of Y (column 7).
TEST(BitmapFont, DigitsAndLettersKeepTheSpacingRow7AndColumn7) {
    std::string characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const std::string descenders = "Qgjpqy";
    for (char ch : characters) {
        RowBytes rows = Rows(static_cast<uint8_t>(ch));
        if (descenders.find(ch) == std::string::npos) {
            EXPECT_EQ(rows[7], 0) << ch;
        } else {
            EXPECT_NE(rows[7], 0) << ch << " should descend";
        }
        if (ch != 'Y') {
            for (int r = 0; r < 8; ++r) EXPECT_EQ(rows[r] & 1, 0) << ch << " row " << r;
        }
    }
}

}  // namespace
