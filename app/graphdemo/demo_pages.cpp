// The gallery's pages of lines, fills, arcs, palette and write modes, and image buffers.

#include "app/graphdemo/demo_pages.h"

#include <string>
#include <vector>

#include "graph/graph.h"

namespace {

int16_t S(int value) { return static_cast<int16_t>(value); }

void Line(int x1, int y1, int x2, int y2) {
    PenMoveTo(S(x1), S(y1));
    PenLineTo(S(x2), S(y2));
}

void DrawLinesPage() {
    static const char* const kStyles[] = {"solid", "dotted", "centre", "dashed", "user 0xE4E4"};
    int y = 60;
    for (uint16_t thickness : {1, 3}) {
        for (uint16_t style = 0; style <= 4; ++style) {
            SetStrokeStyle(style, 0xE4E4, thickness);
            SetDrawColor(static_cast<uint16_t>(9 + style));
            Line(200, y, 520, y);
            Line(540, y - 8, 620, y + 8);
            Label(20, y - 4, (std::string(kStyles[style]) + (thickness == 3 ? ", thick" : ", thin")).c_str());
            y += 28;
        }
        y += 16;
    }
    // A fan of solid lines in every colour.
    SetStrokeStyle(0, 0, 1);
    int cx = 400, cy = 470;
    for (int i = 0; i < 32; ++i) {
        SetDrawColor(static_cast<uint16_t>(1 + i % 15));
        Line(cx, cy, cx - 110 + i * 7, cy - 90);
        Line(cx, cy, cx - 110 + i * 7, cy + 90);
    }
}

void DrawFillsPage() {
    static const uint8_t kUserPattern[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    std::copy(kUserPattern, kUserPattern + 8, GraphState.userFillPattern);
    for (uint16_t pattern = 0; pattern <= 12; ++pattern) {
        int col = pattern % 5, row = pattern / 5;
        int x = 20 + col * 150, y = 50 + row * 130;
        SetDrawColor(15);
        Outline(x, y, x + 130, y + 100);
        SelectFill(pattern, static_cast<uint16_t>(1 + pattern % 14));
        FloodFillArea(S(x + 5), S(y + 5), 15);
        Label(x, y + 106, ("pattern " + std::to_string(pattern) + (pattern == 12 ? " (user)" : "")).c_str());
    }
    // Filled ellipses: the outline in the drawing colour, the inside in the fill pattern.
    for (int i = 0; i < 2; ++i) {
        SetDrawColor(14);
        SelectFill(static_cast<uint16_t>(i == 0 ? 9 : 11), static_cast<uint16_t>(i == 0 ? 5 : 3));
        FillEllipseArea(S(420 + i * 150), S(470), 60, 35);
    }
    SelectFill(1, 15);
}

void DrawArcsPage() {
    int cx = 150, cy = 200;
    for (int r = 10; r <= 130; r += 15) {
        SetDrawColor(static_cast<uint16_t>(1 + (r / 15) % 15));
        DrawCircle(S(cx), S(cy), static_cast<uint16_t>(r));
    }
    Label(60, 345, "circles of radius 10 to 130");

    SetDrawColor(14);
    DrawArc(420, 150, 0, 90, 70);
    SetDrawColor(10);
    DrawArc(420, 150, 135, 315, 50);
    SetDrawColor(12);
    DrawEllipse(420, 150, 200, 340, 100, 40);
    Label(330, 240, "arcs: 0-90, 135-315; ellipse 200-340");

    // A pie slice from the last arc's end points.
    SetDrawColor(11);
    DrawArc(620, 150, 30, 150, 80);
    LastArcPoints arc = ReadLastArc();
    Line(arc.centreX, arc.centreY, arc.fromX, arc.fromY);
    Line(arc.centreX, arc.centreY, arc.toX, arc.toY);
    SelectFill(7, 3);
    FloodFillArea(620, 110, 11);
    Label(560, 170, "slice from lastArc");

    // Thick outlines: three rings each.
    SetStrokeStyle(0, 0, 3);
    SetDrawColor(13);
    DrawCircle(420, 420, 60);
    SetDrawColor(9);
    DrawEllipse(620, 420, 0, 360, 90, 40);
    SetDrawColor(14);
    DrawArc(420, 420, 45, 225, 90);
    SetStrokeStyle(0, 0, 1);
    Label(360, 520, "thick circle, ellipse and arc");

    SetDrawColor(2);
    SelectFill(10, 14);
    FillEllipseArea(150, 450, 90, 45);
    Label(80, 505, "filled ellipse");
    SelectFill(1, 15);
}

void DrawPaletteAndWriteModesPage() {
    // The colours as they are, then after rewriting the palette: new drawing uses new entries.
    for (int i = 0; i < 16; ++i) {
        SetDrawColor(static_cast<uint16_t>(i));
        for (int y = 50; y < 90; ++y) Line(20 + i * 24, y, 40 + i * 24, y);
        Label(22 + i * 24, 94, std::to_string(i).c_str(), 7);
    }
    Label(420, 66, "the default palette");
    for (int i = 1; i < 15; ++i) {
        DriverSlots.WritePaletteEntry(S(i), S(i * 18), S(255 - i * 18), S(128));
    }
    for (int i = 0; i < 16; ++i) {
        SetDrawColor(static_cast<uint16_t>(i));
        for (int y = 120; y < 160; ++y) Line(20 + i * 24, y, 40 + i * 24, y);
    }
    Label(420, 136, "entries 1-14 rewritten");
    Label(420, 150, "(15 stays white in text)", 15);

    for (int i = 1; i < 15; ++i) {
        const PaletteEntry entry = DefaultPaletteEntry(static_cast<uint16_t>(i));
        DriverSlots.WritePaletteEntry(S(i), entry.red, entry.green, entry.blue);
    }

    // Write modes: a bar drawn over the same striped base in each mode.
    static const char* const kModes[] = {"0 copy", "1 xor", "2 or", "3 and", "4 not"};
    for (int mode = 0; mode <= 4; ++mode) {
        int x = 20 + mode * 150, y = 220;
        for (int i = 0; i < 8; ++i) {
            SetDrawColor(static_cast<uint16_t>(1 + i));
            for (int row = 0; row < 12; ++row) Line(x, y + i * 12 + row, x + 120, y + i * 12 + row);
        }
        GraphState.writeMode = static_cast<uint16_t>(mode);
        SetDrawColor(12);
        for (int row = 0; row < 60; ++row) Line(x + 30, y + 18 + row, x + 90, y + 18 + row);
        SetStrokeStyle(0, 0, 3);
        Line(x, y + 110, x + 120, y + 110);
        SetStrokeStyle(0, 0, 1);
        GraphState.writeMode = 0;
        Label(x, y + 124, ("mode " + std::string(kModes[mode])).c_str());
    }

    // The background colour loads palette entry 0 with that default colour.
    ChangeBackground(1);
    Label(20, 400, "after ChangeBackground(1) colour 0 draws as blue:", 15);
    SetDrawColor(0);
    for (int y = 396; y < 414; ++y) Line(440, y, 600, y);
}

void DrawImagesPage() {
    // A small picture to save.
    SetDrawColor(14);
    Outline(20, 50, 139, 139);
    SelectFill(1, 1);
    FloodFillArea(25, 55, 14);
    SetDrawColor(12);
    SelectFill(1, 4);
    FillEllipseArea(80, 95, 40, 30);
    SetDrawColor(15);
    DrawTextAt(40, 60, "image");
    Label(20, 146, "saved: (20,50)-(139,139)");

    std::vector<uint8_t> buffer(static_cast<size_t>(ImageBufferSize(20, 50, 139, 139)));
    SaveImage(20, 50, 139, 139, buffer.data());

    static const char* const kModes[] = {"copy", "xor", "or", "and", "not"};
    for (uint16_t mode = 0; mode <= 4; ++mode) {
        int x = 180 + (mode % 3) * 200, y = 50 + (mode / 3) * 180;
        // A striped base shows how each mode combines.
        for (int row = 0; row < 90; ++row) {
            SetDrawColor(static_cast<uint16_t>(2 + (row / 10) % 5));
            Line(x - 10, y + row, x + 130, y + row);
        }
        PutImage(S(x), S(y), buffer.data(), mode);
        Label(x, y + 126, ("put in mode " + std::to_string(mode) + " " + kModes[mode]).c_str());
    }
    // Put into a small viewport: only the part inside shows.
    DefineViewport(620, 380, 700, 440, true);
    PutImage(-40, -30, buffer.data(), 0);
    DefineViewport(0, 0, SurfaceMaxX(), SurfaceMaxY(), true);
    SetDrawColor(15);
    Outline(619, 379, 701, 441);
    Label(560, 450, "clipped to a viewport");
}

}  // namespace

const DemoPage demoPages[] = {
    {"Line styles and thicknesses", DrawLinesPage},
    {"Fill patterns", DrawFillsPage},
    {"Arcs, circles and ellipses", DrawArcsPage},
    {"Text sizes, directions, colours", DrawTextSizesPage},
    {"Justification and characters", DrawJustificationPage},
    {"Palette and write modes", DrawPaletteAndWriteModesPage},
    {"Saving and putting images", DrawImagesPage},
    {"Bars, polygons and wedges", DrawShapesPage},
    {"Stroke fonts", DrawStrokeFontsPage},
    {"Drawing with the mouse", DrawMousePage, RunMousePage},
};
const int demoPageCount = sizeof demoPages / sizeof demoPages[0];

void Label(int x, int y, const char* text, unsigned colour) {
    const uint16_t font = GraphState.textFont, direction = GraphState.textDirection, size = GraphState.textSize;
    const uint16_t horizontal = GraphState.textHorizJustify, vertical = GraphState.textVertJustify;
    const uint16_t drawColour = GraphState.drawColor;
    SelectTextStyle(0, 0, 1);
    SelectTextJustify(0, 2);
    SetDrawColor(static_cast<uint16_t>(colour));
    DrawTextAt(S(x), S(y), text);
    SelectTextStyle(font, direction, size);
    SelectTextJustify(horizontal, vertical);
    SetDrawColor(drawColour);
}

void Outline(int x1, int y1, int x2, int y2) {
    PenMoveTo(S(x1), S(y1));
    PenLineTo(S(x2), S(y1));
    PenLineTo(S(x2), S(y2));
    PenLineTo(S(x1), S(y2));
    PenLineTo(S(x1), S(y1));
}

void BeginPage(int number) {
    ChangeBackground(0);
    DefineViewport(0, 0, SurfaceMaxX(), SurfaceMaxY(), true);
    DriverSlots.EraseViewportOp();
    SetStrokeStyle(0, 0, 1);
    SelectTextStyle(0, 0, 2);
    SelectTextJustify(0, 2);
    SetDrawColor(15);
    DrawTextAt(10, 8, demoPages[number - 1].title);
    SelectTextStyle(0, 0, 1);
    SetDrawColor(8);
    PenMoveTo(0, 30);
    PenLineTo(SurfaceMaxX(), 30);
    std::string footer = "page " + std::to_string(number) + " of " + std::to_string(demoPageCount) +
                         "   any key: next page   Esc: end";
    Label(10, SurfaceMaxY() - 12, footer.c_str(), 7);
}
