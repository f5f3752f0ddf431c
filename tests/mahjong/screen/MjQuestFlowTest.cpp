// The quest's board flow on the board screen: the case opening and its life, the bonus tiles of
// the first board, the Yin-Yang finish with its sweep and case animation, time-up with its
// popups, lives and losses, the bonus life, and the scene hand-over at the start of play.

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/LoadingThread.h"
#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjPointsPopup.h"
#include "tests/mahjong/support/FlowHarness.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace mjtest {
namespace {

constexpr int kGoldYinYang = 43;
constexpr int kYes = 1;
constexpr int kNo = 2;
constexpr unsigned int kOpeningMs = 4000;

class MjQuestFlowTest : public FlowHarness
{
protected:
    void SetUp() override
    {
        FlowHarness::SetUp();
        // A new player, whatever ran before in this folder.
        std::filesystem::remove("ann.plr2e");
        std::filesystem::remove("ann.plr2");
        app->_playerName = "Ann";
        app->_playerFileName = "ann.plr";
    }

    void MakeQuest(const std::function<void(MjClassicConfig&)>& edit = {})
    {
        MakeScreen(kQuestLook, edit);
        script->board = screen.get();
    }

    // The quest's first board: its Yin-Yang pair, one ordinary pair and three bonus tiles,
    // every tile free.
    static FixtureBoard BoardZero(bool bonusTiles = true)
    {
        FixtureBoard board;
        board.spots = {
            {0, 0, 1, kGoldYinYang}, {6, 0, 1, kGoldYinYang}, {0, 4, 1, 5}, {6, 4, 1, 5}};
        if (bonusTiles) {
            board.spots.push_back({0, 8, 1, 27});
            board.spots.push_back({6, 8, 1, 28});
            board.spots.push_back({12, 8, 1, 29});
        }
        board.time = 2000;
        return board;
    }

    // A later board: its Yin-Yang pair and tiles for the sweep of each kind of points: an
    // ordinary pair (50 each), a special tile (250) and a bonus pair (1000 each).
    static FixtureBoard BoardOne()
    {
        FixtureBoard board;
        board.spots = {
            {0, 0, 1, kGoldYinYang}, {6, 0, 1, kGoldYinYang}, {0, 4, 1, 5},  {6, 4, 1, 5},
            {0, 8, 1, 53},           {0, 12, 1, 27},          {6, 12, 1, 27}};
        board.time = 2000;
        return board;
    }

    // Sets up board `puzzle` of the fixture set with its opening, as the quest does after the
    // map; frames run for ms.
    void Open(int puzzle, const FixtureBoard& board, unsigned int ms = kOpeningMs)
    {
        const std::string layout = "puzzles/quest" + std::to_string(++_layouts) + ".cfg";
        ASSERT_TRUE(testsupport::WriteFile(layout, LayoutText(board.spots, "Quest Fixture")));
        ConfigFile* set = screen->_puzzlesFile.get();
        const std::string section = "puzzle" + std::to_string(puzzle);
        set->Write(section, "layout", layout);
        set->Write(section, "matches", board.matches);
        set->Write(section, "time", board.time);
        set->Write(section, "seed", board.seed);
        set->Write(section, "tileset", 0);
        set->Write(section, "difficulty", 0);
        set->Write(section, "triple", 0);
        screen->_puzzle = puzzle;
        screen->_puzzleNumber = puzzle + 1;
        screen->SetupBoard(0, board.seed, MjClassic::kStartOpening, "");
        Play(ms);
    }

    static int Progress(const std::string& key, int fallback = -99)
    {
        ConfigFile records("ann.plr2", false, false, false);
        return ConfigFile::AsInt(records.Value("global", key, static_cast<double>(fallback), true));
    }

    MjTile* TileOfType(int type)
    {
        for (const TileState& t : Snapshot().tiles) {
            if (t.active && t.type == type && t.tile->IsVisible()) {
                return t.tile;
            }
        }
        return nullptr;
    }

    void MatchYinYang()
    {
        MjTile* first = TileAt(0, 0);
        MjTile* second = TileAt(6, 0);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        Press(first);
        Press(second);
    }

    // The clock's period becomes 1 ms through the cheat commands, and the first press starts
    // it; frames run until a time-up popup opens.
    int ForceTimeUp()
    {
        screen->KeyPressed(1);
        Type("c-1\r");
        if (screen->_firstPressDone == 0) {
            Press(TileAt(0, 4));
            screen->ClearSelection(true);
        }
        for (int t = 0; t < 10000 && OpenPopupId() == 0; t += 10) {
            Play(10);
        }
        return OpenPopupId();
    }

