#pragma once
// The window-system interface of the window back-end: the only calls the back-end makes to a
// window system. Screen metrics, create/show/destroy a window, the window's 32-bit back-buffer,
// the next event of a window (the user's keys and pointer among them), presenting a rectangle of
// the buffer on the window, and posting destroy/quit/damage requests from another thread.
// x11_display implements it for real windows, memory_display for tests and benchmarks; nothing
// in graph/ knows which one runs. Choose the display with SelectDisplay before the graphics
// layer's initialiser runs (BuildKnownModes reads the screen metrics).
//
// Stable interface: other engineers implement and call it. Add, do not rename.
//
// Threads. Each window belongs to one GUI thread, started by the back-end for it: that thread
// calls CreateWindow, CreateBuffer, ShowWindow, NextEvent, Present, DestroyBuffer,
// DestroyWindow and SetTitle for its window, and nothing else calls them for it. Metrics is
// called on the main thread. PostDestroy, PostQuit, PostDamage and PostWake may be called from
// any thread at any time, also for a window that is already destroyed (then they do nothing). Several windows, each
// with its own GUI thread, may be alive at once; a display must keep them independent (the X11
// display routes each window's events to its own thread over one shared connection).
//
// Pixels. A back-buffer holds 32-bit pixels 0x00RRGGBB (red in bits 16-23, green 8-15, blue
// 0-7: the X11 TrueColor ZPixmap layout). Note this is NOT the Win32 COLORREF order the library
// computes with (red in bits 0-7); the back-end converts at the boundary. The buffer is owned by
// its window: the display allocates it (so it can share it with the server), the back-end
// writes it under DrawLock, and Present reads it under DrawLock.

#include <cstdint>

#include "graph/screen_metrics.h"
#include "graph/window/pixel_rect.h"

// The Win32 message numbers of Key and Button events, defined here once for every display and
// every program that hooks window messages.
constexpr uint32_t WM_KEYDOWN = 0x100;  // first parameter: the virtual key
constexpr uint32_t WM_KEYUP = 0x101;
constexpr uint32_t WM_CHAR = 0x102;     // first parameter: the character
// The key messages' second parameter: repeat count in bits 0-15, the scan code in bits 16-23,
// the extended-key flag in bit 24; a release also sets bits 30 ("was down") and 31 ("going up").
constexpr int kKeyScanCodeShift = 16;
constexpr intptr_t kKeyExtendedFlag = 1 << 24;
constexpr intptr_t kKeyReleaseFlags = 0xC0000000;
constexpr uint32_t WM_LBUTTONDOWN = 0x201;
constexpr uint32_t WM_LBUTTONUP = 0x202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x203;
constexpr uint32_t WM_RBUTTONDOWN = 0x204;
constexpr uint32_t WM_RBUTTONUP = 0x205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x206;
constexpr uint32_t WM_MBUTTONDOWN = 0x207;
constexpr uint32_t WM_MBUTTONUP = 0x208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x209;
// The wheel: the first parameter's high 16 bits are the signed turn, positive away from the
// user; the second is the position as for the buttons. No mouse hook receives it.
constexpr uint32_t WM_MOUSEWHEEL = 0x20A;
constexpr int kWheelTurnShift = 16;

// A window of a display. 0 is no window. Handles are never reused within a process, so a late
// post to a destroyed window cannot reach a newer one.
using WindowHandle = uint64_t;
constexpr WindowHandle kNoWindow = 0;

struct WindowRequest {
    int32_t clientWidth;   // the surface's width (surfaceMaxX + 1)
    int32_t clientHeight;  // the surface's height (surfaceMaxY + 1)
    bool maximise;         // modes 245..249: ask the window manager to maximise
    const char* className; // "ZorvGraphWindow"
    const char* title;     // "Graph window application"
};

struct PixelBuffer {
    uint32_t* pixels;      // row r starts at pixels + r * stride
    int32_t width;
    int32_t height;
    int32_t stride;        // in pixels, >= width
    void* displayData;     // the display's own bookkeeping (shared-memory segment, ...)
};

// The whole buffer as a rectangle.
constexpr PixelRect BufferRect(const PixelBuffer& buffer) { return {0, 0, buffer.width, buffer.height}; }

