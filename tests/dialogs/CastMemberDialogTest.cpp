#include "framework/dialogs/CastMemberDialog.h"

#include "SDL.h"
#include "framework/core/Dimension.h"
#include "framework/dialogs/DialogAttributes.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace dialogtest;

namespace {

class CastMemberDialogTest : public DialogFixture
{
};

// The layout rules of Show for one text line at (10, 10) and the standard buttons.
struct Layout
{
    int width;
    int height;
};

Layout ExpectedLayout(const Dimension& text, int buttons)
{
    int width = 10 + text.GetW();
    int height = 10 + text.GetH() + kButtonH + 17; // the first button adds the row
    if (buttons == 2) {
        // The second button counts with its frame at (-1, -1) before it is placed.
        width = std::max(width, -1 + kButtonW);
    }
    width = std::min(width, AnimationManager::kScreenWidth) + 20;
    width = std::max({width, kButtonW + 14, 2 * kButtonW + 21});
    return Layout{width, height};
}

TEST_F(CastMemberDialogTest, ShowWithTwoButtonsPutsCancelRightOfOkAndCentres)
{
    LogDialog* dialog = NewDialog();
    ASSERT_NE(dialog->AddText("Hello there", 10, 10, 0, kText, font.get()), nullptr);
    dialog->Show(1, 0, -1, -1, false);

    const Layout expected = ExpectedLayout(font->TextDim("Hello there"), 2);
    EXPECT_EQ(dialog->GetW(), expected.width);
    EXPECT_EQ(dialog->GetH(), expected.height);
    EXPECT_EQ(dialog->GetX(), (AnimationManager::kScreenWidth - expected.width) / 2);
    EXPECT_EQ(dialog->GetY(), (AnimationManager::kScreenHeight - expected.height) / 2);

    DialogItem* ok = dialog->GetItemByID(1);
    DialogItem* cancel = dialog->GetItemByID(2);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->GetExit(), 1);
    EXPECT_EQ(cancel->GetExit(), 2);
    EXPECT_EQ(dialog->GetFirstStandardButton(), ok);
    EXPECT_EQ(dialog->GetSecondStandardButton(), cancel);
    EXPECT_EQ(cancel->GetX(), expected.width - kButtonW - 15);
    EXPECT_EQ(cancel->GetY(), expected.height - kButtonH);
    EXPECT_EQ(cancel->GetX() - (ok->GetX() + kButtonW), 7) << "7 pixels between the buttons";
    EXPECT_EQ(ok->GetY(), cancel->GetY());
    EXPECT_EQ(dialog->GetEnterKeyItem(), nullptr);
    EXPECT_EQ(dialog->GetEscKeyItem(), nullptr);
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(cast->GetDialog(), dialog);
    EXPECT_EQ(dialog->GetTimeLimit(), 0);
}

TEST_F(CastMemberDialogTest, ShowWithOneButtonBindsItToEscape)
{
    LogDialog* dialog = NewDialog();
    ASSERT_NE(dialog->AddText("Hello there", 10, 10, 0, kText, font.get()), nullptr);
    dialog->Show(2, 0, -1, -1, false);

    const Layout expected = ExpectedLayout(font->TextDim("Hello there"), 1);
    EXPECT_EQ(dialog->GetW(), expected.width);
    EXPECT_EQ(dialog->GetH(), expected.height);
    ASSERT_EQ(dialog->GetButtons().size(), 1u);
    DialogItem* ok = dialog->GetButtons()[0];
    EXPECT_EQ(ok->GetID(), 1);
    EXPECT_EQ(ok->GetExit(), 1);
    EXPECT_EQ(ok->GetImage(), okImage.get());
    EXPECT_EQ(dialog->GetFirstStandardButton(), nullptr);
    EXPECT_EQ(dialog->GetSecondStandardButton(), ok);
    EXPECT_EQ(dialog->GetEscKeyItem(), ok);
    EXPECT_EQ(ok->GetX(), expected.width - kButtonW - 15);
    EXPECT_EQ(ok->GetY(), expected.height - kButtonH);
}

