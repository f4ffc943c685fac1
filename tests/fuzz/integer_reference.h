#pragma once
// A slow reading of the integer rules with exact arithmetic, to check the real parser against.

#include <cstdint>
#include <string>

struct ReferenceResult {
    int32_t value;
    int32_t position;
};

ReferenceResult ReferenceParse(const std::string& text, int32_t size);
