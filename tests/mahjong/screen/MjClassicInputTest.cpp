#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/FlowHarness.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

using mjtest::FixtureBoard;

class MjClassicInputTest : public mjtest::FlowHarness
{
protected:
    // Two free pairs side by side, and two lone free tiles of other types.
    static FixtureBoard Pairs()
    {
        FixtureBoard board;
        board.spots = {{0, 0, 1, 5}, {4, 0, 1, 5}, {8, 0, 1, 6}, {12, 0, 1, 6}};
        return board;
    }
    // One free pair, then a row of four: two lone ends and, between them, a dealt pair that
    // blocks itself. After the pair nothing matches; the dealt pair's faces come from the seed.
    static FixtureBoard DeadAfterOneMatch()
    {
        FixtureBoard board;
        board.spots = {{0, 0, 1, 5},  {4, 0, 1, 5},  {0, 4, 1, 6},
                       {2, 4, 1, -1}, {4, 4, 1, -1}, {6, 4, 1, 7}};
        return board;
    }
    // Puzzle 1 of the fixture set: three free pairs titled "Next".
    void WriteNextBoard()
    {
        const std::vector<mjtest::Spot> spots = {{0, 0, 1, 5},  {4, 0, 1, 5},  {8, 0, 1, 6},
                                                 {12, 0, 1, 6}, {16, 0, 1, 7}, {20, 0, 1, 7}};
        ASSERT_TRUE(testsupport::WriteFile("puzzles/next.cfg", mjtest::LayoutText(spots, "Next")));
        ConfigFile* set = screen->_puzzlesFile.get();
        set->Write("puzzle1", "layout", "puzzles/next.cfg");
        set->Write("puzzle1", "matches", 2);
        set->Write("puzzle1", "time", 900);
        for (const char* key : {"seed", "tileset", "difficulty", "triple"}) {
            set->Write("puzzle1", key, 0);
        }
    }
    void MatchFirstPair()
    {
        Press(TileAt(0, 0));
        Press(TileAt(4, 0));
        Play(1000);
    }
    // The face on each grid cell, by cell.
    std::map<std::tuple<int, int, int>, int> DealtFaces()
    {
        std::map<std::tuple<int, int, int>, int> faces;
        for (const mjtest::TileState& t : Snapshot().tiles) {
            if (t.active) {
                faces[{t.i, t.j, t.k}] = t.face;
            }
        }
        return faces;
    }
    bool Played(const std::string& cue)
    {
        const std::vector<std::string> cues = TakeCues();
        return std::find(cues.begin(), cues.end(), cue) != cues.end();
    }
    void PushFocus(bool gained)
    {
        SDL_Event e{};
        e.type = SDL_ACTIVEEVENT;
        e.active.type = SDL_ACTIVEEVENT;
        e.active.gain = gained ? 1 : 0;
        e.active.state = SDL_APPINPUTFOCUS;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
        PumpEvents();
    }
};

} // namespace

