#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTileListener.h"
#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using mjtest::FakeGridTile;
using mjtest::FakeTileFactory;

namespace {

struct Board : mjtest::FakeBoard
{
    Board() : FakeBoard({{0, 0, 1, 3}, {4, 0, 1, 7}, {8, 2, 2, 58}}, 2, 12, 8, 3) {}
};

} // namespace

TEST(MjLayoutSpritesTest, AddImagePlacesTheTileOnItsCell)
{
    Board board;
    FakeGridTile* tile = board.TileAt(8, 2, 1);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->GetType(), 58);
    EXPECT_EQ(tile->startX, board.layout->CellX(8, 2, 1));
    EXPECT_EQ(tile->startY, board.layout->CellY(8, 2, 1));
    EXPECT_EQ(tile->priority, MjLayout::Priority(8, 2, 1));
    EXPECT_EQ(board.layout->Cell(9, 3, 1).state, MjCell::kCovered);

    MjGridTile* offscreen = board.layout->AddImage(nullptr, nullptr, 1, 0, 4, 4, 0, true);
    ASSERT_NE(offscreen, nullptr);
    EXPECT_EQ(static_cast<FakeGridTile*>(offscreen)->startX, 900);
    EXPECT_EQ(static_cast<FakeGridTile*>(offscreen)->startY, 0);

    EXPECT_EQ(board.layout->AddImage(nullptr, nullptr, 1, 0, 12, 0, 0, false), nullptr);
    EXPECT_EQ(testsupport::CountLogLines("AddImage Exceeds Maximum - 12, 0, 0 > 12, 8, 3"), 1);
    EXPECT_EQ(board.layout->AddImage(nullptr, nullptr, 1, 0, -1, 0, 0, false), nullptr);
}

TEST(MjLayoutSpritesTest, UnHideGlidesBackToTheCellOrToTheLinkedTile)
{
    Board board;
    FakeGridTile* tile = board.TileAt(0, 0, 0);
    board.layout->EmptyQuad(0, 0, 0);
    board.layout->UnHide(tile);
    EXPECT_EQ(board.layout->Cell(0, 0, 0).state, MjCell::kOrigin);
    ASSERT_EQ(tile->moves.size(), 1u);
    EXPECT_EQ(tile->moves[0].x, board.layout->CellX(0, 0, 0) + 20);
    EXPECT_EQ(tile->moves[0].y, board.layout->CellY(0, 0, 0) - 20);
    EXPECT_EQ(tile->moves[0].ms, 200);
    EXPECT_EQ(tile->moveListener, board.layout.get());
    EXPECT_EQ(tile->priority, 20);
    EXPECT_TRUE(tile->active);
    EXPECT_TRUE(tile->input);

    FakeGridTile* magnet = board.TileAt(8, 2, 1);
    board.layout->EmptyQuad(8, 2, 1);
    tile->SetLinked(magnet);
    board.layout->UnHide(tile);
    EXPECT_EQ(board.layout->Cell(8, 2, 1).state, MjCell::kOrigin);
    EXPECT_EQ(tile->moves.back().x, board.layout->CellX(8, 2, 1) + 20);

    // A tile whose grid position does not hold it stays where it is.
    FakeGridTile* stray = board.TileAt(4, 0, 0);
    stray->SetGridPosition(0, 0, 0);
    board.layout->UnHide(stray);
    EXPECT_TRUE(stray->moves.empty());
    EXPECT_EQ(testsupport::CountLogLines("Critical Error in MjLayout::UnHide"), 1);
}

TEST(MjLayoutSpritesTest, ReplaceAndSwapExchangeCellsAndPositions)
{
    Board board;
    FakeGridTile* a = board.TileAt(0, 0, 0);
    FakeGridTile* b = board.TileAt(8, 2, 1);
    board.layout->ReplaceTile(a, b);
    EXPECT_EQ(board.TileAt(0, 0, 0), b);
    EXPECT_EQ(board.TileAt(8, 2, 1), a);
    EXPECT_EQ(a->GridI(), 8);
    EXPECT_EQ(b->GridI(), 0);
    EXPECT_EQ(a->priority, MjLayout::Priority(8, 2, 1));
    EXPECT_EQ(b->priority, MjLayout::Priority(0, 0, 0));
    EXPECT_EQ(a->calls.back(), "ShowFace");
    EXPECT_TRUE(a->moves.empty());

    FakeGridTile outsider(1, 0, 0, 0);
    board.layout->ReplaceTile(a, &outsider);
    EXPECT_EQ(board.TileAt(8, 2, 1), a);

    FakeGridTile* c = board.TileAt(4, 0, 0);
    board.layout->SwapTiles(a, c);
    EXPECT_EQ(board.TileAt(4, 0, 0), a);
    EXPECT_EQ(board.TileAt(8, 2, 1), c);
    EXPECT_EQ(a->moves.back().x, board.layout->CellX(4, 0, 0) + 20);
    EXPECT_EQ(c->moves.back().x, board.layout->CellX(8, 2, 1) + 20);
}

