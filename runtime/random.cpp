// The pseudo-random generator: its fixed initial state and its draws.

#include "runtime/random.h"

#include <cstdlib>

RandomStateRecord RandomState = {0, 0, 0, 0, true};

namespace {

constexpr uint64_t kPrimaryModulus = 500009, kSecondModulus = 600011, kThirdModulus = 765241;

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
    RandomState.second = (a * b) % kSecondModulus;
    a = StepPrimaryBelow(65000);
    b = StepPrimaryBelow(65000);
    RandomState.third = (a * b) % kThirdModulus;
}

void StepComponents() {
    ReseedWhenNeeded();
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

int32_t ScaledInExtendedPrecision(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    const long double product = UnitInExtendedPrecision(primary, second, third) * static_cast<long double>(n);
    return static_cast<int32_t>(static_cast<int64_t>(product));
}

// The draw exactly: u = M / D with D the product of the moduli (below 2^58) and M the sum of the
// three quotients over D, less the whole turns.
constexpr uint64_t kDenominator = kPrimaryModulus * kSecondModulus * kThirdModulus;

uint64_t ExactNumerator(uint32_t primary, uint32_t second, uint32_t third) {
    uint64_t sum = primary * (kSecondModulus * kThirdModulus) + second * (kPrimaryModulus * kThirdModulus) +
                   third * (kPrimaryModulus * kSecondModulus);
    if (sum >= kDenominator) sum -= kDenominator;
    if (sum >= kDenominator) sum -= kDenominator;
    return sum;
}

}  // namespace

long double RandomUnit() {
    StepComponents();
    return UnitInExtendedPrecision(RandomState.primary, RandomState.second, RandomState.third);
}

// Why the integer answer is the extended one. The extended draw is three quotients below 1
// (each rounded by at most 2^-65), summed below 2 and then below 3 (rounded by at most 2^-64 and
// 2^-63): within 1.125 * 2^-62 of the exact M / D, so its fraction is within that of u unless u
// lies that near 0 or 1. Its product with n is rounded by at most |n| * 2^-64 more, so it is
// within |n| * 2^-60 of u * n, and truncating it gives floor(u * |n|), signed as n, whenever
// u * |n| is farther than that from every whole number: whenever the remainder of M * |n| by D
// is more than |n| * D * 2^-60 (about |n| / 5) from 0 and from D. The fast answer asks for more
// than |n| on both sides and hands the few draws that fail (u near 0 or 1 among them) to the
// extended computation itself.
int32_t ScaledDraw(uint32_t primary, uint32_t second, uint32_t third, int32_t n) {
    const uint64_t numerator = ExactNumerator(primary, second, third);
    const uint64_t range = static_cast<uint64_t>(std::abs(static_cast<int64_t>(n)));
    // M * |n| is below 2^89: a quotient estimated in double precision is within one of
    // floor(M * |n| / D), and the remainder it leaves, below 2^60 in size, is exact in wrapping
    // 64-bit arithmetic.
    constexpr double kInverseDenominator = 1.0 / static_cast<double>(kDenominator);
    int64_t quotient =
        static_cast<int64_t>(static_cast<double>(numerator) * static_cast<double>(range) * kInverseDenominator);
    int64_t remainder = static_cast<int64_t>(numerator * range - static_cast<uint64_t>(quotient) * kDenominator);
    if (remainder < 0) {
        --quotient;
        remainder += static_cast<int64_t>(kDenominator);
    } else if (remainder >= static_cast<int64_t>(kDenominator)) {
        ++quotient;
        remainder -= static_cast<int64_t>(kDenominator);
    }
    const int64_t margin = static_cast<int64_t>(range);
    if (remainder <= margin || static_cast<int64_t>(kDenominator) - remainder <= margin)
        return ScaledInExtendedPrecision(primary, second, third, n);
    return static_cast<int32_t>(n < 0 ? -quotient : quotient);
}

int32_t RandomBelow(int32_t n) {
    StepComponents();
    return ScaledDraw(RandomState.primary, RandomState.second, RandomState.third, n);
}
