// chaosplot: the chaos game in a window on the X server named by DISPLAY, or as a picture in
// the terminal above the dialogue, with the dialogue on the terminal.

#include "app/command_line.h"
#include "app/display_choice.h"
#include "app/plotter.h"
#include "console/console.h"
#include "console/terminal_device.h"
#include "graph/graph.h"
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
  DISPLAY            the X server the window opens on
  CHAOSPLOT_DISPLAY  x11, terminal or none: where the window goes; by default
                     the X server when it answers, else the terminal when it
                     shows pictures (kitty graphics or sixel)
)";

// The rows the dialogue keeps below a picture in the terminal: three questions and their
// answers, "ancora? s/n" and its answer.
constexpr int32_t kDialogueRows = 8;

}  // namespace

int main(int argc, char** argv) {
    AnswerCommandLine(argc, argv, "chaosplot", kUsage);
    static TerminalDevice terminal;
    ChooseDisplay(&terminal, kDialogueRows);
    PlugConsoleLayer(terminal);
    PlugGraphicsLayer();
    StartProgram(PlotterMain);
}
