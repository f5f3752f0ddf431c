#include "framework/core/Timer.h"

#include "SDL.h"
#include "framework/core/TimerListener.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/GameTime.h"
#include "tests/support/FakeClock.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every listener call as one line of text, in call order.
class RecordingListener : public TimerListener
{
public:
    std::vector<std::string> calls;
    std::function<void(int id)> onExpired;

    void TimerStarted(int id, unsigned int remaining) override { Add("Started", id, remaining); }
    void TimerAdjusted(int id, unsigned int remaining) override { Add("Adjusted", id, remaining); }
    void TimerPause(int id, unsigned int remaining) override { Add("Pause", id, remaining); }
    void TimerUnpause(int id, unsigned int remaining) override { Add("Unpause", id, remaining); }
    void TimerStopped(int id, unsigned int remaining) override { Add("Stopped", id, remaining); }
    void TimerTicked(int id, unsigned int remaining, int ticks) override
    {
        Add("Ticked", id, remaining);
        calls.back() += " x" + std::to_string(ticks);
    }
    void TimerExpired(int id) override
    {
        calls.push_back("Expired " + std::to_string(id));
        if (onExpired) {
            onExpired(id);
        }
    }

private:
    void Add(const char* what, int id, unsigned int remaining)
    {
        calls.push_back(std::string(what) + " " + std::to_string(id) + " " +
                        std::to_string(remaining));
    }
};

class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clock = std::make_unique<GameTime>(0);
        clock->Start();
    }

    // Moves the clock to t and lets the timer take one frame.
    void FrameAt(Timer& timer, unsigned int t)
    {
        ticks.Set(t);
        timer.DoIt();
    }

    testsupport::FakeClock ticks{0};
    std::unique_ptr<GameTime> clock;
    RecordingListener listener;
};

TEST_F(TimerTest, TicksEverySecondThenStopsAndExpiresOnce)
{
    Timer timer(clock.get(), 7, nullptr, &listener);
    timer.Start(3000, 1000);
    for (unsigned int t = 0; t <= 4000; t += 100) {
        FrameAt(timer, t);
    }
    // A tick is due once more than a whole interval has passed since the last one.
    const std::vector<std::string> expected = {
        "Started 7 3000", "Ticked 7 1900 x1", "Ticked 7 800 x1", "Stopped 7 0", "Expired 7",
    };
    EXPECT_EQ(listener.calls, expected);
    EXPECT_FALSE(timer.Started());
    EXPECT_TRUE(timer.CanDetach());
}

TEST_F(TimerTest, ALongFrameReportsTheWholeIntervalsMissed)
{
    Timer timer(clock.get(), 1, nullptr, &listener);
    timer.Start(10000, 1000);
    FrameAt(timer, 0);
    FrameAt(timer, 3500);
    ASSERT_EQ(listener.calls.size(), 2u);
    EXPECT_EQ(listener.calls[1], "Ticked 1 6500 x3");
    EXPECT_EQ(timer.GetTicksRemaining(), 6u);
}

TEST_F(TimerTest, PausingDelaysTheExpiryByThePausedTime)
{
    Timer timer(clock.get(), 2, nullptr, &listener);
    timer.Start(1000, 1000);
    FrameAt(timer, 0);
    ticks.Set(200);
    timer.Pause();
    EXPECT_FALSE(timer.Running());
    FrameAt(timer, 600); // paused: nothing counts down
    EXPECT_EQ(timer.GetTimeRemaining(), 1000);
    ticks.Set(700);
    timer.Unpause();
    FrameAt(timer, 1499);
    EXPECT_TRUE(timer.Started());
    EXPECT_EQ(timer.GetTimeRemaining(), 1);
    FrameAt(timer, 1500);
    EXPECT_FALSE(timer.Started());
    EXPECT_EQ(listener.calls.back(), "Expired 2");
}

TEST_F(TimerTest, PauseAndUnpauseOnlyActWhenTheyChangeSomething)
{
    Timer timer(clock.get(), 3, nullptr, &listener);
    timer.Pause(); // not started
    timer.Unpause();
    timer.Start(1000, 100);
    timer.Unpause(); // not paused
    timer.Pause();
    timer.Pause();
    const std::vector<std::string> expected = {"Started 3 1000", "Pause 3 1000"};
    EXPECT_EQ(listener.calls, expected);
}

