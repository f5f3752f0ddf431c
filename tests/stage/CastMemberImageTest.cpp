#include "framework/stage/CastMemberImage.h"

#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Asset.h"
#include "framework/core/Framework.h"
#include "framework/core/ImageResources.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/stage/StageTestSupport.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

const Color kBackground(0, 160, 0);
const Color kKey(255, 0, 255);

Color FrameColor(int frame)
{
    return Color(static_cast<unsigned char>(20 + 25 * frame), 90, 160);
}

// A sheet of cols x rows frames of fw x fh pixels, frame n filled with FrameColor(n); the
// returned image owns the sheet.
std::unique_ptr<Image> MakeSheet(int cols, int rows, int fw, int fh)
{
    auto* sheet = new ImageResource(cols * fw, rows * fh, cols, rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            Rectangle cell(static_cast<short>(c * fw), static_cast<short>(r * fh),
                           static_cast<short>(fw), static_cast<short>(fh));
            sheet->FillRect(cell, FrameColor(r * cols + c));
        }
    }
    return std::make_unique<Image>(sheet, 0, 0, 1);
}

// An image that tells when it is deleted.
class TrackedImage : public Image
{
public:
    TrackedImage(ImageResource* sheet, bool* deleted) : Image(sheet, 0, 0, 1), _deleted(deleted) {}
    ~TrackedImage() override { *_deleted = true; }

private:
    bool* _deleted;
};

using stagetest::ClickLog;
using stagetest::CueLog;

class CastMemberImageTest : public stagetest::PaintedStageTest
{
protected:
    void SetUp() override
    {
        OpenPaintedStage();
        paint->Clear(kBackground);
    }
    void TearDown() override
    {
        // The stage deletes its sprites before the images they copied go.
        manager.reset();
        _images.clear();
        ClosePaintedStage();
        Application::AllowDropShadows(false);
    }

    // Repaints the whole screen area of the paint canvas.
    void PaintAll() { PaintedStageTest::PaintAll(kBackground); }

    // MakeSheet kept until the stage and its sprites are gone: a copy of a one-frame image draws
    // from the sheet that the original owns.
    Image* Sheet(int cols, int rows, int fw, int fh) { return Own(MakeSheet(cols, rows, fw, fh)); }
    Image* Own(std::unique_ptr<Image> image)
    {
        _images.push_back(std::move(image));
        return _images.back().get();
    }

    // A sprite of its own copy of image on the stage; the stage deletes it.
    CastMemberImage* OnStage(Image* image, int x, int y, int priority)
    {
        return new CastMemberImage(cast, image, x, y, priority, 0);
    }

private:
    std::vector<std::unique_ptr<Image>> _images;
};

} // namespace

// --- frame loop ---

TEST_F(CastMemberImageTest, LoopFollowsSpeedRepeatCountAndPause)
{
    Image* sheet = Sheet(4, 1, 10, 10);
    CastMemberImage sprite(nullptr, sheet, 0, 0, 1, 0);
    sprite.Animate(0);
    sprite.Loop(100, 2, 0, 500);
    ASSERT_TRUE(sprite.GetLooping());

    // Frames 1, 2, 3 at 100 ms steps, 0 after 400 ms, then 1 only after the frame time plus the
    // pause, and the second cycle ends the loop on frame 0.
    const struct
    {
        unsigned int now;
        int frame;
        bool looping;
    } steps[] = {{99, 0, true},   {100, 1, true},   {200, 2, true},  {300, 3, true},
                 {400, 0, true},  {999, 0, true},   {1000, 1, true}, {1100, 2, true},
                 {1200, 3, true}, {1300, 0, false}, {1500, 0, false}};
    for (const auto& step : steps) {
        sprite.Animate(step.now);
        EXPECT_EQ(sprite.GetFrame(), step.frame) << "at " << step.now;
        EXPECT_EQ(sprite.GetLooping(), step.looping) << "at " << step.now;
    }
}

