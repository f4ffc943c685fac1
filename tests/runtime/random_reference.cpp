#include "tests/runtime/random_reference.h"

int32_t ReferenceScaledDraw(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    long double u = static_cast<long double>(primary) / 500009.0L + static_cast<long double>(second) / 600011.0L +
                    static_cast<long double>(third) / 765241.0L;
    u -= static_cast<long double>(static_cast<int64_t>(u));
    return static_cast<int32_t>(static_cast<int64_t>(u * static_cast<long double>(n)));
}
