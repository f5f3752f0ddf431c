#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileListener.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/support/FakeClock.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

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

namespace {

struct StateRecorder : MjTileListener
{
    void StateReached(CastMember* sender, int state, int) override
    {
        reached.emplace_back(sender, state);
    }
    std::vector<std::pair<CastMember*, int>> reached;
};

class MjLayoutEffectsOnStageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MjLayout::ResetShared();
        // A pyramid: four tiles on the first layer, one across them on the second, and a row.
        const std::vector<Spot> spots = {{0, 0, 1, 0},  {2, 0, 1, 1}, {0, 2, 1, 1}, {2, 2, 1, 0},
                                         {1, 1, 2, 2},  {6, 0, 1, 2}, {8, 0, 1, 3}, {10, 0, 1, 3},
                                         {12, 4, 1, 4}, {14, 4, 1, 4}};
        layout = std::make_unique<MjLayout>(
            &cast, mjtest::WriteLayout("stage.cfg", mjtest::LayoutText(spots)), &settings, &sheet,
            2, 0);
        // Real tile sprites on a real stage, made as the board screen makes them.
        layout->SetTileFactory(MjClassic::TileFactory());
        for (int index : layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell cell = layout->Cell(i, j, k);
            auto* tile = static_cast<MjTile*>(
                layout->AddImage(&reports, &cast, cell.faceCol, cell.faceRow, i, j, k, false));
            tile->SetFace(cell.faceCol + 6 * cell.faceRow);
            tile->SetType(tile->GetFace());
            tiles.push_back(tile);
        }
        ASSERT_EQ(tiles.size(), spots.size());
        Run(10); // the stage animates its sprites every frame before the opening
    }
    void TearDown() override
    {
        layout.reset();
        for (MjTile* tile : tiles) {
            cast.SafeDelete(tile);
        }
        cast.EndAnimationCycle();
    }

    // Frames of 10 ms on the stage's clock.
    void Run(unsigned int ms)
    {
        for (unsigned int t = 0; t < ms; t += 10) {
            clock.Advance(10);
            for (MjTile* tile : tiles) {
                tile->Animate(clock.Now());
            }
        }
    }

    void ExpectAllOnTheirCells(const char* when)
    {
        SCOPED_TRACE(when);
        for (MjTile* tile : tiles) {
            const int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
            EXPECT_FALSE(tile->IsMoving()) << i << "," << j << "," << k;
            EXPECT_EQ(tile->GetX(), layout->CellX(i, j, k)) << i << "," << j << "," << k;
            EXPECT_EQ(tile->GetY(), layout->CellY(i, j, k)) << i << "," << j << "," << k;
            EXPECT_EQ(tile->GetPriority(), MjLayout::Priority(i, j, k))
                << i << "," << j << "," << k;
        }
    }

    testsupport::FakeClock clock{5000};
    Cast cast{nullptr, nullptr};
    ImageResource sheet{288, 580, 6, 10};
    MjBoardSettings settings = mjtest::Settings(32, 12, 3);
    StateRecorder reports;
    std::unique_ptr<MjLayout> layout;
    std::vector<MjTile*> tiles; // on the stage, which deletes them
};

} // namespace

TEST_F(MjLayoutEffectsOnStageTest, EveryFlyInLandsEachTileOnItsCellWithItsPriority)
{
    for (int pattern = 0; pattern < 6; ++pattern) {
        SCOPED_TRACE(pattern);
        ASSERT_EQ(layout->AnimateAll(nullptr, MjLayout::kFlyIn, 0), 0);
        // Every flight lasts 100 ms or more.
        Run(50);
        for (MjTile* tile : tiles) {
            EXPECT_TRUE(tile->IsMoving());
        }
        Run(1100);
        ExpectAllOnTheirCells("after the fly-in");
    }
}

TEST_F(MjLayoutEffectsOnStageTest, GatheredTilesComeBackAndSnapBackEndsAGatheringAtOnce)
{
    int calls = 0;
    while (layout->AnimateAll(nullptr, MjLayout::kGather, 300) == 1) {
        ++calls;
        Run(20);
    }
    EXPECT_EQ(calls, 3); // ten tiles, three a call
    Run(1500);
    ExpectAllOnTheirCells("after the gathering");

    // A snap-back in the middle of the next gathering.
    for (int index : layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        layout->Cell(i, j, k).dealMark = 0;
    }
    ASSERT_EQ(layout->AnimateAll(nullptr, MjLayout::kGather, 300), 1);
    Run(200);
    ASSERT_EQ(layout->AnimateAll(nullptr, MjLayout::kSnapBack, 0), 0);
    Run(100);
    ExpectAllOnTheirCells("after the snap-back");
}

TEST_F(MjLayoutEffectsOnStageTest, ClearingSendsTilesBesideTheTargetsWhereTheyReportArrival)
{
    // Three targets standing where the board screen's selection slots would.
    Image face(&sheet, 0, 0, 0);
    std::vector<MjTile*> targets;
    for (int n = 0; n < 3; ++n) {
        targets.push_back(
            new MjTile(nullptr, &cast, &face, 350 + 60 * n, 400, 4, 0, 0, 0, 0, 0, 0));
        targets.back()->SetType(27);
    }
    tiles[0]->SetType(MjTileTypes::kBrickType); // (0, 0, 0)
    // The first call fades the brick; the next takes the type-0 tile left and, to make up the
    // pair, the first tile of type 1.
    ASSERT_EQ(layout->EffectStep(targets[0], targets[1], targets[2]), 1);
    ASSERT_EQ(layout->EffectStep(targets[0], targets[1], targets[2]), 2);
    Run(600);
    EXPECT_FALSE(tiles[0]->IsVisible());
    std::vector<MjTile*> taken;
    for (MjTile* tile : tiles) {
        if (layout->Cell(tile->GridI(), tile->GridJ(), tile->GridK()).state == MjCell::kEmpty) {
            taken.push_back(tile);
        }
    }
    ASSERT_EQ(taken.size(), 2u);
    std::vector<std::pair<CastMember*, int>> arrivals;
    for (size_t n = 0; n < taken.size(); ++n) {
        // Scan order: (0, 2, 0) of type 1 comes before (2, 2, 0) of type 0, which went first.
        MjTile* target = targets[1 - n];
        EXPECT_EQ(taken[n]->GetX(), target->GetX());
        EXPECT_EQ(taken[n]->GetY(), target->GetY());
        arrivals.emplace_back(taken[n], MjTileListener::kBesideArrived);
    }
    std::sort(arrivals.begin(), arrivals.end());
    std::sort(reports.reached.begin(), reports.reached.end());
    EXPECT_EQ(reports.reached, arrivals);
    for (MjTile* target : targets) {
        tiles.push_back(target); // the stage deletes them with the rest
    }
}