TEST_F(CastMemberDialogTest, FullDialogIsCentredAndHoldsEveryItem)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    for (DialogItem* item :
         {d.text, d.checkBox, d.radio1, d.radio2, d.input, d.listBox, d.slider}) {
        ASSERT_NE(item, nullptr);
    }
    dialog->Show(1, 0, -1, -1, false);

    EXPECT_EQ(dialog->GetX(), (AnimationManager::kScreenWidth - dialog->GetW()) / 2);
    EXPECT_EQ(dialog->GetY(), (AnimationManager::kScreenHeight - dialog->GetH()) / 2);
    // Boxes are laid out as boxes, whatever text they hold.
    for (DialogItem* box : {d.input, d.listBox}) {
        EXPECT_LE(box->GetX() + box->GetFrameWidth(), dialog->GetW());
        EXPECT_LE(box->GetY() + box->GetFrameHeight(), dialog->GetH());
    }
    DialogItem* ok = dialog->GetItemByID(1);
    DialogItem* cancel = dialog->GetItemByID(2);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_GT(cancel->GetX(), ok->GetX());
    EXPECT_EQ(cancel->GetX() - (ok->GetX() + kButtonW), 7);
    EXPECT_EQ(cancel->GetX() + kButtonW, dialog->GetW() - 15);
    EXPECT_EQ(cancel->GetY() + kButtonH, dialog->GetH());
}

TEST_F(CastMemberDialogTest, ItemsBeyondTheScreenGiveAnEightHundredTwentyPixelDialog)
{
    LogDialog* dialog = NewDialog();
    ASSERT_NE(dialog->AddLine(0, 0, 900, 0, kText, 700), nullptr);
    dialog->Show(0, 0, -1, -1, false);
    EXPECT_EQ(dialog->GetW(), 820);
    EXPECT_EQ(dialog->GetH(), AnimationManager::kScreenHeight);
}

struct CenterCase
{
    int w;
    int h;
    int offsetX;
    int offsetY;
    int x;
    int y;
};

TEST_F(CastMemberDialogTest, CenterPlacesByScreenAndOffset)
{
    const CenterCase cases[] = {
        {200, 100, 0, 0, 300, 250},   // plain centre
        {201, 101, 0, 0, 299, 249},   // halves truncate
        {200, 100, 50, 30, 350, 280}, // moved by the offset
        {200, 100, 400, 0, 600, 250}, // pushed past the right edge: back on
        {200, 100, 0, 300, 300, 500}, // past the bottom edge: back on
        {200, 100, -500, -400, 0, 0}, // never above or left of the screen
        {AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 0, 0, 0,
         0},                         // exactly the screen
        {900, 100, 0, 0, -100, 250}, // wider than the screen: its right edge on the screen's
        {100, 700, 0, 0, 350, -100}, // taller than the screen
    };
    LogDialog* dialog = NewDialog();
    for (const CenterCase& c : cases) {
        CastMemberDialog::SetCenterOffset(c.offsetX, c.offsetY);
        dialog->SetDimensions(c.w, c.h);
        dialog->Center();
        EXPECT_EQ(dialog->GetX(), c.x) << c.w << "x" << c.h << " offset " << c.offsetX;
        EXPECT_EQ(dialog->GetY(), c.y) << c.w << "x" << c.h << " offset " << c.offsetY;
    }
}

