#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"

#include <gtest/gtest.h>

using mjtest::FakeGridTile;
using mjtest::FakeTileFactory;
using mjtest::Spot;

namespace {

// A board with a fake tile on every position.
struct Board : mjtest::FakeBoard
{
    explicit Board(const std::vector<Spot>& spots, int matchSize = 2, int columns = 16,
                   int rows = 10, int layers = 3)
        : FakeBoard(spots, matchSize, columns, rows, layers)
    {}
};

// Tiles of the given types standing apart, each free.
std::vector<Spot> Apart(const std::vector<int>& types)
{
    std::vector<Spot> spots;
    for (size_t n = 0; n < types.size(); ++n) {
        spots.push_back({static_cast<int>(n % 4) * 4, static_cast<int>(n / 4) * 3, 1, types[n]});
    }
    return spots;
}

} // namespace

TEST(MjLayoutRulesTest, FreeRuleLooksAtBothSidesAndAbove)
{
    struct FreeCase
    {
        const char* name;
        std::vector<Spot> others;
        int code;
        int expected;
    };
    // The tile under test stands at (6, 4) on level 1.
    const std::vector<FreeCase> cases = {
        {"alone", {}, 1, MjLayout::kFree},
        {"right neighbour only", {{8, 4, 1, 1}}, 1, MjLayout::kFree},
        {"both sides", {{8, 4, 1, 1}, {4, 4, 1, 1}}, 1, MjLayout::kBlocked},
        {"half a tile lower on the right", {{8, 5, 1, 1}}, 1, MjLayout::kFree},
        {"half lower right and half higher left",
         {{8, 5, 1, 1}, {4, 3, 1, 1}},
         1,
         MjLayout::kBlocked},
        {"gap of half a tile on the left", {{8, 4, 1, 1}, {3, 4, 1, 1}}, 1, MjLayout::kFree},
        {"on top", {{6, 4, 2, 1}}, 1, MjLayout::kCoveredAbove},
        {"half a tile off on top", {{7, 5, 2, 1}}, 1, MjLayout::kCoveredAbove},
        {"brick alone", {}, 45, MjLayout::kBlocked},
        {"brick covered", {{7, 5, 2, 1}}, 45, MjLayout::kCoveredAbove},
    };
    for (const FreeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Spot> spots = {{6, 4, 1, c.code}};
        spots.insert(spots.end(), c.others.begin(), c.others.end());
        Board board(spots);
        EXPECT_EQ(board.layout->FreeState(6, 4, 0), c.expected);
        EXPECT_EQ(board.layout->FreeState(7, 4, 0), MjLayout::kBlocked); // not an origin
    }
}

TEST(MjLayoutRulesTest, EmptinessAndCoverAtTheGridEdges)
{
    Board board({{0, 0, 3, 1}, {2, 2, 1, 1}, {2, 2, 2, 1}, {3, 3, 3, 1}}, 2, 8, 6, 3);
    MjLayout& layout = *board.layout;
    EXPECT_TRUE(layout.IsEmpty(-1, 0, 0));
    EXPECT_TRUE(layout.IsEmpty(0, 0, 3));
    EXPECT_FALSE(layout.IsEmpty(1, 1, 2));                 // a covered quarter is not empty
    EXPECT_EQ(layout.FreeState(0, 0, 2), MjLayout::kFree); // top layer: nothing above
    EXPECT_TRUE(layout.IsFullyCovered(2, 2, 0));
    EXPECT_FALSE(layout.IsFullyCovered(2, 2, 1)); // only a quarter above it is filled
    EXPECT_EQ(layout.FreeState(2, 2, 1), MjLayout::kCoveredAbove);
    EXPECT_TRUE(layout.IsFullyCovered(3, 2, 1)); // not an origin
}

