#include "framework/shell/EnterNameDialog.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFileEnterNameDialog.h"
#include "framework/stage/Cast.h"
#include "tests/shell/ShellDialogTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kClickHere[] = "Add a player";

class EnterNameDialogTest : public shelldialogtest::ShellDialogFixture
{
protected:
    void SetUp() override
    {
        ShellDialogFixture::SetUp();
        description = std::make_unique<ConfigFileEnterNameDialog>("cfg/dentername.cfg",
                                                                  app->GetThemeConfig(), false);
    }
    void TearDown() override
    {
        dialog.reset();
        description.reset();
        ShellDialogFixture::TearDown();
    }

    // Opened as the play-as dialog opens it, with these names already in the list.
    EnterNameDialog* Open(ConfigFileEnterNameDialog* d, const std::string& initial = "")
    {
        dialog = std::make_unique<EnterNameDialog>(
            d, cast, EnterNameDialog::kDialogId, initial,
            std::vector<std::string>{kClickHere, "Bob", "Ann Lee"}, &listener);
        dialog->Init(d, "dialog");
        dialog->Show(0, 0, -1, -1, false, 200);
        // Past the fade-in, so that the screen shows the dialog's own colours.
        RunTo(clock.Now() + 400);
        return dialog.get();
    }
    EnterNameDialog* Open() { return Open(description.get()); }

    bool InfoShows(const Color& colour)
    {
        return AreaHasColour(PaintedArea(dialog.get(), dialog->GetInfoItem()), colour);
    }

    std::unique_ptr<ConfigFileEnterNameDialog> description;
    std::unique_ptr<EnterNameDialog> dialog;
};

TEST_F(EnterNameDialogTest, ReadsTheDescriptionAndShowsTheHintWithTheLimit)
{
    EXPECT_EQ(description->_textInputLimit, 16);
    EXPECT_EQ(description->_enter1, "Enter a name of up to");
    Open();
    ASSERT_NE(dialog->GetInfoItem(), nullptr);
    EXPECT_EQ(dialog->GetInfoItem()->GetText(), "Enter a name of up to 16 letters.");
    EXPECT_TRUE(InfoShows(description->_infoColor));
    EXPECT_EQ(dialog->GetName(), "EnterNameDialog");
}

TEST_F(EnterNameDialogTest, MissingKeysGiveTheZeroTextsAndAFieldThatTakesNothing)
{
    ConfigFile* bare = Description("[dialog]\ncontrols=list\n[list]\na=background\n");
    ConfigFileEnterNameDialog empty(bare->GetFileName(), app->GetThemeConfig(), false);
    EXPECT_EQ(empty._enter1, "0");
    EXPECT_EQ(empty._alreadyInUse, "0");
    EXPECT_EQ(empty._textInputLimit, 0);
    EXPECT_EQ(empty._infoWidth, 0);
    EXPECT_EQ(empty._bodyTextFont, nullptr);

    // The description's own fonts are missing, so the field is made with a font of the theme.
    ConfigFile* limited = Description("[textinput]\nlimit=0\ndim=200,30\nfont=fonts/bankgbtm.ttf\n"
                                      "fontsize=16\n[text]\nenter1=Up to\nenter2=letters\n");
    ConfigFileEnterNameDialog zero(limited->GetFileName(), app->GetThemeConfig(), false);
    Open(&zero);
    Type("abc");
    EXPECT_EQ(dialog->GetTextInputString(), "");
}

struct NameCase
{
    const char* typed;
    bool accepted;
    const char* name; // what GetTextInputString gives
};

TEST_F(EnterNameDialogTest, ValidatesTypedNames)
{
    const NameCase cases[] = {
        {"", false, ""},
        {"   ", false, ""},
        {"BOB", false, "BOB"},
        {"ann lee", false, "ann lee"},
        {"add a Player", false, "add a Player"},
        {"  Carl  ", true, "Carl"},
        {"Blue  Fox", true, "Blue  Fox"},
        {"Bobby", true, "Bobby"},
        // Keys that are not letters, digits, blanks or underscores are not taken.
        {"Jo-Jo!", true, "JoJo"},
        // At most 16 characters.
        {"abcdefghijklmnopqrstu", true, "abcdefghijklmnop"},
    };
    for (const NameCase& c : cases) {
        Open();
        Type(c.typed);
        EXPECT_EQ(dialog->GetTextInputString(), c.name) << c.typed;
        EXPECT_EQ(dialog->ValidateCloseDialog(), c.accepted) << c.typed;
    }
}

TEST_F(EnterNameDialogTest, AnErrorShowsInTheErrorColourForTwoSecondsThenTheHintComesBack)
{
    Open();
    const unsigned int start = clock.Now();
    Key(SDLK_RETURN, 13);
    // Refused: the dialog stays and nothing is reported.
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_FALSE(Heard("user clicked"));
    EXPECT_EQ(dialog->GetInfoItem()->GetText(), "The name cannot be empty.");
    EXPECT_TRUE(InfoShows(EnterNameDialog::kErrorColour));

    RunTo(start + EnterNameDialog::kErrorShownMs - 20);
    EXPECT_EQ(dialog->GetInfoItem()->GetText(), "The name cannot be empty.");
    RunTo(start + EnterNameDialog::kErrorShownMs + 20);
    EXPECT_EQ(dialog->GetInfoItem()->GetText(), dialog->GetInfoText());
    EXPECT_FALSE(InfoShows(EnterNameDialog::kErrorColour));
    EXPECT_TRUE(InfoShows(description->_infoColor));

    Type("bob");
    Key(SDLK_RETURN, 13);
    EXPECT_EQ(dialog->GetInfoItem()->GetText(), "That name is already in use.");
}

TEST_F(EnterNameDialogTest, ANewNameClosesWithOkAndCancelResetsTheField)
{
    Open(description.get(), "Guest");
    Key(SDLK_BACKSPACE, 8);
    Type("s");
    EXPECT_EQ(dialog->GetTextInputString(), "Guess");
    dialog->ResetName();
    EXPECT_EQ(dialog->GetTextInputString(), "Guest");

    Type(" Two");
    Key(SDLK_RETURN, 13);
    EXPECT_TRUE(Heard("user clicked 2 1 "));
    EXPECT_EQ(dialog->GetTextInputString(), "Guest Two");
}

} // namespace
