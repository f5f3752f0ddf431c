#include "framework/shell/ConfigFilePlayAsDialog.h"

#include "SDL_ttf.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::WriteFile;

TEST(ConfigFilePlayAsDialog, EmptyFileGivesTheDefaults)
{
    ConfigFile::TurnEncryption(false);
    ASSERT_TRUE(WriteFile("dplayas.cfg", "[dialog]\n"));
    ConfigFilePlayAsDialog d("dplayas.cfg", nullptr, false);
    EXPECT_EQ(d._openAnimSound, "none");
    for (const Image* image : {d._okButtonImage, d._cancelButtonImage, d._deleteButtonImage,
                               d._upButtonImage, d._downButtonImage}) {
        EXPECT_EQ(image, nullptr);
    }
    EXPECT_EQ(d._downButtonPos, Point(0, 0));
    EXPECT_EQ(d._playerListPos, Point(0, 0));
    EXPECT_EQ(d._playerListDim, Dimension(0, 0));
    EXPECT_EQ(d._playerListTextColor, Color(0, 0, 0, 255));
    EXPECT_EQ(d._playerListHilightColor, Color(0, 0, 0, 255));
    EXPECT_EQ(d._playerListBackColor, Color(0, 0, 0, 255));
    EXPECT_EQ(d._playerListFont, nullptr);
    EXPECT_EQ(d._welcomeText, "0");
    // Without its own sentence the greeting for nobody is the welcome text alone.
    EXPECT_EQ(d._noPlayerText, "0 ");
    EXPECT_EQ(d._clickHereText, "0");
}

TEST(ConfigFilePlayAsDialog, ReadsEachButtonFromItsOwnSectionAndTakesTheThemesDefaults)
{
    ConfigFile::TurnEncryption(false);
    mediatest::ScreenFormat screen(800, 600);
    ASSERT_EQ(TTF_Init(), 0);
    ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/b.png"));
    ASSERT_TRUE(WriteFile("theme.cfg", "[playerlist]\nfont=" + mediatest::SansFont() +
                                           "\nfontsize=14\nbackcol=1,2,3\n"));
    ConfigFile theme("theme.cfg", false, true, false);
    std::string text;
    const std::vector<std::string> sections = {"okbutton", "cancelbutton", "deletebutton",
                                               "upbutton", "downbutton"};
    for (size_t i = 0; i < sections.size(); ++i) {
        text += "[" + sections[i] + "]\nimg=images/b.png\npos=" + std::to_string(i) + ",7\n";
    }
    text += "[playerlist]\npos=20,30\ndim=200,120\ntextcol=250,238,210\nhilightcol=200,40,30\n"
            "[text]\nwelcome=Welcome\nnoplayer=Who plays?\nclickhere=Click here to add a player\n";
    ASSERT_TRUE(WriteFile("dplayas.cfg", text));
    auto described = std::make_unique<ConfigFilePlayAsDialog>("dplayas.cfg", &theme, false);
    const ConfigFilePlayAsDialog& d = *described;

    const std::vector<std::pair<Image*, Point>> buttons = {
        {d._okButtonImage, d._okButtonPos},         {d._cancelButtonImage, d._cancelButtonPos},
        {d._deleteButtonImage, d._deleteButtonPos}, {d._upButtonImage, d._upButtonPos},
        {d._downButtonImage, d._downButtonPos},
    };
    for (size_t i = 0; i < buttons.size(); ++i) {
        ASSERT_NE(buttons[i].first, nullptr) << sections[i];
        // One frame: the whole picture.
        EXPECT_EQ(buttons[i].first->GetW(), 400) << sections[i];
        EXPECT_EQ(buttons[i].second, Point(static_cast<int>(i), 7)) << sections[i];
    }
    EXPECT_EQ(d._playerListPos, Point(20, 30));
    EXPECT_EQ(d._playerListDim, Dimension(200, 120));
    EXPECT_EQ(d._playerListTextColor, Color(250, 238, 210, 255));
    EXPECT_EQ(d._playerListHilightColor, Color(200, 40, 30, 255));
    EXPECT_EQ(d._playerListBackColor, Color(1, 2, 3, 255));
    ASSERT_NE(d._playerListFont, nullptr);
    EXPECT_NE(d._playerListFont->GetRawFont(), nullptr);
    EXPECT_EQ(d._welcomeText, "Welcome");
    EXPECT_EQ(d._noPlayerText, "Who plays?");
    EXPECT_EQ(d._clickHereText, "Click here to add a player");
    // Its font is closed before the font library.
    described.reset();
    TTF_Quit();
}

} // namespace
