#include "framework/core/Rectangle.h"

#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const Rectangle& r, std::ostream* os)
{
    *os << "(" << r.GetX() << ", " << r.GetY() << ", " << r.GetW() << ", " << r.GetH()
        << " | count " << r.GetFrameCount() << ")";
}

static void PrintTo(const Point& p, std::ostream* os)
{
    *os << "(" << p.GetX() << ", " << p.GetY() << ")";
}

TEST(RectangleTest, EveryConstructorStartsTheFrameCountAtTwo)
{
    Rectangle source(1, 2, 3, 4);
    source.SetFrameCount(9);
    SDL_Rect sdl{5, 6, 7, 8};
    const Rectangle made[] = {Rectangle(), Rectangle(1, 2, 3, 4), Rectangle(&source),
                              Rectangle(sdl), Rectangle(&sdl)};
    for (const Rectangle& r : made) {
        EXPECT_EQ(r.GetFrameCount(), 2);
    }
    EXPECT_EQ(Rectangle(&source), Rectangle(1, 2, 3, 4));
    EXPECT_EQ(Rectangle(sdl), Rectangle(5, 6, 7, 8));
    EXPECT_EQ(Rectangle(&sdl), Rectangle(5, 6, 7, 8));
}

TEST(RectangleTest, NullSourcesGiveAnEmptyRectangle)
{
    const Rectangle* noRect = nullptr;
    const SDL_Rect* noSdl = nullptr;
    EXPECT_EQ(Rectangle(noRect), Rectangle(0, 0, 0, 0));
    EXPECT_EQ(Rectangle(noSdl), Rectangle(0, 0, 0, 0));
}

TEST(RectangleTest, SdlWidthsAboveShortRangeAreStoredSigned)
{
    SDL_Rect sdl{-3, 4, 40000, 65535};
    const Rectangle r(sdl);
    EXPECT_EQ(r.GetX(), -3);
    EXPECT_EQ(r.GetW(), static_cast<short>(40000));
    EXPECT_EQ(r.GetH(), -1);
    EXPECT_TRUE(r.IsEmpty());
}

TEST(RectangleTest, AssignmentKeepsTheTargetsFrameCountButCopyConstructionTakesIt)
{
    Rectangle source(1, 2, 3, 4);
    source.SetFrameCount(1);
    Rectangle target(9, 9, 9, 9);
    target.SetFrameCount(5);

    target = source;
    EXPECT_EQ(target, source);
    EXPECT_EQ(target.GetFrameCount(), 5);
    target.Copy(Rectangle(7, 7, 7, 7));
    EXPECT_EQ(target.GetFrameCount(), 5);

    const Rectangle copy(source);
    EXPECT_EQ(copy.GetFrameCount(), 1);

    target.SetEmpty();
    EXPECT_EQ(target, Rectangle(0, 0, 0, 0));
    EXPECT_EQ(target.GetFrameCount(), 2);
}

TEST(RectangleTest, MovingAndShifting)
{
    Rectangle r(10, 20, 30, 40);
    EXPECT_EQ(r.Move(1, 2), Rectangle(1, 2, 30, 40));
    EXPECT_EQ(r.Offset(5, -5), Rectangle(6, -3, 30, 40));
    EXPECT_EQ(r += Point(4, 3), Rectangle(10, 0, 30, 40));
    EXPECT_EQ(r -= Point(10, 10), Rectangle(0, -10, 30, 40));
    EXPECT_EQ(r.Move(Point(100, 200)).SetDim(5, 6), Rectangle(100, 200, 5, 6));
    // The point's coordinates are cut to 16 bits.
    EXPECT_EQ(r.Move(Point(65536 + 7, -65536 - 8)), Rectangle(7, -8, 5, 6));

    const Rectangle base(10, 20, 30, 40);
    EXPECT_EQ(base + Point(1, 2), Rectangle(11, 22, 30, 40));
    EXPECT_EQ(base - Point(1, 2), Rectangle(9, 18, 30, 40));
    EXPECT_EQ(Point(1, 2) + base, Rectangle(11, 22, 30, 40));
    EXPECT_EQ(Point(1, 2) - base, Rectangle(9, 18, 30, 40));
    EXPECT_EQ(base + Dimension(5, 6), Rectangle(10, 20, 35, 46));
    EXPECT_EQ(base - Dimension(5, 6), Rectangle(10, 20, 25, 34));
    EXPECT_EQ(Point(base), Point(10, 20));
    EXPECT_EQ(base, Rectangle(10, 20, 30, 40));
}

