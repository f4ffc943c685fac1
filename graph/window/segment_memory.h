#pragma once
// What a buffer remembers of the solid segments copied onto it: the walks and runs (end points
// in surface coordinates; a run's are its ends after clipping) drawn in one pixel value since
// anything else was drawn on the buffer.
// Walking one of them again would write each of its pixels with the value it already holds, so
// the walk is skipped: the chaos game draws the same few tens of thousands of segments over and
// over.
//
// Exact or nothing. The memory holds for one drawing generation of its buffer (which every other
// write on the buffer moves on) and one pixel value; when either differs from the memory's, it
// is forgotten whole. Bounded: a table of kSegmentSlots keys, at most half of them used; once
// that many are remembered, further segments are walked and not remembered.
//
// Only the drawing thread uses a memory, under DrawLock.

#include <cstddef>
#include <cstdint>
#include <memory>

constexpr int kSegmentLineBits = 15;
constexpr uint32_t kSegmentSlots = uint32_t{8} << kSegmentLineBits;  // 2 MiB of keys
constexpr uint32_t kSegmentsRemembered = kSegmentSlots / 2;          // and 512 KiB of their slots

// Eight slots, one cache line. A segment's search starts in the line its start point picks, at a
// slot its end point picks, so the segments from one point share a line; and as a path's next
// segment starts where this one ends, that line can be fetched while the caller goes on.
struct alignas(64) SegmentSlotLine {
    uint64_t keys[8];  // 0: empty
};

// The whole table, aligned so that the system can map it as one huge page: a lookup is a miss
// in the caches at random, and should not be a miss in the address translation as well.
constexpr size_t kHugePageBytes = size_t{1} << 21;
struct alignas(kHugePageBytes) SegmentTable {
    SegmentSlotLine lines[kSegmentSlots / 8];
};

// A table is mapped from the system, not allocated (segment_memory.cpp); this gives it back.
struct SegmentTableUnmap {
    void operator()(SegmentTable* table) const;
};

struct SegmentMemory {
    std::unique_ptr<SegmentTable, SegmentTableUnmap> table;  // open addressing, slot i in table->lines[i / 8]
    std::unique_ptr<uint32_t[]> used;          // the slots in use, in the order they were filled
    uint32_t count = 0;                        // slots in use
    uint32_t value = 0;                        // the pixel value of every segment remembered
    uint64_t generation = 0;                   // the buffer's drawing generation they were drawn in
    bool refused = false;                      // the table could not be made: nothing is remembered
};

// A segment's end points as a key: a sloped one stands for its walk, an axis-parallel one for the
// run between its ends. The point (0, 0) packs to 0, the empty slot, and is never remembered.
inline uint64_t SegmentKey(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    return uint64_t{static_cast<uint16_t>(x1)} | uint64_t{static_cast<uint16_t>(y1)} << 16 |
           uint64_t{static_cast<uint16_t>(x2)} << 32 | uint64_t{static_cast<uint16_t>(y2)} << 48;
}

// Out of line: forgets everything and starts remembering for `value` and `generation`, making
// the table at first use; false when there is no table.
bool RestartSegmentMemory(SegmentMemory& memory, uint32_t value, uint64_t generation);
// Gives the table back (the buffer is no longer drawn on).
void ReleaseSegmentMemory(SegmentMemory& memory);
// The buffer of `from` is no longer drawn on, that of `to` (which has no table yet) is drawn on
// next: `from`'s table goes to `to` emptied, rather than be given back here and made again at
// the new buffer's first segment. An empty memory holds for any value and generation.
void HandOverSegmentMemory(SegmentMemory& from, SegmentMemory& to);

// True when the segment `key` was copied in `value` while the buffer's drawing generation was
// `generation`, since the memory last restarted; else false, and the segment is remembered from
// now on (when there is room), for the walk the caller makes next. Inline: the chaos game asks
// once a step.
inline bool SeenElseRemembered(SegmentMemory& memory, uint64_t key, uint32_t value, uint64_t generation) {
    if (memory.generation != generation || memory.value != value || memory.table == nullptr) [[unlikely]] {
        if (!RestartSegmentMemory(memory, value, generation)) return false;
    }
    if (key == 0) [[unlikely]] return false;
    const auto lineOf = [](uint32_t point) {
        return static_cast<uint32_t>((point * uint64_t{0x9E3779B97F4A7C15}) >> (64 - kSegmentLineBits));
    };
    SegmentSlotLine* const lines = memory.table->lines;
    __builtin_prefetch(&lines[lineOf(static_cast<uint32_t>(key >> 32))]);
    constexpr uint32_t mask = kSegmentSlots - 1;
    const uint32_t end = static_cast<uint32_t>(key >> 32);
    uint32_t slot = lineOf(static_cast<uint32_t>(key)) * 8 + ((end * 0x9E3779B1u) >> 29);
    for (;; slot = (slot + 1) & mask) {
        const uint64_t held = lines[slot / 8].keys[slot % 8];
        if (held == key) return true;
        if (held == 0) break;
    }
    if (memory.count < kSegmentsRemembered) {
        lines[slot / 8].keys[slot % 8] = key;
        memory.used[memory.count++] = slot;
    }
    return false;
}