TEST(MjLayoutRulesTest, UpdateFreeSumsMatchesAndReportsSpecialsAndDeadBoards)
{
    struct CountCase
    {
        const char* name;
        std::vector<int> types;
        int matchSize;
        int expected;
    };
    const std::vector<CountCase> cases = {
        {"two different free tiles", {1, 2}, 2, -2},
        {"three different free tiles", {1, 2, 3}, 2, 0},
        {"one pair", {1, 1, 2}, 2, 1},
        {"pairs summed over types", {1, 1, 1, 1, 2, 2, 3}, 2, 3},
        {"odd tile left over", {5, 5, 5}, 2, 1},
        {"only a power tile", {46, 1}, 2, -1},
        {"power tile beside a pair", {46, 1, 1}, 2, 1},
        {"bricks are never free", {45, 45, 45}, 2, -2},
        {"yin-yang pairs match", {42, 42}, 2, 1},
        {"triple", {7, 7, 7, 8, 8}, 3, 1},
        {"no triple", {7, 7, 8, 8}, 3, 0},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        Board board(Apart(c.types), c.matchSize);
        EXPECT_EQ(board.layout->UpdateFree(), c.expected);
    }
}

TEST(MjLayoutRulesTest, PairsAvailableByType)
{
    Board board(Apart({46, 46, 59, 45, 45, 9, 9, 9, 9, 9, 30}));
    MjLayout& layout = *board.layout;
    layout.UpdateFree();
    EXPECT_EQ(layout.PairsAvailable(46), -1);
    EXPECT_EQ(layout.PairsAvailable(59), -1);
    EXPECT_EQ(layout.PairsAvailable(45), 0);
    EXPECT_EQ(layout.PairsAvailable(9), 2);
    EXPECT_EQ(layout.PairsAvailable(30), 0);
    EXPECT_EQ(layout.FreeCount(9), 5);
    EXPECT_EQ(layout.FreeCount(100), 0);
    EXPECT_EQ(layout.FreeCount(-1), 0);
}

TEST(MjLayoutRulesTest, OnlySpecialsLeftCountsYinYangAndType43AsOrdinary)
{
    struct SpecialCase
    {
        std::vector<int> types;
        bool expected;
    };
    for (const SpecialCase& c : std::vector<SpecialCase>{{{44, 46, 59}, true},
                                                         {{}, true},
                                                         {{46, 42}, false},
                                                         {{43}, false},
                                                         {{50, 0}, false}}) {
        Board board(Apart(c.types));
        EXPECT_EQ(board.layout->OnlySpecialsLeft(), c.expected) << c.types.size();
    }
}

TEST(MjLayoutRulesTest, SpecialKindsAndSpecialCount)
{
    struct KindCase
    {
        int type, kind;
    };
    const std::vector<KindCase> cases = {{59, 11}, {47, 8}, {46, 9}, {57, 10}, {54, 7},
                                         {49, 6},  {58, 5}, {50, 4}, {48, 3},  {45, 2},
                                         {42, 1},  {56, 1}, {41, 0}, {0, 0}};
    std::vector<Spot> spots;
    for (const KindCase& c : cases) {
        spots.push_back({static_cast<int>(spots.size()) * 2, 0, 1, c.type});
    }
    MjBoardSettings settings = mjtest::Settings(40, 4, 2);
    const auto layout = mjtest::MakeLayout(settings, spots);
    for (size_t n = 0; n < cases.size(); ++n) {
        EXPECT_EQ(layout->Cell(static_cast<int>(n) * 2, 0, 0).specialKind, cases[n].kind)
            << cases[n].type;
    }
    EXPECT_EQ(layout->SpecialCount(), 11); // types 42 and above except the brick
}

TEST(MjLayoutRulesTest, NextMatchForRotatesThroughFreeTilesOfTheType)
{
    // Type 5 at columns 0, 4, 8 (free) and 12 (the pressed one); a blocked 5 in a row.
    Board board({{0, 0, 1, 5},
                 {4, 0, 1, 5},
                 {8, 0, 1, 5},
                 {12, 0, 1, 5},
                 {0, 4, 1, 1},
                 {2, 4, 1, 5},
                 {4, 4, 1, 1}});
    MjGridTile* pressed = board.TileAt(12, 0, 0);
    MjGridTile* out = nullptr;
    std::vector<MjGridTile*> seen;
    for (int n = 0; n < 4; ++n) {
        board.layout->NextMatchFor(pressed, &out);
        seen.push_back(out);
    }
    EXPECT_EQ(seen, (std::vector<MjGridTile*>{board.TileAt(4, 0, 0), board.TileAt(8, 0, 0),
                                              board.TileAt(0, 0, 0), board.TileAt(4, 0, 0)}));

    Board single(Apart({3, 3, 4}));
    MjGridTile* only = nullptr;
    for (int n = 0; n < 3; ++n) {
        single.layout->NextMatchFor(single.TileAt(0, 0, 0), &only);
        EXPECT_EQ(only, single.TileAt(4, 0, 0));
    }
    single.layout->NextMatchFor(single.TileAt(8, 0, 0), &only);
    EXPECT_EQ(only, nullptr);
}

