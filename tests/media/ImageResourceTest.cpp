#include "framework/media/ImageResource.h"

#include "SDL.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using mediatest::FramePixel;

class ImageResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/sheet.png"));
        _screenFormat = std::make_unique<mediatest::ScreenFormat>(1, 1);
    }
    void TearDown() override { _screenFormat.reset(); }

    static void ExpectFrame(Canvas* c, int frame, bool mirrorH = false, bool mirrorV = false)
    {
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->GetW(), 100);
        ASSERT_EQ(c->GetH(), 50);
        for (int y = 0; y < 50; y += 7) {
            for (int x = 0; x < 100; x += 9) {
                const Color want = FramePixel(frame, mirrorH ? 99 - x : x, mirrorV ? 49 - y : y);
                const Color got = c->GetPixel(x, y);
                ASSERT_EQ(got.GetR(), want.GetR()) << x << "," << y;
                ASSERT_EQ(got.GetG(), want.GetG()) << x << "," << y;
                ASSERT_EQ(got.GetB(), want.GetB()) << x << "," << y;
            }
        }
    }

    std::unique_ptr<mediatest::ScreenFormat> _screenFormat;
};

} // namespace

TEST_F(ImageResourceTest, FourByTwoSheetHasFramesOfAQuarterByAHalf)
{
    ImageResource sheet("images/sheet.png", 4, 2, nullptr);
    ASSERT_TRUE(sheet.IsLoaded());
    EXPECT_EQ(sheet.GetNumFrames(), 4); // the columns
    EXPECT_EQ(sheet.GetNumRows(), 2);
    EXPECT_EQ(sheet.GetFrameCount(), 8);
    EXPECT_EQ(sheet.GetFrameW(), 100);
    EXPECT_EQ(sheet.GetFrameH(), 50);
    const SDL_Rect frame = sheet.GetFrameRect();
    EXPECT_EQ(frame.x, 0);
    EXPECT_EQ(frame.y, 0);
    EXPECT_EQ(frame.w, 100);
    EXPECT_EQ(frame.h, 50);
    EXPECT_FALSE(sheet.IsPerPixelFormat());
    EXPECT_FALSE(sheet.AllowImageDelete());
    EXPECT_TRUE(sheet.DeleteCanvas());
    EXPECT_NE(sheet.GetFullName().find("ImageResource-images/sheet.png-4-2"), std::string::npos);

    // Every frame, and the source rectangle it was cut from.
    struct Case
    {
        int col, row, wantCol, wantRow;
    };
    const Case cases[] = {{0, 0, 0, 0}, {3, 0, 3, 0}, {2, 1, 2, 1},
                          {5, 1, 0, 1}, {1, 2, 1, 0}, {-1, -1, 0, 0}};
    std::unique_ptr<Canvas> target(sheet.GetNewFrame(0, 0));
    ExpectFrame(target.get(), 0);
    for (const Case& c : cases) {
        int col = c.col;
        int row = c.row;
        ASSERT_TRUE(sheet.SetFrame(target.get(), col, row, false, false));
        EXPECT_EQ(col, c.wantCol);
        EXPECT_EQ(row, c.wantRow);
        const SDL_Rect src = sheet.GetSourceRect();
        EXPECT_EQ(src.x, c.wantCol * 100);
        EXPECT_EQ(src.y, c.wantRow * 50);
        EXPECT_EQ(src.w, 100);
        EXPECT_EQ(src.h, 50);
        ExpectFrame(target.get(), c.wantRow * 4 + c.wantCol);
    }
}

TEST_F(ImageResourceTest, MirroredFramesAndPerPixelFrames)
{
    ImageResource sheet("images/sheet.png", 4, 2, nullptr);
    std::unique_ptr<Canvas> target(sheet.GetNewFrame(0, 0));
    int col = 2;
    int row = 1;
    ASSERT_TRUE(sheet.SetFrame(target.get(), col, row, true, false));
    ExpectFrame(target.get(), 6, true, false);
    ASSERT_TRUE(sheet.SetFrame(target.get(), col, row, true, true));
    ExpectFrame(target.get(), 6, true, true);

    ImageResource perPixel("images/sheet.png", 4, 2, Canvas::PerPixelFormat());
    EXPECT_TRUE(perPixel.IsPerPixelFormat());
    std::unique_ptr<Canvas> frame(perPixel.GetNewFrame(1, 1));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetSurface()->format->BitsPerPixel,
              perPixel.GetSurface()->format->BitsPerPixel);
    ExpectFrame(frame.get(), 5);
}

