#include "framework/dialogs/CastMemberDialogImage.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Color.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/DialogListener.h"
#include "framework/stage/GameTime.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LogListener.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::Log;

const Color kKey(255, 0, 255);
const Color kBack(40, 60, 200);
const Color kOverlay(250, 250, 0);
const Color kBorder(255, 0, 0);
const Color kButtonLooks[4] = {Color(0, 120, 0), Color(0, 180, 0), Color(0, 240, 0),
                               Color(90, 90, 90)};
const Color kBoxLooks[4] = {Color(200, 200, 200), Color(0, 0, 0), Color(100, 100, 100),
                            Color(50, 50, 50)};
constexpr int kDialogId = 5;
constexpr int kButtonW = 40;
constexpr int kButtonH = 20;

// Their pixel (0, 0) is dialogtest::kKey, the same magenta as kKey.
using dialogtest::Plain;
using dialogtest::Strip;

using testsupport::SameRgb;

using testsupport::LogListener;

class LogImageDialog : public CastMemberDialogImage
{
public:
    LogImageDialog(Cast* cast, DialogListener* listener, Log* log)
        : CastMemberDialogImage(cast, kDialogId, nullptr, listener), _log(log)
    {}
    void DialogButtonClicked(int dialogId, int itemId, int how) override
    {
        _log->push_back("own clicked " + std::to_string(dialogId) + " " + std::to_string(itemId) +
                        " " + std::to_string(how));
    }
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override
    {
        _log->push_back("own set " + std::to_string(dialogId) + " " + std::to_string(itemId) + " " +
                        std::to_string(value) + " " + std::to_string(state));
    }
    bool ValidateCloseDialog() override { return validates; }

    bool validates = true;

private:
    Log* _log;
};

class CastMemberDialogImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(dialogtest::OpenVideoStage(clock, &screen, &manager));
        cast = manager->GetCast();
        font = std::make_unique<Font>(mediatest::SansFont(), 14);
        buttonImage = Strip(4, kButtonW, kButtonH, kButtonLooks);
        boxImage = Strip(4, 12, 12, kBoxLooks);
        back = Plain(200, 100, kBack);
        Frame(clock.Now());
    }
    void TearDown() override
    {
        dialog.reset();
        manager.reset();
        font.reset();
        buttonImage.reset();
        boxImage.reset();
        back.reset();
        dialogtest::CloseVideoStage();
    }

    void Frame(unsigned int t)
    {
        clock.Set(t);
        manager->DoIt();
    }

    // A dialog on the stage with the back image, closing at once (no fade-out).
    LogImageDialog* Make()
    {
        dialog = std::make_unique<LogImageDialog>(cast, &user, &log);
        dialog->SetBackImage(back.get());
        dialog->SetFadeOutTime(0);
        return dialog.get();
    }

    // A press and a release of a mouse button at the centre of an item, through the stage.
    void Click(DialogItem* item, int button)
    {
        Frame(clock.Now() + 400); // the stage ignores presses for a moment after an attach
        const int x = dialog->GetX() + item->GetX() + item->GetFrameWidth() / 2;
        const int y = dialog->GetY() + item->GetY() + item->GetFrameHeight() / 2;
        cast->MouseDown(x, y, button);
        cast->MouseUp(x, y, button);
    }

    Color CanvasPixel(int x, int y)
    {
        Canvas* canvas = dialog->GetCanvas();
        canvas->Lock();
        const Color c = canvas->GetPixel(x, y);
        canvas->Unlock();
        return c;
    }

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    std::unique_ptr<Font> font;
    std::unique_ptr<Image> buttonImage;
    std::unique_ptr<Image> boxImage;
    std::unique_ptr<Image> back;
    Log log;
    LogListener user{&log};
    std::unique_ptr<LogImageDialog> dialog;
};

TEST_F(CastMemberDialogImageTest, IsTheImageDialogKind)
{
    Make();
    EXPECT_EQ(dialog->GetClassMemberType(), CastMember::kImageDialogKind);
    EXPECT_EQ(dialog->GetName(), "DialogImage");
}

TEST_F(CastMemberDialogImageTest, BackImageSizesTheSpriteUpToTheScreenAndTheCanvasWhole)
{
    auto large = Plain(1000, 700, kBack);
    Make();
    dialog->SetBackImage(large.get());
    dialog->Show(0, 0, -1, -1, false, 0);
    EXPECT_EQ(dialog->GetW(), AnimationManager::kScreenWidth);
    EXPECT_EQ(dialog->GetH(), AnimationManager::kScreenHeight);
    ASSERT_NE(dialog->GetCanvas(), nullptr);
    EXPECT_EQ(dialog->GetCanvas()->GetW(), 1000);
    EXPECT_EQ(dialog->GetCanvas()->GetH(), 700);
    EXPECT_EQ(cast->GetDialog(), dialog.get());
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(dialog->GetX(), 0);
    EXPECT_EQ(dialog->GetY(), 0);
    dialog->DetachDialog();
    dialog->SetBackImage(back.get());
}