TEST_F(CastMemberDialogTest, PaintsBackgroundBorderItemsAndHover)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->UpdateCheckbox(kCheckId, true);
    dialog->Show(1, 0, -1, -1, false);
    RunTo(clock.Now() + 50);

    const int x = dialog->GetX();
    const int y = dialog->GetY();
    EXPECT_TRUE(SameRgb(ScreenPixel(x - 1, y - 1), kStage));
    EXPECT_TRUE(SameRgb(ScreenPixel(x, y), kOuterBorder));
    EXPECT_TRUE(SameRgb(ScreenPixel(x + 1, y + 5), kOuterBorder));
    EXPECT_TRUE(SameRgb(ScreenPixel(x + 2, y + 5), kInnerBorder));
    EXPECT_TRUE(SameRgb(ScreenPixel(x + 8, y + 8), kBack));
    EXPECT_TRUE(SameRgb(ScreenPixel(CenterX(dialog, d.checkBox), CenterY(dialog, d.checkBox)),
                        kBoxLooks[1]))
        << "ticked box";
    EXPECT_TRUE(
        SameRgb(ScreenPixel(CenterX(dialog, d.radio2), CenterY(dialog, d.radio2)), kBoxLooks[0]))
        << "unselected radio";
    DialogItem* ok = dialog->GetItemByID(1);
    DialogItem* cancel = dialog->GetItemByID(2);
    EXPECT_TRUE(SameRgb(ScreenPixel(CenterX(dialog, ok), CenterY(dialog, ok)), kOkLooks[0]));
    EXPECT_TRUE(
        SameRgb(ScreenPixel(CenterX(dialog, cancel), CenterY(dialog, cancel)), kCancelLooks[0]));

    // The mouse over OK lights it at the next frame.
    manager->MouseMove(CenterX(dialog, ok), CenterY(dialog, ok));
    RunTo(clock.Now() + 20);
    EXPECT_TRUE(SameRgb(ScreenPixel(CenterX(dialog, ok), CenterY(dialog, ok)), kOkLooks[2]));
    EXPECT_TRUE(
        SameRgb(ScreenPixel(CenterX(dialog, cancel), CenterY(dialog, cancel)), kCancelLooks[0]));
}

TEST_F(CastMemberDialogTest, ShownAgainAfterClosingKeepsOneSetOfStandardButtons)
{
    LogDialog* dialog = NewDialog();
    BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    const size_t items = dialog->GetItems().size();
    const int width = dialog->GetW();
    Click(CenterX(dialog, dialog->GetItemByID(2)), CenterY(dialog, dialog->GetItemByID(2)));
    RunTo(clock.Now() + 20);
    ASSERT_EQ(cast->GetDialog(), nullptr);
    ASSERT_EQ(dialog->GetCast(), nullptr);

    // Off the stage after closing: shown again on the current stage.
    dialog->SetListener(&user);
    dialog->Show(1, 0, -1, -1, false);
    EXPECT_EQ(cast->GetDialog(), dialog);
    EXPECT_EQ(dialog->GetCast(), cast);
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(dialog->GetItems().size(), items);
    EXPECT_EQ(dialog->GetButtons().size(), 2u);
    EXPECT_EQ(dialog->GetW(), width);
    RunTo(clock.Now() + 20);
    EXPECT_TRUE(cast->Contains(dialog));
}

// --- factories ---

TEST_F(CastMemberDialogTest, TextFactoriesGiveBlankForEmptyAndRefuseMissingFont)
{
    LogDialog* dialog = NewDialog();
    DialogItem* blank = dialog->AddText("", 40);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->GetText(), " ");
    EXPECT_EQ(blank->GetType(), DialogItem::kText);
    EXPECT_EQ(blank->GetX(), -1);
    DialogItem* clickable = dialog->AddClickableText("", 5, 5, kText, font.get(), 9);
    ASSERT_NE(clickable, nullptr);
    EXPECT_EQ(clickable->GetText(), " ");
    EXPECT_EQ(clickable->GetType(), DialogItem::kClickableText);

    EXPECT_EQ(dialog->AddText("no font", 1, 1, 0, kText, nullptr), nullptr);
    EXPECT_EQ(dialog->AddTextBox("", 1, 1, kText, font.get(), 0, Dimension(100, 40), 2, 3),
              nullptr);
    EXPECT_EQ(dialog->AddTextBox("boxed", 1, 1, kText, nullptr, 0, Dimension(100, 40), 2, 3),
              nullptr);
    EXPECT_EQ(dialog->GetItems().size(), 2u) << "refused items are not kept";
}

