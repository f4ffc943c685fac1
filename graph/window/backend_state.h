#pragma once
// The window back-end's state, in one record: its windows, and what the colour lookup
// remembers. The palette table itself is GraphState.paletteTable, which the library owns.

#include <condition_variable>
#include <cstdint>
#include <mutex>

struct GraphWindowRecord;

// The last colour number looked up and its buffer pixel, for one palette generation.
struct ColourMemo {
    uint32_t colour;
    uint32_t generation;  // 0: nothing remembered
    uint32_t pixel;
};

// The last buffer pixel read and the colour number it gave, for one palette generation.
struct ReadMemo {
    uint32_t pixel;
    uint32_t generation;  // 0: nothing remembered
    uint16_t index;
};

struct BackendStateRecord {
    // The newest window: the one the primitives draw on (DrawLock). Null before the first mode
    // set.
    GraphWindowRecord* newestWindow = nullptr;
    // All window records, newest first (windowsMutex).
    GraphWindowRecord* allWindows = nullptr;
    std::mutex windowsMutex;
    std::condition_variable windowsChanged;

    // Drawing thread only. Bumped whenever an entry of the palette table may have changed, so
    // the memos below see a palette change at once.
    uint32_t paletteGeneration = 1;
    int32_t paletteTableCount = 0;  // entries of the allocated palette table
    ColourMemo colourMemo{0, 0, 0};
    ReadMemo readMemo{0, 0, 0};
};

// Never destroyed: GUI threads of windows still open when the process ends may use it.
extern BackendStateRecord& Backend;
