#include "framework/dialogs/ControlInput.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/ControlTextBox.h"
#include "framework/dialogs/DialogItem.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace controltest;

namespace {

class ControlInputTest : public ControlFixture
{
};

} // namespace

TEST_F(ControlInputTest, InputHasIdSixAndItsSizeBeforeItIsAdded)
{
    ConfigFile* file = Description("[in]\ndim=130,24\n");
    ControlInput input;
    EXPECT_EQ(input.GetID(), 6);
    input.Load(file, "in");
    EXPECT_EQ(input.GetKind(), Control::kInput);
    EXPECT_EQ(input.GetID(), 6) << "no \"id\" keeps 6";
    EXPECT_EQ(input.GetLimit(), 12);
    EXPECT_EQ(input.GetW(), 130);
    EXPECT_EQ(input.GetH(), 24);

    CastMemberDialog* dialog = NewDialog();
    input.AddTo(dialog);
    DialogItem* item = input.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kTextInput);
    EXPECT_EQ(item->GetID(), 6);
    EXPECT_EQ(item->GetText(), "") << "no text of its own: empty, not the placeholder";
    EXPECT_EQ(item->GetMaxChars(), 12);
    EXPECT_EQ(dialog->GetTextInputItem(), item);
}

TEST_F(ControlInputTest, TextAndBoxHaveTheirOwnColours)
{
    // "col" colours the text, "backcol" the box: typed text shows on its box.
    const Color text(255, 255, 255);
    const Color box(0, 0, 120);
    ConfigFile* file = Description("[in]\npos=10,10\ndim=130,30\ncol=255,255,255\n"
                                   "backcol=0,0,120\nlimit=10\nstr=WWWW\nid=8\n");
    ControlInput input;
    EXPECT_TRUE(input.Load(file, "in"));
    EXPECT_TRUE(SameRgb(input.GetColour(), text));
    EXPECT_TRUE(SameRgb(input.GetInputColour(), box));
    EXPECT_EQ(input.GetLimit(), 10);

    CastMemberDialog* dialog = NewDialog();
    input.AddTo(dialog);
    ASSERT_NE(input.GetItem(), nullptr);
    EXPECT_EQ(input.GetItem()->GetText(), "WWWW");
    EXPECT_EQ(input.GetItem()->GetID(), 8);
    dialog->Show(0, 0, 100, 100, false);
    FrameAt(clock.Now() + 10);
    FrameAt(clock.Now() + 10);

    const int left = dialog->GetX() + 10;
    const int top = dialog->GetY() + 10;
    EXPECT_TRUE(SameRgb(ScreenPixel(left + 120, top + 15), box)) << "the box, right of the text";
    int textPixels = 0;
    for (int y = top; y < top + 30; ++y) {
        for (int x = left; x < left + 70; ++x) {
            textPixels += SameRgb(ScreenPixel(x, y), text) ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 20) << "the text is drawn in its own colour";
}

TEST_F(ControlInputTest, AddedWithAnIdOfTheCallers)
{
    ConfigFile* file = Description("[in]\ndim=100,20\nid=3\n");
    ControlInput input;
    input.Load(file, "in");
    input.AddTo(NewDialog(), 44);
    ASSERT_NE(input.GetItem(), nullptr);
    EXPECT_EQ(input.GetID(), 44);
    EXPECT_EQ(input.GetItem()->GetID(), 44);
}

TEST_F(ControlInputTest, TextBoxWrapsInItsBoxAndReportsTheItemsSize)
{
    ConfigFile* file =
        Description("[tb]\nstr=A text long enough to wrap onto a second line of the box.\n"
                    "pos=4,6\ndim=150,60\nid=70\n");
    ControlTextBox box;
    EXPECT_TRUE(box.Load(file, "tb"));
    EXPECT_EQ(box.GetKind(), Control::kTextBox);
    EXPECT_EQ(box.GetW(), 150) << "before it is added: its \"dim\"";
    EXPECT_EQ(box.GetH(), 60);

    box.AddTo(NewDialog());
    DialogItem* item = box.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kTextBox);
    EXPECT_EQ(item->GetID(), 70);
    EXPECT_EQ(item->GetX(), 4);
    EXPECT_EQ(box.GetW(), item->GetFrameWidth());
    EXPECT_EQ(box.GetH(), item->GetFrameHeight());
}

TEST_F(ControlInputTest, TextBoxWithEmptyTextIsNotAdded)
{
    ConfigFile* file = Description("[tb]\nstr=\ndim=150,60\n");
    ControlTextBox box;
    box.Load(file, "tb");
    CastMemberDialog* dialog = NewDialog();
    box.AddTo(dialog);
    EXPECT_EQ(box.GetItem(), nullptr);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(LogLines("Control tb (kind 10) not added to the dialog"), 1);
}