    bool Played(const std::vector<std::string>& cues, const std::string& cue)
    {
        return std::find(cues.begin(), cues.end(), cue) != cues.end();
    }

    int _layouts = 0;
};

} // namespace

// The case's lid is drawn through its colour key like the case: its corners show what lies
// behind (they showed magenta), its middle shows the lid.
TEST_F(MjQuestFlowTest, CaseLidCornersAreSeeThrough)
{
    MakeQuest();
    Open(1, BoardOne());
    CastMember* lid = screen->_caseOnTopSprite;
    ASSERT_NE(lid, nullptr);
    lid->Show();
    Play(100);
    SDL_Surface* shown = SDL_GetVideoSurface();
    ASSERT_NE(shown, nullptr);
    const auto rgb = [shown](int x, int y) {
        Uint8 r = 0, g = 0, b = 0;
        SDL_LockSurface(shown);
        const auto* row = static_cast<const Uint8*>(shown->pixels) + y * shown->pitch;
        Uint32 pixel = 0;
        std::memcpy(&pixel, row + x * shown->format->BytesPerPixel, shown->format->BytesPerPixel);
        SDL_UnlockSurface(shown);
        SDL_GetRGB(pixel, shown->format, &r, &g, &b);
        return std::vector<int>{r, g, b};
    };
    const std::vector<int> magenta{255, 0, 255};
    const int x = lid->GetX(), y = lid->GetY();
    const std::vector<int> middle = rgb(x + lid->GetW() / 2, y + lid->GetH() / 2);
    EXPECT_NE(middle, magenta);
    EXPECT_GT(middle[0], middle[2]) << "the lid's brown is drawn";
    for (const auto& corner : {std::make_pair(x, y), std::make_pair(x + lid->GetW() - 1, y)}) {
        EXPECT_NE(rgb(corner.first, corner.second), magenta)
            << "corner " << corner.first << "," << corner.second;
    }
}

// A new player's first board: the case opens (frames 1, 2), the tiles come out of it under its
// lid, the case shuts (1, 0) and the board's life is taken: 5 to 4, written at once.
TEST_F(MjQuestFlowTest, FirstOpeningRunsTheCaseSequenceAndTakesALife)
{
    MakeQuest();
    ASSERT_NE(screen->_caseSprite, nullptr);
    EXPECT_EQ(screen->_lives, 5);
    EXPECT_TRUE(screen->_firstBoard);
    Open(0, BoardZero(), 0);

    std::vector<int> frames{screen->_caseSprite->GetFrame()};
    bool lidShown = false;
    bool livesHidden = false;
    for (unsigned int t = 0; t < kOpeningMs; t += 10) {
        Play(10);
        const int frame = screen->_caseSprite->GetFrame();
        if (frame != frames.back()) {
            frames.push_back(frame);
        }
        lidShown = lidShown || screen->_caseOnTopSprite->IsVisible();
        livesHidden = livesHidden || !screen->_livesText->IsVisible();
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 1, 0}));
    EXPECT_TRUE(lidShown);
    EXPECT_FALSE(screen->_caseOnTopSprite->IsVisible());
    EXPECT_TRUE(livesHidden) << "the lives did not blink";
    EXPECT_TRUE(screen->_livesText->IsVisible());
    EXPECT_EQ(screen->_lives, 4);
    EXPECT_EQ(screen->_livesText->GetText(), "4");
    EXPECT_EQ(Progress("lives"), 4);
    EXPECT_FALSE(screen->_firstBoard);
    EXPECT_EQ(screen->_extraLives, 1);
    EXPECT_EQ(screen->_inPlay, 1);
    // Every tile came out of the case.
    EXPECT_EQ(ShownTiles(), 7);

    // The next opening of a board already paid for takes no life and the lives do not blink.
    Open(1, BoardOne(), 0);
    livesHidden = false;
    for (unsigned int t = 0; t < kOpeningMs; t += 10) {
        Play(10);
        livesHidden = livesHidden || !screen->_livesText->IsVisible();
    }
    EXPECT_FALSE(livesHidden);
    EXPECT_EQ(screen->_lives, 4);
}

