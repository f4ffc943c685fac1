// memory_display: see memory_display.h.

#include "graph/window/memory_display.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

MemoryDisplay::MemoryDisplay(ScreenMetrics metrics) : metrics_(metrics) {}

MemoryDisplay::~MemoryDisplay() = default;

void MemoryDisplay::FreePixels::operator()(uint32_t* pixels) const { std::free(pixels); }

MemoryDisplay::Pixels MemoryDisplay::ZeroedPixels(int32_t width, int32_t height) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    return Pixels(static_cast<uint32_t*>(std::calloc(std::max<size_t>(count, 1), sizeof(uint32_t))));
}

MemoryDisplay::Window* MemoryDisplay::Find(WindowHandle window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

ScreenMetrics MemoryDisplay::Metrics() {
    std::lock_guard<std::mutex> guard(mutex_);
    return metrics_;
}

void MemoryDisplay::SetMetrics(ScreenMetrics metrics) {
    std::lock_guard<std::mutex> guard(mutex_);
    metrics_ = metrics;
}

void MemoryDisplay::SetReadsBufferItself(bool reads) { readsBufferItself_ = reads; }

bool MemoryDisplay::ReadsBufferItself(WindowHandle) { return readsBufferItself_; }

void MemoryDisplay::FailWindowCreations(int n) {
    std::lock_guard<std::mutex> guard(mutex_);
    failWindows_ = n;
}

void MemoryDisplay::FailBufferCreations(int n) {
    std::lock_guard<std::mutex> guard(mutex_);
    failBuffers_ = n;
}

WindowHandle MemoryDisplay::CreateWindow(const WindowRequest& request) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (failWindows_ > 0) {
        --failWindows_;
        return kNoWindow;
    }
    auto window = std::make_unique<Window>();
    window->request = request;
    window->title = request.title == nullptr ? "" : request.title;
    // The client area: the request's size, or the maximised area when maximised.
    window->width = request.maximise ? metrics_.maximisedClientWidth : request.clientWidth;
    window->height = request.maximise ? metrics_.maximisedClientHeight : request.clientHeight;
    if (window->width < 0) window->width = 0;
    if (window->height < 0) window->height = 0;
    window->image = ZeroedPixels(window->width, window->height);
    if (window->image == nullptr) return kNoWindow;
    WindowHandle handle = nextHandle_++;
    windows_[handle] = std::move(window);
    changed_.notify_all();
    return handle;
}

bool MemoryDisplay::CreateBuffer(WindowHandle window, int32_t width, int32_t height, PixelBuffer& buffer) {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    if (w == nullptr || width <= 0 || height <= 0) return false;
    if (failBuffers_ > 0) {
        --failBuffers_;
        return false;
    }
    w->buffer = ZeroedPixels(width, height);
    if (w->buffer == nullptr) return false;
    buffer = {w->buffer.get(), width, height, width, nullptr};
    return true;
}

void MemoryDisplay::ShowWindow(WindowHandle window) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (Window* w = Find(window)) w->shown = true;
    changed_.notify_all();
}

WindowEvent MemoryDisplay::NextEvent(WindowHandle window) {
    std::unique_lock<std::mutex> guard(mutex_);
    for (;;) {
        Window* w = Find(window);
        if (w == nullptr) return {WindowEventKind::Quit, {}, 0, 0, 0};
        if (!w->events.empty()) {
            WindowEvent event = w->events.front();
            w->events.pop_front();
            return event;
        }
        changed_.wait(guard);
    }
}

void MemoryDisplay::Present(WindowHandle window, const PixelBuffer& buffer, PixelRect area) {
    const std::chrono::steady_clock::time_point called = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    if (w == nullptr || !w->open) return;
    int32_t right = std::min({area.right, buffer.width, w->width});
    int32_t bottom = std::min({area.bottom, buffer.height, w->height});
    for (int32_t y = std::max(area.top, 0); y < bottom; ++y) {
        int32_t left = std::max(area.left, 0);
        if (left >= right) break;
        std::memcpy(&w->image[static_cast<size_t>(y) * static_cast<size_t>(w->width) + static_cast<size_t>(left)],
                    buffer.pixels + static_cast<int64_t>(y) * buffer.stride + left,
                    sizeof(uint32_t) * static_cast<size_t>(right - left));
    }
    w->lastPresent = area;
    w->presentTimes.push_back(called);
    changed_.notify_all();
}

void MemoryDisplay::DestroyBuffer(WindowHandle window, PixelBuffer& buffer) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (Window* w = Find(window)) w->buffer.reset();
    buffer = PixelBuffer{};
}

void MemoryDisplay::DestroyWindow(WindowHandle window) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (Window* w = Find(window)) {
        w->open = false;
        w->shown = false;
        w->events.clear();
    }
    changed_.notify_all();
}

void MemoryDisplay::Post(WindowHandle window, WindowEvent event) {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    if (w == nullptr || !w->open) return;
    w->events.push_back(event);
    changed_.notify_all();
}

