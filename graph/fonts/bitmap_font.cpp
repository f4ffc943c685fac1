// The built-in font, turned by the compiler from its drawing in bitmap_font_glyphs.inc into the
// table. A mistake in the drawing (a missing or repeated glyph, a short row, a stray
// character) stops the build.

#include "graph/fonts/bitmap_font.h"

#include <string_view>

namespace {

constexpr std::string_view kGlyphDrawing =
#include "graph/fonts/bitmap_font_glyphs.inc"
    ;

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw "bad hexadecimal digit in a glyph header";
}

// The drawing: some words, then for every code 0x00..0xFF in order a header line
// "0xNN description" and 8 rows of 8 characters, '#' for ink and '.' for clear. Blank lines are
// skipped.
consteval std::array<uint8_t, kGlyphCount * kGlyphBytes> ParseGlyphDrawing(std::string_view text) {
    std::array<uint8_t, kGlyphCount * kGlyphBytes> table{};
    int code = -1;
    int row = 8;
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find('\n', position);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(position, end - position);
        position = end + 1;
        if (line.empty()) continue;
        if (line.starts_with("0x")) {
            if (row != 8) throw "a glyph has fewer than 8 rows";
            if (line.size() < 4) throw "short glyph header";
            int next = HexDigit(line[2]) * 16 + HexDigit(line[3]);
            if (next != code + 1) throw "glyphs out of order";
            code = next;
            row = 0;
            continue;
        }
        if (code < 0) continue;  // the words before the first glyph
        if (row == 8) throw "a glyph row outside a glyph";
        if (line.size() != 8) throw "a glyph row is not 8 columns wide";
        for (int col = 0; col < 8; ++col) {
            char c = line[col];
            if (c != '#' && c != '.') throw "a glyph row holds something other than # and .";
            table[code * kGlyphBytes + row * 8 + col] = c == '#' ? 1 : 0;
        }
        ++row;
    }
    if (code != kGlyphCount - 1 || row != 8) throw "the drawing does not end with glyph 0xFF";
    return table;
}

}  // namespace

constinit const std::array<uint8_t, kGlyphCount * kGlyphBytes> bitmapFont =
    ParseGlyphDrawing(kGlyphDrawing);