TEST_F(ImageResourceTest, NextFrameRunsAlongRowsAndWraps)
{
    ImageResource sheet("images/sheet.png", 4, 2, nullptr);
    std::unique_ptr<Canvas> target(sheet.GetNewFrame(0, 0));
    int col = 2;
    int row = 0;
    ASSERT_TRUE(sheet.NextFrame(target.get(), col, row));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 0);
    ASSERT_TRUE(sheet.NextFrame(target.get(), col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 1);
    col = 3;
    ASSERT_TRUE(sheet.NextFrame(target.get(), col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
    ExpectFrame(target.get(), 0);

    ImageResource single("images/sheet.png", 1, 1, nullptr);
    int c = 0, r = 0;
    EXPECT_FALSE(single.NextFrame(target.get(), c, r));
}

TEST_F(ImageResourceTest, SheetThatIsNotLoadedIsRefused)
{
    ImageResource missing("images/none.png", 4, 2, nullptr);
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.GetNewFrame(0, 0), nullptr);
    Canvas target(4, 4, nullptr);
    int col = 2, row = 1;
    EXPECT_FALSE(missing.SetFrame(&target, col, row, false, false));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);

    ImageResource sheet("images/sheet.png", 4, 2, nullptr);
    sheet.InitResource(0, 3);
    EXPECT_FALSE(sheet.IsLoaded());
    EXPECT_EQ(sheet.GetNewFrame(0, 0), nullptr);
    sheet.InitResource(500, 1); // frames narrower than a pixel
    EXPECT_FALSE(sheet.IsLoaded());
    sheet.InitResource(4, 2);
    EXPECT_TRUE(sheet.IsLoaded());
    EXPECT_FALSE(sheet.SetFrame(nullptr, col, row, false, false));
    EXPECT_FALSE(sheet.SetFrame(&sheet, col, row, true, false)); // never into itself
}

TEST_F(ImageResourceTest, SingleFrameSheetIsItsOwnFrame)
{
    ImageResource single("images/sheet.png", 1, 1, nullptr);
    EXPECT_FALSE(single.DeleteCanvas());
    EXPECT_EQ(single.GetNewFrame(0, 0), &single);
    ImageResource singlePerPixel("images/sheet.png", 1, 1, Canvas::PerPixelFormat());
    EXPECT_TRUE(singlePerPixel.DeleteCanvas());
    std::unique_ptr<Canvas> own(singlePerPixel.GetNewFrame(0, 0));
    EXPECT_NE(own.get(), &singlePerPixel);
}

TEST_F(ImageResourceTest, CopyIntoGridPlacesAnImageInACellOnlyWhenItFits)
{
    ImageResource grid(40, 20, 4, 2); // cells of 10 x 10
    ASSERT_TRUE(grid.IsLoaded());
    EXPECT_NE(grid.GetFullName().find("ImageResource-Blank-40-20"), std::string::npos);
    grid.Clear(Color(0, 0, 0, 255));
    SDL_Surface* s = SDL_CreateRGBSurface(0, 6, 4, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(s, nullptr, 0x00FF0000);
    Rectangle whole(0, 0, 6, 4);
    Image red(new Canvas(s), whole);

    grid.CopyIntoGrid(2, 1, &red, 4, 6); // exactly fits: 6 <= 10 - 4, 4 <= 10 - 6
    EXPECT_EQ(grid.GetPixel(24, 16), Color(255, 0, 0, 255));
    EXPECT_EQ(grid.GetPixel(29, 19), Color(255, 0, 0, 255));
    EXPECT_EQ(grid.GetPixel(23, 16), Color(0, 0, 0, 255));

    grid.Clear(Color(0, 0, 0, 255));
    grid.CopyIntoGrid(0, 0, &red, 5, 0); // one pixel too wide: nothing
    grid.CopyIntoGrid(4, 0, &red, 0, 0); // no such column
    grid.CopyIntoGrid(0, 2, &red, 0, 0); // no such row
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(grid.GetPixel(x, y), Color(0, 0, 0, 255)) << x << "," << y;
        }
    }

    // BlitInto pastes anywhere and complains when it runs over the edge.
    grid.BlitInto(&red, 36, 0);
    EXPECT_EQ(grid.GetPixel(39, 3), Color(255, 0, 0, 255));
    Debug::DebugFlush();
    EXPECT_NE(testsupport::ReadFile("debug.txt").find("BlitInto Failed Width Too big 42 > 40"),
              std::string::npos);

    ImageResource copied(grid);
    EXPECT_EQ(copied.GetNumFrames(), 4);
    EXPECT_EQ(copied.GetNumRows(), 2);
    EXPECT_EQ(copied.GetPixel(39, 3), Color(255, 0, 0, 255));
    EXPECT_NE(copied.GetFullName().find("ImageResource-Copied-4-2"), std::string::npos);
}

TEST_F(ImageResourceTest, PaletteSheetKeptAsStoredGivesPaletteFrames)
{
    ASSERT_TRUE(testsupport::WriteFile(
        "images/anim.gif", testsupport::ReadFile(testsupport::FixturePath("images/anim.gif"))));
    ImageResource sheet("images/anim.gif", 2, 1, Canvas::PerPixelFormat());
    ASSERT_TRUE(sheet.IsLoaded());
    ASSERT_EQ(sheet.GetSurface()->format->BitsPerPixel, 8);
    std::unique_ptr<Canvas> frame(sheet.GetNewFrame(1, 0));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetPixel(2, 5), Color(0, 200, 0, 255)); // sheet pixel (8, 5)
    EXPECT_EQ(frame->GetPixel(5, 5), Color(255, 0, 255, 255));
    int col = 0, row = 0;
    ASSERT_TRUE(sheet.SetFrame(frame.get(), col, row, true, false));
    EXPECT_EQ(frame->GetPixel(5, 0), Color(255, 0, 255, 255));
    EXPECT_EQ(frame->GetPixel(2, 2), Color(0, 200, 0, 255)); // sheet pixel (3, 2)
}