// Board 0: matching the Yin-Yang pair sends the bonus tiles into the case (the others vanish),
// records the board, and the board ends when the last bonus tile has arrived.
TEST_F(MjQuestFlowTest, YinYangOnTheFirstBoardCollectsTheBonusTilesAndRecords)
{
    MakeQuest();
    Open(0, BoardZero());
    ASSERT_EQ(screen->_inPlay, 1);
    Press(TileAt(0, 4));
    Press(TileAt(6, 4));
    Play(1500);
    const int score = screen->_boardScore;
    ASSERT_GT(score, 0);
    MatchYinYang();

    EXPECT_EQ(Progress("highestGameReached"), 0);
    EXPECT_EQ(Progress("score"), score);
    EXPECT_EQ(Progress("lives"), 4);
    EXPECT_EQ(Progress("losses"), 0);
    EXPECT_EQ(screen->_bonusTilesFlying, 3);
    std::vector<MjTile*> bonus;
    for (const TileState& t : Snapshot().tiles) {
        if (t.type >= 27 && t.type <= 29) {
            bonus.push_back(t.tile);
            EXPECT_TRUE(t.visible);
        } else if (t.active) {
            EXPECT_FALSE(t.visible) << "type " << t.type;
        }
    }
    ASSERT_EQ(bonus.size(), 3u);
    Play(1400);
    EXPECT_TRUE(screen->_titleText->IsVisible()) << "ended before the tiles arrived";
    Play(300);
    // Each tile ends as a speck on the case's mouth, the middle of its frame, wholly inside the
    // case in the bottom bar.
    CastMemberImage* chest = screen->_caseSprite;
    const int mouthX = chest->GetX() + chest->GetW() / 2;
    const int mouthY = chest->GetY() + chest->GetH() / 2;
    for (MjTile* tile : bonus) {
        EXPECT_FALSE(tile->IsVisible());
        EXPECT_NEAR(tile->GetScale(), 0.1f, 0.01f);
        const int left = tile->GetScaledX();
        const int top = tile->GetScaledY();
        const int right = left + tile->GetScaledWidth();
        const int bottom = top + tile->GetScaledHeight();
        EXPECT_GE(left, chest->GetX());
        EXPECT_GE(top, chest->GetY());
        EXPECT_LE(right, chest->GetX() + chest->GetW());
        EXPECT_LE(bottom, chest->GetY() + chest->GetH());
        EXPECT_NEAR((left + right) / 2, mouthX, 2);
        EXPECT_NEAR((top + bottom) / 2, mouthY, 2);
    }
    // The board has ended: its heads-up display and case are put away for the scene.
    EXPECT_EQ(screen->_bonusTilesFlying, 0);
    EXPECT_FALSE(screen->_titleText->IsVisible());
    EXPECT_FALSE(screen->_caseSprite->IsVisible());
}

// The cheat's end of a board (button 102, value 3): board 0 goes through the bonus tiles, and
// without any left it ends at once instead of waiting for a tile that never comes; a later board
// is recorded and ended with its grid emptied.
TEST_F(MjQuestFlowTest, CheatEndsTheBoardAtOnce)
{
    struct Case
    {
        int puzzle;
        bool bonusTiles;
        unsigned int endsAfterMs;
    };
    const Case cases[] = {{0, true, 1500}, {0, false, 0}, {1, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "board " << c.puzzle << " bonus " << c.bonusTiles);
        MakeQuest();
        Open(c.puzzle, c.puzzle == 0 ? BoardZero(c.bonusTiles) : BoardOne());
        ASSERT_EQ(screen->_inPlay, 1);
        screen->_cheatMode = 1;
        screen->ButtonClicked(MjClassic::kReplayId, 3);
        EXPECT_EQ(Progress("highestGameReached"), c.puzzle);
        EXPECT_EQ(screen->_inPlay, 0);
        if (c.endsAfterMs > 0) {
            Play(c.endsAfterMs - 100);
            EXPECT_TRUE(screen->_titleText->IsVisible());
            Play(200);
        }
        EXPECT_FALSE(screen->_titleText->IsVisible());
        if (c.puzzle != 0) {
            EXPECT_EQ(screen->_layout->TileCount(), 0);
        }
        DropScreen();
        std::filesystem::remove("ann.plr2e");
    }
}

