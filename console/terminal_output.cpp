// The bytes that show console cells on a terminal: addressing, colours, scrolling, glyphs.

#include "console/terminal_output.h"

#include <charconv>

namespace {

// The console's pictures for the control codes 0..31, then for 127.
constexpr char16_t kControlPictures[32] = {
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC',
};
constexpr char16_t kDeletePicture = u'\u2302';

void AppendUtf8(std::string& out, char16_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// Console colour bits are blue 1, green 2, red 4; the terminal's are red 1, green 2, blue 4.
int AnsiColour(int consoleColour) {
    return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

void AppendNumber(std::string& out, int32_t value) {
    char digits[12];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

void AppendGlyph(std::string& out, uint8_t character) {
    if (character < 0x20) {
        AppendUtf8(out, kControlPictures[character]);
    } else if (character < 0x7F) {
        out.push_back(static_cast<char>(character));
    } else if (character == 0x7F) {
        AppendUtf8(out, kDeletePicture);
    } else if (character < 0xA0) {
        out.push_back('?');
    } else {
        AppendUtf8(out, character);
    }
}

void AppendAttribute(std::string& out, uint8_t attribute) {
    if (attribute == 0x07) {
        out += "\x1b[0m";
        return;
    }
    int foreground = attribute & 0x0F;
    int background = (attribute >> 4) & 0x0F;
    out += "\x1b[0;";
    AppendNumber(out, ((foreground & 8) ? 90 : 30) + AnsiColour(foreground & 7));
    out.push_back(';');
    AppendNumber(out, ((background & 8) ? 100 : 40) + AnsiColour(background & 7));
    out.push_back('m');
}

void TerminalScreenWriter::MoveTo(int32_t column, int32_t row) {
    if (column == column_ && row == row_) return;
    if (column == 0 && row == row_) {
        bytes_.push_back('\r');
    } else {
        bytes_ += "\x1b[";
        AppendNumber(bytes_, firstRow_ + row + 1);
        bytes_.push_back(';');
        AppendNumber(bytes_, column + 1);
        bytes_.push_back('H');
    }
    column_ = column;
    row_ = row;
}

void TerminalScreenWriter::UseAttribute(uint8_t attribute) {
    if (attribute == attribute_) return;
    AppendAttribute(bytes_, attribute);
    attribute_ = attribute;
}

void TerminalScreenWriter::WriteCell(int32_t column, int32_t row, uint8_t character, uint8_t attribute,
                                     int32_t columns) {
    MoveTo(column, row);
    UseAttribute(attribute);
    AppendGlyph(bytes_, character);
    // In the last column the terminal waits to wrap; the next cell is addressed afresh.
    column_ = column + 1 < columns ? column + 1 : -1;
}

void TerminalScreenWriter::MoveCursor(int32_t column, int32_t row) { MoveTo(column, row); }

void TerminalScreenWriter::SetFirstRow(int32_t row) {
    firstRow_ = row;
    column_ = -1;
    row_ = -1;
}

void TerminalScreenWriter::ScrollUp(int32_t top, int32_t bottom, int32_t rows, uint8_t attribute) {
    // The terminal fills the new bottom row with the current background colour.
    UseAttribute(attribute);
    if (firstRow_ == 0 && top == 0 && bottom == rows - 1) {
        // A line feed on the bottom row scrolls the screen; any column will do.
        if (row_ != bottom) MoveTo(0, bottom);
        bytes_.push_back('\n');
        column_ = -1;  // a terminal may return to column 1 with the line feed
        return;
    }
    bytes_ += "\x1b[";
    AppendNumber(bytes_, firstRow_ + top + 1);
    bytes_.push_back(';');
    AppendNumber(bytes_, firstRow_ + bottom + 1);
    bytes_ += "r";
    bytes_ += "\x1b[";
    AppendNumber(bytes_, firstRow_ + bottom + 1);
    bytes_ += ";1H\n\x1b[r";  // a line feed on the bottom margin scrolls the region
    column_ = -1;  // resetting the margins homes the cursor
    row_ = -1;
}

void TerminalScreenWriter::Redraw(const ScreenModel& screen) {
    constexpr uint8_t kTerminalDefault = 0x07;
    bytes_ += "\x1b[0m";  // cleared in the terminal's own colours
    if (firstRow_ == 0) {
        bytes_ += "\x1b[2J";
    } else {
        bytes_ += "\x1b[";  // from the screen's first row down, below the picture
        AppendNumber(bytes_, firstRow_ + 1);
        bytes_ += ";1H\x1b[J";
    }
    attribute_ = kTerminalDefault;
    column_ = -1;
    row_ = -1;
    for (int32_t row = 0; row < screen.rows(); ++row) {
        for (int32_t column = 0; column < screen.columns(); ++column) {
            const ScreenModel::Cell& cell = screen.At(column, row);
            if (cell.character == ' ' && cell.attribute == kTerminalDefault) continue;  // cleared already
            WriteCell(column, row, cell.character, cell.attribute, screen.columns());
        }
    }
    MoveTo(screen.cursorColumn(), screen.cursorRow());
}

void TerminalScreenWriter::Sent() {
    bytes_.clear();
    column_ = -1;
    row_ = -1;
}
