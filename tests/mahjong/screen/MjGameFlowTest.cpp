// A won board and what follows it (congratulation board, records), and the in-game menu with its
// prompts, on the board harness with the game's data set.

#include "framework/core/ConfigFile.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/RulesDialog.h"
#include "framework/stage/Cast.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The script of a variant chosen on the menu; records the board or movie choice it is asked for
// and can answer a prompt by opening another from inside the prompt's own report.
class FlowScript : public MjGameScript
{
public:
    FlowScript(Framework* app, GameTime* clock, int variant)
        : MjGameScript(app, clock), variant(variant)
    {}
    int GetGameVariant() override { return variant; }
    void SetReplayMode(int movie) override { replayModes.push_back(movie); }
    void DialogButtonClicked(int dialogId, int itemId, int third) override
    {
        reports.push_back(dialogId * 100 + itemId);
        if (dialogId == replaceFrom) {
            ShowPrompt(replaceWith);
            return;
        }
        MjGameScript::DialogButtonClicked(dialogId, itemId, third);
    }
    ConfigFileRulesDialog* RulesConfig() const { return _rulesConfig; }

    int variant;
    std::vector<int> replayModes;
    std::vector<int> reports;
    int replaceFrom = -1;
    int replaceWith = 0;
};

class GameFlowTest : public mjtest::BoardHarness
{
protected:
    // A game of the variant started as the shell starts one: the script's own board screen.
    FlowScript* StartGame(int variant)
    {
        auto* s = new FlowScript(app.get(), Manager()->GetGameTime(), variant);
        s->ChangeState(AppScript::kMenuLive, 0);
        Attach(s);
        s->LoadGameConfigs(false);
        s->DoState(MjGameScript::kStartGame);
        // As the game's start does once its stage shows.
        Manager()->SetMasterInput(true);
        Frame();
        return s;
    }
    void PushKey(SDLKey key)
    {
        for (Uint8 type : {Uint8(SDL_KEYDOWN), Uint8(SDL_KEYUP)}) {
            SDL_Event e{};
            e.type = type;
            e.key.type = type;
            e.key.keysym.sym = key;
            e.key.keysym.unicode = static_cast<Uint16>(key);
            ASSERT_EQ(SDL_PushEvent(&e), 0);
        }
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            app->OnEvent(&event);
        }
        Run(20);
    }
    static std::string PopupText(const std::string& section)
    {
        ConfigFile popups("cfg/popup.cfg", false, false, false);
        return static_cast<std::string>(popups.Value(section, "text", "", true));
    }
    // A dialog's message as one line: the dialog wraps it to its width.
    static std::string Message(CastMemberDialogResizable* dialog)
    {
        std::string text = dialog != nullptr ? dialog->GetMessage() : std::string();
        for (char& c : text) {
            c = c == '\n' ? ' ' : c;
        }
        return text;
    }
};

} // namespace

