#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

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

namespace {

bool Has(const Cues& cues, const std::string& cue)
{
    return std::find(cues.begin(), cues.end(), cue) != cues.end();
}

// The moves history's records from the bottom one up, by type.
std::vector<int> RecordTypes(const MjMoves& moves)
{
    std::vector<int> types;
    for (int n = 1; n < moves.Count(); ++n) {
        types.push_back(moves.Record(n).type);
    }
    return types;
}

constexpr int kLanded = 1000; // ms after a match by which its tiles have landed

} // namespace

TEST_F(MjClassicPlayTest, FreePairFliesToTheTrayLeftColumnFirstAndScores)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    MjTile* left = TileAt(0, 0);
    MjTile* right = TileAt(10, 0);
    Press(right);
    EXPECT_EQ(screen->_selectedCount, 1);
    EXPECT_EQ(screen->_selected[0], right);
    EXPECT_EQ(TakeCues(), (Cues{"stop -2", "stop -2", "CFG_SELECT 0"}));
    const int lastX = left->GetX(), lastY = left->GetY();
    Press(left);
    EXPECT_EQ(Tray(1), left);
    EXPECT_EQ(Tray(2), right);
    EXPECT_EQ(screen->_boardScore, 6);
    EXPECT_EQ(screen->_scoreText->GetText(), "6");
    EXPECT_EQ(screen->_matchCounter, 1);
    EXPECT_EQ(screen->_groupCounter, 2);
    EXPECT_EQ(screen->_selectedCount, 0);
    EXPECT_EQ(screen->_inPlay, 0);
    EXPECT_EQ(screen->_matchState, 1);
    const auto popups = TakePopups();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].text, "6");
    EXPECT_EQ(popups[0].x, lastX);
    EXPECT_EQ(popups[0].y, lastY);
    EXPECT_TRUE(Has(TakeCues(), "CFG_TILESMATCHED 0"));
    EXPECT_FALSE(left->IsActive());
    EXPECT_FALSE(right->AllowInput());
    EXPECT_TRUE(screen->_layout->IsEmpty(0, 0, 0));
    EXPECT_EQ(
        RecordTypes(*screen->_moves),
        (std::vector<int>{MjMove::kGroupStart, MjMove::kScore, MjMove::kTrayEmpty, MjMove::kToTray,
                          MjMove::kTrayEmpty, MjMove::kToTray, MjMove::kGroupEnd}));

    Run(kLanded);
    // The tray ("UndoTiles" at 640,536, 50 apart) takes slot n at (642 + 50 (n - 1), 532); the
    // drop then sets the tile 6 pixels down and to the left.
    EXPECT_EQ(left->GetX(), 642 - 6);
    EXPECT_EQ(left->GetY(), 532 + 6);
    EXPECT_EQ(right->GetX(), 692 - 6);
    EXPECT_EQ(right->GetY(), 532 + 6);
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_TRUE(screen->_undoPossible);
    EXPECT_TRUE(screen->_undoButton->GetEnabled());
    // The tiles' own sound requests stay silent; the last landing stops the sounds.
    const Cues landing = TakeCues();
    EXPECT_FALSE(Has(landing, "CFG_WATERDROP 0"));
    EXPECT_TRUE(Has(landing, "stop -2"));
}

