#include "tests/fuzz/integer_reference.h"

ReferenceResult ReferenceParse(const std::string& text, int32_t size) {
    const int32_t length = static_cast<int32_t>(text.size());
    auto at = [&](int32_t i) { return text[static_cast<size_t>(i - 1)]; };
    int32_t i = 1;
    while (i <= length && (at(i) == ' ' || at(i) == '\t')) ++i;
    bool negative = false;
    if (i <= length && (at(i) == '+' || at(i) == '-')) {
        negative = at(i) == '-';
        ++i;
    }
    int base = 10;
    if (i <= length && at(i) == '$') {
        base = 16;
        ++i;
        while (i < length && at(i) == '0') ++i;
    } else if (i <= length && at(i) == '%') {
        base = 2;
        ++i;
    }
    if (i > length) return {0, i};
    const unsigned __int128 limit = base != 10 ? 0xFFFFFFFFull : negative ? 2147483648ull : 2147483647ull;
    unsigned __int128 value = 0;
    for (; i <= length; ++i) {
        const char c = at(i);
        int digit = 99;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit >= base) return {0, i};
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > limit) return {0, i};
    }
    int64_t result = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    if (!negative && base != 10) {
        if (size == 1 && result >= 128 && result <= 255) result -= 256;
        if (size == 2 && result >= 32768 && result <= 65535) result -= 65536;
    }
    return {static_cast<int32_t>(static_cast<uint32_t>(result)), 0};
}
