#pragma once
// Glyphs of the Hershey vector fonts in their .jhf text form. A glyph record is a 5-column
// glyph number, a 3-column count of the coordinate pairs that follow, then that many pairs of
// characters, each character standing for its distance from 'R': first the left and right
// edges, then the points, a pair " R" lifting the pen. A record may be wrapped over several
// lines; the line breaks inside it are not part of it.

#include <string>
#include <string_view>
#include <vector>

struct JhfPoint {
    int x;  // to the right of the glyph's centre line
    int y;  // downwards, from the font's centre line
    bool operator==(const JhfPoint&) const = default;
};

struct JhfGlyph {
    int left = 0;
    int right = 0;
    std::vector<std::vector<JhfPoint>> strokes;  // each a pen-down path
    bool operator==(const JhfGlyph&) const = default;
};

// The glyphs of a .jhf text in file order. False, with `error` saying where and why, when the
// text is not a sequence of well-formed records.
bool ParseJhf(std::string_view text, std::vector<JhfGlyph>& glyphs, std::string& error);