TEST_F(MjClassicPlayTest, MatchesOfTheSameTypeInARowEarnTheBonus)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    struct Step
    {
        int row;
        int score;       // board score after the match
        const char* cue; // the match's sound
        std::vector<std::string> popups;
    };
    // Rows 0 to 2 end in face 5 (6 points), row 3 in face 27 (10 points), row 5 in face 0.
    const Step steps[] = {
        {0, 6, "CFG_TILESMATCHED 0", {"6"}},
        {1, 6 + 31, "CFG_QUAD 0", {"6", "+++25+++"}},
        {2, 6 + 31 + 31, "CFG_QUAD 0", {"6", "+++25+++"}},
        {3, 68 + 10, "CFG_TILESMATCHED 0", {"10"}},
        {5, 78 + 1, "CFG_TILESMATCHED 0", {"1"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        MjTile* last = TileAt(10, 2 * s.row);
        Press(TileAt(0, 2 * s.row));
        TakePopups();
        Press(last);
        EXPECT_EQ(screen->_boardScore, s.score);
        EXPECT_TRUE(Has(TakeCues(), s.cue));
        const auto popups = TakePopups();
        ASSERT_EQ(popups.size(), s.popups.size());
        for (std::size_t n = 0; n < popups.size(); ++n) {
            EXPECT_EQ(popups[n].text, s.popups[n]);
        }
        if (popups.size() == 2) {
            EXPECT_EQ(popups[1].x, popups[0].x - 40);
            EXPECT_EQ(popups[1].y, popups[0].y - 60);
        }
        Run(kLanded);
    }
    EXPECT_EQ(screen->_matchCounter, 5);
}

TEST_F(MjClassicPlayTest, PressesSelectRefuseDeselectAndRestart)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, int>> presses;  // columns and rows of the presses, in order
        std::vector<std::pair<int, int>> selected; // the selection afterwards
        const char* cue;                           // a cue of the last press
    };
    const Case cases[] = {
        {"blocked tile with a selection is refused, the selection stays",
         {{0, 0}, {4, 0}},
         {{0, 0}},
         "CFG_TILESNOTMATCHED 0"},
        {"blocked tile alone is refused", {{4, 2}}, {}, "CFG_TILESNOTMATCHED 0"},
        {"the lone selected tile deselects", {{0, 0}, {0, 0}}, {}, "CFG_SELECT 0"},
        {"another type restarts the selection", {{0, 0}, {0, 6}}, {{0, 6}}, "CFG_SELECT 0"},
        {"a blocked tile of another type is refused too",
         {{0, 0}, {2, 6}},
         {{0, 0}},
         "CFG_TILESNOTMATCHED 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeScreen();
        StartBoard(ThirtySixTiles());
        for (const auto& p : c.presses) {
            TakeCues();
            Press(TileAt(p.first, p.second));
        }
        const Cues cues = TakeCues();
        EXPECT_TRUE(Has(cues, c.cue));
        EXPECT_EQ(screen->_selectedCount, static_cast<int>(c.selected.size()));
        for (std::size_t n = 0; n < MjClassic::kSelectionSlots; ++n) {
            MjTile* expected =
                n < c.selected.size() ? TileAt(c.selected[n].first, c.selected[n].second) : nullptr;
            EXPECT_EQ(screen->_selected[n], expected) << n;
        }
        EXPECT_EQ(screen->_matchCounter, 0);
        EXPECT_EQ(Tray(1), nullptr);
        DropScreen();
    }
}

// On a board of the other tile sets a selected tile is lit by a plate whose rounded corners
// are its colour key: the lit tile shows no key colour at its corners.
TEST_F(MjClassicPlayTest, LitSelectedTileShowsNoKeyColour)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    screen->_puzzleTileSet = 1;
    MjTile* tile = TileAt(0, 0);
    ASSERT_EQ(KeyTintedPixels(tile), 0) << "unlit";
    Press(tile);
    Run(100);
    ASSERT_EQ(screen->_selected[0], tile);
    EXPECT_EQ(KeyTintedPixels(tile), 0);
}

