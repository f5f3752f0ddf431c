#include "SDL.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace dialogtest;

namespace {

class CastMemberDialogInputTest : public DialogFixture
{
protected:
    // A text line and the two standard buttons, shown and past the stage's press guard.
    LogDialog* ShowSimple(int buttonsMode)
    {
        LogDialog* dialog = NewDialog();
        dialog->AddText("Really?", 10, 10, 0, kText, font.get());
        dialog->Show(buttonsMode, 0, -1, -1, false);
        RunTo(cast->GetDialogAttachTime() + 400);
        return dialog;
    }

    void ClickItem(CastMemberDialog* dialog, DialogItem* item)
    {
        Click(CenterX(dialog, item), CenterY(dialog, item));
    }

    // Closes a dialog that a case left up, so the next one can be shown.
    void CloseIfUp(CastMemberDialog* dialog)
    {
        if (cast->GetDialog() == dialog) {
            dialog->SetScale(1.0f);
            dialog->DetachDialog();
            RunTo(clock.Now() + 20);
        }
    }
};

TEST_F(CastMemberDialogInputTest, OkReportsEveryBoxThenTheClickThenTheDetach)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, d.checkBox);
    ClickItem(dialog, d.radio2);
    ASSERT_TRUE(d.checkBox->GetChecked());
    ASSERT_TRUE(d.radio2->GetChecked());
    ASSERT_FALSE(d.radio1->GetChecked());
    ASSERT_TRUE(log.empty()) << "no immediate action asked for";

    ClickItem(dialog, dialog->GetItemByID(1));
    const Log atClick = {"own set 5 10 0 1",  "user set 5 10 0 1", "own set 5 20 1 0",
                         "user set 5 20 1 0", "own set 5 20 2 1",  "user set 5 20 2 1",
                         "own clicked 5 1 0", "user clicked 5 1 0"};
    EXPECT_EQ(log, atClick);
    EXPECT_TRUE(dialog->IsClosing());

    RunTo(clock.Now() + 20);
    Log all = atClick;
    all.push_back("own detached 5");
    all.push_back("user detached 5");
    EXPECT_EQ(log, all);
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(dialog->GetListener(), nullptr);
    EXPECT_TRUE(d.checkBox->GetSavedChecked());
    EXPECT_TRUE(d.radio2->GetSavedChecked());
}

TEST_F(CastMemberDialogInputTest, CancelRestoresTheCommittedStates)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, d.checkBox);
    ClickItem(dialog, d.radio2);
    ClickItem(dialog, dialog->GetItemByID(2));
    EXPECT_FALSE(d.checkBox->GetChecked());
    EXPECT_TRUE(d.radio1->GetChecked());
    EXPECT_FALSE(d.radio2->GetChecked());
    RunTo(clock.Now() + 20);
    EXPECT_EQ(
        log, (Log{"own clicked 5 2 0", "user clicked 5 2 0", "own detached 5", "user detached 5"}));

    // Committed by OK, changed again, cancelled: back to what OK committed.
    dialog->SetListener(&user);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, d.checkBox);
    ClickItem(dialog, d.radio2);
    ClickItem(dialog, dialog->GetItemByID(1));
    RunTo(clock.Now() + 20);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, d.checkBox);
    ClickItem(dialog, d.radio1);
    ClickItem(dialog, dialog->GetItemByID(2));
    EXPECT_TRUE(d.checkBox->GetChecked());
    EXPECT_FALSE(d.radio1->GetChecked());
    EXPECT_TRUE(d.radio2->GetChecked());
}

struct KeyCase
{
    const char* what;
    bool validates;
    int enterId; // 0: no Enter item
    int escapeId;
    SDLKey key;
    float scale;
    float rotation;
    bool closes;
    Log reports;
};

