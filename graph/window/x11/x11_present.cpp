// The back-buffer's storage and the copy of its rectangles onto the window.

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/window/x11/x11_display.h"
#include "graph/window/x11/x11_window.h"

namespace {

// A put-image request's fixed part.
constexpr uint32_t kPutImageHeaderBytes = 24;

bool Usable(const X11Window& window) {
    return !window.lost() && !xcb_connection_has_error(window.connection->connection);
}

}  // namespace

bool CreateSharedStore(X11Window& window, size_t bytes) {
    xcb_connection_t* connection = window.connection->connection;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const xcb_shm_seg_t segment = xcb_generate_id(connection);
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_shm_attach_checked(connection, segment, static_cast<uint32_t>(id), 0));
    // Once the server holds the segment (or has refused it) it can be marked for removal: the
    // system frees it when the last user lets go, also if this process dies.
    shmctl(id, IPC_RMID, nullptr);
    if (error != nullptr) {
        free(error);
        shmdt(memory);
        return false;
    }
    std::memset(memory, 0, bytes);
    window.store = {true, id, segment, memory};
    return true;
}

void ReleaseStore(X11Window& window) {
    X11BufferStore& store = window.store;
    if (store.memory == nullptr) return;
    if (store.shared) {
        // The server may still be reading the segment for a put-image sent just before.
        if (Usable(window)) {
            xcb_shm_detach(window.connection->connection, store.segment);
            window.connection->Sync();
        }
        shmdt(store.memory);
    } else {
        free(store.memory);
    }
    store = {};
}

void PutImageInBands(X11Window& window, const PixelBuffer& buffer, PixelRect area) {
    const PixelFormat& format = window.connection->format;
    const int32_t width = area.right - area.left;
    const size_t rowBytes = ImageRowBytes(format, width);
    const size_t rowsPerBand = std::max<size_t>(
        1, (window.connection->maxRequestBytes - kPutImageHeaderBytes) / rowBytes);
    std::vector<uint8_t> band;
    for (int32_t top = area.top; top < area.bottom;) {
        const size_t rows = std::min<size_t>(rowsPerBand, static_cast<size_t>(area.bottom - top));
        band.resize(rows * rowBytes);
        for (size_t r = 0; r < rows; ++r) {
            ConvertRow(format, buffer.pixels + (top + r) * static_cast<size_t>(buffer.stride) + area.left,
                       width, band.data() + r * rowBytes);
        }
        xcb_put_image(window.connection->connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window.window,
                      window.gc, static_cast<uint16_t>(width), static_cast<uint16_t>(rows),
                      static_cast<int16_t>(area.left), static_cast<int16_t>(top), 0, format.depth,
                      static_cast<uint32_t>(band.size()), band.data());
        top += static_cast<int32_t>(rows);
    }
}

bool X11Display::CreateBuffer(WindowHandle handle, int32_t width, int32_t height,
                              PixelBuffer& buffer) {
    auto window = Find(handle);
    if (window == nullptr || width <= 0 || height <= 0 || window->store.memory != nullptr) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    // Shared with the server only where the server reads the buffer's words as they are.
    const bool share = window->connection->shmOffered && IsBufferLayout(window->connection->format);
    if (!(share && Usable(*window) && CreateSharedStore(*window, bytes))) {
        void* memory = calloc(1, bytes);
        if (memory == nullptr) return false;
        window->store = {false, -1, 0, memory};
    }
    buffer = {static_cast<uint32_t*>(window->store.memory), width, height, width, &window->store};
    return true;
}

void X11Display::Present(WindowHandle handle, const PixelBuffer& buffer, PixelRect area) {
    auto window = Find(handle);
    if (window == nullptr || !Usable(*window) || area.left >= area.right ||
        area.top >= area.bottom) {
        return;
    }
    xcb_connection_t* connection = window->connection->connection;
    if (window->store.shared && buffer.pixels == window->store.memory) {
        xcb_shm_put_image(
            connection, window->window, window->gc, static_cast<uint16_t>(buffer.stride),
            static_cast<uint16_t>(buffer.height), static_cast<uint16_t>(area.left),
            static_cast<uint16_t>(area.top), static_cast<uint16_t>(area.right - area.left),
            static_cast<uint16_t>(area.bottom - area.top), static_cast<int16_t>(area.left),
            static_cast<int16_t>(area.top), window->connection->format.depth,
            XCB_IMAGE_FORMAT_Z_PIXMAP, 0, window->store.segment, 0);
    } else {
        PutImageInBands(*window, buffer, area);
    }
    xcb_flush(connection);
}

bool X11Display::ReadsBufferItself(WindowHandle handle) {
    auto window = Find(handle);
    return window != nullptr && window->store.shared;
}

void X11Display::DestroyBuffer(WindowHandle handle, PixelBuffer& buffer) {
    if (auto window = Find(handle)) ReleaseStore(*window);
    buffer = {};
}
