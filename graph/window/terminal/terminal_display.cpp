// terminal_display: see terminal_display.h.

#include "graph/window/terminal/terminal_display.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "graph/window/terminal/kitty_encoder.h"
#include "graph/window/terminal/sixel_encoder.h"

namespace {

// The one image id the display uses: a new window's picture replaces the one before.
constexpr uint32_t kPictureId = 1;
constexpr char kSaveCursor[] = "\x1b" "7";
constexpr char kRestoreCursor[] = "\x1b" "8";

void AppendCursorTo(std::string& out, int32_t row, int32_t column) {
    out += "\x1b[" + std::to_string(row + 1) + ';' + std::to_string(column + 1) + 'H';
}

// The area widened to whole cells on its top and left, where a sixel image must start.
PixelRect ToCellCorner(PixelRect area, const PictureArea& cells) {
    area.left -= area.left % cells.cellWidth;
    area.top -= area.top % cells.cellHeight;
    return area;
}

}  // namespace

TerminalDisplay::TerminalDisplay(PictureProtocol protocol, PictureArea area, TerminalWriteSlot write,
                                 int sixelRegisters)
    : protocol_(protocol),
      area_{area.width, area.height, std::max(area.cellWidth, 1), std::max(area.cellHeight, 1)},
      write_(write),
      sixelRegisters_(sixelRegisters) {}

TerminalDisplay::~TerminalDisplay() = default;

ScreenMetrics TerminalDisplay::Metrics() { return {area_.width, area_.height, area_.width, area_.height}; }

std::shared_ptr<TerminalDisplay::Window> TerminalDisplay::Find(WindowHandle window) {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second;
}

WindowHandle TerminalDisplay::CreateWindow(const WindowRequest&) {
    std::lock_guard<std::mutex> guard(mutex_);
    WindowHandle handle = ++lastHandle_;
    windows_[handle] = std::make_shared<Window>();
    return handle;
}

bool TerminalDisplay::CreateBuffer(WindowHandle window, int32_t width, int32_t height, PixelBuffer& buffer) {
    std::shared_ptr<Window> w = Find(window);
    if (w == nullptr || width <= 0 || height <= 0) return false;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    w->buffer.reset(new uint32_t[pixels]);
    w->image.assign(pixels, 0);
    w->width = width;
    w->height = height;
    buffer = {w->buffer.get(), width, height, width, nullptr};
    return true;
}

void TerminalDisplay::ShowWindow(WindowHandle window) {
    std::shared_ptr<Window> w = Find(window);
    if (w == nullptr) return;
    std::lock_guard<std::mutex> guard(pictureMutex_);
    shown_ = window;
    w->sendWhole = true;
    w->unsent = {0, 0, w->width, w->height};
}

void TerminalDisplay::Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) {
    std::shared_ptr<Window> w = Find(window);
    if (w == nullptr || w->image.empty()) return;
    area = area.Intersected({0, 0, std::min(buffer.width, w->width), std::min(buffer.height, w->height)});
    if (area.IsEmpty()) return;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        std::memcpy(&w->image[static_cast<size_t>(y) * static_cast<size_t>(w->width) + static_cast<size_t>(area.left)],
                    buffer.pixels + static_cast<int64_t>(y) * buffer.stride + area.left,
                    sizeof(uint32_t) * static_cast<size_t>(area.right - area.left));
    }
    w->unsent = w->unsent.United(area);
}

