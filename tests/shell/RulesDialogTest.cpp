#include "framework/shell/RulesDialog.h"

#include "SDL_mixer.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Audio.h"
#include "framework/media/Channel.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "tests/dialogs/ControlTestSupport.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

constexpr int kRulesId = 5;

// A stage with the control fixtures' theme and images, ten mixer channels and the dialog sound
// registered by the rules description.
class RulesDialogTest : public controltest::ControlFixture
{
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        ASSERT_TRUE(Audio::Open(1024, 22050, AUDIO_S16LSB, 2)) << SDL_GetError();
        ASSERT_TRUE(Channel::Allocate(10));
        mediatest::MakeParentDirs("audio/select.wav");
        ASSERT_TRUE(mediatest::WriteWav("audio/select.wav", 5000, 8000));
    }
    void TearDown() override
    {
        _dialog.reset();
        _description.reset();
        Channel::Allocate(0);
        Audio::Close();
        ControlFixture::TearDown();
    }

    // A rules description with the given pages line (empty: none), the picture and the three
    // buttons, and page sections 0 to 4; then a rules dialog on it.
    RulesDialog* Open(const std::string& pagesLine, const std::string& extra = "")
    {
        static int fileCount = 0;
        const std::string name = "drules" + std::to_string(++fileCount) + ".cfg";
        std::string text = "[sounds]\nAU_DIALOG_SELECT=audio/select.wav\n"
                           "[background]\n" +
                           pagesLine +
                           "\nrulesimgs=img/anim.png\nrulesimgspos=10,20\n"
                           "[donebutton]\nimg=img/button.png\nenter=1\nesc=1\n"
                           "[nextbutton]\nimg=img/button.png\n"
                           "[prevbutton]\nimg=img/button.png\n"
                           "[title]\nfont=fonts/sans.ttf\n"
                           "[text]\nfont=fonts/sans.ttf\ndim=300,100\n";
        for (int i = 0; i < 5; ++i) {
            const std::string n = std::to_string(i);
            text += "[page" + n + "]\ntitle=Title " + n + "\nrule=Rule " + n + "\n";
        }
        EXPECT_TRUE(testsupport::WriteFile(name, text + extra));
        _dialog.reset();
        _description = std::make_unique<ConfigFileRulesDialog>(name, app->GetThemeConfig(), false);
        _dialog =
            std::make_unique<RulesDialog>(_description.get(), cast, kRulesId, nullptr, nullptr);
        return _dialog.get();
    }

    // The dialog's button report for itemId, as the dialog makes it for its own buttons.
    void Click(int itemId) { _dialog->DialogButtonClicked(kRulesId, itemId, 1); }

    struct Page
    {
        int page;
        const char* title;
        const char* rule;
        int frame;
        bool prevInactive;
        bool nextInactive;
    };

    void ExpectPage(const Page& expected)
    {
        EXPECT_EQ(_dialog->GetCurrentPage(), expected.page);
        ASSERT_NE(_dialog->GetTitleItem(), nullptr);
        ASSERT_NE(_dialog->GetRuleItem(), nullptr);
        ASSERT_NE(_dialog->GetPictureItem(), nullptr);
        EXPECT_EQ(_dialog->GetTitleItem()->GetText(), expected.title);
        EXPECT_EQ(_dialog->GetRuleItem()->GetText(), expected.rule);
        EXPECT_EQ(_dialog->GetPictureItem()->GetFrame(), expected.frame);
        EXPECT_EQ(_dialog->GetItemByID(RulesDialog::kPrevId)->GetInactive(), expected.prevInactive);
        EXPECT_EQ(_dialog->GetItemByID(RulesDialog::kNextId)->GetInactive(), expected.nextInactive);
    }

    std::unique_ptr<ConfigFileRulesDialog> _description;
    std::unique_ptr<RulesDialog> _dialog;
};

