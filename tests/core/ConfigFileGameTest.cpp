#include "framework/core/ConfigFileGame.h"

#include "framework/core/Debug.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::CountLogLines;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(ConfigFileGame, MissingFileGivesEveryDefault)
{
    ConfigFileGame game("game.cfg");
    EXPECT_EQ(game.musicvol, 64);
    EXPECT_EQ(game.soundsvol, 64);
    EXPECT_TRUE(game.highdetail);
    EXPECT_TRUE(game.fullscreen);
    EXPECT_FALSE(game.fps);
    EXPECT_TRUE(game.checkcpu);
    EXPECT_EQ(game.cputhreshold, 400);
    EXPECT_EQ(game.cpusbthreshold, 800);
    EXPECT_EQ(game.videomemthreshold, 4096);
    EXPECT_EQ(game.forcesixteen, 0);
    EXPECT_EQ(game.testslow, 0);
    EXPECT_TRUE(game.allowloadingthread);
    EXPECT_TRUE(game.allowdoublebuffered);
    EXPECT_EQ(game.audiobuffersize, 1024);
    EXPECT_TRUE(game.allowwebupdater);
    EXPECT_EQ(game.updatehost, "localhost");
    EXPECT_EQ(game.NumErrors(), 15);
    EXPECT_EQ(CountLogLines("-1 FILE NOT FOUND! - game.cfg"), 1);
    EXPECT_FALSE(FileExists("game.cfg")) << "reading never writes";
}

TEST(ConfigFileGame, MissingKeysAreLoggedWithTheClassName)
{
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nmusicvol=1\n"));
    ConfigFileGame game("game.cfg");
    game.SetLogLevel(2);
    game.Value("game", "fps", 0, true);
    EXPECT_EQ(CountLogLines("INFO: ConfigFileGame game/fps does not exist"), 1);
}

struct ClampCase
{
    const char* entry;
    int musicvol;
    int soundsvol;
    int audiobuffersize;
};

TEST(ConfigFileGame, OutOfRangeValuesAreClamped)
{
    const std::vector<ClampCase> cases = {
        {"musicvol=200\nsoundsvol=127\naudiobuffersize=100", 127, 127, 256},
        {"musicvol=-5\nsoundsvol=0\naudiobuffersize=5000", 0, 0, 4096},
        {"musicvol=64.9\nsoundsvol=-0.9\naudiobuffersize=1023", 64, 0, 1020},
        {"musicvol=1e300\nsoundsvol=-1e300\naudiobuffersize=2050", 127, 0, 2048},
        {"musicvol=nan\nsoundsvol=loud\naudiobuffersize=4095.9", 0, 0, 4092},
        {"musicvol=99999999999\nsoundsvol=12abc\naudiobuffersize=-99999999999", 127, 12, 256},
    };
    for (const ClampCase& c : cases) {
        ASSERT_TRUE(WriteFile("game.cfg", std::string("[game]\n") + c.entry + "\n"));
        ConfigFileGame game("game.cfg");
        EXPECT_EQ(game.musicvol, c.musicvol) << c.entry;
        EXPECT_EQ(game.soundsvol, c.soundsvol) << c.entry;
        EXPECT_EQ(game.audiobuffersize, c.audiobuffersize) << c.entry;
        EXPECT_EQ(game.NumErrors(), 12) << c.entry;
    }
}

// A reading of the slowed clock sleeps 10 n - 9 ms: a huge factor stalled every frame for weeks.
TEST(ConfigFileGame, TestSlowIsBoundedAndLogged)
{
    struct SlowCase
    {
        const char* value;
        int testslow;
        bool logged;
    };
    const std::vector<SlowCase> cases = {
        {"0", 0, false},          {"1", 1, false},          {"5", 5, false},    {"6", 5, true},
        {"2147483647", 5, true},  {"99999999999", 5, true}, {"1e300", 5, true}, {"-1", 0, true},
        {"-2147483648", 0, true}, {"nan", 0, false},
    };
    for (const SlowCase& c : cases) {
        ASSERT_TRUE(WriteFile("game.cfg", std::string("[game]\ntestslow=") + c.value + "\n"));
        const int before = CountLogLines("is out of range 0..5");
        ConfigFileGame game("game.cfg");
        EXPECT_EQ(game.testslow, c.testslow) << c.value;
        EXPECT_EQ(CountLogLines("is out of range 0..5"), before + (c.logged ? 1 : 0)) << c.value;
    }
    // 99999999999 and 1e300 read as the largest int, as every int setting does.
    EXPECT_EQ(CountLogLines("testslow=2147483647 is out of range 0..5: 5 is used"), 3);
}

