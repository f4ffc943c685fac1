#pragma once
// Windows as pictures in the terminal the program runs in, drawn with the kitty graphics
// protocol or as sixel images, at one terminal pixel per buffer pixel from the top-left cell.
// The terminal shows one picture: that of the newest window shown, which replaces the one
// before; it is removed when its window is destroyed.
//
// Present only copies the area into the window's own image (the lock the drawing waits for is
// held meanwhile); the GUI thread encodes what changed and writes it through the write slot in
// its next NextEvent, outside that lock, so a slow terminal never holds up the drawing.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "graph/window/display.h"

enum class PictureProtocol : uint8_t { Kitty, Sixel };

// The part of the terminal pictures may cover, from its top-left cell, and the size of a cell.
struct PictureArea {
    int32_t width;  // pixels
    int32_t height;
    int32_t cellWidth;
    int32_t cellHeight;
};

// Writes bytes to the terminal whole, never interleaved with other writes to it.
using TerminalWriteSlot = void (*)(std::string_view bytes);

class TerminalDisplay final : public Display {
public:
    // Sixel images use at most `sixelRegisters` colour registers each.
    TerminalDisplay(PictureProtocol protocol, PictureArea area, TerminalWriteSlot write,
                    int sixelRegisters = kSixelRegisters);
    ~TerminalDisplay() override;

    // The registers every sixel terminal offers (a VT340 has 16).
    static constexpr int kSixelRegisters = 16;

    ScreenMetrics Metrics() override;
    WindowHandle CreateWindow(const WindowRequest& request) override;
    bool CreateBuffer(WindowHandle window, int32_t width, int32_t height, PixelBuffer& buffer) override;
    void ShowWindow(WindowHandle window) override;
    WindowEvent NextEvent(WindowHandle window) override;
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override;
    void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) override;
    void DestroyWindow(WindowHandle window) override;
    void SetTitle(WindowHandle window, const char* title) override;
    void PostDestroy(WindowHandle window) override;
    void PostQuit(WindowHandle window) override;
    void PostDamage(WindowHandle window) override;
    void PostWake(WindowHandle window) override;

    // The terminal may have moved or lost its picture (it was resized, or others wrote to it
    // while the program was stopped): the shown window's picture is sent again, whole and at its
    // place, from that window's GUI thread. Any thread.
    void ShowAgain();
    // The bytes that take the picture away, as when its window is destroyed; written on a way
    // out that destroys no window (a deadly signal), they are harmless when none is shown.
    std::string RemovalBytes() const;

private:
    struct Window {
        std::deque<WindowEvent> events;  // guarded by mutex_
        // GUI thread only.
        std::unique_ptr<uint32_t[]> buffer;
        std::vector<uint32_t> image;  // the pixels presented so far
        int32_t width = 0;
        int32_t height = 0;
        PixelRect unsent{0, 0, 0, 0};  // presented, not yet written to the terminal
        bool sendWhole = false;        // the terminal does not hold this window's picture yet
    };
    std::shared_ptr<Window> Find(WindowHandle window);
    void Post(WindowHandle window, WindowEventKind kind);
    // GUI thread: writes what the window presented since the last time, if it is the one shown.
    void SendUnsent(WindowHandle handle, Window& window);
    void AppendRemoval(std::string& out) const;

    const PictureProtocol protocol_;
    const PictureArea area_;
    const TerminalWriteSlot write_;
    const int sixelRegisters_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<WindowHandle, std::shared_ptr<Window>> windows_;
    WindowHandle lastHandle_ = kNoWindow;
    // Guards the terminal's picture: which window it shows and the writes that change it.
    std::mutex pictureMutex_;
    WindowHandle shown_ = kNoWindow;
    bool showAgain_ = false;
};