TEST_F(CastMemberDialogTest, FactoriesRefuseWithoutWhatTheItemNeeds)
{
    LogDialog* dialog = NewDialog();
    EXPECT_EQ(dialog->AddCheckBox("box", 1, 1, 3, false, 8, false, nullptr), nullptr);
    EXPECT_EQ(dialog->AddCheckBox("", 1, 1, 3, false, 8, false, boxImage.get()), nullptr);
    EXPECT_EQ(dialog->AddRadioButton("radio", 1, 1, 4, 1, true, false), nullptr);
    EXPECT_EQ(dialog->AddTextInput("x", 1, 1, 80, 20, 6, nullptr, kText, kText, 8, true), nullptr);
    EXPECT_EQ(dialog->GetTextInputItem(), nullptr);
    EXPECT_EQ(dialog->AddListBox({"a", "b"}, 0, 1, 1, 80, 40, 7, nullptr, kText, kText, kText),
              nullptr);
    EXPECT_EQ(dialog->GetListboxItem(), nullptr);
    EXPECT_EQ(dialog->AddButton(static_cast<Image*>(nullptr), 1, 1, 8, 1), nullptr);
    EXPECT_EQ(dialog->AddCustomButton(static_cast<Image*>(nullptr), 1, 1, 8, 3, 1), nullptr);
    EXPECT_EQ(dialog->AddButton("missing.png", 1, 1, 8, 1), nullptr);
    EXPECT_EQ(dialog->AddImage(static_cast<Image*>(nullptr), 1, 1, 1, 0, false), nullptr);
    EXPECT_EQ(dialog->AddImage("missing.png", 1, 1, 1, 0, false), nullptr);
    EXPECT_EQ(
        dialog->AddSlider("missing-a.png", "missing-b.png", "missing-c.png", 0, true, 0, 1, 1, 9),
        nullptr);
    EXPECT_EQ(dialog->AddIcon(0), nullptr);
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_TRUE(dialog->GetButtons().empty());
}

TEST_F(CastMemberDialogTest, ImagesLoadedFromFilesBelongToTheirItems)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(0, 40, 10, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(testsupport::SavePng(surface, "strip.bmp"));
    SDL_FreeSurface(surface);

    LogDialog* dialog = NewDialog();
    DialogItem* image = dialog->AddImage("strip.bmp", 5, 6, 4, 2, true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFrame(), 2);
    EXPECT_EQ(image->GetFrameWidth(), 10);
    DialogItem* button = dialog->AddButton("strip.bmp", 0, 0, 7, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetType(), DialogItem::kButton);
    EXPECT_EQ(dialog->GetButtons().size(), 1u);
    DialogItem* slider =
        dialog->AddSlider("strip.bmp", "strip.bmp", "strip.bmp", 30, true, 0, 0, 20, 8);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetSliderValue(), 30);
    // The images go with the items (the leak checker tells).
}

TEST_F(CastMemberDialogTest, SelectedRadioClearsOnlyRadioButtonsOfItsGroup)
{
    LogDialog* dialog = NewDialog();
    DialogItem* box =
        dialog->AddCheckBox("same id", 1, 1, kRadioGroup, true, 8, false, boxImage.get());
    DialogItem* first = dialog->AddRadioButton("a", 1, 20, kRadioGroup, 1, true, kText, font.get(),
                                               false, boxImage.get());
    DialogItem* other = dialog->AddRadioButton("x", 1, 40, kRadioGroup + 1, 7, true, kText,
                                               font.get(), false, boxImage.get());
    // Refused (no image): it must not clear its group either.
    EXPECT_EQ(
        dialog->AddRadioButton("b", 1, 60, kRadioGroup, 2, true, kText, font.get(), false, nullptr),
        nullptr);
    DialogItem* second = dialog->AddRadioButton("c", 1, 80, kRadioGroup, 3, true, kText, font.get(),
                                                false, boxImage.get());
    ASSERT_NE(box, nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_FALSE(first->GetChecked());
    EXPECT_FALSE(first->GetSavedChecked());
    EXPECT_TRUE(second->GetChecked());
    EXPECT_TRUE(second->GetSavedChecked());
    EXPECT_TRUE(other->GetChecked());
    EXPECT_EQ(dialog->GetRadioSetting(kRadioGroup), 3);
}

TEST_F(CastMemberDialogTest, UpdateRadioButtonAndCheckboxSetStates)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);

    dialog->UpdateCheckbox(kCheckId, true);
    EXPECT_TRUE(d.checkBox->GetChecked());
    dialog->UpdateCheckbox(kCheckId, true);
    EXPECT_TRUE(d.checkBox->GetChecked()) << "setting a ticked box ticks it, never flips it";
    EXPECT_TRUE(d.checkBox->GetSavedChecked());

    dialog->UpdateRadioButton(kRadioGroup, 2, true);
    EXPECT_FALSE(d.radio1->GetChecked());
    EXPECT_TRUE(d.radio2->GetChecked());
    EXPECT_TRUE(d.radio2->GetSavedChecked());

    dialog->UpdateRadioButton(kRadioGroup, 9, true); // no such value
    dialog->UpdateRadioButton(99, 1, false);         // no such id
    EXPECT_TRUE(d.radio2->GetChecked());
    EXPECT_TRUE(d.checkBox->GetChecked());

    dialog->UpdateCheckbox(kCheckId, false);
    EXPECT_FALSE(d.checkBox->GetChecked());
    EXPECT_FALSE(d.checkBox->GetSavedChecked());
}