TEST_F(MjClassicPlayTest, TripleFillsThreeSlotsOrderedByColumn)
{
    MakeScreen();
    StartBoard(TripleBoard());
    MjTile* middle = TileAt(10, 8);
    MjTile* right = TileAt(20, 0);
    MjTile* left = TileAt(0, 4);
    Press(middle);
    Press(right);
    // The second tile of the type only grows the selection.
    EXPECT_EQ(screen->_selectedCount, 2);
    EXPECT_EQ(Tray(1), nullptr);
    EXPECT_EQ(screen->_matchCounter, 0);
    Press(left);
    EXPECT_EQ(screen->_matchCounter, 1);
    EXPECT_EQ(Tray(1), left);
    EXPECT_EQ(Tray(2), middle);
    EXPECT_EQ(Tray(3), right);
    EXPECT_EQ(screen->_groupCounter, 3);
    EXPECT_EQ(screen->_boardScore, 8);
    Run(kLanded);
    EXPECT_EQ(screen->_groupCounter, 0);
    // Triples of 8s and 9s are left, so the board plays on.
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(right->GetX(), 742 - 6);

    // A right press on a selected tile does nothing with triples.
    MjTile* a = TileAt(0, 12);
    Press(a);
    screen->_cheatMode = 1;
    screen->_rightPressSelect = 1;
    TakeCues();
    Press(a, 3);
    EXPECT_EQ(screen->_selectedCount, 1);
    EXPECT_EQ(screen->_selected[1], nullptr);
    EXPECT_TRUE(TakeCues().empty());
}

TEST_F(MjClassicPlayTest, BoardTypesDecideScoreAndPopups)
{
    struct Case
    {
        const char* look;
        bool clockRuns;
        int score;
        std::size_t popups;
        const char* cue;
        bool scoreRecord; // the history holds a score record
    };
    const Case cases[] = {
        {BoardHarness::kClassicLook, true, 6, 1, "CFG_TILESMATCHED 0", true},
        // Type 0 scores only while the clock runs.
        {BoardHarness::kClassicLook, false, 0, 0, "CFG_SELECT 0", false},
        // Type 1 shows times: no popup, and undo takes 0 points off.
        {BoardHarness::kTimedLook, true, -1, 0, "CFG_TILESMATCHED 0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.look) + (c.clockRuns ? " running" : " stopped"));
        MakeScreen(c.look);
        StartBoard(ThirtySixTiles());
        screen->_timerValues[1] = c.clockRuns ? 1 : 0;
        const int before = screen->_boardScore;
        MjTile* first = TileAt(0, 0);
        Press(first);
        TakePopups();
        TakeCues();
        Press(TileAt(10, 0));
        EXPECT_EQ(screen->_boardScore, c.score < 0 ? before : c.score);
        EXPECT_EQ(TakePopups().size(), c.popups);
        EXPECT_TRUE(Has(TakeCues(), c.cue));
        const std::vector<int> types = RecordTypes(*screen->_moves);
        const auto score = std::find(types.begin(), types.end(), MjMove::kScore);
        EXPECT_EQ(score != types.end(), c.scoreRecord);
        if (score != types.end()) {
            EXPECT_EQ(screen->_moves->Record(1 + (score - types.begin())).c,
                      c.score < 0 ? 0 : c.score);
        }
        EXPECT_EQ(Tray(1), first);
        DropScreen();
    }
}

TEST_F(MjClassicPlayTest, UndoRestoresTheBoardMoveByMove)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    const mjtest::BoardSnapshot start = Snapshot();
    Press(TileAt(0, 0));
    Press(TileAt(10, 0));
    Run(kLanded);
    const mjtest::BoardSnapshot afterFirst = Snapshot();
    ASSERT_FALSE(afterFirst == start);
    // The second match of the type pushes the first pair out of the tray (hidden).
    Press(TileAt(10, 2));
    Press(TileAt(0, 2));
    Run(kLanded);
    EXPECT_EQ(screen->_boardScore, 6 + 31);
    EXPECT_FALSE(afterFirst.tray[1]->IsVisible());

    TakeCues();
    screen->ButtonClicked(MjClassic::kUndoId, 0);
    EXPECT_TRUE(Has(TakeCues(), "CFG_UNDO 0"));
    EXPECT_TRUE(screen->_undoPossible);
    Run(kLanded);
    EXPECT_EQ(Snapshot(), afterFirst);
    EXPECT_EQ(screen->_inPlay, 1); // the glide back into the cell ends the lock
    screen->ButtonClicked(MjClassic::kUndoId, 0);
    EXPECT_FALSE(screen->_undoPossible);
    EXPECT_FALSE(screen->_undoButton->GetEnabled());
    Run(kLanded);
    EXPECT_EQ(Snapshot(), start);
    EXPECT_EQ(screen->_moves->LastIndex(), 0);

    // The board plays on: the restored tiles take presses again.
    MjTile* first = TileAt(0, 0);
    Press(first);
    Press(TileAt(10, 0));
    EXPECT_EQ(Tray(1), first);
    EXPECT_EQ(screen->_boardScore, 6);
}