TEST_F(CastMemberImageTest, LoopStartDelayZeroRepeatsAndStopping)
{
    Image* sheet = Sheet(4, 1, 10, 10);
    CastMemberImage sprite(nullptr, sheet, 0, 0, 1, 0);
    sprite.Animate(1000);

    // The first step comes speed + delay after Loop.
    sprite.Loop(50, -1, 200, 0);
    sprite.Animate(1249);
    EXPECT_EQ(sprite.GetFrame(), 0);
    sprite.Animate(1250);
    EXPECT_EQ(sprite.GetFrame(), 1);
    sprite.Animate(1300);
    EXPECT_EQ(sprite.GetFrame(), 2);

    // Stopping shows frame 0.
    sprite.StopLooping();
    EXPECT_FALSE(sprite.GetLooping());
    EXPECT_EQ(sprite.GetFrame(), 0);

    // A repeat count of 0 advances once and stops at once, back on frame 0.
    sprite.SetFrame(2, 0);
    sprite.Loop(10, 0, 0, 0);
    sprite.Animate(1310);
    EXPECT_FALSE(sprite.GetLooping());
    EXPECT_EQ(sprite.GetFrame(), 0);

    // One frame: nothing to loop.
    Image* single = Sheet(1, 1, 10, 10);
    CastMemberImage still(nullptr, single, 0, 0, 1, 0);
    still.Loop(10);
    EXPECT_FALSE(still.GetLooping());
    EXPECT_EQ(still.GetNumFrames(), 1);
}

TEST_F(CastMemberImageTest, FrameSequenceIsSteppedFromItsSecondEntry)
{
    Image* sheet = Sheet(8, 1, 4, 4);
    CastMemberImage sprite(nullptr, sheet, 0, 0, 1, 0);
    EXPECT_EQ(sprite.GetFrameSequenceString(), "None");

    int frames[] = {3, 5, 7};
    sprite.NewFrameSequence(frames, 3);
    EXPECT_EQ(sprite.GetFrameSequence(), frames);
    EXPECT_EQ(sprite.GetFrameSequenceString(), "3,5,7");
    EXPECT_EQ(sprite.GetFrame(), 0) << "a new sequence does not change the frame shown";

    sprite.Animate(0);
    sprite.Loop(50);
    std::vector<int> shown;
    for (unsigned int t = 50; t <= 250; t += 50) {
        sprite.Animate(t);
        shown.push_back(sprite.GetFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{5, 7, 3, 5, 7}));

    sprite.NewFrameSequence(nullptr, 3);
    EXPECT_EQ(sprite.GetFrameSequenceString(), "None");
    sprite.Animate(300);
    EXPECT_EQ(sprite.GetFrame(), 0) << "back to the sheet's order: 7 + 1 wraps to 0";
}

TEST_F(CastMemberImageTest, NamedAssetSpriteLocksItAndLoopsFromFrameZero)
{
    mkdir("cfg", 0755);
    mkdir("images", 0755);
    Image* sheet = Sheet(4, 1, 10, 10);
    ASSERT_TRUE(testsupport::SavePng(sheet->GetImageResource()->GetSurface(), "images/strip.bmp"));
    FILE* list = std::fopen("cfg/images.cfg", "wb");
    ASSERT_NE(list, nullptr);
    std::fputs("[images]\r\nstrip=images/strip.bmp,4,1\r\n", list);
    std::fclose(list);
    ImageResources images("cfg/images.cfg", "images");

    {
        CastMemberImage sprite(cast, "strip", 5, 6, 1, 0);
        ASSERT_NE(sprite.GetImage(), nullptr);
        EXPECT_EQ(images.GetAsset("strip")->GetLockCount(), 1);
        EXPECT_EQ(sprite.GetW(), 10);
        EXPECT_EQ(sprite.GetH(), 10);
        EXPECT_EQ(sprite.GetNumFrames(), 4);
        EXPECT_EQ(sprite.GetFrame(), 0);

        // One whole cycle: 1, 2, 3, then back on 0 where the loop ends.
        sprite.Animate(0);
        sprite.Loop(10, 1, 0, 0);
        std::vector<int> shown;
        for (unsigned int t = 10; t <= 40; t += 10) {
            sprite.Animate(t);
            shown.push_back(sprite.GetFrame());
        }
        EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 0}));
        EXPECT_FALSE(sprite.GetLooping());

        // The other name-first form shares the sheet and adds its own lock.
        CastMemberImage second(cast, 0, 0, 1, "strip", 7, 7);
        EXPECT_EQ(images.GetAsset("strip")->GetLockCount(), 2);
    }
    EXPECT_EQ(images.GetAsset("strip")->GetLockCount(), 0);
}