TEST_F(CastMemberDialogTest, SettersClampAndGuard)
{
    struct Border
    {
        int given;
        int kept;
    };
    LogDialog* dialog = NewDialog();
    for (const Border& b : {Border{25, 10}, Border{-3, 0}, Border{4, 4}, Border{10, 10}}) {
        dialog->InitBorders(kOuterBorder, kInnerBorder, b.given);
        EXPECT_EQ(dialog->GetBorderWidth(), b.kept) << b.given;
    }
    dialog->SetFadeOutTime(8000);
    EXPECT_EQ(dialog->GetFadeOutTime(), 5000);
    dialog->SetFadeInTime(-5);
    EXPECT_EQ(dialog->GetFadeInTime(), -5);

    dialog->SetListener(dialog);
    EXPECT_EQ(dialog->GetListener(), nullptr);
    dialog->SetListener(&user);
    EXPECT_EQ(dialog->GetListener(), &user);
    CastMemberDialog self(cast, 3, nullptr, nullptr);
    self.SetListener(&self);
    EXPECT_EQ(self.GetListener(), nullptr);
    EXPECT_EQ(self.GetClassMemberType(), CastMember::kDialogKind);
    EXPECT_TRUE(self.IsADialog());
    EXPECT_EQ(self.GetFadeOutTime(), 1) << "a dialog detaches one frame after it closes";
}

TEST_F(CastMemberDialogTest, AttributesGiveTheirLook)
{
    DialogAttributes attributes(font.get(), font.get(), nullptr);
    attributes.InitImages(backImage.get(), okImage.get(), cancelImage.get(), boxImage.get(),
                          boxImage.get(), nullptr);
    attributes.InitColors(Color(1, 2, 3), Color(4, 5, 6), kOuterBorder, kInnerBorder, kStage);
    attributes.InitOtherAttributes(25, 2);

    CastMemberDialog dialog(cast, 9, &attributes, nullptr);
    EXPECT_EQ(dialog.GetAttributes(), &attributes);
    EXPECT_TRUE(SameRgb(dialog.GetForeColor(), Color(1, 2, 3)));
    EXPECT_EQ(dialog.GetBorderWidth(), 10);
    EXPECT_EQ(dialog.GetTextShadowDepth(), 2);
    EXPECT_EQ(dialog.GetBackImage(), backImage.get());
    EXPECT_EQ(dialog.GetFontSize(), font->GetH());
    DialogItem* box = dialog.AddCheckBox("Sound", 10, 10, 3, false, 8, false, nullptr);
    ASSERT_NE(box, nullptr) << "the attributes' box image";
    EXPECT_EQ(box->GetImage(), boxImage.get());

    dialog.Show(1, 0, -1, -1, false);
    EXPECT_EQ(dialog.GetItemByID(1)->GetImage(), okImage.get());
    EXPECT_EQ(dialog.GetItemByID(2)->GetImage(), cancelImage.get());
    dialog.SetAttributes(nullptr);
    EXPECT_EQ(dialog.GetAttributes(), &attributes);
}