TEST(MjLayoutRulesTest, ShowHintCyclesMatchesBeforeSpecialTiles)
{
    Board board(Apart({3, 7, 3, 7, 46}));
    const auto blinks = [&](int i, int j) { return board.TileAt(i, j, 0)->blinks.size(); };
    ASSERT_TRUE(board.layout->ShowHint(false));
    EXPECT_EQ(blinks(4, 0), 1u); // type 7 first: the index starts past the first type
    EXPECT_EQ(blinks(12, 0), 1u);
    EXPECT_EQ(blinks(0, 0), 0u);
    ASSERT_TRUE(board.layout->ShowHint(false));
    EXPECT_EQ(blinks(0, 0), 1u);
    EXPECT_EQ(blinks(8, 0), 1u);
    EXPECT_EQ(blinks(0, 3), 0u); // the power tile waits while matches exist
    EXPECT_EQ(board.TileAt(0, 0, 0)->blinkListener, board.layout.get());

    Board powers(Apart({46, 47, 1}));
    ASSERT_TRUE(powers.layout->ShowHint(false));
    ASSERT_TRUE(powers.layout->ShowHint(false));
    EXPECT_EQ(powers.TileAt(0, 0, 0)->blinks.size(), 1u);
    EXPECT_EQ(powers.TileAt(4, 0, 0)->blinks.size(), 1u);
    EXPECT_EQ(powers.TileAt(8, 0, 0)->blinks.size(), 0u);

    Board none(Apart({1, 2}));
    EXPECT_FALSE(none.layout->ShowHint(false));

    Board hopping(Apart({1, 1}));
    hopping.TileAt(0, 0, 0)->hopping = true;
    ASSERT_TRUE(hopping.layout->ShowHint(false));
    EXPECT_TRUE(hopping.TileAt(0, 0, 0)->blinks.empty());
    EXPECT_EQ(hopping.TileAt(4, 0, 0)->blinks.size(), 1u);
}

TEST(MjLayoutRulesTest, ShowHintWithShadingHidesWhatCannotBeMatched)
{
    // A row of three (middle blocked) and two free singles.
    Board board({{0, 0, 1, 2}, {2, 0, 1, 2}, {4, 0, 1, 2}, {8, 0, 1, 9}, {12, 0, 1, 50}});
    ASSERT_TRUE(board.layout->ShowHint(true));
    const auto last = [&](int i) {
        const auto& calls = board.TileAt(i, 0, 0)->calls;
        return calls.empty() ? std::string() : calls.back();
    };
    EXPECT_EQ(last(0), "ShowFace");
    EXPECT_EQ(last(2), "HideFace");
    EXPECT_FALSE(board.TileAt(2, 0, 0)->faceShown);
    EXPECT_EQ(last(8), "HideFace");
    EXPECT_FALSE(board.TileAt(8, 0, 0)->faceShown);
    EXPECT_EQ(last(12), "ShowFace"); // a free power tile can be played
    EXPECT_TRUE(board.TileAt(12, 0, 0)->faceShown);
    for (const auto& tile : board.factory.tiles) {
        EXPECT_TRUE(tile->blinks.empty());
    }
}

TEST(MjLayoutRulesTest, MatchAndHintListsAreCapped)
{
    // Sixty free tiles of one type: more than either list holds.
    std::vector<Spot> spots;
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 10; ++i) {
            spots.push_back({i * 4, j * 3, 1, 8});
        }
    }
    Board board(spots, 2, 40, 20, 2);
    MjGridTile* out = nullptr;
    for (int n = 0; n < 50; ++n) {
        board.layout->NextMatchFor(board.TileAt(0, 0, 0), &out);
        ASSERT_NE(out, nullptr);
    }
    ASSERT_TRUE(board.layout->ShowHint(false));
    int blinking = 0;
    for (const auto& tile : board.factory.tiles) {
        blinking += tile->blinks.empty() ? 0 : 1;
    }
    EXPECT_EQ(blinking, MjLayout::kHintListSize);
    EXPECT_EQ(board.layout->FreeCount(8), 60);
}
