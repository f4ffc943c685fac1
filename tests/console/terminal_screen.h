#pragma once
// A terminal screen for tests: it reads the bytes the console layer sends (cursor addressing,
// colours, CR, LF, scrolling regions, clearing, UTF-8 glyphs) and keeps the characters shown.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TerminalScreen {
public:
    TerminalScreen(int columns, int rows);

    // Bytes as the program wrote them; a sequence cut off at the end waits for the rest.
    void Feed(std::string_view bytes);
    // The window is resized: cells keep their place, the cursor stays inside. (Real terminals
    // do more; a program that redraws after a resize must not depend on it.)
    void Resize(int columns, int rows);

    // A row with trailing spaces removed; characters above 0x7F show as '?'.
    std::string Row(int row) const;
    int cursorColumn() const { return column_; }
    int cursorRow() const { return row_; }

private:
    void Put(char32_t character);
    void LineFeed();
    void Control(std::string_view parameters, char finalByte);
    char32_t& At(int column, int row) { return cells_[static_cast<size_t>(row * columns_ + column)]; }

    int columns_;
    int rows_;
    std::vector<char32_t> cells_;
    int column_ = 0;  // columns_ while a wrap is pending after the last column
    int row_ = 0;
    int top_ = 0;  // scrolling region
    int bottom_;
    std::string pending_;
};