// (quest, a life in play, lives left) x menu item: the prompt opened (dialog id and section),
// or the choice taken at once.
TEST_F(GameFlowTest, PromptsFollowWhatLeavingWouldCost)
{
    struct Case
    {
        bool quest;
        int extraLives;
        int lives;
        int item;
        int dialogId;        // 0: no dialog
        const char* section; // null: no dialog
        int replayMode;      // -1: none asked for
    };
    const Case cases[] = {
        {false, 0, 3, 1, 116, "nzmenuconfirmation", -1},
        {false, 0, 3, 5, 118, "nzchooseboardconfirmation", -1},
        {false, 0, 3, 6, 0, nullptr, 1},
        {false, 0, 3, 8, 117, "nzquitconfirmation", -1},
        {false, 1, 3, 1, 105, "mainmenuprompt", -1},
        {false, 1, 3, 5, 0, nullptr, 0},
        {false, 1, 3, 6, 0, nullptr, 1},
        {false, 1, 3, 8, 106, "quitprompt", -1},
        {true, 1, 0, 1, 105, "mainmenuprompt", -1},
        {true, 1, 0, 5, 0, nullptr, 0},
        {true, 1, 0, 6, 0, nullptr, 1},
        {true, 1, 0, 8, 106, "quitprompt", -1},
        {true, 0, 0, 1, 105, "mainmenudeath", -1},
        {true, 0, 0, 5, 107, "replayboard", -1},
        {true, 0, 0, 6, 108, "movieboard", -1},
        {true, 0, 0, 8, 106, "quitdeath", -1},
        {true, 0, 2, 1, 105, "mainmenuwarning", -1},
        {true, 0, 2, 5, 107, "replayboard", -1},
        {true, 0, 2, 6, 108, "movieboard", -1},
        {true, 0, 2, 8, 106, "quitwarning", -1},
    };
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    ASSERT_NE(board, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "quest " << c.quest << " extra " << c.extraLives
                                          << " lives " << c.lives << " item " << c.item);
        board->_quest = c.quest;
        board->_extraLives = c.extraLives;
        board->_lives = c.lives;
        board->_highestGameReached = 10;
        s->replayModes.clear();
        s->ShowMenuDialog();
        Run(20);
        ASSERT_NE(s->GetMenuDialog(), nullptr);
        CastMemberDialogResizable* before = s->GetPromptDialog();
        s->DialogButtonClicked(MjGameScript::kMenuDialogId, c.item, 1);
        Run(20);
        CastMemberDialogResizable* prompt = s->GetPromptDialog();
        if (c.section == nullptr) {
            EXPECT_TRUE(prompt == nullptr || prompt == before);
            ASSERT_EQ(s->replayModes.size(), 1u);
            EXPECT_EQ(s->replayModes[0], c.replayMode);
            continue;
        }
        EXPECT_TRUE(s->replayModes.empty());
        ASSERT_NE(prompt, nullptr);
        EXPECT_NE(prompt, before);
        EXPECT_EQ(prompt->GetID(), c.dialogId);
        EXPECT_EQ(Message(prompt), PopupText(c.section));
        EXPECT_EQ(prompt->GetCast(), Manager()->GetCast());
    }
}

TEST_F(GameFlowTest, QuestMenuGreysOutReplayAndMovieWithoutABoardReachedOrALife)
{
    struct Case
    {
        bool quest;
        int highest;
        int lives;
        int extraLives;
        bool inactive;
    };
    const Case cases[] = {
        {true, -1, 3, 1, true}, {true, 4, 0, 0, true},    {true, 4, 0, 1, false},
        {true, 4, 2, 0, false}, {false, -1, 0, 0, false},
    };
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    for (const Case& c : cases) {
        board->_quest = c.quest;
        board->_highestGameReached = c.highest;
        board->_lives = c.lives;
        board->_extraLives = c.extraLives;
        s->ShowMenuDialog();
        Run(20);
        CastMemberDialog* menu = s->GetMenuDialog();
        ASSERT_NE(menu, nullptr);
        for (int item : {MjGameScript::kMenuReplay, MjGameScript::kMenuMovie}) {
            DialogItem* entry = menu->GetItemByID(item);
            ASSERT_NE(entry, nullptr) << item;
            EXPECT_EQ(entry->GetInactive(), c.inactive)
                << "quest " << c.quest << " highest " << c.highest << " item " << item;
        }
        EXPECT_FALSE(menu->GetItemByID(MjGameScript::kMenuResume)->GetInactive());
    }
}

TEST_F(GameFlowTest, MenuSitsOnItsBackgroundsPlaceAndEscapeEnterOrAClickOutsideResume)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    struct Way
    {
        const char* name;
        int key; // 0: a click outside
    };
    for (const Way& way :
         {Way{"escape", SDLK_ESCAPE}, Way{"enter", SDLK_RETURN}, Way{"click outside", 0}}) {
        SCOPED_TRACE(way.name);
        board->_inPlay = 1;
        board->ShowBoard(0);
        ASSERT_EQ(board->_buttonsDisabled, 0);
        s->ButtonClicked(MjGameScript::kMenuButtonId, 1);
        Run(1000); // past the stage's guard against a press meant for what was there before
        CastMemberDialog* menu = s->GetMenuDialog();
        ASSERT_NE(menu, nullptr);
        // The section's background places the menu's lower left corner at (8, 545).
        EXPECT_EQ(menu->GetX(), 8);
        EXPECT_EQ(menu->GetY() + menu->GetH(), 545);
        EXPECT_EQ(board->_buttonsDisabled, 1) << "the menu hides the board";
        if (way.key != 0) {
            PushKey(static_cast<SDLKey>(way.key));
        } else {
            PressAt(780, 20);
            Run(20);
        }
        EXPECT_EQ(board->_buttonsDisabled, 0);
        EXPECT_EQ(board->_inPlay, 1);
        ASSERT_FALSE(s->reports.empty());
        EXPECT_EQ(s->reports.back(), MjGameScript::kMenuDialogId * 100 + MjGameScript::kMenuResume);
    }
    // Without a game in play the button opens nothing.
    board->_inPlay = 0;
    CastMemberDialog* last = s->GetMenuDialog();
    s->ButtonClicked(MjGameScript::kMenuButtonId, 1);
    EXPECT_EQ(s->GetMenuDialog(), last);
}

