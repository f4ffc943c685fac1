#pragma once
// A test's own connection to the X server: finds the program's windows, reads their pixels and
// properties, and acts as the user or the window manager would (asking a window to close,
// pressing keys and buttons in it).

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels 0x00RRGGBB, row by row.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// The picture as a TrueColor visual with these masks shows it: each channel the nearest level.
Picture ConvertedToVisual(const Picture& picture, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// "same" when equal, else the sizes or the number of differing pixels and the first of them.
std::string DescribeDifference(const Picture& expected, const Picture& actual);

struct WindowGeometry {
    int32_t x, y, width, height;
};

class XInspector {
public:
    XInspector();  // connects to $DISPLAY
    ~XInspector();
    XInspector(const XInspector&) = delete;
    XInspector& operator=(const XInspector&) = delete;

    bool connected() const;
    xcb_connection_t* connection() const { return connection_; }
    // The mapped top-level windows whose WM_CLASS class is className, lowest in the stack first.
    std::vector<xcb_window_t> WindowsOfClass(const std::string& className);
    Picture Capture(xcb_window_t window);
    // The window's pixels as the server stores them in its visual (16-bit values on a 16-bit
    // server), unconverted.
    Picture CaptureServerValues(xcb_window_t window);
    WindowGeometry Geometry(xcb_window_t window);
    std::string TextProperty(xcb_window_t window, const std::string& property);
    std::vector<xcb_atom_t> AtomProperty(xcb_window_t window, const std::string& property);
    xcb_atom_t Atom(const std::string& name);

    // What a window manager sends when the user closes the window.
    void SendDeleteWindow(xcb_window_t window);
    // A synthetic key press or release (server key code) or button event at (x, y).
    void SendKey(xcb_window_t window, uint8_t keycode, bool press, uint16_t state = 0);
    void SendButton(xcb_window_t window, uint8_t button, bool press, int16_t x, int16_t y);
    // A window of the given size at (x, y) raised over everything, or removed again.
    xcb_window_t CoverWith(int16_t x, int16_t y, uint16_t width, uint16_t height);
    void Remove(xcb_window_t window);
    // The server's key code for a keysym (first column), 0 when none.
    uint8_t KeycodeOf(uint32_t keysym);
    void Sync();

private:
    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
};