// --- the image and its ownership ---

TEST_F(CastMemberImageTest, NullImageHidesAndANewImageResetsSizeScaleAndRotation)
{
    Image* big = Sheet(1, 1, 40, 30);
    Image* small = Sheet(1, 1, 20, 10);
    CastMemberImage* sprite = OnStage(big, 10, 10, 1);
    ASSERT_TRUE(sprite->IsVisible());
    sprite->SetScale(0.5f);
    ASSERT_LT(sprite->GetScale(), 1.0f);

    sprite->SetImage(nullptr);
    EXPECT_FALSE(sprite->IsVisible());
    EXPECT_EQ(sprite->GetImage(), nullptr);
    EXPECT_EQ(sprite->GetName(), "CastMemberImage NULL Image");

    sprite->SetImage(small);
    EXPECT_EQ(sprite->GetW(), 20);
    EXPECT_EQ(sprite->GetH(), 10);
    EXPECT_EQ(sprite->GetScale(), 1.0f);
    EXPECT_EQ(sprite->GetRotation(), 0.0f);
    EXPECT_EQ(sprite->GetScaledWidth(), 20);
    EXPECT_EQ(sprite->GetName().rfind("CastMemberImage ", 0), 0u);
}

TEST_F(CastMemberImageTest, KeepGivenImageDecidesWhoDeletesTheImage)
{
    bool copiedDeleted = false;
    bool keptDeleted = false;
    auto* copied = new TrackedImage(new ImageResource(10, 10, 1, 1), &copiedDeleted);
    auto* kept = new TrackedImage(new ImageResource(10, 10, 1, 1), &keptDeleted);
    {
        CastMemberImage ownCopy(nullptr, copied, 0, 0, 1, 0);
        EXPECT_NE(ownCopy.GetImage(), copied);
        CastMemberImage taker(nullptr, kept, 0, 0, 1, 1);
        EXPECT_EQ(taker.GetImage(), kept);

        // Giving a sprite the picture it shows keeps it alive in both modes.
        ownCopy.SetImage(ownCopy.GetImage());
        taker.SetImage(taker.GetImage());
        EXPECT_FALSE(keptDeleted);
        EXPECT_EQ(taker.GetImage(), kept);
        EXPECT_EQ(ownCopy.GetW(), 10);
    }
    EXPECT_FALSE(copiedDeleted) << "the caller's image outlives a sprite that copied it";
    EXPECT_TRUE(keptDeleted) << "a sprite that took the image deletes it";
    delete copied;
}

// --- clicks, hit test and drops ---

TEST_F(CastMemberImageTest, ClickReportsIdAndButtonOnlyToAListener)
{
    Image* sheet = Sheet(1, 1, 40, 40);
    CastMemberImage* sprite = OnStage(sheet, 100, 100, 1);
    sprite->SetID(42);
    EXPECT_FALSE(sprite->Clicked(nullptr, 1));
    EXPECT_FALSE(sprite->AllowClicks());

    ClickLog log;
    sprite->SetButtonListener(&log);
    EXPECT_TRUE(sprite->AllowInput());
    EXPECT_TRUE(sprite->AllowClicks());
    EXPECT_FALSE(sprite->Clicked(nullptr, 3));

    // A press and release on the stage completes a click.
    cast->MouseDown(110, 110, 1);
    cast->MouseUp(110, 110, 1);
    EXPECT_EQ(log.clicks, (std::vector<std::pair<int, int>>{{42, 3}, {42, 1}}));
}

