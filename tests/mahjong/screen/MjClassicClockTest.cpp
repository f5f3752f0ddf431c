#include "framework/core/Color.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/support/FlowHarness.h"
#include "tests/support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

using mjtest::FixtureBoard;

constexpr int kPeriod = 20; // ms per clock step on the test boards

class MjClassicClockTest : public mjtest::FlowHarness
{
protected:
    static FixtureBoard Board()
    {
        FixtureBoard board;
        board.spots = {{0, 0, 1, 5}, {4, 0, 1, 5}, {8, 0, 1, 6}, {12, 0, 1, 6}};
        board.time = kPeriod;
        return board;
    }
    // Enters the board and starts its clock with a first press.
    void StartClock(const std::string& look = kClassicLook,
                    const std::function<void(MjClassicConfig&)>& edit = {})
    {
        MakeScreen(look, edit);
        EnterBoard(Board());
        Press(TileAt(8, 0));
        screen->ClearSelection(true);
    }
    // Frames until the step count has fallen to steps (or 20 s have passed).
    void RunTo(int steps)
    {
        for (int n = 0; n < 2000 && screen->_timerValues[0] > steps; ++n) {
            Run(10);
        }
        ASSERT_EQ(screen->_timerValues[0], steps);
    }
    static Color FusePixel(CastMemberImage* fuse, int x, int y)
    {
        return fuse->GetImage()->GetCanvas()->GetPixel(x, y);
    }
    int FuseRow() { return screen->_timerSprites[0]->GetImage()->GetH() / 2; }
};

bool Same(const Color& a, const Color& b)
{
    return a.GetR() == b.GetR() && a.GetG() == b.GetG() && a.GetB() == b.GetB();
}

} // namespace

// From 336 steps down to 11 each step burns the fuse from its own column on: the columns left
// of the step keep the cord, the ones from it on show the burnt sheet up to the fuse's last
// column, and no step logs an error. The next board gets an unburnt fuse of its own.
TEST_F(MjClassicClockTest, FuseBurnsColumnByColumnAndTheNextBoardHasAFreshOne)
{
    StartClock();
    CastMemberImage* fuse = screen->_timerSprites[0];
    ASSERT_NE(fuse, nullptr);
    ASSERT_NE(screen->_timerResource, nullptr);
    const int row = FuseRow();
    std::vector<Color> cord;
    for (int x = 0; x < fuse->GetImage()->GetW(); ++x) {
        cord.push_back(FusePixel(fuse, x, row));
    }
    Canvas* sheet = screen->_timerResource->GetCanvas();
    const int lastColumn = fuse->GetImage()->GetW() - 1;
    // Error lines carry their level after the writer's name.
    const int errors = testsupport::CountLogLines(": -1 ");
    for (int steps : {330, 200, 100, 11}) {
        SCOPED_TRACE(steps);
        RunTo(steps);
        // The last draw was at column steps + 1.
        const int burnt = steps + 1;
        for (int x : {burnt - 3, burnt - 1}) {
            EXPECT_TRUE(Same(FusePixel(fuse, x, row), cord[x])) << "column " << x;
        }
        for (int dx : {0, 2, 8, lastColumn - burnt}) {
            EXPECT_TRUE(Same(FusePixel(fuse, burnt + dx, row), sheet->GetPixel(dx, row)))
                << "column " << burnt + dx;
        }
        EXPECT_TRUE(fuse->IsVisible());
    }
    EXPECT_EQ(testsupport::CountLogLines(": -1 "), errors);

    // The next board's fuse is a new picture with the whole cord.
    screen->SetupBoard(0, 4242, MjClassic::kStartOpening, "");
    Run(10);
    CastMemberImage* next = screen->_timerSprites[0];
    ASSERT_NE(next, nullptr);
    for (int x : {20, 100, 200, 300}) {
        EXPECT_TRUE(Same(FusePixel(next, x, row), cord[x])) << "column " << x;
    }
}

