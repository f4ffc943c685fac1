// The gallery's interactive page: the user draws with the left button held (the right button
// wipes the drawing) while a star turns on its own. Every frame is drawn whole on the page the
// window does not show, and then shown, so the star moves without flicker.

#include <cmath>
#include <numbers>
#include <vector>

#include "app/graphdemo/demo_keys.h"
#include "app/graphdemo/demo_pages.h"
#include "graph/graph.h"

namespace {

constexpr int kFrameMs = 16;  // about 60 frames a second
constexpr double kTurnPerFrame = 0.03;

struct Stroke {
    GraphPoint from;
    GraphPoint to;
};

std::vector<Stroke> strokes;
bool drawing = false;
GraphPoint last{0, 0};
int frame = 0;

// The strokes grow by where the pointer went since the last frame, while the left button is held.
void FollowPointer() {
    while (PointerChangeWaiting()) {
        const PointerChange change = ReadPointerChange();
        if (change.button == kPointerLeft) {
            drawing = change.pressed;
            last = {change.x, change.y};
        }
        if (change.button == kPointerRight && change.pressed) strokes.clear();
    }
    const PointerState pointer = ReadPointer();
    if (!drawing || (pointer.x == last.x && pointer.y == last.y)) return;
    strokes.push_back({last, {pointer.x, pointer.y}});
    last = {pointer.x, pointer.y};
}

// A five-pointed star around the right part of the page, turned a little further each frame.
void DrawStar() {
    const double turned = frame * kTurnPerFrame;
    const int cx = SurfaceMaxX() - 170, cy = SurfaceMaxY() / 2 + 20, radius = 120;
    GraphPoint points[5];
    for (int k = 0; k < 5; ++k) {
        const double angle = turned + k * 4 * std::numbers::pi / 5;
        points[k] = {static_cast<int16_t>(cx + radius * std::cos(angle)),
                     static_cast<int16_t>(cy - radius * std::sin(angle))};
    }
    SetDrawColor(14);
    SelectFill(1, 4);
    FillPolygonArea(points, 5);
}

}  // namespace

void DrawMousePage() {
    Label(10, 45, "Hold the left button to draw, the right button wipes the drawing.");
    Label(10, 60, "The star is drawn on the hidden page, then shown: it turns without flicker.");
    SetDrawColor(11);
    for (const Stroke& stroke : strokes) DrawSegment(stroke.from.x, stroke.from.y, stroke.to.x, stroke.to.y);
    DrawStar();
}

DemoKey RunMousePage(int number) {
    strokes.clear();
    drawing = false;
    uint16_t hidden = 1;
    std::optional<DemoKey> key;
    while (!(key = TakeDemoKey(kFrameMs))) {
        ++frame;
        FollowPointer();
        SelectPageToDraw(hidden);
        BeginPage(number);
        DrawMousePage();
        SelectPageToShow(hidden);
        hidden = static_cast<uint16_t>(1 - hidden);
    }
    // The other pages draw on the page shown, as before.
    SelectPageToDraw(0);
    SelectPageToShow(0);
    return *key;
}
