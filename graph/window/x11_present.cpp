// The back-buffer's storage and the copy of its rectangles onto the window.

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/window/x11_display.h"
#include "graph/window/x11_window.h"

namespace {

// A put-image request's fixed part.
constexpr uint32_t kPutImageHeaderBytes = 24;

// Waits until the server has handled everything sent so far.
void Sync(xcb_connection_t* connection) {
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace

bool CreateSharedStore(X11Window& window, size_t bytes) {
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const xcb_shm_seg_t segment = xcb_generate_id(window.connection);
    xcb_generic_error_t* error = xcb_request_check(
        window.connection,
        xcb_shm_attach_checked(window.connection, segment, static_cast<uint32_t>(id), 0));
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
        if (!window.connectionLost && !xcb_connection_has_error(window.connection)) {
            xcb_shm_detach(window.connection, store.segment);
            Sync(window.connection);
        }
        shmdt(store.memory);
    } else {
        free(store.memory);
    }
    store = {};
}

void PutImageInBands(X11Window& window, const PixelBuffer& buffer, PixelRect area) {
    const uint32_t width = static_cast<uint32_t>(area.right - area.left);
    const uint32_t rowBytes = width * 4;
    const uint32_t rowsPerBand =
        std::max<uint32_t>(1, (window.maxRequestBytes - kPutImageHeaderBytes) / rowBytes);
    std::vector<uint32_t> band;
    for (int32_t top = area.top; top < area.bottom;) {
        const uint32_t rows =
            std::min<uint32_t>(rowsPerBand, static_cast<uint32_t>(area.bottom - top));
        const uint32_t* first =
            buffer.pixels + static_cast<size_t>(top) * buffer.stride + area.left;
        const uint32_t* data = first;
        // Rows that are not adjacent in the buffer are gathered into one block first.
        if (width != static_cast<uint32_t>(buffer.stride) && rows > 1) {
            band.resize(static_cast<size_t>(rows) * width);
            for (uint32_t r = 0; r < rows; ++r) {
                std::memcpy(band.data() + static_cast<size_t>(r) * width,
                            first + static_cast<size_t>(r) * buffer.stride, rowBytes);
            }
            data = band.data();
        }
        xcb_put_image(window.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window.window, window.gc,
                      static_cast<uint16_t>(width), static_cast<uint16_t>(rows),
                      static_cast<int16_t>(area.left), static_cast<int16_t>(top), 0, kPixelDepth,
                      rows * rowBytes, reinterpret_cast<const uint8_t*>(data));
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
    if (!(window->shmOffered && !window->connectionLost && CreateSharedStore(*window, bytes))) {
        void* memory = calloc(1, bytes);
        if (memory == nullptr) return false;
        window->store = {false, -1, 0, memory};
    }
    buffer = {static_cast<uint32_t*>(window->store.memory), width, height, width, &window->store};
    return true;
}

void X11Display::Present(WindowHandle handle, const PixelBuffer& buffer, PixelRect area) {
    auto window = Find(handle);
    if (window == nullptr || window->connectionLost || area.left >= area.right ||
        area.top >= area.bottom) {
        return;
    }
    if (window->store.shared && buffer.pixels == window->store.memory) {
        xcb_shm_put_image(
            window->connection, window->window, window->gc, static_cast<uint16_t>(buffer.stride),
            static_cast<uint16_t>(buffer.height), static_cast<uint16_t>(area.left),
            static_cast<uint16_t>(area.top), static_cast<uint16_t>(area.right - area.left),
            static_cast<uint16_t>(area.bottom - area.top), static_cast<int16_t>(area.left),
            static_cast<int16_t>(area.top), kPixelDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
            window->store.segment, 0);
    } else {
        PutImageInBands(*window, buffer, area);
    }
    xcb_flush(window->connection);
}

void X11Display::DestroyBuffer(WindowHandle handle, PixelBuffer& buffer) {
    if (auto window = Find(handle)) ReleaseStore(*window);
    buffer = {};
}