TEST_F(RulesDialogTest, OneOrNoPageAddsOnlyDoneAndShowsTheFirstSection)
{
    for (const char* pagesLine : {"pages=0", "pages=1", "", "pages=-3"}) {
        SCOPED_TRACE(pagesLine);
        RulesDialog* dialog = Open(pagesLine);
        ASSERT_EQ(dialog->GetButtons().size(), 1u);
        DialogItem* done = dialog->GetItemByID(RulesDialog::kDoneId);
        ASSERT_NE(done, nullptr);
        EXPECT_EQ(done->GetExit(), 1);
        EXPECT_EQ(dialog->GetTitleItem()->GetText(), "Title 0");
        EXPECT_EQ(dialog->GetRuleItem()->GetText(), "Rule 0");
        EXPECT_EQ(dialog->GetPictureItem()->GetFrame(), 0);

        // A report for the paging ids turns nothing, but still sounds.
        const int playing = Mix_Playing(-1);
        Click(RulesDialog::kNextId);
        Click(RulesDialog::kPrevId);
        EXPECT_EQ(dialog->GetCurrentPage(), 1);
        EXPECT_EQ(dialog->GetTitleItem()->GetText(), "Title 0");
        EXPECT_EQ(Mix_Playing(-1), playing + 2);
    }
}

TEST_F(RulesDialogTest, NextAndPreviousTurnThePagesWithinTheBook)
{
    RulesDialog* dialog = Open("pages=3");
    ASSERT_EQ(dialog->GetButtons().size(), 3u);
    EXPECT_EQ(dialog->GetItemByID(RulesDialog::kNextId)->GetExit(), 0);
    EXPECT_EQ(dialog->GetItemByID(RulesDialog::kPrevId)->GetExit(), 0);
    EXPECT_EQ(dialog->GetItemByID(RulesDialog::kDoneId)->GetExit(), 1);
    ExpectPage({1, "Title 0", "Rule 0", 0, true, false});

    struct Step
    {
        int item;
        Page after;
    };
    // The section for 3 is read but never shown; the ends keep their page.
    const Step steps[] = {
        {RulesDialog::kNextId, {2, "Title 1", "Rule 1", 1, false, false}},
        {RulesDialog::kNextId, {3, "Title 2", "Rule 2", 2, false, true}},
        {RulesDialog::kNextId, {3, "Title 2", "Rule 2", 2, false, true}},
        {RulesDialog::kPrevId, {2, "Title 1", "Rule 1", 1, false, false}},
        {RulesDialog::kPrevId, {1, "Title 0", "Rule 0", 0, true, false}},
        {RulesDialog::kPrevId, {1, "Title 0", "Rule 0", 0, true, false}},
        {RulesDialog::kNextId, {2, "Title 1", "Rule 1", 1, false, false}},
    };
    int sounds = Mix_Playing(-1);
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.item) + " to page " + std::to_string(step.after.page));
        Click(step.item);
        ExpectPage(step.after);
        EXPECT_EQ(Mix_Playing(-1), ++sounds) << "every button sounds";
    }
}

TEST_F(RulesDialogTest, MissingPictureAndEmptyRuleLeaveTheirItemsOutAndPagingGoesOn)
{
    const std::string name = "bare.cfg";
    ASSERT_TRUE(testsupport::WriteFile(
        name, "[background]\npages=2\n[nextbutton]\nimg=img/button.png\n"
              "[prevbutton]\nimg=img/button.png\n[title]\nfont=fonts/sans.ttf\n"
              "[page0]\ntitle=First\nrule=\n[page1]\ntitle=Second\nrule=\n"));
    _description = std::make_unique<ConfigFileRulesDialog>(name, nullptr, false);
    _dialog = std::make_unique<RulesDialog>(_description.get(), cast, kRulesId, nullptr, nullptr);
    EXPECT_EQ(_dialog->GetPictureItem(), nullptr);
    EXPECT_EQ(_dialog->GetRuleItem(), nullptr);
    // No Done image: only the paging buttons.
    EXPECT_EQ(_dialog->GetItemByID(RulesDialog::kDoneId), nullptr);
    Click(RulesDialog::kNextId);
    EXPECT_EQ(_dialog->GetCurrentPage(), 2);
    EXPECT_EQ(_dialog->GetTitleItem()->GetText(), "Second");
}

TEST_F(RulesDialogTest, PictureSheetWithoutPagesStillHasItsOneFrame)
{
    RulesDialog* dialog = Open("pages=0");
    ASSERT_NE(dialog->GetPictureItem(), nullptr);
    // The whole 80 x 20 sheet is the one frame.
    EXPECT_EQ(dialog->GetPictureItem()->GetFrameWidth(), 80);
    Open("pages=4");
    EXPECT_EQ(_dialog->GetPictureItem()->GetFrameWidth(), 20);
}

} // namespace
