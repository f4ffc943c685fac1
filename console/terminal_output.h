#pragma once
// The bytes a terminal needs to show console cells: cursor addressing, colours, scrolling and
// the glyphs of 8-bit characters. Collected here and sent by the terminal device in one write.

#include <cstdint>
#include <string>

#include "console/screen_model.h"

// Appends the UTF-8 form of a cell's character: ASCII as it is, the control codes as the
// console's picture characters (a tab shows as a circle), 0xA0..0xFF as Latin-1 and the
// C1 range 0x80..0x9F, which a terminal would act on, as '?'.
void AppendGlyph(std::string& out, uint8_t character);

// Appends the SGR sequence for a console attribute (foreground in bits 0-3, background in bits
// 4-7, blue/green/red/bright); 0x07 is the terminal's own default colours.
void AppendAttribute(std::string& out, uint8_t attribute);

class TerminalScreenWriter {
public:
    void WriteCell(int32_t column, int32_t row, uint8_t character, uint8_t attribute, int32_t columns);
    void MoveCursor(int32_t column, int32_t row);
    // Row 0 of the screen is the terminal's row `row` (0-based) from now on: the rows above it
    // belong to a picture, which no scroll or redraw touches.
    void SetFirstRow(int32_t row);
    // Rows top+1..bottom move up one row; rows is the height of the whole screen.
    void ScrollUp(int32_t top, int32_t bottom, int32_t rows, uint8_t attribute);

    // Clears the terminal and draws every cell of the screen again, then puts the cursor back.
    void Redraw(const ScreenModel& screen);

    std::string& bytes() { return bytes_; }
    // After the bytes are sent: others (the run-time error report, diagnostics) may write to the
    // terminal before our next batch, so the next one starts by setting the position again.
    // Nobody else changes the colours.
    void Sent();

private:
    void MoveTo(int32_t column, int32_t row);
    void UseAttribute(uint8_t attribute);

    std::string bytes_;
    int32_t column_ = -1;  // where the terminal's cursor is, -1 when unknown
    int32_t row_ = -1;
    int32_t attribute_ = -1;
    int32_t firstRow_ = 0;
};