// A later board cleared by its Yin-Yang pair: the pair rises, the sweep gathers the rest beside
// it with a points popup per tile by kind, then the pair drops into the case over 20 steps; the
// board is recorded at step 12 and ends at step 20.
TEST_F(MjQuestFlowTest, YinYangOnALaterBoardSweepsTheTrayAndDropsIntoTheCase)
{
    MakeQuest();
    Open(1, BoardOne());
    ASSERT_EQ(screen->_inPlay, 1);
    TakeCues();
    TakePopups();
    MatchYinYang();
    EXPECT_TRUE(Played(TakeCues(), "CFG_CLEAREDBOARD 0"));
    MjTile* first = screen->_selected[0];
    MjTile* second = screen->_selected[1];
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetType(), MjTile::kYinYang);
    EXPECT_EQ(second->GetType(), MjTile::kYinYang);
    Play(600);
    EXPECT_EQ(first->GetX(), 350);
    EXPECT_EQ(first->GetY(), 400);
    EXPECT_EQ(second->GetX(), 410);

    const int before = screen->_boardScore;
    int recordedAtStep = -1;
    bool endedAtTwenty = false;
    std::vector<int> caseFrames{screen->_caseSprite->GetFrame()};
    for (int t = 0; t < 15000 && screen->_titleText->IsVisible(); t += 10) {
        Play(10);
        if (recordedAtStep < 0 && Progress("highestGameReached") == 1) {
            // The step counter has moved past the step that recorded.
            recordedAtStep = screen->_endAnimationStep - 1;
        }
        if (!screen->_titleText->IsVisible()) {
            endedAtTwenty = screen->_endAnimationStep == 20;
        }
        const int frame = screen->_caseSprite->GetFrame();
        if (frame != caseFrames.back()) {
            caseFrames.push_back(frame);
        }
    }
    std::vector<std::string> texts;
    for (const PopupRecord& popup : TakePopups()) {
        texts.push_back(popup.text);
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"1000", "1000", "250", "50", "50"}));
    EXPECT_EQ(screen->_boardScore, before + 2350);
    EXPECT_EQ(recordedAtStep, 12);
    EXPECT_TRUE(endedAtTwenty);
    EXPECT_EQ(caseFrames, (std::vector<int>{0, 1, 2, 1, 0}));
    EXPECT_EQ(Progress("score"), screen->_boardScore);
    // The swept tiles are gone and the pair lies in the case.
    for (const TileState& t : Snapshot().tiles) {
        if (t.type != MjTile::kYinYang) {
            EXPECT_FALSE(t.visible) << "type " << t.type;
        }
    }
    EXPECT_EQ(first->GetY(), 600);
    EXPECT_EQ(first->GetX(), screen->_caseOnTopX + 8);
    EXPECT_EQ(second->GetX(), screen->_caseOnTopX + 31);
}

// The sweep gives each Yin-Yang tile a points popup at the same moment, and popups drift toward
// one corner, closing up as they rise: started side by side, "1000" and "1000" ran together into
// "10001000". No two popups on the stage may cover each other at any frame of the sweep.
TEST_F(MjQuestFlowTest, SweepPopupsStartedTogetherNeverCoverEachOther)
{
    MakeQuest();
    Open(1, BoardOne());
    ASSERT_EQ(screen->_inPlay, 1);
    MatchYinYang();
    struct Box
    {
        const void* popup;
        std::string text;
        int x, y, w, h, born;
    };
    std::map<const void*, int> born; // the frame each popup on the stage was first seen
    int startedTogether = 0;
    int frame = 0;
    for (int t = 0; t < 15000 && screen->_titleText->IsVisible(); t += 10, ++frame) {
        Play(10);
        std::vector<Box> boxes;
        std::map<const void*, int> present;
        for (CastMember* member : Manager()->GetCast()->GetCastMembers()) {
            auto* popup = dynamic_cast<MjPointsPopup*>(member);
            if (popup == nullptr || !popup->IsVisible()) {
                continue;
            }
            const auto was = born.find(popup);
            present[popup] = was == born.end() ? frame : was->second;
            boxes.push_back({popup, popup->GetText(), popup->GetX(), popup->GetY(), popup->GetW(),
                             popup->GetH(), present[popup]});
        }
        born.swap(present);
        for (std::size_t a = 0; a < boxes.size(); ++a) {
            for (std::size_t b = a + 1; b < boxes.size(); ++b) {
                const Box& p = boxes[a];
                const Box& q = boxes[b];
                ASSERT_GT(p.w, 0);
                ASSERT_GT(p.h, 0);
                startedTogether += p.born == q.born && p.born == frame ? 1 : 0;
                const bool apart =
                    p.x + p.w <= q.x || q.x + q.w <= p.x || p.y + p.h <= q.y || q.y + q.h <= p.y;
                EXPECT_TRUE(apart)
                    << "at " << t << " ms \"" << p.text << "\" (" << p.x << "," << p.y << " " << p.w
                    << "x" << p.h << ") covers \"" << q.text << "\" (" << q.x << "," << q.y << " "
                    << q.w << "x" << q.h << ")";
                if (!apart) {
                    return;
                }
            }
        }
    }
    // The board's pairs (two of 50, two of 1000) each start their popups together.
    EXPECT_GE(startedTogether, 2);
    EXPECT_FALSE(screen->_titleText->IsVisible());
}

