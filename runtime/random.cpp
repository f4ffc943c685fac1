// The pseudo-random generator: its fixed initial state and its draws.

#include "runtime/random.h"

RandomStateRecord RandomState = {0, 0, 0, 0, true};

namespace {

// One step of a congruential component: ((value + 1) * multiplier) mod modulus, in unsigned
// 32-bit arithmetic (the products never reach 2^32 with these moduli).
uint32_t Advance(uint32_t value, uint32_t multiplier, uint32_t modulus) {
    return ((value + 1) * multiplier) % modulus;
}

void ReseedComponents();

// Derives the other components again when the seed is new or was changed from outside.
void ReseedWhenNeeded() {
    if (RandomState.needsInit || RandomState.primary != RandomState.lastPrimary) {
        RandomState.needsInit = false;
        RandomState.lastPrimary = RandomState.primary;
        ReseedComponents();
    }
}

uint32_t StepPrimaryBelow(uint32_t n) {
    ReseedWhenNeeded();
    RandomState.primary = Advance(RandomState.primary, 998, 1000003);
    RandomState.lastPrimary = RandomState.primary;
    return n == 0 ? 0 : RandomState.primary % n;
}

void ReseedComponents() {
    RandomState.primary %= 1000003;
    uint32_t a = StepPrimaryBelow(65000);
    uint32_t b = StepPrimaryBelow(65000);
    RandomState.second = (a * b) % 600011;
    a = StepPrimaryBelow(65000);
    b = StepPrimaryBelow(65000);
    RandomState.third = (a * b) % 765241;
}

}  // namespace

long double RandomUnit() {
    ReseedWhenNeeded();
    RandomState.primary = Advance(RandomState.primary, 706, 500009);
    RandomState.lastPrimary = RandomState.primary;
    RandomState.second = Advance(RandomState.second, 774, 600011);
    RandomState.third = Advance(RandomState.third, 871, 765241);
    const long double r = static_cast<long double>(RandomState.primary) / 500009.0L +
                          static_cast<long double>(RandomState.second) / 600011.0L +
                          static_cast<long double>(RandomState.third) / 765241.0L;
    return r - static_cast<long double>(static_cast<int64_t>(r));
}

int32_t RandomBelow(int32_t n) {
    const long double product = RandomUnit() * static_cast<long double>(n);
    return static_cast<int32_t>(static_cast<int64_t>(product));
}
