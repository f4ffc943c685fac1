// The page slot routines: which of a window's two back-buffers the primitives draw on and which
// the window presents. Page 1 costs nothing until a program selects it.

#include "graph/window/pages.h"

#include <memory>
#include <new>

#include "graph/graph_state.h"
#include "graph/window/window_thread.h"

namespace {

// Runs `use` on the newest window under DrawLock once it has `page`; nothing while no surface
// is ready. A page above 1, or a page 1 the memory cannot hold, sets result code -11. The memory
// is taken outside the lock, so that the window's GUI thread does not wait for it; only this
// thread makes windows, so the newest window can only have closed meanwhile.
template <class Use>
void WithPage(uint16_t page, Use use) {
    if (page > 1) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    size_t pixels;
    {
        DrawingSide lock;
        GraphWindowRecord* window = NewestReadyWindow();
        if (window == nullptr) return;
        if (page == 0 || window->secondPage != nullptr) {
            use(*window);
            return;
        }
        pixels = static_cast<size_t>(window->buffer.width) * static_cast<size_t>(window->buffer.height);
    }
    std::unique_ptr<uint32_t[]> made(new (std::nothrow) uint32_t[pixels]());
    if (made == nullptr) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    DrawingSide lock;
    GraphWindowRecord* window = NewestReadyWindow();
    if (window == nullptr) return;
    window->secondPage = std::move(made);
    use(*window);
}

}  // namespace

void BackendSelectDrawPage(uint16_t page) {
    WithPage(page, [&](GraphWindowRecord& window) {
        // The segment memory speaks of the page drawn on until now.
        if (window.drawPage != page) ++window.drawingGeneration;
        window.drawPage = page;
    });
}

void BackendShowPage(uint16_t page) {
    WithPage(page, [&](GraphWindowRecord& window) {
        if (window.shownPage == page) return;
        window.shownPage = page;
        window.pageSwitched = true;
        GrowDamage(&window, BufferRect(window.buffer));
    });
}
