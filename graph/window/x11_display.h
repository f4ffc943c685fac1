#pragma once
// Real windows on an X server, through XCB. Each window has its own connection, opened and used
// by the window's GUI thread only; other threads reach a window through its queue of posted
// events, which wakes the GUI thread through an eventfd. The back-buffer is shared with the
// server through MIT-SHM when the server offers it, so presenting costs one request; otherwise
// it lives in ordinary memory and is sent with put-image requests cut to the server's limit.
// A lost connection reads as the user closing the window: the process goes on.

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "graph/window/display.h"

struct X11Window;

class X11Display : public Display {
public:
    X11Display();
    ~X11Display() override;

    ScreenMetrics Metrics() override;
    WindowHandle CreateWindow(const WindowRequest& request) override;
    bool CreateBuffer(WindowHandle window, int32_t width, int32_t height,
                      PixelBuffer& buffer) override;
    void ShowWindow(WindowHandle window) override;
    WindowEvent NextEvent(WindowHandle window) override;
    void Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) override;
    void DestroyBuffer(WindowHandle window, PixelBuffer& buffer) override;
    void DestroyWindow(WindowHandle window) override;
    void PostDestroy(WindowHandle window) override;
    void PostQuit(WindowHandle window) override;
    void PostDamage(WindowHandle window) override;

private:
    std::shared_ptr<X11Window> Find(WindowHandle window);

    std::mutex registryMutex_;
    std::unordered_map<WindowHandle, std::shared_ptr<X11Window>> windows_;
    WindowHandle lastHandle_ = kNoWindow;
};
