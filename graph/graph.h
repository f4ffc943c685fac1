#pragma once
// The graphics library's public operations: the header a program includes. It needs only the
// standard library, the library's records (graph/graph_state.h) and the length-prefixed string.
// Mode-list building, slot defaults and the generic slot routines are the library's own
// business (graph/graph_internal.h).

#include <cstdint>

#include "graph/graph_state.h"
#include "runtime/key_codes.h"
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
// Saves what the newest graphics window shows (its shown page) as a PNG file named `fileName` (in the current
// directory unless the name has a folder), colours exact. An existing file of that name is
// replaced only once the new picture is written whole; a read-only file, a symbolic link to
// nothing and a pipe nobody reads are not written (a link to a file replaces that file). With no
// window, or when the file cannot be written, nothing changes on disk and GraphResult says
// GraphErrorGeneral (-11); otherwise GraphOk.
void SaveWindowPicture(const LengthPrefixedString& fileName);

// ---- Pages ------------------------------------------------------------------------------
// A window has two pages, 0 and 1: the one drawn on (every drawing operation, and every read
// such as ReadPixelAt, goes to it) and the one the window shows. Both are 0 after InitGraph. A
// program that animates draws each frame on the page not shown and then shows it: the window
// changes from one whole frame to the next. Page 1 takes memory only once it is selected, and
// starts black. Through the SelectDrawPage and ShowPage slots; a page above 1, or a page 1 the
// memory cannot hold, sets result code -11 and changes nothing.

void SelectPageToDraw(uint16_t page);
// SaveWindowPicture saves the shown page.
void SelectPageToShow(uint16_t page);

// ---- Keys and the pointer of the window ----------------------------------------------------
// What the user does in the newest graphics window, queued in the order done; keys typed in the
// terminal stay the console's. Each operation leaves result code 0 when it has its answer,
// -11 when there is no window or the user has closed it and nothing is left queued, and -12
// (GraphErrorNoInput) when the display supplies no keys (no pointer). A wait uses no processor.

// True when a key of the window is queued.
bool WindowKeyWaiting();
// The next key's code, as the console's key reading gives it: the character, or 0 and then the
// extended code; waits for a key. With none to come, kEndOfInputKey (26).
uint8_t ReadWindowKey();

// The pointer's buttons, as bits of PointerState.buttons (1 << (button - 1)) and in
// PointerChange. The wheel turns away from the user and towards the user as presses of buttons
// 4 and 5, which are never held.
constexpr uint8_t kPointerLeft = 1;
constexpr uint8_t kPointerRight = 2;
constexpr uint8_t kPointerMiddle = 3;
constexpr uint8_t kPointerWheelAway = 4;
constexpr uint8_t kPointerWheelTowards = 5;

// Where the pointer was last seen over the window, in surface coordinates, and the buttons held.
struct PointerState {
    int16_t x;
    int16_t y;
    uint8_t buttons;
};
PointerState ReadPointer();
// A button pressed or let go, and where.
struct PointerChange {
    uint8_t button;  // 0 when there is none to come
    bool pressed;
    int16_t x;
    int16_t y;
};
// True when a change of the window's buttons is queued.
bool PointerChangeWaiting();
// The next change; waits for one. With none to come, button 0 at the pointer's last position.
PointerChange ReadPointerChange();

// ---- Pixels, segments and the pen ----------------------------------------------------------
// Coordinates are viewport coordinates; with clipping on, nothing outside the viewport changes.