TEST(RectangleTest, OnScreen)
{
    struct Case
    {
        Rectangle r;
        bool onScreen;
    };
    const Case cases[] = {
        {Rectangle(799, 0, 1, 1), true},           {Rectangle(800, 0, 1, 1), false},
        {Rectangle(-5, 0, 5, 1), false},           {Rectangle(-5, 0, 6, 1), true},
        {Rectangle(0, 599, 1, 1), true},           {Rectangle(0, 600, 1, 1), false},
        {Rectangle(0, -5, 1, 5), false},           {Rectangle(0, -5, 1, 6), true},
        {Rectangle(10, 10, 0, 5), false},          {Rectangle(10, 10, 5, -1), false},
        {Rectangle(-100, -100, 2000, 2000), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.r));
        EXPECT_EQ(c.r.OnScreen(), c.onScreen);
    }
}

TEST(RectangleTest, ContainsHalfOpenArea)
{
    const Rectangle r(10, 20, 5, 5);
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(14, 24));
    EXPECT_FALSE(r.Contains(15, 20));
    EXPECT_FALSE(r.Contains(10, 25));
    EXPECT_FALSE(r.Contains(9, 20));
    EXPECT_TRUE(r.Contains(Point(12, 22)));
    EXPECT_FALSE(Rectangle(0, 0, 0, 5).Contains(0, 0));
}

TEST(RectangleTest, ContainsDoesNotWrapFarAwayPoints)
{
    // In 16 bits, -30000 - 30000 wraps to 5536, which lies within the width.
    const Rectangle r(30000, 0, 6000, 10);
    EXPECT_FALSE(r.Contains(-30000, 5));
    EXPECT_FALSE(r.Contains(Point(30000 + 65536, 5)));
    EXPECT_TRUE(r.Contains(32767, 5));
}

TEST(RectangleTest, UnionIncludesEmptyOperandsAndTakesTheLargerFrameCount)
{
    Rectangle a(10, 10, 5, 5);
    a.SetFrameCount(1);
    const Rectangle b(20, 20, 5, 5);

    const Rectangle u = a + b;
    EXPECT_EQ(u, Rectangle(10, 10, 15, 15));
    EXPECT_EQ(u.GetFrameCount(), 2);

    Rectangle c(10, 10, 5, 5);
    c.SetFrameCount(7);
    EXPECT_EQ((c + b).GetFrameCount(), 7);

    // An empty rectangle's corner still stretches the box.
    EXPECT_EQ(Rectangle(0, 0, 0, 0) + b, Rectangle(0, 0, 25, 25));

    // Union in place takes the area but keeps the own frame count.
    c.Union(b);
    EXPECT_EQ(c, Rectangle(10, 10, 15, 15));
    EXPECT_EQ(c.GetFrameCount(), 7);
    Rectangle d(0, 0, 1, 1);
    d += Rectangle(2, 3, 1, 1);
    EXPECT_EQ(d, Rectangle(0, 0, 3, 4));
}

TEST(RectangleTest, UnionOfNothingIsEmptyWithCountTwo)
{
    Rectangle a(5, 5, 0, 0);
    a.SetFrameCount(9);
    const Rectangle u = a + Rectangle(5, 5, -2, 3);
    EXPECT_EQ(u, Rectangle(0, 0, 0, 0));
    EXPECT_EQ(u.GetFrameCount(), 2);
}

TEST(RectangleTest, Intersection)
{
    struct Case
    {
        Rectangle a, b, expected;
    };
    const Case cases[] = {
        {Rectangle(10, 10, 5, 5), Rectangle(20, 20, 5, 5), Rectangle(0, 0, 0, 0)},
        {Rectangle(0, 0, 10, 10), Rectangle(5, 6, 10, 10), Rectangle(5, 6, 5, 4)},
        {Rectangle(0, 0, 10, 10), Rectangle(2, 2, 3, 3), Rectangle(2, 2, 3, 3)},
        // Touching edges share no area.
        {Rectangle(0, 0, 10, 10), Rectangle(10, 0, 10, 10), Rectangle(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.a) + " - " + testing::PrintToString(c.b));
        Rectangle a(c.a);
        a.SetFrameCount(5);
        const Rectangle cut = a - c.b;
        EXPECT_EQ(cut, c.expected);
        EXPECT_EQ(cut.GetFrameCount(), 2);
        EXPECT_EQ(a.Intersect(c.b), c.expected);
        Rectangle again(c.a);
        EXPECT_EQ(again -= c.b, c.expected);
    }
}