TEST_F(CastMemberImageTest, PressOnColourKeyFallsThrough)
{
    Image* back = Sheet(1, 1, 60, 60);
    // The front picture is transparent (key colour) on its left half.
    auto* frontSheet = new ImageResource(60, 60, 1, 1);
    frontSheet->Clear(Color(200, 200, 0));
    Rectangle left(0, 0, 30, 60);
    frontSheet->FillRect(left, kKey);
    Image* frontImage = Own(std::make_unique<Image>(frontSheet, 0, 0, 1));

    CastMemberImage* behind = OnStage(back, 100, 100, 5);
    CastMemberImage* front = OnStage(frontImage, 100, 100, 2);
    front->UseTransparency(kKey);
    behind->SetID(1);
    front->SetID(2);
    ClickLog log;
    behind->SetButtonListener(&log);
    front->SetButtonListener(&log);

    EXPECT_FALSE(front->OnPixel(110, 130));
    EXPECT_TRUE(front->OnPixel(140, 130));
    EXPECT_FALSE(front->OnPixel(170, 130)) << "outside the sprite";

    const struct
    {
        int x;
        bool perPixel;
        int expectedId;
    } presses[] = {{110, true, 1}, {140, true, 2}, {110, false, 2}};
    for (const auto& press : presses) {
        log.clicks.clear();
        front->UsePerPixelAccuracy(press.perPixel);
        cast->MouseDown(press.x, 130, 1);
        cast->MouseUp(press.x, 130, 1);
        ASSERT_EQ(log.clicks.size(), 1u) << "press at " << press.x;
        EXPECT_EQ(log.clicks[0].first, press.expectedId) << "press at " << press.x;
    }

    // A scaled sprite is hit-tested on its scaled look.
    front->UsePerPixelAccuracy(true);
    front->SetScale(2.0f);
    ASSERT_EQ(front->GetScaledX(), 70);
    EXPECT_FALSE(front->OnPixel(100, 130)) << "left, transparent half of the scaled look";
    EXPECT_TRUE(front->OnPixel(180, 130));
    EXPECT_FALSE(front->OnPixel(195, 130)) << "right of the scaled look";
}

TEST_F(CastMemberImageTest, DropIsPulledBackOntoTheScreen)
{
    Image* sheet = Sheet(1, 1, 50, 40);
    CastMemberImage* sprite = OnStage(sheet, 0, 0, 1);

    // Touching the right or bottom edge counts as pulled back, like leaving the screen.
    const struct
    {
        int x, y;
        int expectedX, expectedY;
        bool taken;
    } drops[] = {
        {100, 100, 100, 100, true},  {-10, 100, 0, 100, false},   {100, -5, 100, 0, false},
        {750, 100, 750, 100, false}, {790, 590, 750, 560, false}, {749, 559, 749, 559, true},
    };
    for (const auto& drop : drops) {
        sprite->Move(drop.x, drop.y, false);
        EXPECT_EQ(sprite->Dragged(nullptr), drop.taken) << drop.x << "," << drop.y;
        EXPECT_EQ(sprite->GetX(), drop.expectedX) << drop.x << "," << drop.y;
        EXPECT_EQ(sprite->GetY(), drop.expectedY) << drop.x << "," << drop.y;
        if (!drop.taken) {
            EXPECT_EQ(sprite->GetPrevX(), drop.expectedX);
            EXPECT_EQ(sprite->GetPrevY(), drop.expectedY);
        }
    }
}

TEST_F(CastMemberImageTest, DraggedToTheRightEdgeStaysWithoutDropCue)
{
    Image* sheet = Sheet(1, 1, 50, 40);
    CastMemberImage* sprite = OnStage(sheet, 600, 100, 1);
    sprite->AllowInput(true);
    sprite->AllowDragging(true);
    CueLog cues;
    sprite->SetCueListener(&cues);

    // Dropped well inside: taken, cue 10.
    cast->MouseDown(610, 110, 1);
    cast->MouseDrag(510, 210);
    cast->MouseUp(510, 210, 1);
    EXPECT_EQ(sprite->GetX(), 500);
    EXPECT_EQ(sprite->GetY(), 200);
    EXPECT_EQ(cues.cues, std::vector<int>{CueListener::kDropTaken});

    // Dropped with its right edge exactly on the screen's: it stays there, no cue.
    cues.cues.clear();
    cast->MouseDown(510, 210, 1);
    cast->MouseDrag(760, 210);
    cast->MouseUp(760, 210, 1);
    EXPECT_EQ(sprite->GetX(), 750);
    EXPECT_EQ(sprite->GetY(), 200);
    EXPECT_TRUE(cues.cues.empty());
}