// A cleared quest board with no Yin-Yang tile left ends as recorded at once instead of sweeping
// into empty selection slots; one with more than four takes four.
TEST_F(MjQuestFlowTest, FinishWithoutOrWithManyYinYangTiles)
{
    MakeQuest();
    FixtureBoard none;
    none.spots = {{0, 0, 1, 5}, {6, 0, 1, 5}};
    Open(1, none);
    ASSERT_EQ(screen->_inPlay, 1);
    screen->BoardCleared();
    EXPECT_EQ(Progress("highestGameReached"), 1);
    EXPECT_FALSE(screen->_titleText->IsVisible());
    Play(2000);

    DropScreen();
    MakeQuest();
    FixtureBoard many;
    for (int n = 0; n < 6; ++n) {
        many.spots.push_back({6 * (n % 3), 4 * (n / 3), 1, kGoldYinYang});
    }
    Open(1, many);
    ASSERT_EQ(screen->_inPlay, 1);
    screen->BoardCleared();
    EXPECT_EQ(screen->_selectedCount, 4);
    for (MjTile* tile : screen->_selected) {
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->GetType(), MjTile::kYinYang);
    }
    Play(15000);
    EXPECT_EQ(Progress("highestGameReached"), 1);
    EXPECT_FALSE(screen->_titleText->IsVisible());
}

// Time-up on a later board: "timesup", and the replay's opening takes a life; the second loss
// in a row brings "offerlife" with the losses back to 0; declining opens "timesup".
TEST_F(MjQuestFlowTest, TimeUpTakesALifeAndTheSecondLossOffersOne)
{
    MakeQuest();
    Open(1, BoardOne());
    ASSERT_EQ(screen->_lives, 4);
    TakeCues();
    ASSERT_EQ(ForceTimeUp(), MjClassic::kTimesUpDialog);
    EXPECT_TRUE(Played(TakeCues(), "CFG_TIMESUP 0"));
    EXPECT_EQ(Progress("losses"), 1);
    EXPECT_TRUE(screen->_firstBoard);
    EXPECT_EQ(screen->_extraLives, 0);
    EXPECT_FALSE(screen->_timerSprites[1]->IsVisible());
    EXPECT_FALSE(screen->_timerSprites[2]->IsVisible());
    const int steps = screen->_timerValues[0];
    Play(500);
    EXPECT_EQ(screen->_timerValues[0], steps) << "the clock did not stop";

    // No: the same deal again, through its opening, which takes the next life.
    const int seed = screen->_seed;
    Play(500);
    Answer(kNo);
    Play(kOpeningMs);
    EXPECT_EQ(screen->_seed, seed);
    EXPECT_EQ(screen->_lives, 3);
    EXPECT_EQ(Progress("lives"), 3);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(ShownTiles(), 7);

    ASSERT_EQ(ForceTimeUp(), MjClassic::kOfferLifeDialog);
    EXPECT_EQ(screen->_losses, 0);
    EXPECT_EQ(Progress("losses"), 0);
    Play(500);
    Answer(kNo);
    Play(100);
    EXPECT_EQ(OpenPopupId(), MjClassic::kTimesUpDialog);
    // Yes: a new deal; its opening takes a life too.
    Play(500);
    Answer(kYes);
    Play(kOpeningMs);
    EXPECT_EQ(screen->_rules.fixedSeed, 0);
    EXPECT_EQ(screen->_lives, 2);
    EXPECT_EQ(screen->_inPlay, 1);
}

// Accepting the offered life skips the board (it ends with an empty grid) and still costs a
// life at the next opening.
TEST_F(MjQuestFlowTest, AcceptingTheOfferSkipsTheBoardAndStillCostsALife)
{
    MakeQuest();
    Open(1, BoardOne());
    screen->_losses = 1;
    ASSERT_EQ(ForceTimeUp(), MjClassic::kOfferLifeDialog);
    Play(500);
    Answer(kYes);
    Play(100);
    EXPECT_EQ(screen->_layout->TileCount(), 0);
    EXPECT_EQ(screen->_inPlay, 0);
    EXPECT_TRUE(screen->_firstBoard);
    EXPECT_FALSE(screen->_titleText->IsVisible()) << "the board did not end";
    EXPECT_EQ(Progress("highestGameReached", -1), -1) << "a skipped board is not recorded";
    const int lives = screen->_lives;
    Open(1, BoardOne());
    EXPECT_EQ(screen->_lives, lives - 1);
}

