#include "framework/shell/DeleteNameDialog.h"

#include "framework/core/Framework.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFileDeleteNameDialog.h"
#include "tests/shell/ShellDialogTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using DeleteNameDialogTest = shelldialogtest::ShellDialogFixture;

TEST_F(DeleteNameDialogTest, AsksAboutThePlayerByNameAndYesAnswersOne)
{
    ConfigFileDeleteNameDialog description("cfg/ddelname.cfg", app->GetThemeConfig(), false);
    for (const char* answer : {"yes", "no"}) {
        log.clear();
        DeleteNameDialog dialog(&description, cast, DeleteNameDialog::kDialogId, nullptr,
                                "Blue  Fox", &listener);
        dialog.Init(&description, "dialog");
        dialog.Show(0, 0, -1, -1, false, 200);
        RunTo(clock.Now() + 400);
        ASSERT_NE(description._deleteText.GetItem(), nullptr);
        EXPECT_EQ(description._deleteText.GetItem()->GetText(), "Delete player Blue  Fox?");

        ControlButton& button =
            std::string(answer) == "yes" ? description._yesButton : description._noButton;
        ASSERT_NE(button.GetItem(), nullptr);
        ClickItem(&dialog, button.GetItem());
        const std::string expected =
            std::string(answer) == "yes" ? "user clicked 3 1 " : "user clicked 3 2 ";
        EXPECT_TRUE(Heard(expected)) << answer;
        EXPECT_TRUE(dialog.IsClosing()) << answer;
        RunTo(clock.Now() + 400);
    }
}

TEST_F(DeleteNameDialogTest, TheQuestionIsTrimmedBeforeTheNameIsAdded)
{
    ConfigFile* text = Description("[dialog]\ncontrols=list\n[list]\na=background\n"
                                   "[deletetext]\ntype=label\nstr=  Remove  \n"
                                   "[yesbutton]\npos=10,60\n[nobutton]\npos=110,60\n");
    ConfigFileDeleteNameDialog description(text->GetFileName(), app->GetThemeConfig(), false);
    DeleteNameDialog dialog(&description, cast, DeleteNameDialog::kDialogId, nullptr, "Ann",
                            &listener);
    ASSERT_NE(description._deleteText.GetItem(), nullptr);
    EXPECT_EQ(description._deleteText.GetItem()->GetText(), "Remove Ann?");
}

} // namespace
