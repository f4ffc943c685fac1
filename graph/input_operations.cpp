// The keys and pointer of the newest window: through the back-end's entries, which say how it
// went; without a back-end there is no window.

#include "graph/backend_entries.h"
#include "graph/graph.h"

namespace {

template <class Entry, class... Answer>
void Ask(Entry entry, Answer&... answer) {
    GraphState.resultCode = entry != nullptr ? entry(answer...) : GraphErrorGeneral;
}

}  // namespace

bool WindowKeyWaiting() {
    bool waiting = false;
    Ask(BackendEntries.KeyWaiting, waiting);
    return waiting;
}

uint8_t ReadWindowKey() {
    uint8_t key = kEndOfInputKey;
    Ask(BackendEntries.ReadKey, key);
    return key;
}

PointerState ReadPointer() {
    PointerState state{0, 0, 0};
    Ask(BackendEntries.Pointer, state);
    return state;
}

bool PointerChangeWaiting() {
    bool waiting = false;
    Ask(BackendEntries.PointerChangeWaiting, waiting);
    return waiting;
}

PointerChange ReadPointerChange() {
    PointerChange change{0, false, 0, 0};
    Ask(BackendEntries.ReadPointerChange, change);
    return change;
}
