#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/shell/ConfigFileSplash.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberCursor.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::WriteFile;

// A started framework (its window on the dummy driver) and the cursor pictures: "arrow.png" a
// sheet of 400 x 100, "single.png" the same picture.
class FrameworkCursorsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories("fonts");
        std::filesystem::copy_file(mediatest::SansFont(), "fonts/bankgbtm.ttf");
        ASSERT_TRUE(WriteFile("game.cfg", "[game]\nallowwebupdater=0\n"));
        ASSERT_TRUE(mediatest::CopyImageFixture("sheet4x2.png", "images/arrow.png"));
        app = std::make_unique<Framework>();
        ASSERT_TRUE(app->OnInit(0, nullptr));
        ConfigFile::TurnEncryption(false);
    }
    void TearDown() override { app.reset(); }

    CastMemberCursor* Create(const std::string& background)
    {
        EXPECT_TRUE(WriteFile("splash.cfg", "[background]\n" + background +
                                                "[arrowcursor]\nimg=images/arrow.png\nframes=4\n"
                                                "hotspot=1,1\n"
                                                "[handcursor]\nimg=images/arrow.png\nframes=2\n"
                                                "hotspot=9,2\nloopdelay=70\n"
                                                "[waitcursor]\nimg=images/arrow.png\nframes=0\n"
                                                "hotspot=16,16\nloopdelay=0\n"));
        ConfigFileSplash splash("splash.cfg");
        app->CreateCursors(&splash, app->_animationManager->GetCast());
        return app->GetCursor();
    }

    std::unique_ptr<Framework> app;
};

TEST_F(FrameworkCursorsTest, TheThreeCursorsTakeTheirSheetsHotSpotsAndLoopDelays)
{
    CastMemberCursor* cursor = Create("cursorshadow=3,3\n");
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(app->_animationManager->GetCast()->GetCursor(), cursor);
    struct Case
    {
        int kind;
        Point hotspot;
        int loopDelay;
        int frames; // 0 frames in the description show the whole sheet as one frame
        int frameWidth;
    };
    const std::vector<Case> cases = {
        {1, Point(1, 1), 32, 4, 100},
        {2, Point(9, 2), 70, 2, 200},
        {3, Point(16, 16), 0, 1, 400},
    };
    for (const Case& c : cases) {
        cursor->SetCursor(c.kind);
        EXPECT_EQ(cursor->GetCursor(), c.kind);
        EXPECT_EQ(cursor->GetHotSpot(), c.hotspot) << c.kind;
        ASSERT_NE(cursor->GetImage(), nullptr);
        EXPECT_EQ(cursor->GetImage()->GetNumFrames(), c.frames) << c.kind;
        if (c.frames > 1) {
            EXPECT_EQ(cursor->GetLoopPause(), c.loopDelay) << c.kind;
            EXPECT_TRUE(cursor->GetLooping()) << c.kind;
        }
        EXPECT_EQ(cursor->GetImage()->GetW(), c.frameWidth) << c.kind;
    }
}

TEST_F(FrameworkCursorsTest, TheShadowIsDrawnOnlyWithoutPerPixelAlpha)
{
    struct Case
    {
        const char* background;
        Point shadow;
    };
    const std::vector<Case> cases = {
        {"cursorshadow=3,3\n", Point(3, 3)},
        {"", Point(4, 4)},
        {"cursorsuseperpixelalpha=1\ncursorshadow=3,3\n", Point(0, 0)},
        {"cursorsuseperpixelalpha=0.5\n", Point(0, 0)},
    };
    for (const Case& c : cases) {
        CastMemberCursor* cursor = Create(c.background);
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(cursor->GetShadowPos(), c.shadow) << c.background;
    }
}

TEST_F(FrameworkCursorsTest, NoDescriptionKeepsTheCursorThereIs)
{
    CastMemberCursor* before = Create("");
    app->CreateCursors(nullptr, app->_animationManager->GetCast());
    EXPECT_EQ(app->GetCursor(), before);
}

} // namespace
