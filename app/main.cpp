// chaosplot: the chaos game in a window on the X server named by DISPLAY, with the dialogue on
// the terminal.

#include "app/plotter.h"
#include "console/console.h"
#include "console/terminal_device.h"
#include "graph/graph.h"
#include "graph/window/x11/x11_display.h"
#include "runtime/startup.h"

int main() {
    static X11Display display;
    SelectDisplay(display);
    static TerminalDevice terminal;
    PlugConsoleLayer(terminal);
    PlugGraphicsLayer();
    StartProgram(PlotterMain);
}