TEST_F(CastMemberDialogImageTest, ShowCentresOrPlacesAndSetsTheTimeLimit)
{
    Make();
    dialog->Show(0, 2500, -1, -1, false, 0);
    EXPECT_EQ(dialog->GetX(), 300);
    EXPECT_EQ(dialog->GetY(), 250);
    EXPECT_EQ(dialog->GetTimeLimit(), 2500);
    EXPECT_EQ(dialog->GetW(), 200);

    // Shown again after closing, at a place of its own.
    dialog->DetachDialog();
    EXPECT_EQ(cast->GetDialog(), nullptr);
    dialog->Show(0, 0, 30, 40, false, 0);
    EXPECT_EQ(dialog->GetX(), 30);
    EXPECT_EQ(dialog->GetY(), 40);
    EXPECT_EQ(cast->GetDialog(), dialog.get());
}

TEST_F(CastMemberDialogImageTest, WithoutBackImageNothingIsShown)
{
    dialog = std::make_unique<LogImageDialog>(cast, &user, &log);
    dialog->Show(0, 0, -1, -1, false, 0);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(cast->GetDialog(), nullptr);
    EXPECT_EQ(testsupport::CountLogLines("needs a back image"), 1);
}

TEST_F(CastMemberDialogImageTest, DescribedButtonsBecomeButtonsAtEveryShowing)
{
    Make();
    dialog->InitButton(buttonImage.get(), Point(10, 70), 1, 1);
    dialog->InitButton(buttonImage.get(), Point(60, 70), 2, 2);
    dialog->InitButton(buttonImage.get(), Point(110, 70), 3, 3);
    dialog->InitButton(nullptr, Point(150, 70), 4, 0); // no image: no button
    dialog->Show(0, 0, -1, -1, false, 0);

    ASSERT_EQ(dialog->GetButtons().size(), 3u);
    ASSERT_NE(dialog->GetEnterKeyItem(), nullptr);
    EXPECT_EQ(dialog->GetEnterKeyItem()->GetID(), 1);
    ASSERT_NE(dialog->GetEscKeyItem(), nullptr);
    EXPECT_EQ(dialog->GetEscKeyItem()->GetID(), 2);
    DialogItem* third = dialog->GetItemByID(3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->GetX(), 110);
    EXPECT_EQ(third->GetY(), 70);
    EXPECT_EQ(third->GetExit(), 3);

    // The descriptions stay: each showing adds the buttons again, and the keys go to the new
    // ones, which lie over the old ones.
    DialogItem* firstOk = dialog->GetEnterKeyItem();
    dialog->DetachDialog();
    dialog->Show(0, 0, -1, -1, false, 0);
    ASSERT_EQ(dialog->GetButtons().size(), 6u);
    EXPECT_NE(dialog->GetEnterKeyItem(), firstOk);
    EXPECT_EQ(dialog->GetEnterKeyItem(), dialog->GetButtons()[3]);
    EXPECT_EQ(dialog->GetEscKeyItem(), dialog->GetButtons()[4]);
    EXPECT_EQ(dialog->GetButtons()[3]->GetX(), 10);
}

