#include "framework/core/TickSource.h"

#include "framework/stage/GameTime.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

TEST(TickSourceTest, FakeClockDrivesEveryReaderAndRestoresOnExit)
{
    {
        testsupport::FakeClock clock(5000);
        EXPECT_EQ(TickSource::Now(), 5000u);
        clock.Advance(250);
        EXPECT_EQ(TickSource::Now(), 5250u);

        // The game clock reads the one source.
        GameTime time(0);
        time.Start();
        clock.Advance(400);
        EXPECT_EQ(time.Time(), 400u);
    }
    EXPECT_EQ(TickSource::Get(), nullptr);
}