TEST_F(MjClassicPlayTest, UndoWithNothingClosedChangesNothing)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    Press(TileAt(0, 0));
    const mjtest::BoardSnapshot before = Snapshot();
    const int records = screen->_moves->Count();
    const int logged = testsupport::CountLogLines("Critical Error in Undo Start Type 0");
    EXPECT_FALSE(screen->Undo());
    EXPECT_EQ(testsupport::CountLogLines("Critical Error in Undo Start Type 0"), logged + 1);
    EXPECT_EQ(screen->_moves->Count(), records);
    EXPECT_EQ(Snapshot(), before);
    // Not even the selection or the board's input is touched.
    EXPECT_EQ(screen->_selectedCount, 1);
    EXPECT_EQ(screen->_inPlay, 1);

    // A move still being written (its group open) is not taken apart either.
    screen->_moves->BeginGroup();
    screen->_moves->AddScore(10);
    EXPECT_FALSE(screen->Undo());
    EXPECT_EQ(screen->_moves->Count(), records + 2);
}

TEST_F(MjClassicPlayTest, SetUpWhileTilesFlyStartsTheBoardAfresh)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    Cast* cast = Manager()->GetCast();
    MjTile* left = TileAt(0, 0);
    MjTile* right = TileAt(10, 0);
    Press(left);
    Press(right);
    Run(100);
    ASSERT_EQ(screen->_groupCounter, 2);
    Press(TileAt(0, 2)); // a selection made while the pair flies
    ASSERT_EQ(screen->_selectedCount, 1);

    // Time is up mid-flight and the board is set up again.
    StartBoard(ThirtySixTiles());
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(screen->_selectedCount, 0);
    EXPECT_EQ(Tray(1), nullptr);
    EXPECT_EQ(Tray(2), nullptr);
    EXPECT_FALSE(cast->Contains(left));
    EXPECT_FALSE(cast->Contains(right));
    Run(kLanded);
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(testsupport::CountLogLines("Move to Undo error"), 0);

    // A landing reported by a tile this board did not send is not counted.
    screen->_groupCounter = 2;
    screen->StateReached(TileAt(2, 0), MjTile::kLandedInTray, 1);
    EXPECT_EQ(screen->_groupCounter, 2);
    screen->_groupCounter = 0;

    // The new board plays and unlocks after its own landings.
    Press(TileAt(0, 0));
    Press(TileAt(10, 0));
    EXPECT_EQ(screen->_groupCounter, 2);
    EXPECT_EQ(screen->_inPlay, 0);
    Run(kLanded);
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(screen->_inPlay, 1);
}

TEST_F(MjClassicPlayTest, LandingBelowZeroIsLoggedAndUnlocksTheBoard)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    Press(TileAt(0, 0));
    Press(TileAt(10, 0));
    // A power that counted one tile short: the second landing would take the count below 0.
    screen->_groupCounter = 1;
    Run(kLanded);
    EXPECT_EQ(testsupport::CountLogLines("Should Never Happen - Move to Undo error"), 1);
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(screen->_inPlay, 1);
    // The next match counts from 0 and unlocks as usual.
    Press(TileAt(0, 2));
    Press(TileAt(10, 2));
    EXPECT_EQ(screen->_groupCounter, 2);
    Run(kLanded);
    EXPECT_EQ(screen->_groupCounter, 0);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(testsupport::CountLogLines("Should Never Happen - Move to Undo error"), 1);
}