// With no life left the game is lost: "zorvylose" whatever the losses, losses 0, and the
// teardown writes a fresh quest's lives and total; closing it leaves the game.
TEST_F(MjQuestFlowTest, NoLivesLeftLosesTheQuest)
{
    MakeQuest();
    Open(1, BoardOne());
    screen->_score = 4321;
    screen->KeyPressed(1);
    Type("l-0\r");
    ASSERT_EQ(screen->_lives, 0);
    screen->_losses = 1;
    TakeCues();
    ASSERT_EQ(ForceTimeUp(), MjClassic::kQuestLostDialog);
    EXPECT_FALSE(Played(TakeCues(), "CFG_TIMESUP 0"));
    EXPECT_EQ(Progress("losses"), 0);
    // Stored at the loss already: a game killed before its teardown starts the next session
    // afresh too, never with no lives.
    EXPECT_EQ(Progress("lives"), 5);
    EXPECT_EQ(Progress("score"), 0);
    Play(500);
    Answer(1);
    EXPECT_TRUE(script->Leaving());
    DropScreen();
    EXPECT_EQ(Progress("lives"), 5);
    EXPECT_EQ(Progress("score"), 0);
    // Written scrambled; the plain name holds nothing.
    const std::string raw = testsupport::ReadFile("ann.plr2e");
    EXPECT_FALSE(raw.empty());
    EXPECT_EQ(raw.find("lives"), std::string::npos);
    EXPECT_EQ(testsupport::ReadFile("ann.plr2"), "");
}

// A total passing the threshold earns a bonus life: the next opening blinks the lives and the
// total and gives one life.
TEST_F(MjQuestFlowTest, BonusLifeIsGivenAtTheNextOpening)
{
    MakeQuest([](MjClassicConfig& look) { look.Write("threshold", "points", 100); });
    Open(1, BoardOne());
    const int lives = screen->_lives;
    screen->_boardScore = 150;
    screen->_cheatMode = 1;
    screen->ButtonClicked(MjClassic::kReplayId, 3);
    ASSERT_EQ(screen->_bonusLifeEarned, 1);
    Play(500);

    Open(1, BoardOne(), 0);
    bool livesHidden = false;
    bool totalHidden = false;
    for (unsigned int t = 0; t < kOpeningMs; t += 10) {
        Play(10);
        livesHidden = livesHidden || !screen->_livesText->IsVisible();
        totalHidden = totalHidden || !screen->_scoreTotText->IsVisible();
    }
    EXPECT_TRUE(livesHidden);
    EXPECT_TRUE(totalHidden);
    EXPECT_TRUE(screen->_livesText->IsVisible());
    EXPECT_TRUE(screen->_scoreTotText->IsVisible());
    EXPECT_EQ(screen->_bonusLifeEarned, 0);
    EXPECT_EQ(screen->_lives, lives + 1);
    EXPECT_EQ(Progress("lives"), lives + 1);
}