TEST_F(CastMemberDialogInputTest, EnterAndEscapeCloseAsTheirRulesSay)
{
    const KeyCase cases[] = {
        {"Enter on OK",
         true,
         1,
         0,
         SDLK_RETURN,
         1.0f,
         0.0f,
         true,
         {"own set 5 10 0 0", "user set 5 10 0 0", "own clicked 5 1 0", "user clicked 5 1 1"}},
        {"Enter on OK, refused", false, 1, 0, SDLK_RETURN, 1.0f, 0.0f, false, {}},
        {"Escape on OK, refused",
         false,
         0,
         1,
         SDLK_ESCAPE,
         1.0f,
         0.0f,
         true,
         {"own clicked 5 1 0", "user clicked 5 1 1"}},
        {"Escape on Cancel",
         true,
         0,
         2,
         SDLK_ESCAPE,
         1.0f,
         0.0f,
         true,
         {"own clicked 5 2 0", "user clicked 5 2 1"}},
        {"Enter on a check box", true, kCheckId, 0, SDLK_RETURN, 1.0f, 0.0f, false, {}},
        {"Enter while scaled", true, 1, 0, SDLK_RETURN, 0.5f, 0.0f, false, {}},
        {"Escape while rotated", true, 0, 2, SDLK_ESCAPE, 1.0f, 30.0f, false, {}},
        {"Enter with nothing bound", true, 0, 0, SDLK_RETURN, 1.0f, 0.0f, false, {}},
        {"Escape with nothing bound", true, 0, 0, SDLK_ESCAPE, 1.0f, 0.0f, false, {}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        LogDialog* dialog = NewDialog();
        dialog->AddCheckBox("Sound", 10, 30, kCheckId, false, 8, false, boxImage.get());
        dialog->Show(1, 0, -1, -1, false);
        dialog->validates = c.validates;
        dialog->SetEnterKeyItem(c.enterId != 0 ? dialog->GetItemByID(c.enterId) : nullptr);
        dialog->SetEscKeyItem(c.escapeId != 0 ? dialog->GetItemByID(c.escapeId) : nullptr);
        if (c.scale != 1.0f) {
            dialog->SetScale(c.scale);
        }
        dialog->SetRotation(c.rotation);
        log.clear();

        EXPECT_TRUE(Key(c.key, static_cast<unsigned short>(c.key))) << "always taken";
        EXPECT_EQ(log, c.reports);
        RunTo(clock.Now() + 20);
        EXPECT_EQ(cast->GetDialog() == nullptr, c.closes);
        dialog->SetRotation(0.0f);
        CloseIfUp(dialog);
    }
}

TEST_F(CastMemberDialogInputTest, TextInputTakesPrintableKeysOnly)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    dialog->SetEnterKeyItem(dialog->GetItemByID(1));

    EXPECT_TRUE(Key(SDLK_b, 'b'));
    EXPECT_TRUE(Key(SDLK_PERIOD, '.'));
    EXPECT_EQ(d.input->GetText(), "Annb.");
    EXPECT_FALSE(Key(SDLK_F1, 0)) << "not a character";
    EXPECT_TRUE(Key(SDLK_BACKSPACE, 8));
    EXPECT_EQ(d.input->GetText(), "Annb");
    // Return is not typed: it confirms the dialog.
    EXPECT_TRUE(Key(SDLK_RETURN, 13));
    EXPECT_EQ(d.input->GetText(), "Annb");
    EXPECT_TRUE(dialog->IsClosing());
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

TEST_F(CastMemberDialogInputTest, TextInputKeepsItsLimitAndEmptyBackspaceIsHandled)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    for (const char c : std::string("bcdefghijk")) {
        EXPECT_TRUE(Key(static_cast<SDLKey>(c), static_cast<unsigned short>(c)));
    }
    EXPECT_EQ(d.input->GetText(), "Annbcdefgh") << "10 characters at most";
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(Key(SDLK_BACKSPACE, 8));
    }
    EXPECT_EQ(d.input->GetText(), "");
    EXPECT_TRUE(Key(SDLK_LEFT, 0)) << "erases too, and is handled when empty";

    // Escape is not typed either: it closes through the Escape item.
    dialog->SetEscKeyItem(dialog->GetItemByID(2));
    EXPECT_TRUE(Key(SDLK_ESCAPE, 27));
    EXPECT_EQ(d.input->GetText(), "");
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