TEST_F(CastMemberDialogTest, GetItemByIdFindsTheFirstOfTwo)
{
    LogDialog* dialog = NewDialog();
    DialogItem* first = dialog->AddText("first", 1, 1, 4, kText, font.get());
    dialog->AddText("second", 1, 30, 4, kText, font.get());
    EXPECT_EQ(dialog->GetItemByID(4), first);
    EXPECT_EQ(dialog->GetItemByID(77), nullptr);
}

TEST_F(CastMemberDialogTest, ChangeToOkButtonRemovesTheFirstStandardButtonOnly)
{
    LogDialog* one = NewDialog();
    one->Show(2, 0, -1, -1, false);
    one->ChangeToOKButton();
    EXPECT_EQ(one->GetButtons().size(), 1u) << "mode 2 keeps its single button";

    Click(CenterX(one, one->GetItemByID(1)), CenterY(one, one->GetItemByID(1)));
    RunTo(clock.Now() + 20);
    LogDialog* two = NewDialog();
    two->Show(1, 0, -1, -1, false);
    two->ChangeToOKButton();
    EXPECT_EQ(two->GetFirstStandardButton(), nullptr);
    EXPECT_EQ(two->GetItemByID(1), nullptr);
    ASSERT_EQ(two->GetButtons().size(), 1u);
    EXPECT_EQ(two->GetButtons()[0]->GetID(), 2);
    RunTo(clock.Now() + 30); // hover walks the buttons: nothing deleted may be left in them
}

TEST_F(CastMemberDialogTest, RemovedItemsLeaveNoSlotBehind)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    DialogItem* ok = dialog->GetItemByID(1);
    dialog->SetEnterKeyItem(ok);
    dialog->RemoveElementFromItems(ok);
    dialog->RemoveElementFromItems(d.input);
    dialog->RemoveElementFromItems(nullptr);
    EXPECT_EQ(dialog->GetEnterKeyItem(), nullptr);
    EXPECT_EQ(dialog->GetFirstStandardButton(), nullptr);
    EXPECT_EQ(dialog->GetTextInputItem(), nullptr);
    EXPECT_EQ(std::count(dialog->GetButtons().begin(), dialog->GetButtons().end(), ok), 0);
    RunTo(clock.Now() + 30);
    EXPECT_TRUE(Key(SDLK_RETURN, 13)) << "Return is still taken, with nothing bound";
    EXPECT_EQ(cast->GetDialog(), dialog);

    dialog->InitButton(okImage.get(), Point(10, 10), 1, 1);
    dialog->Clear();
    EXPECT_TRUE(dialog->GetButtonRecords().empty());
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_TRUE(dialog->GetButtons().empty());
    EXPECT_EQ(dialog->GetListboxItem(), nullptr);
    EXPECT_EQ(dialog->GetSecondStandardButton(), nullptr);
    EXPECT_EQ(dialog->GetCanvas(), nullptr);
    RunTo(clock.Now() + 30);
}

struct ArrowCase
{
    int entries;
    int first;
    bool shown;
};

TEST_F(CastMemberDialogTest, ListBoxArrowsShowTogetherWhenItCanScroll)
{
    const int lineHeight = font->TextDim("W").GetH();
    const ArrowCase cases[] = {
        {10, 0, true},                // can scroll down only: both shown
        {10, 6, true},                // at the end: up only, both shown
        {10, 3, true}, {4, 0, false}, // fits
        {3, 0, false},
    };
    for (const ArrowCase& c : cases) {
        LogDialog* dialog = NewDialog();
        std::vector<std::string> entries;
        for (int i = 0; i < c.entries; ++i) {
            entries.push_back("line " + std::to_string(i));
        }
        DialogItem* list = dialog->AddListBox(entries, 0, 10, 10, 120, 4 * lineHeight, 3,
                                              font.get(), kText, kBack, kText);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->GetListBoxNumLines(), 4);
        list->SetListBoxScrollPos(c.first);
        dialog->CheckArrows();
        EXPECT_EQ(dialog->IsUpArrowShown(), c.shown) << c.entries << " from " << c.first;
        EXPECT_EQ(dialog->IsDownArrowShown(), c.shown) << c.entries << " from " << c.first;
    }
}

} // namespace
