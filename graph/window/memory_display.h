#pragma once
// memory_display: the in-memory twin of the window system, for tests and
// benchmarks. Each window has an event queue, a back-buffer allocated here and a "window image":
// what the window shows, updated only by Present. Test controls simulate the user (uncover part
// of a window, close it) and inject failures; queries read windows from any thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "graph/window/display.h"

class MemoryDisplay final : public Display {
public:
    explicit MemoryDisplay(ScreenMetrics metrics = {1912, 1049, 1920, 1017});
    ~MemoryDisplay() override;

    // ---- Display ----
    ScreenMetrics Metrics() override;
    WindowHandle CreateWindow(const WindowRequest& request) override;
    bool CreateBuffer(WindowHandle window, int32_t width, int32_t height, PixelBuffer& buffer) override;
    void ShowWindow(WindowHandle window) override;
    WindowEvent NextEvent(WindowHandle window) override;
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override;
    void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) override;
    void DestroyWindow(WindowHandle window) override;
    void PostDestroy(WindowHandle window) override;
    void PostQuit(WindowHandle window) override;
    void PostDamage(WindowHandle window) override;
    void SetTitle(WindowHandle window, const char* title) override;
    void PostWake(WindowHandle window) override;
    bool ReadsBufferItself(WindowHandle window) override;
    bool BufferStartsBlack(WindowHandle) override { return true; }  // calloc's zeroed
    bool SuppliesKeys() const override { return !withholdsInput_; }
    bool SuppliesPointer() const override { return !withholdsInput_; }

    // ---- Test controls ----
    void SetMetrics(ScreenMetrics metrics);
    // Whether the display claims to read buffers itself (as a shared-memory one does), so
    // that presents come whole; the copies are made as before.
    void SetReadsBufferItself(bool reads);
    // Whether the display claims to supply no keys and no pointer, as a display without them.
    void WithholdInput(bool withholds) { withholdsInput_ = withholds; }
    // The next n window creations (or buffer creations) fail.
    void FailWindowCreations(int n);
    void FailBufferCreations(int n);
    // The user: part of the window is uncovered (its image there is first scribbled over with
    // `scribble`, as a stale screen would be); the window is closed.
    void Uncover(WindowHandle window, PixelRect area, uint32_t scribble = 0x00FF00FF);
    void Close(WindowHandle window);
    // The user presses a key: its window messages arrive in order.
    void PressKey(WindowHandle window, std::initializer_list<WindowEvent> messages);
    // The user types a key (scan code `scanCode`, extended when `extended`): WM_KEYDOWN, then
    // WM_CHAR unless `character` is 0, then WM_KEYUP, as a keyboard sends them.
    void TypeKey(WindowHandle window, uint16_t virtualKey, uint8_t scanCode, uint8_t character,
                 bool extended = false);
    // The user moves the pointer to (x, y); presses or lets go a button at (x, y) (`message` one
    // of WM_LBUTTONDOWN .. WM_MBUTTONDBLCLK), or turns the wheel there by `turn` (WM_MOUSEWHEEL).
    void MovePointer(WindowHandle window, int16_t x, int16_t y);
    void UseButton(WindowHandle window, uint32_t message, int16_t x, int16_t y, int16_t turn = 0);

    // ---- Queries (any thread) ----
    WindowHandle NewestWindow() const;
    bool IsOpen(WindowHandle window) const;     // created and not destroyed
    bool IsShown(WindowHandle window) const;
    bool HasBuffer(WindowHandle window) const;
    WindowRequest Request(WindowHandle window) const;
    // What the window shows at (x, y), 0x00RRGGBB; 0 outside.
    uint32_t WindowPixel(WindowHandle window, int32_t x, int32_t y) const;
    PixelRect LastPresentArea(WindowHandle window) const;
    // When each of the window's presents so far was called.
    std::vector<std::chrono::steady_clock::time_point> PresentTimes(WindowHandle window) const;
    // The window's title: the request's until SetTitle changes it.
    std::string Title(WindowHandle window) const;
    // Waits (up to timeoutMs) until the window's title is `title`; true if it is.
    bool WaitForTitle(WindowHandle window, const std::string& title, int timeoutMs = 5000) const;
    // Waits (up to timeoutMs) until the window's image at (x, y) is `value`; true if it is.
    bool WaitForWindowPixel(WindowHandle window, int32_t x, int32_t y, uint32_t value,
                            int timeoutMs = 5000) const;

private:
    // Zeroed pixels, from calloc: large ones come from the system lazily, untouched until used.
    struct FreePixels {
        void operator()(uint32_t* pixels) const;
    };
    using Pixels = std::unique_ptr<uint32_t[], FreePixels>;
    static Pixels ZeroedPixels(int32_t width, int32_t height);

    struct Window {
        WindowRequest request{};
        std::string title;
        bool open = true;
        bool shown = false;
        Pixels image;  // what the window shows
        Pixels buffer;
        int32_t width = 0;
        int32_t height = 0;
        std::deque<WindowEvent> events;
        PixelRect lastPresent{0, 0, 0, 0};
        std::vector<std::chrono::steady_clock::time_point> presentTimes;
    };
    Window* Find(WindowHandle window) const;  // mutex_ held
    void Post(WindowHandle window, WindowEvent event);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    ScreenMetrics metrics_;
    std::atomic<bool> readsBufferItself_{false};
    std::atomic<bool> withholdsInput_{false};
    int failWindows_ = 0;
    int failBuffers_ = 0;
    WindowHandle nextHandle_ = 1;
    std::map<WindowHandle, std::unique_ptr<Window>> windows_;
};