TEST_F(GameFlowTest, EachPromptReadsThePopupFileAsItIsNow)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    board->_extraLives = 1;
    s->ShowPrompt(MjGameScript::kMainMenuPrompt);
    ASSERT_NE(s->GetPromptDialog(), nullptr);
    EXPECT_EQ(Message(s->GetPromptDialog()), PopupText("mainmenuprompt"));
    // Edited as the game reads it: scrambling is on, so through the scrambled copy.
    {
        ConfigFile edit("cfg/popup.cfg", false, false, false);
        edit.Write("mainmenuprompt", "text", std::string("Really leave?"));
        edit.Flush();
    }
    s->ShowPrompt(MjGameScript::kMainMenuPrompt);
    Run(20);
    ASSERT_NE(s->GetPromptDialog(), nullptr);
    EXPECT_EQ(Message(s->GetPromptDialog()), "Really leave?");
}

// A prompt's answer that opens the next prompt replaces the dialog whose release is still being
// handled: the old one must live until the next frame (the sanitizer build checks the memory).
TEST_F(GameFlowTest, PromptReplacedFromItsOwnButtonReport)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    board->_extraLives = 1;
    s->replaceFrom = MjGameScript::kMainMenuPrompt;
    s->replaceWith = MjGameScript::kQuitPrompt;
    s->ShowPrompt(MjGameScript::kMainMenuPrompt);
    Run(1500); // past the opening fade
    CastMemberDialogResizable* first = s->GetPromptDialog();
    ASSERT_NE(first, nullptr);
    DialogItem* no = first->GetItemByID(2);
    ASSERT_NE(no, nullptr);
    PressAt(first->GetX() + no->GetX() + 5, first->GetY() + no->GetY() + 5);
    Run(50);
    ASSERT_FALSE(s->reports.empty());
    EXPECT_EQ(s->reports.back(), MjGameScript::kMainMenuPrompt * 100 + 2);
    ASSERT_NE(s->GetPromptDialog(), nullptr);
    EXPECT_EQ(s->GetPromptDialog()->GetID(), MjGameScript::kQuitPrompt);
    EXPECT_EQ(Message(s->GetPromptDialog()), PopupText("quitprompt"));
    Run(50);
}

TEST_F(GameFlowTest, RulesFollowTheVariant)
{
    struct Case
    {
        int variant;
        const char* file;
    };
    const Case cases[] = {{1, "cfg/drulespuzzle.cfg"},
                          {2, "cfg/drulesclassic.cfg"},
                          {3, "cfg/druleszorvy.cfg"},
                          {0, "cfg/drules.cfg"}};
    FlowScript* s = StartGame(2);
    for (const Case& c : cases) {
        s->variant = c.variant;
        s->ShowRules();
        ASSERT_NE(s->RulesConfig(), nullptr);
        EXPECT_EQ(s->RulesConfig()->GetFileName(), c.file);
        EXPECT_NE(s->GetRulesDialog(), nullptr);
        Run(20);
    }
}

// A won board without a running clock: the congratulation layout of the puzzle, records written
// and "youwinnewboard" open.
TEST_F(GameFlowTest, CongratulationBoardCyclesThroughItsFourLayouts)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    for (int puzzle : {0, 1, 2, 3, 4, 7}) {
        board->SelectPuzzle(puzzle);
        board->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
        board->_timerValues[1] = 0;
        board->_inPlay = 1;
        board->BoardCleared();
        Run(20);
        ASSERT_NE(board->_layout, nullptr);
        // The file's title line and one tile per placement line.
        std::ifstream in("puzzles/congrats" + std::to_string(puzzle % 4 + 1) + ".cfg");
        std::string line;
        std::string title;
        int tiles = 0;
        while (std::getline(in, line)) {
            if (line.rfind("L=", 0) == 0) {
                title = line.substr(2);
            }
            tiles += line.rfind("p=", 0) == 0 ? 1 : 0;
        }
        ASSERT_GT(tiles, 0) << puzzle;
        EXPECT_EQ(board->_layout->Title(), title) << puzzle;
        EXPECT_EQ(board->_tileSpriteCount, tiles) << puzzle;
        EXPECT_EQ(static_cast<int>(board->_layout->OriginIndices().size()), tiles) << puzzle;
        EXPECT_EQ(board->_inPlay, 0);
        ASSERT_NE(s->GetPromptDialog(), nullptr);
        EXPECT_EQ(s->GetPromptDialog()->GetID(), 109);
        EXPECT_EQ(Message(s->GetPromptDialog()), PopupText("youwinnewboard"));
    }
}

