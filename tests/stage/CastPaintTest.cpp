#include "SDL.h"
#include "framework/core/ImageResources.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "tests/stage/StageTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace {

const Color kGreen(0, 160, 0);
const Color kRed(200, 0, 0);
const Color kBlue(0, 0, 200);
const Color kBlack(0, 0, 0);

// A sprite that fills its rectangle with one colour.
class Swatch : public CastMember
{
public:
    Swatch(Cast* cast, int x, int y, int w, int h, int priority, Color color, int kind = 0)
        : CastMember(cast, x, y, priority), _color(color), _kind(kind)
    {
        SetDimensions(w, h);
    }
    int GetClassMemberType() override { return _kind; }
    void Paint(Canvas* canvas) override
    {
        Rectangle area(GetRect());
        canvas->FillRect(area, _color);
        ++paints;
    }
    int paints = 0;

private:
    Color _color;
    int _kind;
};

using stagetest::CueLog;

class CastPaintTest : public stagetest::PaintedStageTest
{
protected:
    void SetUp() override
    {
        OpenPaintedStage();
        paint->Clear(kGreen);
    }
    void TearDown() override { ClosePaintedStage(); }

    void Dirty(short x, short y, short w, short h)
    {
        ASSERT_TRUE(paint->AddDirtyRect(new Rectangle(x, y, w, h)));
    }

    // Red, green and blue of one pixel of the paint canvas, as 0xRRGGBB.
    unsigned Rgb(int x, int y)
    {
        const Color c = paint->GetPixel(x, y);
        return static_cast<unsigned>(c.GetR()) << 16 | static_cast<unsigned>(c.GetG()) << 8 |
               c.GetB();
    }

    static unsigned Rgb(const Color& c)
    {
        return static_cast<unsigned>(c.GetR()) << 16 | static_cast<unsigned>(c.GetG()) << 8 |
               c.GetB();
    }
};

} // namespace

TEST_F(CastPaintTest, FrontSpriteWinsAnOverlap)
{
    new Swatch(cast, 100, 100, 100, 100, 5, kRed);
    new Swatch(cast, 150, 150, 100, 100, 3, kBlue);
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);

    cast->Paint(paint.get(), false);
    EXPECT_EQ(Rgb(120, 120), Rgb(kRed));
    EXPECT_EQ(Rgb(175, 175), Rgb(kBlue));
    EXPECT_EQ(Rgb(240, 240), Rgb(kBlue));
    EXPECT_EQ(Rgb(50, 50), Rgb(kGreen));
}

TEST_F(CastPaintTest, FadeLayerLiesAtTheFadePriority)
{
    new Swatch(cast, 100, 100, 50, 50, 0, kRed);
    new Swatch(cast, 300, 300, 50, 50, -5, kBlue);
    manager->SetMasterAlpha(0); // opaque fade layer
    ASSERT_TRUE(cast->FadeOn());
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);

    struct Case
    {
        int fadePriority;
        bool redShows;
        bool blueShows;
    };
    const Case cases[] = {{-2, false, true}, {1, true, true}, {-10, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fadePriority);
        cast->SetFadePriority(c.fadePriority);
        paint->Clear(kGreen);
        cast->Paint(paint.get(), true);
        EXPECT_EQ(Rgb(120, 120), c.redShows ? Rgb(kRed) : Rgb(kBlack));
        EXPECT_EQ(Rgb(320, 320), c.blueShows ? Rgb(kBlue) : Rgb(kBlack));
        EXPECT_EQ(Rgb(10, 10), Rgb(kBlack)) << "the fade layer covers the background";
    }
}

TEST_F(CastPaintTest, FadeLayerCoversEveryDirtyRectangleOfAnEmptyStage)
{
    manager->SetMasterAlpha(0);
    cast->SetFadeColor(kBlue);
    Dirty(10, 10, 20, 20);
    Dirty(100, 10, 20, 20);

    cast->Paint(paint.get(), false);
    EXPECT_EQ(Rgb(15, 15), Rgb(kBlue));
    EXPECT_EQ(Rgb(115, 15), Rgb(kBlue));
    EXPECT_EQ(Rgb(50, 15), Rgb(kGreen));
}

