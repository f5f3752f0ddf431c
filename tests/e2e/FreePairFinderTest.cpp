#include "tests/e2e/FreePairFinder.h"

#include "framework/core/ConfigFile.h"
#include "framework/shell/AppScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTile.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class FreePairFinderTest : public mjtest::BoardHarness
{
};

} // namespace

// The finder's points, clicked on the board screen the game itself sets up from the seed in the
// player's progress, take exactly the two tiles it named: they leave the grid and score.
TEST_F(FreePairFinderTest, NamedPointsClickedOnTheGamesBoardMatchThePair)
{
    struct Case
    {
        const char* look;
        int set;
        int board;
        int seed;
    };
    const Case cases[] = {{kClassicLook, 2, 0, 7},
                          {kClassicLook, 2, 0, 32767},
                          {kClassicLook, 2, 3, 501},
                          {kTimedLook, 1, 0, 1234}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.look) + " board " + std::to_string(c.board) + " seed " +
                     std::to_string(c.seed));
        const int set = c.set;
        MakeScreen(c.look, [set](MjClassicConfig& look) { look._puzzles = set; });
        screen->_progressFile->Write("seed", MjPuzzleRules::SeedKey(config->_type, c.board),
                                     c.seed);
        screen->SelectPuzzle(c.board);
        screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
        ASSERT_NE(screen->_layout, nullptr);
        screen->_inPlay = 1;
        Run(10);

        const e2e::FreePair pair = e2e::FindFreePair(
            c.look, "cfg/puzzles" + std::to_string(c.set) + ".cfg", c.board, c.seed);
        ASSERT_TRUE(pair.found) << pair.error;
        MjTile* a = TileAt(pair.a.i, pair.a.j, pair.a.k);
        MjTile* b = TileAt(pair.b.i, pair.b.j, pair.b.k);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a->GetFace(), pair.a.face);
        EXPECT_EQ(b->GetFace(), pair.b.face);
        // Each point lies on its tile's sprite, where the screen put it.
        for (const auto& [tile, at] : {std::pair{a, pair.a}, std::pair{b, pair.b}}) {
            EXPECT_EQ(tile->GetX(), screen->_layout->CellX(at.i, at.j, at.k));
            EXPECT_EQ(tile->GetY(), screen->_layout->CellY(at.i, at.j, at.k));
            EXPECT_TRUE(tile->OnPixel(at.x, at.y)) << at.x << "," << at.y;
        }
        const int tiles = screen->_layout->TileCount();
        const int score = screen->_boardScore;
        PressAt(pair.a.x, pair.a.y);
        PressAt(pair.b.x, pair.b.y);
        Run(3000);
        EXPECT_EQ(TileAt(pair.a.i, pair.a.j, pair.a.k), nullptr);
        EXPECT_EQ(TileAt(pair.b.i, pair.b.j, pair.b.k), nullptr);
        EXPECT_GT(screen->_boardScore, score);
        int left = 0;
        for (int index : screen->_layout->OriginIndices()) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            left += TileAt(i, j, k) != nullptr ? 1 : 0;
        }
        EXPECT_EQ(left, tiles - 2) << "only the pair left the board";
        // The pair flew to the tray and dropped into it: every step drew inside the tiles.
        const std::string log = testsupport::ReadLog();
        EXPECT_EQ(log.find("BlitInto Failed"), std::string::npos) << log.substr(
            log.find("BlitInto Failed") == std::string::npos ? 0 : log.find("BlitInto Failed"),
            200);
        DropScreen();
    }
}

TEST_F(FreePairFinderTest, SaysWhyWhenThereIsNoPairToName)
{
    ASSERT_TRUE(testsupport::WriteFile("cfg/puzzles8.cfg",
                                       "[puzzles]\nmax=2\n[puzzle0]\nlayout=puzzles/none.cfg\n"
                                       "[puzzle1]\nlayout=puzzles/classic01.cfg\ntriple=1\n"));
    const e2e::FreePair missing = e2e::FindFreePair(kClassicLook, "cfg/puzzles8.cfg", 0, 7);
    EXPECT_FALSE(missing.found);
    EXPECT_NE(missing.error.find("puzzles/none.cfg"), std::string::npos) << missing.error;
    const e2e::FreePair triples = e2e::FindFreePair(kClassicLook, "cfg/puzzles8.cfg", 1, 7);
    EXPECT_FALSE(triples.found);
    EXPECT_NE(triples.error.find("triples"), std::string::npos) << triples.error;
}

// The quest plan's pairs, clicked in order on the quest board the game sets up from the seed,
// are all taken and leave both Yin-Yang tiles free; the sweep it counts is the sweep the grid
// itself makes of what is left.
TEST_F(FreePairFinderTest, QuestPlanClickedOnTheGamesBoardFreesTheYinYangPair)
{
    constexpr int kQuestSet = 3;
    constexpr int kBoard = 1;
    for (int seed : {26, 7}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        MakeScreen(kQuestLook, [](MjClassicConfig& look) { look._puzzles = kQuestSet; });
        screen->_progressFile->Write("seed", MjPuzzleRules::SeedKey(config->_type, kBoard), seed);
        screen->SelectPuzzle(kBoard);
        screen->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
        ASSERT_NE(screen->_layout, nullptr);
        screen->_inPlay = 1;
        Run(10);

        const e2e::QuestFinish plan =
            e2e::PlanQuestFinish(kQuestLook, "cfg/puzzles3.cfg", kBoard, seed, 200000);
        ASSERT_TRUE(plan.found) << plan.error;
        ASSERT_FALSE(plan.matches.empty());
        for (const e2e::FreePair& pair : plan.matches) {
            ASSERT_NE(TileAt(pair.a.i, pair.a.j, pair.a.k), nullptr);
            ASSERT_NE(TileAt(pair.b.i, pair.b.j, pair.b.k), nullptr);
            PressAt(pair.a.x, pair.a.y);
            PressAt(pair.b.x, pair.b.y);
            Run(600);
            EXPECT_EQ(TileAt(pair.a.i, pair.a.j, pair.a.k), nullptr);
            EXPECT_EQ(TileAt(pair.b.i, pair.b.j, pair.b.k), nullptr);
        }
        for (const e2e::FreePairTile& tile : {plan.yinYang.a, plan.yinYang.b}) {
            MjTile* sprite = TileAt(tile.i, tile.j, tile.k);
            ASSERT_NE(sprite, nullptr);
            EXPECT_EQ(sprite->GetType(), MjTile::kYinYang);
            EXPECT_TRUE(sprite->OnPixel(tile.x, tile.y)) << tile.x << "," << tile.y;
            EXPECT_EQ(screen->_layout->FreeState(tile.i, tile.j, tile.k), MjLayout::kFree);
        }
        int sweep = 0;
        while (screen->_layout->EffectStep(nullptr, nullptr, nullptr) != 0) {
            ++sweep;
        }
        EXPECT_EQ(sweep, plan.sweepSteps);
        DropScreen();
    }
}
