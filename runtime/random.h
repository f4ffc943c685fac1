#pragma once
// The runtime's pseudo-random generator: three congruential components from a fixed state.

#include <cstdint>

struct RandomStateRecord {
    uint32_t primary;
    uint32_t second;
    uint32_t third;
    uint32_t lastPrimary;
    bool needsInit;
};

extern RandomStateRecord RandomState;

// The next draw u, 0 <= u < 1, in extended precision.
long double RandomUnit();
// trunc(u * n) for the next draw u.
int32_t RandomBelow(int32_t n);
// trunc(u * n) for the draw u of components as a step leaves them (primary < 500009,
// second < 600011, third < 765241): what RandomBelow answers after its step.
int32_t ScaledDraw(uint32_t primary, uint32_t second, uint32_t third, int32_t n);