// The step to the next board opens the progress map: 16 strips unroll 50 pixels apart with the
// roll on the open edge, the texts come at step 3, and at the end the roll goes and the marker
// blinks; a press on it rolls it up again and opens the board.
TEST_F(MjQuestFlowTest, NextBoardUnrollsTheMapStripByStrip)
{
    MakeQuest();
    Open(0, BoardZero());
    screen->_fadeInSpeed = 100;
    TakeCues();
    screen->NextBoard();
    ASSERT_EQ(screen->_puzzle, 1);
    std::vector<int> rollXs;
    bool textsBeforeStepThree = false;
    const auto opened = [this]() {
        return screen->_mapExtraSprite != nullptr && screen->_mapExtraSprite->IsVisible();
    };
    for (int t = 0; t < 4000 && !opened(); t += 10) {
        Play(10);
        MjTile* roll = screen->_mapRollSprite;
        if (roll != nullptr && roll->IsVisible() && roll->GetX() < 800 &&
            (rollXs.empty() || rollXs.back() != roll->GetX())) {
            rollXs.push_back(roll->GetX());
        }
        if (screen->_spiritStep > 0 && screen->_spiritStep < 3 && screen->_infoLines[0]) {
            textsBeforeStepThree = true;
        }
    }
    EXPECT_TRUE(Played(TakeCues(), "CFG_OPENINGSCROLL 0"));
    // The roll rides on the open edge, one strip a step, and goes once the last is out.
    std::vector<int> expected;
    for (int k = 0; k < 15; ++k) {
        expected.push_back(41 + 50 * k);
    }
    EXPECT_EQ(rollXs, expected);
    EXPECT_EQ(screen->_mapRollSprite->GetX(), 791);
    for (int k = 0; k < MjClassic::kMapSprites; ++k) {
        EXPECT_EQ(screen->_mapSprites[k]->GetX(), 50 * k) << "strip " << k;
    }
    EXPECT_FALSE(textsBeforeStepThree);
    for (MjTextLabel* line : screen->_infoLines) {
        if (line != screen->_infoLines[5]) {
            EXPECT_NE(line, nullptr);
        }
    }
    EXPECT_FALSE(screen->_mapRollSprite->IsVisible());
    ASSERT_NE(screen->_mapExtraSprite, nullptr);
    bool markerHidden = false;
    for (int t = 0; t < 1000; t += 10) {
        Play(10);
        markerHidden = markerHidden || !screen->_mapExtraSprite->IsVisible();
    }
    EXPECT_TRUE(markerHidden) << "the marker did not blink";
    EXPECT_EQ(screen->_spiritStep, MjClassic::kMapSprites);

    Press(dynamic_cast<MjTile*>(screen->_mapSprites[5]));
    Play(static_cast<unsigned int>(screen->_spiritSpeed) * 20 + kOpeningMs);
    EXPECT_EQ(screen->_mapRollSprite->GetX(), 800);
    EXPECT_EQ(screen->_inPlay, 1);
}

// The quest's rows of the no-moves choice: trying the board again keeps the deal and its life;
// starting afresh deals the board anew through its opening, which takes a life.
TEST_F(MjQuestFlowTest, NoMovesChoiceAgainOrAfresh)
{
    struct Case
    {
        int item;
        int livesLost;
    };
    for (const Case& c : {Case{2, 0}, Case{3, 1}}) {
        SCOPED_TRACE(::testing::Message() << "item " << c.item);
        MakeQuest();
        Open(1, BoardOne());
        const int lives = screen->_lives;
        screen->DialogButtonClicked(MjGameScript::kNoMovesDialog, c.item, 1);
        Play(kOpeningMs);
        EXPECT_EQ(screen->_lives, lives - c.livesLost);
        EXPECT_EQ(screen->_inPlay, 1);
        EXPECT_EQ(ShownTiles(), 7);
        DropScreen();
    }
}

// The quest's data gives the flow what it reads: the time-up popups with their answers, and
// boards that each end in a Yin-Yang pair, the first with the bonus tiles for the case.
TEST_F(MjQuestFlowTest, QuestDataSuppliesTheFlowsPopupsAndBoards)
{
    ConfigFile popups("cfg/popup.cfg", false, false, false);
    const std::pair<const char*, const char*> sections[] = {{"timesup", "yesno"},
                                                            {"offerlife", "yesno"},
                                                            {"zorvylose", "okonly"},
                                                            {"YinYangOk", "okonly"},
                                                            {"BonusMessage", "okonly"}};
    for (const auto& section : sections) {
        EXPECT_EQ(static_cast<std::string>(popups.Value(section.first, "controls", "", true)),
                  section.second)
            << section.first;
        EXPECT_NE(static_cast<std::string>(popups.Value(section.first, "text", "", true)), "")
            << section.first;
    }
    ConfigFile quest("cfg/puzzles3.cfg", false, false, false);
    const int boards = ConfigFile::AsInt(quest.Value("puzzles", "max", 0.0, true)) + 1;
    ASSERT_GT(boards, 1);
    for (int n = 0; n < boards; ++n) {
        SCOPED_TRACE(::testing::Message() << "board " << n);
        const std::string layout =
            static_cast<std::string>(quest.Value("puzzle" + std::to_string(n), "layout", "", true));
        std::istringstream lines(testsupport::ReadFile(layout));
        ASSERT_FALSE(lines.str().empty()) << layout;
        std::map<int, int> faces;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("v=", 0) == 0) {
                const int value = std::stoi(line.substr(2));
                ++faces[value >= 100 ? value / 100 - 1 : -1];
            }
        }
        // The plain, gold and jade Yin-Yang faces.
        EXPECT_EQ(faces[42] + faces[kGoldYinYang] + faces[56], 2);
        for (int type = 27; type <= 29 && n == 0; ++type) {
            EXPECT_GT(faces[type], 0) << "bonus tile " << type;
        }
    }
}

