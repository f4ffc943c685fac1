// The gallery's pages of shapes (depth bars, polygons in every fill pattern, a pie) and of the
// ten stroke fonts.

#include <string>

#include "app/graphdemo/demo_pages.h"
#include "graph/graph.h"

namespace {

int16_t S(int value) { return static_cast<int16_t>(value); }

void DrawBarChart() {
    static const int kHeights[] = {60, 110, 85, 140, 35};
    SetDrawColor(15);
    DrawSegment(20, 220, 290, 220);
    for (int i = 0; i < 5; ++i) {
        SelectFill(static_cast<uint16_t>(i == 2 ? 7 : 1), static_cast<uint16_t>(9 + i));
        const int left = 30 + i * 52;
        DrawDepthBar(S(left), S(220 - kHeights[i]), S(left + 30), 220, 12, true);
    }
    Label(20, 232, "depth bars");
}

void DrawPie() {
    static const uint16_t kEnds[] = {70, 150, 215, 290, 360};
    uint16_t from = 0;
    SetDrawColor(15);
    for (int i = 0; i < 5; ++i) {
        SelectFill(static_cast<uint16_t>(i == 4 ? 9 : 1), static_cast<uint16_t>(1 + i * 2));
        FillWedge(470, 145, from, kEnds[i], 90);
        from = kEnds[i];
    }
    SelectFill(1, 14);
    FillEllipticalWedge(470, 145, 20, 50, 110, 60);  // a slice pulled out past the pie's rim
    Label(400, 250, "wedges");
}

// A five-pointed star drawn through every second point: even-odd leaves its middle empty.
void DrawStars() {
    for (uint16_t pattern = 0; pattern <= 12; ++pattern) {
        const int cx = 32 + pattern * 48, cy = 330;
        static const int kX[] = {0, 13, -21, 21, -13}, kY[] = {-22, 18, -7, -7, 18};
        GraphPoint star[5];
        for (int k = 0; k < 5; ++k) star[k] = {S(cx + kX[k]), S(cy + kY[k])};
        SetDrawColor(15);
        SelectFill(pattern, static_cast<uint16_t>(1 + pattern % 14));
        FillPolygonArea(star, 5);
        Label(cx - 8, cy + 28, std::to_string(pattern).c_str());
    }
    Label(20, 380, "polygons, even-odd, in fill patterns 0 to 12");
}

}  // namespace

void DrawShapesPage() {
    DrawBarChart();
    DrawPie();
    DrawStars();
}

void DrawStrokeFontsPage() {
    SetDrawColor(15);
    for (uint16_t font = 1; font <= 10; ++font) {
        const int y = 40 + (font - 1) * 42;
        const uint16_t size = static_cast<uint16_t>(2 + font % 3);
        Label(10, y + 14, (GraphState.fontTable[font - 1].name + std::string(" ") + std::to_string(size)).c_str(), 7);
        SelectTextJustify(0, 2);
        SelectTextStyle(font, 0, size);
        SetDrawColor(static_cast<uint16_t>(9 + font % 6));
        DrawTextAt(S(80), S(y), "AaBbGg 123");
        SelectTextJustify(0, 0);
        SelectTextStyle(font, 1, 2);
        DrawTextAt(S(440 + font * 18), S(440), "upwards");
    }
    SelectTextStyle(0, 0, 1);
    SelectTextJustify(0, 2);
}