TEST_F(MjClassicPlayTest, MatchSizesOtherThanTwoOrThreeMakePairs)
{
    for (int matches : {0, 4, 5}) {
        SCOPED_TRACE(matches);
        MakeScreen();
        mjtest::FixtureBoard board = ThirtySixTiles();
        board.matches = matches;
        const std::string line =
            "Puzzle 0 asks for matches of " + std::to_string(matches) + " tiles, pairs are made";
        const int logged = testsupport::CountLogLines(line);
        StartBoard(board);
        EXPECT_EQ(testsupport::CountLogLines(line), logged + 1);
        EXPECT_EQ(screen->_layout->MatchSize(), 2);
        Press(TileAt(0, 0));
        Press(TileAt(0, 2));
        Press(TileAt(10, 0));
        // The third tile of the type never joins a selection of two: the pair is made.
        EXPECT_EQ(screen->_matchCounter, 1);
        EXPECT_EQ(Tray(3), nullptr);
        EXPECT_EQ(screen->_selected[2], nullptr);
        EXPECT_EQ(screen->_groupCounter, 2);
        Run(kLanded);
        EXPECT_EQ(screen->_inPlay, 1);
        DropScreen();
    }
}

TEST_F(MjClassicPlayTest, LeavingWhileTilesFlyLeavesNoSpriteCallingTheScreen)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    Cast* cast = Manager()->GetCast();
    Press(TileAt(0, 0));
    Press(TileAt(10, 0));
    Run(kLanded);
    MjTile* pushed = Tray(1);
    // The next match pushes the first pair out while the new one flies.
    Press(TileAt(0, 2));
    Press(TileAt(10, 2));
    Run(100);
    MjTile* flying = Tray(1);
    ASSERT_NE(flying, nullptr);
    screen->ReleaseSprites();
    screen.reset();
    EXPECT_FALSE(cast->Contains(flying));
    EXPECT_FALSE(cast->Contains(pushed));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(Tray(n), nullptr);
    }
    // The frames go on past every landing and drop: nothing reaches the deleted screen.
    Run(2 * kLanded);

    // With the game shut down nothing the board made is left.
    config.reset();
    ShellTest::TearDown();
    Debug::CloseDebugFile();
    const std::string report = testsupport::ReadFile("debug.txt");
    EXPECT_EQ(report.find("Not Cleaned UP"), std::string::npos) << report;
}

TEST_F(MjClassicPlayTest, CoveredTilesAndBricksAreRefused)
{
    MakeScreen();
    mjtest::FixtureBoard board;
    board.spots = {{0, 0, 1, 5}, {0, 0, 2, 5}, {10, 0, 1, 45}, {20, 0, 1, 5}};
    StartBoard(board);
    MjTile* bottom = TileAt(0, 0, 0);
    MjTile* top = TileAt(0, 0, 1);
    MjTile* brick = TileAt(10, 0, 0);
    ASSERT_NE(bottom, nullptr);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(brick->GetType(), MjClassic::kBrickType);
    ASSERT_TRUE(screen->_layout->IsFullyCovered(0, 0, 0));
    struct Case
    {
        const char* name;
        MjTile* selectFirst;
        MjTile* target;
    };
    const Case cases[] = {
        {"fully covered, nothing selected", nullptr, bottom},
        {"brick, nothing selected", nullptr, brick},
        {"fully covered under a selection", top, bottom},
        {"brick under a selection", top, brick},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->ClearSelection(true);
        if (c.selectFirst != nullptr) {
            Press(c.selectFirst);
        }
        const int selected = screen->_selectedCount;
        TakeCues();
        // A fully covered tile cannot be reached by the mouse: its press comes straight in.
        if (c.target == bottom) {
            screen->TileMouseDown(bottom, 1, bottom->GetX() + 5, bottom->GetY() + 5);
        } else {
            Press(c.target);
        }
        EXPECT_EQ(TakeCues(), (Cues{"CFG_TILESNOTMATCHED 0"}));
        EXPECT_EQ(screen->_selectedCount, selected);
        EXPECT_EQ(screen->_selected[0], c.selectFirst);
    }
    // The top tile and the free one of its type make a pair.
    Press(TileAt(20, 0));
    EXPECT_EQ(screen->_matchCounter, 1);
    EXPECT_EQ(Tray(1), top);
}

