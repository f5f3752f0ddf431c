#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/media/Font.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTileListener.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "mahjong/screen/MjPointsPopup.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct StateLog : MjTileListener
{
    void StateReached(CastMember* sender, int state, int value) override
    {
        senders.push_back(sender);
        states.push_back(state);
        values.push_back(value);
    }
    std::vector<CastMember*> senders;
    std::vector<int> states;
    std::vector<int> values;
};

class WatchedPopup : public MjPointsPopup
{
public:
    using MjPointsPopup::MjPointsPopup;
    ~WatchedPopup() override { *gone = true; }
    bool* gone = nullptr;
};

class MjLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        _font = std::make_unique<Font>(mediatest::SansFont(), 16, 0);
        ASSERT_NE(_font->GetRawFont(), nullptr);
        _look._font = _font.get();
        _look._time = 1000;
        _look._shadow = 3;
        _look._width = 40;
        _look._justify = 2;
    }
    void TearDown() override
    {
        _cast.EndAnimationCycle();
        _font.reset();
    }

    void Run(CastMember* member, unsigned int ms)
    {
        for (unsigned int n = 0; n < ms; ++n) {
            _clock.Advance(1);
            member->Animate(_clock.Now());
        }
    }

    // A popup made at (x, y) and animated until it leaves the stage; its final position.
    std::pair<int, int> Drift(int x, int y)
    {
        bool gone = false;
        auto* popup = new WatchedPopup(&_look, &_cast, "10", x, y);
        popup->gone = &gone;
        int lastX = popup->GetX();
        int lastY = popup->GetY();
        while (popup->GetCast() != nullptr) {
            lastX = popup->GetX();
            lastY = popup->GetY();
            Run(popup, 1);
        }
        lastX = popup->GetX();
        lastY = popup->GetY();
        _cast.EndAnimationCycle();
        EXPECT_TRUE(gone);
        return {lastX, lastY};
    }

    // Off a frame loop a sprite starts at time 0, so the game clock does too.
    testsupport::FakeClock _clock{0};
    Cast _cast{nullptr, nullptr};
    std::unique_ptr<Font> _font;
    MjPopupPointsLook _look;
    StateLog _log;
};

} // namespace

TEST_F(MjLabelTest, LabelAlternatesWithBonusLifeEvery500Ms)
{
    MjTextLabel label(&_log, &_cast, "Level 3", _font.get(), Color(255, 255, 255),
                      Color(255, 255, 255), Color(0, 0, 0), 10, 5, 5, 1000);
    EXPECT_FALSE(label.IsVisible());
    Run(&label, 1);
    label.ChangeState(MjTextLabel::kBonusBlink, 1);
    Run(&label, 1);
    EXPECT_EQ(label.GetText(), "Bonus Life");
    Run(&label, 499);
    EXPECT_EQ(label.GetText(), "Bonus Life");
    Run(&label, 1);
    EXPECT_EQ(label.GetText(), "Level 3");
    Run(&label, 500);
    EXPECT_EQ(label.GetText(), "Bonus Life");
    EXPECT_TRUE(_log.states.empty());
    label.SetCast(nullptr);
}

TEST_F(MjLabelTest, LabelPassesOtherStatesOnWithoutATile)
{
    MjTextLabel label(&_log, &_cast, "x", _font.get(), Color(255, 255, 255), Color(255, 255, 255),
                      Color(0, 0, 0), 10, 5, 5, 1000);
    for (int state : {0, 10000, 1, 10025, 10054 + 1}) {
        label.DoState(state);
    }
    EXPECT_EQ(_log.states, (std::vector<int>{10000, 1, 10025, 10055}));
    EXPECT_EQ(_log.senders, (std::vector<CastMember*>(4, nullptr)));
    EXPECT_EQ(_log.values, (std::vector<int>(4, 1)));
    EXPECT_EQ(label.GetText(), "x");
    label.SetCast(nullptr);
}

TEST_F(MjLabelTest, PopupDriftsFourFifthsTowardTheUpperRight)
{
    struct Case
    {
        int x, y, endX, endY;
    };
    const Case cases[] = {
        {100, 540, 620, 140},
        {760, 300, 760, 300 - 4 * 260 / 5},
        {200, 30, 200 + 4 * 550 / 5, 30},
        {800, 10, 800, 10},
    };
    for (const Case& c : cases) {
        const auto end = Drift(c.x, c.y);
        EXPECT_EQ(end.first, c.endX) << c.x << "," << c.y;
        EXPECT_EQ(end.second, c.endY) << c.x << "," << c.y;
    }
}

TEST_F(MjLabelTest, PopupFadesOverItsSecondHalfAndDeletesItself)
{
    bool gone = false;
    auto* popup = new WatchedPopup(&_look, &_cast, "+++50+++", 100, 540);
    popup->gone = &gone;
    EXPECT_TRUE(popup->IsVisible());
    EXPECT_FALSE(popup->AllowInput());
    EXPECT_EQ(popup->GetJustification(), 2);
    EXPECT_EQ(popup->GetShadowPos().GetX(), -3);
    EXPECT_EQ(popup->GetShadowPos().GetY(), 3);
    Run(popup, 499);
    EXPECT_FALSE(popup->Fading());
    EXPECT_EQ(popup->GetAlpha(), 255);
    Run(popup, 1);
    EXPECT_TRUE(popup->Fading());
    EXPECT_EQ(popup->GetState(), MjPointsPopup::kFading);
    Run(popup, 250);
    EXPECT_LT(popup->GetAlpha(), 255);
    EXPECT_GT(popup->GetAlpha(), 0);
    Run(popup, 249);
    _cast.EndAnimationCycle();
    EXPECT_FALSE(gone);
    EXPECT_EQ(popup->GetCast(), &_cast);
    // The move ends on the first frames after its 1000 ms; the popup leaves and is deleted.
    for (int n = 0; n < 3 && popup->GetCast() != nullptr; ++n) {
        Run(popup, 1);
    }
    EXPECT_EQ(popup->GetCast(), nullptr);
    _cast.EndAnimationCycle();
    EXPECT_TRUE(gone);
}

