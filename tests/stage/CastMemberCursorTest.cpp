#include "framework/stage/CastMemberCursor.h"

#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/GameTime.h"
#include "tests/stage/StageTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

const Color kBackground(0, 160, 0);
const Color kArrow(250, 250, 250);
const Color kHand(200, 100, 0);
const Color kWait(0, 0, 220);
const Color kCustom(120, 0, 120);
const Color kFront(200, 0, 0);

// An image that tells when it is deleted; frames cols x 1, each w x h, all of one colour.
class Picture : public Image
{
public:
    Picture(int w, int h, int cols, const Color& color, bool* deleted = nullptr)
        : Image(Sheet(w, h, cols, color), 0, 0, 1), _deleted(deleted)
    {}
    ~Picture() override
    {
        if (_deleted != nullptr) {
            *_deleted = true;
        }
    }

private:
    static ImageResource* Sheet(int w, int h, int cols, const Color& color)
    {
        auto* sheet = new ImageResource(w * cols, h, cols, 1);
        sheet->Clear(color);
        return sheet;
    }
    bool* _deleted;
};

class CastMemberCursorTest : public stagetest::StageTest
{
protected:
    void SetUp() override
    {
        OpenStage();
        // The cursor owns its three pictures.
        cursor = std::make_unique<CastMemberCursor>(
            cast, new Picture(12, 16, 1, kArrow, &arrowDeleted), Point(5, 3),
            new Picture(16, 16, 1, kHand, &handDeleted), Point(8, 1),
            new Picture(20, 20, 4, kWait, &waitDeleted), Point(10, 10), 0, 0, 250);
    }
    void TearDown() override
    {
        cursor.reset();
        CloseStage();
    }

    bool arrowDeleted = false;
    bool handDeleted = false;
    bool waitDeleted = false;
    std::unique_ptr<CastMemberCursor> cursor;
};

// A sprite filling its rectangle with one colour.
class Swatch : public CastMember
{
public:
    Swatch(Cast* cast, int x, int y, int w, int h, int priority) : CastMember(cast, x, y, priority)
    {
        SetDimensions(w, h);
    }
    void Paint(Canvas* canvas) override
    {
        Rectangle area(GetRect());
        canvas->FillRect(area, kFront);
    }
};

} // namespace

TEST_F(CastMemberCursorTest, StartsAsTheStagesArrowCursorAtPriorityMinus99)
{
    EXPECT_EQ(cursor->GetClassMemberType(), CastMember::kCursorKind);
    EXPECT_EQ(cursor->GetName(), "CastMemberCursor");
    EXPECT_EQ(cursor->GetCursor(), 1);
    EXPECT_EQ(cursor->GetHotSpot(), Point(5, 3));
    EXPECT_EQ(cursor->GetW(), 12);
    EXPECT_EQ(cursor->GetH(), 16);
    EXPECT_EQ(cursor->GetPriority(), -99);
    EXPECT_EQ(cursor->GetPrevPri(), -99);
    EXPECT_TRUE(cursor->IsVisible());
    EXPECT_FALSE(cursor->AllowInput());
    EXPECT_FALSE(cursor->AllowDragging());

    cast->MouseMove(0, 0); // settles the sprites built since the last frame
    EXPECT_EQ(cast->GetCursor(), cursor.get());
    const auto& members = cast->GetCastMembers();
    EXPECT_EQ(std::find(members.begin(), members.end(), cursor.get()), members.end());

    cursor->SetPriority(10);
    EXPECT_EQ(cursor->GetPriority(), -99);
    EXPECT_EQ(cast->GetCursor(), cursor.get());
    cursor->SetScale(2.0f);
    EXPECT_EQ(cursor->GetScale(), 1.0f);
}

TEST_F(CastMemberCursorTest, HotSpotSitsOnThePointerAndMovesMarkNothingDirty)
{
    cast->ClearDirtyRects(true);
    cursor->Move(100, 100, false);
    EXPECT_EQ(cursor->GetX(), 95);
    EXPECT_EQ(cursor->GetY(), 97);
    cursor->Move(300, 200, true);
    EXPECT_EQ(cursor->GetX(), 295);
    EXPECT_EQ(cursor->GetY(), 197);
    EXPECT_TRUE(cast->GetDirtyRects().empty());

    // A frame step keeps the hot spot and repaints the cursor.
    cursor->ResetDirty();
    cursor->Animate(1100);
    EXPECT_EQ(cursor->GetHotSpot(), Point(5, 3));
    EXPECT_TRUE(cursor->IsDirty());
}

