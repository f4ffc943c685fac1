// A window's back-buffer: a shared-memory segment the server reads itself where it can, plain
// memory otherwise.

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "graph/window/x11/x11_display.h"
#include "graph/window/x11/x11_window.h"

namespace {

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
    // A new segment is zeroed by the system, as BufferStartsBlack promises.
    window.store = {true, id, segment, memory};
    return true;
}

}  // namespace

void ReleaseStore(X11Window& window) {
    X11BufferStore& store = window.store;
    if (store.memory == nullptr) return;
    if (store.shared) {
        // The server reads the segment through an attachment of its own, which holds it until
        // the server has taken this detach: a put-image sent just before is safe without
        // waiting for the server here.
        if (window.usable()) {
            xcb_shm_detach(window.connection->connection, store.segment);
            xcb_flush(window.connection->connection);
        }
        shmdt(store.memory);
    } else {
        free(store.memory);
    }
    store = {};
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
    if (!(share && window->usable() && CreateSharedStore(*window, bytes))) {
        void* memory = calloc(1, bytes);
        if (memory == nullptr) return false;
        window->store = {false, -1, 0, memory};
    }
    buffer = {static_cast<uint32_t*>(window->store.memory), width, height, width, &window->store};
    return true;
}

bool X11Display::ReadsBufferItself(WindowHandle handle) {
    auto window = Find(handle);
    return window != nullptr && window->store.shared;
}

void X11Display::DestroyBuffer(WindowHandle handle, PixelBuffer& buffer) {
    if (auto window = Find(handle)) ReleaseStore(*window);
    buffer = {};
}
