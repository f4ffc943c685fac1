// The gallery's text pages: sizes and directions, justification, and the whole character set.

#include <string>

#include "app/graphdemo/demo_pages.h"
#include "graph/graph.h"

namespace {

void Cross(int x, int y) {
    SetDrawColor(12);
    PenMoveTo(static_cast<int16_t>(x - 6), static_cast<int16_t>(y));
    PenLineTo(static_cast<int16_t>(x + 6), static_cast<int16_t>(y));
    PenMoveTo(static_cast<int16_t>(x), static_cast<int16_t>(y - 6));
    PenLineTo(static_cast<int16_t>(x), static_cast<int16_t>(y + 6));
}

}  // namespace

void DrawTextSizesPage() {
    int y = 50;
    for (uint16_t size = 1; size <= 5; ++size) {
        SetDrawColor(static_cast<uint16_t>(8 + size));
        SelectTextStyle(0, 0, size);
        DrawTextAt(20, static_cast<int16_t>(y), ("Size " + std::to_string(size)).c_str());
        y += 8 * size + 10;
    }
    SelectTextStyle(0, 0, 0);
    DrawTextAt(20, static_cast<int16_t>(y), "size 0 draws nothing");
    Label(20, y, "(size 0 draws nothing: this line is a label in size 1)", 8);

    // Upward text climbs from its start point.
    int x = SurfaceMaxX() - 200;
    for (uint16_t size = 1; size <= 3; ++size) {
        SetDrawColor(static_cast<uint16_t>(1 + size));
        SelectTextStyle(0, 1, size);
        SelectTextJustify(0, 0);
        DrawTextAt(static_cast<int16_t>(x), static_cast<int16_t>(SurfaceMaxY() - 40), "Upwards");
        Cross(x, SurfaceMaxY() - 40);
        x += 8 * size + 20;
    }
    SelectTextStyle(0, 0, 1);
    SelectTextJustify(0, 2);

    // Each colour on a band of its own: the band shows between the strokes, so the cells stay
    // transparent. Light and dark text get a band they stand out from.
    for (int i = 0; i < 16; ++i) {
        const uint16_t colour = static_cast<uint16_t>(15 - i);
        const int top = 356 + i * 14;
        SetDrawColor(colour >= 7 ? 1 : 7);
        for (int y = top; y < top + 14; ++y) {
            PenMoveTo(20, static_cast<int16_t>(y));
            PenLineTo(300, static_cast<int16_t>(y));
        }
        SetDrawColor(colour);
        DrawTextAt(30, static_cast<int16_t>(top + 2), ("colour " + std::to_string(colour) + " on a band").c_str());
    }
}

void DrawJustificationPage() {
    static const char* const kHorizontal[] = {"left", "centre", "right"};
    static const char* const kVertical[] = {"bottom", "centre", "top"};
    for (uint16_t h = 0; h < 3; ++h) {
        for (uint16_t v = 0; v < 3; ++v) {
            int x = 110 + h * 220, y = 70 + (2 - v) * 45;
            Cross(x, y);
            SetDrawColor(14);
            SelectTextJustify(h, v);
            DrawTextAt(static_cast<int16_t>(x), static_cast<int16_t>(y),
                       (std::string(kHorizontal[h]) + "/" + kVertical[v]).c_str());
        }
    }
    // Upward text, justified about its reference point.
    SelectTextStyle(0, 1, 1);
    for (uint16_t h = 0; h < 3; ++h) {
        int x = 680 + h * 40, y = 130;
        Cross(x, y);
        SetDrawColor(11);
        SelectTextJustify(h, 1);
        DrawTextAt(static_cast<int16_t>(x), static_cast<int16_t>(y), kHorizontal[h]);
    }
    SelectTextStyle(0, 0, 1);
    SelectTextJustify(0, 2);

    // The character set, 16 codes to a row.
    Label(20, 228, "All 256 characters of the built-in font:", 7);
    for (int row = 0; row < 16; ++row) {
        LengthPrefixedString line;
        for (int col = 0; col < 16; ++col) {
            line.Append(static_cast<char>(row * 16 + col));
            line.Append(' ');
        }
        SetDrawColor(row % 2 == 0 ? 15 : 10);
        DrawTextAt(40, static_cast<int16_t>(250 + row * 14), line);
        Label(10, 250 + row * 14, (std::string(1, "0123456789ABCDEF"[row]) + "x").c_str(), 8);
    }
}