enum class WindowEventKind : uint8_t {
    None,       // nothing (a display may return it after a spurious wake-up)
    Expose,     // part of the window needs repainting from the buffer: area
    Close,      // the user closed the window, or the display connection was lost
    Destroy,    // PostDestroy arrived (the back-end's WM_DESTROY)
    Quit,       // PostQuit arrived: end the event loop
    Damage,     // PostDamage arrived: the back-end has new pixels to present
    Key,        // keyboard: message is WM_KEYDOWN, WM_KEYUP or WM_CHAR
    Button,     // mouse button: message is one of WM_LBUTTONDOWN .. WM_MOUSEWHEEL
    Wake,       // PostWake arrived: a timer of the back-end has run out
    Motion,     // the pointer moved over the window: second is its position as for Button
};

struct WindowEvent {
    WindowEventKind kind;
    PixelRect area;    // Expose
    uint32_t message;  // Key, Button: the Win32 message number
    uintptr_t first;   // Key, Button: the Win32 first parameter
    intptr_t second;   // Key, Button, Motion: the Win32 second parameter
};

// The client position a Button or Motion event carries: x in the low 16 bits, y in the next 16.
constexpr intptr_t PackPosition(int16_t x, int16_t y) {
    return static_cast<intptr_t>(static_cast<uint16_t>(y)) << 16 | static_cast<uint16_t>(x);
}
constexpr int16_t PositionX(intptr_t position) { return static_cast<int16_t>(position & 0xFFFF); }
constexpr int16_t PositionY(intptr_t position) { return static_cast<int16_t>((position >> 16) & 0xFFFF); }

class Display {
public:
    virtual ~Display() = default;

    // Main thread: the four metrics W, H, FW, FH.
    virtual ScreenMetrics Metrics() = 0;

    // GUI thread: creates the window (not yet shown). kNoWindow on failure; the back-end then
    // reports "Window creation failed".
    virtual WindowHandle CreateWindow(const WindowRequest& request) = 0;
    // GUI thread: allocates the window's back-buffer of width x height pixels, contents
    // unspecified. False on failure.
    virtual bool CreateBuffer(WindowHandle window, int32_t width, int32_t height,
                              PixelBuffer& buffer) = 0;
    // GUI thread: shows the window (maximised when the request asked). The back-end calls it
    // before the ready handshake, so the window is shown before InitGraph returns.
    virtual void ShowWindow(WindowHandle window) = 0;
    // GUI thread: the next event of the window, waiting for one without using the processor.
    virtual WindowEvent NextEvent(WindowHandle window) = 0;
    // GUI thread, DrawLock held: copies the area of the buffer onto the window. The area is
    // already cut to the buffer; large areas come in bands of a few dozen rows, one call each
    // (unless ReadsBufferItself), so the copy must be done (or the pixels taken) before
    // Present returns.
    virtual void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) = 0;
    // GUI thread: true when the window system reads the back-buffer's memory itself, so that a
    // present of any size is one short request and need not come in bands.
    virtual bool ReadsBufferItself(WindowHandle) { return false; }
    // GUI thread: true when every pixel of the window's new buffer is 0 (black), as memory fresh
    // from the system is, so that the back-end need not paint it: writing a large buffer touches
    // each of its pages, which costs more than anything else in opening a window.
    virtual bool BufferStartsBlack(WindowHandle) { return false; }
    // GUI thread: releases the buffer (CreateBuffer's memory). The buffer is zeroed.
    virtual void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) = 0;
    // GUI thread: removes the window and everything the display kept for it. Posts to the
    // handle do nothing from now on.
    virtual void DestroyWindow(WindowHandle window) = 0;
    // GUI thread: the window's title from now on (UTF-8).
    virtual void SetTitle(WindowHandle window, const char* title) = 0;

    // Any thread: queue a Destroy, Quit or Damage event for the window (the event loop takes
    // them in the order posted, before later events of the window system where it can).
    // PostDamage is called by the drawing thread with DrawLock held, so none of them may wait
    // for the window's GUI thread (which may itself be waiting for DrawLock). The back-end posts
    // a window's damage once until its Damage event is taken.
    virtual void PostDestroy(WindowHandle window) = 0;
    virtual void PostQuit(WindowHandle window) = 0;
    virtual void PostDamage(WindowHandle window) = 0;
    // Any thread: queue a Wake event for the window, under the same rules.
    virtual void PostWake(WindowHandle window) = 0;

    // Any thread: whether the display's windows deliver Key events, and Button and Motion
    // events. A program that asks a display without them is told so by a result code.
    virtual bool SuppliesKeys() const { return false; }
    virtual bool SuppliesPointer() const { return false; }
};

// Chooses the display the back-end uses from now on and plugs the back-end into the library
// (backend.h); call it before the graphics layer's initialiser (RunLayerInits) runs. The
// display must outlive every window made on it. Without a selected display, the metrics are
// all 0 and every window creation fails.
void SelectDisplay(Display& display);
Display& SelectedDisplay();
