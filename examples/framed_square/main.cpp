// framed_square: opens a window on the X server named by DISPLAY, draws a white square frame,
// fills it green and crosses it with a yellow diagonal, says "drawn" on standard output and
// waits for a line on standard input before it closes the window.
//
// The picture, in window pixels: the frame's corners are (20, 20) and (120, 120), the inside is
// green (colour 2), the diagonal runs from (20, 20) to (120, 120), the rest is black.

#include <graph/graph.h>
#include <graph/window/x11/x11_display.h>
#include <runtime/exit.h>
#include <runtime/startup.h>
#include <runtime/text_stream.h>

namespace {

void Say(TextStream& stream, const char* text) {
    WriteText(0, stream, text);
    WriteLineEnd(stream);
    CheckPendingIoError();
}

[[noreturn]] void DrawPicture() {
    RunLayerInits();
    int16_t driver = 0, mode = 0;  // driver 0: the library picks the mode for the screen
    InitGraph(driver, mode, "");
    if (GraphResult() != 0) {
        Say(DiagnosticText, "framed_square: no window (is DISPLAY set?)");
        StopProgram(1);
    }
    SetDrawColor(15);
    PenMoveTo(20, 20);
    PenLineTo(120, 20);
    PenLineTo(120, 120);
    PenLineTo(20, 120);
    PenLineTo(20, 20);
    SelectFill(1, 2);
    FloodFillArea(70, 40, 15);
    SetDrawColor(14);
    PenLineTo(120, 120);
    Say(OutputText, "drawn");

    ReadChar(InputText);
    LeaveGraphics();
    ProcessExit();
}

}  // namespace

int main() {
    static X11Display display;
    SelectDisplay(display);
    PlugGraphicsLayer();
    StartProgram(DrawPicture);
}
