#include "framework/stage/CastMemberText.h"

#include "SDL.h"
#include "SDL_ttf.h"
#include "framework/core/Application.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/GameTime.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/stage/StageTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const Color kBackground(0, 160, 0);
const Color kWhite(255, 255, 255);
const Color kYellow(255, 255, 0);
const Color kRed(255, 0, 0);

using stagetest::ClickLog;

class CastMemberTextTest : public stagetest::PaintedStageTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(TTF_Init(), 0);
        font = std::make_unique<Font>(mediatest::SansFont(), 20, 0);
        ASSERT_NE(font->GetRawFont(), nullptr);
        OpenPaintedStage();
    }
    void TearDown() override
    {
        ClosePaintedStage();
        font.reset();
        Application::AllowDropShadows(false);
    }

    // White text, yellow when hovered, red hard shadow; the stage deletes it.
    CastMemberText* MakeText(const std::string& text, int minimumWidth, int x = 100, int y = 100)
    {
        return new CastMemberText(cast, text, font.get(), kWhite, kYellow, kRed, minimumWidth, x, y,
                                  1);
    }

    void PaintAll() { PaintedStageTest::PaintAll(kBackground); }

    // Pixels of the paint canvas inside r that are exactly c.
    int Count(const Rectangle& r, const Color& c)
    {
        int n = 0;
        for (int y = r.GetY(); y < r.GetY() + r.GetH(); ++y) {
            for (int x = r.GetX(); x < r.GetX() + r.GetW(); ++x) {
                const Color p = paint->GetPixel(x, y);
                n += p.Equals(c) ? 1 : 0;
            }
        }
        return n;
    }

    // The leftmost column at which a pixel differs from the background, or -1.
    int FirstInkColumn(const Rectangle& r)
    {
        for (int x = r.GetX(); x < r.GetX() + r.GetW(); ++x) {
            for (int y = r.GetY(); y < r.GetY() + r.GetH(); ++y) {
                if (!paint->GetPixel(x, y).Equals(kBackground)) {
                    return x;
                }
            }
        }
        return -1;
    }

    std::unique_ptr<Font> font;
};

} // namespace

TEST_F(CastMemberTextTest, SizeIsTextOrMinimumWidthByTextHeightPlusShadow)
{
    const Dimension word = font->TextDim("Word");
    CastMemberText* narrow = MakeText("Word", 0);
    EXPECT_EQ(narrow->GetMinimumWidth(), 1);
    EXPECT_EQ(narrow->GetW(), word.GetW());
    EXPECT_EQ(narrow->GetH(), word.GetH() + 1 + 1);
    EXPECT_EQ(narrow->GetTextSize(), word);

    CastMemberText* wide = MakeText("Word", 300);
    EXPECT_EQ(wide->GetW(), 300);
    EXPECT_EQ(wide->GetClassMemberType(), CastMember::kTextKind);
}

TEST_F(CastMemberTextTest, SetTextResizesTheSpriteAndRepaintsTheOldArea)
{
    CastMemberText* text = MakeText("Hi", 50);
    EXPECT_EQ(text->GetW(), 50);
    const std::string longer = "A much longer line of text";
    const int longWidth = font->TextDim(longer).GetW();
    ASSERT_GT(longWidth, 50);

    text->SetText(longer);
    EXPECT_EQ(text->GetText(), longer);
    EXPECT_EQ(text->GetW(), longWidth);
    text->Justify(3);
    EXPECT_EQ(text->JustifyOffset(), -1) << "right-justified a full-width text leaves the shadow";

    // Back to a short text: the minimum width again, and the wide area is repainted.
    cast->ClearDirtyRects(true);
    text->SetText("Hi");
    EXPECT_EQ(text->GetW(), 50);
    bool wideAreaDirty = false;
    for (const auto& r : cast->GetDirtyRects()) {
        wideAreaDirty = wideAreaDirty || (r->GetX() == 100 && r->GetW() >= longWidth);
    }
    EXPECT_TRUE(wideAreaDirty);
}

TEST_F(CastMemberTextTest, JustificationPlacesTheTextInsideTheBox)
{
    CastMemberText* text = MakeText("Mid", 100);
    const int w = font->TextDim("Mid").GetW();
    const struct
    {
        int justification;
        int offset;
    } cases[] = {{1, 0}, {2, (100 - w) / 2}, {3, 100 - 1 - w}, {7, 0}};
    for (const auto& c : cases) {
        text->Justify(c.justification);
        EXPECT_EQ(text->GetJustification(), c.justification);
        EXPECT_EQ(text->JustifyOffset(), c.offset) << "justification " << c.justification;
    }

    // Painted, the ink moves right by the offset.
    const Rectangle box(100, 100, 101, static_cast<short>(text->GetH()));
    text->Justify(1);
    PaintAll();
    const int left = FirstInkColumn(box);
    text->Justify(3);
    PaintAll();
    EXPECT_EQ(FirstInkColumn(box), left + 100 - 1 - w);
}

TEST_F(CastMemberTextTest, NumbersWithAndWithoutGrouping)
{
    CastMemberText* text = MakeText("0", 1);
    const struct
    {
        int value;
        bool grouped;
        const char* shown;
    } cases[] = {
        {1234567, true, "1,234,567"}, {1234567, false, "1234567"}, {-5000, true, "-5000"},
        {999, true, "999"},           {1000, true, "1,000"},       {0, false, "0"},
    };
    for (const auto& c : cases) {
        text->SetTextNumber(c.value, c.grouped);
        EXPECT_EQ(text->GetText(), c.shown);
    }
}

