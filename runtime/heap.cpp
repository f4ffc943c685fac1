// The heap: blocks of 16-byte granules with their size, growth in large areas, errors 203 and 204.

#include "runtime/heap.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "runtime/exit.h"

// Layout: every block is a multiple of 16 bytes and starts 4 bytes before a 16-byte boundary;
// its first 4 bytes hold its size and the caller's pointer is the aligned address after them.
// Free blocks form a list sorted by address and are merged with free neighbours on release.

namespace {

constexpr uint32_t kGranule = 16;
constexpr uint32_t kSizeField = 4;

// A block is addressed by its first byte.
using Block = unsigned char*;

uint32_t SizeOf(Block block) {
    uint32_t size;
    std::memcpy(&size, block, sizeof size);
    return size;
}
void SetSize(Block block, uint32_t size) { std::memcpy(block, &size, sizeof size); }

Block BlockOf(void* pointer) { return static_cast<Block>(pointer) - kSizeField; }
void* PointerOf(Block block) { return block + kSizeField; }

// (size + 4) rounded up to a multiple of 16, in 64 bits so no size wraps.
uint64_t RoundedBlockSize(int32_t size) {
    return (static_cast<uint64_t>(size) + kSizeField + kGranule - 1) & ~uint64_t{kGranule - 1};
}

#if CHAOSPLOT_SYSTEM_HEAP
// Sanitizer builds: each block is the system allocator's own, of the caller's size after a
// granule that holds the size field, so AddressSanitizer sees an overrun past any block.

Block TakeBlock(int32_t size, uint32_t blockSize) {
    void* area = nullptr;
    if (posix_memalign(&area, kGranule, kGranule + static_cast<uint32_t>(size)) != 0) return nullptr;
    Block block = static_cast<Block>(area) + kGranule - kSizeField;
    SetSize(block, blockSize);
    return block;
}

void GiveBack(Block block) { std::free(block - (kGranule - kSizeField)); }

#else
// Blocks carved out of large areas. A free block keeps its size in the size field and the next
// free block's address in the (16-byte aligned) bytes after it.

constexpr uint32_t kInitialArea = 256 * 1024;
constexpr uint32_t kGrowthGranule = 64 * 1024;
constexpr uint32_t kSmallGrowth = 256 * 1024;
constexpr uint32_t kMediumGrowth = 1024 * 1024;

alignas(16) unsigned char initialArea[kInitialArea];
Block freeList = nullptr;
bool prepared = false;
std::mutex heapLock;

Block NextOf(Block block) {
    Block next;
    std::memcpy(&next, block + kSizeField, sizeof next);
    return next;
}
void SetNext(Block block, Block next) { std::memcpy(block + kSizeField, &next, sizeof next); }

void InsertFree(Block block) {
    Block before = nullptr;
    Block after = freeList;
    while (after && after < block) {
        before = after;
        after = NextOf(after);
    }
    SetNext(block, after);
    if (after && block + SizeOf(block) == after) {
        SetSize(block, SizeOf(block) + SizeOf(after));
        SetNext(block, NextOf(after));
    }
    if (!before) {
        freeList = block;
    } else if (before + SizeOf(before) == block) {
        SetSize(before, SizeOf(before) + SizeOf(block));
        SetNext(before, NextOf(block));
    } else {
        SetNext(before, block);
    }
}

// Adds [area, area + bytes) to the free list, aligned so blocks start at 12 mod 16.
// Kept out of line: inlined with the initial area at -O3, GCC follows InsertFree into merging
// with a free block past the area's end, which cannot exist, and warns (-Warray-bounds).
[[gnu::noinline]] void AddArea(unsigned char* area, uint64_t bytes) {
    Block block = area + kGranule - kSizeField;
    SetSize(block, static_cast<uint32_t>((bytes - kGranule) & ~uint64_t{kGranule - 1}));
    InsertFree(block);
}

void PrepareLocked() {
    if (prepared) return;
    prepared = true;
    AddArea(initialArea, kInitialArea);
}

Block TakeFirstFit(uint32_t size) {
    Block before = nullptr;
    for (Block block = freeList; block; before = block, block = NextOf(block)) {
        const uint32_t available = SizeOf(block);
        if (available < size) continue;
        Block replacement = NextOf(block);
        if (available - size >= kGranule) {
            Block rest = block + size;
            SetSize(rest, available - size);
            SetNext(rest, replacement);
            replacement = rest;
            SetSize(block, size);
        }
        if (before) {
            SetNext(before, replacement);
        } else {
            freeList = replacement;
        }
        return block;
    }
    return nullptr;
}

void* MapArea(uint64_t bytes) {
    void* area = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return area == MAP_FAILED ? nullptr : area;
}

// Growth: the request (with room for alignment) rounded to 64 KiB; up to 256 KiB asks for
// 256 KiB, up to 1 MiB for 1 MiB, more for the rounded size; failing that, the rounded size.
bool GrowLocked(uint32_t blockSize) {
    const uint64_t needed = uint64_t{blockSize} + kGranule;
    const uint64_t rounded = (needed + kGrowthGranule - 1) & ~uint64_t{kGrowthGranule - 1};
    const uint64_t preferred = rounded <= kSmallGrowth    ? kSmallGrowth
                               : rounded <= kMediumGrowth ? kMediumGrowth
                                                          : rounded;
    uint64_t obtained = preferred;
    void* area = MapArea(preferred);
    if (!area && preferred != rounded) {
        obtained = rounded;
        area = MapArea(rounded);
    }
    if (!area) return false;
    AddArea(static_cast<unsigned char*>(area), obtained);
    return true;
}

Block TakeBlock(int32_t, uint32_t blockSize) {
    std::lock_guard<std::mutex> guard(heapLock);
    PrepareLocked();
    Block block = TakeFirstFit(blockSize);
    if (!block && GrowLocked(blockSize)) block = TakeFirstFit(blockSize);
    return block;
}

void GiveBack(Block block) {
    std::lock_guard<std::mutex> guard(heapLock);
    InsertFree(block);
}

#endif

}  // namespace

void* HeapAllocate(int32_t size) {
    if (size < 0) RaiseRuntimeErrorHere(204);
    if (size == 0) size = 1;
    Block block = TakeBlock(size, static_cast<uint32_t>(RoundedBlockSize(size)));
    if (!block) RaiseRuntimeErrorHere(203);
    return PointerOf(block);
}

void HeapRelease(void*& pointer) {
    if (pointer) GiveBack(BlockOf(pointer));
    pointer = nullptr;
}

void HeapReleaseSized(void*& pointer, int32_t size) {
    if (size == 0) {
        pointer = nullptr;
        return;
    }
    if (size < 0 || !pointer || SizeOf(BlockOf(pointer)) != RoundedBlockSize(size)) {
        RaiseRuntimeErrorHere(204);
    }
    GiveBack(BlockOf(pointer));
    pointer = nullptr;
}
