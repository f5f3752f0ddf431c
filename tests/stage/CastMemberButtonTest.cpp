#include "framework/stage/CastMemberButton.h"

#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "tests/stage/StageTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A four-look sheet (normal, highlighted, held, disabled) of 30 x 20 looks.
ImageResource* FourLooks()
{
    auto* sheet = new ImageResource(120, 20, 4, 1);
    for (int look = 0; look < 4; ++look) {
        Rectangle cell(static_cast<short>(look * 30), 0, 30, 20);
        sheet->FillRect(cell, Color(static_cast<unsigned char>(40 * (look + 1)), 0, 0));
    }
    return sheet;
}

using stagetest::ClickLog;

class CastMemberButtonTest : public stagetest::StageTest
{
protected:
    void SetUp() override
    {
        OpenStage();
        looks = std::make_unique<Image>(FourLooks(), 0, 0, 1);
    }
    void TearDown() override
    {
        manager.reset();
        looks.reset();
        CloseStage();
    }

    // A button at (100, 100), 30 x 20, with id 7; the stage deletes it.
    CastMemberButton* MakeButton()
    {
        return new CastMemberButton(cast, looks.get(), 7, 100, 100, 1);
    }

    std::unique_ptr<Image> looks;
};

} // namespace

TEST_F(CastMemberButtonTest, PointerHandlersShowTheLooksWhileEnabled)
{
    CastMemberButton* button = MakeButton();
    EXPECT_EQ(button->GetClassMemberType(), CastMember::kButtonKind);
    EXPECT_EQ(button->GetName(), "CastMemberButton");
    EXPECT_TRUE(button->AllowInput());
    EXPECT_TRUE(button->AllowClicks());
    EXPECT_EQ(button->GetFrame(), 0);

    using Step = std::function<void(CastMemberButton*)>;
    const struct
    {
        const char* name;
        Step step;
        int enabledLook;
    } steps[] = {
        {"enter", [](CastMemberButton* b) { b->OnMouseEnter(105, 105); }, 1},
        {"over", [](CastMemberButton* b) { b->OnMouseOver(105, 105, true); }, 2},
        {"off", [](CastMemberButton* b) { b->OnMouseOver(105, 105, false); }, 0},
        {"press", [](CastMemberButton* b) { b->OnMouseDown(105, 105, 1); }, 1},
        {"release", [](CastMemberButton* b) { b->OnMouseUp(105, 105, 1); }, 0},
        {"enter again", [](CastMemberButton* b) { b->OnMouseEnter(105, 105); }, 1},
        {"exit", [](CastMemberButton* b) { b->OnMouseExit(200, 200); }, 0},
    };
    for (const auto& s : steps) {
        s.step(button);
        EXPECT_EQ(button->GetFrame(), s.enabledLook) << s.name;
    }
    EXPECT_FALSE(button->GetPressedOver());

    // Disabled: look 3 through every handler, and enabling shows look 0 again.
    button->SetEnabled(false);
    EXPECT_FALSE(button->GetEnabled());
    for (const auto& s : steps) {
        s.step(button);
        EXPECT_EQ(button->GetFrame(), 3) << s.name << " while disabled";
    }
    button->SetEnabled(true);
    EXPECT_EQ(button->GetFrame(), 0);
}

TEST_F(CastMemberButtonTest, ClickReportsIdAndButtonOnlyWhileEnabled)
{
    CastMemberButton* button = MakeButton();
    EXPECT_FALSE(button->Clicked(nullptr, 1)) << "no listener: dropped";

    ClickLog log;
    button->SetButtonListener(&log);
    EXPECT_FALSE(button->Clicked(nullptr, 3));
    EXPECT_EQ(log.clicks, (std::vector<std::pair<int, int>>{{7, 3}}));

    // Through the stage: hover, press and release.
    log.clicks.clear();
    cast->MouseMove(110, 110);
    EXPECT_EQ(button->GetFrame(), 2);
    cast->MouseDown(110, 110, 1);
    EXPECT_EQ(button->GetFrame(), 1);
    cast->MouseUp(110, 110, 1);
    EXPECT_EQ(button->GetFrame(), 0);
    EXPECT_EQ(log.clicks, (std::vector<std::pair<int, int>>{{7, 1}}));

    log.clicks.clear();
    button->SetEnabled(false);
    cast->MouseDown(110, 110, 1);
    cast->MouseUp(110, 110, 1);
    EXPECT_FALSE(button->Clicked(nullptr, 1));
    EXPECT_TRUE(log.clicks.empty());
    EXPECT_EQ(button->GetFrame(), 3);
}