void MemoryDisplay::PostDestroy(WindowHandle window) { Post(window, {WindowEventKind::Destroy, {}, 0, 0, 0}); }
void MemoryDisplay::PostQuit(WindowHandle window) { Post(window, {WindowEventKind::Quit, {}, 0, 0, 0}); }
void MemoryDisplay::PostDamage(WindowHandle window) { Post(window, {WindowEventKind::Damage, {}, 0, 0, 0}); }

void MemoryDisplay::PostWake(WindowHandle window) { Post(window, {WindowEventKind::Wake, {}, 0, 0, 0}); }

void MemoryDisplay::SetTitle(WindowHandle window, const char* title) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (Window* w = Find(window)) w->title = title;
    changed_.notify_all();
}

void MemoryDisplay::PressKey(WindowHandle window, std::initializer_list<WindowEvent> messages) {
    for (const WindowEvent& message : messages) Post(window, message);
}

void MemoryDisplay::TypeKey(WindowHandle window, uint16_t virtualKey, uint8_t scanCode, uint8_t character,
                            bool extended) {
    const intptr_t flags = 1 | static_cast<intptr_t>(scanCode) << kKeyScanCodeShift | (extended ? kKeyExtendedFlag : 0);
    Post(window, {WindowEventKind::Key, {}, WM_KEYDOWN, virtualKey, flags});
    if (character != 0) Post(window, {WindowEventKind::Key, {}, WM_CHAR, character, flags});
    Post(window, {WindowEventKind::Key, {}, WM_KEYUP, virtualKey, flags | kKeyReleaseFlags});
}

void MemoryDisplay::MovePointer(WindowHandle window, int16_t x, int16_t y) {
    Post(window, {WindowEventKind::Motion, {}, 0, 0, PackPosition(x, y)});
}

void MemoryDisplay::UseButton(WindowHandle window, uint32_t message, int16_t x, int16_t y, int16_t turn) {
    const uintptr_t first = static_cast<uintptr_t>(static_cast<uint16_t>(turn)) << kWheelTurnShift;
    Post(window, {WindowEventKind::Button, {}, message, first, PackPosition(x, y)});
}

void MemoryDisplay::Uncover(WindowHandle window, PixelRect area, uint32_t scribble) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        Window* w = Find(window);
        if (w == nullptr || !w->open) return;
        for (int32_t y = std::max(area.top, 0); y < std::min(area.bottom, w->height); ++y) {
            for (int32_t x = std::max(area.left, 0); x < std::min(area.right, w->width); ++x) {
                w->image[static_cast<size_t>(y) * static_cast<size_t>(w->width) + static_cast<size_t>(x)] = scribble;
            }
        }
    }
    Post(window, {WindowEventKind::Expose, area, 0, 0, 0});
}

void MemoryDisplay::Close(WindowHandle window) { Post(window, {WindowEventKind::Close, {}, 0, 0, 0}); }

WindowHandle MemoryDisplay::NewestWindow() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return windows_.empty() ? kNoWindow : windows_.rbegin()->first;
}

bool MemoryDisplay::IsOpen(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w != nullptr && w->open;
}

bool MemoryDisplay::IsShown(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w != nullptr && w->shown;
}

bool MemoryDisplay::HasBuffer(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w != nullptr && w->buffer != nullptr;
}

WindowRequest MemoryDisplay::Request(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w == nullptr ? WindowRequest{} : w->request;
}

uint32_t MemoryDisplay::WindowPixel(WindowHandle window, int32_t x, int32_t y) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    if (w == nullptr || x < 0 || y < 0 || x >= w->width || y >= w->height) return 0;
    return w->image[static_cast<size_t>(y) * static_cast<size_t>(w->width) + static_cast<size_t>(x)];
}

bool MemoryDisplay::WaitForWindowPixel(WindowHandle window, int32_t x, int32_t y, uint32_t value,
                                       int timeoutMs) const {
    std::unique_lock<std::mutex> guard(mutex_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        Window* w = Find(window);
        if (w == nullptr || x < 0 || y < 0 || x >= w->width || y >= w->height) return false;
        return w->image[static_cast<size_t>(y) * static_cast<size_t>(w->width) + static_cast<size_t>(x)] == value;
    });
}

PixelRect MemoryDisplay::LastPresentArea(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w == nullptr ? PixelRect{0, 0, 0, 0} : w->lastPresent;
}

std::vector<std::chrono::steady_clock::time_point> MemoryDisplay::PresentTimes(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w == nullptr ? std::vector<std::chrono::steady_clock::time_point>{} : w->presentTimes;
}

std::string MemoryDisplay::Title(WindowHandle window) const {
    std::lock_guard<std::mutex> guard(mutex_);
    Window* w = Find(window);
    return w == nullptr ? std::string() : w->title;
}

bool MemoryDisplay::WaitForTitle(WindowHandle window, const std::string& title, int timeoutMs) const {
    std::unique_lock<std::mutex> guard(mutex_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        Window* w = Find(window);
        return w != nullptr && w->title == title;
    });
}
