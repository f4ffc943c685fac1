// The .jhf parser against its own output: whatever text it accepts, writing the glyphs back as
// plain one-line records and parsing them again must give the same glyphs.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/stroke_fonts/jhf_glyphs.h"

namespace {

std::string Record(const JhfGlyph& glyph) {
    std::string pairs;
    auto put = [&](int x, int y) {
        pairs.push_back(static_cast<char>('R' + x));
        pairs.push_back(static_cast<char>('R' + y));
    };
    put(glyph.left, glyph.right);
    for (size_t s = 0; s < glyph.strokes.size(); ++s) {
        if (s > 0) pairs += " R";
        for (JhfPoint p : glyph.strokes[s]) put(p.x, p.y);
    }
    char header[16];
    std::snprintf(header, sizeof header, "%5d%3zu", 0, pairs.size() / 2);
    return header + pairs + "\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<JhfGlyph> glyphs, again;
    std::string error;
    if (!ParseJhf(std::string_view(reinterpret_cast<const char*>(data), size), glyphs, error)) return 0;
    std::string written;
    for (const JhfGlyph& glyph : glyphs) written += Record(glyph);
    if (!ParseJhf(written, again, error) || glyphs != again) std::abort();
    return 0;
}