TEST(MjLayoutSpritesTest, CuesSettleTilesAndRenewMagnets)
{
    Board board;
    FakeGridTile* tile = board.TileAt(4, 0, 0);
    board.layout->Cue(tile->Member(), CueListener::kBlinkEnded, 0);
    ASSERT_EQ(tile->moves.size(), 1u);
    EXPECT_EQ(tile->moves[0].x, board.layout->CellX(4, 0, 0));
    EXPECT_EQ(tile->moves[0].ms, 200);

    board.layout->Cue(tile->Member(), CueListener::kMoveEnded, 0);
    EXPECT_EQ(tile->moves.back().ms, 500);
    EXPECT_EQ(tile->states, (std::vector<int>{MjTileListener::kBackInCell}));
    EXPECT_EQ(tile->alpha, 255);
    EXPECT_EQ(tile->priority, MjLayout::Priority(4, 0, 0));

    // A tile that moved onto a magnet takes its type; the magnet becomes a fresh magnet.
    FakeGridTile* magnet = board.TileAt(8, 2, 1);
    magnet->SetType(12);
    magnet->SetFace(12);
    tile->SetLinked(magnet);
    board.layout->Cue(tile->Member(), CueListener::kMoveEnded, 0);
    EXPECT_EQ(tile->GetType(), 12);
    EXPECT_EQ(magnet->GetType(), 58);
    EXPECT_EQ(magnet->GetFace(), 58);
    EXPECT_EQ(tile->Linked(), nullptr);
    EXPECT_EQ(tile->moves.back().ms, 200); // UnHide

    tile->SetLinked(magnet);
    tile->linkedTo59 = true;
    board.layout->Cue(tile->Member(), CueListener::kMoveEnded, 0);
    EXPECT_EQ(magnet->GetType(), 59);

    CastMember stranger;
    board.layout->Cue(&stranger, CueListener::kMoveEnded, 0); // not a tile of the grid
}

TEST(MjLayoutSpritesTest, RemoveTileAndClearLetTilesLeaveTheStage)
{
    Board board;
    FakeGridTile* tile = board.TileAt(0, 0, 0);
    board.layout->RemoveTile(1, 0, 0); // not an origin: nothing
    EXPECT_FALSE(tile->left);
    board.layout->RemoveTile(0, 0, 0);
    EXPECT_TRUE(tile->left);
    EXPECT_EQ(board.layout->Cell(0, 0, 0).tile, nullptr);
    EXPECT_TRUE(board.layout->IsEmpty(1, 1, 0));
    board.layout->Clear();
    for (const auto& t : board.factory.tiles) {
        EXPECT_TRUE(t->left);
    }
    EXPECT_EQ(board.layout->TileCount(), 0);
    EXPECT_TRUE(board.layout->OnlySpecialsLeft());
}

TEST(MjLayoutSpritesTest, ShadeDarkensBlockedTilesOnceAndLiftsWhenFree)
{
    ASSERT_TRUE(mediatest::CopyImageFixture("alpha.png", "images/DarkLight.png"));
    mediatest::ScreenFormat screen(80, 60);
    MjBoardSettings settings = mjtest::Settings(12, 8, 3);
    FakeTileFactory factory;
    auto layout = mjtest::MakeLayout(settings, {{0, 0, 1, 3}, {2, 0, 1, 3}, {4, 0, 1, 7}});
    mjtest::AddTiles(*layout, factory);
    layout->UpdateFree(); // no shade yet: nothing drawn
    FakeGridTile* middle = static_cast<FakeGridTile*>(layout->Cell(2, 0, 0).tile);
    EXPECT_TRUE(middle->calls.empty());

    layout->LoadShade();
    layout->UpdateFree();
    layout->UpdateFree();
    EXPECT_EQ(middle->calls, (std::vector<std::string>{"BlitInto 7,1"}));
    EXPECT_EQ(layout->Cell(2, 0, 0).shaded, 1);
    layout->EmptyQuad(0, 0, 0);
    layout->UpdateFree();
    EXPECT_EQ(middle->calls.back(), "ResetFrame");
    EXPECT_EQ(layout->Cell(2, 0, 0).shaded, 0);
}

TEST(MjLayoutSpritesTest, MissingShadeImageLeavesTilesUnshaded)
{
    MjBoardSettings settings = mjtest::Settings(12, 8, 3);
    FakeTileFactory factory;
    auto layout = mjtest::MakeLayout(settings, {{0, 0, 1, 3}, {2, 0, 1, 3}, {4, 0, 1, 7}});
    mjtest::AddTiles(*layout, factory);
    layout->LoadShade();
    layout->UpdateFree();
    for (const auto& tile : factory.tiles) {
        EXPECT_TRUE(tile->calls.empty());
    }
    EXPECT_GE(testsupport::CountLogLines("Image Init Failed - images/DarkLight.png"), 1);
}