struct AdjustCase
{
    const char* name;
    bool add;
    unsigned int ms;
    bool clamp;
    int remainingAfter;    // right after the call
    int remainingSecondOn; // one second later
    unsigned int reported; // what the listener heard
};

TEST_F(TimerTest, AddAndSubtractMoveTheCountdown)
{
    // A 5000 ms timer with 2000 ms left at t = 3000.
    const AdjustCase cases[] = {
        {"add capped at the duration", true, 10000, true, 5000, 4000, 5000},
        {"add beyond the duration", true, 10000, false, 12000, 11000, 12000},
        {"add a little", true, 1000, true, 3000, 2000, 3000},
        {"subtract within", false, 500, true, 1500, 500, 1500},
        {"subtract floored at 0", false, 5000, true, 0, 0, 0},
        {"subtract below 0 is heard as 0", false, 5000, false, -3000, 0, 0},
    };
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingListener heard;
        ticks.Set(0);
        Timer timer(clock.get(), 4, nullptr, &heard);
        timer.Start(5000, 10000);
        FrameAt(timer, 0);
        FrameAt(timer, 3000);
        ASSERT_EQ(timer.GetTimeRemaining(), 2000);
        if (c.add) {
            timer.Add(c.ms, c.clamp);
        } else {
            timer.Subtract(c.ms, c.clamp);
        }
        EXPECT_EQ(timer.GetTimeRemaining(), c.remainingAfter);
        EXPECT_EQ(heard.calls.back(), "Adjusted 4 " + std::to_string(c.reported));
        FrameAt(timer, 4000);
        EXPECT_EQ(timer.GetTimeRemaining(), c.remainingSecondOn);
        EXPECT_EQ(timer.Started(), c.remainingSecondOn > 0);
    }
}

TEST_F(TimerTest, AnAdjustmentBeforeTheFirstFrameIsKept)
{
    Timer timer(clock.get(), 5, nullptr, &listener);
    ticks.Set(50);
    timer.Start(2000, 1000);
    timer.Add(1000, false);
    FrameAt(timer, 100);
    EXPECT_EQ(timer.GetTimeRemaining(), 3000);
    FrameAt(timer, 3099);
    EXPECT_TRUE(timer.Started());
    FrameAt(timer, 3100);
    EXPECT_FALSE(timer.Started());
}

TEST_F(TimerTest, AZeroTickIntervalNeverTicksAndStillExpires)
{
    Timer timer(clock.get(), 6, nullptr, &listener);
    timer.Start(300, 0);
    EXPECT_EQ(timer.GetTicksRemaining(), 0u);
    for (unsigned int t = 0; t <= 400; t += 50) {
        FrameAt(timer, t);
    }
    const std::vector<std::string> expected = {"Started 6 300", "Stopped 6 0", "Expired 6"};
    EXPECT_EQ(listener.calls, expected);
}

TEST_F(TimerTest, QuietStopStaysAttachedLoudStopMayBeDetached)
{
    Timer timer(clock.get(), 8, nullptr, &listener);
    timer.Start(1000, 1000);
    timer.Stop(true);
    EXPECT_FALSE(timer.Started());
    EXPECT_TRUE(timer.Paused());
    EXPECT_FALSE(timer.CanDetach());
    timer.Start(1000, 1000);
    timer.Stop(false);
    EXPECT_TRUE(timer.CanDetach());
    timer.Detached();
    EXPECT_FALSE(timer.CanDetach());
    timer.Stop(false); // not started: nothing
    const std::vector<std::string> expected = {"Started 8 1000", "Started 8 1000",
                                               "Stopped 8 1000"};
    EXPECT_EQ(listener.calls, expected);
}

TEST_F(TimerTest, RestartBeginsTheCountdownAgainWithoutAStopReport)
{
    Timer timer(clock.get(), 9, nullptr, &listener);
    timer.Start(1000, 400);
    FrameAt(timer, 0);
    FrameAt(timer, 900);
    timer.Restart();
    FrameAt(timer, 1000);
    EXPECT_EQ(timer.GetTimeRemaining(), 1000);
    FrameAt(timer, 1999);
    EXPECT_TRUE(timer.Started());
    const std::vector<std::string> expected = {"Started 9 1000", "Ticked 9 100 x2",
                                               "Started 9 1000", "Ticked 9 1 x2"};
    EXPECT_EQ(listener.calls, expected);
}