TEST(ConfigFileGame, FlagsAndNumbersReadThroughTheNumber)
{
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nfullscreen=yes\nhighdetail=0.5\nfps=-1\n"
                                      "checkcpu=0\ncputhreshold=-7.9\ntestslow=3\n"));
    ConfigFileGame game("game.cfg");
    EXPECT_FALSE(game.fullscreen) << "a word reads as 0";
    EXPECT_TRUE(game.highdetail);
    EXPECT_TRUE(game.fps);
    EXPECT_FALSE(game.checkcpu);
    EXPECT_EQ(game.cputhreshold, -7);
    EXPECT_EQ(game.testslow, 3);
}

TEST(ConfigFileGame, ErrorCountDependsOnExactKeys)
{
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nfps=1\n"));
    {
        ConfigFileGame game("game.cfg");
        EXPECT_TRUE(game.fps);
        EXPECT_EQ(game.NumErrors(), 14);
    }
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nfps = 1\n"));
    ConfigFileGame game("game.cfg");
    EXPECT_FALSE(game.fps);
    EXPECT_EQ(game.NumErrors(), 15);
}

TEST(ConfigFileGame, UpdateHostIsOptionalAndUncounted)
{
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nfps=1\nupdatehost=127.0.0.1\n"));
    {
        ConfigFileGame game("game.cfg");
        EXPECT_EQ(game.updatehost, "127.0.0.1");
        EXPECT_EQ(game.NumErrors(), 14);
    }
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nupdatehost=\n"));
    ConfigFileGame game("game.cfg");
    EXPECT_EQ(game.updatehost, "localhost") << "an empty host keeps the default";
}

TEST(ConfigFileGame, FlushingSetterCreatesTheFileAtOnce)
{
    ConfigFileGame game("game.cfg");
    game.SetMusicVolume(300, true);
    EXPECT_EQ(game.musicvol, 127);
    EXPECT_EQ(ReadFile("game.cfg"), "\r\n[game]\r\nmusicvol=127\r\n");
    game.SetSoundsVolume(-3, true);
    EXPECT_EQ(game.soundsvol, 0);
    EXPECT_EQ(ReadFile("game.cfg"), "\r\n[game]\r\nmusicvol=127\r\nsoundsvol=0\r\n");
}

TEST(ConfigFileGame, HighDetailAlsoSwitchesTheSpeedCheckOff)
{
    ConfigFileGame game("game.cfg");
    game.SetHighDetail(false, true);
    EXPECT_FALSE(game.highdetail);
    EXPECT_TRUE(game.checkcpu) << "the member keeps the value read at start";
    EXPECT_EQ(ReadFile("game.cfg"), "\r\n[game]\r\ncheckcpu=0\r\nhighdetail=0\r\n");
    ConfigFileGame next("game.cfg");
    EXPECT_FALSE(next.checkcpu);
    EXPECT_FALSE(next.highdetail);
}

TEST(ConfigFileGame, SettersWithoutFlushWriteOnDestruction)
{
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nzoom=2\nfullscreen=1\n"));
    {
        ConfigFileGame game("game.cfg");
        game.SetFullScreen(false, false);
        game.SetAllowDoubleBuffered(false, false);
        EXPECT_EQ(ReadFile("game.cfg"), "[game]\nzoom=2\nfullscreen=1\n");
    }
    // Byte-wise key order; keys nobody reads are kept.
    EXPECT_EQ(ReadFile("game.cfg"),
              "\r\n[game]\r\nallowdoublebuffered=0\r\nfullscreen=0\r\nzoom=2\r\n");
}

TEST(ConfigFileGame, AlwaysPlainEvenWithScramblingOn)
{
    ConfigFile::TurnEncryption(true);
    ASSERT_TRUE(WriteFile("game.cfg", "[game]\nmusicvol=10\n"));
    {
        ConfigFileGame game("game.cfg");
        EXPECT_EQ(game.musicvol, 10);
        game.SetMusicVolume(20, true);
    }
    EXPECT_EQ(ReadFile("game.cfg"), "\r\n[game]\r\nmusicvol=20\r\n");
    EXPECT_FALSE(FileExists("game.cfge"));
}

} // namespace
