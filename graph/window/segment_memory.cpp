// The slow side of the segment memory: its table made at first use, forgotten and given back.

#include "graph/window/segment_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <utility>

namespace {

// The table's pages come from the system already zeroed, and a page is only ever faulted in when
// a segment lands in it: most windows draw a few segments, or none. Twice the size is mapped and
// all but an aligned table's worth given back, for the alignment no mapping promises.
SegmentTable* MapZeroedTable() {
    constexpr size_t bytes = sizeof(SegmentTable);
    static_assert(bytes % kHugePageBytes == 0);
    void* const area = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(area);
    const uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const uintptr_t below = aligned - start;  // less than a huge page, so less than the table
    if (below > 0) munmap(area, below);
    munmap(reinterpret_cast<void*>(aligned + bytes), bytes - below);
    auto* const table = reinterpret_cast<SegmentTable*>(aligned);
    // Before its pages are first touched; a system without huge pages ignores the advice.
    madvise(table, bytes, MADV_HUGEPAGE);
    return table;
}

}  // namespace

void SegmentTableUnmap::operator()(SegmentTable* table) const { munmap(table, sizeof(SegmentTable)); }

bool RestartSegmentMemory(SegmentMemory& memory, uint32_t value, uint64_t generation) {
    if (memory.table == nullptr) {
        // A program short of memory draws every segment, as before there was a memory; it does
        // not ask again at every segment.
        if (memory.refused) return false;
        memory.table.reset(MapZeroedTable());
        memory.used.reset(new (std::nothrow) uint32_t[kSegmentsRemembered]);
        if (memory.table == nullptr || memory.used == nullptr) {
            ReleaseSegmentMemory(memory);
            memory.refused = true;
            return false;
        }
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