TEST_F(MjClassicPlayTest, SelectedPowerPlaysItsCueUntilPressedAgain)
{
    MakeScreen();
    mjtest::FixtureBoard board;
    board.spots = {{0, 0, 1, 50}, {10, 0, 1, 5}, {20, 0, 1, 5}};
    StartBoard(board);
    MjTile* typhoon = TileAt(0, 0);
    ASSERT_EQ(typhoon->GetType(), MjClassic::kTyphoonType);
    ASSERT_NE(screen->_specialSheets[MjClassic::kTyphoonType - MjClassic::kFirstSpecialType],
              nullptr);
    Press(typhoon);
    EXPECT_EQ(TakeCues(), (Cues{"stop -2", "CFG_TYPHOON -1"}));
    EXPECT_EQ(screen->_selected[0], typhoon);
    EXPECT_EQ(typhoon->GetState(), MjTile::kOverlayLoop);
    // The second press on the power cancels it: its sound stops and its overlay ends.
    Press(typhoon);
    EXPECT_EQ(TakeCues(), (Cues{"stop -2", "CFG_SELECT 0", "stop -2"}));
    EXPECT_EQ(screen->_selectedCount, 0);
    EXPECT_EQ(screen->_selected[0], nullptr);
    EXPECT_EQ(typhoon->GetState(), MjTile::kIdle);
}

TEST_F(MjClassicPlayTest, RightPressShowsNamesOrInCheatModeRotatesTheSecondSlot)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    MjTile* first = TileAt(0, 0);
    Press(first);
    // Without cheat mode a right press only names the tile: the selection stays.
    Press(TileAt(10, 2), 3);
    EXPECT_EQ(screen->_selectedCount, 1);
    EXPECT_EQ(screen->_selected[1], nullptr);
    screen->_cheatMode = 1;
    Press(first, 3); // right select off: ignored
    EXPECT_EQ(screen->_selected[1], nullptr);

    screen->_rightPressSelect = 1;
    Press(first, 3);
    MjTile* candidate = screen->_selected[1];
    ASSERT_NE(candidate, nullptr);
    EXPECT_NE(candidate, first);
    EXPECT_EQ(candidate->GetType(), first->GetType());
    Press(first, 3);
    MjTile* next = screen->_selected[1];
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, candidate);
    EXPECT_EQ(next->GetType(), first->GetType());
    EXPECT_EQ(screen->_matchCounter, 0);
    // A left press on the selected tile now makes the match with the tile in slot 1.
    Press(first);
    EXPECT_EQ(screen->_matchCounter, 1);
    EXPECT_TRUE(Tray(1) == first || Tray(2) == first);
    EXPECT_TRUE(Tray(1) == next || Tray(2) == next);
}

