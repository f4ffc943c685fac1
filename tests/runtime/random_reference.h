#pragma once
// The generator's draw scaled to a range exactly as first described, in extended precision:
// the reference any faster way of computing RandomBelow must match for every state.

#include <cstdint>

int32_t ReferenceScaledDraw(uint32_t primary, uint32_t second, uint32_t third, int32_t n);