void TerminalDisplay::SendUnsent(WindowHandle handle, Window& window) {
    std::lock_guard<std::mutex> guard(pictureMutex_);
    if (showAgain_ && shown_ == handle) {
        showAgain_ = false;
        window.sendWhole = true;
        window.unsent = {0, 0, window.width, window.height};
    }
    if (window.unsent.IsEmpty()) return;
    if (shown_ != handle) {
        window.unsent = {0, 0, 0, 0};  // a newer window's picture covers it
        return;
    }
    const PixelBuffer image{window.image.data(), window.width, window.height, window.width, nullptr};
    std::string out;
    // A whole picture replaces what the terminal showed there: the picture before, and with
    // sixel the cells too, where a resize may have moved text into the picture's rows.
    if (window.sendWhole) AppendRemoval(out);
    if (protocol_ == PictureProtocol::Kitty) {
        if (window.sendWhole) {
            out += kSaveCursor;
            AppendCursorTo(out, 0, 0);
            AppendKittyPicture(out, kPictureId, image);
            out += kRestoreCursor;
        } else {
            AppendKittyArea(out, kPictureId, image, window.unsent);
        }
    } else {
        PixelRect area = ToCellCorner(window.unsent, area_);
        std::string placeCursor;
        AppendCursorTo(placeCursor, area.top / area_.cellHeight, area.left / area_.cellWidth);
        out += kSaveCursor;
        AppendSixelArea(out, image, area, sixelRegisters_, placeCursor);
        out += kRestoreCursor;
    }
    window.sendWhole = false;
    window.unsent = {0, 0, 0, 0};
    write_(out);
}

void TerminalDisplay::AppendRemoval(std::string& out) const {
    if (protocol_ == PictureProtocol::Kitty) {
        AppendKittyRemoval(out, kPictureId);
        return;
    }
    // A sixel image is a part of the cells it lies on: erasing them removes it.
    out += kSaveCursor;
    for (int32_t row = 0; row * area_.cellHeight < area_.height; ++row) {
        AppendCursorTo(out, row, 0);
        out += "\x1b[2K";
    }
    out += kRestoreCursor;
}

std::string TerminalDisplay::RemovalBytes() const {
    std::string out;
    AppendRemoval(out);
    return out;
}

WindowEvent TerminalDisplay::NextEvent(WindowHandle window) {
    std::shared_ptr<Window> w = Find(window);
    if (w == nullptr) return {WindowEventKind::Quit, {}, 0, 0, 0};
    SendUnsent(window, *w);
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, [&] { return !w->events.empty() || windows_.count(window) == 0; });
    if (w->events.empty()) return {WindowEventKind::Quit, {}, 0, 0, 0};
    WindowEvent event = w->events.front();
    w->events.pop_front();
    return event;
}

void TerminalDisplay::DestroyBuffer(WindowHandle window, PixelBuffer& buffer) {
    if (std::shared_ptr<Window> w = Find(window)) w->buffer.reset();
    buffer = PixelBuffer{};
}

void TerminalDisplay::DestroyWindow(WindowHandle window) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        windows_.erase(window);
    }
    changed_.notify_all();
    std::lock_guard<std::mutex> guard(pictureMutex_);
    if (shown_ != window) return;
    shown_ = kNoWindow;
    std::string out;
    AppendRemoval(out);
    write_(out);
}

// A picture in the terminal has no title bar.
void TerminalDisplay::SetTitle(WindowHandle, const char*) {}

void TerminalDisplay::Post(WindowHandle window, WindowEventKind kind) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        auto it = windows_.find(window);
        if (it == windows_.end()) return;
        it->second->events.push_back({kind, {}, 0, 0, 0});
    }
    changed_.notify_all();
}

void TerminalDisplay::PostDestroy(WindowHandle window) { Post(window, WindowEventKind::Destroy); }
void TerminalDisplay::PostQuit(WindowHandle window) { Post(window, WindowEventKind::Quit); }
void TerminalDisplay::PostDamage(WindowHandle window) { Post(window, WindowEventKind::Damage); }
void TerminalDisplay::PostWake(WindowHandle window) { Post(window, WindowEventKind::Wake); }

void TerminalDisplay::ShowAgain() {
    WindowHandle shown;
    {
        std::lock_guard<std::mutex> guard(pictureMutex_);
        showAgain_ = true;
        shown = shown_;
    }
    Post(shown, WindowEventKind::None);  // the GUI thread sends it before it waits again
}
