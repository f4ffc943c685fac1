#include "runtime/heap.h"

#include <sys/mman.h>

#include <cstddef>
#include <mutex>

#include "runtime/exit.h"

// Layout: every block is a multiple of 16 bytes and starts 4 bytes before a 16-byte boundary;
// its first 4 bytes hold its size and the caller's pointer is the aligned address after them.
// Free blocks form a list sorted by address and are merged with free neighbours on release.

namespace {

constexpr uint32_t kGranule = 16;
constexpr uint32_t kSizeField = 4;
constexpr uint32_t kInitialArea = 256 * 1024;
constexpr uint32_t kGrowthGranule = 64 * 1024;
constexpr uint32_t kSmallGrowth = 256 * 1024;
constexpr uint32_t kMediumGrowth = 1024 * 1024;

struct FreeBlock {
    uint32_t size;
    uint32_t unused;  // keeps `next` 8-byte aligned (blocks start at 12 mod 16)
    FreeBlock* next;
};

alignas(16) unsigned char initialArea[kInitialArea];
FreeBlock* freeList = nullptr;
bool prepared = false;
std::mutex heapLock;

FreeBlock* BlockOf(void* pointer) {
    return reinterpret_cast<FreeBlock*>(static_cast<unsigned char*>(pointer) - kSizeField);
}
void* PointerOf(FreeBlock* block) { return reinterpret_cast<unsigned char*>(block) + kSizeField; }
unsigned char* EndOf(FreeBlock* block) { return reinterpret_cast<unsigned char*>(block) + block->size; }

// (size + 4) rounded up to a multiple of 16, in 64 bits so no size wraps.
uint64_t RoundedBlockSize(int32_t size) {
    return (static_cast<uint64_t>(size) + kSizeField + kGranule - 1) & ~uint64_t{kGranule - 1};
}

void InsertFree(FreeBlock* block) {
    FreeBlock** link = &freeList;
    while (*link && *link < block) link = &(*link)->next;
    FreeBlock* after = *link;
    block->next = after;
    *link = block;
    if (after && EndOf(block) == reinterpret_cast<unsigned char*>(after)) {
        block->size += after->size;
        block->next = after->next;
    }
    // Merge with the block before, found by walking again: lists stay short.
    for (FreeBlock* before = freeList; before && before != block; before = before->next) {
        if (before->next == block && EndOf(before) == reinterpret_cast<unsigned char*>(block)) {
            before->size += block->size;
            before->next = block->next;
            break;
        }
    }
}

// Adds [area, area + bytes) to the free list, aligned so blocks start at 12 mod 16.
void AddArea(unsigned char* area, uint64_t bytes) {
    auto* block = reinterpret_cast<FreeBlock*>(area + kGranule - kSizeField);
    block->size = static_cast<uint32_t>((bytes - kGranule) & ~uint64_t{kGranule - 1});
    InsertFree(block);
}

void PrepareLocked() {
    if (prepared) return;
    prepared = true;
    AddArea(initialArea, kInitialArea);
}

FreeBlock* TakeFirstFit(uint32_t size) {
    for (FreeBlock** link = &freeList; *link; link = &(*link)->next) {
        FreeBlock* block = *link;
        if (block->size < size) continue;
        if (block->size - size >= kGranule) {
            auto* rest = reinterpret_cast<FreeBlock*>(reinterpret_cast<unsigned char*>(block) + size);
            rest->size = block->size - size;
            rest->next = block->next;
            *link = rest;
            block->size = size;
        } else {
            *link = block->next;
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

}  // namespace

void* HeapAllocate(int32_t size) {
    if (size < 0) RaiseRuntimeErrorHere(204);
    const auto blockSize = static_cast<uint32_t>(RoundedBlockSize(size == 0 ? 1 : size));
    FreeBlock* block = nullptr;
    {
        std::lock_guard<std::mutex> guard(heapLock);
        PrepareLocked();
        block = TakeFirstFit(blockSize);
        if (!block && GrowLocked(blockSize)) block = TakeFirstFit(blockSize);
    }
    if (!block) RaiseRuntimeErrorHere(203);
    return PointerOf(block);
}

void HeapRelease(void*& pointer) {
    if (pointer) {
        std::lock_guard<std::mutex> guard(heapLock);
        InsertFree(BlockOf(pointer));
    }
    pointer = nullptr;
}

void HeapReleaseSized(void*& pointer, int32_t size) {
    if (size == 0) {
        pointer = nullptr;
        return;
    }
    if (size < 0 || !pointer || BlockOf(pointer)->size != RoundedBlockSize(size)) {
        RaiseRuntimeErrorHere(204);
    }
    {
        std::lock_guard<std::mutex> guard(heapLock);
        InsertFree(BlockOf(pointer));
    }
    pointer = nullptr;
}
