// The pseudo-random generator: its fixed initial state and its draws.

#include "runtime/random.h"

#include <cstdlib>

RandomStateRecord RandomState = {0, 0, 0, 0, true};

namespace {

constexpr uint64_t kPrimaryModulus = 500009, kSecondModulus = 600011, kThirdModulus = 765241;

// One step of a congruential component: ((value + 1) * multiplier) mod modulus, in unsigned
// 32-bit arithmetic (the products never reach 2^32 with these moduli). The remainder is taken
// with two multiplications, exact for every 32-bit dividend (Lemire, Kaser and Kurz, "Faster
// remainder by direct computation", 2019): the fraction dividend / modulus in 64-bit fixed point,
// times the modulus, has the remainder as its whole part.
inline uint32_t Advance(uint32_t value, uint32_t multiplier, uint32_t modulus) {
    const uint64_t inverse = ~uint64_t{0} / modulus + 1;
    const uint64_t fraction = inverse * ((value + 1) * multiplier);
    return static_cast<uint32_t>((static_cast<unsigned __int128>(fraction) * modulus) >> 64);
}

void ReseedComponents();

bool SeedIsNewOrChanged() { return RandomState.needsInit || RandomState.primary != RandomState.lastPrimary; }

// Derives the other components again, when the seed is new or was changed from outside.
void Reseed() {
    RandomState.needsInit = false;
    RandomState.lastPrimary = RandomState.primary;
    ReseedComponents();
}

uint32_t StepPrimaryBelow(uint32_t n) {
    if (SeedIsNewOrChanged()) Reseed();
    RandomState.primary = Advance(RandomState.primary, 998, 1000003);
    RandomState.lastPrimary = RandomState.primary;
    return n == 0 ? 0 : RandomState.primary % n;
}

void ReseedComponents() {
    RandomState.primary %= 1000003;
    uint32_t a = StepPrimaryBelow(65000);
    uint32_t b = StepPrimaryBelow(65000);
    RandomState.second = (a * b) % kSecondModulus;
    a = StepPrimaryBelow(65000);
    b = StepPrimaryBelow(65000);
    RandomState.third = (a * b) % kThirdModulus;
}

// Inline: the chaos game draws once a step.
inline void StepComponents() {
    if (SeedIsNewOrChanged()) [[unlikely]]
        Reseed();
    RandomState.primary = Advance(RandomState.primary, 706, kPrimaryModulus);
    RandomState.lastPrimary = RandomState.primary;
    RandomState.second = Advance(RandomState.second, 774, kSecondModulus);
    RandomState.third = Advance(RandomState.third, 871, kThirdModulus);
}

// The draw as the generator has always made it: three quotients in extended precision.
long double UnitInExtendedPrecision(uint32_t primary, uint32_t second, uint32_t third) {
    const long double r = static_cast<long double>(primary) / kPrimaryModulus +
                          static_cast<long double>(second) / kSecondModulus +
                          static_cast<long double>(third) / kThirdModulus;
    return r - static_cast<long double>(static_cast<int64_t>(r));
}

// Cold: the fast answer hands it about one draw in 2^42 / |n|.
[[gnu::cold]] int32_t ScaledInExtendedPrecision(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    const long double product = UnitInExtendedPrecision(primary, second, third) * static_cast<long double>(n);
    return static_cast<int32_t>(static_cast<int64_t>(product));
}

// 2^64 / modulus, rounded: the step of a component's quotient in 64-bit fixed point.
constexpr uint64_t FixedPointInverse(uint64_t modulus) {
    return static_cast<uint64_t>(((static_cast<unsigned __int128>(1) << 64) + modulus / 2) / modulus);
}

}  // namespace

long double RandomUnit() {
    StepComponents();
    return UnitInExtendedPrecision(RandomState.primary, RandomState.second, RandomState.third);
}

namespace {

// Why the fixed-point answer is the extended one. The draw in 64-bit fixed point, F, is the sum
// of each component times its FixedPointInverse, wrapping past 2^64 as the draw drops its whole
// turns. Each inverse is within 1/2 of the true 2^64 / modulus and each component below 2^20, so
// F is within 3 * 2^19 of 2^64 u (or of that less or more 2^64, when u lies that near 0 or 1).
// The extended draw is three quotients below 1 (each rounded by at most 2^-65), summed below 2
// and then below 3 (rounded by at most 2^-64 and 2^-63), within 1.125 * 2^-62 of u, and its
// product with n is rounded by at most |n| 2^-64 more: it lies within |n| 2^-60 of u n, and
// truncating it gives floor(u |n|), signed as n, whenever u |n| is farther than that from every
// whole number (or u that near 0 or 1). F |n| = 2^64 q + L, q and L its high and low words; the
// exact 2^64 u |n| differs from it by less than 3 * 2^19 |n|. When L lies more than 2^21 |n| from
// both 0 and 2^64 (which rules out the wrapped case: its L lies within 3 * 2^19 |n| of one of
// them), u |n| lies between q and q + 1, farther than 2^-60 |n| from both: q is the answer. Otherwise (about one draw in 2^42 / |n|) the extended computation answers itself.
// Inline in RandomBelow: the chaos game draws once a step.
inline int32_t ScaledFast(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    constexpr uint64_t kPrimaryStep = FixedPointInverse(kPrimaryModulus),
                       kSecondStep = FixedPointInverse(kSecondModulus), kThirdStep = FixedPointInverse(kThirdModulus);
    const uint64_t fixedPoint = primary * kPrimaryStep + second * kSecondStep + third * kThirdStep;
    const uint64_t range = static_cast<uint64_t>(std::abs(static_cast<int64_t>(n)));
    const unsigned __int128 product = static_cast<unsigned __int128>(fixedPoint) * range;
    const uint64_t low = static_cast<uint64_t>(product), margin = range << 21;
    if (low <= margin || low >= 0 - margin) return ScaledInExtendedPrecision(primary, second, third, n);
    const auto quotient = static_cast<int64_t>(product >> 64);
    return static_cast<int32_t>(n < 0 ? -quotient : quotient);
}

}  // namespace

int32_t ScaledDraw(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    return ScaledFast(primary, second, third, n);
}

int32_t RandomBelow(int32_t n) {
    StepComponents();
    return ScaledFast(RandomState.primary, RandomState.second, RandomState.third, n);
}
