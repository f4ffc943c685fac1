// RandomBelow against the extended-precision reference: a long run of consecutive draws, and
// random states and bounds, each with the states that put u * n right beside a whole number,
// where the extended answer can differ from the exact one and must still be the one given.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>

#include "runtime/random.h"
#include "tests/runtime/random_reference.h"

namespace {

// Optimised builds (RelWithDebInfo and Release in CI) run hundreds of millions of draws; the
// sanitizer and debug builds a hundredth of them.
#ifdef NDEBUG
constexpr int64_t kSweepScale = 100;
#else
constexpr int64_t kSweepScale = 1;
#endif

constexpr uint64_t kModuli[3] = {500009, 600011, 765241}, kDenominator = 500009ull * 600011 * 765241;

void ExpectReferenceAnswer(const uint32_t c[3], int32_t n, int32_t answer) {
    ASSERT_EQ(answer, ReferenceScaledDraw(c[0], c[1], c[2], n)) << c[0] << ", " << c[1] << ", " << c[2] << "; " << n;
}

TEST(RandomIdentity, ConsecutiveDrawsFromTheStart) {
    // The plotter's 3, the ends of the range, 0 and a spread of others.
    constexpr int32_t kBounds[] = {3, 1, 2, 0, -1, -3, 7, 1000, 65536, 1000003, -123456789, INT32_MAX, INT32_MIN};
    RandomState = {0, 0, 0, 0, true};
    for (int64_t i = 0; i < 2'000'000 * kSweepScale; ++i) {
        const int32_t n = kBounds[i % std::size(kBounds)], answer = RandomBelow(n);
        const uint32_t c[3] = {RandomState.primary, RandomState.second, RandomState.third};
        ASSERT_NO_FATAL_FAILURE(ExpectReferenceAnswer(c, n, answer));
    }
}

uint64_t PowerModulo(uint64_t base, uint64_t exponent, uint64_t modulus) {
    uint64_t result = 1;
    for (; exponent > 0; exponent /= 2, base = base * base % modulus)
        if (exponent % 2) result = result * base % modulus;
    return result;
}

// Random states with random bounds; then, for the same bound, the states whose draws lie
// nearest to a random q / |n|, built from the numerator of the draw over D (each component is
// its residue divided by the other two moduli, which are prime).
TEST(RandomIdentity, RandomStatesAndDrawsBesideAWholeMultiple) {
    std::mt19937_64 random(23);
    int64_t extendedDiffersFromExact = 0;
    for (int64_t i = 0; i < 200'000 * kSweepScale; ++i) {
        const uint32_t state[3] = {static_cast<uint32_t>(random() % kModuli[0]),
                                   static_cast<uint32_t>(random() % kModuli[1]),
                                   static_cast<uint32_t>(random() % kModuli[2])};
        const auto n = static_cast<int32_t>(random() % 2 ? random() : random() % 2001 - 1000);
        ASSERT_NO_FATAL_FAILURE(ExpectReferenceAnswer(state, n, ScaledDraw(state[0], state[1], state[2], n)));
        const uint64_t range = static_cast<uint64_t>(std::abs(static_cast<int64_t>(n)));
        if (range == 0 || i % 10 != 0) continue;
        const uint64_t q = random() % range;
        const auto boundary = static_cast<uint64_t>((static_cast<unsigned __int128>(q) * kDenominator + range - 1) / range);
        for (uint64_t numerator = boundary + kDenominator - 2; numerator <= boundary + kDenominator + 2; ++numerator) {
            uint32_t c[3];
            for (int k = 0; k < 3; ++k) {
                const uint64_t others = kDenominator / kModuli[k] % kModuli[k];
                c[k] = static_cast<uint32_t>(numerator % kModuli[k] * PowerModulo(others, kModuli[k] - 2, kModuli[k]) % kModuli[k]);
            }
            const int32_t answer = ScaledDraw(c[0], c[1], c[2], n);
            ASSERT_NO_FATAL_FAILURE(ExpectReferenceAnswer(c, n, answer));
            const auto exact = static_cast<int64_t>(static_cast<unsigned __int128>(numerator % kDenominator) * range / kDenominator);
            extendedDiffersFromExact += answer != (n < 0 ? -exact : exact);
        }
    }
    // Without such draws the test would not show that they are handed to the extended path.
    EXPECT_GT(extendedDiffersFromExact, 0);
}

}  // namespace