// The layer is let go at full alpha and made again when the screen fades: in the stage's colour,
// set through the stage or the animation manager, before the fade or during it.
TEST_F(CastPaintTest, FadeColourHoldsHoweverAndWheneverItWasSet)
{
    struct Case
    {
        const char* name;
        bool throughManager;
        bool beforeTheFade;
        Color colour;
    };
    const Case cases[] = {
        {"stage, before the fade", false, true, kBlue},
        {"manager, before the fade", true, true, kRed},
        {"stage, during the fade", false, false, Color(0, 0, 120)},
        {"manager, during the fade", true, false, Color(120, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto setColour = [&] {
            if (c.throughManager) {
                manager->SetFadeColor(c.colour);
            } else {
                cast->SetFadeColor(c.colour);
            }
        };
        manager->SetMasterAlpha(255);
        if (c.beforeTheFade) {
            setColour();
        }
        manager->SetMasterAlpha(0);
        if (!c.beforeTheFade) {
            setColour();
        }
        PaintAll(kGreen);
        EXPECT_EQ(Rgb(10, 10), Rgb(c.colour));
        // Up to full alpha (the layer goes) and down again (it is made again).
        manager->SetMasterAlpha(255);
        manager->SetMasterAlpha(0);
        PaintAll(kGreen);
        EXPECT_EQ(Rgb(10, 10), Rgb(c.colour)) << "after the layer was made again";
    }
}

TEST_F(CastPaintTest, MasterAlphaBackTo255HidesTheFadeLayer)
{
    new Swatch(cast, 100, 100, 50, 50, 0, kRed);
    manager->SetMasterAlpha(0);
    manager->SetMasterAlpha(300); // clamped to 255
    EXPECT_FALSE(cast->FadeOn());
    EXPECT_EQ(cast->GetFadeAlpha(), 255);
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);
    cast->Paint(paint.get(), true);
    EXPECT_EQ(Rgb(120, 120), Rgb(kRed));
    EXPECT_EQ(Rgb(10, 10), Rgb(kGreen));
}

TEST_F(CastPaintTest, OnlyDirtyRectanglesAreRepainted)
{
    auto* big = new Swatch(cast, 0, 0, 300, 50, 1, kRed);
    Dirty(10, 10, 10, 10);
    Dirty(250, 10, 10, 10);

    cast->Paint(paint.get(), false);
    EXPECT_EQ(Rgb(15, 15), Rgb(kRed));
    EXPECT_EQ(Rgb(255, 15), Rgb(kRed)) << "a sprite shows in every rectangle it overlaps";
    EXPECT_EQ(Rgb(100, 15), Rgb(kGreen)) << "nothing outside the dirty rectangles";
    EXPECT_EQ(big->paints, 2);
    EXPECT_FALSE(big->IsDirty());

    // A clean sprite is painted again only when marked.
    paint->Clear(kGreen);
    cast->Paint(paint.get(), false);
    EXPECT_EQ(Rgb(15, 15), Rgb(kGreen));
}

TEST_F(CastPaintTest, MarkMoreDirtyMarksVisibleCleanOverlappingSprites)
{
    auto* left = new Swatch(cast, 0, 0, 100, 100, 1, kRed);
    auto* right = new Swatch(cast, 300, 0, 100, 100, 1, kRed);
    auto* hidden = new Swatch(cast, 0, 0, 100, 100, 2, kBlue);
    hidden->Hide();
    for (CastMember* m : cast->GetCastMembers()) {
        m->ResetDirty();
    }

    Rectangle area(50, 50, 10, 10);
    EXPECT_EQ(cast->MarkMoreDirty(&area), 1);
    EXPECT_TRUE(left->IsDirty());
    EXPECT_FALSE(right->IsDirty());
    EXPECT_FALSE(hidden->IsDirty());
    EXPECT_EQ(cast->MarkMoreDirty(&area), 0) << "already dirty";
}

TEST_F(CastPaintTest, OffScreenSpriteIsCleanedWithoutPainting)
{
    auto* away = new Swatch(cast, 900, 10, 50, 50, 1, kRed);
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);
    ASSERT_TRUE(away->IsDirty());
    cast->Paint(paint.get(), false);
    EXPECT_FALSE(away->IsDirty());
    EXPECT_EQ(away->paints, 0);
}

TEST_F(CastPaintTest, CursorIsPaintedLastAndKeptDirty)
{
    auto* cursor = new Swatch(cast, 40, 40, 8, 8, 1, kBlue, 5);
    new Swatch(cast, 0, 0, 100, 100, -50, kRed);
    ASSERT_EQ(cast->GetCursor(), cursor);
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);
    cast->ClearDirtyRects(true);

    cast->Paint(paint.get(), false);
    cast->PaintCursor(paint.get(), false);
    EXPECT_EQ(Rgb(44, 44), Rgb(kBlue));
    EXPECT_EQ(Rgb(20, 20), Rgb(kRed));
    ASSERT_EQ(cast->GetDirtyRects().size(), 1u);
    EXPECT_EQ(*cast->GetDirtyRects()[0], Rectangle(40, 40, 8, 8));
    EXPECT_EQ(cast->GetDirtyRects()[0]->GetFrameCount(), 2);
}

