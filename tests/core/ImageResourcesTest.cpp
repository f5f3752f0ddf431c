#include "framework/core/ImageResources.h"

#include "SDL.h"
#include "framework/core/Asset.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/media/ImageSet.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

class ImageResourcesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mkdir("cfg", 0755);
        ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/sheet.png"));
        ASSERT_TRUE(testsupport::WriteFile("cfg/images.cfg",
                                           "[images]\r\n"
                                           "tile=images/sheet.png,4,2,perpixel\r\n"
                                           "bg=images/sheet.png\r\n"
                                           "broken=images/none.png,2\r\n"
                                           "[group]\r\n"
                                           "a=images/sheet.png,4,1\r\n"
                                           "b=images/sheet.png,2,2\r\n"));
        _screen = std::make_unique<mediatest::ScreenFormat>(1, 1);
    }
    void TearDown() override { _screen.reset(); }
    std::unique_ptr<mediatest::ScreenFormat> _screen;
};

} // namespace

TEST_F(ImageResourcesTest, EntriesGiveSharedSheets)
{
    ImageResources images("cfg/images.cfg", "images");
    EXPECT_EQ(ImageResources::_self, &images);

    ImageResource* tile = ImageResources::Get("tile");
    ASSERT_NE(tile, nullptr);
    EXPECT_TRUE(tile->IsLoaded());
    EXPECT_EQ(tile->GetNumFrames(), 4);
    EXPECT_EQ(tile->GetNumRows(), 2);
    EXPECT_TRUE(tile->IsPerPixelFormat());

    // The second request does not read the file again.
    ASSERT_EQ(std::remove("images/sheet.png"), 0);
    ASSERT_EQ(std::remove("images/sheet.pnge"), 0);
    EXPECT_EQ(ImageResources::Get("tile"), tile);

    ImageResource* bg = ImageResources::Get("bg");
    EXPECT_EQ(bg, nullptr); // its file is gone now
    EXPECT_EQ(ImageResources::Get("broken"), nullptr);
    EXPECT_EQ(ImageResources::Get("unlisted"), nullptr);
    EXPECT_EQ(images.AssetCount(), 4);
}

TEST_F(ImageResourcesTest, PurgedSheetReloadsAndLockedSheetStays)
{
    ImageResources images("cfg/images.cfg", "images");
    ImageResource* tile = ImageResources::Get("tile");
    ASSERT_NE(tile, nullptr);
    // An image sprite shows the sheet through images of its own.
    Image shown(tile, 1, 1, 0);
    ImageResources::Lock("tile");
    images.PurgeAssets("images");
    EXPECT_EQ(ImageResources::Get("tile"), tile);
    EXPECT_EQ(shown.GetCanvas()->GetW(), 100);

    ImageResources::Unlock("tile");
    ImageResources::Unlock("unregistered");
    images.PurgeAssets("images");
    EXPECT_EQ(images.GetAsset("tile"), nullptr);
    ImageResource* again = ImageResources::Get("tile");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetFrameW(), 100);
    EXPECT_EQ(again->GetFrameH(), 50);
}

TEST_F(ImageResourcesTest, GroupsLoadAndLoadOneKeepsOnlyItsAsset)
{
    ImageResources images("cfg/images.cfg", "images");
    ImageResources::Load("group");
    ASSERT_NE(images.GetAsset("a"), nullptr);
    ASSERT_NE(images.GetAsset("b"), nullptr);
    EXPECT_EQ(ImageResources::Get("b")->GetNumRows(), 2);
    Asset* a = ImageResources::LoadOne("group", "a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(images.GetAsset("b"), nullptr);
    EXPECT_EQ(static_cast<ImageResource*>(a->GetObject())->GetNumFrames(), 4);
}

TEST_F(ImageResourcesTest, DeleteAllAtExitLeavesNoObjectBehind)
{
    {
        ImageResources images("cfg/images.cfg", "images");
        ImageResource* tile = ImageResources::Get("tile");
        ImageResources::Lock("tile");
        ImageSet set;
        auto* first = new Image(tile, 2, 1, 0);
        set.AddImage(first);
        auto* copy = new Image(first);
        copy->MirrorHorizontal(true);
        copy->SetAlpha(100);
        set.AddImage(copy);
        set.AddImage(new Image("images/sheet.png", nullptr));
        ImageResources::Get("bg");
        ImageResources::Load("group");
        images.PurgeAssets("group");
        images.DeleteAll(); // the exit handler's call, locks or not
        EXPECT_EQ(images.AssetCount(), 0);
        EXPECT_EQ(ImageResources::Get("nothing"), nullptr);
    }
    EXPECT_EQ(ImageResources::_self, nullptr);
    EXPECT_EQ(ImageResources::Get("tile"), nullptr);

    Debug::CloseDebugFile();
    const std::string log = testsupport::ReadFile("debug.txt");
    EXPECT_EQ(log.find("Object Not Cleaned UP"), std::string::npos) << log;
    EXPECT_NE(log.find("Total objects used - "), std::string::npos);
}