// The no-moves check hands a board with nothing ordinary left (or a forced check) to the
// congratulation, as a cleared board does.
TEST_F(GameFlowTest, ForcedNoMovesCheckEndsTheBoardAsCleared)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    board->SelectPuzzle(1);
    board->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    board->_timerValues[1] = 0;
    board->_inPlay = 1;
    board->CheckNoMoves(true);
    Run(20);
    ASSERT_NE(s->GetPromptDialog(), nullptr);
    EXPECT_EQ(s->GetPromptDialog()->GetID(), MjClassic::kWinDialog);
    EXPECT_EQ(board->_inPlay, 0);
}

// With the clock running the bonus count starts instead: the bonus sprite, 5 on the bonus label
// and the clock driven at once; the records wait for the count's end.
TEST_F(GameFlowTest, CongratulationWithARunningClockStartsTheBonusCount)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    board->SelectPuzzle(2);
    board->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    board->_timerValues[1] = 1;
    board->_boardScore = 777;
    board->BoardCleared();
    EXPECT_EQ(board->_timerValues[2], 5);
    EXPECT_EQ(board->_buttonsDisabled, 0);
    EXPECT_EQ(board->_inPlay, 0);
    EXPECT_EQ(board->_timerBonusSprite != nullptr, board->_timerBonusImage != nullptr);
    EXPECT_EQ(board->_matchesLeftText->GetNextState(), MjClassic::kClockStep);
    EXPECT_EQ(board->_titleText->GetNextState(), MjClassic::kBoardWonPoll);
    EXPECT_EQ(s->GetPromptDialog(), nullptr);
    EXPECT_EQ(board->_recordValues[1], 0) << "recorded only when the bonus is paid";
    // A second win on the same screen hands the first bonus sprite back.
    board->BoardCleared();
    Run(20);
}

// Types 18 up to count + 17 stay (jittering), every other tile leaves the grid.
TEST_F(GameFlowTest, KeepTypesKeepsOnlyTheFirstTypesFromEighteen)
{
    MakeScreen();
    mjtest::FixtureBoard fixture;
    // Faces below the grouped ones are their own types.
    fixture.spots = {{0, 0, 1, 18}, {4, 0, 1, 19}, {8, 0, 1, 20}, {12, 0, 1, 5}};
    StartBoard(fixture);
    std::vector<int> typesBefore;
    for (int col : {0, 4, 8, 12}) {
        ASSERT_NE(TileAt(col, 0), nullptr);
        typesBefore.push_back(TileAt(col, 0)->GetType());
    }
    ASSERT_EQ(typesBefore, (std::vector<int>{18, 19, 20, 5}));
    screen->KeepTypes(2);
    for (int n = 0; n < 4; ++n) {
        const int type = typesBefore[n];
        const bool kept = type >= 18 && type <= 19;
        MjTile* tile = TileAt(n * 4, 0);
        EXPECT_EQ(tile != nullptr, kept) << "type " << type;
        if (tile != nullptr) {
            EXPECT_EQ(tile->GetState(), MjTile::kJitter);
        }
    }
}

namespace {

// The board screen's record files as the game leaves them, read back with scrambling on.
class RecordTest : public mjtest::BoardHarness
{
protected:
    void Player(const std::string& name)
    {
        app->_playerName = name;
        app->_playerFileName = name + ".plr";
    }
    static int Read(const std::string& file, const std::string& section, const std::string& key,
                    int fallback = -99)
    {
        ConfigFile records(file, false, false, false);
        return ConfigFile::AsInt(records.Value(section, key, static_cast<double>(fallback), true));
    }
    static std::string ReadText(const std::string& file, const std::string& section,
                                const std::string& key)
    {
        ConfigFile records(file, false, false, false);
        return static_cast<std::string>(records.Value(section, key, "", true));
    }
    // A finished board: the puzzle made current, its score set and recorded.
    void Finish(int puzzle, int score)
    {
        screen->SelectPuzzle(puzzle);
        screen->_boardScore = score;
        screen->RecordBoard();
    }
};

} // namespace

