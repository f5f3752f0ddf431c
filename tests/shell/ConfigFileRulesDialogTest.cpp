#include "framework/shell/ConfigFileRulesDialog.h"

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

std::vector<std::string> Pages(const std::string& prefix, int count)
{
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(prefix + std::to_string(i));
    }
    return entries;
}

std::string PageSections(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "[page" + n + "]\ntitle=Title " + n + "\nrule=Rule " + n + "\n";
    }
    return text;
}

TEST(ConfigFileRulesDialog, EmptyFileGivesTheDefaultsAndOnePageOfZeros)
{
    ConfigFile::TurnEncryption(false);
    ASSERT_TRUE(WriteFile("drules.cfg", "[dialog]\n"));
    ConfigFileRulesDialog d("drules.cfg", nullptr, false);
    EXPECT_EQ(d._pages, 0);
    EXPECT_EQ(d._rulesImage, nullptr);
    EXPECT_EQ(d._rulesImagePos, Point(0, 0));
    for (const ControlButton* button : {&d._doneButton, &d._nextButton, &d._prevButton}) {
        EXPECT_EQ(button->GetImage(), nullptr);
    }
    EXPECT_EQ(d._titleFont, nullptr);
    EXPECT_EQ(d._textFont, nullptr);
    for (const Color& colour :
         {d._titleColor, d._titleShadowColor, d._textColor, d._textShadowColor}) {
        EXPECT_EQ(colour, Color(0, 0, 0, 255));
    }
    EXPECT_EQ(d._titleShadowDepth, 1);
    EXPECT_EQ(d._textShadowDepth, 1);
    EXPECT_EQ(d._textDim, Dimension(0, 0));
    EXPECT_EQ(d._titleWidth, 0);
    EXPECT_EQ(d._titleJustify, 0);
    EXPECT_EQ(d._textJustify, 0);
    EXPECT_EQ(d._titles, std::vector<std::string>{"0"});
    EXPECT_EQ(d._rules, std::vector<std::string>{"0"});
}

TEST(ConfigFileRulesDialog, PageSectionsAreReadUpToAndIncludingTheCount)
{
    ConfigFile::TurnEncryption(false);
    struct Case
    {
        const char* pages;
        int expectedPages;
        int entries;
    };
    // A negative count reads as none: one entry, as with 0.
    const Case cases[] = {{"3", 3, 4}, {"1", 1, 2}, {"0", 0, 1}, {"2.9", 2, 3}, {"-2", 0, 1}};
    int file = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        const std::string name = "drules" + std::to_string(++file) + ".cfg";
        ASSERT_TRUE(WriteFile(name, std::string("[background]\npages=") + c.pages + "\n" +
                                        PageSections(5)));
        ConfigFileRulesDialog d(name, nullptr, false);
        EXPECT_EQ(d._pages, c.expectedPages);
        EXPECT_EQ(d._titles, Pages("Title ", c.entries));
        EXPECT_EQ(d._rules, Pages("Rule ", c.entries));
    }
}

TEST(ConfigFileRulesDialog, ReadsLooksButtonsAndPictureAndAsksTheThemeForMissingKeys)
{
    ConfigFile::TurnEncryption(false);
    mediatest::ScreenFormat screen(800, 600);
    ASSERT_EQ(TTF_Init(), 0);
    ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/rules.png"));
    // The theme gives the text's font and the Done button's Escape key.
    ASSERT_TRUE(WriteFile("theme.cfg", "[text]\nfont=" + mediatest::SansFont() +
                                           "\nfontsize=14\n[donebutton]\nesc=1\n"));
    ConfigFile theme("theme.cfg", false, true, false);
    ASSERT_TRUE(WriteFile(
        "drules.cfg",
        "[background]\npages=2\nrulesimgs=images/rules.png\nrulesimgspos=12,34\n"
        "[donebutton]\nimg=images/rules.png\npos=5,6\nenter=1\n"
        "[nextbutton]\nimg=images/rules.png\n[prevbutton]\nimg=images/rules.png\n"
        "[title]\nfont=" +
            mediatest::SansFont() +
            "\nfontsize=22\ncol=230,190,90\npos=20,30\nwidth=380\njustify=2\n"
            "textshadowcol=10,5,0\ntextshadowdepth=2\n"
            "[text]\ncol=250,238,210\npos=40,200\ndim=380,160\njustify=1\ntextshadowdepth=0\n" +
            PageSections(3)));
    auto described = std::make_unique<ConfigFileRulesDialog>("drules.cfg", &theme, false);
    const ConfigFileRulesDialog& d = *described;

    EXPECT_EQ(d._pages, 2);
    ASSERT_NE(d._rulesImage, nullptr);
    EXPECT_EQ(d._rulesImage->GetW(), 400) << "read as one frame; the dialog cuts the pages";
    EXPECT_EQ(d._rulesImagePos, Point(12, 34));
    EXPECT_NE(d._doneButton.GetImage(), nullptr);
    EXPECT_TRUE(d._doneButton.IsEnterItem());
    EXPECT_TRUE(d._doneButton.IsEscItem());
    EXPECT_FALSE(d._nextButton.IsEscItem());
    EXPECT_NE(d._prevButton.GetImage(), nullptr);

    ASSERT_NE(d._titleFont, nullptr);
    EXPECT_NE(d._titleFont->GetRawFont(), nullptr);
    EXPECT_EQ(d._titleColor, Color(230, 190, 90, 255));
    EXPECT_EQ(d._titlePos, Point(20, 30));
    EXPECT_EQ(d._titleWidth, 380);
    EXPECT_EQ(d._titleJustify, 2);
    EXPECT_EQ(d._titleShadowColor, Color(10, 5, 0, 255));
    EXPECT_EQ(d._titleShadowDepth, 2);

    ASSERT_NE(d._textFont, nullptr);
    EXPECT_NE(d._textFont->GetRawFont(), nullptr);
    EXPECT_EQ(d._textColor, Color(250, 238, 210, 255));
    EXPECT_EQ(d._textPos, Point(40, 200));
    EXPECT_EQ(d._textDim, Dimension(380, 160));
    EXPECT_EQ(d._textJustify, 1);
    EXPECT_EQ(d._textShadowDepth, 0);
    EXPECT_EQ(d._titles, Pages("Title ", 3));
    // Fonts are closed before the font library.
    described.reset();
    TTF_Quit();
}

} // namespace
