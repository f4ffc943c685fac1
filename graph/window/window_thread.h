#pragma once
// The back-end's windows: one record per window, the newest of them (the one the primitives
// draw on), and the GUI thread each window runs. Private to graph/window/.
//
// Ownership: each window owns its own 32-bit back-buffers, two pages: page 0 is the display's
// buffer, page 1 memory of the back-end's, made when a program first selects it. The primitives
// draw on the draw page and read from it; the window presents the shown page. A
// GraphWindowRecord holds one window, its pages, its ready flag and its GUI thread. The primitives draw on the newest window
// (Backend.newestWindow, backend_state.h); an earlier window keeps its own picture and repaints
// from its own buffer, and closing it tears down only its own buffer.
//
// Drawing "on the window" (the second write of every primitive) is recording the pixels in the
// window's damage area; the window's GUI thread presents that area from the buffer, at most
// once a display interval while drawing goes on (kPresentInterval, counted from the start of one
// present to the start of the next) and as soon as drawing stops (kDrawingPause), in bands of
// kPresentBandRows rows, or whole where the display reads the buffer itself.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/types.h>

#include "graph/window/backend_state.h"
#include "graph/window/display.h"
#include "graph/window/draw_lock.h"
#include "graph/window/segment_memory.h"
#include "graph/window/input_queue.h"
#include "graph/window/surface.h"

constexpr std::chrono::microseconds kPresentInterval{16667};  // 60 presents a second
// Drawing that has paused this long, its thread waiting, is taken to have stopped: what it
// left is presented then, without waiting for the rest of the interval.
constexpr std::chrono::microseconds kDrawingPause{1000};
constexpr int32_t kPresentBandRows = 32;

struct GraphWindowRecord {
    // The display the window was made on; written before the GUI thread starts.
    Display* display = nullptr;
    // Written by the GUI thread before the ready handshake, then read-only.
    WindowHandle handle = kNoWindow;
    WindowRequest request{};
    // Guarded by DrawLock.
    PixelBuffer buffer{};                  // page 0, the display's
    std::unique_ptr<uint32_t[]> secondPage;  // page 1, buffer-sized, stride the width; null until selected
    uint16_t drawPage = 0;
    uint16_t shownPage = 0;
    bool pageSwitched = false;  // the shown page changed: the next present is the whole page in one piece
    // Moves on at every write on the draw page but the copy of a solid segment (primitives.cpp):
    // whatever DrawOnNewestSurface runs, and the draw page handed to a caller (NewestWindowBuffer).
    uint64_t drawingGeneration = 0;
    // The solid segments copied onto the draw page in this generation (drawing thread only).
    SegmentMemory segments;
    bool surfaceReady = false;
    PixelRect damage{0, 0, 0, 0};  // buffer pixels not yet presented; may be empty
    bool damageAll = false;        // damage is the whole buffer
    bool damagePosted = false;
    // The thread that set the mode, which draws on the window; written before the GUI thread
    // starts.
    pid_t drawingThread = 0;
    // The handshake and the thread.
    std::thread thread;
    bool readySignalled = false;  // guarded by Backend.windowsMutex: the buffer exists
    bool ended = false;     // guarded by Backend.windowsMutex
    bool joined = false;    // main thread only
    GraphWindowRecord* nextRecord = nullptr;  // all records ever made, newest first
    // The user's keys and pointer in the window, for the program; closed with the buffer.
    InputQueue input;

    // DrawLock held: a page as a buffer, the draw page as a surface.
    PixelBuffer Page(uint16_t page) const {
        return page == 0 ? buffer : PixelBuffer{secondPage.get(), buffer.width, buffer.height, buffer.width, nullptr};
    }
    PixelBuffer ShownPage() const { return Page(shownPage); }
    ::Surface Surface() const {
        const PixelBuffer page = Page(drawPage);
        return Surface::Over(page.pixels, page.width, page.height, page.stride);
    }
};


// ---- Windows and the GUI thread ----
void ModeInitHook();
void GuiThread(GraphWindowRecord* record);  // its thread routine
// LeaveGraphics' share of the windows: ask the newest window to destroy itself and its thread
// to quit, and wait for the thread.
void StopNewestWindow();
// True while the newest window's buffer exists (the user has not closed it).
bool NewestWindowShows();

// ---- Damage ----
// DrawLock held: the area (already cut to the buffer) joins the window's damage, which its GUI
// thread presents. Inline, because every pixel passes here and almost always leaves at once
// (the damage already holds it); growing the damage is the slow side, out of line.
void GrowDamage(GraphWindowRecord* window, PixelRect area);
inline void MarkDamage(GraphWindowRecord* window, PixelRect area) {
    if (window->damageAll) [[likely]] return;
    if (!window->damage.IsEmpty() && window->damage.Contains(area)) [[likely]] return;
    GrowDamage(window, area);
}

// ---- The way to the pixels ----
// DrawLock held: the newest window, when its surface is ready; else null.
inline GraphWindowRecord* NewestReadyWindow() {
    GraphWindowRecord* window = Backend.newestWindow;
    return window != nullptr && window->surfaceReady ? window : nullptr;
}
// Runs `read` on the newest window's surface under DrawLock; false, without running it, while
// no surface is ready.
template <class Read>
bool ReadNewestSurface(Read read) {
    DrawingSide lock;
    const GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return false;
    read(window->Surface());
    return true;
}
// DrawLock held: runs `draw` on the window's surface and adds the rectangle it returns to the
// window's damage when the window shows the page drawn on.
template <class Draw>
void DrawOnWindow(GraphWindowRecord* window, Draw draw) {
    const PixelRect touched = draw(window->Surface());
    if (!touched.IsEmpty() && window->drawPage == window->shownPage) MarkDamage(window, touched);
}
// Runs `draw` on the newest window's surface under DrawLock, as a new drawing generation of its
// draw page; nothing while no surface is ready.
template <class Draw>
void DrawOnNewestSurface(Draw draw) {
    DrawingSide lock;
    GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return;
    ++window->drawingGeneration;
    DrawOnWindow(window, draw);
}