TEST_F(CastMemberCursorTest, KindsSwitchPictureAndHotSpot)
{
    Picture custom(6, 6, 1, kCustom);
    const struct
    {
        int asked;
        bool customSet;
        int kind;
        int width;
        Point hotSpot;
    } switches[] = {
        {2, false, 2, 16, Point(8, 1)},   {1, false, 1, 12, Point(5, 3)},
        {3, false, 3, 20, Point(10, 10)}, {4, false, 1, 12, Point(5, 3)},
        {7, false, 1, 12, Point(5, 3)},   {4, true, 4, 6, Point(2, 2)},
        {0, true, 1, 12, Point(5, 3)},
    };
    for (const auto& s : switches) {
        if (s.customSet) {
            cursor->InitCustomCursor(&custom, Point(2, 2), 0);
        }
        cursor->SetCursor(s.asked);
        EXPECT_EQ(cursor->GetCursor(), s.kind) << "asked " << s.asked;
        EXPECT_EQ(cursor->GetW(), s.width) << "asked " << s.asked;
        EXPECT_EQ(cursor->GetHotSpot(), s.hotSpot) << "asked " << s.asked;
        cursor->Move(100, 100, false);
        EXPECT_EQ(cursor->GetX(), 100 - s.hotSpot.GetX()) << "asked " << s.asked;
    }
}

TEST_F(CastMemberCursorTest, MultiFramePictureCyclesWithItsLoopValueAsPause)
{
    cursor->Animate(0);
    cursor->SetCursor(3);
    EXPECT_TRUE(cursor->GetLooping());
    EXPECT_EQ(cursor->GetLoopSpeed(), 32);
    EXPECT_EQ(cursor->GetLoopPause(), 250);
    cursor->Animate(32);
    EXPECT_EQ(cursor->GetFrame(), 1);

    cursor->SetCursor(2);
    EXPECT_FALSE(cursor->GetLooping()) << "a one-frame picture does not loop";
}

TEST_F(CastMemberCursorTest, PaintedLastInFrontOfEverySprite)
{
    new Swatch(cast, 0, 0, 200, 200, -50);
    cursor->Move(50, 50, false);
    std::unique_ptr<Canvas> paint(Canvas::CreateRGB(0, AnimationManager::kScreenWidth,
                                                    AnimationManager::kScreenHeight, 32, 0x00FF0000,
                                                    0x0000FF00, 0x000000FF, 0));
    paint->Clear(kBackground);
    ASSERT_TRUE(paint->AddDirtyRect(
        new Rectangle(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight)));

    cast->Paint(paint.get(), true);
    cast->PaintCursor(paint.get(), false);
    EXPECT_EQ(paint->GetPixel(46, 48), kArrow);
    EXPECT_EQ(paint->GetPixel(44, 48), kFront);
    EXPECT_EQ(paint->GetPixel(60, 60), kFront);
}

TEST_F(CastMemberCursorTest, TransparentBackgroundKeysEveryPicture)
{
    Picture custom(6, 6, 1, kCustom);
    cursor->InitCustomCursor(&custom, Point(0, 0), 0);
    cursor->UseTransparentBackground();
    EXPECT_TRUE(custom.GetCanvas()->HasColorKey());
    EXPECT_TRUE(cursor->GetImage()->GetCanvas()->HasColorKey());
    cursor->SetCursor(2);
    EXPECT_TRUE(cursor->GetImage()->GetCanvas()->HasColorKey());
}

TEST_F(CastMemberCursorTest, DeletesItsOwnPicturesButNotTheCustomOne)
{
    bool customDeleted = false;
    Picture custom(6, 6, 1, kCustom, &customDeleted);
    cursor->InitCustomCursor(&custom, Point(1, 1), 0);
    cursor->SetCursor(4);
    cursor.reset();
    EXPECT_TRUE(arrowDeleted);
    EXPECT_TRUE(handDeleted);
    EXPECT_TRUE(waitDeleted);
    EXPECT_FALSE(customDeleted);
}