TEST_F(CastMemberDialogInputTest, KeysGoOnlyToTheCurrentDialog)
{
    LogDialog* below = NewDialog();
    const FullDialog d = BuildFullDialog(below);
    below->Show(0, 0, -1, -1, false);
    LogDialog* above = NewDialog();
    above->AddText("On top", 10, 10, 0, kText, font.get());
    above->Show(0, 0, -1, -1, true);
    ASSERT_EQ(cast->GetDialog(), above);
    EXPECT_EQ(above->GetPriority(), -1);

    EXPECT_FALSE(below->KeyDown(SDLK_x, KMOD_NONE, 'x', true));
    Key(SDLK_x, 'x');
    EXPECT_EQ(d.input->GetText(), "Ann");
}

TEST_F(CastMemberDialogInputTest, PressOutsideFlashesOnce)
{
    LogDialog* dialog = ShowSimple(1);
    ASSERT_EQ(dialog->GetState(), 1);
    Press(2, 2);
    Release(2, 2);
    EXPECT_EQ(dialog->GetState(), 11);

    const unsigned int start = clock.Now();
    int lowest = 255;
    bool pressedAgain = false;
    while (clock.Now() < start + 400) {
        FrameAt(clock.Now() + 10);
        lowest = std::min(lowest, dialog->GetAlpha());
        if (!pressedAgain && clock.Now() >= start + 150) {
            const int state = dialog->GetState();
            Press(2, 2);
            Release(2, 2);
            EXPECT_EQ(dialog->GetState(), state) << "a flash under way is not restarted";
            pressedAgain = true;
        }
    }
    EXPECT_EQ(lowest, 255 - 64);
    EXPECT_EQ(dialog->GetAlpha(), 255);
    EXPECT_EQ(dialog->GetState(), 1);
    EXPECT_EQ(cast->GetDialog(), dialog);
    EXPECT_TRUE(log.empty());
}

TEST_F(CastMemberDialogInputTest, PressOutsideClosesThroughEscapeWhenAskedTo)
{
    LogDialog* dialog = NewDialog();
    dialog->AddText("Bye", 10, 10, 0, kText, font.get());
    dialog->DisposeOnMouseDownOutside();
    dialog->Show(2, 0, -1, -1, false);
    Press(2, 2);
    EXPECT_EQ(log, (Log{"own clicked 5 1 0", "user clicked 5 1 1"}));
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

TEST_F(CastMemberDialogInputTest, DialogWithoutColourKeyTakesPressesAnywhereInside)
{
    LogDialog* dialog = NewDialog();
    dialog->SetBackImage(nullptr); // a black canvas: black is no transparent colour
    dialog->AddText("Dark", 10, 10, 0, kText, font.get());
    dialog->Show(1, 0, -1, -1, false);
    Press(dialog->GetX() + 30, dialog->GetY() + dialog->GetH() / 2);
    EXPECT_NE(dialog->GetState(), 11) << "a press inside is no press outside";
    Release(dialog->GetX() + 30, dialog->GetY() + dialog->GetH() / 2);
}

TEST_F(CastMemberDialogInputTest, FadingInRefusesPressesUntilTheFadeEnds)
{
    struct FadeCase
    {
        int target;
        unsigned int endsAfter;
    };
    for (const FadeCase& c : {FadeCase{255, 1000}, FadeCase{0, 20}}) {
        SCOPED_TRACE(c.target);
        LogDialog* dialog = NewDialog();
        const FullDialog d = BuildFullDialog(dialog);
        dialog->InitFade(1000, 1, c.target);
        dialog->Show(1, 0, -1, -1, false);
        const unsigned int shown = clock.Now();
        RunTo(shown + 20);
        if (c.endsAfter > 20) {
            Click(CenterX(dialog, d.checkBox), CenterY(dialog, d.checkBox));
            EXPECT_FALSE(d.checkBox->GetChecked()) << "still fading in";
        }
        RunTo(std::max(clock.Now(), shown + c.endsAfter + 20));
        // A fade towards an alpha already reached ends at once: presses are not refused for ever.
        Click(CenterX(dialog, d.checkBox), CenterY(dialog, d.checkBox));
        EXPECT_TRUE(d.checkBox->GetChecked());
        CloseIfUp(dialog);
    }
}

TEST_F(CastMemberDialogInputTest, ButtonReleasedOutsideReportsNothing)
{
    LogDialog* dialog = ShowSimple(1);
    DialogItem* ok = dialog->GetItemByID(1);
    const int x = CenterX(dialog, ok);
    const int y = CenterY(dialog, ok);

    Press(x, y);
    EXPECT_EQ(dialog->GetPressedItem(), ok);
    EXPECT_TRUE(ok->GetChecked()) << "held look";
    cast->MouseDrag(x, y - 100);
    EXPECT_FALSE(ok->GetChecked());
    Release(x, y - 100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(dialog->GetPressedItem(), nullptr);
    EXPECT_EQ(cast->GetDialog(), dialog);

    // Slid back inside before the release: the click counts.
    Press(x, y);
    cast->MouseDrag(x, y - 100);
    cast->MouseDrag(x, y);
    EXPECT_TRUE(ok->GetChecked());
    Release(x, y);
    EXPECT_EQ(log, (Log{"own clicked 5 1 0", "user clicked 5 1 0"}));
}

TEST_F(CastMemberDialogInputTest, RefusedCloseReportsTheMouseButtonAndStaysUp)
{
    LogDialog* dialog = ShowSimple(1);
    dialog->validates = false;
    DialogItem* ok = dialog->GetItemByID(1);
    ClickItem(dialog, ok);
    EXPECT_EQ(log, (Log{"own clicked 5 1 1", "user clicked 5 1 1"}));
    EXPECT_FALSE(ok->GetChecked()) << "no held look left behind";
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), dialog);
}

