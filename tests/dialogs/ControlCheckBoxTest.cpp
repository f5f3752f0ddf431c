#include "framework/dialogs/ControlCheckBox.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/ControlRadio.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace controltest;

namespace {

class ControlCheckBoxTest : public ControlFixture
{
};

} // namespace

TEST_F(ControlCheckBoxTest, CheckBoxIsAddedUntickedAndMeasuresImageIndentAndText)
{
    ConfigFile* file = Description("[c]\nstr=Sound\nimg=img/check.png\nindent=5\npos=3,4\nid=20\n");
    ControlCheckBox box;
    EXPECT_TRUE(box.Load(file, "c"));
    EXPECT_EQ(box.GetKind(), Control::kCheckBox);
    EXPECT_EQ(box.GetIndent(), 5);
    ASSERT_NE(box.GetCheckImage(), nullptr);
    EXPECT_EQ(box.GetCheckImage()->GetFrameW(), 16) << "four looks side by side";

    CastMemberDialog* dialog = NewDialog();
    box.AddTo(dialog);
    DialogItem* item = box.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kCheckBox);
    EXPECT_EQ(item->GetID(), 20);
    EXPECT_EQ(item->GetText(), "Sound");
    EXPECT_FALSE(item->GetChecked());
    EXPECT_FALSE(item->ImmediateAction());

    const Dimension text = box.GetFont()->TextDim("Sound");
    EXPECT_EQ(box.GetW(), 16 + text.GetW() + 5);
    EXPECT_EQ(box.GetH(), std::max(text.GetH(), 16));
}

TEST_F(ControlCheckBoxTest, CheckBoxWithoutImageHasNoWidthAndIsNotAdded)
{
    ConfigFile* file = Description("[c]\nstr=Sound\n");
    ControlCheckBox box;
    EXPECT_TRUE(box.Load(file, "c")) << "the label's answer: it has a text";
    EXPECT_EQ(box.GetW(), 0);

    CastMemberDialog* dialog = NewDialog();
    box.AddTo(dialog);
    EXPECT_EQ(box.GetItem(), nullptr);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(LogLines("Control c (kind 4) not added to the dialog"), 1);
}

TEST_F(ControlCheckBoxTest, CheckBoxAddedTickedWithImmediateAction)
{
    ConfigFile* file = Description("[c]\nstr=Sound\nimg=img/check.png\n");
    ControlCheckBox box;
    box.Load(file, "c");
    box.AddTo(NewDialog(), 33, true, true);
    ASSERT_NE(box.GetItem(), nullptr);
    EXPECT_EQ(box.GetID(), 33);
    EXPECT_EQ(box.GetItem()->GetID(), 33);
    EXPECT_TRUE(box.GetItem()->GetChecked());
    EXPECT_TRUE(box.GetItem()->ImmediateAction());
}

TEST_F(ControlCheckBoxTest, RadioTakesItsValueFromSubidAndStartsUnticked)
{
    ConfigFile* file = Description("[r]\nstr=Alone\nimg=img/radio.png\nid=30\nsubid=7\n");
    ControlRadio radio;
    EXPECT_TRUE(radio.Load(file, "r"));
    EXPECT_EQ(radio.GetKind(), Control::kRadio);
    EXPECT_EQ(radio.GetValue(), 7);

    CastMemberDialog* dialog = NewDialog();
    radio.AddTo(dialog);
    DialogItem* item = radio.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetType(), DialogItem::kRadio);
    EXPECT_EQ(item->GetID(), 30) << "the group";
    EXPECT_EQ(item->GetValue(), 7);
    EXPECT_FALSE(item->GetChecked());
    EXPECT_EQ(radio.GetH(), std::max(radio.GetFont()->TextDim("Alone").GetH(), 14));
}

TEST_F(ControlCheckBoxTest, RadioAddedSelectedBecomesTheDialogsSetting)
{
    ConfigFile* file = Description("[r]\nstr=Alone\nimg=img/radio.png\n");
    ControlRadio radio;
    radio.Load(file, "r");
    CastMemberDialog* dialog = NewDialog();
    radio.AddTo(dialog, 31, 12, true, false);
    ASSERT_NE(radio.GetItem(), nullptr);
    EXPECT_EQ(radio.GetID(), 31);
    EXPECT_EQ(radio.GetValue(), 12);
    EXPECT_TRUE(radio.GetItem()->GetChecked());
    EXPECT_EQ(dialog->GetRadioSetting(31), 12);
}
