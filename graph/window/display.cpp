// The display the back-end uses (display.h). Until one is selected it is a display with no
// screen: all metrics 0 and no window can be made. Selecting one also plugs the back-end into
// the library, which backend.cpp does: this file sits below the back-end and calls none of it.

#include "graph/window/display.h"

#include "graph/window/backend.h"

namespace {

class NoDisplay final : public Display {
public:
    ScreenMetrics Metrics() override { return {0, 0, 0, 0}; }
    WindowHandle CreateWindow(const WindowRequest&) override { return kNoWindow; }
    bool CreateBuffer(WindowHandle, int32_t, int32_t, PixelBuffer&) override { return false; }
    void ShowWindow(WindowHandle) override {}
    WindowEvent NextEvent(WindowHandle) override { return {WindowEventKind::Quit, {}, 0, 0, 0}; }
    void Present(WindowHandle, const PixelBuffer&, PixelRect) override {}
    void DestroyBuffer(WindowHandle, PixelBuffer&) override {}
    void DestroyWindow(WindowHandle) override {}
    void SetTitle(WindowHandle, const char*) override {}
    void PostDestroy(WindowHandle) override {}
    void PostQuit(WindowHandle) override {}
    void PostDamage(WindowHandle) override {}
    void PostWake(WindowHandle) override {}
};

NoDisplay noDisplay;
Display* selectedDisplay = &noDisplay;

}  // namespace

void RememberDisplay(Display& display) { selectedDisplay = &display; }

Display& SelectedDisplay() { return *selectedDisplay; }