TEST_F(CastMemberDialogInputTest, ClickableTextReportsTheButtonAndKeepsANestedDialogInFront)
{
    ShowSimple(0);
    dialogs.push_back(std::make_unique<LogDialog>(cast, 6, &user, &log));
    LogDialog* above = dialogs.back().get();
    above->InitTextFont(font.get(), kText, 0, Color(0, 0, 0));
    DialogItem* more = above->AddClickableText("More", 20, 20, kText, font.get(), 77);
    ASSERT_NE(more, nullptr);
    above->Show(0, 0, -1, -1, true);
    ASSERT_EQ(above->GetPriority(), -1);

    const int x = above->GetX() + 20 + font->TextDim("More").GetW() / 2;
    const int y = above->GetY() + 20 + font->TextDim("More").GetH() / 2;
    Click(x, y);
    EXPECT_EQ(log, (Log{"own clicked 6 77 1", "user clicked 6 77 1"}));
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), above);
    EXPECT_EQ(above->GetPriority(), -1);
}

TEST_F(CastMemberDialogInputTest, SliderReportsItsValueWhileDragged)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    const int left = dialog->GetX() + d.slider->GetX();
    const int y = CenterY(dialog, d.slider);

    Press(left + 5, y); // the knob's centre at the start of the track
    EXPECT_EQ(d.slider->GetSliderValue(), 0);
    cast->MouseDrag(left + 55, y);
    cast->MouseDrag(left + 400, y);
    Release(left + 400, y);
    EXPECT_EQ(d.slider->GetSliderValue(), 100);
    EXPECT_EQ(log, (Log{"own set 5 50 0 0", "user set 5 50 0 0", "own set 5 50 50 0",
                        "user set 5 50 50 0", "own set 5 50 100 0", "user set 5 50 100 0"}));
    RunTo(clock.Now() + 20);
    EXPECT_EQ(cast->GetDialog(), dialog);
}

