#include "mahjong/board/MjMoves.h"

#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using mjtest::FakeGridTile;

namespace {

// Pops one group the way the undo does and returns its record types, newest first; empty when
// the pop does not start at an end record or does not stop at a start record.
std::vector<int> PopGroup(MjMoves& moves)
{
    std::vector<int> types;
    MjMove* r = moves.Pop();
    if (r->type != MjMove::kGroupEnd) {
        return {};
    }
    for (r = moves.Pop(); r->type > MjMove::kGroupStart; r = moves.Pop()) {
        types.push_back(r->type);
    }
    if (r->type != MjMove::kGroupStart) {
        return {};
    }
    return types;
}

} // namespace

TEST(MjMovesTest, RecordsCarryTheirFields)
{
    MjMoves moves;
    FakeGridTile a(1, 0, 0, 0), b(2, 2, 0, 0);
    moves.BeginGroup();
    moves.AddScore(12);
    moves.AddPair(&a, 2);
    moves.AddToTray(&b);
    moves.AddSwap(&a, &b);
    moves.AddChange(&a, &b, 7, 8, 1);
    EXPECT_EQ(moves.AddValue8(3), 8);
    EXPECT_EQ(moves.EndGroup(), 9);
    EXPECT_EQ(moves.LastIndex(), 8);

    struct Expected
    {
        int type;
        MjGridTile* a;
        MjGridTile* b;
        int c, d, e;
    };
    const std::vector<Expected> records = {
        {MjMove::kGroupStart, nullptr, nullptr, -1, -1, 0},
        {MjMove::kScore, nullptr, nullptr, 12, -1, 0},
        {MjMove::kTrayHeld, &a, nullptr, 2, -1, 0},
        {MjMove::kToTray, &b, nullptr, -1, -1, 0},
        {MjMove::kSwap, &a, &b, -1, -1, 0},
        {MjMove::kChange, &a, &b, 7, 8, 1},
        {MjMove::kTrayEmpty, nullptr, nullptr, 3, -1, 0},
        {MjMove::kGroupEnd, nullptr, nullptr, -1, -1, 0},
    };
    for (size_t n = 0; n < records.size(); ++n) {
        const MjMove& r = moves.Record(static_cast<int>(n) + 1);
        EXPECT_EQ(r.type, records[n].type) << n;
        EXPECT_EQ(r.a, records[n].a) << n;
        EXPECT_EQ(r.b, records[n].b) << n;
        EXPECT_EQ(r.c, records[n].c) << n;
        EXPECT_EQ(r.d, records[n].d) << n;
        EXPECT_EQ(r.e, records[n].e) << n;
    }
}

TEST(MjMovesTest, GroupsPopNewestFirstAndTheBottomRecordIsNeverPopped)
{
    MjMoves moves;
    EXPECT_EQ(moves.LastIndex(), 0);
    for (int g = 0; g < 2; ++g) {
        moves.BeginGroup();
        moves.AddScore(5);
        moves.AddValue8(1);
        moves.AddToTray(nullptr);
        moves.EndGroup();
    }
    EXPECT_EQ(PopGroup(moves),
              (std::vector<int>{MjMove::kToTray, MjMove::kTrayEmpty, MjMove::kScore}));
    EXPECT_NE(moves.LastIndex(), 0);
    EXPECT_FALSE(PopGroup(moves).empty());
    EXPECT_EQ(moves.LastIndex(), 0);

    // Popping an empty history hands out the bottom record and keeps it.
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(moves.Pop()->type, MjMove::kCleared);
        EXPECT_EQ(moves.Count(), 1);
    }
    EXPECT_EQ(testsupport::CountLogLines("Bad Undo Counter in MjMoves - 0"), 3);
    moves.BeginGroup();
    moves.AddScore(1);
    moves.EndGroup();
    EXPECT_EQ(PopGroup(moves), (std::vector<int>{MjMove::kScore}));
    EXPECT_EQ(moves.Reset(), 1);
    EXPECT_EQ(moves.LastIndex(), 0);
}

TEST(MjMovesTest, FullHistoryForgetsTheOldestWholeGroups)
{
    MjMoves moves;
    // Groups of seven records (start, score, 2 x (slot, tile), end) until well past full.
    const int groups = 2 * MjMoves::kRecords / 7;
    for (int g = 0; g < groups; ++g) {
        moves.BeginGroup();
        moves.AddScore(g);
        moves.AddValue8(1);
        moves.AddToTray(nullptr);
        moves.AddValue8(2);
        moves.AddToTray(nullptr);
        EXPECT_NE(moves.EndGroup(), 0) << g;
    }
    EXPECT_LE(moves.Count(), MjMoves::kRecords);
    // Every group still held is whole, the newest on top, down to the bottom record.
    int expectedScore = groups - 1;
    while (moves.LastIndex() != 0) {
        MjMove* end = moves.Pop();
        ASSERT_EQ(end->type, MjMove::kGroupEnd);
        MjMove* r = moves.Pop();
        int records = 0;
        int score = -1;
        for (; r->type > MjMove::kGroupStart; r = moves.Pop()) {
            ++records;
            if (r->type == MjMove::kScore) {
                score = r->c;
            }
        }
        ASSERT_EQ(r->type, MjMove::kGroupStart);
        EXPECT_EQ(records, 5);
        EXPECT_EQ(score, expectedScore--);
    }
    EXPECT_LT(expectedScore, groups - 600);
}

TEST(MjMovesTest, GroupLargerThanTheHistoryIsNotKeptHalf)
{
    MjMoves moves;
    moves.BeginGroup();
    moves.AddScore(1);
    moves.EndGroup();
    moves.BeginGroup();
    for (int n = 0; n < MjMoves::kRecords; ++n) {
        moves.AddToTray(nullptr);
    }
    EXPECT_EQ(moves.EndGroup(), 0);
    EXPECT_EQ(moves.LastIndex(), 0);
    moves.BeginGroup();
    moves.AddScore(2);
    EXPECT_EQ(moves.EndGroup(), 4);
    EXPECT_EQ(PopGroup(moves), (std::vector<int>{MjMove::kScore}));
}
