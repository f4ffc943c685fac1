// The slow side of the segment memory: its table made at first use, forgotten and given back.

#include "graph/window/segment_memory.h"

#include <sys/mman.h>

#include <cstring>
#include <new>
#include <utility>

bool RestartSegmentMemory(SegmentMemory& memory, uint32_t value, uint64_t generation) {
    if (memory.table == nullptr) {
        // A program short of memory draws every segment, as before there was a memory; it does
        // not ask again at every segment.
        if (memory.refused) return false;
        memory.table.reset(new (std::nothrow) SegmentTable);
        memory.used.reset(new (std::nothrow) uint32_t[kSegmentsRemembered]);
        if (memory.table == nullptr || memory.used == nullptr) {
            ReleaseSegmentMemory(memory);
            memory.refused = true;
            return false;
        }
        // Before its pages are first touched; a system without huge pages ignores the advice.
        madvise(memory.table.get(), sizeof(SegmentTable), MADV_HUGEPAGE);
        std::memset(memory.table.get(), 0, sizeof(SegmentTable));
    }
    // Emptying the slots in use costs no more than filling them did.
    for (uint32_t i = 0; i < memory.count; ++i) memory.table->lines[memory.used[i] / 8].keys[memory.used[i] % 8] = 0;
    memory.count = 0;
    memory.value = value;
    memory.generation = generation;
    return true;
}

void ReleaseSegmentMemory(SegmentMemory& memory) {
    memory.table.reset();
    memory.used.reset();
    memory.count = 0;
}

void HandOverSegmentMemory(SegmentMemory& from, SegmentMemory& to) {
    // A memory that refused its table hands nothing over: the new buffer asks again.
    if (from.table == nullptr) {
        ReleaseSegmentMemory(from);
        return;
    }
    RestartSegmentMemory(from, 0, 0);
    to = std::move(from);
    from = SegmentMemory{};
}
