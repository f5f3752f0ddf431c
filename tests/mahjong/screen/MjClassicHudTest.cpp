#include "framework/core/TickSource.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A board screen of a look file from the game's data set, on a running framework.
class MjClassicHudTest : public shelltest::ShellTest
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        const fs::path data = GAME_DATA_DIR;
        const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
        for (const char* folder : {"cfg", "images", "fonts", "puzzles"}) {
            fs::copy(data / folder, folder, options);
        }
        WriteData("allowloadingthread=0\n");
        StartFramework();
    }
    void TearDown() override
    {
        if (screen != nullptr) {
            screen->ReleaseSprites();
        }
        config.reset();
        screen.reset();
        ShellTest::TearDown();
    }

    // edit changes the look in memory before the screen reads it.
    void Make(const std::string& look, const std::function<void(MjClassicConfig&)>& edit = {})
    {
        config = std::make_unique<MjClassicConfig>(look);
        if (edit) {
            edit(*config);
        }
        screen = std::make_unique<MjClassic>(app.get(), config.get());
    }

    std::unique_ptr<MjClassicConfig> config;
    std::unique_ptr<MjClassic> screen;
};

const char* kClassicLook = "cfg/mjclassic.cfg";
const char* kTimedLook = "cfg/mjlogic.cfg";

} // namespace

TEST_F(MjClassicHudTest, LabelsTakeTheirSectionsLookAndFontZeroWhenTheirFontIsMissing)
{
    // Font 3 has no size in this look, so it is never made.
    Make(kClassicLook, [](MjClassicConfig& c) { c.DeleteKey("font3", "size"); });
    ASSERT_NE(screen->_fonts[0], nullptr);
    ASSERT_NE(screen->_fonts[6], nullptr);
    ASSERT_EQ(screen->_fonts[3], nullptr);
    struct Case
    {
        const char* font; // null: no "font" key
        int expected;     // index of the font the label uses
        const char* logged;
    };
    const Case cases[] = {
        {"6", 6, nullptr},
        {nullptr, 0, nullptr},
        {"7", 0, "Font error in section Probe"},
        {"12", 0, "Font error in section Probe"},
        {"-1", 0, "Font -1 not made for section Probe"},
        {"3", 0, "Font 3 not made for section Probe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font != nullptr ? c.font : "none");
        config->DeleteSection("Probe");
        config->Write("Probe", "pos", Point(30, 40));
        if (c.font != nullptr) {
            config->Write("Probe", "font", std::string(c.font));
        }
        const int before = c.logged != nullptr ? testsupport::CountLogLines(c.logged) : 0;
        MjTextLabel* label = screen->MakeLabel("Probe", "12", 999998, -1, -1);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetFont(), screen->_fonts[c.expected].get());
        if (c.logged != nullptr) {
            EXPECT_EQ(testsupport::CountLogLines(c.logged), before + 1);
        }
        EXPECT_EQ(label->GetX(), 30);
        EXPECT_EQ(label->GetY(), 40);
        screen->_cast->SafeDelete(label);
    }

    // The section's look: width "size" (100 without), "justify" (centred without); a position
    // given by the caller wins over the section's.
    MjTextLabel* lives = screen->MakeLabel("LivesText", "5", 999998, -1, -1);
    EXPECT_EQ(lives->GetMinimumWidth(), 60);
    EXPECT_EQ(lives->GetJustification(), 1);
    EXPECT_EQ(lives->GetFont(), screen->_fonts[0].get());
    EXPECT_EQ(lives->GetText(), "5");
    EXPECT_EQ(lives->GetPriority(), 999998);
    EXPECT_EQ(lives->GetX(), 646);
    MjTextLabel* placed = screen->MakeLabel("Probe", "x", 999990, 15, 25);
    EXPECT_EQ(placed->GetX(), 15);
    EXPECT_EQ(placed->GetY(), 25);
    EXPECT_EQ(placed->GetMinimumWidth(), 100);
    EXPECT_EQ(placed->GetJustification(), 2);
    EXPECT_EQ(placed->GetPriority(), 999990);
    screen->_cast->SafeDelete(lives);
    screen->_cast->SafeDelete(placed);
}

