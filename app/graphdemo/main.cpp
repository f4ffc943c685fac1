// graphdemo: a gallery of the graphics library in a window on the X server named by DISPLAY,
// or as a picture in the terminal, chosen as chaosplot chooses. A key pressed in the window or
// in the terminal shows the next page; Escape, or closing the window, ends it. The last page is
// drawn on with the mouse. Each page is announced on standard output once it is drawn.

#include <unistd.h>

#include <string>

#include "app/command_line.h"
#include "app/display_choice.h"
#include "app/graphdemo/demo_keys.h"
#include "app/graphdemo/demo_pages.h"
#include "console/terminal_write.h"
#include "graph/graph.h"
#include "runtime/exit.h"
#include "runtime/fatal_line.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

// The rows the page lines keep below a picture in the terminal.
constexpr int32_t kLineRows = 3;
// The rows a picture in the terminal keeps at its top; 0 with a window on the X server.
int32_t pictureRows = 0;

void WriteLine(TextStream& stream, const std::string& text) {
    if (pictureRows == 0) {
        WriteText(0, stream, text);
        WriteLineEnd(stream);
        CheckPendingIoError();
        return;
    }
    // On the bottom row, scrolling only the rows below the picture, in turn with the picture's
    // writes; the scrolling region is the whole screen again at once, so no way out leaves it.
    const std::string below = "\x1b[" + std::to_string(pictureRows + 1) + "r";
    WriteToTerminal(STDOUT_FILENO, below + "\x1b[9999;1H" + text + "\r\n\x1b[r\x1b[9999;1H");
}

// 800 x 600 in 16 colours where the screen has room for it, else the best mode detected.
void OpenWindow() {
    int16_t driver = 10, mode = 258;
    InitGraph(driver, mode, "");
    if (GraphResult() == 0) return;
    driver = 0;
    InitGraph(driver, mode, "");
    if (GraphResult() != 0) StopWithFatalLine("graphdemo: no window could be opened (is DISPLAY set, or does the terminal show pictures?)");
}

[[noreturn]] void DemoMain() {
    RunLayerInits();
    OpenWindow();
    StartDemoKeys(ShowPictureAgain);
    for (int page = 1;; page = page % demoPageCount + 1) {
        BeginPage(page);
        demoPages[page - 1].draw();
        WriteLine(OutputText, "page " + std::to_string(page) + ": " + demoPages[page - 1].title);
        const auto run = demoPages[page - 1].run;
        if ((run != nullptr ? run(page) : AwaitDemoKey()) == DemoKey::End) break;
    }
    LeaveGraphics();
    ProcessExit();
}

constexpr const char* kUsage = R"(Usage: graphdemo [--help | --version]
Shows what the graphics library draws, a page at a time, in a window: line
styles, fill patterns, arcs, text, palettes, write modes and images; on the
last page, drawing with the mouse.

Keys:
  any key  in the window or the terminal: the next page
  Esc      end (closing the window ends it too)
  Ctrl+S   in the window: save it as a PNG file in the current directory

Mouse, on the last page:
  left button held   draw
  right button       wipe the drawing

Environment:
  DISPLAY            the X server the window opens on
  CHAOSPLOT_DISPLAY  x11, terminal or none: where the window goes; by default
                     the X server when it answers, else the terminal when it
                     shows pictures (kitty graphics or sixel)
)";

}  // namespace

int main(int argc, char** argv) {
    AnswerCommandLine(argc, argv, "graphdemo", kUsage);
    pictureRows = ChooseDisplay(nullptr, kLineRows);
    PlugGraphicsLayer();
    StartProgram(DemoMain);
}
