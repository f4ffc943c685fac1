// The plotter on the memory display: reads the same answers as chaosplot and, when it ends,
// writes what each of its windows shows to DIRECTORY/window-N.pixels (N from 1, in the order
// the windows were opened): width and height as 32-bit numbers, then the 0x00RRGGBB pixels row
// by row.
//   reference_plotter DIRECTORY W H FW FH

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/plotter.h"
#include "graph/graph.h"
#include "graph/window/memory_display.h"
#include "runtime/exit.h"
#include "runtime/startup.h"

namespace {

MemoryDisplay* display;
std::string directory;

void SavePictures() {
    int number = 0;
    for (WindowHandle window : display->Windows()) {
        const std::string path = directory + "/window-" + std::to_string(++number) + ".pixels";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) continue;
        const int32_t size[2] = {display->WindowWidth(window), display->WindowHeight(window)};
        const std::vector<uint32_t> image = display->WindowImage(window);
        std::fwrite(size, sizeof size, 1, file);
        std::fwrite(image.data(), sizeof(uint32_t), image.size(), file);
        std::fclose(file);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: reference_plotter DIRECTORY W H FW FH\n", stderr);
        return 2;
    }
    directory = argv[1];
    display = new MemoryDisplay({std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                 std::atoi(argv[5])});
    SelectDisplay(*display);
    PlugGraphicsLayer();
    // The graphics layer chains its own handler in front of this one.
    ExitHandlerChain = SavePictures;
    ConsoleEntry(PlotterMain);
}
