#pragma once
// A drawing surface for testing the generic algorithms on their own: it puts its own PlotPixel,
// WritePixel, ReadPixel and ReadPixelRow into DriverSlots and keeps colour numbers in a grid,
// so tests see exactly which pixel got which colour. The other slots keep the library's
// generic routines. GraphState is set up as a mode with a palette would leave it (a canvas
// made while another lives resets these settings).

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

using Pixel = std::pair<int, int>;  // surface (x, y)

class SlotCanvas {
public:
    // A width x height surface, every pixel `background`, viewport the whole surface, clipping
    // on, default drawing settings.
    SlotCanvas(int width, int height, uint16_t background = 0);
    ~SlotCanvas();

    uint16_t At(int x, int y) const;
    void Set(int x, int y, uint16_t colour);
    // Every pixel whose colour differs from the background.
    std::set<Pixel> Drawn() const;
    // Every pixel of that colour.
    std::set<Pixel> PixelsOf(uint16_t colour) const;
    // Number of WritePixel calls so far (clipped ones included).
    int writeCalls = 0;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    uint16_t background_;
    std::vector<uint16_t> pixels_;
    SlotCanvas* previous_;  // a canvas made inside another's life hands the slots back to it
};