// A track that is see-through beside its groove (two keyed rows above and below) and a knob
// taller than the track, centred across it, as the options dialog has them: where the knob stood,
// a moved knob leaves the dialog exactly as a fresh painting shows it.
TEST_F(CastMemberDialogInputTest, MovedKnobLeavesNoCopyBesideTheGroove)
{
    constexpr int kTrackW = 110, kTrackH = 14, kMargin = 2, kKnobW = 10, kKnobH = 18;
    auto* trackCanvas = new Canvas(kTrackW, kTrackH, nullptr);
    trackCanvas->Clear(kKey);
    Rectangle groove(0, kMargin, kTrackW, kTrackH - 2 * kMargin);
    trackCanvas->FillRect(groove, Color(100, 100, 100));
    Rectangle whole(0, 0, kTrackW, kTrackH);
    Image groovedTrack(trackCanvas, whole);
    groovedTrack.UseTransparency(true, false);
    const Color knobColours[] = {Color(255, 255, 255)};
    std::unique_ptr<Image> knob = Strip(1, kKnobW, kKnobH, knobColours);

    LogDialog* dialog = NewDialog();
    DialogItem* slider =
        dialog->AddSlider(&groovedTrack, &groovedTrack, knob.get(), 50, true, 0, 40, 40, kSliderId);
    slider->SetIndent(-(kKnobH - kTrackH) / 2);
    dialog->Show(1, 0, -1, -1, false);
    RunTo(cast->GetDialogAttachTime() + 400);
    const int left = dialog->GetX() + slider->GetX();
    const int top = dialog->GetY() + slider->GetY();
    // The knob's left edge at 50: half the travel of 100 pixels.
    const int knobX = left + 50;
    ASSERT_TRUE(SameRgb(ScreenPixel(knobX + 4, top), Color(255, 255, 255)))
        << "the knob covers the see-through rows";

    Press(left + 50 + kKnobW / 2, top + kTrackH / 2);
    cast->MouseDrag(left + kKnobW / 2, top + kTrackH / 2);
    Release(left + kKnobW / 2, top + kTrackH / 2);
    RunTo(clock.Now() + 30);
    ASSERT_EQ(slider->GetSliderValue(), 0);
    std::vector<Color> moved;
    for (int y = top; y < top + kTrackH; ++y) {
        for (int x = knobX; x < knobX + kKnobW; ++x) {
            moved.push_back(ScreenPixel(x, y));
        }
    }

    dialog->RepaintAll(nullptr);
    RunTo(clock.Now() + 30);
    size_t n = 0;
    for (int y = top; y < top + kTrackH; ++y) {
        for (int x = knobX; x < knobX + kKnobW; ++x, ++n) {
            EXPECT_TRUE(SameRgb(moved[n], ScreenPixel(x, y)))
                << "at " << x - left << "," << y - top << " of the track";
        }
    }
    EXPECT_TRUE(SameRgb(ScreenPixel(knobX + 4, top), kBack));
}

TEST_F(CastMemberDialogInputTest, ListBoxClickSelectsTheLineUnderTheMouseBeforeAnyPaint)
{
    LogDialog* dialog = NewDialog();
    const FullDialog d = BuildFullDialog(dialog);
    dialog->Show(1, 0, -1, -1, false);
    // Straight after Show: nothing has measured the list box's lines yet.
    const int lineHeight = font->TextDim("W").GetH();
    const int x = dialog->GetX() + d.listBox->GetX() + 20;
    const int y = dialog->GetY() + d.listBox->GetY() + lineHeight + lineHeight / 2;
    EXPECT_TRUE(dialog->MouseDown(x, y, 1));
    dialog->MouseUp(x, y, 1);
    EXPECT_EQ(d.listBox->GetListBoxIndex(), 1);
}

