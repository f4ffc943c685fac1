#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "runtime/heap.h"

namespace {

uint32_t RecordedSize(void* block) {
    uint32_t size;
    std::memcpy(&size, static_cast<char*>(block) - 4, 4);
    return size;
}

TEST(Heap, BlockSizesFollowTheRoundingRule) {
    const struct {
        int32_t request;
        uint32_t block;
    } cases[] = {{0, 16}, {1, 16}, {12, 16}, {13, 32}, {28, 32}, {29, 48}, {1000, 1008}};
    for (const auto& c : cases) {
        void* block = HeapAllocate(c.request);
        EXPECT_EQ(RecordedSize(block), c.block) << c.request;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
        HeapReleaseSized(block, c.request == 0 ? 1 : c.request);
        EXPECT_EQ(block, nullptr);
    }
}

TEST(Heap, ReleasedSpaceIsReusedAndBlocksNeverOverlap) {
    std::vector<std::pair<char*, int32_t>> blocks;
    for (int i = 0; i < 200; ++i) {
        const int32_t size = 1 + (i * 37) % 500;
        auto* block = static_cast<char*>(HeapAllocate(size));
        std::memset(block, i & 0xFF, size);
        blocks.push_back({block, size});
    }
    for (size_t i = 0; i < blocks.size(); i += 2) {
        void* raw = blocks[i].first;
        HeapReleaseSized(raw, blocks[i].second);
    }
    for (size_t i = 1; i < blocks.size(); i += 2) {
        for (int32_t b = 0; b < blocks[i].second; ++b) {
            ASSERT_EQ(static_cast<unsigned char>(blocks[i].first[b]), i & 0xFF);
        }
    }
    void* again = HeapAllocate(16);
    EXPECT_NE(again, nullptr);
    HeapRelease(again);
    EXPECT_EQ(again, nullptr);
    for (size_t i = 1; i < blocks.size(); i += 2) {
        void* raw = blocks[i].first;
        HeapRelease(raw);
    }
}

TEST(Heap, GrowsBeyondTheInitialArea) {
    // 40 blocks of 100 KB and one of 3 MB: many times what the initial area holds.
    std::vector<int32_t> sizes(40, 100 * 1024);
    sizes.push_back(3 * 1024 * 1024);
    std::vector<char*> blocks;
    for (int32_t size : sizes) blocks.push_back(HeapAllocateOf<char>(size));
    EXPECT_EQ(RecordedSize(blocks.back()), sizes.back() + 16u);
    // Each block filled with its own byte keeps it: no two blocks overlap, in any area.
    for (size_t i = 0; i < blocks.size(); ++i) std::memset(blocks[i], static_cast<int>(i), sizes[i]);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(std::count(blocks[i], blocks[i] + sizes[i], static_cast<char>(i)), sizes[i]) << i;
        HeapReleaseSized(blocks[i], sizes[i]);
    }
}

TEST(Heap, ReleasingAnEmptyVariableOrSizeZeroOnlyEmptiesIt) {
    void* empty = nullptr;
    HeapRelease(empty);
    EXPECT_EQ(empty, nullptr);
    void* block = HeapAllocate(40);
    void* alias = block;
    HeapReleaseSized(alias, 0);
    EXPECT_EQ(alias, nullptr);
    HeapReleaseSized(block, 40);
}

#ifdef __SANITIZE_ADDRESS__
// Heap blocks are the sanitizer's: a request it cannot meet must come back empty, as a failed
// mapping does, so that the heap reports exhaustion.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=1024"; }

TEST(HeapDeathTest, SanitizerBuildsSeeAnOverrunPastABlock) {
    // Blocks carved out of one area hid an overrun into the next block from AddressSanitizer.
    EXPECT_DEATH(static_cast<volatile char*>(HeapAllocate(20))[20] = 1, "heap-buffer-overflow");
}
#endif

TEST(HeapDeathTest, MisuseIs204) {
    EXPECT_EXIT(HeapAllocate(-1), ::testing::ExitedWithCode(204), "");
    EXPECT_EXIT(
        {
            void* empty = nullptr;
            HeapReleaseSized(empty, 8);
        },
        ::testing::ExitedWithCode(204), "");
    EXPECT_EXIT(
        {
            void* block = HeapAllocate(40);
            HeapReleaseSized(block, -4);
        },
        ::testing::ExitedWithCode(204), "");
    EXPECT_EXIT(
        {
            void* block = HeapAllocate(40);  // a 48-byte block
            HeapReleaseSized(block, 60);     // a 64-byte block
        },
        ::testing::ExitedWithCode(204), "");
}

// The sanitizer's own allocator cannot run in a small address space; under it the allocation
// limit of __asan_default_options stands in.
void LimitAddressSpace([[maybe_unused]] rlim_t bytes) {
#ifndef __SANITIZE_ADDRESS__
    rlimit limit;
    limit.rlim_cur = bytes;
    limit.rlim_max = bytes;
    setrlimit(RLIMIT_AS, &limit);
#endif
}

TEST(HeapDeathTest, ExhaustionIs203) {
    EXPECT_EXIT(
        {
            LimitAddressSpace(rlim_t{512} << 20);
            HeapAllocate(0x7FFFFFF0);
        },
        ::testing::ExitedWithCode(203), "");
}

}  // namespace
