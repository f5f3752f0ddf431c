#include "framework/stage/GameTime.h"

#include "tests/support/FakeClock.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

// Real ticks under the test's control; the clock reads them through the engine's tick source.
class GameTimeTest : public ::testing::Test
{
protected:
    void TearDown() override { GameTime::SetTestSlow(0); }

    void Advance(unsigned int ms) { _ticks.Advance(ms); }

    testsupport::FakeClock _ticks{5000};
};

TEST_F(GameTimeTest, ReadsZeroUntilFirstStart)
{
    GameTime clock(0);
    Advance(300);
    EXPECT_TRUE(clock.Stopped());
    EXPECT_EQ(0u, clock.Time());

    clock.Start();
    EXPECT_FALSE(clock.Stopped());
    EXPECT_EQ(0u, clock.Time());
    Advance(250);
    EXPECT_EQ(250u, clock.Time());
}

TEST_F(GameTimeTest, StopFreezesAndStartResumesWhereItStopped)
{
    GameTime clock(0);
    clock.Start();
    Advance(200);
    clock.Stop();
    EXPECT_TRUE(clock.Stopped());

    Advance(1000);
    EXPECT_EQ(200u, clock.Time());
    EXPECT_EQ(200u, clock.Time());

    clock.Start();
    EXPECT_EQ(200u, clock.Time());
    Advance(50);
    EXPECT_EQ(250u, clock.Time());
}

TEST_F(GameTimeTest, StartWhileRunningAndStopWhileStoppedChangeNothing)
{
    GameTime clock(0);
    clock.Start();
    Advance(100);
    clock.Start(); // must not take a new base
    Advance(100);
    EXPECT_EQ(200u, clock.Time());

    clock.Stop();
    Advance(100);
    clock.Stop(); // must not count the stopped time
    EXPECT_EQ(200u, clock.Time());
    clock.Start();
    Advance(10);
    EXPECT_EQ(210u, clock.Time());
}

TEST_F(GameTimeTest, CountsAcrossTheWrapOfTheTicks)
{
    _ticks.Set(0xFFFFFF00u);
    GameTime clock(0);
    clock.Start();
    Advance(0x180);
    EXPECT_EQ(0x180u, clock.Time());
    clock.Stop();
    Advance(0x100);
    clock.Start();
    Advance(0x20);
    EXPECT_EQ(0x1A0u, clock.Time());
}

TEST_F(GameTimeTest, SlowedClockAdvancesOneMillisecondPerReadingWhateverTheRealTime)
{
    GameTime clock(1);
    clock.Start();
    unsigned int last = clock.Time();
    EXPECT_EQ(1u, last);
    for (int reading = 0; reading < 5; ++reading) {
        Advance(700); // real time races ahead; game time must not follow it
        const unsigned int now = clock.Time();
        EXPECT_EQ(last + 1, now);
        last = now;
    }
}

TEST_F(GameTimeTest, SlowedClockSleepsBeforeEachReading)
{
    GameTime clock(2); // 10 * 2 - 9 = 11 ms per reading
    clock.Start();
    const auto before = std::chrono::steady_clock::now();
    for (int reading = 0; reading < 4; ++reading) {
        clock.Time();
    }
    const auto slept = std::chrono::steady_clock::now() - before;
    EXPECT_GE(slept, std::chrono::milliseconds(44));
}

// However slow the setting and however many readings a frame makes, the sleeps of one second
// of real time stop at half of it: the game time still moves one millisecond per reading.
TEST_F(GameTimeTest, SlowedClockSleepsAtMostHalfOfEachSecond)
{
    GameTime clock(1000000); // about three hours per reading, unbounded
    clock.Start();
    const auto before = std::chrono::steady_clock::now();
    unsigned int last = clock.Time();
    for (int reading = 0; reading < 50; ++reading) {
        const unsigned int now = clock.Time();
        EXPECT_EQ(now, last + 1);
        last = now;
    }
    // Unbounded, the readings would sleep for days; half a second is what they may take.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
    // The next second of real time sleeps again.
    _ticks.Advance(1000);
    const auto second = std::chrono::steady_clock::now();
    clock.Time();
    EXPECT_GE(std::chrono::steady_clock::now() - second, std::chrono::milliseconds(400));
}

// A pause must not make the slowed clock leap: Start and Stop read the same tick count as Time.
TEST_F(GameTimeTest, SlowedClockResumesWhereItStoppedAfterAPause)
{
    GameTime clock(1);
    clock.Start();
    for (int reading = 0; reading < 3; ++reading) {
        clock.Time();
    }
    clock.Stop();
    Advance(5000);
    EXPECT_EQ(3u, clock.Time());
    EXPECT_EQ(3u, clock.Time()); // readings of a stopped clock advance only the shared test clock

    Advance(5000);
    clock.Start();
    EXPECT_EQ(4u, clock.Time());
    EXPECT_EQ(5u, clock.Time());
}

TEST_F(GameTimeTest, RunningClockGoesOnWithoutJumpWhenSlowedModeStartsAndEnds)
{
    const std::function<void()> switchOffWays[] = {
        [] { GameTime::SetTestSlow(0); },
        [] { GameTime another(0); }, // every new clock sets the factor for all
    };
    for (const auto& switchOff : switchOffWays) {
        GameTime clock(0);
        clock.Start();
        Advance(100);
        EXPECT_EQ(100u, clock.Time());

        GameTime::SetTestSlow(1);
        EXPECT_EQ(101u, clock.Time());
        Advance(900); // real time that the slowed mode does not count
        EXPECT_EQ(102u, clock.Time());

        switchOff();
        EXPECT_EQ(102u, clock.Time());
        Advance(30);
        EXPECT_EQ(132u, clock.Time());
    }
}

TEST_F(GameTimeTest, NegativeSlowFactorLeavesTheClockOnRealTicks)
{
    GameTime clock(-3);
    clock.Start();
    Advance(70);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(70u, clock.Time());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

} // namespace
