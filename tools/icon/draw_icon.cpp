// chaosplot_icon FILE SIZE: writes the desktop icon, a SIZE x SIZE PNG of the plotter's picture
// (the filled triangle and the path from 100 100) as the graphics library draws it on the memory
// display, the background transparent. 400 steps: with many more the yellow lines cover the red
// and the icon is a plain yellow triangle.

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/plotter.h"
#include "graph/graph.h"
#include "graph/graph_internal.h"
#include "graph/window/memory_display.h"
#include "runtime/exit.h"
#include "runtime/startup.h"
#include "tools/icon/icon_picture.h"

namespace {

// The triangle's bounding box on the surface.
constexpr int16_t kRight = 400, kBottom = 346;

std::string outputPath;
int32_t iconSize = 0;

IconPalette CurrentPalette() {
    IconPalette palette{};
    for (int16_t index = 0; index <= static_cast<int16_t>(HighestColor()); ++index) {
        int16_t red, green, blue;
        DriverSlots.ReadPaletteEntry(index, red, green, blue);
        palette[index] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                          static_cast<uint8_t>(blue), 255};
    }
    return palette;
}

[[noreturn]] void DrawIcon() {
    RunLayerInits();
    graphDriver = 0;
    graphMode = 2;
    InitGraph(graphDriver, graphMode, "");
    if (GraphResult() != 0) StopProgram(1);
    DrawFilledTriangle();
    xp = 100;
    yp = 100;
    nmax = 400;
    PlayChaosGame();

    std::vector<uint8_t> saved(ImageBufferSize(0, 0, kRight, kBottom));
    SaveImage(0, 0, kRight, kBottom, saved.data());
    const RgbaImage icon =
        ShrinkToSquare(PictureFromImageBuffer(saved.data(), CurrentPalette(), 0), iconSize);
    LeaveGraphics();

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(icon.width);
    image.height = static_cast<png_uint_32>(icon.height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, outputPath.c_str(), 0, icon.pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", outputPath.c_str(), image.message);
        StopProgram(1);
    }
    ProcessExit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fputs("usage: chaosplot_icon FILE SIZE\n", stderr);
        return 2;
    }
    outputPath = argv[1];
    iconSize = std::atoi(argv[2]);
    // A screen whose best 256-colour mode holds the whole triangle.
    static MemoryDisplay display({1024, 768, 1024, 768});
    SelectDisplay(display);
    PlugGraphicsLayer();
    StartProgram(DrawIcon);
}
