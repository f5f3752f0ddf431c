#include "framework/core/Color.h"

#include <climits>
#include <gtest/gtest.h>
#include <ostream>

// Found by gtest through the colour's namespace, for readable failures.
static void PrintTo(const Color& c, std::ostream* os)
{
    *os << "(" << int(c.GetR()) << ", " << int(c.GetG()) << ", " << int(c.GetB()) << ", "
        << int(c.GetA()) << ")";
}

TEST(ColorTest, SumAndDifferenceSaturateAllFourBytes)
{
    Color c(200, 10, 10, 255);
    c += Color(100, 10, 10, 10);
    EXPECT_EQ(c, Color(255, 20, 20, 255));

    Color d(5, 100, 0, 20);
    d -= Color(10, 40, 1, 30);
    EXPECT_EQ(d, Color(0, 60, 0, 0));

    EXPECT_EQ(Color(1, 2, 3, 4) + Color(1, 1, 1, 1), Color(2, 3, 4, 5));
    EXPECT_EQ(Color(9, 9, 9, 9) - Color(1, 2, 3, 4), Color(8, 7, 6, 5));
}

TEST(ColorTest, ScalingByIntWrapsAndNonPositiveClearsAlpha)
{
    struct Case
    {
        Color in;
        int n;
        Color times;
        Color divided;
    };
    const Case cases[] = {
        {Color(100, 10, 10, 255), 3, Color(44, 30, 30, 255), Color(33, 3, 3, 255)},
        {Color(50, 50, 50, 200), 0, Color(0, 0, 0, 0), Color(0, 0, 0, 0)},
        {Color(50, 50, 50, 200), -2, Color(0, 0, 0, 0), Color(0, 0, 0, 0)},
        {Color(1, 2, 255, 7), 1, Color(1, 2, 255, 7), Color(1, 2, 255, 7)},
        // A huge factor keeps the low byte of the product instead of overflowing.
        {Color(1, 2, 3, 7), INT_MAX, Color(255, 254, 253, 7), Color(0, 0, 0, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        Color times(c.in);
        times *= c.n;
        EXPECT_EQ(times, c.times);
        EXPECT_EQ(c.in * c.n, c.times);
        Color divided(c.in);
        divided /= c.n;
        EXPECT_EQ(divided, c.divided);
        EXPECT_EQ(c.in / c.n, c.divided);
    }
}

TEST(ColorTest, ColourOperatorsKeepTheLeftAlpha)
{
    const Color a(0xF0, 0x0F, 0xAA, 10);
    const Color b(0x3C, 0x3C, 0xFF, 200);
    EXPECT_EQ(a | b, Color(0xFC, 0x3F, 0xFF, 10));
    EXPECT_EQ(a & b, Color(0x30, 0x0C, 0xAA, 10));
    EXPECT_EQ(a ^ b, Color(0xCC, 0x33, 0x55, 10));
    EXPECT_EQ(~a, Color(0x0F, 0xF0, 0x55, 10));
    // Modulation: own x other / 255, truncated.
    EXPECT_EQ(Color(255, 128, 100, 9) * Color(128, 128, 0, 255), Color(128, 64, 0, 9));
    EXPECT_EQ(a, Color(0xF0, 0x0F, 0xAA, 10));
}

TEST(ColorTest, EqualsIgnoresAlphaButEqualityDoesNot)
{
    const Color a(1, 2, 3, 0);
    const Color b(1, 2, 3, 255);
    EXPECT_TRUE(a.Equals(b));
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a.Equals(Color(1, 2, 4, 0)));
}

TEST(ColorTest, SdlViewsShareTheBytes)
{
    Color c(10, 20, 30, 40);
    const SDL_Color copy = c;
    EXPECT_EQ(copy.r, 10);
    EXPECT_EQ(copy.g, 20);
    EXPECT_EQ(copy.b, 30);
    EXPECT_EQ(copy.unused, 40);

    SDL_Color* view = c;
    ASSERT_NE(view, nullptr);
    view->g = 99;
    EXPECT_EQ(c.GetG(), 99);
    c.A() = 77;
    EXPECT_EQ(view->unused, 77);
    c.SetR(5);
    EXPECT_EQ(view->r, 5);
}

TEST(ColorTest, Factories)
{
    struct Case
    {
        const char* name;
        Color made;
        Color expected;
    };
    const Case cases[] = {
        {"Red", Color::Red(7), Color(7, 0, 0, 255)},
        {"Green", Color::Green(7), Color(0, 7, 0, 255)},
        {"Blue", Color::Blue(7), Color(0, 0, 7, 255)},
        {"Yellow", Color::Yellow(7), Color(7, 7, 0, 255)},
        {"Cyan", Color::Cyan(7), Color(0, 7, 7, 255)},
        {"Magenta", Color::Magenta(7), Color(7, 0, 7, 255)},
        {"White", Color::White(7), Color(7, 7, 7, 255)},
        {"DarkRed", Color::DarkRed(7), Color(7, 0, 0, 255)},
        {"DarkCyan", Color::DarkCyan(7), Color(0, 7, 7, 255)},
        {"Black", Color::Black(7), Color(7, 7, 7, 255)},
        {"Black default", Color::Black(), Color(0, 0, 0, 255)},
        {"LightRed", Color::LightRed(128, 255), Color(255, 128, 128, 255)},
        {"LightGreen", Color::LightGreen(0x0F, 0xF0), Color(0x0F, 0xFF, 0x0F, 255)},
        {"LightBlue", Color::LightBlue(1, 2), Color(1, 1, 3, 255)},
        {"LightYellow", Color::LightYellow(1, 2), Color(3, 3, 1, 255)},
        {"LightCyan", Color::LightCyan(1, 2), Color(1, 3, 3, 255)},
        {"LightMagenta", Color::LightMagenta(1, 2), Color(3, 1, 3, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.made, c.expected);
    }
}
