#include <gtest/gtest.h>

#include "runtime/random.h"

namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { RandomState = {0, 0, 0, 0, true}; }
};

TEST_F(RandomTest, FirstDrawsFollowTheWorkedTable) {
    struct Row {
        uint32_t primary, second, third;
        long double u;
    };
    const Row rows[] = {
        {51315, 178103, 240118, 0.7132419314L},
        {228448, 449977, 232856, 0.5111267601L},
        {282096, 276592, 29582, 0.0638171629L},
        {156900, 479066, 513840, 0.7836977852L},
        {270117, 591071, 654767, 0.3809595713L},
    };
    for (const Row& row : rows) {
        const long double u = RandomUnit();
        EXPECT_EQ(RandomState.primary, row.primary);
        EXPECT_EQ(RandomState.second, row.second);
        EXPECT_EQ(RandomState.third, row.third);
        EXPECT_NEAR(static_cast<double>(u), static_cast<double>(row.u), 1e-10);
    }
}

TEST_F(RandomTest, FirstTwelveCornersAndContinuation) {
    const int32_t expected[] = {2, 1, 0, 2, 1, 0, 2, 2, 2, 1, 2, 1};
    for (int32_t value : expected) EXPECT_EQ(RandomBelow(3), value);
    // The sequence goes on from where it stopped; no re-seeding happens later.
    const RandomStateRecord before = RandomState;
    RandomBelow(3);
    EXPECT_EQ(RandomState.primary, (before.primary + 1) * 706 % 500009);
}

// The components' remainders are not taken by division: every state of each steps as its
// congruence says.
TEST_F(RandomTest, EveryStateStepsByItsCongruence) {
    for (uint32_t v = 0; v < 765241; ++v) {
        const uint32_t primary = v % 500009, second = v % 600011;
        RandomState = {primary, second, v, primary, false};
        RandomBelow(3);
        ASSERT_EQ(RandomState.primary, (primary + 1) * 706 % 500009) << v;
        ASSERT_EQ(RandomState.second, (second + 1) * 774 % 600011) << v;
        ASSERT_EQ(RandomState.third, (v + 1) * 871 % 765241) << v;
    }
}

TEST_F(RandomTest, SmallAndNegativeRanges) {
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomBelow(1), 0);
    for (int i = 0; i < 200; ++i) {
        const int32_t value = RandomBelow(-5);
        EXPECT_LE(value, 0);
        EXPECT_GE(value, -4);
    }
}

TEST_F(RandomTest, ChangingTheSeedFromOutsideDerivesTheComponentsAgain) {
    RandomUnit();
    RandomState.primary = 0;  // the same state as at load, but no longer marked as new
    RandomUnit();
    EXPECT_EQ(RandomState.primary, 51315u);
    EXPECT_EQ(RandomState.second, 178103u);
}

}  // namespace
