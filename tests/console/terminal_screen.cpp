// The test terminal's screen: a small VT interpreter for what the console layer writes.

#include "tests/console/terminal_screen.h"

#include <algorithm>
#include <cstdlib>

TerminalScreen::TerminalScreen(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(static_cast<size_t>(columns * rows), U' '), bottom_(rows - 1) {}

void TerminalScreen::Resize(int columns, int rows) {
    std::vector<char32_t> cells(static_cast<size_t>(columns * rows), U' ');
    for (int row = 0; row < std::min(rows, rows_); ++row) {
        for (int column = 0; column < std::min(columns, columns_); ++column) {
            cells[static_cast<size_t>(row * columns + column)] = At(column, row);
        }
    }
    cells_ = std::move(cells);
    columns_ = columns;
    rows_ = rows;
    top_ = 0;
    bottom_ = rows - 1;
    column_ = std::min(column_, columns - 1);
    row_ = std::min(row_, rows - 1);
}

std::string TerminalScreen::Row(int row) const {
    std::string text;
    for (int column = 0; column < columns_; ++column) {
        char32_t c = cells_[static_cast<size_t>(row * columns_ + column)];
        text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

void TerminalScreen::LineFeed() {
    if (row_ != bottom_) {
        row_ = std::min(row_ + 1, rows_ - 1);
        return;
    }
    for (int row = top_; row < bottom_; ++row) {
        for (int column = 0; column < columns_; ++column) At(column, row) = At(column, row + 1);
    }
    for (int column = 0; column < columns_; ++column) At(column, bottom_) = U' ';
}

void TerminalScreen::Put(char32_t character) {
    if (column_ >= columns_) {
        column_ = 0;
        LineFeed();
    }
    At(column_, row_) = character;
    ++column_;
}

void TerminalScreen::Control(std::string_view parameters, char finalByte) {
    int first = parameters.empty() ? 0 : std::atoi(std::string(parameters).c_str());
    size_t separator = parameters.find(';');
    int second = separator == std::string_view::npos ? 0 : std::atoi(std::string(parameters.substr(separator + 1)).c_str());
    switch (finalByte) {
        case 'H':
            row_ = std::clamp(std::max(first, 1) - 1, 0, rows_ - 1);
            column_ = std::clamp(std::max(second, 1) - 1, 0, columns_ - 1);
            break;
        case 'J':
            if (first == 2) std::fill(cells_.begin(), cells_.end(), U' ');
            break;
        case 'r':
            top_ = parameters.empty() ? 0 : std::clamp(first - 1, 0, rows_ - 1);
            bottom_ = separator == std::string_view::npos ? rows_ - 1 : std::clamp(second - 1, top_, rows_ - 1);
            row_ = 0;
            column_ = 0;
            break;
        default:
            break;  // colours, questions, keyboard protocol: nothing on the screen
    }
}

void TerminalScreen::Feed(std::string_view bytes) {
    pending_.append(bytes);
    size_t i = 0;
    while (i < pending_.size()) {
        unsigned char c = static_cast<unsigned char>(pending_[i]);
        if (c == 0x1B) {
            if (i + 1 >= pending_.size()) break;
            if (pending_[i + 1] != '[') {
                i += 2;
                continue;
            }
            size_t end = i + 2;
            while (end < pending_.size() && (pending_[end] < 0x40 || pending_[end] > 0x7E)) ++end;
            if (end >= pending_.size()) break;
            Control(std::string_view(pending_).substr(i + 2, end - i - 2), pending_[end]);
            i = end + 1;
        } else if (c == '\r') {
            column_ = 0;
            ++i;
        } else if (c == '\n') {
            LineFeed();
            ++i;
        } else if (c == '\b') {
            column_ = std::max(std::min(column_, columns_ - 1) - 1, 0);
            ++i;
        } else if (c < 0x20) {
            ++i;
        } else if (c < 0x80) {
            Put(c);
            ++i;
        } else {
            size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (i + length > pending_.size()) break;
            char32_t codePoint = c & (0x7F >> length);
            for (size_t k = 1; k < length; ++k) codePoint = (codePoint << 6) | (pending_[i + k] & 0x3F);
            Put(codePoint);
            i += length;
        }
    }
    pending_.erase(0, i);
}