// The start of play puts a loaded scene animation away; a loader that never finishes holds the
// start for at most the bounded wait, with a log line, and play starts all the same.
TEST_F(MjQuestFlowTest, StartOfPlayHandsOverTheSceneLoaderAndBoundsItsWait)
{
    MakeQuest();
    Open(1, BoardOne());
    script->SetAnimState(MjGameScript::kAnimLoaded);
    screen->_inPlay = 0;
    screen->StateReached(nullptr, MjClassic::kStartPlay, 1);
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
    EXPECT_EQ(screen->_inPlay, 1);

    // Each read of the engine's clock moves it on by a second: the wait ends without sleeping.
    script->SetAnimState(MjGameScript::kAnimLoading);
    screen->_inPlay = 0;
    static testsupport::FakeClock* ticking = nullptr;
    ticking = &clock;
    const TickSource::Reader previous = TickSource::Get();
    TickSource::Set([]() {
        ticking->Advance(1000);
        return ticking->Now();
    });
    const unsigned int start = clock.Now();
    screen->StateReached(nullptr, MjClassic::kStartPlay, 1);
    TickSource::Set(previous);
    EXPECT_GE(clock.Now() - start, static_cast<unsigned int>(MjClassic::kSceneLoaderWaitMs));
    EXPECT_TRUE(LogHas("StartPlay: scene still loading after 10000 ms, going on without it"));
    EXPECT_EQ(screen->_inPlay, 1);
    // No loader is left to finish: the stale state does not hold the next board.
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
}

// A scene loader that has ended but that no frame has freed yet, when the start of play uses its
// animation: the loader is freed first, so that the frames after do not mark loaded again the
// animation the hand-over cleaned up (the next cut-scene would then play nothing).
TEST_F(MjQuestFlowTest, StartOfPlayFreesAnEndedSceneLoaderBeforeCleaningUpItsAnimation)
{
    namespace fs = std::filesystem;
    fs::copy(fs::path(GAME_DATA_DIR) / "quest", "quest",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    MakeQuest();
    Open(1, BoardOne());
    // The game's loader: the scene's animation, loaded on the worker.
    app->otherLoad = [this](int, bool onThread) { return script->LoadSceneAnimation(onThread); };
    script->SetAnimName("quest/scene01.cfg");
    script->SetAnimState(MjGameScript::kAnimLoading);
    auto* loader = new LoadingThread(app.get(), LoadingThread::kOtherResources);
    script->SetSceneLoader(loader);
    ASSERT_TRUE(testsupport::WaitUntilStopped(*loader, std::chrono::milliseconds(20000)));
    ASSERT_TRUE(testsupport::WaitUntilFinished(*loader));
    ASSERT_EQ(script->GetAnimState(), MjGameScript::kAnimLoaded);
    ASSERT_TRUE(script->AnimationPresent());
    ASSERT_EQ(script->GetSceneLoader(), loader);

    screen->_inPlay = 0;
    screen->StateReached(nullptr, MjClassic::kStartPlay, 1);
    EXPECT_EQ(screen->_inPlay, 1);
    EXPECT_EQ(script->GetSceneLoader(), nullptr);
    EXPECT_FALSE(script->AnimationPresent());
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
    Run(50);
    EXPECT_EQ(script->GetAnimState(), MjGameScript::kAnimNone);
    app->otherLoad = nullptr;
}

// The first board darkens its blocked tiles with a plate whose rounded corners are its colour
// key: on the screen a darkened tile shows no key colour, pure or blended into its face.
TEST_F(MjQuestFlowTest, DimmedTilesShowNoKeyColourAtTheirCorners)
{
    MakeQuest();
    Open(0, ThirtySixTiles());
    Play(100);
    int dimmed = 0;
    for (int row = 0; row < 6; ++row) {
        for (int col = 1; col < 5; ++col) {
            dimmed += screen->_layout->Cell(2 * col, 2 * row, 0).shaded;
            EXPECT_EQ(KeyTintedPixels(TileAt(2 * col, 2 * row)), 0)
                << "tile " << col << " of row " << row;
        }
    }
    EXPECT_EQ(dimmed, 24) << "every blocked tile is darkened";
}

} // namespace mjtest
