#pragma once
// The three standard handles, obtained at start-up (kNoHandle before).

#include <cstdint>

extern uint32_t osInputHandle;
extern uint32_t osOutputHandle;
extern uint32_t osErrorHandle;
