#include "framework/shell/ConfigFileMenu.h"

#include "SDL_ttf.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/MenuAnimInfo.h"
#include "framework/shell/MenuButtonInfo.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::CountLogLines;
using testsupport::ReadFile;
using testsupport::WriteFile;

// Images are made at once, so a screen format must exist; "images/sheet.png" is a sheet of
// 400 x 100.
class ConfigFileMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/sheet.png"));
        ASSERT_EQ(TTF_Init(), 0);
    }
    void TearDown() override { TTF_Quit(); }

    std::unique_ptr<ConfigFileMenu> Read(const std::string& text, ConfigFile* parent = nullptr)
    {
        EXPECT_TRUE(WriteFile("menu.cfg", text));
        // A scrambled twin from an earlier read would be read instead of the new text.
        std::remove("menu.cfge");
        return std::make_unique<ConfigFileMenu>("menu.cfg", parent, false);
    }

    mediatest::ScreenFormat _screen{800, 600};
};

TEST_F(ConfigFileMenuTest, EmptyFileAndParentGiveTheDefaults)
{
    ASSERT_TRUE(WriteFile("theme.cfg", "[other]\nx=1\n"));
    ConfigFile theme("theme.cfg", false, true, false);
    auto menu = Read("[background]\n", &theme);
    EXPECT_EQ(menu->_bgImage, nullptr);
    EXPECT_EQ(menu->_welcomeFont, nullptr);
    EXPECT_EQ(menu->_fadeTime, 0);
    EXPECT_EQ(menu->_music, "0");
    EXPECT_EQ(menu->_volumeSound, "0");
    EXPECT_EQ(menu->_dropShadowDefault, Point(7, 7));
    EXPECT_EQ(menu->_welcomeColor, Color(0, 0, 0, 255));
    EXPECT_EQ(menu->_updateAvailable, "Update Available!");
    EXPECT_EQ(menu->_newerVersion, "A newer version of the game is available.");
    EXPECT_EQ(menu->_downloadNow, "Would you like to download it now?");
    EXPECT_EQ(menu->_news, "Special News!");
    EXPECT_EQ(menu->_clickYes, "Click Yes to check it out now!");
    EXPECT_TRUE(menu->_startButtons.empty());
    EXPECT_TRUE(menu->_animations.empty());
    EXPECT_EQ(menu->_promoLink, "0");

    struct Fixed
    {
        const char* name;
        const MenuButtonInfo* info;
        int pri;
        int alpha;
    };
    // The update button shows by default; the other four are invisible unless told.
    const std::vector<Fixed> fixed = {
        {"update", menu->_updateButton, 1, 255}, {"player", menu->_playerButton, 0, 0},
        {"options", menu->_optionsButton, 0, 0}, {"rules", menu->_rulesButton, 0, 0},
        {"quit", menu->_quitButton, 0, 0},
    };
    for (const Fixed& f : fixed) {
        ASSERT_NE(f.info, nullptr) << f.name;
        EXPECT_EQ(f.info->_image, nullptr) << f.name;
        EXPECT_EQ(f.info->_pos, Point(0, 0)) << f.name;
        EXPECT_EQ(f.info->_shadow, Point(0, 0)) << f.name;
        EXPECT_EQ(f.info->_pri, f.pri) << f.name;
        EXPECT_EQ(f.info->_alpha, f.alpha) << f.name;
    }
    menu->SetLogLevel(2);
    menu->Value("welcome", "nothere", 0, true);
    EXPECT_EQ(CountLogLines("ConfigFileMenu welcome/nothere does not exist"), 1);
}

TEST_F(ConfigFileMenuTest, TheParentAnswersWhatTheFileMisses)
{
    ASSERT_TRUE(WriteFile("theme.cfg", "[background]\nfadetime=250\n[quitbutton]\nalpha=200\n"));
    ConfigFile theme("theme.cfg", false, true, false);
    auto menu = Read("[background]\nmusic=m.ogg\n", &theme);
    EXPECT_EQ(menu->_fadeTime, 250);
    EXPECT_EQ(menu->_music, "m.ogg");
    EXPECT_EQ(menu->_quitButton->_alpha, 200);
}

TEST_F(ConfigFileMenuTest, ReadsTheWelcomeLabelAndTheFixedButtons)
{
    auto menu = Read("[background]\nimg=images/sheet.png\nfadetime=500\n"
                     "[welcome]\npos=10,20\nwidth=400\njustify=1\ncol=250,238,210\n"
                     "shadowcol=20,10,5\nshadow=2,2\nfont=" +
                     mediatest::SansFont() +
                     "\nfontsize=22\npri=3\n"
                     "[quitbutton]\nimg=images/sheet.png\npos=5,6\nshadow=1,1\npri=2\n"
                     "alpha=255\n");
    ASSERT_NE(menu->_bgImage, nullptr);
    EXPECT_EQ(menu->_bgImage->GetW(), 400);
    EXPECT_EQ(menu->_fadeTime, 500);
    EXPECT_EQ(menu->_welcomePos, Point(10, 20));
    EXPECT_EQ(menu->_welcomeWidth, 400);
    EXPECT_EQ(menu->_welcomeJustify, 1);
    EXPECT_EQ(menu->_welcomeColor, Color(250, 238, 210, 255));
    EXPECT_EQ(menu->_welcomeShadowColor, Color(20, 10, 5, 255));
    EXPECT_EQ(menu->_welcomeShadow, Point(2, 2));
    EXPECT_EQ(menu->_welcomePri, 3);
    ASSERT_NE(menu->_welcomeFont, nullptr);
    EXPECT_NE(menu->_welcomeFont->GetRawFont(), nullptr);
    // A button sheet holds its four looks side by side.
    ASSERT_NE(menu->_quitButton->_image, nullptr);
    EXPECT_EQ(menu->_quitButton->_image->GetW(), 100);
    EXPECT_EQ(menu->_quitButton->_pos, Point(5, 6));
    EXPECT_EQ(menu->_quitButton->_shadow, Point(1, 1));
    EXPECT_EQ(menu->_quitButton->_pri, 2);
    EXPECT_EQ(menu->_quitButton->_alpha, 255);
}

