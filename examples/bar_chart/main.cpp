// bar_chart: opens a window on the X server named by DISPLAY and draws a small report: a title
// in a stroke font, three bars with depth, a pie of three slices and a triangle, says "drawn"
// on standard output and waits for a line on standard input before it closes the window.
//
// The picture, in window pixels: the bars' fronts are filled blue (colour 1) over x 30..60,
// green (2) over 80..110 and red (4) over 130..160, standing on y = 150; the pie's centre is
// (260, 100), radius 50, its slices yellow (14) from 0 to 120 degrees, cyan (3) to 250 and
// magenta (5) to 360; the triangle (340, 150), (420, 150), (380, 70) is light green (10).
// Outlines are white.

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

void Bars() {
    struct Bar {
        int16_t left, top;
        uint16_t colour;
    };
    for (Bar bar : {Bar{30, 100, 1}, Bar{80, 60, 2}, Bar{130, 120, 4}}) {
        SelectFill(1, bar.colour);
        DrawDepthBar(bar.left, bar.top, static_cast<int16_t>(bar.left + 30), 150, 10, true);
    }
}

void Pie() {
    struct Slice {
        uint16_t from, to, colour;
    };
    for (Slice slice : {Slice{0, 120, 14}, Slice{120, 250, 3}, Slice{250, 360, 5}}) {
        SelectFill(1, slice.colour);
        FillWedge(260, 100, slice.from, slice.to, 50);
    }
}

[[noreturn]] void DrawReport() {
    RunLayerInits();
    int16_t driver = 0, mode = 0;  // driver 0: the library picks the mode for the screen
    InitGraph(driver, mode, "");
    if (GraphResult() != 0) {
        Say(DiagnosticText, "bar_chart: no window (is DISPLAY set?)");
        StopProgram(1);
    }
    SetDrawColor(15);
    SelectTextStyle(1, 0, 4);
    DrawTextAt(30, 5, "Quarterly report");  // hanging from y = 5: above the bars
    Bars();
    Pie();
    const GraphPoint triangle[] = {{340, 150}, {420, 150}, {380, 70}};
    SelectFill(1, 10);
    FillPolygonArea(triangle, 3);
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
    StartProgram(DrawReport);
}