TEST_F(MjClassicPlayTest, ButtonsAndMoveCues)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    MjTile* tile = TileAt(0, 0);
    Press(tile);
    TakeCues();
    screen->ButtonClicked(MjClassic::kHintId, 0);
    EXPECT_EQ(TakeCues(), (Cues{"stop -2", "CFG_WATERDROP 0"}));
    EXPECT_EQ(screen->_selectedCount, 0);
    screen->ButtonClicked(777, 3);
    EXPECT_EQ(testsupport::CountLogLines("Should Never Happen in Button Clicked 777, 3"), 1);
    // Out of play every button only clears the selection.
    Press(tile);
    screen->_inPlay = 0;
    TakeCues();
    screen->ButtonClicked(MjClassic::kHintId, 0);
    screen->ButtonClicked(778, 1);
    EXPECT_EQ(TakeCues(), (Cues{"stop -2", "stop -2"}));
    EXPECT_EQ(screen->_selectedCount, 0);
    EXPECT_EQ(testsupport::CountLogLines("Button Clicked 778"), 0);

    // A tile's move cue: the screen stops listening, undo becomes possible, and the button is
    // enabled unless the buttons are off.
    struct Case
    {
        int buttonsDisabled;
        bool enabled;
    };
    for (const Case& c : {Case{1, false}, Case{0, true}}) {
        screen->_undoButton->SetEnabled(false);
        screen->_undoPossible = false;
        screen->_buttonsDisabled = c.buttonsDisabled;
        tile->SetCueListener(screen.get());
        screen->Cue(tile, CueListener::kMoveEnded, 0);
        EXPECT_TRUE(screen->_undoPossible);
        EXPECT_EQ(screen->_undoButton->GetEnabled(), c.enabled);
        // The screen no longer hears the tile's moves.
        screen->_undoPossible = false;
        tile->SetMoveCue();
        tile->MoveTo(tile->GetX() + 1, tile->GetY(), 20);
        Run(50);
        EXPECT_FALSE(screen->_undoPossible);
    }
}

TEST_F(MjClassicPlayTest, FirstPressStartsTheBoardsClock)
{
    struct Case
    {
        const char* look;
        bool elapsed; // the timed look counts seconds
    };
    for (const Case& c : {Case{kClassicLook, false}, Case{kTimedLook, true}}) {
        SCOPED_TRACE(c.look);
        MakeScreen(c.look);
        mjtest::FixtureBoard board = ThirtySixTiles();
        board.time = 700;
        StartBoard(board);
        ASSERT_NE(screen->_timerResource, nullptr);
        screen->_timerValues[0] = 5;
        EXPECT_EQ(screen->_firstPressDone, 0);
        Press(TileAt(4, 0)); // even a refused press starts it
        EXPECT_EQ(screen->_firstPressDone, 1);
        EXPECT_EQ(screen->_timerValues[0], MjClassic::kTimerSteps);
        EXPECT_EQ(screen->_matchesLeftText->GetState(), MjClassic::kClockStep);
        if (c.elapsed) {
            EXPECT_EQ(screen->_titleText2->GetState(), MjClassic::kElapsedSecond);
        }
        // Later presses leave the clock alone.
        screen->_timerValues[0] = 100;
        Press(TileAt(0, 0));
        EXPECT_EQ(screen->_timerValues[0], 100);
        DropScreen();
    }
}

TEST_F(MjClassicPlayTest, HoverShowsTheFaceInTheHidingModes)
{
    MakeScreen();
    StartBoard(ThirtySixTiles());
    MjTile* tile = TileAt(2, 0);
    MjTile* selected = TileAt(0, 0);
    Press(selected);
    struct Case
    {
        int playMode;
        MjTile* tile;
        int entered; // state after entering, -1: unchanged
        int left;    // state after leaving, -1: unchanged
    };
    const Case cases[] = {
        {0, tile, -1, -1},     {2, tile, -1, -1}, {4, tile, MjTile::kOpaque, MjTile::kFadeAway},
        {4, selected, -1, -1}, {3, tile, -1, -1}, // the face-less mode while a tile is selected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playMode);
        screen->_playMode = c.playMode;
        c.tile->ChangeState(MjTile::kIdle);
        screen->TileMouseOver(c.tile, 0, 0, true);
        EXPECT_EQ(c.tile->GetState(), c.entered < 0 ? MjTile::kIdle : c.entered);
        c.tile->ChangeState(MjTile::kIdle);
        screen->TileMouseOver(c.tile, 0, 0, false);
        EXPECT_EQ(c.tile->GetState(), c.left < 0 ? MjTile::kIdle : c.left);
    }
}

