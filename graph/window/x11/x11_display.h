#pragma once
// Real windows on an X server, through XCB. All windows share one connection (x11_connection.h),
// opened at the first need and kept for the rest of the process; a lost connection is replaced
// by a new one at the next window. Other threads reach a window through its queue of posted
// events. The back-buffer is shared with the server through MIT-SHM when the server offers it and
// its visual stores pixels as the buffer does, so presenting costs one request; otherwise it
// lives in ordinary memory and is converted to the visual and sent in put-image requests cut to
// the server's limit. A lost connection reads as the user closing the window: the process goes on.

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "graph/window/display.h"

class X11Connection;
class X11Window;

class X11Display : public Display {
public:
    X11Display();
    ~X11Display() override;

    // Whether the server DISPLAY names answers. The connection it opens stays for the windows
    // to come: a probe of its own that closed again would, on a server that resets when its
    // last client leaves, reset it just before the windows connect.
    bool Answers();

    ScreenMetrics Metrics() override;
    // On a display that cannot be reached at all, also says why on standard error.
    WindowHandle CreateWindow(const WindowRequest& request) override;
    bool CreateBuffer(WindowHandle window, int32_t width, int32_t height,
                      PixelBuffer& buffer) override;
    // Returns once the server has mapped the window (a window manager may still be framing it).
    void ShowWindow(WindowHandle window) override;
    WindowEvent NextEvent(WindowHandle window) override;
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override;
    // True for a buffer in memory shared with the server.
    bool ReadsBufferItself(WindowHandle window) override;
    // Shared memory and calloc's both come zeroed.
    bool BufferStartsBlack(WindowHandle) override { return true; }
    void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) override;
    void DestroyWindow(WindowHandle window) override;
    void PostDestroy(WindowHandle window) override;
    void PostQuit(WindowHandle window) override;
    void PostDamage(WindowHandle window) override;
    void SetTitle(WindowHandle window, const char* title) override;
    void PostWake(WindowHandle window) override;
    bool SuppliesKeys() const override { return true; }
    bool SuppliesPointer() const override { return true; }

private:
    std::shared_ptr<X11Window> Find(WindowHandle window);
    // The connection in use, opened again when there is none or it was lost.
    std::shared_ptr<X11Connection> Connection();

    // Apart from the registry: opening a connection may take long, and posts must not wait.
    std::mutex connectionMutex_;
    std::shared_ptr<X11Connection> connection_;
    std::mutex registryMutex_;
    std::unordered_map<WindowHandle, std::shared_ptr<X11Window>> windows_;
    WindowHandle lastHandle_ = kNoWindow;
};
