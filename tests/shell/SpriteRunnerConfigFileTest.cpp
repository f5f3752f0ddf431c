#include "framework/shell/SpriteRunnerConfigFile.h"

#include "SDL_ttf.h"
#include "framework/media/Font.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using testsupport::WriteFile;

TEST(SpriteRunnerConfigFileTest, MissingFileGivesNoAnimationAndTheDefaults)
{
    SpriteRunnerConfigFile description("cfg/none.cfg");
    EXPECT_EQ(description._background, "0");
    EXPECT_EQ(description._seconds, 60);
    EXPECT_EQ(description._frameMillis, 500);
    EXPECT_EQ(description._bgOffset, 0);
    EXPECT_EQ(description._bgColor, Color(0, 0, 0, 255));
    EXPECT_EQ(description._num, 0);
    EXPECT_TRUE(description._anims.empty());
    EXPECT_EQ(description._subtitleFont, nullptr);
    EXPECT_EQ(description._subtitleFontFile, "0");
    // Each fixed key is read once, with its default: five of "main", nine of "subtitle", "num".
    EXPECT_EQ(description.NumErrors(), 15);
}

TEST(SpriteRunnerConfigFileTest, ReadsMainSubtitleAndEveryAnimationField)
{
    ASSERT_TRUE(TTF_Init() == 0);
    ASSERT_TRUE(WriteFile("anim.cfg", "[main]\nbackground=images/bg.png\nseconds=7\n"
                                      "framemillis=100\nbgoffset=75\nbgcolor=10,20,30\n"
                                      "[subtitle]\npos=400,540\nshadow=2,3\ncol=250,230,180\n"
                                      "shadowcol=20,10,5\njustify=1\nwidth=800\nfont=" +
                                          mediatest::SansFont() +
                                          "\nfontstyle=1\nfontsize=24\n"
                                          "[animations]\nnum=1\nanim0img=images/logo.png\n"
                                          "anim0frames=3\nanim0pos=190,120\nanim0shadow=4,4\n"
                                          "anim0pri=2\nanim0loops=-1\nanim0speed=80\n"
                                          "anim0begindelay=10\nanim0loopdelay=20\n"
                                          "anim0transparency=2\nanim0alpha=128\n"
                                          "anim0visible=0\nanim0smooth=0.5\nanim0scale=0.6\n"
                                          "anim0rotation=-12.5\nanim0rotmillis=300\n"
                                          "anim0sequence=0,1,2\nanim0mirror=h\n"));
    {
        SpriteRunnerConfigFile description("anim.cfg");
        EXPECT_EQ(description._background, "images/bg.png");
        EXPECT_EQ(description._seconds, 7);
        EXPECT_EQ(description._frameMillis, 100);
        EXPECT_EQ(description._bgOffset, 75);
        EXPECT_EQ(description._bgColor, Color(10, 20, 30, 255));
        EXPECT_EQ(description._subtitlePos, Point(400, 540));
        EXPECT_EQ(description._subtitleShadow, Point(2, 3));
        EXPECT_EQ(description._subtitleColor, Color(250, 230, 180, 255));
        EXPECT_EQ(description._subtitleShadowColor, Color(20, 10, 5, 255));
        EXPECT_EQ(description._subtitleJustify, 1);
        EXPECT_EQ(description._subtitleWidth, 800);
        EXPECT_EQ(description._subtitleFontStyle, 1);
        EXPECT_EQ(description._subtitleFontSize, 24);
        ASSERT_NE(description._subtitleFont, nullptr);
        EXPECT_NE(description._subtitleFont->GetRawFont(), nullptr);

        ASSERT_EQ(description._anims.size(), 1u);
        const AnimData& a = *description._anims[0];
        EXPECT_EQ(a._image, "images/logo.png");
        EXPECT_EQ(a._frames, 3);
        EXPECT_EQ(a._pos, Point(190, 120));
        EXPECT_EQ(a._shadow, Point(4, 4));
        EXPECT_EQ(a._pri, 2);
        EXPECT_EQ(a._loops, -1);
        EXPECT_EQ(a._speed, 80);
        EXPECT_EQ(a._beginDelay, 10);
        EXPECT_EQ(a._loopDelay, 20);
        EXPECT_EQ(a._transparency, 2);
        EXPECT_EQ(a._alpha, 128);
        EXPECT_FALSE(a._visible);
        EXPECT_TRUE(a._smooth); // any non-zero number
        EXPECT_FLOAT_EQ(a._scale, 0.6f);
        EXPECT_FLOAT_EQ(a._rotation, -12.5f);
        EXPECT_EQ(a._rotMillis, 300);
        EXPECT_EQ(a._sequence, "0,1,2");
        EXPECT_EQ(a._mirror, "h");
    }
    TTF_Quit();
}

TEST(SpriteRunnerConfigFileTest, AnimationWithoutKeysTakesTheRecordDefaults)
{
    ASSERT_TRUE(WriteFile("anim.cfg", "[animations]\nnum=1\n"));
    SpriteRunnerConfigFile description("anim.cfg");
    ASSERT_EQ(description._anims.size(), 1u);
    const AnimData& a = *description._anims[0];
    EXPECT_EQ(a._image, "0"); // kept: its sheet fails to load and its sprite gets only an id
    EXPECT_EQ(a._frames, 1);
    EXPECT_EQ(a._pri, 5);
    EXPECT_EQ(a._transparency, 1);
    EXPECT_EQ(a._alpha, 255);
    EXPECT_TRUE(a._visible);
    EXPECT_TRUE(a._smooth);
    EXPECT_FLOAT_EQ(a._scale, 1.0f);
    EXPECT_EQ(a._sequence, "");
    EXPECT_EQ(a._mirror, "");
}

// A record whose image value is empty is dropped and the later ones move up, so that the sprite
// numbers of the keyframe sections follow the records that remain.
TEST(SpriteRunnerConfigFileTest, EmptyImageValueDropsTheRecord)
{
    ASSERT_TRUE(WriteFile("anim.cfg", "[animations]\nnum=3\nanim0img=a.png\nanim1img=\n"
                                      "anim1pri=9\nanim2img=c.png\nanim2pri=7\n"));
    SpriteRunnerConfigFile description("anim.cfg");
    EXPECT_EQ(description._num, 3);
    ASSERT_EQ(description._anims.size(), 2u);
    EXPECT_EQ(description._anims[0]->_image, "a.png");
    EXPECT_EQ(description._anims[1]->_image, "c.png");
    EXPECT_EQ(description._anims[1]->_pri, 7);
}

TEST(SpriteRunnerConfigFileTest, NumbersAreTruncatedAndTextReadsAsZero)
{
    ASSERT_TRUE(WriteFile("anim.cfg", "[main]\nbackground=bg.png\nseconds=7.9\n"
                                      "framemillis=abc\n[animations]\nnum=2.7\nanim0img=a.png\n"
                                      "anim0visible=0.0\nanim1img=b.png\nanim1alpha=-3.6\n"));
    SpriteRunnerConfigFile description("anim.cfg");
    EXPECT_EQ(description._seconds, 7);
    EXPECT_EQ(description._frameMillis, 0);
    ASSERT_EQ(description._anims.size(), 2u);
    EXPECT_FALSE(description._anims[0]->_visible);
    EXPECT_EQ(description._anims[1]->_alpha, -3);
}

} // namespace
