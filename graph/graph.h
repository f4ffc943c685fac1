#pragma once
// The graphics library's operations, as a program includes them: the public operations the main
// program calls (InitGraph, LeaveGraphics, SetDrawColor, PenLineTo, PenMoveTo, PenX, PenY,
// SelectFill, FloodFillArea, GraphResult), the other context, mode, line and fill operations,
// and PlugGraphicsLayer, which puts the library's start-up into the
// runtime's layer table. Records and slots are in graph/graph_state.h.

#include <cstdint>

#include "graph/graph_state.h"
#include "runtime/length_prefixed.h"

// ---- Layer ----------------------------------------------------------------------------------

// Plugs the library's start-up into the runtime's LayerTable as entry 5 (LayerGraphics).
// Select the display (graph/window/display.h) before RunLayerInits runs.
void PlugGraphicsLayer();
// The library start-up itself (what entry 5 runs), and the library's exit handler.
void GraphicsLayerInit();
void GraphExitHandler();

// ---- Public operations ----------------------------------------------------------------------

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

// ---- Context operations -------------------------------------------------------------------

void InstallDefaultSlots();
void ResetGraphState();
void ApplyDefaults();
void DefineViewport(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip);
void ReadViewport(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, bool& clip);
void ChangeBackground(uint16_t colour);
uint16_t HighestColor();
int16_t SurfaceMaxX();
int16_t SurfaceMaxY();
int16_t RegisterFontName(const LengthPrefixedString& name);

// ---- Modes --------------------------------------------------------------------------------

void BuildKnownModes();
void ClearModeEntry(ModeEntry& entry);
void FillBackendOps(ModeEntry& entry);
void InsertModeEntry(const ModeEntry& entry);
// The class driver (11..21) of a colour count, or 0 when it belongs to no class.
int16_t ColorClassOf(int32_t colorCount);
ModeEntry* LookupMode(int16_t driver, int16_t& mode);
void ModeNumberRange(int16_t driver, int16_t& lowest, int16_t& highest);
void ChooseBestMode(int16_t& driver, int16_t& mode, bool honourDriver);
void EnterMode(int16_t mode);
// Releases every ModeEntry of KnownModes and the class lists (GraphExitHandler).
void ReleaseModeLists();

// ---- Lines --------------------------------------------------------------------------------

void SetStrokeStyle(uint16_t style, uint16_t pattern, uint16_t thickness);
void GetStrokeStyle(StrokeSettings& settings);
// Cohen-Sutherland: true when nothing of the segment lies in the rectangle; otherwise moves the
// outside end points onto its edges.
bool ClipSegment(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, int16_t left, int16_t top,
                 int16_t right, int16_t bottom);
// PlotPixel at surface (x, y) unless clipOn and the point is outside the viewport.
void PlotClipped(int16_t x, int16_t y);

// Generic slot routines (installed by InstallDefaultSlots).
void GenericDrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
void GenericDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void GenericDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);
void GenericEraseViewport();

// ---- Fill ---------------------------------------------------------------------------------

// 13 patterns x 8 rows; entry 12 is GraphState.userFillPattern (FillPatternRow resolves it).
extern const uint8_t FillPatternTable[12][8];
uint8_t FillPatternRow(uint16_t pattern, int16_t surfaceY);
void GenericReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void GenericFillPatternSpan(int16_t x1, int16_t x2, int16_t y);

// ---- Generic routines of later issues (installed now, algorithms pending) --------------------

void GenericEllipse(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius, uint16_t startAngle,
                    uint16_t endAngle, SpanRoutine span);
void GenericCircle(int16_t x, int16_t y, uint16_t radius);
void IgnoreSpan(int16_t x1, int16_t x2, int16_t y);
void GenericDrawText(int16_t x, int16_t y, const LengthPrefixedString& text);
void GenericRestoreImage(int16_t x, int16_t y, const void* buffer, uint16_t mode);
void GenericSaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer);
int32_t GenericImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
