#pragma once
// The graphics library's process-wide context: GraphState, the table of replaceable
// drawing operations DriverSlots, the mode records (ModeEntry), FontRecord, the
// palette entry and the result codes. Plain records and global state, as the system has them;
// the generic algorithms reach the surface only through DriverSlots, and nothing here knows
// which display the window back-end runs on (graph/window/display.h).
//
// Stable interface: other parts of the library are written against these names. Add, do not
// rename.

#include <cstdint>

#include "runtime/length_prefixed.h"

// ---------------------------------------------------------------------------------------------
// Result codes (stored in GraphState.resultCode, read through GraphResult).

constexpr int16_t GraphOk = 0;
constexpr int16_t GraphErrorNotInGraphics = -1;
constexpr int16_t GraphErrorNotDetected = -2;
constexpr int16_t GraphErrorNoFillMemory = -7;
constexpr int16_t GraphErrorInvalidMode = -10;
constexpr int16_t GraphErrorGeneral = -11;
constexpr int16_t GraphErrorNoInput = -12;  // the display supplies no keys, or no pointer

// ---------------------------------------------------------------------------------------------
// Small shared records.

// A palette entry: red, green, blue as signed 16-bit values (0..255 in every table the system
// builds; WritePaletteEntry stores whatever it is given).
struct PaletteEntry {
    int16_t red;
    int16_t green;
    int16_t blue;
};

// The line settings handed out by GetStrokeStyle and back to SetStrokeStyle.
struct StrokeSettings {
    uint16_t style;
    uint16_t pattern;
    uint16_t thickness;
};

// One decoded stroke-font command: op 0 end, 1 ignored, 2 move, 3 draw.
struct StrokeCommand {
    uint8_t op;
    int16_t x;
    int16_t y;
};

constexpr int kGlyphStrokeCapacity = 1001;

// A registered font. Numbered 1..16 in GraphState.fontTable.
struct FontRecord {
    char name[9];      // at most 8 characters, NUL-terminated
    int32_t dataSize;  // bytes of data, 0 when none
    uint8_t* data;     // font data (HeapAllocate), null when not loaded; released at exit
    // Character tables used by stroke text.
    int16_t charCount;
    uint8_t firstChar;
    int8_t topExtent;
    int8_t descentExtent;
    uint16_t strokeOffsets[256];
    uint8_t advanceWidths[256];
};

constexpr int kFontTableSize = 16;

// ---------------------------------------------------------------------------------------------
// Routine types of the slots. Coordinates are signed 16-bit; "viewport" coordinates are relative
// to the viewport's top-left corner, "surface" coordinates to the surface's (PlotPixel only).

using PlotPixelRoutine = void (*)(int16_t x, int16_t y);                      // surface, no clip
using ReadPixelRoutine = uint16_t (*)(int16_t x, int16_t y);                  // viewport
using WritePixelRoutine = void (*)(int16_t x, int16_t y, uint16_t colour);    // viewport
using WritePaletteEntryRoutine = void (*)(int16_t index, int16_t red, int16_t green, int16_t blue);
using ReadPaletteEntryRoutine = void (*)(int16_t index, int16_t& red, int16_t& green,
                                         int16_t& blue);
