#include "framework/stage/Script.h"

#include "framework/stage/GameTime.h"
#include "tests/support/FakeClock.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records every DoState with the clock time at which it ran; can chain one further change.
class RecordingScript : public Script
{
public:
    explicit RecordingScript(GameTime* clock) : Script(clock), _clock(clock) {}

    void DoState(int state) override
    {
        ran.push_back(state);
        ranAt.push_back(_clock != nullptr ? _clock->Time() : 0);
        if (chain) {
            chain(*this, state);
        }
    }

    std::vector<int> ran;
    std::vector<unsigned int> ranAt;
    std::function<void(Script&, int)> chain;

private:
    GameTime* _clock;
};

// A running clock on real ticks that the test moves by hand.
class ScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _clock = std::make_unique<GameTime>(0);
        _clock->Start();
        _script = std::make_unique<RecordingScript>(_clock.get());
    }

    void TearDown() override
    {
        _script.reset();
        _clock.reset();
        GameTime::SetTestSlow(0);
    }

    void Advance(unsigned int ms) { _ticks.Advance(ms); }

    // Moves the clock forward to `ms` of game time.
    void RunTo(unsigned int ms)
    {
        const unsigned int now = _clock->Time();
        ASSERT_GE(ms, now);
        Advance(ms - now);
    }

    // Completes the change every new script starts with, then forgets it.
    void Settle()
    {
        if (_clock->Time() < 1) {
            RunTo(1);
        }
        _script->DoScript();
        _script->ran.clear();
        _script->ranAt.clear();
    }

    testsupport::FakeClock _ticks{70000};
    std::unique_ptr<GameTime> _clock;
    std::unique_ptr<RecordingScript> _script;
};

TEST_F(ScriptTest, NewScriptRunsStateZeroOnceWhenTheClockReadsOne)
{
    _script->DoScript();
    EXPECT_TRUE(_script->ran.empty());

    RunTo(1);
    _script->DoScript();
    RunTo(5000);
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{0}, _script->ran);
    EXPECT_EQ(-1, _script->GetNextState());
}

TEST_F(ScriptTest, DelayedChangeShowsTheStateAtOnceAndRunsDoStateOnceAfterTheDelay)
{
    Settle();
    RunTo(1000);
    _script->ChangeState(7, 500);
    EXPECT_EQ(7, _script->GetState());
    EXPECT_EQ(7, _script->GetNextState());

    _script->DoScript();
    RunTo(1499);
    _script->DoScript();
    EXPECT_TRUE(_script->ran.empty());

    RunTo(1500);
    _script->DoScript();
    RunTo(1600);
    _script->DoScript();
    RunTo(9000);
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{7}, _script->ran);
    EXPECT_EQ(std::vector<unsigned int>{1500}, _script->ranAt);
    EXPECT_EQ(7, _script->GetState());
    EXPECT_EQ(7, _script->GetPrevState());
    EXPECT_EQ(-1, _script->GetNextState());
}

struct ChangeCase
{
    std::string name;
    std::function<void(Script&)> change; // made in state 4
    int stateAtOnce;
    int delay; // ms until DoState runs; below 1: it never runs
};

