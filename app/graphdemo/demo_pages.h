#pragma once
// The gallery's pages. Each draws itself on a cleared surface below the page's title.

struct DemoPage {
    const char* title;
    void (*draw)();
};

extern const DemoPage demoPages[];
extern const int demoPageCount;

// Clears the surface and writes the title and the footer of page `number` (1-based).
void BeginPage(int number);

// Shared by the pages: a label in the built-in font at size 1, left and top justified, in the
// given colour; and the outline of a rectangle in the drawing colour.
void Label(int x, int y, const char* text, unsigned colour = 15);
void Outline(int x1, int y1, int x2, int y2);

// Pages of demo_pages_text.cpp.
void DrawTextSizesPage();
void DrawJustificationPage();

// Pages of demo_pages_shapes.cpp.
void DrawShapesPage();
void DrawStrokeFontsPage();