TEST_F(RecordTest, AFinishedBoardWritesProgressAndHighScoreScrambled)
{
    Player("Ada");
    MakeScreen();
    screen->_puzzleCount = 10;
    screen->_progressFile->Write("seed", "t0p3", 5151);
    Finish(3, 1234);
    screen->SelectPuzzle(4); // as the next board does
    EXPECT_TRUE(std::filesystem::exists("HighScores.cfge"));
    EXPECT_TRUE(std::filesystem::exists("Ada.plr0e"));
    EXPECT_FALSE(std::filesystem::exists("HighScores.cfg"));
    EXPECT_EQ(Read("Ada.plr0", "global", "game"), 4);
    EXPECT_EQ(Read("Ada.plr0", "prevBestScore", "t0p3"), 1234);
    EXPECT_EQ(Read("Ada.plr0", "seed", "t0p3"), 0);
    EXPECT_EQ(Read("HighScores.cfg", "prevHighScore", "t0p3"), 1234);
    EXPECT_EQ(ReadText("HighScores.cfg", "achieved", "t0p3"), "Ada");

    // A second player: a progress file of its own; the high score only when better or equal.
    screen->ReleaseSprites();
    screen.reset();
    Player("Bob");
    MakeScreen();
    screen->_puzzleCount = 10;
    Finish(3, 1000);
    EXPECT_EQ(Read("Bob.plr0", "prevBestScore", "t0p3"), 1000);
    EXPECT_EQ(Read("Ada.plr0", "prevBestScore", "t0p3"), 1234);
    EXPECT_EQ(Read("HighScores.cfg", "prevHighScore", "t0p3"), 1234);
    EXPECT_EQ(ReadText("HighScores.cfg", "achieved", "t0p3"), "Ada");
    Finish(3, 1234);
    EXPECT_EQ(Read("HighScores.cfg", "prevHighScore", "t0p3"), 1234);
    EXPECT_EQ(ReadText("HighScores.cfg", "achieved", "t0p3"), "Bob");
}

TEST_F(RecordTest, ANewPlayerKeepsNoEmptyPlainProgressFileAndAnUnreadableOneIsLeftAsItIs)
{
    Player("Ada");
    MakeScreen();
    EXPECT_FALSE(std::filesystem::exists("Ada.plr0"));
    EXPECT_TRUE(std::filesystem::exists("Ada.plr0e"));
    EXPECT_EQ(testsupport::CountLogLines("FILE NOT FOUND! - Ada.plr0"), 0);
    screen->ReleaseSprites();
    screen.reset();

    // A folder where the progress file should be: read as nothing, never replaced or hidden.
    ASSERT_TRUE(std::filesystem::create_directory("Bob.plr0"));
    Player("Bob");
    MakeScreen();
    screen->_puzzleCount = 10;
    Finish(3, 1000);
    EXPECT_TRUE(std::filesystem::is_directory("Bob.plr0"));
    EXPECT_FALSE(std::filesystem::exists("Bob.plr0e"));
    EXPECT_EQ(testsupport::CountLogLines("-1 FILE NOT READ! IT IS LEFT AS IT IS - Bob.plr0"), 1);
}

TEST_F(RecordTest, NewRecordComparisonByType)
{
    struct Case
    {
        const char* look;
        int stored;
        int result;
        int kept;
    };
    const Case cases[] = {
        {kTimedLook, 120, 95, 95}, {kTimedLook, 95, 120, 95},     {kTimedLook, 0, 300, 300},
        {kTimedLook, 95, 95, 95},  {kClassicLook, 500, 400, 500}, {kClassicLook, 400, 500, 500},
        {kClassicLook, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.look << " " << c.stored << " -> " << c.result);
        std::filesystem::remove("HighScores.cfge");
        std::filesystem::remove("Ada.plr1e");
        std::filesystem::remove("Ada.plr0e");
        Player("Ada");
        MakeScreen(c.look);
        const int type = config->_type;
        const std::string key = "t" + std::to_string(type) + "p1";
        const std::string progress = "Ada.plr" + std::to_string(type);
        screen->_puzzleCount = 10;
        screen->_highScoresFile->Write("prevHighScore", key, c.stored);
        screen->_progressFile->Write("prevBestScore", key, c.stored);
        screen->_highScoresFile->Flush();
        screen->_progressFile->Flush();
        Finish(1, c.result);
        EXPECT_EQ(Read("HighScores.cfg", "prevHighScore", key), c.kept);
        EXPECT_EQ(Read(progress, "prevBestScore", key), c.kept);
        screen->ReleaseSprites();
        screen.reset();
    }
}