// --- looks ---

TEST_F(CastMemberImageTest, PaintShowsTheCurrentFrameInsideTheRepaintedArea)
{
    Image* sheet = Sheet(4, 1, 20, 20);
    CastMemberImage* sprite = OnStage(sheet, 100, 100, 1);
    PaintAll();
    EXPECT_EQ(paint->GetPixel(110, 110), FrameColor(0));
    EXPECT_EQ(paint->GetPixel(99, 110), kBackground);

    sprite->SetFrame(2, 0);
    PaintAll();
    EXPECT_EQ(paint->GetPixel(110, 110), FrameColor(2));

    // Painted into one dirty rectangle only: the rest of the sprite is left alone.
    paint->Clear(kBackground);
    ASSERT_TRUE(paint->AddDirtyRect(new Rectangle(100, 100, 5, 20)));
    cast->Paint(paint.get(), true);
    paint->ClearDirtyRects();
    EXPECT_EQ(paint->GetPixel(102, 110), FrameColor(2));
    EXPECT_EQ(paint->GetPixel(110, 110), kBackground);
}

TEST_F(CastMemberImageTest, ScalingCentresTheLookAndMirroringFlipsIt)
{
    Image* sheet = Sheet(1, 1, 100, 101);
    CastMemberImage* sprite = OnStage(sheet, 10, 20, 1);

    sprite->SetScale(0.5f);
    EXPECT_EQ(sprite->GetScaledWidth(), 50);
    EXPECT_EQ(sprite->GetScaledX(), 35);
    EXPECT_EQ(sprite->GetScaledY(), 20 + (101 - sprite->GetScaledHeight()) / 2);
    EXPECT_EQ(sprite->GetScaledY(), 45);
    PaintAll();
    EXPECT_EQ(paint->GetPixel(60, 70), FrameColor(0));
    EXPECT_EQ(paint->GetPixel(20, 30), kBackground) << "the unscaled area is not painted";

    sprite->SetScale(2.0f);
    EXPECT_EQ(sprite->GetScaledWidth(), 200);
    EXPECT_EQ(sprite->GetScaledHeight(), 202);
    EXPECT_EQ(sprite->GetScaledX(), 10 - 50);

    // A quarter turn swaps width and height.
    SDL_Surface* turned = sprite->CreateScaledSurface(90.0f, 1.0f, false);
    ASSERT_NE(turned, nullptr);
    EXPECT_NEAR(turned->w, 101, 1);
    EXPECT_NEAR(turned->h, 100, 1);

    // Mirroring keeps the size and flips the pixels of the frame.
    auto* stripe = new ImageResource(20, 10, 1, 1);
    stripe->Clear(Color(10, 10, 10));
    Rectangle leftEdge(0, 0, 5, 10);
    stripe->FillRect(leftEdge, Color(250, 250, 250));
    Image* stripeImage = Own(std::make_unique<Image>(stripe, 0, 0, 1));
    CastMemberImage* mirrored = OnStage(stripeImage, 300, 300, 1);
    mirrored->MirrorHorizontal(true);
    EXPECT_EQ(mirrored->GetW(), 20);
    PaintAll();
    EXPECT_EQ(paint->GetPixel(302, 305), Color(10, 10, 10));
    EXPECT_EQ(paint->GetPixel(317, 305), Color(250, 250, 250));
}

