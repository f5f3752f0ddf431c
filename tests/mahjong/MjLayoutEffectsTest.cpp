#include "mahjong/MjLayout.h"
#include "tests/mahjong/FakeGridTile.h"
#include "tests/mahjong/MjLayoutTestSupport.h"

#include <gtest/gtest.h>

using mjtest::FakeGridTile;
using mjtest::FakeTileFactory;
using mjtest::Spot;

namespace {

std::vector<Spot> Spread(const std::vector<int>& types)
{
    std::vector<Spot> spots;
    for (size_t n = 0; n < types.size(); ++n) {
        spots.push_back({static_cast<int>(n % 6) * 4, static_cast<int>(n / 6) * 3, 1, types[n]});
    }
    return spots;
}

struct Board : mjtest::FakeBoard
{
    explicit Board(const std::vector<int>& types, int matchSize = 2)
        : FakeBoard(Spread(types), matchSize, 24, 8, 1)
    {}
    // Types of the tiles the clearing has taken, in order of taking.
    std::vector<int> TakenTypes() const
    {
        std::vector<int> types;
        for (const auto& tile : factory.tiles) {
            if (tile->besideTarget != nullptr) {
                types.push_back(tile->GetType());
            }
        }
        return types;
    }
};

} // namespace

TEST(MjLayoutEffectsTest, ClearingStepsTakeMatchesTypeByType)
{
    struct StepCase
    {
        const char* name;
        std::vector<int> types;
        int matchSize;
        std::vector<int> results;
    };
    const std::vector<StepCase> cases = {
        {"no bricks: the first call already takes", {1, 0, 1, 0}, 2, {2, 2, 0}},
        {"odd counts carry over to the next type", {0, 0, 0, 1, 1, 1}, 2, {2, 2, 2, 0}},
        {"bricks fade first, bricks and yin-yang stay", {45, 42, 42, 3, 3}, 2, {1, 2, 0}},
        {"27 to 29 go last", {27, 27, 29, 29, 5, 5}, 2, {2, 2, 2, 0}},
        {"power tiles one at a time", {46, 3, 47, 3}, 2, {2, 1, 1, 0}},
        {"triples", {8, 8, 8, 30, 30, 30}, 3, {3, 3, 0}},
    };
    CastMember t1, t2, t3;
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        Board board(c.types, c.matchSize);
        std::vector<int> results;
        for (size_t n = 0; n < c.results.size(); ++n) {
            results.push_back(board.layout->EffectStep(&t1, &t2, &t3));
        }
        EXPECT_EQ(results, c.results);
        for (const auto& tile : board.factory.tiles) {
            const int type = tile->GetType();
            const bool stays = type == 42 || type == 45;
            EXPECT_EQ(tile->besideTarget == nullptr, stays) << type;
            EXPECT_EQ(tile->fades.empty(), type != 45) << type;
        }
        // The clearing starts over with the next run.
        EXPECT_EQ(board.layout->EffectStep(&t1, &t2, &t3), c.types[0] == 45 ? 1 : 0);
    }
}

TEST(MjLayoutEffectsTest, ClearingOrderAndTargets)
{
    Board board({29, 5, 27, 5, 28, 29, 27, 28});
    CastMember t1, t2, t3;
    while (board.layout->EffectStep(&t1, &t2, &t3) != 0) {
    }
    // Taken per type in scan order: 5, then 27, 28, 29.
    std::vector<int> taken = board.TakenTypes();
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(taken, (std::vector<int>{5, 5, 27, 27, 28, 28, 29, 29}));
    const auto tileAt = [&](int i) {
        return static_cast<FakeGridTile*>(board.layout->Cell(i, 0, 0).tile);
    };
    EXPECT_EQ(tileAt(4)->besideTarget, &t1);
    EXPECT_EQ(tileAt(12)->besideTarget, &t2);
    EXPECT_EQ(tileAt(12)->besideMs, 300);
    EXPECT_EQ(board.layout->Cell(4, 0, 0).state, MjCell::kEmpty);
}

TEST(MjLayoutEffectsTest, FlyInPatternsCycleThroughTheStartPoints)
{
    Board board({1});
    FakeGridTile* tile = board.factory.tiles[0].get();
    const int tx = board.layout->CellX(0, 0, 0);
    const int ty = board.layout->CellY(0, 0, 0);
    // (Sx, Sy) is (10, 20), W 40, H 50; the tile stands at (0, 0, 0), order 0.
    const std::vector<std::vector<int>> starts = {{-200, 600}, {10, 20}, {300, 300}, {700, 500},
                                                  {10, 20},    {10, 20}, {-200, 600}};
    const std::vector<int> times = {1000, 1000, 1000, 1000, 1000, 100, 1000};
    for (size_t n = 0; n < starts.size(); ++n) {
        EXPECT_EQ(board.layout->AnimateAll(nullptr, MjLayout::kFlyIn, 0), 0);
        EXPECT_EQ(tile->jumps.back(), starts[n]) << n;
        EXPECT_EQ(tile->moves.back().x, tx);
        EXPECT_EQ(tile->moves.back().y, ty);
        EXPECT_EQ(tile->moves.back().ms, times[n]) << n;
    }
}

TEST(MjLayoutEffectsTest, GatheringStopsAfterThreeTilesAndSnapBackTakesAll)
{
    Board board({1, 2, 3, 4, 5});
    EXPECT_EQ(board.layout->AnimateAll(nullptr, MjLayout::kGather, 100), 1);
    int marked = 0;
    for (int index : board.layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        marked += board.layout->Cell(i, j, k).dealMark == MjCell::kGathered ? 1 : 0;
    }
    EXPECT_EQ(marked, 3);
    // The first gathered tile (right-most column first) jumps below the board and flies to the
    // spot; it comes back to its cell later.
    FakeGridTile* first = board.factory.tiles[4].get();
    ASSERT_EQ(first->jumps.size(), 1u);
    EXPECT_EQ(first->jumps[0][0], 100);
    EXPECT_GE(first->jumps[0][1], 561);
    EXPECT_LE(first->jumps[0][1], 580);
    EXPECT_EQ(first->moves.back().x, 130);
    EXPECT_EQ(first->moves.back().y, 200);
    EXPECT_EQ(first->moves.back().ms, 500);
    ASSERT_EQ(first->laterMoves.size(), 1u);
    EXPECT_EQ(first->laterMoves[0].delay, 500);
    EXPECT_EQ(first->laterMoves[0].duration, 400);
    EXPECT_EQ(board.factory.tiles[3]->moves.back().ms, 550);

    EXPECT_EQ(board.layout->AnimateAll(nullptr, MjLayout::kGather, 100), 0);
    for (const auto& tile : board.factory.tiles) {
        EXPECT_EQ(tile->laterMoves.size(), 1u); // each gathered once
    }

    EXPECT_EQ(board.layout->AnimateAll(nullptr, MjLayout::kSnapBack, 0), 0);
    for (const auto& tile : board.factory.tiles) {
        EXPECT_EQ(tile->states.back(), 0);
        EXPECT_EQ(tile->laterMoves.back().delay, 10);
        EXPECT_EQ(tile->laterMoves.back().duration, 10);
    }
    EXPECT_EQ(board.layout->Cell(0, 0, 0).dealMark, MjCell::kGathered);

    Board small({1, 2});
    EXPECT_EQ(small.layout->AnimateAll(nullptr, MjLayout::kGather, 100), 0);
    EXPECT_EQ(small.factory.tiles[0]->laterMoves.size(), 1u);
    EXPECT_EQ(small.factory.tiles[1]->laterMoves.size(), 1u);
}