TEST_F(ConfigFileMenuTest, StartButtonsAreCappedAndSkippedSectionsCloseUp)
{
    // Each section places its button at x = its number, so the records show where they came
    // from. Section 2 has an empty img, section 4 none at all.
    std::string sections;
    for (int i = 1; i <= 12; ++i) {
        sections += "[startbutton" + std::to_string(i) + "]\npos=" + std::to_string(i) + ",0\n";
        if (i == 2) {
            sections += "img=\n";
        } else if (i != 4) {
            sections += "img=images/sheet.png\n";
        }
    }
    struct Case
    {
        const char* count;
        int numStartButtons;
        std::vector<int> fromSections;
    };
    const std::vector<Case> cases = {
        {"12", 10, {1, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"-3", -3, {}},
        {"0", 0, {}},
        {"3", 3, {1, 3}},
        {"4.9", 4, {1, 3, 4}},
    };
    for (const Case& c : cases) {
        auto menu = Read(std::string("[background]\nnumstartbuttons=") + c.count + "\n" + sections);
        EXPECT_EQ(menu->_numStartButtons, c.numStartButtons) << c.count;
        std::vector<int> from;
        for (const MenuButtonInfo* b : menu->_startButtons) {
            from.push_back(b->_pos.GetX());
            // Start buttons show by default.
            EXPECT_EQ(b->_pri, 1);
            EXPECT_EQ(b->_alpha, 255);
            // Without an img key the button is kept, with no picture.
            EXPECT_EQ(b->_image == nullptr, b->_pos.GetX() == 4) << "section " << b->_pos.GetX();
        }
        EXPECT_EQ(from, c.fromSections) << c.count;
    }
}

TEST_F(ConfigFileMenuTest, AnimationsSkipAnEmptyImageAndKeepTheCountAsRead)
{
    auto menu = Read("[animations]\nnum=3\n"
                     "anim1img=images/sheet.png\nanim1frames=4\nanim1pos=1,2\nanim1shadow=3,4\n"
                     "anim1pri=5\nanim1loops=0\nanim1speed=80\nanim1begindelay=100\n"
                     "anim1loopdelay=900\nanim1transparency=0.5\nanim1alpha=128\n"
                     "anim2img=\nanim2pos=9,9\n"
                     "anim3img=images/sheet.png\nanim3pos=30,0\n");
    EXPECT_EQ(menu->_numAnimations, 3);
    ASSERT_EQ(menu->_animations.size(), 2u);
    const MenuAnimInfo& first = *menu->_animations[0];
    EXPECT_EQ(first._frames, 4);
    EXPECT_EQ(first._pos, Point(1, 2));
    EXPECT_EQ(first._shadow, Point(3, 4));
    EXPECT_EQ(first._pri, 5);
    EXPECT_EQ(first._loops, 0);
    EXPECT_EQ(first._speed, 80);
    EXPECT_EQ(first._beginDelay, 100);
    EXPECT_EQ(first._loopDelay, 900);
    EXPECT_TRUE(first._transparency) << "0.5 is not 0";
    EXPECT_EQ(first._alpha, 128);
    ASSERT_NE(first._image, nullptr);
    EXPECT_EQ(first._image->GetW(), 100);

    // No frame count: kept as 0, and the sheet is shown whole as one frame.
    const MenuAnimInfo& third = *menu->_animations[1];
    EXPECT_EQ(third._pos, Point(30, 0));
    EXPECT_EQ(third._frames, 0);
    EXPECT_FALSE(third._transparency);
    ASSERT_NE(third._image, nullptr);
    EXPECT_EQ(third._image->GetW(), 400);
}

TEST_F(ConfigFileMenuTest, SetPromoIsReadBackScrambledAndCannotAddLines)
{
    ConfigFile::TurnEncryption(true);
    {
        auto menu = Read("[background]\nfadetime=5\n[promolink]\nurl=0\n");
        menu->SetPromo("http://example.org/a b\r\n[evil]\nurl=1\t");
        EXPECT_EQ(menu->_promoLink, "http://example.org/a b[evil]url=1");
    }
    // On disk at once, in the scrambled twin; the plain file is left as it was.
    EXPECT_EQ(ReadFile("menu.cfg").find("example.org"), std::string::npos);
    ConfigFileMenu again("menu.cfg", nullptr, false);
    EXPECT_EQ(again._promoLink, "http://example.org/a b[evil]url=1");
    EXPECT_EQ(again._fadeTime, 5);
    EXPECT_TRUE(again.GetSectionsThatStartWith("evil").empty());
    EXPECT_EQ(again.GetKeysInSection("promolink"), std::vector<std::string>{"url"});
}

} // namespace