TEST_F(MjClassicHudTest, ScoreAndTotalNeverDropBelowZeroAndShowGroupedNumbers)
{
    Make(kClassicLook);
    struct Step
    {
        bool total; // AddToTotal, else AddToScore
        int delta;
        int expected;
        const char* shown;
    };
    screen->_boardScore = 200;
    screen->_score = 0;
    const Step steps[] = {
        {false, -500, 0, "0"},     {false, 999, 999, "999"},    {false, 235, 1234, "1,234"},
        {false, 0, 1234, "1,234"}, {true, 1000, 1000, "1,000"}, {true, -1, 999, "999"},
        {true, -2000000, 0, "0"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.delta));
        if (s.total) {
            screen->AddToTotal(s.delta);
            EXPECT_EQ(screen->_score, s.expected);
            EXPECT_EQ(screen->_scoreTotText->GetText(), s.shown);
        } else {
            screen->AddToScore(s.delta);
            EXPECT_EQ(screen->_boardScore, s.expected);
            EXPECT_EQ(screen->_scoreText->GetText(), s.shown);
        }
    }
    // The time labels of the timed look stay as they were made.
    EXPECT_EQ(screen->_scoreTimeText[0]->GetText(), "0");
}

TEST_F(MjClassicHudTest, TimedLookShowsMinutesAndSecondsAroundTheSeparator)
{
    Make(kTimedLook);
    ASSERT_EQ(config->_type, MjClassic::kTimedType);
    screen->_boardScore = 0;
    screen->_score = 0;
    struct Case
    {
        int seconds;
        const char* minutes;
        const char* rest;
    };
    const Case cases[] = {
        {125, "02", "05"}, {0, "00", "00"}, {59, "00", "59"}, {6001, "100", "01"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        screen->AddToScore(c.seconds - screen->_boardScore);
        EXPECT_EQ(screen->_scoreTimeText[0]->GetText(), c.minutes);
        EXPECT_EQ(screen->_scoreTimeText[1]->GetText(), c.rest);
        EXPECT_EQ(screen->_scoreText->GetText(), ":");
        screen->AddToTotal(c.seconds - screen->_score);
        EXPECT_EQ(screen->_scoreTimeText[2]->GetText(), c.minutes);
        EXPECT_EQ(screen->_scoreTimeText[3]->GetText(), c.rest);
        EXPECT_EQ(screen->_scoreTotText->GetText(), ":");
    }
}

TEST_F(MjClassicHudTest, HintLabelAndHintButtonFollowTheCountAndTheSwitches)
{
    Make(kClassicLook);
    struct Case
    {
        const char* name;
        int freePairs;
        bool quest;
        int puzzle;
        int cheat;
        int preview;
        int rightPress;
        int hiding;
        const char* text;
        bool enabled;
    };
    const Case cases[] = {
        {"none counted", -1, false, 5, 0, 0, 0, 0, "Hint?", true},
        {"none counted in the quest", -1, true, 5, 0, 0, 0, 0, "Use Hint", true},
        {"none counted, faces hidden", -1, false, 5, 0, 0, 0, 1, " ", false},
        {"two pairs", 2, false, 5, 0, 0, 0, 0, "2", true},
        {"three pairs", 3, false, 5, 0, 0, 0, 0, "3", false},
        {"cheat mode shows the count in brackets", 3, false, 5, 1, 0, 0, 0, "(3)", false},
        {"no pair", 0, false, 5, 0, 0, 0, 0, "0", true},
        {"quest board 1 always hints", 9, true, 1, 0, 0, 0, 0, "9", true},
        {"quest board 0 always hints", 9, true, 0, 0, 0, 0, 0, "9", true},
        {"quest board 2 hints from two pairs", 9, true, 2, 0, 0, 0, 0, "9", false},
        {"boards 0 and 1 outside the quest", 9, false, 0, 0, 0, 0, 0, "9", false},
        {"selection screen up", 1, false, 5, 0, 1, 0, 0, "1", false},
        {"right-press selection enables", 9, false, 5, 0, 1, 1, 0, "9", true},
        {"hidden faces disable whatever", 1, false, 5, 0, 0, 1, 1, "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen->_freePairs = c.freePairs;
        screen->_quest = c.quest;
        screen->_puzzle = c.puzzle;
        screen->_cheatMode = c.cheat;
        screen->_previewDeal = c.preview;
        screen->_rightPressSelect = c.rightPress;
        MjClassic::Shared().faceHiding = c.hiding;
        screen->UpdateHintLabel();
        EXPECT_EQ(screen->_matchesLeftText->GetText(), c.text);
        EXPECT_EQ(screen->_hintButton->GetEnabled(), c.enabled);
    }
    screen->_quest = false;
    MjClassic::Shared().faceHiding = 0;
}

TEST_F(MjClassicHudTest, FreeCountComesFromTheLayoutAndDrivesTheHidingModes)
{
    Make(kClassicLook);
    // Two free tiles of different types: too few to count (-2), shown as 0.
    MjBoardSettings settings = mjtest::Settings(24, 8, 2);
    mjtest::FakeTileFactory factory;
    auto layout = mjtest::MakeLayout(settings, {{0, 0, 1, 3}, {4, 0, 1, 8}});
    mjtest::AddTiles(*layout, factory);
    screen->_layout = std::move(layout);
    MjClassicShared& shared = MjClassic::Shared();

    screen->RefreshFreeCount();
    EXPECT_EQ(screen->_freePairs, 0);
    EXPECT_EQ(screen->_matchesLeftText->GetText(), "0");

    // The self-scrambling board restarts its reference time on every refresh that finds a count.
    screen->_playMode = 2;
    shared.faceHiding = 1;
    shared.scrambleState = 2;
    shared.scrambleTime = 0;
    screen->RefreshFreeCount();
    EXPECT_EQ(screen->_freePairs, 0);
    EXPECT_EQ(shared.scrambleTime, static_cast<int>(TickSource::Now()));
    EXPECT_EQ(shared.scrambleState, 2);
    EXPECT_EQ(screen->_matchesLeftText->GetText(), "0");
    EXPECT_FALSE(screen->_hintButton->GetEnabled());

    // Three free tiles without a pair count 0: the scrambling goes on at once, shown as 1.
    auto three = mjtest::MakeLayout(settings, {{0, 0, 1, 3}, {4, 0, 1, 8}, {8, 0, 1, 12}});
    mjtest::AddTiles(*three, factory);
    screen->_layout = std::move(three);
    shared.scrambleTime = 5;
    screen->RefreshFreeCount();
    EXPECT_EQ(screen->_freePairs, 1);
    EXPECT_EQ(shared.scrambleState, 0);
    EXPECT_EQ(shared.scrambleTime, 5);

    // Play mode 1 with hidden faces shows the faces of the free tiles that match, no others.
    auto pair = mjtest::MakeLayout(settings, {{0, 0, 1, 3}, {4, 0, 1, 3}, {8, 0, 1, 12}});
    mjtest::AddTiles(*pair, factory);
    MjLayout* shown = pair.get();
    screen->_layout = std::move(pair);
    screen->_playMode = 1;
    screen->RefreshFreeCount();
    EXPECT_EQ(screen->_freePairs, 1);
    EXPECT_EQ(screen->_matchesLeftText->GetText(), "1");
    for (int index : shown->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        auto* tile = static_cast<mjtest::FakeGridTile*>(shown->Cell(i, j, k).tile);
        const std::string look = tile->GetType() == 3 ? "ShowFace" : "HideFace";
        ASSERT_FALSE(tile->calls.empty());
        EXPECT_EQ(tile->calls.back(), look) << tile->GetType();
    }

    screen->_layout.reset(); // before the settings and the tile factory it reads
    shared.faceHiding = 0;
}

TEST_F(MjClassicHudTest, TimerSpritesAreMadeOnceAndTheFuseRenewedPerBoard)
{
    Make(kClassicLook);
    screen->_timerValues[2] = 40;
    screen->CreateTimer();
    EXPECT_EQ(screen->_timerValues[2], 0);
    CastMemberImage* fuse = screen->_timerSprites[0];
    ASSERT_NE(fuse, nullptr);
    EXPECT_EQ(fuse->GetX(), 226);
    EXPECT_EQ(fuse->GetY(), 30);
    EXPECT_EQ(fuse->GetPriority(), 999999);
    EXPECT_FALSE(fuse->IsVisible());
    EXPECT_GT(fuse->GetW(), 0);
    ASSERT_NE(screen->_timerResource, nullptr);
    CastMemberImage* ending = screen->_timerEndSprite;
    ASSERT_NE(ending, nullptr);
    EXPECT_EQ(ending->GetNumFrames(), 5);
    EXPECT_EQ(ending->GetPriority(), 999996);
    EXPECT_EQ(ending->GetX(), 226);
    EXPECT_FALSE(ending->IsVisible());
    EXPECT_EQ(screen->_timerSprites[1], nullptr);
    EXPECT_EQ(screen->_timerSprites[2], nullptr);

    // The next board: a fresh fuse, the same sheet and ending image, hidden again.
    Image* sheet = screen->_timerResource.get();
    ending->Show();
    screen->CreateTimer();
    EXPECT_NE(screen->_timerSprites[0], nullptr);
    EXPECT_EQ(screen->_timerResource.get(), sheet);
    EXPECT_EQ(screen->_timerEndSprite, ending);
    EXPECT_FALSE(ending->IsVisible());
    int fuses = 0;
    for (CastMember* member : screen->_cast->GetCastMembers()) {
        fuses += member->GetPriority() == 999999 && member->GetX() == 226 ? 1 : 0;
    }
    EXPECT_EQ(fuses, 1); // the old fuse has left the stage
}

TEST_F(MjClassicHudTest, ALookWithoutATimerPositionMakesNoTimer)
{
    Make(kClassicLook, [](MjClassicConfig& c) { c.DeleteKey("timer", "pos"); });
    screen->CreateTimer();
    EXPECT_EQ(screen->_timerSprites[0], nullptr);
    EXPECT_EQ(screen->_timerResource, nullptr);
    EXPECT_EQ(screen->_timerEndSprite, nullptr);
}

TEST_F(MjClassicHudTest, TimedLookHasNoEndingImage)
{
    Make(kTimedLook);
    screen->CreateTimer();
    EXPECT_NE(screen->_timerSprites[0], nullptr);
    EXPECT_NE(screen->_timerResource, nullptr);
    EXPECT_EQ(screen->_timerEndSprite, nullptr);
}

TEST_F(MjClassicHudTest, QuestTimerHasSmokeAndEmberThatGoBackForTheNextBoard)
{
    Make("cfg/mjzorvy.cfg");
    ASSERT_TRUE(screen->_quest);
    screen->CreateTimer();
    CastMemberImage* smoke = screen->_timerSprites[1];
    CastMemberImage* ember = screen->_timerSprites[2];
    ASSERT_NE(smoke, nullptr);
    ASSERT_NE(ember, nullptr);
    EXPECT_NE(screen->_timerResource, nullptr);
    EXPECT_EQ(screen->_timerEndSprite, nullptr);
    const Point smokeAt = config->ValueAsPoint("timer", "smokePos", Point(0, 0));
    const Point tip = config->ValueAsPoint("timer", "tip", Point(0, 0));
    struct Expected
    {
        CastMemberImage* sprite;
        Point at;
        int priority;
        const char* frames;
        const char* speed;
    };
    for (const Expected& e : {Expected{smoke, smokeAt, 999998, "smokeFrames", "smokeSpeed"},
                              Expected{ember, tip, 999997, "emberFrames", "emberSpeed"}}) {
        SCOPED_TRACE(e.frames);
        EXPECT_EQ(e.sprite->GetX(), e.at.GetX());
        EXPECT_EQ(e.sprite->GetY(), e.at.GetY());
        EXPECT_EQ(e.sprite->GetPriority(), e.priority);
        EXPECT_EQ(e.sprite->GetNumFrames(),
                  ConfigFile::AsInt(config->Value("timer", e.frames, 0.0, true)));
        EXPECT_EQ(e.sprite->GetLoopSpeed(),
                  ConfigFile::AsInt(config->Value("timer", e.speed, 0.0, true)));
        EXPECT_FALSE(e.sprite->IsVisible());
        // The clock moves them along while it runs.
        e.sprite->Show();
        e.sprite->Move(e.at.GetX() - 40, e.at.GetY(), false);
    }

    screen->CreateTimer();
    EXPECT_EQ(screen->_timerSprites[1], smoke);
    EXPECT_EQ(screen->_timerSprites[2], ember);
    EXPECT_EQ(smoke->GetX(), smokeAt.GetX());
    EXPECT_EQ(ember->GetX(), tip.GetX());
    EXPECT_FALSE(smoke->IsVisible());
    EXPECT_FALSE(ember->IsVisible());
}