TEST_F(CastMemberImageTest, DropShadowIsDrawnBehindAtTheOffset)
{
    Application::AllowDropShadows(true);
    Image* sheet = Sheet(1, 1, 20, 20);
    CastMemberImage* sprite = OnStage(sheet, 100, 100, 1);
    sprite->SetDropShadow(5, 5, Color(0, 0, 0), 255);
    EXPECT_EQ(sprite->GetTotalScreenRect(), Rectangle(100, 100, 25, 25));
    PaintAll();
    EXPECT_EQ(paint->GetPixel(110, 110), FrameColor(0)) << "the picture over its shadow";
    const Color shadow = paint->GetPixel(122, 122);
    EXPECT_LT(shadow.GetG(), kBackground.GetG()) << "darkened by the shadow";
    EXPECT_EQ(paint->GetPixel(103, 122), kBackground) << "left of the shadow";
}

TEST_F(CastMemberImageTest, SpritesSharingAFramePaintAsIfEachHadItsOwn)
{
    Application::AllowDropShadows(true);
    Image* sheet = Sheet(4, 1, 20, 20);
    // Two sprites sharing their frame above, the same two each with a copy of its own below.
    CastMemberImage* shared[] = {OnStage(sheet, 50, 50, 1), OnStage(sheet, 250, 50, 1)};
    CastMemberImage* own[] = {OnStage(sheet, 50, 250, 1), OnStage(sheet, 250, 250, 1)};
    for (CastMemberImage* sprite : shared) {
        sprite->ShareFrames();
    }
    const auto both = [&](int n, const std::function<void(CastMemberImage*)>& change) {
        change(shared[n]);
        change(own[n]);
    };
    const auto expectAlike = [&](const char* what) {
        PaintAll();
        int differing = 0;
        for (int n = 0; n < 2; ++n) {
            for (int y = -15; y < 45; ++y) {
                for (int x = -15; x < 45; ++x) {
                    const int sx = shared[n]->GetX() + x;
                    differing +=
                        paint->GetPixel(sx, 50 + y) == paint->GetPixel(sx, 250 + y) ? 0 : 1;
                }
            }
        }
        EXPECT_EQ(differing, 0) << what;
    };
    for (int n = 0; n < 2; ++n) {
        both(n, [](CastMemberImage* s) { s->SetFrame(1, 0); });
    }
    ASSERT_EQ(shared[0]->GetImage()->GetCanvas(), shared[1]->GetImage()->GetCanvas());
    both(0, [](CastMemberImage* s) { s->SetDropShadow(5, 5, Color(0, 0, 0), 255); });
    both(1, [](CastMemberImage* s) { s->SetDropShadow(3, 6, Color(0, 0, 90), 64); });
    expectAlike("shadows of their own");
    both(1, [](CastMemberImage* s) { s->SetAlpha(100); });
    expectAlike("one sprite see-through");
    both(1, [](CastMemberImage* s) { s->SetAlpha(255); });
    both(0, [](CastMemberImage* s) { s->SetScale(2.0f); });
    expectAlike("one sprite scaled");
    both(0, [](CastMemberImage* s) { s->SetScale(1.0f); });
    both(0, [](CastMemberImage* s) { s->SetFrame(2, 0); });
    expectAlike("one sprite on another frame");
}

// --- the stage of a sprite made without one ---

TEST(CastMemberImageDefaultTest, SpriteMadeWithoutAStageJoinsTheOneTheApplicationShows)
{
    {
        CastMemberImage alone;
        EXPECT_EQ(alone.GetCast(), nullptr) << "no application yet";
        EXPECT_EQ(alone.GetImage(), nullptr);
    }
    std::filesystem::create_directories("fonts");
    std::filesystem::copy_file(mediatest::SansFont(), "fonts/bankgbtm.ttf");
    ASSERT_TRUE(testsupport::WriteFile("game.cfg", "[game]\nallowwebupdater=0\n"));
    Framework app;
    ASSERT_TRUE(app.OnInit(0, nullptr));
    ASSERT_NE(app._animationManager, nullptr);
    CastMemberImage sprite;
    EXPECT_EQ(sprite.GetCast(), app._animationManager->GetCast());
    EXPECT_EQ(sprite.GetClassMemberType(), CastMember::kImageKind);
}
