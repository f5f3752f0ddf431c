#include "framework/core/MultiType.h"

#include <gtest/gtest.h>
#include <string>

TEST(MultiTypeTest, NumbersAreWrittenWithSixSignificantDigits)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {64.0, "64"},         {0.5, "0.5"}, {2.25, "2.25"},  {1234567.0, "1.23457e+06"},
        {-3.0, "-3"},         {0.0, "0"},   {1e-5, "1e-05"}, {100000.0, "100000"},
        {123456.7, "123457"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::string(MultiType(c.value)), c.text);
        MultiType assigned("old");
        assigned = c.value;
        EXPECT_EQ(std::string(assigned), c.text);
    }
}

TEST(MultiTypeTest, LargeNumbersLosePrecisionOnTheWayBack)
{
    EXPECT_DOUBLE_EQ(double(MultiType(1234567.0)), 1234570.0);
}

TEST(MultiTypeTest, TextReadsAsTheLongestLeadingNumber)
{
    struct Case
    {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0.0},       {"abc", 0.0},   {"12abc", 12.0},  {"  -4.5", -4.5},
        {"1e3", 1000.0}, {"3.5.1", 3.5}, {"255,0,0", 255}, {"+7", 7.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(double(MultiType(c.text)), c.value);
        EXPECT_DOUBLE_EQ(double(MultiType(std::string(c.text))), c.value);
    }
}

TEST(MultiTypeTest, EmptyValueIsZeroAndEmptyText)
{
    const MultiType empty;
    EXPECT_EQ(double(empty), 0.0);
    EXPECT_EQ(std::string(empty), "");
    EXPECT_EQ(std::string(MultiType(static_cast<const char*>(nullptr))), "");
}

TEST(MultiTypeTest, CopiesAreIndependent)
{
    MultiType original("first");
    MultiType copy(original);
    original = std::string("second");
    EXPECT_EQ(std::string(copy), "first");
    copy = original;
    EXPECT_EQ(std::string(copy), "second");
    copy = "third";
    EXPECT_EQ(std::string(copy), "third");
    EXPECT_EQ(std::string(original), "second");
}

TEST(MultiTypeTest, IntegersAndBooleansGoThroughTheNumber)
{
    const int truncated = static_cast<int>(double(MultiType("-7.9")));
    EXPECT_EQ(truncated, -7);
    EXPECT_TRUE(static_cast<bool>(double(MultiType("0.1"))));
    EXPECT_FALSE(static_cast<bool>(double(MultiType("false"))));
}
