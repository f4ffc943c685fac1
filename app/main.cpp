// chaosplot: the chaos game in a window on the X server named by DISPLAY, with the dialogue on
// the terminal.

#include "app/command_line.h"
#include "app/plotter.h"
#include "console/console.h"
#include "console/terminal_device.h"
#include "graph/graph.h"
#include "graph/window/x11/x11_display.h"
#include "runtime/startup.h"

namespace {

constexpr const char* kUsage = R"(Usage: chaosplot [--help | --version]
Plays the chaos game: asks in the terminal for a starting point (inserire xp,
inserire yp) and a number of steps (inserire nmax), then draws a triangle in a
window and the path of the steps inside it. To "ancora? s/n", n ends the
program and any other answer starts another pass in a new window.

Keys:
  Ctrl+S   in the window: save it as a PNG file in the current directory
  Ctrl+C   end the program at once

Environment:
  DISPLAY  the X server the window opens on
)";

}  // namespace

int main(int argc, char** argv) {
    AnswerCommandLine(argc, argv, "chaosplot", kUsage);
    static X11Display display;
    SelectDisplay(display);
    static TerminalDevice terminal;
    PlugConsoleLayer(terminal);
    PlugGraphicsLayer();
    StartProgram(PlotterMain);
}