TEST_F(ScriptTest, EveryFormOfChangeSetsTheStateAtOnceAndRunsItsStepAfterItsDelay)
{
    const std::vector<ChangeCase> cases = {
        {"next state by -1", [](Script& s) { s.ChangeState(-1, 10); }, 5, 10},
        {"delay 0 never steps", [](Script& s) { s.ChangeState(9, 0); }, 9, 0},
        {"negative delay never steps", [](Script& s) { s.ChangeState(9, -1); }, 9, -1},
        {"code only", [](Script& s) { s.ChangeState(3); }, 3, 1},
        {"code -1 only", [](Script& s) { s.ChangeState(-1); }, 5, 1},
        {"no arguments", [](Script& s) { s.ChangeState(); }, 5, 1},
        {"same state", [](Script& s) { s.SameState(); }, 4, 1},
        {"same state with delay", [](Script& s) { s.SameState(250); }, 4, 250},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settle();
        _script->SetState(4);
        const unsigned int start = _clock->Time();
        c.change(*_script);
        EXPECT_EQ(c.stateAtOnce, _script->GetState());

        if (c.delay > 1) {
            RunTo(start + c.delay - 1);
            _script->DoScript();
            EXPECT_TRUE(_script->ran.empty());
        }
        RunTo(start + (c.delay > 0 ? c.delay : 100000));
        _script->DoScript();
        _script->DoScript();
        if (c.delay > 0) {
            EXPECT_EQ(std::vector<int>{c.stateAtOnce}, _script->ran);
            EXPECT_EQ(c.stateAtOnce, _script->GetPrevState());
            EXPECT_EQ(-1, _script->GetNextState());
        } else {
            EXPECT_TRUE(_script->ran.empty());
            EXPECT_EQ(c.stateAtOnce, _script->GetNextState());
        }
        EXPECT_EQ(c.stateAtOnce, _script->GetState());
    }
}

TEST_F(ScriptTest, LaterChangeReplacesThePendingOne)
{
    Settle();
    RunTo(1000);
    _script->ChangeState(7, 500);
    RunTo(1200);
    _script->ChangeState(8, 100);
    RunTo(1299);
    _script->DoScript();
    RunTo(1300);
    _script->DoScript();
    RunTo(2000);
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{8}, _script->ran);
    EXPECT_EQ(std::vector<unsigned int>{1300}, _script->ranAt);
}

TEST_F(ScriptTest, SetStateSchedulesNothingAndLeavesAPendingChangePending)
{
    Settle();
    _script->SetState(6);
    RunTo(5000);
    _script->DoScript();
    EXPECT_TRUE(_script->ran.empty());
    EXPECT_EQ(6, _script->GetState());

    _script->ChangeState(7, 500);
    RunTo(5200);
    _script->SetState(3);
    EXPECT_EQ(3, _script->GetState());
    RunTo(5500);
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{7}, _script->ran);
    EXPECT_EQ(7, _script->GetState());
    EXPECT_EQ(3, _script->GetPrevState());
}

TEST_F(ScriptTest, ChangeMadeInsideDoStateRunsInALaterFrame)
{
    _script->chain = [](Script& s, int state) {
        if (state == 0) {
            s.ChangeState(1);
        }
    };
    RunTo(1);
    _script->DoScript();
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{0}, _script->ran);
    EXPECT_EQ(1, _script->GetState());

    RunTo(2);
    _script->DoScript();
    EXPECT_EQ((std::vector<int>{0, 1}), _script->ran);
}

TEST_F(ScriptTest, StoppedClockHoldsAPendingChange)
{
    Settle();
    RunTo(1000);
    _script->ChangeState(7, 500);
    RunTo(1400);
    _clock->Stop();
    Advance(60000);
    _script->DoScript();
    EXPECT_TRUE(_script->ran.empty());

    _clock->Start();
    Advance(99);
    _script->DoScript();
    EXPECT_TRUE(_script->ran.empty());
    Advance(1);
    _script->DoScript();
    EXPECT_EQ(std::vector<unsigned int>{1500}, _script->ranAt);
}

TEST_F(ScriptTest, SlowedClockCompletesAChangeAfterExactlyItsDelayInReadings)
{
    Settle();
    GameTime::SetTestSlow(1);
    _script->ChangeState(7, 5);
    for (int frame = 1; frame < 5; ++frame) {
        Advance(1000); // real time does not count in the slowed mode
        _script->DoScript();
    }
    EXPECT_TRUE(_script->ran.empty());
    _script->DoScript();
    EXPECT_EQ(std::vector<int>{7}, _script->ran);
}

TEST(ScriptWithoutClockTest, TimeStandsStillAndNothingCrashes)
{
    RecordingScript script(nullptr);
    script.ChangeState(3, 10);
    EXPECT_EQ(3, script.GetState());
    script.DoScript();
    EXPECT_TRUE(script.ran.empty());
    script.ChangeState(4, 0);
    EXPECT_EQ(4, script.GetState());
}

} // namespace