TEST_F(CastMemberDialogInputTest, ClosingDialogIgnoresFadesUntilItHasFadedOut)
{
    LogDialog* dialog = NewDialog();
    dialog->AddText("Going", 10, 10, 0, kText, font.get());
    dialog->InitFade(0, 300, 255);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, dialog->GetItemByID(1));
    ASSERT_TRUE(dialog->IsClosing());

    dialog->FadeIn(255, 10, nullptr);
    dialog->FadeShow(255, 10, nullptr);
    dialog->FadeOut(200, 10, nullptr);
    dialog->FadeHide(10, nullptr);
    RunTo(clock.Now() + 150);
    EXPECT_GT(dialog->GetAlpha(), 0);
    EXPECT_LT(dialog->GetAlpha(), 255);
    EXPECT_EQ(cast->GetDialog(), dialog) << "still fading out";
    RunTo(clock.Now() + 170);
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_EQ(log.back(), "user detached 5");

    // The next showing fades out again: only that closing's copy of the time was used up.
    dialog->SetListener(&user);
    dialog->Show(1, 0, -1, -1, false);
    ClickItem(dialog, dialog->GetItemByID(1));
    RunTo(clock.Now() + 150);
    EXPECT_EQ(cast->GetDialog(), dialog);
    RunTo(clock.Now() + 170);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

TEST_F(CastMemberDialogInputTest, DraggedOffTheScreenComesBackAndKeepsItsPriority)
{
    LogDialog* dialog = ShowSimple(1);
    const int x = dialog->GetX() + 5;
    const int y = dialog->GetY() + 5;
    Press(x, y);
    ASSERT_EQ(cast->GetDragObj(), dialog);
    cast->MouseDrag(2, 2);
    EXPECT_EQ(dialog->GetX(), -3);
    Release(2, 2);
    EXPECT_EQ(dialog->GetX(), 0);
    EXPECT_EQ(dialog->GetY(), 0);
    EXPECT_EQ(dialog->GetPriority(), 1);
    RunTo(clock.Now() + 100);
    EXPECT_EQ(dialog->GetX(), 0) << "no glide back";

    Press(dialog->GetX() + 5, dialog->GetY() + 5);
    cast->MouseDrag(200, 150);
    Release(200, 150);
    EXPECT_EQ(dialog->GetX(), 195);
    EXPECT_EQ(dialog->GetPriority(), 1);
}

struct TimeCase
{
    int limit;
    unsigned int firesAt; // after the first frame
};

TEST_F(CastMemberDialogInputTest, TimeLimitFiresWhenTheScriptFirstFindsIt)
{
    const TimeCase cases[] = {{500, 1001}, {1000, 1001}, {3000, 3000}};
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.limit);
        LogDialog* dialog = NewDialog();
        dialog->AddText("Hurry", 10, 10, 0, kText, font.get());
        dialog->Show(0, c.limit, -1, -1, false);
        FrameAt(clock.Now() + 10);
        const unsigned int first = clock.Now();
        ASSERT_EQ(dialog->GetState(), 1);
        log.clear();

        RunTo(first + c.firesAt - 1);
        EXPECT_TRUE(log.empty());
        FrameAt(first + c.firesAt);
        EXPECT_EQ(log, (Log{"own timesup 5", "user timesup 5"}));
        RunTo(clock.Now() + 20);
        EXPECT_EQ(cast->GetDialog(), nullptr);
    }
}

TEST_F(CastMemberDialogInputTest, NoTimeLimitNeverTimesOutAndAShownAgainDialogTimesOutAgain)
{
    LogDialog* dialog = NewDialog();
    dialog->AddText("Wait", 10, 10, 0, kText, font.get());
    dialog->Show(1, 0, -1, -1, false);
    RunTo(clock.Now() + 5000);
    EXPECT_TRUE(log.empty());
    ClickItem(dialog, dialog->GetItemByID(2));
    RunTo(clock.Now() + 20);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        log.clear();
        dialog->SetListener(&user);
        dialog->Show(1, 500, -1, -1, false);
        RunTo(clock.Now() + 1200);
        EXPECT_EQ(std::count(log.begin(), log.end(), "user timesup 5"), 1);
        EXPECT_EQ(cast->GetDialog(), nullptr);
    }
}

TEST_F(CastMemberDialogInputTest, HiddenDialogDetachesAtOnce)
{
    LogDialog* dialog = ShowSimple(1);
    dialog->Hide();
    dialog->DetachDialog();
    EXPECT_EQ(log, (Log{"own detached 5", "user detached 5"}));
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

} // namespace
