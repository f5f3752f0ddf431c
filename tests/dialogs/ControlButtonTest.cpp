#include "framework/dialogs/ControlButton.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace controltest;

namespace {

class ControlButtonTest : public ControlFixture
{
};

} // namespace

TEST_F(ControlButtonTest, EnterAndEscBothBindTheSameItem)
{
    ConfigFile* file = Description("[b]\nimg=img/button.png\npos=10,20\nid=4\nenter=1\nesc=1\n");
    ControlButton button;
    EXPECT_TRUE(button.Load(file, "b"));
    EXPECT_EQ(button.GetExitCode(), 1) << "the default exit code";
    EXPECT_EQ(button.GetW(), 60) << "one of the four looks";
    EXPECT_EQ(button.GetH(), 24);

    CastMemberDialog* dialog = NewDialog();
    button.AddTo(dialog);
    DialogItem* item = button.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kButton);
    EXPECT_EQ(item->GetID(), 4);
    EXPECT_EQ(item->GetExit(), 1);
    EXPECT_EQ(item->GetImage(), button.GetImage());
    EXPECT_EQ(dialog->GetEnterKeyItem(), item);
    EXPECT_EQ(dialog->GetEscKeyItem(), item);
}

TEST_F(ControlButtonTest, KeysMissingFromTheSectionComeFromTheSkin)
{
    // The skin's "okbutton" gives the image, exit code 1 and the Enter key.
    ConfigFile* file = Description("[okbutton]\npos=5,5\nid=1\n");
    ControlButton button;
    EXPECT_TRUE(button.Load(file, "okbutton"));
    EXPECT_TRUE(button.IsEnterItem());
    EXPECT_FALSE(button.IsEscItem());
    EXPECT_EQ(button.GetExitCode(), 1);
    ASSERT_NE(button.GetImage(), nullptr);

    CastMemberDialog* dialog = NewDialog();
    button.AddTo(dialog, 12, 3);
    ASSERT_NE(button.GetItem(), nullptr);
    EXPECT_EQ(button.GetID(), 12) << "the id given to AddTo is the control's";
    EXPECT_EQ(button.GetItem()->GetID(), 12);
    EXPECT_EQ(button.GetItem()->GetExit(), 3);
    EXPECT_EQ(dialog->GetEnterKeyItem(), button.GetItem());
    EXPECT_EQ(dialog->GetEscKeyItem(), nullptr);
}

TEST_F(ControlButtonTest, OwnKeysAreRead)
{
    ConfigFile* file = Description("[b]\nimg=img/button.png\nexitcode=0\nenabled=0\n"
                                   "immediateaction=0\nsound=AU_CLICK\n");
    ControlButton button;
    ASSERT_TRUE(button.Load(file, "b"));
    EXPECT_EQ(button.GetExitCode(), 0);
    EXPECT_FALSE(button.IsEnabled());
    EXPECT_FALSE(button.GetImmediateAction());
    EXPECT_EQ(button.GetSound(), "AU_CLICK");

    button.AddTo(NewDialog());
    ASSERT_NE(button.GetItem(), nullptr);
    EXPECT_TRUE(button.GetItem()->GetInactive()) << "a disabled button's item is inactive";
    EXPECT_EQ(button.GetItem()->GetExit(), 0);
}

TEST_F(ControlButtonTest, WithoutImageNothingIsAddedAndTheRefusalIsLogged)
{
    const struct
    {
        const char* what;
        const char* description;
    } cases[] = {{"no \"img\"", "[b]\nenter=1\n"},
                 {"an image that does not load", "[b]\nimg=img/missing.png\nenter=1\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigFile* file = Description(c.description);
        ControlButton button;
        EXPECT_FALSE(button.Load(file, "b"));
        EXPECT_EQ(button.GetW(), 0);
        EXPECT_EQ(button.GetH(), 0);

        CastMemberDialog* dialog = NewDialog();
        const int refusals = LogLines("Control b (kind 3) not added to the dialog");
        button.AddTo(dialog);
        EXPECT_EQ(button.GetItem(), nullptr);
        EXPECT_TRUE(dialog->GetItems().empty());
        EXPECT_EQ(dialog->GetEnterKeyItem(), nullptr);
        EXPECT_EQ(LogLines("Control b (kind 3) not added to the dialog"), refusals + 1);
    }
}
