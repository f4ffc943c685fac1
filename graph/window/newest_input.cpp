// The key and pointer entries: each finds the newest window's queue, or the code that says why
// there is none to ask, and answers from it. Only the drawing thread changes the newest window,
// and records live on, so the queue stays valid while the drawing thread waits on it.

#include "graph/window/newest_input.h"

#include "graph/window/window_thread.h"

namespace {

enum class Source { Keys, Pointer };

// The newest window's queue, with GraphOk; null with the code of why not.
InputQueue* NewestQueue(Source source, int16_t& code) {
    GraphWindowRecord* window = Backend.newestWindow;
    code = GraphErrorGeneral;
    if (window == nullptr) return nullptr;
    const Display& display = *window->display;
    code = GraphErrorNoInput;
    if (!(source == Source::Keys ? display.SuppliesKeys() : display.SuppliesPointer())) return nullptr;
    code = GraphOk;
    return &window->input;
}

// GraphOk when something waits, or more may come; the closed window's code when not.
int16_t Waiting(const InputQueue& queue, bool waiting) {
    return waiting || !queue.Closed() ? GraphOk : GraphErrorGeneral;
}

}  // namespace

int16_t NewestKeyWaiting(bool& waiting) {
    int16_t code;
    InputQueue* queue = NewestQueue(Source::Keys, code);
    if (queue == nullptr) return code;
    waiting = queue->KeyWaiting();
    return Waiting(*queue, waiting);
}

int16_t ReadNewestKey(uint8_t& key) {
    int16_t code;
    InputQueue* queue = NewestQueue(Source::Keys, code);
    if (queue == nullptr) return code;
    return queue->ReadKey(key) ? GraphOk : GraphErrorGeneral;
}

int16_t NewestPointer(PointerState& state) {
    int16_t code;
    InputQueue* queue = NewestQueue(Source::Pointer, code);
    if (queue == nullptr) return code;
    state = queue->Pointer();
    return queue->Closed() ? GraphErrorGeneral : GraphOk;
}

int16_t NewestPointerChangeWaiting(bool& waiting) {
    int16_t code;
    InputQueue* queue = NewestQueue(Source::Pointer, code);
    if (queue == nullptr) return code;
    waiting = queue->ChangeWaiting();
    return Waiting(*queue, waiting);
}

int16_t ReadNewestPointerChange(PointerChange& change) {
    int16_t code;
    InputQueue* queue = NewestQueue(Source::Pointer, code);
    if (queue == nullptr) return code;
    if (queue->ReadChange(change)) return GraphOk;
    const PointerState last = queue->Pointer();
    change = {0, false, last.x, last.y};
    return GraphErrorGeneral;
}