TEST_F(CastMemberButtonTest, BlinkLightsForTheOnTimeAndEndsOnTheNormalLook)
{
    CastMemberButton* button = MakeButton();
    button->Animate(1000);
    button->Blink(1, 250);

    // Two 1 ms steps start the run, then look 1 for 250 ms.
    const struct
    {
        unsigned int now;
        int look;
    } once[] = {{1001, 0}, {1002, 1}, {1100, 1}, {1251, 1}, {1252, 0}, {1600, 0}};
    for (const auto& s : once) {
        button->Animate(s.now);
        EXPECT_EQ(button->GetFrame(), s.look) << "at " << s.now;
    }
    EXPECT_EQ(button->GetBlinkState(), 0);

    // Three blinks at the default 100 ms: lit, dark, lit, dark, lit, dark.
    CastMemberButton* other = MakeButton();
    other->Animate(2000);
    other->Blink(3);
    other->Animate(2001);
    std::vector<int> looks;
    for (unsigned int t = 2002; t <= 2602; t += 100) {
        other->Animate(t);
        looks.push_back(other->GetFrame());
    }
    EXPECT_EQ(looks, (std::vector<int>{1, 0, 1, 0, 1, 0, 0}));
}

TEST_F(CastMemberButtonTest, BlinkRunsEndInTheRestStateWithoutACue)
{
    struct : CueListener
    {
        void Cue(CastMember*, int cue, int) override { cues.push_back(cue); }
        std::vector<int> cues;
    } log;
    CastMemberButton* button = MakeButton();
    button->SetCueListener(&log);
    button->SetBlinkCue();
    button->Animate(0);
    button->Blink(-1);
    button->Animate(1);
    int lit = 0;
    for (unsigned int t = 2; t < 2000; t += 100) {
        button->Animate(t);
        lit += button->GetFrame() == 1 ? 1 : 0;
    }
    EXPECT_EQ(lit, 10);
    EXPECT_TRUE(log.cues.empty());

    button->StopBlinking();
    for (unsigned int t = 2000; t < 2400; t += 50) {
        button->Animate(t);
    }
    EXPECT_EQ(button->GetFrame(), 0);
    EXPECT_EQ(button->GetBlinkState(), 0);
    EXPECT_TRUE(log.cues.empty());

    // A counted run asked for a cue ends the same way.
    button->SetBlinkCue();
    button->Blink(2, 50);
    std::vector<int> seen;
    for (unsigned int t = 2400; t < 2800; t += 10) {
        button->Animate(t);
        if (seen.empty() || seen.back() != button->GetFrame()) {
            seen.push_back(button->GetFrame());
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(button->GetBlinkState(), 0);
    EXPECT_TRUE(log.cues.empty());
}

TEST_F(CastMemberButtonTest, BlinkingDisabledButtonRestsOnTheDisabledLook)
{
    CastMemberButton* button = MakeButton();
    button->SetEnabled(false);
    button->Animate(0);
    button->Blink(1, 50);
    for (unsigned int t = 1; t < 200; ++t) {
        button->Animate(t);
    }
    EXPECT_EQ(button->GetFrame(), 3);
}

TEST_F(CastMemberButtonTest, ButtonOnASheetDeletesTheSheetWithItself)
{
    ImageResource* sheet = FourLooks();
    const std::weak_ptr<const void> alive = sheet->AliveToken();
    auto* button = new CastMemberButton(cast, 3, 10, 10, 1, sheet);
    EXPECT_EQ(button->GetW(), 30);
    EXPECT_EQ(button->GetH(), 20);
    button->SetFrame(2, 0);
    EXPECT_EQ(button->GetFrame(), 2);
    EXPECT_FALSE(alive.expired());

    delete button;
    EXPECT_TRUE(alive.expired());
}
