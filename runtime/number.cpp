// ParseInteger: decimal, $hexadecimal and %binary integers with a sign.

#include "runtime/number.h"

namespace {

uint32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    return 16;
}

}  // namespace

int32_t ParseInteger(int32_t size, const LengthPrefixedString& text, int32_t& position) {
    const int length = text.length();
    int i = 1;
    while (i <= length && (text.at(i) == '\t' || text.at(i) == ' ')) ++i;

    bool negative = false;
    if (i <= length && text.at(i) == '+') {
        ++i;
    } else if (i <= length && text.at(i) == '-') {
        negative = true;
        ++i;
    }

    uint32_t base = 10;
    if (i <= length && text.at(i) == '$') {
        base = 16;
        ++i;
        while (i < length && text.at(i) == '0') ++i;
    } else if (i <= length && text.at(i) == '%') {
        base = 2;
        ++i;
    }

    if (i > length) {
        position = i;
        return 0;
    }

    const uint64_t limit = base != 10 ? 0xFFFFFFFFu : negative ? 2147483648u : 2147483647u;
    uint32_t v = 0;
    for (; i <= length; ++i) {
        const uint32_t digit = DigitValue(text.at(i));
        const uint32_t before = v;
        v *= base;
        if (digit >= base || before > 0xFFFFFFFFu / base || uint64_t{v} + digit > limit) {
            position = i;
            return 0;
        }
        v += digit;
    }
    position = 0;
    if (negative) return static_cast<int32_t>(0u - v);
    if (base != 10 && size == 1 && v >= 128 && v <= 255) return static_cast<int8_t>(v);
    if (base != 10 && size == 2 && v >= 32768 && v <= 65535) return static_cast<int16_t>(v);
    return static_cast<int32_t>(v);
}
