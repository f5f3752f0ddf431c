#include "framework/media/Image.h"

#include "SDL.h"
#include "framework/media/Canvas.h"
#include "framework/media/ImageResource.h"
#include "framework/media/ImageSet.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using mediatest::FramePixel;

class ImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* f : {"sheet4x2.png", "alpha.png"}) {
            ASSERT_TRUE(mediatest::CopyImageFixture(f, std::string("images/") + f));
        }
        _screen = std::make_unique<mediatest::ScreenFormat>(80, 60);
    }
    void TearDown() override { _screen.reset(); }
    std::unique_ptr<mediatest::ScreenFormat> _screen;
};

} // namespace

TEST_F(ImageTest, ImageOfAFileDrawsItsOnlyFrameFromTheSheet)
{
    Image image("images/sheet4x2.png", nullptr);
    ASSERT_NE(image.GetCanvas(), nullptr);
    EXPECT_EQ(image.GetCanvas(), image.GetImageResource()); // a one-frame sheet is its own frame
    EXPECT_FALSE(image.OwnsCanvas());
    EXPECT_EQ(image.GetW(), 400);
    EXPECT_EQ(image.GetH(), 100);
    EXPECT_EQ(image.GetFrameW(), 400);
    EXPECT_FALSE(image.SetFrame(0, 0));
    EXPECT_EQ(image.GetFullName().rfind("(Image-1-images/sheet4x2.png", 0), 0u);

    Canvas screen(SDL_CreateRGBSurface(0, 500, 200, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    ASSERT_TRUE(image.Blit(&screen, 50, 20));
    EXPECT_EQ(screen.GetPixel(50 + 150, 20 + 60), FramePixel(5, 50, 10));
    EXPECT_EQ(screen.GetPixel(49, 20), Color(0, 0, 0, 255));

    // The buttons' way: one image cut into a grid afterwards; it still draws from the sheet.
    image.SetFrames(4, 1);
    EXPECT_EQ(image.GetNumFrames(), 4);
    EXPECT_EQ(image.GetFrameW(), 100);
    EXPECT_EQ(image.GetFrameH(), 100);
}

TEST_F(ImageTest, MissingFileGivesAnImageThatDrawsNothing)
{
    Image image("images/none.png", nullptr);
    EXPECT_EQ(image.GetCanvas(), nullptr);
    EXPECT_EQ(image.GetImageResource(), nullptr);
    Canvas screen(10, 10, nullptr);
    EXPECT_FALSE(image.Blit(&screen, 0, 0));
    EXPECT_FALSE(image.SetFrame(1, 0));
    EXPECT_FALSE(image.NextFrame());
    EXPECT_FALSE(image.ResetFrame());
    image.SetAlpha(10);
    image.UseTransparency(true, false);
    for (int v : {image.GetNumFrames(), image.GetNumRows(), image.GetSurfaceW(),
                  image.GetSurfaceH(), image.GetFrameW(), image.GetFrameH()}) {
        EXPECT_EQ(v, 0);
    }
    Debug::DebugFlush();
    EXPECT_NE(testsupport::ReadFile("debug.txt").find("Image Init Failed - images/none.png"),
              std::string::npos);
}

TEST_F(ImageTest, FramesOfASharedSheet)
{
    auto* sheet = new ImageResource("images/sheet4x2.png", 4, 2, nullptr);
    Image image(sheet, 0, 0, 1); // deletes the sheet
    ASSERT_NE(image.GetCanvas(), nullptr);
    EXPECT_TRUE(image.OwnsCanvas());
    EXPECT_EQ(image.GetW(), 100);
    EXPECT_EQ(image.GetH(), 50);
    EXPECT_EQ(image.GetSurfaceW(), 100);
    EXPECT_EQ(image.GetFrameW(), 25); // the width divided by the sheet's columns
    EXPECT_EQ(image.GetNumFrames(), 4);
    EXPECT_EQ(image.GetNumRows(), 2);

    EXPECT_TRUE(image.SetFrame(5, 1)); // column too big: column 0 of row 1
    EXPECT_EQ(image.GetFrame(), 0);
    EXPECT_TRUE(image.IsCurrentFrame(0, 1));
    EXPECT_EQ(image.GetCanvas()->GetPixel(10, 10), FramePixel(4, 10, 10));

    ASSERT_TRUE(image.SetFrame(3, 1));
    ASSERT_TRUE(image.NextFrame());
    EXPECT_TRUE(image.IsCurrentFrame(0, 0));
    EXPECT_EQ(image.GetCanvas()->GetPixel(10, 10), FramePixel(0, 10, 10));

    // Mirroring is applied when the flag changes, and once only.
    image.MirrorHorizontal(true);
    EXPECT_EQ(image.GetCanvas()->GetPixel(0, 0), FramePixel(0, 99, 0));
    image.GetCanvas()->SetPixel(0, 0, Color(1, 2, 3, 255));
    image.MirrorHorizontal(true);
    EXPECT_EQ(image.GetCanvas()->GetPixel(0, 0), Color(1, 2, 3, 255));
    image.MirrorVertical(true);
    EXPECT_EQ(image.GetCanvas()->GetPixel(0, 0), FramePixel(0, 99, 49));
    image.MirrorHorizontal(false);
    image.MirrorVertical(false);
    EXPECT_EQ(image.GetCanvas()->GetPixel(0, 0), FramePixel(0, 0, 0));
}

TEST_F(ImageTest, TransparentFramesLeaveTheirKeyPixelsOut)
{
    auto* sheet = new ImageResource("images/sheet4x2.png", 4, 2, nullptr);
    Image image(sheet, 1, 0, 1);
    image.UseTransparency(true, false); // the colour of the frame's pixel (0, 0)
    Canvas screen(SDL_CreateRGBSurface(0, 100, 50, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    screen.Clear(Color(7, 7, 7, 255));
    ASSERT_TRUE(image.Blit(&screen, 0, 0));
    EXPECT_EQ(screen.GetPixel(0, 0), Color(7, 7, 7, 255));
    EXPECT_EQ(screen.GetPixel(1, 0), FramePixel(1, 1, 0));

    Image keyed(new ImageResource("images/sheet4x2.png", 4, 2, nullptr), 0, 0, 1);
    keyed.UseTransparency(FramePixel(0, 1, 0), false);
    screen.Clear(Color(7, 7, 7, 255));
    keyed.Blit(&screen, 0, 0);
    EXPECT_EQ(screen.GetPixel(1, 0), Color(7, 7, 7, 255));
    EXPECT_EQ(screen.GetPixel(0, 0), FramePixel(0, 0, 0));
}

TEST_F(ImageTest, MirroringAnImageThatDrawsFromItsSheetLeavesTheSheetAlone)
{
    auto* sheet = new ImageResource("images/sheet4x2.png", 1, 1, nullptr);
    Image mirrored(sheet, 0, 0, 1); // deletes the sheet
    Image plain(sheet, 0, 0, 0);
    plain.MarkAsCastMemberCopy(); // the sheet allows deletion: only one image may do it
    mirrored.MirrorHorizontal(true);
    EXPECT_NE(mirrored.GetCanvas(), sheet);
    EXPECT_TRUE(mirrored.OwnsCanvas());
    EXPECT_EQ(mirrored.GetCanvas()->GetPixel(0, 0), FramePixel(3, 99, 0));
    EXPECT_EQ(plain.GetCanvas(), sheet);
    EXPECT_EQ(sheet->GetPixel(0, 0), FramePixel(0, 0, 0));
}

TEST_F(ImageTest, PerPixelAlphaScalesTheFrameAndNotTheSheet)
{
    Image image("images/alpha.png", Canvas::PerPixelFormat());
    ASSERT_NE(image.GetCanvas(), nullptr);
    ImageResource* sheet = image.GetImageResource();
    ASSERT_NE(image.GetCanvas(), sheet); // a per-pixel sheet gives a frame canvas of its own
    EXPECT_TRUE(image.OwnsCanvas());
    image.SetAlpha(128);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int a = x == 0 ? 0 : 40 + x * 30;
            const Color got = image.GetCanvas()->GetPixel(x, y);
            EXPECT_EQ(got.GetA(), a * 128 / 255) << x << "," << y;
            EXPECT_EQ(got.GetR(), x * 30);
            EXPECT_EQ(sheet->GetPixel(x, y).GetA(), a);
        }
    }
    image.SetAlpha(255);
    EXPECT_EQ(image.GetCanvas()->GetPixel(7, 0).GetA(), 250);
}

TEST_F(ImageTest, CopiesShareTheSheetButNeverDeleteIt)
{
    auto* original = new Image("images/sheet4x2.png", nullptr);
    ImageResource* sheet = original->GetImageResource();
    {
        Image copy(original);
        EXPECT_TRUE(copy.IsCastMemberCopy());
        EXPECT_EQ(copy.GetImageResource(), sheet);
        EXPECT_EQ(copy.GetFullName().rfind("(Image-Copy-(Image-1-", 0), 0u);
    }
    // The sheet outlived the copy; the original still draws from it and deletes it.
    Canvas screen(SDL_CreateRGBSurface(0, 400, 100, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    EXPECT_TRUE(original->Blit(&screen, 0, 0));
    EXPECT_EQ(screen.GetPixel(399, 99), FramePixel(7, 99, 49));

    auto* framed = new Image(new ImageResource("images/sheet4x2.png", 4, 2, nullptr), 2, 1, 1);
    auto* framedCopy = new Image(framed);
    EXPECT_TRUE(framedCopy->IsCurrentFrame(2, 1));
    EXPECT_EQ(framedCopy->GetCanvas()->GetPixel(0, 0), FramePixel(6, 0, 0));
    delete framedCopy;
    delete framed;
    delete original;

    // A copy of an image made from a canvas gets pixels of its own.
    SDL_Surface* s = SDL_CreateRGBSurface(0, 3, 3, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(s, nullptr, 0x00123456);
    Rectangle part(1, 1, 2, 2);
    auto* fromCanvas = new Image(new Canvas(s), part);
    EXPECT_EQ(fromCanvas->GetFrameW(), 2); // no sheet: the plain width
    EXPECT_EQ(fromCanvas->GetFrameH(), 2);
    EXPECT_FALSE(fromCanvas->SetFrame(0, 0));
    Image canvasCopy(fromCanvas);
    delete fromCanvas;
    ASSERT_NE(canvasCopy.GetCanvas(), nullptr);
    EXPECT_EQ(canvasCopy.GetCanvas()->GetPixel(1, 1), Color(0x12, 0x34, 0x56, 255));
    EXPECT_EQ(canvasCopy.SrcRect(), part);
}

TEST_F(ImageTest, LongNamesAreKeptWhole)
{
    const std::string longName = "images/" + std::string(5000, 'x') + ".png";
    Image image(longName, nullptr);
    EXPECT_NE(image.GetName().find(longName), std::string::npos);
    ImageResource sheet(longName, 3, 2, nullptr);
    EXPECT_NE(sheet.GetName().find(longName + "-3-2"), std::string::npos);
}

TEST_F(ImageTest, BlitIntoCopiesAWholeImageAndReportsOverruns)
{
    Image target(new ImageResource(20, 10, 1, 1), 0, 0, 1);
    target.GetCanvas()->Clear(Color(0, 0, 0, 255));
    SDL_Surface* s = SDL_CreateRGBSurface(0, 5, 5, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(s, nullptr, 0x0000FF00);
    Rectangle whole(0, 0, 5, 5);
    Image green(new Canvas(s), whole);
    target.BlitInto(&green, 17, 0);
    EXPECT_EQ(target.GetCanvas()->GetPixel(19, 4), Color(0, 255, 0, 255));
    EXPECT_EQ(target.GetCanvas()->GetPixel(16, 4), Color(0, 0, 0, 255));
    Debug::DebugFlush();
    EXPECT_NE(testsupport::ReadFile("debug.txt").find("BlitInto Failed Width Too big 22 > 20"),
              std::string::npos);
}

TEST(ImageSetTest, OwnsItsImagesAndFindsThemByPointer)
{
    auto* a = new Image("images/none.png", nullptr);
    auto* b = new Image("images/none.png", nullptr);
    Image outsider("images/none.png", nullptr);
    {
        ImageSet set;
        EXPECT_EQ(set.ImageCount(), 0);
        set.AddImage(a);
        set.AddImage(b);
        set.AddImage(nullptr);
        EXPECT_EQ(set.FindImage(&outsider), -1);
        set.RemoveImage(&outsider);
        EXPECT_EQ(set.ImageCount(), 3);
        EXPECT_TRUE(set.HasImage(b));
        set.RemoveImage(a);
        EXPECT_EQ(set.FindImage(b), 0);
        EXPECT_EQ(set.ImageCount(), 2);
        EXPECT_EQ(set.GetImage(0), b);
        EXPECT_EQ(set.GetImage(1), nullptr);
        EXPECT_FALSE(set.HasImage(a));
    } // deletes b, skips the null entry
    delete a;
}

TEST_F(ImageTest, ImageOutlivingItsSheetIsDestroyedSafely)
{
    // The registry deletes its sheets at exit while sprites still hold images of them.
    auto* sheet = new ImageResource("images/sheet4x2.png", 4, 2, nullptr);
    auto* single = new ImageResource("images/sheet4x2.png", 1, 1, nullptr);
    auto* framed = new Image(sheet, 1, 0, 0);
    auto* whole = new Image(single, 0, 0, 0);
    delete sheet;
    delete single;
    delete framed; // its own frame canvas goes; the sheet is not touched
    delete whole;  // drew from the sheet itself
}
