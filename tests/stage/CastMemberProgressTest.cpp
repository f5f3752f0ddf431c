#include "framework/stage/CastMemberProgress.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/stage/Cast.h"
#include "framework/stage/GameTime.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/stage/StageTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

const Color kBackground(0, 160, 0);
const Color kFrame(255, 255, 255);
const Color kBar(0, 0, 255);
const Color kUnder(40, 40, 40);

class CastMemberProgressTest : public stagetest::PaintedStageTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        font = std::make_unique<Font>(mediatest::SansFont(), 12, 0);
        OpenPaintedStage();
        // A bar 102 x 20 at (100, 100): 100 pixels inside the frame.
        bar = new CastMemberProgress(cast, font.get(), kFrame, kBar, 102, 20, 100, 100, 1);
        bar->SetUnderColor(kUnder);
    }
    void TearDown() override
    {
        ClosePaintedStage();
        font.reset();
    }

    void PaintAll() { PaintedStageTest::PaintAll(kBackground); }

    // Pixels of row y from x0 to x1 (exclusive) that are exactly c.
    int CountRow(int y, int x0, int x1, const Color& c)
    {
        int n = 0;
        for (int x = x0; x < x1; ++x) {
            n += paint->GetPixel(x, y).Equals(c) ? 1 : 0;
        }
        return n;
    }

    std::unique_ptr<Font> font;
    CastMemberProgress* bar = nullptr; // the stage deletes it
};

} // namespace

TEST_F(CastMemberProgressTest, PercentFillsThatShareOfTheInside)
{
    EXPECT_EQ(bar->GetClassMemberType(), CastMember::kProgressKind);
    EXPECT_EQ(bar->GetName(), "CastMemberProgress");
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetW(), 102);
    EXPECT_EQ(bar->GetH(), 20);

    const struct
    {
        int asked;
        int stored;
        int filled;
    } cases[] = {{50, 50, 50}, {150, 100, 100}, {-3, 0, 0}, {33, 33, 33}, {100, 100, 100}};
    for (const auto& c : cases) {
        bar->SetPercent(c.asked);
        EXPECT_EQ(bar->GetPercent(), c.stored) << "asked " << c.asked;
        PaintAll();
        EXPECT_EQ(CountRow(110, 101, 201, kBar), c.filled) << "asked " << c.asked;
        EXPECT_EQ(CountRow(110, 101, 201, kUnder), 100 - c.filled) << "asked " << c.asked;
        EXPECT_EQ(paint->GetPixel(100, 110), kFrame);
        EXPECT_EQ(paint->GetPixel(201, 110), kFrame);
        EXPECT_EQ(paint->GetPixel(150, 100), kFrame);
        EXPECT_EQ(paint->GetPixel(99, 110), kBackground);
        EXPECT_EQ(paint->GetPixel(202, 110), kBackground);
    }
    bar->SetPercent(50);
    PaintAll();
    EXPECT_EQ(paint->GetPixel(101, 110), kBar);
    EXPECT_EQ(paint->GetPixel(150, 110), kBar);
    EXPECT_EQ(paint->GetPixel(151, 110), kUnder);
}

TEST_F(CastMemberProgressTest, CaptionKeepsNinetyCharactersAndAClampedNumber)
{
    const std::string long120(120, 'x');
    const struct
    {
        int value;
        const char* suffix;
    } cases[] = {{150, " 100"}, {-5, " 0"}, {42, " 42"}};
    for (const auto& c : cases) {
        bar->SetText(long120, c.value);
        EXPECT_EQ(bar->GetCaption(), std::string(90, 'x') + c.suffix);
    }
    bar->SetText("Loading", 7);
    EXPECT_EQ(bar->GetCaption(), "Loading 7");
    bar->SetText("Plain");
    EXPECT_EQ(bar->GetCaption(), "Plain");
}

TEST_F(CastMemberProgressTest, CaptionIsPlacedOnceAtItsFirstPaint)
{
    EXPECT_EQ(bar->GetTextX(), -999);
    bar->SetText("ab", 1);
    PaintAll();
    const int width = font->TextDim("ab 1").GetW();
    EXPECT_EQ(bar->GetTextX(), (102 - width) / 2 - 10);
    const int placed = bar->GetTextX();

    bar->SetText("a much longer caption", 99);
    PaintAll();
    EXPECT_EQ(bar->GetTextX(), placed);
    // The caption is drawn over the bar: some pixels of the inside are neither bar nor under.
    const int inside = CountRow(110, 101, 201, kUnder) + CountRow(110, 101, 201, kBar);
    EXPECT_LT(inside, 100);
}

TEST_F(CastMemberProgressTest, CaptionAlphaOfItsOwnOrTheSprites)
{
    bar->SetTextColor(Color(255, 255, 0));
    bar->SetText("WWWW", 0);
    bar->SetTextAlpha(1); // almost invisible caption
    PaintAll();
    const int hidden = CountRow(110, 101, 201, kUnder);
    EXPECT_GE(hidden, 95);

    bar->SetTextAlpha(0); // follows the sprite's alpha (255) again
    PaintAll();
    EXPECT_LT(CountRow(110, 101, 201, kUnder), hidden);
}

TEST_F(CastMemberProgressTest, TransparencySwitchesTheColourKey)
{
    bar->UseTransparency(true);
    ASSERT_TRUE(bar->GetCanvas()->HasColorKey());
    EXPECT_EQ(bar->GetCanvas()->GetColorKey(), Color(254, 0, 254));
    bar->UseTransparency(false);
    EXPECT_FALSE(bar->GetCanvas()->HasColorKey());
    bar->UseTransparency(Color(1, 2, 3));
    EXPECT_EQ(bar->GetCanvas()->GetColorKey(), Color(1, 2, 3));
}

TEST_F(CastMemberProgressTest, ScaledBarShowsTheCurrentPercent)
{
    bar->SetScale(0.5f);
    EXPECT_EQ(bar->GetScaledWidth(), 51);
    EXPECT_EQ(bar->GetScaledX(), 100 + (102 - 51) / 2);
    EXPECT_EQ(bar->GetScaledY(), 100 + (20 - bar->GetScaledHeight()) / 2);

    bar->SetPercent(100);
    PaintAll();
    const int y = bar->GetScaledY() + bar->GetScaledHeight() / 2;
    const int x0 = bar->GetScaledX() + 2;
    const int x1 = bar->GetScaledX() + bar->GetScaledWidth() - 2;
    int blue = 0;
    for (int x = x0; x < x1; ++x) {
        blue += paint->GetPixel(x, y).GetB() > 200 ? 1 : 0;
    }
    EXPECT_GE(blue, x1 - x0 - 2) << "the scaled look was made after the percent changed";
}
