// RandomBelow against the extended-precision reference: a long run of consecutive draws,
// random states and bounds, and states built to put u * n right beside a whole number, where
// the extended answer can differ from the exact one and must still be the one given.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <iterator>
#include <random>

#include "runtime/random.h"
#include "tests/runtime/random_reference.h"

namespace {

// Optimised builds (RelWithDebInfo and Release in CI) run the sweeps at full length, hundreds of
// millions of draws; the sanitizer and debug builds a hundredth of them.
#ifdef NDEBUG
constexpr int64_t kSweepScale = 100;
#else
constexpr int64_t kSweepScale = 1;
#endif

constexpr uint64_t kModuli[3] = {500009, 600011, 765241};
constexpr uint64_t kDenominator = kModuli[0] * kModuli[1] * kModuli[2];

// The plotter's 3, the ends of the range, 0 and a spread of others.
constexpr int32_t kBounds[] = {3, 1, 2, 0, -1, -3, 7, 1000, 65536, 1000003, -123456789, INT32_MAX, INT32_MIN};

int32_t RandomBound(std::mt19937_64& random) {
    return random() % 2 ? static_cast<int32_t>(random()) : static_cast<int32_t>(random() % 2001) - 1000;
}

void ExpectSameAnswer(uint32_t primary, uint32_t second, uint32_t third, int32_t n, int32_t answer) {
    const int32_t expected = ReferenceScaledDraw(primary, second, third, n);
    ASSERT_EQ(answer, expected) << "components " << primary << ", " << second << ", " << third << ", bound " << n;
}

TEST(RandomIdentity, ConsecutiveDrawsFromTheStart) {
    RandomState = {0, 0, 0, 0, true};
    const int64_t draws = 2'000'000 * kSweepScale;
    for (int64_t i = 0; i < draws; ++i) {
        const int32_t n = kBounds[i % std::size(kBounds)];
        const int32_t answer = RandomBelow(n);
        ASSERT_NO_FATAL_FAILURE(ExpectSameAnswer(RandomState.primary, RandomState.second, RandomState.third, n, answer));
    }
}

TEST(RandomIdentity, RandomStatesAndBounds) {
    std::mt19937_64 random(23);
    for (int64_t i = 0; i < 300'000 * kSweepScale; ++i) {
        const uint32_t p = random() % kModuli[0], s = random() % kModuli[1], t = random() % kModuli[2];
        const int32_t n = RandomBound(random);
        ASSERT_NO_FATAL_FAILURE(ExpectSameAnswer(p, s, t, n, ScaledDraw(p, s, t, n)));
    }
}

uint64_t PowerModulo(uint64_t base, uint64_t exponent, uint64_t modulus) {
    uint64_t result = 1;
    for (base %= modulus; exponent > 0; exponent /= 2, base = base * base % modulus)
        if (exponent % 2) result = result * base % modulus;
    return result;
}

// The components whose draw is exactly numerator / D: the three residues of the numerator
// divided by the other two moduli (the moduli are prime).
void ComponentsOf(uint64_t numerator, uint32_t components[3]) {
    for (int i = 0; i < 3; ++i) {
        const uint64_t modulus = kModuli[i], others = kDenominator / modulus % modulus;
        components[i] = static_cast<uint32_t>(numerator % modulus * PowerModulo(others, modulus - 2, modulus) % modulus);
    }
}

TEST(RandomIdentity, DrawsBesideAWholeMultipleAnswerAsInExtendedPrecision) {
    std::mt19937_64 random(2323);
    int64_t extendedDiffersFromExact = 0;
    for (int64_t i = 0; i < 20'000 * kSweepScale; ++i) {
        const int32_t n = RandomBound(random);
        if (n == 0) continue;
        const uint64_t range = static_cast<uint64_t>(std::abs(static_cast<int64_t>(n)));
        // The draws nearest to q / |n| from below and above.
        const uint64_t q = random() % range;
        const auto boundary = static_cast<uint64_t>((static_cast<unsigned __int128>(q) * kDenominator + range - 1) / range);
        for (int offset = -2; offset <= 2; ++offset) {
            const uint64_t numerator = (boundary + kDenominator + offset) % kDenominator;
            uint32_t c[3];
            ComponentsOf(numerator, c);
            const int32_t answer = ScaledDraw(c[0], c[1], c[2], n);
            ASSERT_NO_FATAL_FAILURE(ExpectSameAnswer(c[0], c[1], c[2], n, answer));
            const auto exact = static_cast<int64_t>(static_cast<unsigned __int128>(numerator) * range / kDenominator);
            if (answer != (n < 0 ? -exact : exact)) ++extendedDiffersFromExact;
        }
    }
    // Without such draws the test would not show that they are handed to the extended path.
    EXPECT_GT(extendedDiffersFromExact, 0);
}

}  // namespace