// The replay button deals the board again at once while nothing has been matched on it outside
// the quest and the skip switch is off; otherwise it asks first.
TEST_F(MjClassicInputTest, ReplayRestartsAtOnceBeforeTheFirstMatchElseAsks)
{
    struct Case
    {
        const char* name;
        bool matchFirst;
        bool quest;
        int skip;
        bool asks;
    };
    const Case cases[] = {
        {"fresh board", false, false, 0, false},
        {"after a match", true, false, 0, true},
        {"quest", false, true, 0, true},
        {"skip switch", false, false, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen.reset();
        EnterBoard(Pairs());
        if (c.matchFirst) {
            MatchFirstPair();
            ASSERT_EQ(screen->_matchCounter, 1);
        }
        screen->_quest = c.quest;
        screen->_skipFlag = c.skip;
        const int seedBefore = screen->_seed;
        clock.Advance(7); // the fresh deal's seed comes from the clock
        screen->ButtonClicked(MjClassic::kReplayId, 1);
        EXPECT_TRUE(Played("CFG_MENUSELECTIONS 0"));
        if (c.asks) {
            EXPECT_EQ(OpenPopupId(), MjClassic::kRestartDialog);
            EXPECT_EQ(screen->_seed, seedBefore);
        } else {
            EXPECT_EQ(OpenPopupId(), 0);
            EXPECT_TRUE(LogHas("Prior Prediction = 1"));
            EXPECT_NE(screen->_seed, seedBefore);
            EXPECT_EQ(screen->_rules.fixedSeed, 0);
            // The new deal opens and is played.
            Play(1000);
            EXPECT_EQ(screen->_inPlay, 1);
            EXPECT_EQ(ShownTiles(), 4);
        }
        screen->_quest = false;
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// The new-game button goes on to the next board of the set at once, without asking even after
// a match; in the quest (which has no such button) and out of play it only clears the selection.
TEST_F(MjClassicInputTest, NewGameDealsTheNextBoardOnlyOutsideTheQuestInPlay)
{
    struct Case
    {
        const char* name;
        bool quest;
        int inPlay;
        bool next;
    };
    const Case cases[] = {
        {"outside the quest", false, 1, true},
        {"quest", true, 1, false},
        {"out of play", false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen.reset();
        MakeScreen();
        WriteNextBoard();
        EnterBoard(Pairs());
        MatchFirstPair();
        ASSERT_EQ(screen->_matchCounter, 1);
        Press(TileAt(8, 0));
        ASSERT_EQ(screen->_selectedCount, 1);
        TakeCues();
        screen->_quest = c.quest;
        screen->_inPlay = c.inPlay;
        screen->ButtonClicked(MjClassic::kNewGameId, 1);
        EXPECT_EQ(screen->_selectedCount, 0);
        EXPECT_EQ(Played("CFG_MENUSELECTIONS 0"), c.next);
        EXPECT_EQ(OpenPopupId(), 0);
        if (c.next) {
            EXPECT_EQ(screen->_puzzle, 1);
            EXPECT_EQ(screen->_puzzleNumber, 2);
            EXPECT_EQ(ConfigFile::AsInt(screen->_progressFile->Value("global", "game", -1.0, true)),
                      1);
            Play(3000);
            EXPECT_EQ(screen->_layout->Title(), "Next");
            EXPECT_EQ(screen->_matchCounter, 0);
            EXPECT_EQ(ShownTiles(), 6);
            EXPECT_EQ(screen->_inPlay, 1);
        } else {
            Play(1000);
            EXPECT_EQ(screen->_puzzle, 0);
            EXPECT_EQ(screen->_layout->Title(), "Fixture");
            EXPECT_EQ(screen->_matchCounter, 1);
            EXPECT_EQ(ShownTiles(), 2);
        }
        screen->_quest = false;
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// "restartconfirmation" answered yes deals the same board again; the board comes back to play.
TEST_F(MjClassicInputTest, RestartConfirmationYesRestartsWithTheSameSeed)
{
    EnterBoard(Pairs());
    MatchFirstPair();
    const int seed = screen->_seed;
    screen->ButtonClicked(MjClassic::kReplayId, 1);
    ASSERT_EQ(OpenPopupId(), MjClassic::kRestartDialog);
    Play(500);
    Answer(1);
    EXPECT_EQ(script->answers.back(), MjClassic::kRestartDialog);
    Play(1000);
    EXPECT_EQ(screen->_seed, seed);
    EXPECT_EQ(screen->_matchCounter, 0);
    EXPECT_EQ(screen->_layout->TileCount(), 4);
    EXPECT_EQ(ShownTiles(), 4);
    EXPECT_EQ(screen->_inPlay, 1);
}

// The pause button hides the tiles and the buttons behind "paused"; closing it gives all back.
TEST_F(MjClassicInputTest, PauseButtonHidesTheBoardUntilThePopupCloses)
{
    EnterBoard(Pairs());
    ASSERT_EQ(ShownTiles(), 4);
    screen->ButtonClicked(MjClassic::kPauseId, 1);
    EXPECT_TRUE(Played("CFG_SELECT 0"));
    EXPECT_EQ(OpenPopupId(), MjClassic::kPausePopupId);
    EXPECT_EQ(ShownTiles(), 0);
    EXPECT_EQ(screen->_buttonsDisabled, 1);
    EXPECT_FALSE(screen->_pauseButton->GetEnabled());
    // A press on a hidden tile does nothing.
    Play(500);
    Answer(1);
    Play(100);
    EXPECT_EQ(ShownTiles(), 4);
    EXPECT_EQ(screen->_buttonsDisabled, 0);
    EXPECT_TRUE(screen->_pauseButton->GetEnabled());
    EXPECT_TRUE(screen->_replayButton->GetEnabled());
    EXPECT_EQ(OpenPopupId(), 0);
}

// Losing the input focus opens "paused" once, without a fade, and hides the tiles; the fuse
// stands still while it is open; closing it shows the board and the clock burns on.
TEST_F(MjClassicInputTest, FocusLossPausesOnceAndStopsTheFuse)
{
    FixtureBoard board = Pairs();
    board.time = 100;
    EnterBoard(board);
    Press(TileAt(8, 0)); // the first press starts the clock
    Play(1000);
    const int burning = screen->_timerValues[0];
    ASSERT_LT(burning, MjClassic::kTimerSteps);
    screen->ClearSelection(true);

    PushFocus(false);
    Play(10);
    CastMemberDialogResizable* paused = script->GetPromptDialog();
    ASSERT_NE(paused, nullptr);
    EXPECT_EQ(paused->GetID(), MjClassic::kPausePopupId);
    EXPECT_EQ(paused->GetFadeInTime(), 0);
    EXPECT_EQ(ShownTiles(), 0);
    const int steps = screen->_timerValues[0];
    Play(5000);
    EXPECT_EQ(script->GetPromptDialog(), paused) << "opened again";
    EXPECT_EQ(screen->_timerValues[0], steps);

    PushFocus(true);
    Play(10);
    Answer(1);
    Play(1000);
    EXPECT_EQ(ShownTiles(), 4);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_LT(screen->_timerValues[0], steps);
}

// The no-moves choice outside the quest: undo, the same deal again, or a new deal; the board's
// own opening popup is not shown again. Undo and the same deal give back every face on its cell.
TEST_F(MjClassicInputTest, NoMovesChoiceUndoesRestartsOrDealsAnew)
{
    struct Case
    {
        int item;
        bool sameDeal;
        int tiles; // on the board afterwards
    };
    const Case cases[] = {{1, true, 6}, {2, true, 6}, {3, false, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item));
        screen.reset();
        MakeScreen();
        // The board's popup opens at its first opening, and closing it starts play.
        SetPuzzleValue("popuppos", "-2,-2");
        SetPuzzleValue("popupname", "welcome");
        EnterBoard(DeadAfterOneMatch());
        ASSERT_EQ(OpenPopupId(), MjClassic::kOpeningPopupDialog);
        Answer(1);
        Play(100);
        ASSERT_EQ(screen->_inPlay, 1);
        const int seed = screen->_seed;
        const auto faces = DealtFaces();
        ASSERT_EQ(faces.size(), 6u);
        MatchFirstPair();
        CastMemberDialog* menu = script->GetMenuDialog();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->GetID(), MjGameScript::kNoMovesDialog);
        // A right click leaves the choice open.
        screen->DialogButtonClicked(MjGameScript::kNoMovesDialog, c.item, 3);
        EXPECT_EQ(ShownTiles(), 4);
        EXPECT_EQ(Manager()->GetCast()->GetDialog(), menu);
        clock.Advance(11);
        screen->DialogButtonClicked(MjGameScript::kNoMovesDialog, c.item, 1);
        Play(3000);
        EXPECT_EQ(screen->_layout->TileCount(), c.tiles);
        EXPECT_EQ(screen->_seed == seed, c.sameDeal);
        if (c.sameDeal) {
            EXPECT_EQ(DealtFaces(), faces);
        }
        EXPECT_EQ(OpenPopupId(), 0) << "the board's popup opened again";
        EXPECT_EQ(screen->_inPlay, 1);
        EXPECT_EQ(ShownTiles(), 6);
        EXPECT_EQ(screen->_noMovesMark, 0);
        screen->ReleaseSprites();
        screen.reset();
        Frame();
    }
}

// Typed keys in cheat mode: the command line, its commands and its limits.
TEST_F(MjClassicInputTest, DebugCommandsChangeTheBoard)
{
    EnterBoard(Pairs());
    screen->KeyPressed(1);
    EXPECT_EQ(screen->_cheatMode, 1);

    struct Case
    {
        const char* line;
        int tileSet; // -1: not checked
        int period;  // -1: not checked
    };
    const Case cases[] = {
        {"t-3", 2, -1},
        {"t-7", 0, -1},
        {"t-2", 1, -1},
        {"t-0", 0, -1},
        {"c-0", -1, 5},
        {"c-250", -1, 250},
        {"c-99999999999999", -1, INT_MAX},
        {"c--99999999999999", -1, INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Type(c.line);
        EXPECT_EQ(screen->_titleText->GetText(), c.line);
        Type("\r");
        Play(1000);
        if (c.tileSet >= 0) {
            EXPECT_EQ(screen->_tileSetIndex, c.tileSet);
            EXPECT_EQ(screen->_layout->TileCount(), 4);
        }
        if (c.period != -1) {
            EXPECT_EQ(screen->_rules.time, c.period);
        }
        EXPECT_EQ(screen->_debugKey, 0);
        EXPECT_EQ(screen->_inPlay, 1);
    }

    // m shows the pointer's position.
    Type("m-1\r");
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    char mouse[64];
    std::snprintf(mouse, sizeof mouse, "Mouse is at %d, %d", x, y);
    EXPECT_EQ(screen->_titleText->GetText(), mouse);

    // A letter without command, and a line without a dash, only refresh the help line.
    const int seed = screen->_seed;
    const int tileSet = screen->_tileSetIndex;
    for (const char* line : {"q-5\r", "t5\r", "\r"}) {
        SCOPED_TRACE(line);
        Type(line);
        EXPECT_EQ(screen->_titleText->GetText(), "Fixture");
        EXPECT_EQ(screen->_seed, seed);
        EXPECT_EQ(screen->_tileSetIndex, tileSet);
        EXPECT_EQ(OpenPopupId(), 0);
    }

    // Backspace takes the last key back, also on an empty line.
    Type("\b\bt-2\b3");
    EXPECT_EQ(screen->_titleText->GetText(), "t-3");
    Type("\r");
    EXPECT_EQ(screen->_tileSetIndex, 2);
    Play(1000);

    // z leaves cheat mode.
    Type("z-0\r");
    EXPECT_EQ(screen->_cheatMode, 0);
}

// x opens a popup section by name and v opens it again; closing either gives the board back.
TEST_F(MjClassicInputTest, CommandXOpensAPopupAndVOpensItAgain)
{
    EnterBoard(Pairs());
    Type("x-paused\r");
    CastMemberDialogResizable* first = script->GetPromptDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetID(), MjClassic::kCommandPopupDialog);
    Play(500);
    Answer(1);
    Play(100);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_EQ(screen->_buttonsDisabled, 0);
    EXPECT_EQ(ShownTiles(), 4);
    Type("v-\r");
    CastMemberDialogResizable* again = script->GetPromptDialog();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetID(), MjClassic::kCommandPopupDialog);
    EXPECT_EQ(OpenPopupId(), MjClassic::kCommandPopupDialog);
    // A section that does not exist opens nothing.
    Play(500);
    Answer(1);
    Play(100);
    Type("x-no such popup\r");
    EXPECT_EQ(OpenPopupId(), 0);
}

// The command line holds at most 199 keys: a 200-key line loses its last key, and Enter runs
// nothing past the buffer.
TEST_F(MjClassicInputTest, CommandLineRefusesKeysAt199)
{
    EnterBoard(Pairs());
    const std::string line = "c-" + std::string(198, '7');
    Type(line);
    const std::string shown = screen->_titleText->GetText();
    EXPECT_EQ(shown.size(), 199u);
    EXPECT_EQ(shown, line.substr(0, 199));
    Type("\b");
    EXPECT_EQ(screen->_titleText->GetText().size(), 198u);
    Type("88\r");
    EXPECT_EQ(screen->_rules.time, INT_MAX);
    // After Enter a new line starts empty.
    Type("t");
    EXPECT_EQ(screen->_titleText->GetText(), "t");
}

// Escape and Space end the opening sequence; Enter clears the skip switch and does no more.
TEST_F(MjClassicInputTest, EscapeSkipsTheOpeningAndEnterClearsTheSkipSwitch)
{
    EnterBoard(Pairs());
    screen->_skipArrival = 0;
    screen->KeyPressed(27);
    EXPECT_EQ(screen->_skipArrival, 1);
    screen->_skipArrival = 0;
    screen->KeyPressed(32);
    EXPECT_EQ(screen->_skipArrival, 1);
    screen->_skipFlag = 1;
    Type("t-3\r");
    EXPECT_EQ(screen->_skipFlag, 0);
    EXPECT_EQ(screen->_tileSetIndex, 0);
}

// Buttons do nothing while the board is not in play, and an unknown id is logged.
TEST_F(MjClassicInputTest, ButtonsOutOfPlayAndUnknownIds)
{
    EnterBoard(Pairs());
    screen->_inPlay = 0;
    screen->ButtonClicked(MjClassic::kPauseId, 1);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_EQ(ShownTiles(), 4);
    screen->_inPlay = 1;
    screen->ButtonClicked(777, 2);
    EXPECT_TRUE(LogHas("Should Never Happen in Button Clicked 777, 2"));
}

// In cheat mode a right press on the replay button wins the board at once: the congratulation
// counts the time left as a bonus, pays it when the clock has run out and asks about the next
// board; "no" deals this board again and play starts.
TEST_F(MjClassicInputTest, CheatReplayWinsTheBoardThenTheWinPopupDealsItAgain)
{
    FixtureBoard board = Pairs();
    board.time = 20;
    EnterBoard(board);
    Press(TileAt(8, 0)); // starts the clock
    screen->ClearSelection(true);
    Play(200);
    const int steps = screen->_timerValues[0];
    ASSERT_GT(steps, 300);
    screen->KeyPressed(1);
    const int score = screen->_boardScore;
    screen->ButtonClicked(MjClassic::kReplayId, 3);
    EXPECT_EQ(screen->_timerValues[2], 5);
    for (int n = 0; n < 2000 && OpenPopupId() != MjClassic::kWinDialog; ++n) {
        Run(10);
    }
    ASSERT_EQ(OpenPopupId(), MjClassic::kWinDialog);
    EXPECT_EQ(screen->_timerValues[0], MjClassic::kClockLastStep);
    EXPECT_EQ(screen->_boardScore - score, 5 * (steps + 11));
    Play(500);
    Answer(2);
    Play(3000);
    EXPECT_EQ(screen->_puzzle, 0);
    EXPECT_EQ(screen->_layout->TileCount(), 4);
    EXPECT_EQ(ShownTiles(), 4);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(screen->_timerValues[0], MjClassic::kTimerSteps);
}

// Saves that fail at the end of a board (a folder in the way of each temporary file: the disk
// refuses them) are told over the next board in play, in a popup that pauses it, once per file
// until one of its saves succeeds.
TEST_F(MjClassicInputTest, FailedSavesAreToldOverTheBoardInPlayOnceUntilASaveSucceeds)
{
    ConfigFile::TakeFileNotices(true);
    EnterBoard(Pairs());
    const std::string progress = screen->_progressFile->GetFileName() + "e";
    const std::string records = screen->_highScoresFile->GetFileName() + "e";
    for (const std::string& file : {progress, records}) {
        ASSERT_EQ(mkdir((file + ".tmp").c_str(), 0755), 0) << file;
    }
    MatchFirstPair();
    Press(TileAt(8, 0));
    Press(TileAt(12, 0));
    for (int n = 0; n < 2000 && OpenPopupId() != MjClassic::kWinDialog; ++n) {
        Play(10);
    }
    ASSERT_EQ(OpenPopupId(), MjClassic::kWinDialog) << "never over another popup";
    Answer(2);
    for (int n = 0; n < 500 && OpenPopupId() != MjClassic::kPausePopupId; ++n) {
        Play(10);
    }
    ASSERT_EQ(OpenPopupId(), MjClassic::kPausePopupId);
    EXPECT_EQ(screen->_inPlay, 1);
    std::string told = script->GetPromptDialog()->GetMessage();
    std::replace(told.begin(), told.end(), '\n', ' ');
    for (const std::string& file : {progress, records}) {
        EXPECT_NE(told.find("Your progress could not be saved: " + file + ": Is a directory."),
                  std::string::npos)
            << told;
    }
    Play(500);
    Answer(1);
    Play(1000);
    EXPECT_EQ(OpenPopupId(), 0);
    EXPECT_EQ(ShownTiles(), 4);

    // Failing again is not told again; after a save that succeeds, the next failure is.
    screen->_progressFile->Write("global", "score", 1);
    EXPECT_FALSE(screen->_progressFile->Flush());
    Play(500);
    EXPECT_EQ(OpenPopupId(), 0);
    ASSERT_EQ(rmdir((progress + ".tmp").c_str()), 0);
    EXPECT_TRUE(screen->_progressFile->Flush());
    ASSERT_EQ(mkdir((progress + ".tmp").c_str(), 0755), 0);
    screen->_progressFile->Write("global", "score", 2);
    EXPECT_FALSE(screen->_progressFile->Flush());
    Play(500);
    EXPECT_EQ(OpenPopupId(), MjClassic::kPausePopupId);
}
