#pragma once
// The runtime's heap. Blocks are released with their size; misuse is run-time error 204,
// exhaustion run-time error 203.

#include <cstdint>

void* HeapAllocate(int32_t size);
void HeapRelease(void*& block);
void HeapReleaseSized(void*& block, int32_t size);

template <typename T>
T* HeapAllocateOf(int32_t size) {
    return static_cast<T*>(HeapAllocate(size));
}
template <typename T>
void HeapReleaseSized(T*& block, int32_t size) {
    void* raw = block;
    HeapReleaseSized(raw, size);
    block = static_cast<T*>(raw);
}
template <typename T>
void HeapRelease(T*& block) {
    void* raw = block;
    HeapRelease(raw);
    block = static_cast<T*>(raw);
}
