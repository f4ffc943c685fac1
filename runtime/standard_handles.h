#pragma once
// The three standard handles, obtained at start-up (kNoHandle before).

#include <cstdint>

// No handle: what a failed open gives.
constexpr uint32_t kNoHandle = 0xFFFFFFFF;

extern uint32_t osInputHandle;
extern uint32_t osOutputHandle;
extern uint32_t osErrorHandle;
