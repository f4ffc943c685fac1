#pragma once
// The graphics library's public operations: the header a program includes. It needs only the
// standard library, the library's records (graph/graph_state.h) and the length-prefixed string.
// Mode-list building, slot defaults and the generic slot routines are the library's own
// business (graph/graph_internal.h).

#include <cstdint>

#include "graph/graph_state.h"
#include "runtime/length_prefixed.h"

// ---- Layer ----------------------------------------------------------------------------------

// Plugs the library's start-up into the runtime's LayerTable as entry 5 (LayerGraphics).
// Select the display (graph/window/display.h) before RunLayerInits runs.
void PlugGraphicsLayer();

// ---- Modes, pen, fill ---------------------------------------------------------------------

// In graphics mode, a request refused before a window is asked for (an unknown driver or mode:
// result code -10, or no mode detected) leaves the mode in use as it was; when the back-end
// cannot open the new window (-11), graphics mode ends as LeaveGraphics ends it.
// Modes sized after the screen are at most 32768 pixels a side, however large the screen.
void InitGraph(int16_t& driver, int16_t& mode, const LengthPrefixedString& path);
void LeaveGraphics();
void SetDrawColor(uint16_t colour);
void PenMoveTo(int16_t x, int16_t y);
void PenLineTo(int16_t x, int16_t y);
int16_t PenX();
int16_t PenY();
void SelectFill(uint16_t pattern, uint16_t colour);
void FloodFillArea(int16_t x, int16_t y, uint16_t border);
// The result code of the last operation that reports one. Reading it does not reset it.
int16_t GraphResult();
// True while the newest graphics window still shows (the user has not closed it).
bool GraphWindowShows();
// Saves what the newest graphics window shows as a PNG file named `fileName` (in the current
// directory unless the name has a folder), colours exact. An existing file of that name is
// replaced only once the new picture is written whole; a read-only file, a symbolic link to
// nothing and a pipe nobody reads are not written (a link to a file replaces that file). With no
// window, or when the file cannot be written, nothing changes on disk and GraphResult says
// GraphErrorGeneral (-11); otherwise GraphOk.
void SaveWindowPicture(const LengthPrefixedString& fileName);

// ---- Context ------------------------------------------------------------------------------

void DefineViewport(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip);
void ReadViewport(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, bool& clip);
void ChangeBackground(uint16_t colour);
uint16_t HighestColor();
int16_t SurfaceMaxX();
int16_t SurfaceMaxY();
int16_t RegisterFontName(const LengthPrefixedString& name);
// Default palette entry `colour` (0..255), the colours every mode set starts from.
PaletteEntry DefaultPaletteEntry(uint16_t colour);

// ---- Line settings ------------------------------------------------------------------------

void SetStrokeStyle(uint16_t style, uint16_t pattern, uint16_t thickness);
void GetStrokeStyle(StrokeSettings& settings);

// ---- Ellipses and arcs --------------------------------------------------------------------

// The centre and end points of the last arc drawn, in the order of GraphState.lastArc.
struct LastArcPoints {
    int16_t centreX;
    int16_t centreY;
    int16_t fromX;
    int16_t fromY;
    int16_t toX;
    int16_t toY;
};

// Angles in whole degrees, counter-clockwise from 3 o'clock; 0 to 360 is the whole outline. A
// thick arc is three rings r - 1, r and r + 1, the last no larger than 65535.
void DrawArc(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t radius);
void DrawEllipse(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t xRadius,
                 uint16_t yRadius);
void DrawCircle(int16_t x, int16_t y, uint16_t radius);
// A full ellipse outlined in the drawing colour with its inside filled in the fill pattern and
// colour (the FillPatternSpan slot).
void FillEllipseArea(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius);
LastArcPoints ReadLastArc();

// ---- Text ---------------------------------------------------------------------------------

// Font 0 is the built-in 8x8 font, 1..16 the registered fonts; direction 0 is horizontal, 1
// upwards. A font number above 16 or a direction above 1 sets result code -11 and changes
// nothing. Also sets the stroke scale that follows from the size.
void SelectTextStyle(uint16_t font, uint16_t direction, uint16_t size);
// Horizontal 0 left, 1 centre, 2 right; vertical 0 bottom, 1 centre, 2 top. Values above 2 set
// result code -11 and change nothing.
void SelectTextJustify(uint16_t horizontal, uint16_t vertical);
// Writes the text with the current settings through the DrawTextOp slot. The pen stays put.
void DrawTextAt(int16_t x, int16_t y, const LengthPrefixedString& text);
// Extents above 65535 pixels read 65535; justification uses the whole extent.
uint16_t MeasureTextWidth(const LengthPrefixedString& text);
uint16_t MeasureTextHeight(const LengthPrefixedString& text);

// ---- Image buffers ------------------------------------------------------------------------

// An image buffer holds a 12-byte header (width - 1 and height - 1 as signed 32-bit
// little-endian values, then 4 reserved bytes) followed by the 16-bit colours of the rectangle
// row by row from the top, each row from left to right.
constexpr int32_t kImageHeaderBytes = 12;

// Bytes needed to save the rectangle (x1, y1)-(x2, y2), corners included (x2 = x1 - 1 or
// y2 = y1 - 1 is an empty rectangle: the header alone). A rectangle with a negative side, or
// one that needs more than INT32_MAX bytes, gives 0 and result code -11.
int32_t ImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Saves the rectangle (viewport coordinates, x1 <= x2, y1 <= y2) into the buffer, which holds at
// least ImageBufferSize bytes. The rectangles ImageBufferSize refuses set result code -11 and
// write nothing.
void SaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer);
// Puts a saved image with its top-left corner at (x, y), combining it with the surface by the
// write mode (0 copy, 1 exclusive or, 2 or, 3 and, 4 complement). A header no SaveImage can
// write (a negative side, or a size ImageBufferSize refuses) sets result code -11 and draws
// nothing.
void PutImage(int16_t x, int16_t y, const void* buffer, uint16_t mode);