TEST_F(CastMemberTextTest, DistinctHoverColourMakesTheTextClickable)
{
    CastMemberText* plain =
        new CastMemberText(cast, "Plain", font.get(), kWhite, kWhite, kRed, 10, 0, 0, 1);
    EXPECT_FALSE(plain->AllowInput());
    EXPECT_FALSE(plain->AllowClicks());
    plain->SetColor2(kWhite);
    EXPECT_TRUE(plain->AllowClicks()) << "SetColor2 makes it clickable whatever the colour";

    CastMemberText* link = MakeText("Link", 10, 200, 200);
    EXPECT_TRUE(link->AllowInput());
    EXPECT_TRUE(link->AllowClicks());
    link->SetID(9);
    EXPECT_FALSE(link->Clicked(nullptr, 1)) << "no listener";
    ClickLog log;
    link->SetButtonListener(&log);
    cast->MouseDown(205, 205, 1);
    EXPECT_TRUE(link->HoverShown()) << "pressed";
    cast->MouseUp(205, 205, 1);
    EXPECT_FALSE(link->HoverShown()) << "released";
    EXPECT_EQ(log.clicks, (std::vector<std::pair<int, int>>{{9, 1}}));
}

TEST_F(CastMemberTextTest, HoverRenderingFollowsThePointer)
{
    CastMemberText* text = MakeText("Hover", 10);
    const Rectangle box(100, 100, static_cast<short>(text->GetW()),
                        static_cast<short>(text->GetH()));
    EXPECT_FALSE(text->HoverShown());

    text->OnMouseEnter(105, 105);
    EXPECT_TRUE(text->HoverShown());
    PaintAll();
    EXPECT_GT(Count(box, kYellow), 0);
    EXPECT_EQ(Count(box, kWhite), 0);

    text->OnMouseExit(0, 0);
    EXPECT_FALSE(text->HoverShown());
    text->OnMouseOver(105, 105, true);
    EXPECT_TRUE(text->HoverShown());
    text->SetText("Hover!");
    EXPECT_FALSE(text->HoverShown()) << "a new text shows the normal rendering";
    PaintAll();
    EXPECT_GT(Count(box, kWhite), 0);
}

TEST_F(CastMemberTextTest, HardShadowsAndDropShadow)
{
    CastMemberText* text = MakeText("Shadow", 10);
    text->SetShadowDist(2);
    text->SetText("Shadow"); // takes the size for the new distance
    const Rectangle box(90, 90, static_cast<short>(text->GetW() + 20),
                        static_cast<short>(text->GetH() + 20));

    PaintAll();
    const int single = Count(box, kRed);
    EXPECT_GT(single, 0);
    EXPECT_GT(Count(box, kWhite), 0);

    text->SetExtraShadow(true);
    PaintAll();
    EXPECT_GT(Count(box, kRed), single);

    text->SetNoShadow(true);
    PaintAll();
    EXPECT_EQ(Count(box, kRed), 0);
    EXPECT_GT(Count(box, kWhite), 0);

    // The soft drop shadow is drawn even without the hard one.
    Application::AllowDropShadows(true);
    text->SetDropShadow(4, 4, Color(0, 0, 0), 255);
    PaintAll();
    EXPECT_GT(Count(box, Color(0, 0, 0)), 0);

    // Nothing is drawn outside the sprite's area (with its drop shadow).
    const Rectangle area = text->GetTotalScreenRect();
    int outside = 0;
    for (int y = 80; y < 160; ++y) {
        for (int x = 80; x < 260; ++x) {
            if (!area.Contains(Point(x, y)) && !paint->GetPixel(x, y).Equals(kBackground)) {
                ++outside;
            }
        }
    }
    EXPECT_EQ(outside, 0);
}

TEST_F(CastMemberTextTest, NewRenderingsKeepTheSpritesAlpha)
{
    CastMemberText* text = MakeText("Faded", 10);
    const Rectangle box(100, 100, static_cast<short>(text->GetW() + 40),
                        static_cast<short>(text->GetH()));
    text->SetAlpha(0);
    PaintAll();
    EXPECT_EQ(FirstInkColumn(box), -1);

    text->SetText("Faded still");
    text->SetColor(kYellow);
    PaintAll();
    EXPECT_EQ(FirstInkColumn(box), -1) << "renderings made while faded out stay invisible";

    text->SetAlpha(255);
    PaintAll();
    EXPECT_NE(FirstInkColumn(box), -1);
}

TEST_F(CastMemberTextTest, PaintStaysInsideTheAreaTheStageRepaints)
{
    CastMemberText* text = MakeText("Clipped text", 10);
    const Rectangle box(100, 100, static_cast<short>(text->GetW() + 10),
                        static_cast<short>(text->GetH() + 10));
    paint->Clear(kBackground);
    ASSERT_TRUE(paint->AddDirtyRect(new Rectangle(100, 100, 30, 40)));
    cast->Paint(paint.get(), true);
    paint->ClearDirtyRects();
    EXPECT_NE(FirstInkColumn(box), -1);
    EXPECT_EQ(FirstInkColumn(Rectangle(130, 100, static_cast<short>(box.GetW() - 30), box.GetH())),
              -1);
}
