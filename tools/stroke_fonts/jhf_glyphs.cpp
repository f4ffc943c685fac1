#include "tools/stroke_fonts/jhf_glyphs.h"

#include <charconv>

namespace {

// Reads the characters of one record, skipping the line breaks of a wrapped record.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : text_(text) {}

    bool AtEnd() {
        while (position_ < text_.size() && (text_[position_] == '\n' || text_[position_] == '\r')) ++position_;
        return position_ >= text_.size();
    }
    // The next `count` characters of the record, line breaks left out; false at the text's end.
    bool Take(size_t count, std::string& taken) {
        taken.clear();
        while (taken.size() < count) {
            if (position_ >= text_.size()) return false;
            const char c = text_[position_++];
            if (c != '\n' && c != '\r') taken.push_back(c);
        }
        return true;
    }
    size_t position() const { return position_; }

private:
    std::string_view text_;
    size_t position_ = 0;
};

bool ParseField(const std::string& field, int& value) {
    size_t start = field.find_first_not_of(' ');
    if (start == std::string::npos) return false;
    const char* end = field.data() + field.size();
    auto [stop, problem] = std::from_chars(field.data() + start, end, value);
    return problem == std::errc{} && stop == end && value >= 0;
}

int Offset(char c) { return c - 'R'; }

}  // namespace

bool ParseJhf(std::string_view text, std::vector<JhfGlyph>& glyphs, std::string& error) {
    glyphs.clear();
    RecordReader reader(text);
    std::string header, pairs;
    while (!reader.AtEnd()) {
        const size_t start = reader.position();
        int number = 0, count = 0;
        if (!reader.Take(8, header) || !ParseField(header.substr(0, 5), number) ||
            !ParseField(header.substr(5, 3), count) || count < 1 || !reader.Take(2 * static_cast<size_t>(count), pairs)) {
            error = "malformed glyph record at byte " + std::to_string(start);
            return false;
        }
        JhfGlyph glyph;
        glyph.left = Offset(pairs[0]);
        glyph.right = Offset(pairs[1]);
        bool penUp = true;
        for (size_t i = 2; i < pairs.size(); i += 2) {
            if (pairs[i] == ' ' && pairs[i + 1] == 'R') {
                penUp = true;
                continue;
            }
            if (penUp) glyph.strokes.emplace_back();
            penUp = false;
            glyph.strokes.back().push_back({Offset(pairs[i]), Offset(pairs[i + 1])});
        }
        glyphs.push_back(std::move(glyph));
    }
    return true;
}
