#include "framework/shell/HighDetailDialog.h"

#include "framework/core/Framework.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFileHighDetailDialog.h"
#include "tests/shell/ShellDialogTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using HighDetailDialogTest = shelldialogtest::ShellDialogFixture;

TEST_F(HighDetailDialogTest, OkClosesTheNoticeAndReportsDialogSixButtonOne)
{
    ConfigFileHighDetailDialog description("cfg/dhighdetail.cfg", app->GetThemeConfig(), false);
    HighDetailDialog dialog(&description, cast, HighDetailDialog::kDialogId, nullptr, &listener);
    dialog.Init(&description, "dialog");
    dialog.Show(0, 0, -1, -1, false, 200);
    RunTo(clock.Now() + 400);
    ASSERT_NE(description._bodyText.GetItem(), nullptr);
    EXPECT_NE(description._bodyText.GetItem()->GetText().find("High detail"), std::string::npos);
    ASSERT_NE(description._okButton.GetItem(), nullptr);
    EXPECT_EQ(description._okButton.GetItem()->GetExit(), 1);
    Key(SDLK_RETURN, 13);
    EXPECT_TRUE(Heard("user clicked 6 1 "));
    EXPECT_TRUE(dialog.IsClosing());
    RunTo(clock.Now() + 400);
}

} // namespace
