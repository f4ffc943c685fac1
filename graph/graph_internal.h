#pragma once
// The library's own routines beside the public operations: start-up and exit, slot defaults,
// mode-list building, and the generic slot routines that InstallDefaultSlots puts in
// DriverSlots. Not shipped to programs; graph/ and the window back-end include it.

#include <cstdint>

#include "graph/graph.h"
#include "runtime/length_prefixed.h"

// ---- Start-up and exit ----------------------------------------------------------------------

// The library start-up itself (what layer entry 5 runs), and the library's exit handler.
void GraphicsLayerInit();
void GraphExitHandler();
// Gives back the glyph data of every registered font (the exit handler's share; a test that
// starts the library afresh calls it too).
void ReleaseFontData();

// ---- Slot defaults and context --------------------------------------------------------------

void InstallDefaultSlots();
void ResetGraphState();
void ApplyDefaults();

// ---- Modes ----------------------------------------------------------------------------------

void BuildKnownModes();
void ClearModeEntry(ModeEntry& entry);
void InsertModeEntry(const ModeEntry& entry);
// The class driver (11..21) of a colour count, or 0 when it belongs to no class.
int16_t ColorClassOf(int32_t colorCount);
ModeEntry* LookupMode(int16_t driver, int16_t& mode);
void ModeNumberRange(int16_t driver, int16_t& lowest, int16_t& highest);
void ChooseBestMode(int16_t& driver, int16_t& mode, bool honourDriver);
// Sets the mode; true once the mode's start hook (the back-end's window) has run, whatever its
// result.
bool EnterMode(int16_t mode);
// Releases every ModeEntry of KnownModes and the class lists (GraphExitHandler).
void ReleaseModeLists();

// ---- Lines ----------------------------------------------------------------------------------

// Cohen-Sutherland: true when nothing of the segment lies in the rectangle; otherwise moves the
// outside end points onto its edges.
bool ClipSegment(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, int16_t left, int16_t top,
                 int16_t right, int16_t bottom);
// A sloped segment's way to the surface in the generic line routine: translates the viewport
// segment to surface coordinates (16-bit arithmetic) and, with clipping on, moves its ends onto
// the viewport; false when nothing of it is left to draw.
bool SegmentToSurface(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2);
// PlotPixel at surface (x, y) unless clipOn and the point is outside the viewport.
void PlotClipped(int16_t x, int16_t y);

void GenericDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
void GenericDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void GenericDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
void GenericEraseViewport();

// ---- Fill -----------------------------------------------------------------------------------

// 13 patterns x 8 rows; entry 12 is GraphState.userFillPattern (FillPatternRow resolves it).
extern const uint8_t FillPatternTable[12][8];
inline uint8_t FillPatternRow(uint16_t pattern, int16_t surfaceY) {
    const int row = surfaceY & 7;
    return pattern < 12 ? FillPatternTable[pattern][row] : GraphState.userFillPattern[row];
}
// The colour a span of this surface row is painted in when the fill pattern's row is solid:
// all ink, the drawing colour; no ink, the background colour. False for a mixed row, which the
// span routine paints pixel by pixel.
// Inline: the fill asks it for every run it paints.
inline bool SolidSpanColour(int16_t surfaceY, uint16_t& colour) {
    const uint8_t bits = FillPatternRow(GraphState.fillPatternIndex, surfaceY);
    if (bits != 0x00 && bits != 0xFF) return false;
    colour = bits == 0xFF ? GraphState.drawColor : GraphState.backColor;
    return true;
}
void GenericReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void GenericFillPatternSpan(int16_t x1, int16_t x2, int16_t y);

// ---- Arcs, text and image buffers -----------------------------------------------------------

void GenericEllipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius, uint16_t startAngle,
                    uint16_t endAngle, SpanRoutine span);
void GenericCircle(int16_t x, int16_t y, uint16_t radius);
// A radius corrected for the mode's aspect factor (10000 leaves it as it is); at least 1.
int32_t CorrectForAspect(uint16_t radius, uint16_t aspect);
// The angles as the arc routine takes them: each modulo 361, the smaller first.
void OrderArcAngles(uint16_t& startAngle, uint16_t& endAngle);
// The span routine of an outline: interior rows are not filled.
void IgnoreSpan(int16_t x1, int16_t x2, int16_t y);
void GenericDrawText(int16_t x, int16_t y, const LengthPrefixedString& text);
void GenericRestoreImage(int16_t x, int16_t y, const void* buffer, uint16_t mode);
void GenericSaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer);
int32_t GenericImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