TEST_F(MjClassicPlayTest, TileHelpersAnswerFromTheGridAndSelection)
{
    MakeScreen();
    mjtest::FixtureBoard board;
    // A gold Yin-Yang free at the left, a jade one blocked in the middle of a row.
    board.spots = {{0, 0, 1, 43}, {0, 4, 1, 5}, {2, 4, 1, 56}, {4, 4, 1, 5}, {10, 0, 1, 5}};
    StartBoard(board);
    const std::pair<int, int> points[] = {{0, 50},  {26, 50}, {27, 1000}, {29, 1000},
                                          {30, 50}, {41, 50}, {42, 250},  {59, 250}};
    for (const auto& p : points) {
        EXPECT_EQ(screen->TilePoints(p.first), p.second) << p.first;
    }
    EXPECT_FALSE(screen->AllYinYangFree());
    screen->_layout->EmptyQuad(0, 4, 0);
    EXPECT_TRUE(screen->AllYinYangFree());
    screen->_layout->FillQuad(0, 4, 0);

    MjTile* five = TileAt(10, 0);
    MjClassic::Shared().faceHiding = 0;
    EXPECT_FALSE(screen->CanTrayTileMatch(five));
    MjClassic::Shared().faceHiding = 1;
    EXPECT_TRUE(screen->CanTrayTileMatch(five));
    EXPECT_FALSE(screen->CanTrayTileMatch(TileAt(0, 0))); // a special tile
    screen->_selected[0] = TileAt(4, 4);
    EXPECT_FALSE(screen->CanTrayTileMatch(five)); // its type is selected
    screen->_selected[0] = nullptr;
    MjClassic::Shared().faceHiding = 0;

    // Blinking walks the grid in column order and stops after the count.
    screen->BlinkTilesOfType(5, 2, 3);
    EXPECT_NE(TileAt(0, 4)->GetBlinkState(), 0);
    EXPECT_NE(TileAt(4, 4)->GetBlinkState(), 0);
    EXPECT_EQ(TileAt(10, 0)->GetBlinkState(), 0);
    EXPECT_EQ(TileAt(0, 0)->GetBlinkState(), 0);
    screen->BlinkTilesOfType(-1, -1, 0);
    Run(300); // a hop in progress lands first
    EXPECT_EQ(TileAt(0, 4)->GetBlinkState(), 0);
    EXPECT_EQ(TileAt(4, 4)->GetBlinkState(), 0);
}

TEST_F(MjClassicPlayTest, YinYangPairsAndTheFifthMatchMarkTheBoard)
{
    MakeScreen();
    mjtest::FixtureBoard board = ThirtySixTiles();
    // A gold and a jade Yin-Yang tile, both free, below the rows.
    board.spots.push_back({0, 14, 1, 43});
    board.spots.push_back({10, 14, 1, 56});
    StartBoard(board);
    screen->_extraLives = 1;
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        Press(TileAt(0, 2 * row));
        Press(TileAt(10, 2 * row));
        Run(kLanded);
        EXPECT_EQ(screen->_extraLives, 1);
    }
    MjTile* gold = TileAt(0, 14);
    MjTile* jade = TileAt(10, 14);
    ASSERT_EQ(gold->GetType(), MjTile::kYinYang);
    ASSERT_EQ(jade->GetType(), MjTile::kYinYang);
    EXPECT_EQ(screen->_yinYangMatched, 0);
    Press(gold);
    Press(jade);
    // Outside the quest the pair goes to the tray like any other and marks the board.
    EXPECT_EQ(Tray(1), gold);
    EXPECT_EQ(Tray(2), jade);
    EXPECT_EQ(screen->_yinYangMatched, 1);
    // The fifth match of a board not picked on the selection screen ends its extra life.
    EXPECT_EQ(screen->_matchCounter, 5);
    EXPECT_EQ(screen->_extraLives, 0);
}
