#include "framework/shell/AppScript.h"
#include "mahjong/MjClassic.h"
#include "mahjong/MjLayout.h"
#include "mahjong/MjMoves.h"
#include "mahjong/MjTile.h"
#include "tests/mahjong/support/BoardHarness.h"

#include <gtest/gtest.h>

namespace {

using mjtest::BoardHarness;
using Cues = std::vector<std::string>;

class MjClassicPlayTest : public BoardHarness
{
};

} // namespace

TEST_F(MjClassicPlayTest, HarnessBuildsTheFixtureBoard)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    EXPECT_EQ(screen->_layout->TileCount(), 36);
    ASSERT_NE(TileAt(0, 0), nullptr);
    EXPECT_EQ(TileAt(0, 0)->GetType(), 5);
    EXPECT_EQ(TileAt(2, 0)->GetType(), 10);
}
