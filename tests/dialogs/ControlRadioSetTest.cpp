#include "framework/dialogs/ControlRadioSet.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace controltest;

namespace {

class ControlRadioSetTest : public ControlFixture
{
};

const char* const kThreeTexts = "[set]\ntext1=Easy\ntext2=Hard\ntext3=Expert\n"
                                "img=img/radio.png\npos=20,30\nid=40\nsubid=100\n";

} // namespace

TEST_F(ControlRadioSetTest, ThreeTextsGiveThreeButtonsValuedFromSubidTheFirstTicked)
{
    ConfigFile* file = Description(kThreeTexts);
    ControlRadioSet set;
    set.Load(file, "set");
    EXPECT_EQ(set.GetKind(), Control::kRadioSet);
    EXPECT_EQ(set.GetTexts(), (std::vector<std::string>{"Easy", "Hard", "Expert"}));

    CastMemberDialog* dialog = NewDialog();
    set.AddTo(dialog);
    const std::vector<DialogItem*>& buttons = set.GetItems();
    ASSERT_EQ(buttons.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(buttons[i]->GetType(), DialogItem::kRadio);
        EXPECT_EQ(buttons[i]->GetID(), 40);
        EXPECT_EQ(buttons[i]->GetValue(), 100 + i);
        EXPECT_EQ(buttons[i]->GetText(), set.GetTexts()[i]);
        EXPECT_EQ(buttons[i]->GetChecked(), i == 0);
        EXPECT_EQ(buttons[i]->GetX(), 20);
        EXPECT_EQ(buttons[i]->GetY(), 30) << "made in one place; Move stacks them";
    }
    EXPECT_EQ(set.GetItem(), buttons[2]) << "the control's item is the last button";
    EXPECT_EQ(dialog->GetRadioSetting(40), 100);
}

TEST_F(ControlRadioSetTest, TextsEndAtTheFirstMissingOrEndMarkedKey)
{
    const struct
    {
        const char* keys;
        std::vector<std::string> texts;
    } cases[] = {
        {"text1=A\ntext2=_end_\ntext3=C\n", {"A"}},
        {"text2=B\ntext3=C\n", {}},
        {"text1=A\ntext2=B\ntext4=D\n", {"A", "B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        ConfigFile* file = Description(std::string("[set]\nimg=img/radio.png\n") + c.keys);
        ControlRadioSet set;
        set.Load(file, "set");
        EXPECT_EQ(set.GetTexts(), c.texts);
        CastMemberDialog* dialog = NewDialog();
        set.AddTo(dialog);
        EXPECT_EQ(set.GetItems().size(), c.texts.size());
        EXPECT_EQ(dialog->GetItems().size(), c.texts.size());
    }
}

TEST_F(ControlRadioSetTest, SetWithoutTextsHasNoItemNoHeightAndIsLogged)
{
    ConfigFile* file = Description("[set]\nimg=img/radio.png\n");
    ControlRadioSet set;
    set.Load(file, "set");
    set.AddTo(NewDialog());
    EXPECT_EQ(set.GetItem(), nullptr);
    EXPECT_EQ(set.GetH(), 0);
    EXPECT_EQ(LogLines("Control set (kind 8) not added to the dialog: no texts"), 1);
    set.Move(5, 5);
}

TEST_F(ControlRadioSetTest, MoveStacksTheButtonsAndTheSizeCoversThemAll)
{
    ConfigFile* file = Description(kThreeTexts);
    ControlRadioSet set;
    set.Load(file, "set");
    set.AddTo(NewDialog());
    const std::vector<DialogItem*>& buttons = set.GetItems();
    ASSERT_EQ(buttons.size(), 3u);

    set.Move(15, 50);
    int y = 50;
    for (DialogItem* button : buttons) {
        EXPECT_EQ(button->GetX(), 15);
        EXPECT_EQ(button->GetY(), y);
        y += button->GetFrameHeight() + set.GetSpacing();
    }

    Font* font = set.GetFont();
    const int textH = font->TextDim("Easy").GetH();
    EXPECT_EQ(set.GetH(), 3 * std::max(textH, 14) + 2 * 10);
    int widest = 0;
    for (const char* text : {"Easy", "Hard", "Expert"}) {
        widest = std::max(widest, font->TextDim(text).GetW());
    }
    EXPECT_EQ(set.GetW(), widest + 14 + 8) << "widest text, radio image, indent";
}

TEST_F(ControlRadioSetTest, HiddenSetHidesEveryButton)
{
    ConfigFile* file = Description(std::string(kThreeTexts) + "visible=0\n");
    ControlRadioSet set;
    set.Load(file, "set");
    set.AddTo(NewDialog());
    ASSERT_EQ(set.GetItems().size(), 3u);
    for (DialogItem* button : set.GetItems()) {
        EXPECT_FALSE(button->GetVisible());
        EXPECT_FALSE(button->GetInactive());
    }
}