TEST_F(CastPaintTest, DirtyRectanglesLiveForTwoFrames)
{
    EXPECT_FALSE(cast->AddDirtyRect(nullptr));
    auto* offScreen = new Rectangle(800, 0, 10, 10);
    EXPECT_FALSE(cast->AddDirtyRect(offScreen)) << "the caller keeps it";
    delete offScreen;

    ASSERT_TRUE(cast->AddDirtyRect(new Rectangle(0, 0, 10, 10)));
    cast->ClearDirtyRects(false);
    EXPECT_EQ(cast->GetDirtyRects().size(), 1u);
    cast->ClearDirtyRects(false);
    EXPECT_TRUE(cast->GetDirtyRects().empty());

    ASSERT_TRUE(cast->AddDirtyRect(new Rectangle(0, 0, 10, 10)));
    cast->ClearDirtyRects(true);
    EXPECT_TRUE(cast->GetDirtyRects().empty());
}

TEST_F(CastPaintTest, BackgroundGivenAsImageStaysTheCallers)
{
    auto* pixels =
        Canvas::CreateRGB(0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32,
                          0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    pixels->Clear(kBlue);
    Rectangle whole(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);
    auto image = std::make_unique<Image>(pixels, whole);

    cast->SetBackground(image.get());
    EXPECT_EQ(cast->GetBackground(), image.get());
    Rectangle area(0, 0, 50, 50);
    cast->PaintBackground(paint.get(), &area);
    EXPECT_EQ(Rgb(10, 10), Rgb(kBlue));
    EXPECT_EQ(Rgb(60, 10), Rgb(kGreen)) << "clipped to the rectangle";

    // Neither replacing nor deleting the background frees the caller's image.
    cast->SetBackground(std::string("unknown"));
    cast->SetBackground(image.get());
    cast->DeleteBackground();
    EXPECT_EQ(cast->GetBackground(), nullptr);
    EXPECT_EQ(image->GetW(), 800);
}

TEST_F(CastPaintTest, BackgroundByNameWithOffsetAndZoom)
{
    mkdir("cfg", 0755);
    mkdir("images", 0755);
    SDL_Surface* file = SDL_CreateRGBSurface(0, 100, 100, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_FillRect(file, nullptr, SDL_MapRGB(file->format, kBlue.GetR(), kBlue.GetG(), kBlue.GetB()));
    ASSERT_EQ(SDL_SaveBMP(file, "images/bg.bmp"), 0);
    SDL_FreeSurface(file);
    ASSERT_TRUE(testsupport::WriteFile("cfg/images.cfg", "[images]\r\nbg=images/bg.bmp\r\n"));
    ImageResources images("cfg/images.cfg", "images");

    cast->SetBackground(std::string("bg"));
    ASSERT_NE(cast->GetBackground(), nullptr);
    Rectangle area(0, 0, 300, 300);
    cast->PaintBackground(paint.get(), &area);
    EXPECT_EQ(Rgb(50, 50), Rgb(kBlue));
    EXPECT_EQ(Rgb(150, 150), Rgb(kGreen));

    Color band(200, 200, 0);
    cast->SetBackgroundOffset(20, band);
    paint->Clear(kGreen);
    cast->PaintBackground(paint.get(), &area);
    EXPECT_EQ(Rgb(50, 10), Rgb(band));
    EXPECT_EQ(Rgb(50, 30), Rgb(kBlue));
    EXPECT_EQ(Rgb(150, 150), Rgb(band)) << "the colour fills the rest of the rectangle";
    cast->SetBackgroundOffset(0, band);

    // 2x zoom: 200 x 200 pixels, drawn from its point (50, 0) at the screen's corner.
    cast->ZoomBackground(2.0f, 50, 0);
    paint->Clear(kGreen);
    cast->PaintBackground(paint.get(), &area);
    EXPECT_EQ(Rgb(120, 150), Rgb(kBlue));
    EXPECT_EQ(Rgb(160, 150), Rgb(kGreen));
    cast->ZoomBackground(3.0f, 0, 0); // replaces the copy
    cast->ZoomBackground(1.0f, 7, 9);
    paint->Clear(kGreen);
    cast->PaintBackground(paint.get(), &area);
    EXPECT_EQ(Rgb(2, 2), Rgb(kBlue)) << "the plain background at (0, 0) again";
    EXPECT_EQ(Rgb(120, 150), Rgb(kGreen));

    cast->SetBackground(std::string("bg")); // the stage frees what it loaded
    cast->DeleteBackground();
    EXPECT_EQ(cast->GetBackground(), nullptr);
}

TEST_F(CastPaintTest, LowDetailFadeDrawsDarkenedBlocksInsteadOfSprites)
{
    manager->SetHighDetail(false);
    auto* sprite = new Swatch(cast, 600, 400, 50, 50, 1, kRed);
    manager->SetMasterAlpha(0);
    manager->FadeIn(1000, nullptr);
    ticks.Advance(981); // 255 x 0.981 = 250
    manager->DoFades();
    ASSERT_EQ(cast->GetFadeAlpha(), 250);

    // White left of x = 400, black from it on.
    Rectangle left(0, 0, 400, 600);
    paint->Clear(kBlack);
    paint->FillRect(left, Color(255, 255, 255));
    Dirty(0, 0, AnimationManager::kScreenWidth, AnimationManager::kScreenHeight);
    cast->Paint(paint.get(), true);

    EXPECT_EQ(sprite->paints, 0);
    // Blocks of 10 (256 - 250 = 6, raised to 10) keeping 190/200 of the brightness.
    EXPECT_EQ(Rgb(0, 0), 0xF2F2F2u);
    EXPECT_EQ(Rgb(9, 9), 0xF2F2F2u);
    // The block at x = 390 averages two white and two black corners: 127 x 190 / 200.
    EXPECT_EQ(Rgb(395, 5), 0x787878u);
    EXPECT_EQ(Rgb(620, 420), 0u);

    manager->SetHighDetail(true);
    paint->Clear(kGreen);
    cast->Paint(paint.get(), true);
    EXPECT_EQ(sprite->paints, 1) << "in high detail the sprites are painted";
}

TEST_F(CastPaintTest, ScreenFadesEndWithTheirCues)
{
    CueLog log;
    manager->FadeIn(500, &log);
    EXPECT_EQ(log.cues, std::vector<int>{CueListener::kScreenFadedIn}) << "already at 255";
    EXPECT_FALSE(manager->FadingIn());

    manager->FadeOut(0, &log); // lasts 1 ms
    EXPECT_TRUE(manager->FadingOut());
    ticks.Advance(1);
    manager->DoFades();
    EXPECT_EQ(manager->GetMasterAlpha(), 0);
    EXPECT_EQ(cast->GetFadeAlpha(), 0);
    EXPECT_EQ(log.cues,
              (std::vector<int>{CueListener::kScreenFadedIn, CueListener::kScreenFadedOut}));

    manager->FadeTo(100, 200, &log);
    ticks.Advance(100);
    manager->DoFades();
    EXPECT_EQ(manager->GetMasterAlpha(), 50);
    ticks.Advance(150);
    manager->DoFades();
    EXPECT_EQ(manager->GetMasterAlpha(), 100);
    EXPECT_EQ(log.cues, (std::vector<int>{CueListener::kScreenFadedIn, CueListener::kScreenFadedOut,
                                          CueListener::kScreenFadedOther}));
    manager->FadeTo(100, 200, &log);
    EXPECT_EQ(log.cues,
              (std::vector<int>{CueListener::kScreenFadedIn, CueListener::kScreenFadedOut,
                                CueListener::kScreenFadedOther, CueListener::kScreenFadedOther}));
}

TEST_F(CastPaintTest, ListenerMayStartTheNextFadeFromItsCue)
{
    class Bouncer : public CueListener
    {
    public:
        explicit Bouncer(AnimationManager* m) : _m(m) {}
        void Cue(CastMember*, int cue, int) override
        {
            if (cue == CueListener::kScreenFadedOut) {
                _m->FadeIn(100, this);
            }
        }

    private:
        AnimationManager* _m;
    };
    Bouncer bouncer(manager.get());
    manager->FadeOut(100, &bouncer);
    ticks.Advance(100);
    manager->DoFades();
    EXPECT_EQ(manager->GetMasterAlpha(), 0);
    EXPECT_TRUE(manager->FadingIn());
    EXPECT_EQ(manager->GetFadeStartAlpha(), 0);
    ticks.Advance(50);
    manager->DoFades();
    EXPECT_EQ(manager->GetMasterAlpha(), 127);
}
