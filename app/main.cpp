// chaosplot: the chaos game in a window on the X server named by DISPLAY, with the dialogue on
// the terminal.

#include "app/plotter.h"
#include "graph/graph.h"
#include "graph/window/x11_display.h"
#include "runtime/startup.h"

int main() {
    static X11Display display;
    SelectDisplay(display);
    PlugGraphicsLayer();
    // ---- Console layer: PlugConsoleLayer() is called here once the console layer is in. ----
    // Until then the dialogue runs over the runtime's file driver on standard input and output.
    ConsoleEntry(PlotterMain);
}
