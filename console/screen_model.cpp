// The cells, cursor, scrolling and resizing of a console screen buffer held in memory.

#include "console/screen_model.h"

#include <algorithm>

ScreenModel::ScreenModel(int32_t columns, int32_t rows, uint8_t attribute)
    : columns_(columns), rows_(rows), attribute_(attribute),
      cells_(static_cast<size_t>(columns) * static_cast<size_t>(rows), Cell{' ', attribute}) {}

bool ScreenModel::Inside(int32_t column, int32_t row) const {
    return column >= 0 && column < columns_ && row >= 0 && row < rows_;
}

const ScreenModel::Cell& ScreenModel::At(int32_t column, int32_t row) const {
    return cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)];
}

ScreenModel::Cell& ScreenModel::CellAt(int32_t column, int32_t row) {
    return cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)];
}

std::string ScreenModel::RowText(int32_t row) const {
    std::string text;
    for (int32_t column = 0; column < columns_; ++column) text.push_back(static_cast<char>(At(column, row).character));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

void ScreenModel::Write(int32_t column, int32_t row, uint8_t character, uint8_t attribute) {
    if (Inside(column, row)) CellAt(column, row) = Cell{character, attribute};
}

void ScreenModel::SetCursor(int32_t column, int32_t row) {
    if (!Inside(column, row)) return;
    cursorColumn_ = column;
    cursorRow_ = row;
}

void ScreenModel::ScrollUp(int32_t top, int32_t bottom, uint8_t fillAttribute) {
    if (!Inside(0, top) || !Inside(0, bottom) || top > bottom) return;
    for (int32_t row = top; row < bottom; ++row) {
        for (int32_t column = 0; column < columns_; ++column) CellAt(column, row) = At(column, row + 1);
    }
    for (int32_t column = 0; column < columns_; ++column) CellAt(column, bottom) = Cell{' ', fillAttribute};
}

void ScreenModel::Resize(int32_t columns, int32_t rows) {
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    const int32_t lostAtTop = std::max(cursorRow_ - (rows - 1), 0);
    ScreenModel resized(columns, rows, attribute_);
    for (int32_t row = 0; row < rows && row + lostAtTop < rows_; ++row) {
        for (int32_t column = 0; column < std::min(columns, columns_); ++column) {
            resized.CellAt(column, row) = At(column, row + lostAtTop);
        }
    }
    resized.cursorColumn_ = std::min(cursorColumn_, columns - 1);
    resized.cursorRow_ = cursorRow_ - lostAtTop;
    *this = std::move(resized);
}
