#include "framework/shell/ConfigFileSplash.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::CountLogLines;
using testsupport::WriteFile;

TEST(ConfigFileSplash, EmptyFileGivesEveryDefaultAndLogsEachMissWithTheClassName)
{
    ASSERT_TRUE(WriteFile("splash.cfg", "[background]\n"));
    ConfigFileSplash splash("splash.cfg");
    EXPECT_EQ(splash._bgImg, "0");
    EXPECT_EQ(splash._fadeTime, 0);
    EXPECT_FALSE(splash._noMenu);
    EXPECT_EQ(splash._music, "0");
    EXPECT_EQ(splash._defaultFont, "fonts/arial.ttf");
    EXPECT_FALSE(splash._cursorsUsePerPixelAlpha);
    EXPECT_EQ(splash._cursorShadow, Point(4, 4));
    struct Cursor
    {
        const char* name;
        const std::string& img;
        int frames;
        Point hotspot;
        int loopDelay;
    };
    const std::vector<Cursor> cursors = {
        {"arrow", splash._arrowImg, splash._arrowFrames, splash._arrowHotspot,
         splash._arrowLoopDelay},
        {"hand", splash._handImg, splash._handFrames, splash._handHotspot, splash._handLoopDelay},
        {"wait", splash._waitImg, splash._waitFrames, splash._waitHotspot, splash._waitLoopDelay},
    };
    for (const Cursor& c : cursors) {
        EXPECT_EQ(c.img, "0") << c.name;
        EXPECT_EQ(c.frames, 0) << c.name;
        EXPECT_EQ(c.hotspot, Point(0, 0)) << c.name;
        EXPECT_EQ(c.loopDelay, 32) << c.name;
    }
    // Seven background keys and four per cursor.
    EXPECT_EQ(splash.NumErrors(), 7 + 3 * 4);
    splash.SetLogLevel(2);
    splash.Value("background", "nothere", 0, true);
    EXPECT_EQ(CountLogLines("ConfigFileSplash background/nothere does not exist"), 1);
}

TEST(ConfigFileSplash, ValuesAreReadAsNumbersTruncatedAndFlagsSetByAnythingButZero)
{
    struct Case
    {
        const char* value;
        bool flag;
        int number;
    };
    const std::vector<Case> cases = {
        {"0", false, 0}, {"2", true, 2}, {"0.5", true, 0}, {"-1.9", true, -1}, {"abc", false, 0},
    };
    // Plain files only: a scrambled twin from the first read would be read in place of the next.
    ConfigFile::TurnEncryption(false);
    for (const Case& c : cases) {
        const std::string v = c.value;
        ASSERT_TRUE(WriteFile("splash.cfg", "[background]\nnomenu=" + v +
                                                "\ncursorsuseperpixelalpha=" + v +
                                                "\nfadetime=" + v + "\n[handcursor]\nframes=" + v +
                                                "\nloopdelay=" + v + "\n"));
        ConfigFileSplash splash("splash.cfg");
        EXPECT_EQ(splash._noMenu, c.flag) << v;
        EXPECT_EQ(splash._cursorsUsePerPixelAlpha, c.flag) << v;
        EXPECT_EQ(splash._fadeTime, c.number) << v;
        EXPECT_EQ(splash._handFrames, c.number) << v;
        EXPECT_EQ(splash._handLoopDelay, c.number) << v;
    }
}

TEST(ConfigFileSplash, ReadsTheCursorSectionsApart)
{
    ASSERT_TRUE(WriteFile("splash.cfg", "[background]\nfadetime=600\nmusic=audio/M.ogg\n"
                                        "defaultfont=fonts/x.ttf\ncursorshadow=3,2\n"
                                        "[arrowcursor]\nimg=a.png\nframes=1\nhotspot=1,2\n"
                                        "[handcursor]\nimg=h.png\nhotspot=9,3\nloopdelay=5\n"
                                        "[waitcursor]\nimg=w.png\nframes=8\nhotspot=16,16\n"
                                        "loopdelay=0\n"));
    ConfigFileSplash splash("splash.cfg");
    EXPECT_EQ(splash._fadeTime, 600);
    EXPECT_EQ(splash._music, "audio/M.ogg");
    EXPECT_EQ(splash._defaultFont, "fonts/x.ttf");
    EXPECT_EQ(splash._cursorShadow, Point(3, 2));
    EXPECT_EQ(splash._arrowImg, "a.png");
    EXPECT_EQ(splash._arrowFrames, 1);
    EXPECT_EQ(splash._arrowHotspot, Point(1, 2));
    EXPECT_EQ(splash._arrowLoopDelay, 32);
    EXPECT_EQ(splash._handImg, "h.png");
    EXPECT_EQ(splash._handFrames, 0);
    EXPECT_EQ(splash._handHotspot, Point(9, 3));
    EXPECT_EQ(splash._handLoopDelay, 5);
    EXPECT_EQ(splash._waitImg, "w.png");
    EXPECT_EQ(splash._waitFrames, 8);
    EXPECT_EQ(splash._waitHotspot, Point(16, 16));
    EXPECT_EQ(splash._waitLoopDelay, 0);
}

} // namespace
