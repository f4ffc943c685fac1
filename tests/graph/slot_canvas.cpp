#include "tests/graph/slot_canvas.h"

#include "graph/graph_internal.h"

namespace {

SlotCanvas* canvas = nullptr;

bool OnSurface(int x, int y) { return x >= 0 && y >= 0 && x < canvas->width() && y < canvas->height(); }

bool InViewport(int x, int y) {
    return x >= GraphState.viewLeft && x <= GraphState.viewLeft + GraphState.viewMaxX &&
           y >= GraphState.viewTop && y <= GraphState.viewTop + GraphState.viewMaxY;
}

void CanvasPlotPixel(int16_t x, int16_t y) {
    if (!OnSurface(x, y)) return;
    uint16_t old = canvas->At(x, y), colour = GraphState.drawColor;
    switch (GraphState.writeMode) {
        case 1: colour = old ^ colour; break;
        case 2: colour = old | colour; break;
        case 3: colour = old & colour; break;
        case 4: colour = static_cast<uint16_t>(~colour); break;
        default: break;
    }
    canvas->Set(x, y, colour);
}

void CanvasWritePixel(int16_t x, int16_t y, uint16_t colour) {
    ++canvas->writeCalls;
    int sx = x + GraphState.viewLeft, sy = y + GraphState.viewTop;
    if (GraphState.clipOn && !InViewport(sx, sy)) return;
    if (OnSurface(sx, sy)) canvas->Set(sx, sy, colour);
}

uint16_t CanvasReadPixel(int16_t x, int16_t y) {
    int sx = x + GraphState.viewLeft, sy = y + GraphState.viewTop;
    return OnSurface(sx, sy) ? canvas->At(sx, sy) : 0;
}

void CanvasReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer) {
    for (int x = x1; x <= x2; ++x) buffer[x - x1] = CanvasReadPixel(static_cast<int16_t>(x), y);
}

void NoPaletteWrite(int16_t, int16_t, int16_t, int16_t) {}

}  // namespace

SlotCanvas::SlotCanvas(int width, int height, uint16_t background)
    : width_(width), height_(height), background_(background),
      pixels_(static_cast<size_t>(width * height), background) {
    previous_ = canvas;
    canvas = this;
    InstallDefaultSlots();
    DriverSlots.PlotPixel = CanvasPlotPixel;
    DriverSlots.WritePixel = CanvasWritePixel;
    DriverSlots.ReadPixel = CanvasReadPixel;
    DriverSlots.ReadPixelRow = CanvasReadPixelRow;
    DriverSlots.WritePaletteEntry = NoPaletteWrite;
    GraphState.surfaceMaxX = static_cast<int16_t>(width - 1);
    GraphState.surfaceMaxY = static_cast<int16_t>(height - 1);
    GraphState.colorCount = 16;
    ApplyDefaults();
    for (int16_t& field : GraphState.lastArc) field = 0;
    GraphState.opaqueText = false;
    GraphState.charTranslation = nullptr;
}

SlotCanvas::~SlotCanvas() {
    canvas = previous_;
    if (canvas == nullptr) InstallDefaultSlots();
}

uint16_t SlotCanvas::At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }

void SlotCanvas::Set(int x, int y, uint16_t colour) { pixels_[static_cast<size_t>(y * width_ + x)] = colour; }

std::set<Pixel> SlotCanvas::Drawn() const {
    std::set<Pixel> drawn;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != background_) drawn.insert({x, y});
    return drawn;
}

std::set<Pixel> SlotCanvas::PixelsOf(uint16_t colour) const {
    std::set<Pixel> found;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) == colour) found.insert({x, y});
    return found;
}