using PageRoutine = void (*)(uint16_t page);                                  // ShowPage, SelectDrawPage
using EraseViewportRoutine = void (*)();
// Image buffers: 12-byte header, then 16-bit colours row by row.
using RestoreImageRoutine = void (*)(int16_t x, int16_t y, const void* buffer, uint16_t mode);
using SaveImageRoutine = void (*)(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer);
using ImageBufferSizeRoutine = int32_t (*)(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Reads ReadPixel(x, y) for x = x1..x2 into buffer[x - x1].
using ReadPixelRowRoutine = void (*)(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
using DrawLineRoutine = void (*)(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// A span routine (x1, x2, y), viewport coordinates (fills, arcs).
using SpanRoutine = void (*)(int16_t x1, int16_t x2, int16_t y);
// Elliptical arc: centre, radii, angles in degrees, span routine for interior rows.
using EllipseRoutine = void (*)(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius,
                                uint16_t startAngle, uint16_t endAngle, SpanRoutine span);
using FillPatternSpanRoutine = void (*)(int16_t x1, int16_t x2, int16_t y);
using HorizontalLineRoutine = void (*)(int16_t x1, int16_t x2, int16_t y);
using VerticalLineRoutine = void (*)(int16_t x, int16_t y1, int16_t y2);
// Text output: reference point in viewport coordinates.
using DrawTextRoutine = void (*)(int16_t x, int16_t y, const LengthPrefixedString& text);
using CircleRoutine = void (*)(int16_t x, int16_t y, uint16_t radius);
// The back-end's mode start hook (opens the window); reports failure through resultCode.
using ModeInitHookRoutine = void (*)();
using BackendStartupRoutine = void (*)();
// MessageHook / MouseHook: (window, message, first, second) -> result.
using WindowHookRoutine = int32_t (*)(uintptr_t window, uint32_t message, uintptr_t first,
                                      intptr_t second);

// ---------------------------------------------------------------------------------------------
// DriverSlots: in ModeEntry operation order; CircleOp last (no ModeEntry field).

struct DriverSlotsRecord {
    PlotPixelRoutine PlotPixel;                  //  1 required
    ReadPixelRoutine ReadPixel;                  //  2 required
    WritePixelRoutine WritePixel;                //  3 required
    WritePaletteEntryRoutine WritePaletteEntry;  //  4 required
    ReadPaletteEntryRoutine ReadPaletteEntry;    //  5 required
    PageRoutine ShowPage;                        //  6
    PageRoutine SelectDrawPage;                  //  7
    EraseViewportRoutine EraseViewportOp;        //  8
    RestoreImageRoutine RestoreImageOp;          //  9
    SaveImageRoutine SaveImageOp;                // 10
    ImageBufferSizeRoutine ImageBufferSizeOp;    // 11
    ReadPixelRowRoutine ReadPixelRow;            // 12
    DrawLineRoutine DrawLine;                    // 13
    EllipseRoutine EllipseOp;                    // 14
    FillPatternSpanRoutine FillPatternSpan;      // 15
    HorizontalLineRoutine DrawHorizontalLine;    // 16
    VerticalLineRoutine DrawVerticalLine;        // 17
    DrawTextRoutine DrawTextOp;                  // 18
    CircleRoutine CircleOp;                      // set only by InstallDefaultSlots
};

extern DriverSlotsRecord DriverSlots;

// ---------------------------------------------------------------------------------------------
// ModeEntry. The routine field that nothing sets or reads is dropped.

constexpr int kModeLabelLength = 18;

struct ModeEntry {
    int16_t driver;
    int16_t mode;
    int16_t classIndex;  // 1-based position in its class list; 0 in the KnownModes copy
    int32_t colorCount;
    int32_t secondColorCount;
    uint16_t aspectX;
    uint16_t aspectY;
    int16_t surfaceMaxX;
    int16_t surfaceMaxY;
    bool noPalette;
    uint8_t extraFlag;
    char label[kModeLabelLength + 1];  // NUL-terminated, cut to 18 characters
    // Operation fields, DriverSlots order; null where the mode does not supply one.
    PlotPixelRoutine PlotPixel;
    ReadPixelRoutine ReadPixel;
    WritePixelRoutine WritePixel;
    WritePaletteEntryRoutine WritePaletteEntry;
    ReadPaletteEntryRoutine ReadPaletteEntry;
    PageRoutine ShowPage;
    PageRoutine SelectDrawPage;
    EraseViewportRoutine EraseViewportOp;
    RestoreImageRoutine RestoreImageOp;
    SaveImageRoutine SaveImageOp;
    ImageBufferSizeRoutine ImageBufferSizeOp;
    ReadPixelRowRoutine ReadPixelRow;
    DrawLineRoutine DrawLine;
    EllipseRoutine EllipseOp;
    FillPatternSpanRoutine FillPatternSpan;
    HorizontalLineRoutine DrawHorizontalLine;
    VerticalLineRoutine DrawVerticalLine;
    ModeInitHookRoutine ModeInitHook;
    DrawTextRoutine DrawTextOp;
    ModeEntry* next;
};

// Colour-class drivers 11..21; lists indexed by driver - kFirstClassDriver.
constexpr int16_t kFirstClassDriver = 11;
constexpr int16_t kLastClassDriver = 21;
constexpr int kClassCount = 11;

// Marker mode numbers used inside lookups, and the special mode numbers of InitGraph.
constexpr int16_t kLowestModeMarker = -32768;
constexpr int16_t kHighestModeMarker = -32767;
constexpr int16_t kHighestModeRequest = 30000;
constexpr int16_t kFirstModeSizeCode = 30001;
constexpr int16_t kLastModeSizeCode = 30015;

struct ModeRange {
    int16_t lowest;
    int16_t highest;
};

// ---------------------------------------------------------------------------------------------
// GraphState.

struct GraphStateRecord {
    // Status
    int16_t resultCode;
    bool inGraphics;

    // Current mode
    int16_t currentDriver;
    int16_t classDriver;
    int16_t currentMode;
    LengthPrefixedString driverName;
    LengthPrefixedString driverPath;
    int32_t colorCount;
    int32_t secondColorCount;
    uint16_t aspectX;
    uint16_t aspectY;
    int16_t surfaceMaxX;
    int16_t surfaceMaxY;
    bool noPalette;
    uint8_t extraFlag;

    // Drawing settings
    int16_t penX;
    int16_t penY;
    uint16_t drawColor;
    uint16_t backColor;
    uint16_t writeMode;
    uint16_t fillPatternIndex;
    uint16_t fillColor;
    uint8_t userFillPattern[8];
    uint16_t strokeStyle;
    uint16_t strokePattern;
    uint16_t strokeThickness;
    uint8_t strokeMask[16];
    int16_t lastArc[6];  // centre x, centre y, start x, start y, end x, end y
    uint16_t textFont;
    uint16_t textDirection;
    uint16_t textSize;
    uint16_t textHorizJustify;
    uint16_t textVertJustify;

    // Viewport
    int16_t viewLeft;
    int16_t viewTop;
    int16_t viewMaxX;
    int16_t viewMaxY;
    bool clipOn;

    // Fonts (fontTable[0] is font 1)
    int32_t fontCount;
    FontRecord fontTable[kFontTableSize];

    // Text output state
    bool opaqueText;
    const uint8_t* charTranslation;  // 256 bytes, or null
    float strokeScaleX;
    float strokeScaleY;

    // Mode lists; classModeLists[i] / classModeRange[i] belong to driver 11 + i.
    ModeEntry* KnownModes;
    ModeEntry* classModeLists[kClassCount];
    ModeRange classModeRange[kClassCount];

    // Start-up and exit bookkeeping
    bool firstInitPending;
    BackendStartupRoutine backendStartup;
    void (*savedExitHandler)();

    // Back-end state touched by the main thread only (the rest lives in graph/window).
    PaletteEntry* paletteTable;  // colorCount entries, or null
    WindowHookRoutine MessageHook;
    WindowHookRoutine MouseHook;
};

extern GraphStateRecord GraphState;
