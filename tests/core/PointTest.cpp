#include "framework/core/Point.h"

#include <climits>
#include <gtest/gtest.h>

TEST(PointTest, DivisionTouchesXOnlyWhileMultiplicationScalesBoth)
{
    Point p(7, 9);
    EXPECT_EQ(p / 2, Point(3, 9));
    EXPECT_EQ(p * 2, Point(14, 18));
    EXPECT_EQ(2 * p, p * 2);

    Point q(7, 9);
    q /= 2;
    EXPECT_EQ(q, Point(3, 9));
    q *= 3;
    EXPECT_EQ(q, Point(9, 27));
    EXPECT_EQ(Point(8, 5).Scale(-1), Point(-8, -5));
}

TEST(PointTest, ArithmeticReturnsThePointForChaining)
{
    Point p(1, 2);
    p.Move(3, 4).Add(Point(10, 20)) += Point(100, 200);
    EXPECT_EQ(p, Point(114, 226));
    p.Subtract(Point(14, 26)) -= Point(100, 100);
    EXPECT_EQ(p, Point(0, 100));
    EXPECT_EQ(p.Set(-4, 8), Point(-4, 8));
    EXPECT_EQ(Point().Copy(p), p);
}

TEST(PointTest, ValueOperatorsLeaveTheOperandsAlone)
{
    const Point a(5, -3);
    const Point b(2, 4);
    EXPECT_EQ(a + b, Point(7, 1));
    EXPECT_EQ(a - b, Point(3, -7));
    EXPECT_EQ(-a, Point(-5, 3));
    EXPECT_EQ(+a, a);
    EXPECT_EQ(a, Point(5, -3));
    EXPECT_NE(a, Point(5, 3));
    EXPECT_NE(a, Point(-5, -3));
}

TEST(PointTest, DividingByZeroOrMinusOneDoesNotTrap)
{
    Point p(7, 9);
    p /= 0;
    EXPECT_EQ(p, Point(7, 9));
    EXPECT_EQ(Point(INT_MIN, 1) / -1, Point(INT_MIN, 1));
    EXPECT_EQ(Point(6, 1) / -1, Point(-6, 1));
}