// Sets the pixel at (x, y) to `colour` through the WritePixel slot, whatever the write mode.
void PlotPixelAt(int16_t x, int16_t y, uint16_t colour);
// The colour of the pixel at (x, y), through the ReadPixel slot.
uint16_t ReadPixelAt(int16_t x, int16_t y);
// A segment from (x1, y1) to (x2, y2) in the line settings and write mode, through the DrawLine
// slot. The pen stays put.
void DrawSegment(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// The pen moves by (dx, dy), 16-bit arithmetic that wraps; PenLineBy draws the way it goes.
void PenMoveBy(int16_t dx, int16_t dy);
void PenLineBy(int16_t dx, int16_t dy);
// How lines, runs and pixels combine with what is there: 0 copy, 1 exclusive or, 2 or, 3 and,
// 4 complement of the colour. A mode above 4 sets result code -11 and changes nothing.
void SelectWriteMode(uint16_t mode);

// ---- Palette ------------------------------------------------------------------------------
// Through the WritePaletteEntry and ReadPaletteEntry slots. An index the mode has no entry for,
// or a mode without a palette, sets result code -11 and changes nothing.

void ChangePaletteEntry(int16_t index, PaletteEntry entry);
// The entry's colour; all zeros when it was refused.
PaletteEntry ReadPaletteEntryAt(int16_t index);
// Entries 0..count-1 from `entries`. A count below 0 or above the mode's number of colours,
// or no entries, sets result code -11 and changes nothing.
void ChangeWholePalette(const PaletteEntry* entries, int32_t count);
// Reads the first min(capacity, number of colours) entries into `entries` and returns how many.
// A mode without a palette, or no room given, sets result code -11 and reads none.
int32_t ReadWholePalette(PaletteEntry* entries, int32_t capacity);

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

// Clears the viewport to the background colour through the EraseViewportOp slot; the pen goes
// to (0, 0).
void EraseViewport();
// Clears the whole surface the same way, the viewport left as it was; the pen goes to (0, 0).
void EraseSurface();
// The mode's aspect factors (10000 is square pixels), the ones radii are corrected by.
void ReadAspectFactors(uint16_t& xFactor, uint16_t& yFactor);

// ---- Fill and text settings ---------------------------------------------------------------

// The fill pattern and colour, as SelectFill sets them.
struct FillSettings {
    uint16_t pattern;
    uint16_t colour;
};
void ReadFillSettings(FillSettings& settings);
// The 8 rows of pattern 12 (the top bit of a row is its leftmost pixel), and pattern 12 in
// `colour` selected as the fill. A null pattern or a colour above HighestColor sets result code
// -11 and changes nothing.
void DefineUserFillPattern(const uint8_t* rows, uint16_t colour);
// The text settings, as SelectTextStyle and SelectTextJustify set them.
struct TextSettings {
    uint16_t font;
    uint16_t direction;
    uint16_t size;
    uint16_t horizontal;
    uint16_t vertical;
};
void ReadTextSettings(TextSettings& settings);

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
// A wedge of the ellipse from startAngle to endAngle (taken as the arc operations take them):
// the pixels whose centres lie in the ellipse and between the two angles' rays, filled in the
// fill pattern and colour through the FillPatternSpan slot, then outlined in the drawing colour
// and line settings: the arc through the EllipseOp slot and the two radii to its end points
// (ReadLastArc) through the DrawLine slot. Angles are those of the ellipse's parameter, as on
// the arc: the ray at 45 degrees passes through (x + xRadius cos 45, y - yRadius sin 45). With
// clipping on, only the viewport changes.
void FillEllipticalWedge(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t xRadius,
                         uint16_t yRadius);
// The wedge of the circle DrawArc draws.
void FillWedge(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t radius);

// ---- Rectangles and bars ------------------------------------------------------------------
// Corners are viewport coordinates in either order; with clipping on, only the viewport changes.

// The outline in the line settings and write mode, through the DrawLine slot. Each corner is
// drawn once, so an outline in exclusive-or mode keeps its corners.
void OutlineRectangle(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// The rectangle filled in the fill pattern and colour, row by row through the FillPatternSpan
// slot, with no outline.
void FillBarArea(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// A bar for bar charts: the filled front with its outline, and a depth face receding `depth`
// pixels right and `depth` pixels up from the right side, outlined only; with `top`, the top
// face's outline too (leave it off for a bar stacked under another). A negative depth sets
// result code -11 and draws nothing.
void DrawDepthBar(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t depth, bool top);

// ---- Polygons -----------------------------------------------------------------------------
// Points are viewport coordinates; with clipping on, only the viewport changes. Fewer than 2
// points, or none given, set result code -11 and draw nothing.

struct GraphPoint {
    int16_t x;
    int16_t y;
};

// The segments from each point to the next in the line settings and write mode, through the
// DrawLine slot. The outline is closed only when the last point repeats the first.
void DrawPolygonOutline(const GraphPoint* points, int32_t count);
// The polygon closed from the last point back to the first: the pixels whose centres lie inside
// by the even-odd rule (a pixel is inside when a ray from its centre to the right crosses the
// edges an odd number of times, an edge holding its upper end but not its lower one) filled in
// the fill pattern and colour through the FillPatternSpan slot, then the closed outline as
// DrawPolygonOutline draws it. The fill's working memory is one 32-bit number per point; when
// the heap cannot hold it, result code -7 and nothing is drawn.
void FillPolygonArea(const GraphPoint* points, int32_t count);

// ---- Text ---------------------------------------------------------------------------------

// Font 0 is the built-in 8x8 font, 1..16 the registered fonts; direction 0 is horizontal, 1
// upwards. A font number above 16 or a direction above 1 sets result code -11 and changes
// nothing. Also sets the stroke scale that follows from the size.
void SelectTextStyle(uint16_t font, uint16_t direction, uint16_t size);
// Stroke fonts drawn at a free scale: xMultiplier / xDivisor pixels per glyph unit across,
// yMultiplier / yDivisor up, instead of the size's size / 4 both ways, until the next
// SelectTextStyle. A divisor of 0 sets result code -11 and changes nothing.
void ScaleStrokeText(uint16_t xMultiplier, uint16_t xDivisor, uint16_t yMultiplier, uint16_t yDivisor);
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