TEST_F(TimerTest, StartWhileStartedChangesNothing)
{
    Timer timer(clock.get(), 10, nullptr, &listener);
    timer.Start(1000, 100);
    FrameAt(timer, 0);
    FrameAt(timer, 500);
    timer.Start(9000, 100);
    FrameAt(timer, 600);
    EXPECT_EQ(timer.GetTimeRemaining(), 400);
    EXPECT_EQ(listener.calls.front(), "Started 10 1000");
    EXPECT_EQ(std::count(listener.calls.begin(), listener.calls.end(), "Started 10 9000"), 0);
}

TEST_F(TimerTest, DestroyingAStartedTimerReportsItsStop)
{
    {
        Timer timer(clock.get(), 11, nullptr, &listener);
        timer.Start(1000, 1000);
        FrameAt(timer, 0);
        FrameAt(timer, 250);
    }
    EXPECT_EQ(listener.calls.back(), "Stopped 11 750");
}

// Timers driven by the frame loop: one stopped timer leaves per frame, and a timer deleted while
// attached leaves the list at once.
class TimerManagerTest : public TimerTest
{
protected:
    void SetUp() override
    {
        TimerTest::SetUp();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        SDL_Surface* screen = SDL_SetVideoMode(AnimationManager::kScreenWidth,
                                               AnimationManager::kScreenHeight, 32, 0);
        ASSERT_NE(screen, nullptr);
        manager = std::make_unique<AnimationManager>(nullptr, screen, false);
    }
    void TearDown() override
    {
        manager.reset();
        SDL_Quit();
        TimerTest::TearDown();
    }

    void Frame(unsigned int t)
    {
        ticks.Set(t);
        manager->DoIt();
    }

    std::unique_ptr<AnimationManager> manager;
};

TEST_F(TimerManagerTest, StartingAttachesOnceAndTheFrameDrivesTheTimer)
{
    Timer timer(manager->GetGameTime(), 1, manager.get(), &listener);
    timer.Start(500, 1000);
    timer.Restart();
    EXPECT_EQ(manager->GetTimerCount(), 1);
    Frame(0);
    Frame(600);
    EXPECT_EQ(listener.calls.back(), "Expired 1");
}

TEST_F(TimerManagerTest, TwoTimersStoppedInOneFrameLeaveInTwoFrames)
{
    Timer a(manager->GetGameTime(), 1, manager.get(), &listener);
    Timer b(manager->GetGameTime(), 2, manager.get(), &listener);
    a.Start(1000, 1000);
    b.Start(1000, 1000);
    Frame(0);
    a.Stop(false);
    b.Stop(false);
    EXPECT_EQ(manager->GetTimerCount(), 2);
    Frame(10);
    EXPECT_EQ(manager->GetTimerCount(), 1);
    EXPECT_FALSE(a.CanDetach());
    EXPECT_TRUE(b.CanDetach());
    Frame(20);
    EXPECT_EQ(manager->GetTimerCount(), 0);
    EXPECT_FALSE(b.CanDetach());
}

TEST_F(TimerManagerTest, DeletingAnAttachedTimerLeavesNoEntryBehind)
{
    auto timer = std::make_unique<Timer>(manager->GetGameTime(), 1, manager.get(), &listener);
    timer->Start(1000, 100);
    Frame(0);
    timer.reset();
    EXPECT_EQ(manager->GetTimerCount(), 0);
    Frame(200); // would touch the freed timer
    EXPECT_EQ(listener.calls.back(), "Stopped 1 1000");
}

TEST_F(TimerManagerTest, AListenerMayDeleteTimersDuringTheFramePass)
{
    auto first = std::make_unique<Timer>(manager->GetGameTime(), 1, manager.get(), &listener);
    auto second = std::make_unique<Timer>(manager->GetGameTime(), 2, manager.get(), &listener);
    first->Start(100, 1000);
    second->Start(5000, 1000);
    // The first timer's expiry deletes both: the pass must skip the second one.
    listener.onExpired = [&](int id) {
        if (id == 1) {
            second.reset();
            first.reset();
        }
    };
    Frame(0);
    Frame(200);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(manager->GetTimerCount(), 0);
    Frame(300);
}

} // namespace
