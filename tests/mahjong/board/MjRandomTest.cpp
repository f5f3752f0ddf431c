#include "mahjong/board/MjRandom.h"

#include <gtest/gtest.h>

TEST(MjRandomTest, SeedOneGivesTheKnownSequence)
{
    MjRandom::Seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) {
        EXPECT_EQ(MjRandom::Next(), value);
    }
}

TEST(MjRandomTest, SameSeedRepeatsAndValuesStayInRange)
{
    MjRandom::Seed(0xFFFFFFFFu);
    std::vector<int> first;
    for (int n = 0; n < 1000; ++n) {
        first.push_back(MjRandom::Next());
        EXPECT_GE(first.back(), 0);
        EXPECT_LE(first.back(), MjRandom::kMax);
    }
    MjRandom::Seed(0xFFFFFFFFu);
    for (int value : first) {
        EXPECT_EQ(MjRandom::Next(), value);
    }
}
