#include "framework/dialogs/CastMemberPopupDialog.h"

#include "SDL.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/GameTime.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class CastMemberPopupDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        screen = SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight,
                                  32, 0);
        ASSERT_NE(screen, nullptr);
        Canvas::SetDefaultPixelFormat(screen->format);
        manager = std::make_unique<AnimationManager>(nullptr, screen, false);
        cast = manager->GetCast();
        auto* canvas = new Canvas(200, 100, nullptr);
        canvas->Clear(Color(40, 60, 200));
        Rectangle whole(0, 0, 200, 100);
        back = std::make_unique<Image>(canvas, whole);
        Frame(clock.Now());
        popup = std::make_unique<CastMemberPopupDialog>(cast, 4, nullptr);
        popup->SetBackImage(back.get());
    }
    void TearDown() override
    {
        popup.reset();
        manager.reset();
        Canvas::SetDefaultPixelFormat(nullptr);
    }

    void Frame(unsigned int t)
    {
        clock.Set(t);
        manager->DoIt();
    }

    // Shows the pop-up at tick `start` (its first frame follows at once) and gives its scale at
    // each of the ticks after start.
    std::vector<float> ScalesAfterShow(unsigned int start, const std::vector<unsigned int>& at)
    {
        clock.Set(start);
        popup->Show(0, 0, -1, -1, false);
        std::vector<float> scales;
        for (unsigned int t : at) {
            Frame(start + t);
            scales.push_back(popup->GetScale());
        }
        return scales;
    }

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    std::unique_ptr<Image> back;
    std::unique_ptr<CastMemberPopupDialog> popup;
};

TEST_F(CastMemberPopupDialogTest, FadesHasAShadowAndDrags)
{
    EXPECT_EQ(popup->GetName(), "CastMemberPopupDialog");
    EXPECT_EQ(popup->GetClassMemberType(), CastMember::kImageDialogKind);
    EXPECT_EQ(popup->GetFadeInTime(), 200);
    EXPECT_EQ(popup->GetFadeOutTime(), 200);
    EXPECT_EQ(popup->GetShadowPos().GetX(), 7);
    EXPECT_EQ(popup->GetShadowPos().GetY(), 7);
    EXPECT_TRUE(popup->AllowDragging());
    EXPECT_FLOAT_EQ(popup->GetStartScale(), 0.1f);
    EXPECT_FLOAT_EQ(popup->GetPeakScale(), 1.1f);
    EXPECT_EQ(popup->GetGrowTime(), 200);
    EXPECT_EQ(popup->GetPause(), 0);
    EXPECT_EQ(popup->GetSettleTime(), 150);
}

TEST_F(CastMemberPopupDialogTest, ScaleTimesAreKeptInRange)
{
    popup->InitScaleToOnShow(0.5f, 1.2f, 0, 5000, 0);
    EXPECT_FLOAT_EQ(popup->GetStartScale(), 0.5f);
    EXPECT_FLOAT_EQ(popup->GetPeakScale(), 1.2f);
    EXPECT_EQ(popup->GetGrowTime(), 1);
    EXPECT_EQ(popup->GetPause(), 1000);
    EXPECT_EQ(popup->GetSettleTime(), 1);
}

TEST_F(CastMemberPopupDialogTest, GrowsPastFullSizeThenSettles)
{
    // 0.1 to 1.1 in 200 ms, then at once back to 1.0 in 150 ms.
    const std::vector<unsigned int> at = {0, 100, 200, 275, 350, 500};
    const std::vector<float> expected = {0.1f, 0.6f, 1.1f, 1.05f, 1.0f, 1.0f};
    const std::vector<float> scales = ScalesAfterShow(2000, at);
    ASSERT_EQ(scales.size(), expected.size());
    for (size_t i = 0; i < at.size(); ++i) {
        EXPECT_NEAR(scales[i], expected[i], 0.005f) << "at +" << at[i] << " ms";
    }
    EXPECT_TRUE(popup->ScaleIsFullSize());
    EXPECT_FALSE(popup->IsPopUpPending());
    EXPECT_EQ(cast->GetDialog(), popup.get());
}

TEST_F(CastMemberPopupDialogTest, PauseHoldsThePeak)
{
    popup->InitScaleToOnShow(0.5f, 1.2f, 100, 300, 100);
    const std::vector<unsigned int> at = {0, 50, 100, 250, 399, 400, 450, 500, 600};
    const std::vector<float> expected = {0.5f, 0.85f, 1.2f, 1.2f, 1.2f, 1.2f, 1.1f, 1.0f, 1.0f};
    const std::vector<float> scales = ScalesAfterShow(2000, at);
    for (size_t i = 0; i < at.size(); ++i) {
        EXPECT_NEAR(scales[i], expected[i], 0.005f) << "at +" << at[i] << " ms";
    }
}

TEST_F(CastMemberPopupDialogTest, KeysWaitUntilItIsFullSize)
{
    popup->InitButton(back.get(), Point(0, 0), 1, 1);
    popup->SetFadeOutTime(0);
    clock.Set(2000);
    popup->Show(0, 0, -1, -1, false);
    Frame(2050);
    ASSERT_FALSE(popup->ScaleIsFullSize());
    EXPECT_TRUE(popup->KeyDown(SDLK_RETURN, KMOD_NONE, 13, false));
    EXPECT_EQ(cast->GetDialog(), popup.get());

    // Growing started with the first frame (2050): the peak at 2250, full size at 2400.
    Frame(2250);
    Frame(2400);
    ASSERT_TRUE(popup->ScaleIsFullSize());
    popup->KeyDown(SDLK_RETURN, KMOD_NONE, 13, false);
    EXPECT_EQ(cast->GetDialog(), nullptr);
}

} // namespace