// A threshold of 0 or less cannot divide the total: it is logged and 20000 used instead.
TEST_F(RecordTest, QuestTotalEarnsOneBonusLifePerThresholdPassed)
{
    constexpr int kOwn = INT_MIN; // the look's own threshold
    struct Case
    {
        int total;
        int score;
        int threshold;
        int earned;
    };
    const Case cases[] = {
        {39990, 130, kOwn, 1}, {40120, 380, kOwn, 0}, {19990, 40010, kOwn, 1},
        {500, 600, -5, 0},     {19900, 200, -5, 1},   {500, 600, 0, 0},
        {19900, 200, 0, 1},    {100, 100, 100, 1},    {100, 50, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.total << " + " << c.score << " threshold " << c.threshold);
        Player("Ada");
        MakeScreen(kQuestLook, [&c](MjClassicConfig& look) {
            if (c.threshold != kOwn) {
                look.Write("threshold", "points", c.threshold);
            }
        });
        const std::string unusable =
            "-1 Threshold points " + std::to_string(c.threshold) + " unusable; 20000 used";
        const int loggedAny = testsupport::CountLogLines("Threshold points");
        const int logged = testsupport::CountLogLines(unusable);
        screen->_puzzleCount = 10;
        screen->_score = c.total;
        screen->_bonusLifeEarned = 0;
        screen->_losses = 1;
        screen->_highestGameReached = 1;
        Finish(2, c.score);
        EXPECT_EQ(screen->_bonusLifeEarned, c.earned);
        EXPECT_EQ(screen->_score, c.total + c.score);
        EXPECT_EQ(screen->_losses, 0);
        EXPECT_EQ(Read("Ada.plr2", "global", "score"), c.total + c.score);
        EXPECT_EQ(Read("Ada.plr2", "global", "losses"), 0);
        EXPECT_EQ(Read("Ada.plr2", "global", "highestGameReached"), 2);
        const bool usable = c.threshold == kOwn || c.threshold > 0;
        EXPECT_EQ(testsupport::CountLogLines("Threshold points") - loggedAny, usable ? 0 : 1);
        EXPECT_EQ(testsupport::CountLogLines(unusable) - logged, usable ? 0 : 1);
        screen->ReleaseSprites();
        screen.reset();
    }
}

// A board picked on the chooser: only the per-board keys change.
TEST_F(RecordTest, ABoardPickedOnTheChooserChangesOnlyItsOwnKeys)
{
    Player("Ada");
    MakeScreen(kQuestLook);
    screen->_puzzleCount = 10;
    screen->SelectPuzzle(5);
    screen->_score = 900;
    screen->_losses = 1;
    screen->_highestGameReached = 5;
    screen->_progressFile->Write("global", "score", 900);
    screen->_progressFile->Write("global", "losses", 1);
    screen->_progressFile->Write("global", "lives", 4);
    screen->_progressFile->Write("global", "highestGameReached", 5);
    screen->_progressFile->Flush();
    MjClassic::Shared().savedBoard = 5;
    Finish(2, 3000);
    MjClassic::Shared().savedBoard = -1;
    EXPECT_EQ(Read("Ada.plr2", "global", "game"), 5);
    EXPECT_EQ(Read("Ada.plr2", "global", "score"), 900);
    EXPECT_EQ(Read("Ada.plr2", "global", "losses"), 1);
    EXPECT_EQ(Read("Ada.plr2", "global", "lives"), 4);
    EXPECT_EQ(Read("Ada.plr2", "global", "highestGameReached"), 5);
    EXPECT_EQ(screen->_score, 900);
    EXPECT_EQ(Read("Ada.plr2", "prevBestScore", "t2p2"), 3000);
    EXPECT_EQ(Read("HighScores.cfg", "prevHighScore", "t2p2"), 3000);
    EXPECT_EQ(ReadText("HighScores.cfg", "achieved", "t2p2"), "Ada");
}

