#pragma once
// The window back-end (windows, primitives, palette, back-end text) on the display interface of display.h.
//
// Ownership (design.md): each window owns its own 32-bit back-buffer. A GraphWindowRecord
// holds one window, its buffer, its ready flag and its GUI thread. The primitives draw on the
// newest window (currentWindow); an earlier window keeps its own picture and repaints from its
// own buffer, and closing it tears down only its own buffer.
//
// Drawing "on the window" (the second write of every primitive) is recording the pixels in the
// window's damage area; the window's GUI thread presents that area from the buffer, at most
// about every kPresentIntervalMs milliseconds, in bands of kPresentBandRows rows.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "graph/graph_state.h"
#include "graph/window/backend_text.h"
#include "graph/window/display.h"
#include "graph/window/draw_lock.h"

constexpr int kPresentIntervalMs = 16;
constexpr int32_t kPresentBandRows = 32;

struct GraphWindowRecord {
    // Written by the GUI thread before the ready handshake, then read-only.
    WindowHandle handle = kNoWindow;
    WindowRequest request{};
    // Guarded by DrawLock.
    PixelBuffer buffer{};
    bool surfaceReady = false;
    PixelRect damage{0, 0, 0, 0};  // empty when right <= left
    bool damageAll = false;        // damage is the whole buffer
    bool damagePosted = false;
    // The handshake and the thread.
    std::thread thread;
    bool readySignalled = false;  // guarded by windowsMutex: the buffer exists
    bool ended = false;     // guarded by windowsMutex
    bool joined = false;    // main thread only
    GraphWindowRecord* nextRecord = nullptr;  // all records ever made, newest first
};

// The newest window: the one the primitives draw on (DrawLock). Null before the first mode set.
extern GraphWindowRecord* currentWindow;
// All window records, newest first (windowsMutex).
extern GraphWindowRecord* allWindows;
// Never destroyed: GUI threads of windows still open when the process ends may use them.
extern std::mutex& windowsMutex;
extern std::condition_variable& windowsChanged;

// ---- Windows and the GUI thread ----
void BackendStartup();   // registered as backendStartup; does nothing
void ModeInitHook();
void GuiThread(GraphWindowRecord* record);  // its thread routine
// LeaveGraphics steps 2 to 5: ask the newest window to destroy itself and its thread to quit,
// and wait for the thread.
void StopNewestWindow();
// Closes every window still open and waits for all GUI threads; then forgets all records.
// For tests and tools; the program itself leaves earlier windows to the end of the process.
void ShutdownAllWindows();

// ---- Colours and primitives ----
// COLORREF layout: red bits 0-7, green 8-15, blue 16-23.
inline uint32_t ColorToRgb(int16_t red, int16_t green, int16_t blue) {
    return (static_cast<uint32_t>(red) & 0xFF) | ((static_cast<uint32_t>(green) & 0xFF) << 8) |
           ((static_cast<uint32_t>(blue) & 0xFF) << 16);
}
// Buffer pixels are 0x00RRGGBB: the same 24 bits with red and blue exchanged.
inline uint32_t RgbToPixel(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
inline uint32_t PixelToRgb(uint32_t pixel) { return RgbToPixel(pixel); }
// What GetPixel yields off the surface.
constexpr uint32_t kInvalidRgb = 0xFFFFFFFF;

uint16_t NearestColor(uint8_t red, uint8_t green, uint8_t blue);
// The palette index a colour number draws: colour numbers at or above colorCount wrap to
// colour AND (colorCount - 1) (colorCount is 16 or 256), so write mode 4's 16-bit complement
// 65535 - c draws entry colorCount - 1 - c.
int32_t PaletteIndexOf(uint32_t colour);

// For the back-end text, DrawLock held: the buffer pixel of a colour number, and an area of the
// buffer joining the window's damage.
uint32_t BackendPixelOfColour(uint32_t colour);
void BackendMarkDamage(GraphWindowRecord* window, PixelRect area);

void BackendPlotPixel(int16_t x, int16_t y);
void BackendWritePixel(int16_t x, int16_t y, uint16_t colour);
uint16_t BackendReadPixel(int16_t x, int16_t y);
// The back-end's ReadPixelRow: the same colours as ReadPixel pixel by pixel, under one lock.
void BackendReadPixelRow(int16_t x1, int16_t x2, int16_t y, uint16_t* buffer);
void BackendDrawHorizontalLine(int16_t x1, int16_t x2, int16_t y);
void BackendDrawVerticalLine(int16_t x, int16_t y1, int16_t y2);

// ---- Palette ----
extern const std::array<PaletteEntry, 256> defaultPalette;
// Bumped whenever an entry of paletteTable may have changed (NearestColor's cache).
extern uint32_t paletteGeneration;
extern int32_t paletteTableCount;  // entries of the allocated paletteTable
void BackendWritePaletteEntry(int16_t index, int16_t red, int16_t green, int16_t blue);
void BackendReadPaletteEntry(int16_t index, int16_t& red, int16_t& green, int16_t& blue);
void BackendShowPage(uint16_t page);
void BackendSelectDrawPage(uint16_t page);
// Releases paletteTable (LeaveGraphics step 7).
void ReleasePaletteTable();

