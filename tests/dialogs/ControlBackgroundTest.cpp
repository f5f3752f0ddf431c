#include "framework/dialogs/ControlBackground.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/Image.h"
#include "tests/dialogs/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace controltest;

namespace {

class ControlBackgroundTest : public ControlFixture
{
};

} // namespace

TEST_F(ControlBackgroundTest, GivesTheDialogItsShadowAndFadeTimesAndItsTiles)
{
    // The skin's "background" gives the tiles, the shadow and a fade time of 150; the
    // description's own 250 wins.
    ConfigFile* file = Description("[background]\nfadetime=250\nheaderheight=12\n");
    ControlBackground background;
    EXPECT_TRUE(background.Load(file, "background"));
    EXPECT_EQ(background.GetKind(), Control::kBackground);
    EXPECT_EQ(background.GetFadeTime(), 250);
    EXPECT_EQ(background.GetShadow(), Point(5, 6));
    EXPECT_EQ(background.GetHeaderHeight(), 12);
    EXPECT_EQ(background.GetFooterHeight(), 0);
    EXPECT_EQ(background.GetDimAlpha(), 160);
    EXPECT_EQ(background.GetTileCols(), 3);
    EXPECT_EQ(background.GetTileRows(), 3);
    ASSERT_NE(background.GetTileImage(), nullptr);
    EXPECT_EQ(background.GetTileImage()->GetNumFrames(), 3);
    EXPECT_EQ(background.GetTileImage()->GetNumRows(), 3);
    EXPECT_EQ(background.GetW(), 16) << "one tile";
    EXPECT_EQ(background.GetH(), 16);

    CastMemberDialog* dialog = NewDialog();
    background.AddTo(dialog);
    EXPECT_EQ(background.GetItem(), nullptr) << "no item of its own";
    EXPECT_TRUE(dialog->GetItems().empty());
    EXPECT_EQ(dialog->GetShadowPos(), Point(5, 6));
    EXPECT_EQ(dialog->GetFadeInTime(), 250);
    EXPECT_EQ(dialog->GetFadeOutTime(), 250);
}

TEST_F(ControlBackgroundTest, DefaultsWithoutAnyKey)
{
    ConfigFile* file = Description("[bg]\ntype=background\n");
    ControlBackground background;
    EXPECT_FALSE(background.Load(file, "bg")) << "neither image nor tiles";
    EXPECT_EQ(background.GetFadeTime(), -1);
    EXPECT_EQ(background.GetShadow(), Point(7, 7));
    EXPECT_EQ(background.GetHeaderHeight(), 1);
    EXPECT_EQ(background.GetFooterHeight(), 0);

    CastMemberDialog* dialog = NewDialog();
    background.AddTo(dialog);
    EXPECT_EQ(dialog->GetShadowPos(), Point(7, 7)) << "applied all the same";
    EXPECT_EQ(dialog->GetFadeInTime(), -1);
    EXPECT_EQ(dialog->GetFadeOutTime(), -1);
}

TEST_F(ControlBackgroundTest, SizeTakesTheImagesWidthAndTheTilesHeight)
{
    const struct
    {
        const char* keys;
        int w;
        int h;
    } cases[] = {
        {"tileimage=img/tiles.png\n", 16, 16},
        {"img=img/back.png\n", 300, 200},
        {"img=img/back.png\ntileimage=img/tiles.png\n", 300, 16},
        {"tileimage=img/tiles43.png\ntilecols=4\ntilerows=3\n", 10, 10},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        ConfigFile* file = Description(std::string("[bg]\n") + c.keys);
        ControlBackground background;
        background.Load(file, "bg");
        EXPECT_EQ(background.GetW(), c.w);
        EXPECT_EQ(background.GetH(), c.h);
    }
}
