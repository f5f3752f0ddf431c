#include "framework/core/StringUtils.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Pieces = std::vector<std::string>;

TEST(StringUtilsTest, TrimRemovesOuterBlanksAndTabsOnly)
{
    struct Case
    {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"\t  x y ", "x y"},  {"", ""},           {" \t \t", ""}, {"abc", "abc"},
        {"a\t\tb", "a\t\tb"}, {"\nx\n", "\nx\n"}, {" x", "x"},    {"x\t", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(StringUtils::Trim(c.in), c.out);
    }
}

TEST(StringUtilsTest, FormatNumGroupsThousandsOfNonNegativeNumbers)
{
    struct Case
    {
        int n;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {1005, "1,005"},
        {999999, "999,999"},
        {1000000, "1,000,000"},
        {1234567, "1,234,567"},
        {999999999, "999,999,999"},
        {1000000000, "1,000,000,000"},
        {2000000005, "2,000,000,005"},
        {INT_MAX, "2,147,483,647"},
        {-1234, "-1234"},
        {-5000, "-5000"},
        {INT_MIN, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(StringUtils::FormatNum(c.n), c.text);
    }
}

TEST(StringUtilsTest, SplitString)
{
    struct Case
    {
        const char* text;
        const char* delimiter;
        bool keep;
        Pieces pieces;
    };
    const Case cases[] = {
        {"a,b,c", ",", false, {"a", "b", "c"}},
        // A delimiter right after another starts the next piece.
        {"a,,b", ",", false, {"a", ",b"}},
        {"a,,,b", ",", false, {"a", ",", "b"}},
        {",a", ",", false, {"a"}},
        {"a,b,", ",", false, {"a", "b"}},
        {"a,b", ",", true, {"a", ",b"}},
        {"a,b,", ",", true, {"a", ",b", ","}},
        {"", ",", false, {}},
        {"abc", ",", false, {"abc"}},
        {",", ",", false, {}},
        {"one--two--three", "--", false, {"one", "two", "three"}},
        {"one--two--three", "--", true, {"one", "--two", "--three"}},
        {"x-y", "--", false, {"x-y"}},
        {"para@@next", "@", false, {"para", "@next"}},
        {"pic.png,9,4,perpixel", ",", false, {"pic.png", "9", "4", "perpixel"}},
        {"abc", "", false, {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at '" + c.delimiter + "'" + (c.keep ? " kept" : ""));
        Pieces out;
        const int appended = StringUtils::SplitString(c.text, c.delimiter, out, c.keep);
        EXPECT_EQ(out, c.pieces);
        EXPECT_EQ(appended, static_cast<int>(c.pieces.size()));
    }
}

TEST(StringUtilsTest, SplitStringAppendsWithoutClearing)
{
    Pieces out{"kept"};
    EXPECT_EQ(StringUtils::SplitString("a,b", ",", out, false), 2);
    EXPECT_EQ(out, (Pieces{"kept", "a", "b"}));
    EXPECT_EQ(StringUtils::SplitString("", ",", out, false), 0);
    EXPECT_EQ(out.size(), 3u);
}