TEST_F(MjLabelTest, PopupOutlivesItsLook)
{
    // The game's look goes at the end of a game while a popup may still float: what the popup
    // needs later must not be read from the look.
    bool gone = false;
    auto look = std::make_unique<MjPopupPointsLook>(_look);
    auto* popup = new WatchedPopup(look.get(), &_cast, "50", 100, 540);
    popup->gone = &gone;
    look->_time = 100000;
    Run(popup, 500);
    EXPECT_TRUE(popup->Fading());
    Run(popup, 250);
    EXPECT_LT(popup->GetAlpha(), 192); // half way through the popup's own 500 ms fade
    look.reset();
    for (int n = 0; n < 503 && popup->GetCast() != nullptr; ++n) {
        Run(popup, 1);
    }
    EXPECT_EQ(popup->GetCast(), nullptr);
    _cast.EndAnimationCycle();
    EXPECT_TRUE(gone);
}

namespace {

void WriteFile(const std::string& name, const std::string& text)
{
    std::ofstream(name) << text;
}

} // namespace

TEST(MjClassicConfigTest, EmptyFileGivesTheDefaults)
{
    ConfigFile::TurnEncryption(false);
    WriteFile("empty.cfg", "");
    MjClassicConfig config("empty.cfg");
    EXPECT_EQ(config._type, 0);
    EXPECT_EQ(config._puzzles, 0);
    for (const Point& p :
         {config._boardPos, config._menuPos, config._newGamePos, config._replayPos, config._undoPos,
          config._undoTilesPos, config._hintPos, config._pausePos, config._thirdPos}) {
        EXPECT_EQ(p.GetX(), 0);
        EXPECT_EQ(p.GetY(), 0);
    }
    for (int size : {config._maxI, config._maxJ, config._maxK, config._undoTilesSpace,
                     config._tileW, config._tileH, config._tileBorder, config._shadowW}) {
        EXPECT_EQ(size, 0);
    }
    for (const std::string& name :
         {config._bgImg[0], config._bgImg[1], config._bgImg[2], config._bgImg[3], config._menuImg,
          config._newGameImg, config._replayImg, config._undoImg, config._hintImg, config._pauseImg,
          config._thirdImg, config._topImg, config._bottomImg}) {
        EXPECT_EQ(name, "0");
    }
    ASSERT_NE(config._popupPoints, nullptr);
    const MjPopupPointsLook& look = *config._popupPoints;
    EXPECT_EQ(look._color.GetR(), 0);
    EXPECT_EQ(look._color.GetG(), 0);
    EXPECT_EQ(look._color.GetB(), 0);
    EXPECT_EQ(look._color.GetA(), 255);
    EXPECT_EQ(look._width, 0);
    EXPECT_EQ(look._time, 0);
    EXPECT_NE(look._font, nullptr);
    EXPECT_EQ(config.GetFileName(), "empty.cfg");
}

TEST(MjClassicConfigTest, ReadsEveryKeyTruncatingNumbers)
{
    ConfigFile::TurnEncryption(false);
    struct Case
    {
        const char* text;
        int maxI;
    };
    for (const Case& c : {Case{"7.9", 7}, Case{"-2.5", -2}, Case{"12", 12}, Case{"x", 0}}) {
        WriteFile("look.cfg", std::string("[game]\ntype=2\npuzzles=3.7\n"
                                          "[board]\npos=10,20\nmax_k=5\nmax_i=") +
                                  c.text +
                                  "\n[b_menu]\npos=700,5\nimg=images/menu.png\n"
                                  "[tiles]\nw=40\nborder=4\n[shadow]\nw=6\n"
                                  "[popuppoints]\ncol=10,20,30\nwidth=80\njustify=2\ntime=900\n"
                                  "[bg]\nimg2=images/bg2.jpg\n[UndoTiles]\npos=1,2\nspace=50\n");
        MjClassicConfig config("look.cfg");
        EXPECT_EQ(config._maxI, c.maxI) << c.text;
        EXPECT_EQ(config._type, 2);
        EXPECT_EQ(config._puzzles, 3);
        EXPECT_EQ(config._boardPos.GetX(), 10);
        EXPECT_EQ(config._boardPos.GetY(), 20);
        EXPECT_EQ(config._maxK, 5);
        EXPECT_EQ(config._menuPos.GetX(), 700);
        EXPECT_EQ(config._menuImg, "images/menu.png");
        EXPECT_EQ(config._bgImg[2], "images/bg2.jpg");
        EXPECT_EQ(config._bgImg[1], "0");
        EXPECT_EQ(config._undoTilesPos.GetY(), 2);
        EXPECT_EQ(config._undoTilesSpace, 50);
        EXPECT_EQ(config._tileW, 40);
        EXPECT_EQ(config._tileH, 0);
        EXPECT_EQ(config._tileBorder, 4);
        EXPECT_EQ(config._popupPoints->_shadow, 6);
        EXPECT_EQ(config._popupPoints->_color.GetG(), 20);
        EXPECT_EQ(config._popupPoints->_width, 80);
        EXPECT_EQ(config._popupPoints->_justify, 2);
        EXPECT_EQ(config._popupPoints->_time, 900);
    }
}