TEST(RectangleTest, IntersectsWithInclusiveEdges)
{
    struct Case
    {
        Rectangle a, b;
        bool hit;
    };
    const Case cases[] = {
        {Rectangle(0, 0, 10, 10), Rectangle(9, 9, 5, 5), true},
        {Rectangle(0, 0, 10, 10), Rectangle(10, 0, 5, 5), false},
        {Rectangle(0, 0, 10, 10), Rectangle(0, 10, 5, 5), false},
        {Rectangle(0, 0, 10, 10), Rectangle(2, 2, 3, 3), true},
        {Rectangle(2, 2, 3, 3), Rectangle(0, 0, 10, 10), true},
        {Rectangle(0, 0, 10, 10), Rectangle(-5, -5, 6, 6), true},
        {Rectangle(0, 0, 10, 10), Rectangle(-5, -5, 5, 5), false},
        // Wide in x but short in y: the narrow one is chosen per axis.
        {Rectangle(0, 0, 100, 2), Rectangle(50, -10, 2, 100), true},
        {Rectangle(0, 0, 100, 2), Rectangle(50, 3, 2, 100), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.a) + " with " + testing::PrintToString(c.b));
        EXPECT_EQ(Rectangle::Intersects(c.a, c.b), c.hit);
        EXPECT_EQ(c.a.Intersects(c.b), c.hit);
        EXPECT_EQ(c.a.Intersects(&c.b, 0, 0, 0, 0, 0, 0, 0, 0), c.hit);
    }
    const Rectangle* none = nullptr;
    EXPECT_FALSE(Rectangle(0, 0, 10, 10).Intersects(none));
}

TEST(RectangleTest, IntersectInsetsShrinkTheNarrowAndWideRectanglesHorizontally)
{
    const Rectangle narrow(9, 0, 5, 5);
    const Rectangle wide(0, 0, 10, 10);
    ASSERT_TRUE(Rectangle::Intersects(wide, narrow));
    // The narrow one moved right by 1 starts at 10, past the wide one's last column 9.
    EXPECT_FALSE(Rectangle::Intersects(wide, narrow, 1, 0, 0, 0, 0, 0, 0, 0));
    // The wide one's right inset brings its last column to 8.
    EXPECT_FALSE(Rectangle::Intersects(wide, narrow, 0, 0, 0, 0, 0, 0, 1, 0));
    // Top and bottom insets are not used.
    EXPECT_TRUE(Rectangle::Intersects(wide, narrow, 0, 50, 0, 50, 0, 50, 0, 50));
}

TEST(RectangleTest, ClipAndWrap)
{
    const Rectangle r(0, 0, 100, 100);
    EXPECT_EQ(r.Wrap(Point(-1, 250)), Point(99, 50));
    EXPECT_EQ(r.Clip(Point(-1, 250)), Point(0, 99));
    EXPECT_EQ(r.Wrap(Point(100, 99)), Point(0, 99));
    EXPECT_EQ(r.Clip(Point(50, 50)), Point(50, 50));

    const Rectangle offset(10, 20, 30, 40);
    EXPECT_EQ(offset.Wrap(Point(9, 60)), Point(39, 20));
    // Far-away points wrap in one step, not by billions of additions.
    EXPECT_EQ(offset.Wrap(Point(-1999999999, 2000000000)), Point(11, 40));
    EXPECT_EQ(offset.Clip(Point(1000, -1000)), Point(39, 20));
    EXPECT_EQ(Rectangle(5, 5, 0, 10).Wrap(Point(7, 7)), Point(0, 0));
}

TEST(RectangleTest, SdlRectShowsTheLastRefresh)
{
    Rectangle r(-4, 5, 6, 7);
    SDL_Rect* view = r.SdlRect();
    EXPECT_EQ(view->x, -4);
    EXPECT_EQ(view->y, 5);
    EXPECT_EQ(view->w, 6);
    EXPECT_EQ(view->h, 7);

    r.Set(1, 2, 3, 4);
    EXPECT_EQ(view->x, -4);
    EXPECT_EQ(r.SdlRect(), view);
    EXPECT_EQ(view->x, 1);
    EXPECT_EQ(view->h, 4);
}

TEST(RectangleTest, SdlRectShowsNegativeSizesAsZero)
{
    Rectangle r(0, 0, -5, -1);
    const SDL_Rect* view = r.SdlRect();
    EXPECT_EQ(view->w, 0);
    EXPECT_EQ(view->h, 0);
}
