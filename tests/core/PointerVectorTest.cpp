#include "framework/core/PointerVector.h"

#include "framework/core/Debug.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<void*> Entries(const PointerVector& v)
{
    std::vector<void*> out;
    for (int i = 0; i < v.Size(); ++i) {
        out.push_back(v[i]);
    }
    return out;
}

class PointerVectorTest : public ::testing::Test
{
protected:
    int _a = 0;
    int _b = 0;
    int _c = 0;
};

TEST_F(PointerVectorTest, KeepsPushesUpToItsCapacity)
{
    PointerVector two(2);
    two.PushBack(&_a);
    two.PushBack(&_b);
    two.PushBack(&_c);
    EXPECT_EQ(Entries(two), (std::vector<void*>{&_a, &_b}));
    EXPECT_EQ(two.Capacity(), 2);

    PointerVector standard;
    EXPECT_EQ(standard.Capacity(), 50);
    EXPECT_TRUE(standard.Empty());
    for (int i = 0; i < 60; ++i) {
        standard.PushBack(&_a);
    }
    EXPECT_EQ(standard.Size(), 50);

    PointerVector negative(-3);
    negative.PushBack(&_a);
    EXPECT_EQ(negative.Capacity(), 0);
    EXPECT_TRUE(negative.Empty());
}

TEST_F(PointerVectorTest, NullPushIsRefusedWithALogLine)
{
    PointerVector v(4);
    v.PushBack(nullptr);
    EXPECT_TRUE(v.Empty());

    Debug::DebugFlush();
    EXPECT_NE(testsupport::ReadFile("debug.txt").find("Adding NULL pointer to PointerVector"),
              std::string::npos);
}

TEST_F(PointerVectorTest, EraseClosesTheGapAndIgnoresIndicesOutsideTheEntries)
{
    PointerVector v(3);
    v.PushBack(&_a);
    v.PushBack(&_b);
    v.PushBack(&_c);

    v.Erase(0);
    EXPECT_EQ(Entries(v), (std::vector<void*>{&_b, &_c}));
    EXPECT_EQ(v[2], nullptr);

    for (int bad : {-1, 2, 3, 1000}) {
        v.Erase(bad);
        EXPECT_EQ(Entries(v), (std::vector<void*>{&_b, &_c})) << "index " << bad;
    }

    v.Erase(1);
    v.Erase(0);
    EXPECT_TRUE(v.Empty());
    v.Erase(0);
    EXPECT_EQ(v.Size(), 0);

    // The freed places can be filled again.
    v.PushBack(&_a);
    EXPECT_EQ(Entries(v), (std::vector<void*>{&_a}));
}

TEST_F(PointerVectorTest, PopBackReturnsTheRemovedEntryAndEraseAllEmpties)
{
    PointerVector v(3);
    EXPECT_EQ(v.PopBack(), nullptr);

    v.PushBack(&_a);
    v.PushBack(&_b);
    EXPECT_EQ(v.PopBack(), &_b);
    EXPECT_EQ(Entries(v), (std::vector<void*>{&_a}));

    v.PushBack(&_c);
    v.EraseAll();
    EXPECT_TRUE(v.Empty());
    EXPECT_EQ(v[0], nullptr);
    EXPECT_EQ(v[1], nullptr);
    for (int i = 0; i < 3; ++i) {
        v.PushBack(&_b);
    }
    EXPECT_EQ(v.Size(), 3);
}

} // namespace
