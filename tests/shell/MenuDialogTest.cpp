#include "framework/shell/MenuDialog.h"

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/Control.h"
#include "framework/dialogs/DialogItem.h"
#include "tests/shell/ShellDialogTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A menu whose layout can be run again at a chosen top edge.
class Probe final : public MenuDialog
{
public:
    Probe(ConfigFile* cfg, Cast* cast) : MenuDialog(cfg, cast, 7, nullptr) {}
    using MenuDialog::RepositionControls;
    int ExtraWidth() const { return _extraWidth; }
    int ExtraHeight() const { return _extraHeight; }
    int Margin() const { return _margin; }
    int Gap() const { return _buttonGap; }
    // The controls in description order, without the empty entries.
    std::vector<Control*> Controls() const
    {
        std::vector<Control*> controls;
        for (Control* control : GetControls()) {
            if (control != nullptr) {
                controls.push_back(control);
            }
        }
        return controls;
    }
    Control* Find(int kind) const
    {
        for (Control* control : Controls()) {
            if (control->GetKind() == kind) {
                return control;
            }
        }
        return nullptr;
    }
};

// A button sheet of four looks of w x h.
void WriteButton(const std::string& file, int w, int h)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w * 4, h, 32, 0xff0000, 0xff00, 0xff, 0);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 200, 40, 40));
    ASSERT_TRUE(testsupport::SavePng(s, file.c_str()));
    SDL_FreeSurface(s);
}

class MenuDialogTest : public shelldialogtest::ShellDialogFixture
{
protected:
    void SetUp() override
    {
        ShellDialogFixture::SetUp();
        WriteButton("b30a.bmp", 100, 30);
        WriteButton("b30b.bmp", 60, 30);
        WriteButton("b40.bmp", 80, 40);
    }
    void TearDown() override
    {
        _menu.reset();
        ShellDialogFixture::TearDown();
    }

    // Three buttons of heights 30, 30 and 40 (widths 100, 60, 80) with a gap of 10, and a
    // slider that must stay where its section puts it.
    Probe* Menu(int orientation, const std::string& extra = "")
    {
        ConfigFile* cfg = Description("[dialog]\ncontrols=list\nbuttonspacebetween=10\n"
                                      "margin=20\nxoffset=0\nminsize=300,260\norientation=" +
                                      std::to_string(orientation) + "\n" + extra +
                                      "[list]\na=background\nb=one\nc=two\nd=three\ne=volume\n"
                                      "[one]\ntype=button\nimg=b30a.bmp\nid=11\n"
                                      "[two]\ntype=button\nimg=b30b.bmp\nid=12\n"
                                      "[three]\ntype=button\nimg=b40.bmp\nid=13\n"
                                      "[volume]\ntype=slider\n"
                                      "leftimage=images/dialog/slider_left.png\n"
                                      "rightimage=images/dialog/slider_right.png\n"
                                      "knobimage=images/dialog/knob.png\norientation=1\n"
                                      "pos=33,21\n");
        _menu = std::make_unique<Probe>(cfg, cast);
        _menu->Init(cfg, "dialog");
        return _menu.get();
    }

    std::unique_ptr<Probe> _menu;
};

TEST_F(MenuDialogTest, ColumnStacksFromTheTopWithTheGapAndCentresEachControl)
{
    Probe* menu = Menu(1);
    const int top = 50;
    const int width = 300;
    const int y0 = menu->ExtraHeight() / 2 + top;
    EXPECT_EQ(menu->RepositionControls(top, width), y0 + 130);

    struct Expected
    {
        int id;
        int y;
        int w;
    };
    const Expected expected[] = {{11, y0, 100}, {12, y0 + 40, 60}, {13, y0 + 80, 80}};
    for (const Expected& e : expected) {
        DialogItem* item = menu->GetItemByID(e.id);
        ASSERT_NE(item, nullptr) << e.id;
        EXPECT_EQ(item->GetY(), e.y) << e.id;
        EXPECT_EQ(item->GetX(), width / 2 - e.w / 2) << e.id;
    }
    // The slider keeps its own position.
    Control* slider = menu->Find(Control::kSlider);
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->GetItem(), nullptr);
    EXPECT_EQ(slider->GetItem()->GetX(), 33);
    EXPECT_EQ(slider->GetItem()->GetY(), 21);
}

TEST_F(MenuDialogTest, ColumnIsShiftedByTheHorizontalOffset)
{
    Probe* menu = Menu(1, "xoffset=-7\n");
    menu->RepositionControls(0, 300);
    EXPECT_EQ(menu->GetItemByID(12)->GetX(), 150 - 30 - 7);
}

TEST_F(MenuDialogTest, RowRunsRightToLeftAlongTheBottomMarginFirstControlRightmost)
{
    Probe* menu = Menu(2);
    const int width = 300;
    menu->RepositionControls(40, width);
    const int right = width + menu->ExtraWidth() / 2 - menu->Margin();
    DialogItem* one = menu->GetItemByID(11);
    DialogItem* two = menu->GetItemByID(12);
    DialogItem* three = menu->GetItemByID(13);
    // The first button's right edge lies one gap inside the right margin.
    EXPECT_EQ(one->GetX() + 100, right - menu->Gap());
    EXPECT_EQ(two->GetX() + 60, one->GetX() - menu->Gap());
    EXPECT_EQ(three->GetX() + 80, two->GetX() - menu->Gap());
    // Bottoms on the bottom margin, whatever their heights.
    for (DialogItem* item : {one, two, three}) {
        EXPECT_EQ(item->GetY() + item->GetFrameHeight(), menu->GetH() - menu->Margin());
    }
}

TEST_F(MenuDialogTest, LabelsAreStackedLikeButtonsAndAMenuWithoutThemMovesNothing)
{
    ConfigFile* cfg = Description("[dialog]\ncontrols=list\norientation=1\nbuttonspacebetween=10\n"
                                  "[list]\na=background\nb=caption\nc=box\n"
                                  "[caption]\ntype=label\nstr=Paused\nid=30\npos=5,5\n"
                                  "[box]\ntype=textbox\nstr=Left alone\npos=9,70\ndim=120,40\n");
    Probe menu(cfg, cast);
    menu.Init(cfg, "dialog");
    const int y0 = menu.ExtraHeight() / 2 + 60;
    Control* label = menu.Find(Control::kLabel);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(menu.RepositionControls(60, 240), y0 + label->GetH() + 10);
    EXPECT_EQ(label->GetItem()->GetY(), y0);
    Control* box = menu.Find(Control::kTextBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetItem()->GetX(), 9);
    EXPECT_EQ(box->GetItem()->GetY(), 70);

    ConfigFile* bare = Description("[dialog]\ncontrols=list\n[list]\na=background\nb=box\n"
                                   "[box]\ntype=textbox\nstr=Only text\npos=9,70\ndim=120,40\n");
    Probe empty(bare, cast);
    empty.Init(bare, "dialog");
    EXPECT_EQ(empty.RepositionControls(25, 240), empty.ExtraHeight() / 2 + 25);
}

} // namespace
