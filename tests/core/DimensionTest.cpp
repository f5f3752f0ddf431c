#include "framework/core/Dimension.h"

#include <gtest/gtest.h>

TEST(DimensionTest, ShapeAndEmptiness)
{
    struct Case
    {
        int w, h;
        bool empty;
        int shape;
    };
    const Case cases[] = {
        {0, 5, true, 0},  {5, 0, true, 0},  {-3, -3, true, 0}, {4, 4, false, 3},
        {3, 8, false, 2}, {8, 3, false, 1}, {1, 1, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const Dimension d(c.w, c.h);
        EXPECT_EQ(d.IsEmpty(), c.empty);
        EXPECT_EQ(d.Shape(), c.shape);
    }
}

TEST(DimensionTest, AssignmentAndComparisonCoverBothSides)
{
    Dimension d;
    EXPECT_EQ(d.Set(3, 4), Dimension(3, 4));
    EXPECT_NE(d, Dimension(3, 5));
    EXPECT_NE(d, Dimension(2, 4));
    Dimension e(9, 9);
    e.Copy(d);
    EXPECT_EQ(e.GetW(), 3);
    EXPECT_EQ(e.GetH(), 4);
}