// From 10 steps on the ending image shows frames 0 to 4, four steps each; outside the quest the
// clock stops at -10 without a popup.
TEST_F(MjClassicClockTest, EndingFramesThenTheClockStopsAtMinusTen)
{
    StartClock();
    RunTo(11);
    ASSERT_NE(screen->_timerEndSprite, nullptr);
    EXPECT_FALSE(screen->_timerEndSprite->IsVisible());
    std::map<int, int> frames; // steps -> ending frame
    for (int n = 0; n < 4000 && screen->_timerValues[0] > -10; ++n) {
        Run(10);
        const int steps = screen->_timerValues[0];
        if (steps > -10 && steps <= MjClassic::kFuseLastStep && frames.count(steps) == 0) {
            EXPECT_TRUE(screen->_timerEndSprite->IsVisible());
            EXPECT_FALSE(screen->_timerSprites[0]->IsVisible());
            frames[steps] = screen->_timerEndSprite->GetFrame();
        }
    }
    const std::map<int, int> expected = {
        {10, 0}, {9, 0},  {8, 0},  {7, 0},  {6, 1},  {5, 1},  {4, 1},  {3, 1},  {2, 2},  {1, 2},
        {0, 2},  {-1, 2}, {-2, 3}, {-3, 3}, {-4, 3}, {-5, 3}, {-6, 4}, {-7, 4}, {-8, 4}, {-9, 4},
    };
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(screen->_timerValues[0], -10);
    EXPECT_EQ(screen->_timerValues[1], 0);
    EXPECT_FALSE(screen->_timerEndSprite->IsVisible());
    Run(5000);
    EXPECT_EQ(screen->_timerValues[0], -10);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_EQ(screen->_inPlay, 1);
}

// While the buttons are disabled (a popup, a pause) the clock re-arms without counting, in the
// fuse's steps and in the ending's alike.
TEST_F(MjClassicClockTest, DisabledButtonsHoldTheClock)
{
    StartClock();
    for (int at : {200, 8}) {
        SCOPED_TRACE(at);
        RunTo(at);
        screen->HideButtons();
        Run(5000);
        EXPECT_EQ(screen->_timerValues[0], at);
        screen->ShowBoard(0);
        Run(1200);
        EXPECT_LT(screen->_timerValues[0], at);
    }
}

// The timed look counts the board's seconds as its score, not while the buttons are disabled.
TEST_F(MjClassicClockTest, TimedLookCountsSeconds)
{
    StartClock(kTimedLook);
    const int start = screen->_boardScore;
    Run(5000);
    EXPECT_EQ(screen->_boardScore, start + 5);
    screen->HideButtons();
    Run(3000);
    EXPECT_EQ(screen->_boardScore, start + 5);
    screen->ShowBoard(0);
    Run(2000);
    EXPECT_EQ(screen->_boardScore, start + 7);
}