// A click on a button of each exit code, with a check box that was ticked but not committed
// and one that reports at once.
TEST_F(CastMemberDialogImageTest, ButtonsDecideByTheirExitCode)
{
    struct Case
    {
        int exitCode;
        bool validates;
        bool closes;
        bool committed; // the ticked box's saved state afterwards
        bool ticked;    // its current state afterwards
        Log reports;
    };
    const Case cases[] = {
        {0, true, false, false, true, {"own clicked 5 7 3", "user clicked 5 7 3"}},
        {1,
         true,
         true,
         true,
         true,
         {"own set 5 10 0 1", "user set 5 10 0 1", "user detached 5", "own clicked 5 7 3",
          "user clicked 5 7 3"}},
        {1, false, false, false, true, {}},
        {2,
         true,
         true,
         false,
         false,
         {"user detached 5", "own clicked 5 7 3", "user clicked 5 7 3"}},
        {3,
         true,
         true,
         false,
         true,
         {"user detached 5", "own clicked 5 7 3", "user clicked 5 7 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("exit code " + std::to_string(c.exitCode) + (c.validates ? "" : ", refused"));
        log.clear();
        Make();
        dialog->validates = c.validates;
        dialog->InitButton(buttonImage.get(), Point(20, 60), 7, c.exitCode);
        DialogItem* box = dialog->AddCheckBox("Sound", 20, 10, 10, false, 4, Color(0, 0, 0),
                                              font.get(), false, boxImage.get());
        DialogItem* immediate = dialog->AddCheckBox("Music", 20, 30, 11, false, 4, Color(0, 0, 0),
                                                    font.get(), true, boxImage.get());
        ASSERT_NE(box, nullptr);
        ASSERT_NE(immediate, nullptr);
        dialog->Show(0, 0, -1, -1, false, 0);
        box->SetChecked(true);
        immediate->SetChecked(true);

        Click(dialog->GetItemByID(7), 3);
        EXPECT_EQ(log, c.reports);
        EXPECT_EQ(cast->GetDialog(), c.closes ? nullptr : dialog.get());
        EXPECT_EQ(box->GetSavedChecked(), c.committed);
        EXPECT_EQ(box->GetChecked(), c.ticked);
        // An item that reports at once is never committed by the confirming button.
        EXPECT_FALSE(immediate->GetSavedChecked());
        EXPECT_EQ(dialog->GetPressedItem(), nullptr);
        dialog.reset();
    }
}

TEST_F(CastMemberDialogImageTest, ReleaseOutsideTheButtonReportsNothing)
{
    Make();
    dialog->InitButton(buttonImage.get(), Point(20, 60), 7, 0);
    dialog->Show(0, 0, -1, -1, false, 0);
    DialogItem* button = dialog->GetItemByID(7);
    Frame(clock.Now() + 400);
    const int x = dialog->GetX() + 30;
    const int y = dialog->GetY() + 70;
    cast->MouseDown(x, y, 1);
    EXPECT_EQ(dialog->GetPressedItem(), button);
    cast->MouseUp(x + 100, y, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(button->GetChecked());
    EXPECT_EQ(dialog->GetPressedItem(), nullptr);
    EXPECT_EQ(cast->GetDialog(), dialog.get());
}

TEST_F(CastMemberDialogImageTest, CanvasShowsTheBackImageOnceWithOverlayAndNoBorder)
{
    auto overlay = Plain(10, 10, kOverlay);
    Make();
    dialog->InitBorders(kBorder, kBorder, 3);
    dialog->InitOverlay(overlay.get(), Point(50, 40));
    dialog->Show(0, 0, -1, -1, false, 0);
    EXPECT_TRUE(SameRgb(CanvasPixel(0, 0), kBack));
    EXPECT_TRUE(SameRgb(CanvasPixel(199, 99), kBack));
    EXPECT_TRUE(SameRgb(CanvasPixel(2, 50), kBack));
    EXPECT_TRUE(SameRgb(CanvasPixel(55, 45), kOverlay));
    EXPECT_TRUE(SameRgb(CanvasPixel(61, 45), kBack));
    EXPECT_FALSE(dialog->GetCanvas()->HasColorKey());

    // On the screen: the dialog at its place.
    Frame(clock.Now() + 20);
    EXPECT_TRUE(SameRgb(manager->GetPixel(dialog->GetX() + 2, dialog->GetY() + 2), kBack));
    EXPECT_TRUE(SameRgb(manager->GetPixel(dialog->GetX() + 55, dialog->GetY() + 45), kOverlay));
}

TEST_F(CastMemberDialogImageTest, TransparentDialogTakesItsKeyFromTheBackImage)
{
    // Pixel (0, 0) of the back image is the key.
    auto keyed = Strip(1, 80, 40, kButtonLooks);
    Make();
    dialog->SetBackImage(keyed.get());
    dialog->UseTransparentBackground();
    dialog->Show(0, 0, -1, -1, false, 0);
    ASSERT_TRUE(dialog->GetCanvas()->HasColorKey());
    EXPECT_TRUE(SameRgb(dialog->GetCanvas()->GetColorKey(), kKey));
    dialog->DetachDialog();

    // A back image with a colour key of its own gives the dialog that key where it is clear.
    auto own = Plain(80, 40, kBack);
    Rectangle hole(10, 10, 5, 5);
    own->GetCanvas()->FillRect(hole, kOverlay);
    own->GetCanvas()->UseTransparency(kOverlay, false);
    dialog->SetBackImage(own.get());
    dialog->Show(0, 0, -1, -1, false, 0);
    ASSERT_TRUE(dialog->GetCanvas()->HasColorKey());
    EXPECT_TRUE(SameRgb(dialog->GetCanvas()->GetColorKey(), kOverlay));
    EXPECT_TRUE(SameRgb(CanvasPixel(12, 12), kOverlay));
    EXPECT_TRUE(SameRgb(CanvasPixel(0, 0), kBack));
    dialog.reset();
}

} // namespace
