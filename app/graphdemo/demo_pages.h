#pragma once
// The gallery's pages. Each draws itself on a cleared surface below the page's title; a page
// that goes on moving runs until a key.

#include "app/graphdemo/demo_keys.h"

struct DemoPage {
    const char* title;
    void (*draw)();
    // Null for a still page; else what runs once it is drawn: frames until a key, which it returns.
    DemoKey (*run)(int number) = nullptr;
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

// The interactive page, of demo_page_drawing.cpp.
void DrawMousePage();
DemoKey RunMousePage(int number);