// A won board's time bonus counts from 5 by 5 per step until the clock has run out at -10 and
// pays 5 x (S + 11) for S steps left, then asks about the next board. Looks without timer
// sprites or ending image count the same.
TEST_F(MjClassicClockTest, TimeBonusPaysFiveTimesStepsPlusElevenThenAsks)
{
    struct Case
    {
        const char* name;
        const char* look;
        bool noTimer;
        int steps;
    };
    const Case cases[] = {
        {"classic", kClassicLook, false, 40},
        {"classic near the end", kClassicLook, false, 3},
        {"timed look", kTimedLook, false, 25},
        {"no timer sprites", kClassicLook, true, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartClock(c.look, [&](MjClassicConfig& look) {
            if (c.noTimer) {
                look.Write("timer", "pos", "0,0");
            }
        });
        if (c.noTimer) {
            // Such a board starts no clock: the count runs from where the steps stand.
            screen->_timerValues[0] = c.steps;
        } else {
            RunTo(c.steps);
        }
        EXPECT_EQ(screen->_timerSprites[0] == nullptr, c.noTimer);
        // As a won board's congratulation starts the count.
        screen->HideButtons();
        screen->_inPlay = 0;
        screen->_buttonsDisabled = 0;
        screen->_timerValues[2] = 5;
        screen->_timerBonusSprite = new CastMemberImage(
            Manager()->GetCast(), new Image("images/MiniTimerBonus.png", nullptr), 274, 220,
            MjClassic::kFramePriority, 1);
        screen->_titleText->ChangeState(MjClassic::kBoardWonPoll, 10);
        screen->_matchesLeftText->ChangeState(MjClassic::kClockStep, 10);
        const int before = screen->_boardScore;
        for (int n = 0; n < 1000 && OpenPopupId() == 0; ++n) {
            Run(10);
        }
        EXPECT_EQ(OpenPopupId(), MjClassic::kWinDialog);
        EXPECT_EQ(screen->_timerValues[0], -10);
        EXPECT_EQ(screen->_timerValues[2], 0);
        EXPECT_EQ(screen->_timerBonusSprite, nullptr);
        const int bonus = 5 * (c.steps + 11);
        if (c.look == kTimedLook) {
            // Times are the timed look's score: the bonus goes in all the same.
            EXPECT_GE(screen->_boardScore, before + bonus);
        } else {
            EXPECT_EQ(screen->_boardScore, before + bonus);
            const auto popups = TakePopups();
            ASSERT_FALSE(popups.empty());
            EXPECT_EQ(popups.back().text, screen->FormatNumber(bonus));
            EXPECT_EQ(popups.back().x, 370);
        }
        // The points popup reads the look it was made with: it ends before the look goes.
        Run(3000);
        Manager()->GetCast()->ForceDialogsDispose();
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// The end of the opening: the board's own popup where the puzzle places it, or play at once.
TEST_F(MjClassicClockTest, OpeningShowsTheBoardsPopupOrStartsPlay)
{
    struct Case
    {
        const char* pos; // null: no key
        int noMovesMark;
        bool popup;
        int x; // the popup's place, -1 centred
        int y;
    };
    const Case cases[] = {
        {nullptr, 0, false, 0, 0},    {"-1,-1", 0, false, 0, 0},  {"-2,-2", 0, true, -1, -1},
        {"100,80", 0, true, 100, 80}, {"100,80", 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos != nullptr ? c.pos : "none");
        MakeScreen();
        script->board = screen.get();
        screen->_firstBoard = false;
        StartBoard(Board());
        if (c.pos != nullptr) {
            SetPuzzleValue("popuppos", c.pos);
            SetPuzzleValue("popupname", "welcome");
        }
        screen->_noMovesMark = c.noMovesMark;
        screen->SetupBoard(0, 4242, MjClassic::kStartOpening, "");
        Play(3000);
        EXPECT_EQ(screen->_noMovesMark, 0);
        if (c.popup) {
            ASSERT_EQ(OpenPopupId(), MjClassic::kOpeningPopupDialog);
            EXPECT_EQ(screen->_inPlay, 0);
            CastMemberDialogResizable* popup = script->GetPromptDialog();
            if (c.x != -1) {
                EXPECT_EQ(popup->GetX(), c.x);
                EXPECT_EQ(popup->GetY(), c.y);
            }
            Answer(1);
            Play(100);
        } else {
            EXPECT_EQ(OpenPopupId(), 0);
        }
        EXPECT_EQ(screen->_inPlay, 1);
        EXPECT_EQ(screen->_buttonsDisabled, 0);
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// A first board outside the quest waits for the board chooser: its opening starts nothing.
TEST_F(MjClassicClockTest, FirstBoardOutsideTheQuestWaitsForTheChooser)
{
    MakeScreen();
    script->board = screen.get();
    StartBoard(Board());
    screen->_inPlay = 0;
    screen->SetupBoard(0, 4242, MjClassic::kStartOpening, "");
    Play(3000);
    EXPECT_EQ(screen->_inPlay, 0);
}

// The scramble warning opens once per program run, on a board of a hiding play mode whose faces
// stay shown (it has special tiles); closing it starts play.
TEST_F(MjClassicClockTest, ScrambleWarningOpensOncePerRun)
{
    MjClassic::Shared().scrambleWarningShown = false;
    FixtureBoard board = Board();
    board.spots.push_back({16, 0, 1, MjTile::kYinYang});
    board.spots.push_back({20, 0, 1, MjTile::kYinYang});
    MakeScreen();
    screen->_playMode = 1;
    EnterBoard(board);
    ASSERT_EQ(OpenPopupId(), MjClassic::kOpeningPopupDialog);
    Answer(1);
    Play(100);
    EXPECT_EQ(screen->_inPlay, 1);
    screen->SetupBoard(0, 4242, MjClassic::kStartOpening, "");
    Play(3000);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_EQ(screen->_inPlay, 1);
}

// In the scrambling play mode a free tile that can match trades its face with a tile that can
// match anywhere on the board, blocked or free, and both then show their new faces. Tiles of the
// selected type, blocked senders and a board whose buttons are disabled stay put.
TEST_F(MjClassicClockTest, ScramblingSwapsFacesWithAnyTileThatCanMatch)
{
    FixtureBoard board;
    // Two rows of four: the ends are free, the middles blocked; a row of four free tiles. The
    // faces lie in the sheet's first and second rows.
    board.spots = {{0, 0, 1, 5},  {2, 0, 1, 6},  {4, 0, 1, 7},  {6, 0, 1, 8},
                   {0, 4, 1, 8},  {2, 4, 1, 7},  {4, 4, 1, 6},  {6, 4, 1, 5},
                   {0, 8, 1, 10}, {4, 8, 1, 10}, {8, 8, 1, 11}, {12, 8, 1, 11}};
    MakeScreen();
    screen->_playMode = 2;
    EnterBoard(board);
    ASSERT_EQ(MjClassic::Shared().faceHiding, 1);
    const auto typeAt = [this](const std::pair<int, int>& at) {
        return TileAt(at.first, at.second)->GetType();
    };
    const std::vector<std::pair<int, int>> blocked = {{2, 0}, {4, 0}, {2, 4}, {4, 4}};
    // The deal places the types. Every tile of the selected tile's type must stay.
    screen->_selected[0] = TileAt(8, 8);
    screen->_selectedCount = 1;
    std::vector<std::pair<int, int>> fixed;
    for (const mjtest::Spot& spot : board.spots) {
        if (typeAt({spot.i, spot.j}) == screen->_selected[0]->GetType()) {
            fixed.push_back({spot.i, spot.j});
        }
    }
    std::vector<int> fixedTypes;
    for (const auto& at : fixed) {
        fixedTypes.push_back(typeAt(at));
    }
    std::vector<int> blockedTypes;
    for (const auto& at : blocked) {
        blockedTypes.push_back(typeAt(at));
    }
    MjClassic::Shared().scrambleState = 0;

    struct Case
    {
        std::pair<int, int> sender;
        int buttonsDisabled;
        bool mayChange;
    };
    const Case cases[] = {
        {{2, 0}, 0, false}, // blocked
        {{8, 8}, 0, false}, // the selected tile
        {{0, 0}, 1, false}, // the board's buttons are disabled
        {{0, 0}, 0, true},  {{6, 4}, 0, true}, {{6, 0}, 0, true}, {{0, 4}, 0, true},
    };
    int swaps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sender.first) + "," + std::to_string(c.sender.second));
        screen->_buttonsDisabled = c.buttonsDisabled;
        MjTile* sender = TileAt(c.sender.first, c.sender.second);
        for (int n = 0; n < 20; ++n) {
            const int type = sender->GetType();
            screen->StateReached(sender, MjTile::kSpecialOpaque, 1);
            const bool changed = sender->GetType() != type;
            EXPECT_TRUE(!changed || c.mayChange);
            swaps += changed ? 1 : 0;
            for (std::size_t f = 0; f < fixed.size(); ++f) {
                EXPECT_EQ(typeAt(fixed[f]), fixedTypes[f]);
            }
        }
    }
    EXPECT_GT(swaps, 0);
    // Some blocked tile took a free tile's face.
    bool blockedChanged = false;
    for (std::size_t b = 0; b < blocked.size(); ++b) {
        blockedChanged = blockedChanged || typeAt(blocked[b]) != blockedTypes[b];
    }
    EXPECT_TRUE(blockedChanged);
    // Every tile shows the frame of its face, and the board still holds two tiles of each type.
    std::map<int, int> counts;
    for (const mjtest::Spot& spot : board.spots) {
        MjTile* tile = TileAt(spot.i, spot.j);
        ++counts[tile->GetType()];
        EXPECT_EQ(tile->GetType(), tile->GetFace());
        EXPECT_EQ(tile->GetFrame(), tile->GetFace() % MjTile::kSheetColumns)
            << spot.i << "," << spot.j;
        EXPECT_EQ(tile->GetImage()->GetRow(), tile->GetFace() / MjTile::kSheetColumns)
            << spot.i << "," << spot.j;
    }
    for (const auto& [type, count] : counts) {
        EXPECT_EQ(count, 2) << "type " << type;
    }
}
