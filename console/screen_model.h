#pragma once
// A console screen buffer in memory: character cells, a cursor, scrolling and resizing. The
// in-memory console is one; the terminal device keeps one to redraw the terminal from.

#include <cstdint>
#include <string>
#include <vector>

class ScreenModel {
public:
    struct Cell {
        uint8_t character;
        uint8_t attribute;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    // Every cell a space in the attribute, the cursor at the top left.
    ScreenModel(int32_t columns, int32_t rows, uint8_t attribute);

    int32_t columns() const { return columns_; }
    int32_t rows() const { return rows_; }
    bool Inside(int32_t column, int32_t row) const;
    const Cell& At(int32_t column, int32_t row) const;
    // The characters of a row with trailing spaces removed.
    std::string RowText(int32_t row) const;

    // Positions outside the screen are ignored, as the console ignores them.
    void Write(int32_t column, int32_t row, uint8_t character, uint8_t attribute);
    void SetCursor(int32_t column, int32_t row);
    int32_t cursorColumn() const { return cursorColumn_; }
    int32_t cursorRow() const { return cursorRow_; }
    // Rows top+1..bottom move up one row over the full width; row top is lost and row bottom
    // is filled with spaces in the attribute.
    void ScrollUp(int32_t top, int32_t bottom, uint8_t fillAttribute);

    // The buffer takes a new size, as a terminal does when its window is resized: what fits
    // stays where it was, new cells are spaces in the attribute given at construction. When
    // the cursor's row would fall off the bottom, the rows above go first (the top rows are
    // lost), so the cursor's row and the rows above it stay in view; the cursor is kept inside.
    void Resize(int32_t columns, int32_t rows);

private:
    Cell& CellAt(int32_t column, int32_t row);

    int32_t columns_;
    int32_t rows_;
    uint8_t attribute_;
    std::vector<Cell> cells_;
    int32_t cursorColumn_ = 0;
    int32_t cursorRow_ = 0;
};