TEST_F(GameFlowTest, MenuWithoutABackgroundIsCentred)
{
    std::string text;
    {
        std::ifstream in("cfg/menudialog.cfg");
        std::stringstream all;
        all << in.rdbuf();
        text = all.str();
    }
    const std::string list = "[puzzlemenu]\n1=background\n";
    ASSERT_NE(text.find(list), std::string::npos);
    text.replace(text.find(list), list.size(), "[puzzlemenu]\n");
    ASSERT_TRUE(testsupport::WriteFile("cfg/menudialog.cfg", text));
    FlowScript* s = StartGame(2);
    s->GetScreen()->_quest = false;
    s->ShowMenuDialog();
    Run(20);
    CastMemberDialog* menu = s->GetMenuDialog();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetBackgroundControl(), nullptr);
    EXPECT_NEAR(menu->GetX(), (AnimationManager::kScreenWidth - menu->GetW()) / 2, 1);
    EXPECT_NEAR(menu->GetY(), (AnimationManager::kScreenHeight - menu->GetH()) / 2, 1);
}

// Outside the quest the next board is the following puzzle, current and dealt at once.
TEST_F(GameFlowTest, NextBoardDealsTheFollowingPuzzle)
{
    FlowScript* s = StartGame(2);
    MjClassic* board = s->GetScreen();
    ASSERT_GT(board->_puzzleCount, 4);
    // The game opens on the board chooser; leaving it as its play button does starts the
    // chosen board.
    ASSERT_EQ(board->_previewDeal, 1);
    board->_firstBoard = false;
    board->LeaveSelectionScreen(false);
    EXPECT_EQ(MjClassic::Shared().savedBoard, -1);
    board->SelectPuzzle(3);
    board->SetupBoard(0, 0, MjClassic::kStartQuiet, "");
    board->_previewDeal = 1;
    board->NextBoard();
    EXPECT_EQ(board->_puzzle, 4);
    EXPECT_EQ(board->_puzzleNumber, 5);
    EXPECT_EQ(board->_previewDeal, 0);
    ASSERT_NE(board->_layout, nullptr);
    EXPECT_GT(board->_tileSpriteCount, 0);
    ConfigFile progress(app->GetPlayerFileName() + "0", false, false, false);
    EXPECT_EQ(ConfigFile::AsInt(progress.Value("global", "game", -1.0, true)), 4);
    // The last puzzle wraps round to the first.
    board->SelectPuzzle(board->_puzzleCount);
    board->NextBoard();
    EXPECT_EQ(board->_puzzle, 0);
}

// The popups' buttons stand apart inside the frame, below the message, so a press on one never
// lands on another (No once covered Yes at the frame's corner).
TEST_F(GameFlowTest, PopupButtonsStandApartInsideTheFrame)
{
    FlowScript* s = StartGame(2);
    struct Case
    {
        const char* section;
        std::vector<int> items;
    };
    const Case cases[] = {
        {"youwinnewboard", {1, 2}}, {"restartconfirmation", {1, 2}}, {"paused", {1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        s->ShowPopup(c.section, MjClassic::kWinDialog, 0, -1, -1);
        Run(20);
        CastMemberDialogResizable* popup = s->GetPromptDialog();
        ASSERT_NE(popup, nullptr);
        std::vector<Rectangle> rects;
        for (int id : c.items) {
            DialogItem* item = popup->GetItemByID(id);
            ASSERT_NE(item, nullptr) << id;
            ASSERT_GT(item->GetFrameWidth(), 0);
            EXPECT_GE(item->GetX(), 0);
            EXPECT_LE(item->GetX() + item->GetFrameWidth(), popup->GetW());
            EXPECT_LE(item->GetY() + item->GetFrameHeight(), popup->GetH());
            // Below the message's lines.
            EXPECT_GT(item->GetY(), popup->GetH() / 2);
            rects.emplace_back(static_cast<short>(item->GetX()), static_cast<short>(item->GetY()),
                               static_cast<short>(item->GetFrameWidth()),
                               static_cast<short>(item->GetFrameHeight()));
        }
        if (rects.size() == 2) {
            EXPECT_TRUE(rects[0].GetX() + rects[0].GetW() <= rects[1].GetX() ||
                        rects[1].GetX() + rects[1].GetW() <= rects[0].GetX())
                << "Yes at " << rects[0].GetX() << ", No at " << rects[1].GetX();
        }
    }
}
