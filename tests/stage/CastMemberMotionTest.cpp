#include "SDL.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/Receiver.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct CueRecorder : CueListener
{
    void Cue(CastMember* /*member*/, int cue, int /*value*/) override { cues.push_back(cue); }
    std::vector<int> cues;
};

struct EndReceiver : Receiver
{
    void ReceiverMoveEnded(CastMember* member) override { ended.push_back(member); }
    std::vector<CastMember*> ended;
};

// Records every motion step it is told of; can refuse velocity ticks.
class Sprite : public CastMember
{
public:
    Sprite(Cast* cast, int x, int y, int priority = 1) : CastMember(cast, x, y, priority)
    {
        SetDimensions(10, 10);
    }
    void OnMove(int x, int y, bool stepped) override
    {
        if (stepped) {
            steps.emplace_back(x, y);
        }
    }
    bool CanMove(int x, int y) override
    {
        asked.emplace_back(x, y);
        return allowMoves;
    }
    void StartMoving() override { ++starts; }
    void HandleMove() override
    {
        ++handleMoves;
        CastMember::HandleMove();
    }

    std::vector<std::pair<int, int>> steps;
    std::vector<std::pair<int, int>> asked;
    bool allowMoves = true;
    int starts = 0;
    int handleMoves = 0;
};

class CastMemberMotionTest : public ::testing::Test
{
protected:
    Cast _cast{nullptr, nullptr};
    CueRecorder _listener;
    EndReceiver _receiver;
};

TEST_F(CastMemberMotionTest, TimedMoveIsHalfWayAtHalfTimeAndEndsOneFrameAfterArriving)
{
    Sprite s(&_cast, 0, 0, 3);
    s.SetCueListener(&_listener);
    s.SetMoveCue();
    s.SetReceiver(&_receiver);
    s.Animate(1000);
    s.MoveTo(100, 0, 1000, false, 0.0f);
    EXPECT_EQ(1, s.starts);
    EXPECT_TRUE(s.IsMoving());

    s.Animate(1500);
    EXPECT_EQ(50, s.GetX());
    EXPECT_EQ(0, s.GetY());
    s.Animate(1999);
    EXPECT_EQ(99, s.GetX());

    s.Animate(2000);
    EXPECT_EQ(100, s.GetX());
    EXPECT_TRUE(s.IsMoving()); // placed; the end is handled in the next frame
    EXPECT_TRUE(_listener.cues.empty());
    EXPECT_TRUE(_receiver.ended.empty());

    s.Animate(2001);
    EXPECT_FALSE(s.IsMoving());
    EXPECT_EQ(std::vector<int>{CueListener::kMoveEnded}, _listener.cues);
    EXPECT_EQ(std::vector<CastMember*>{&s}, _receiver.ended);
    EXPECT_EQ(3, s.GetPriority());

    // The move cue was used up.
    s.MoveTo(0, 0, 10, false, 0.0f);
    for (unsigned int t = 2002; t < 2100; ++t) {
        s.Animate(t);
    }
    EXPECT_EQ(0, s.GetX());
    EXPECT_EQ(1u, _listener.cues.size());
}

TEST_F(CastMemberMotionTest, TimedMoveOfNoDurationFinishesOnItsFirstStep)
{
    Sprite s(&_cast, 5, 5);
    s.Animate(100);
    s.MoveTo(40, 60, 0, false, 0.0f);
    s.Animate(100); // no time has passed
    EXPECT_EQ(40, s.GetX());
    EXPECT_EQ(60, s.GetY());
    s.Animate(101);
    EXPECT_FALSE(s.IsMoving());
}

TEST_F(CastMemberMotionTest, MoveBySpeedAdvancesAlongTheLineAndLandsOnTheTarget)
{
    Sprite s(&_cast, 0, 0);
    s.MoveTo(30, 40, 0, true, 10.0f);
    const std::vector<std::pair<int, int>> expected = {
        {6, 8}, {12, 16}, {18, 24}, {24, 32}, {30, 40}};
    unsigned int t = 1;
    for (const auto& p : expected) {
        s.Animate(t++);
        EXPECT_EQ(p.first, s.GetX()) << "frame " << t - 1;
        EXPECT_EQ(p.second, s.GetY()) << "frame " << t - 1;
    }
    EXPECT_TRUE(s.IsMoving());
    s.Animate(t);
    EXPECT_FALSE(s.IsMoving());
    EXPECT_EQ(5u, s.steps.size());
}

TEST_F(CastMemberMotionTest, MoveBySpeedOverNoDistanceFinishes)
{
    for (const float speed : {10.0f, 0.0f}) {
        CueRecorder listener;
        Sprite s(&_cast, 30, 40);
        s.SetCueListener(&listener);
        s.SetMoveCue();
        s.MoveTo(30, 40, 0, true, speed);
        s.Animate(1);
        s.Animate(2);
        EXPECT_FALSE(s.IsMoving()) << speed;
        EXPECT_EQ(30, s.GetX());
        EXPECT_EQ(40, s.GetY());
        EXPECT_EQ(std::vector<int>{CueListener::kMoveEnded}, listener.cues);
    }
}

TEST_F(CastMemberMotionTest, EndOfMoveRestoresThePreviousPriorityExactly)
{
    // In front of the fade layer: a priority below 1 must survive the move.
    Sprite s(&_cast, 0, 0, -5);
    s.MoveTo(10, 0, 10, false, 0.0f);
    for (unsigned int t = 1; t <= 20; ++t) {
        s.Animate(t);
    }
    EXPECT_FALSE(s.IsMoving());
    EXPECT_EQ(-5, s.GetPriority());

    s.SetHighestPriorityOnDrag(false);
    s.SetPriority(4);
    s.MoveTo(0, 0, 10, false, 0.0f);
    for (unsigned int t = 21; t <= 40; ++t) {
        s.Animate(t);
    }
    EXPECT_EQ(4, s.GetPriority());
}

TEST_F(CastMemberMotionTest, AcceleratedMoveArrivesEarlyEvenAtAnEarlyStageTime)
{
    // The fly-back of a drop: 5000 ms, sped up from the fifth 11 ms step on.
    Sprite s(&_cast, 300, 200);
    s.Animate(100);
    s.MoveToAccelerate(0, 0, 5000, false, 0.0f, 11, 5, 40.0f, 5000);
    unsigned int t = 100;
    while (s.IsMoving() && t < 2000) {
        t += 11;
        s.Animate(t);
    }
    EXPECT_FALSE(s.IsMoving());
    EXPECT_LT(t, 1000u);
    EXPECT_EQ(0, s.GetX());
    EXPECT_EQ(0, s.GetY());
}

TEST_F(CastMemberMotionTest, ResetVelocityStopsWithoutEndHandling)
{
    Sprite s(&_cast, 0, 0);
    s.SetCueListener(&_listener);
    s.SetMoveCue();
    s.MoveTo(100, 0, 1000, false, 0.0f);
    s.Animate(500);
    s.ResetVelocity();
    EXPECT_FALSE(s.IsMoving());
    s.Animate(501);
    s.Animate(2000);
    EXPECT_EQ(50, s.GetX());
    EXPECT_TRUE(_listener.cues.empty());
}

TEST_F(CastMemberMotionTest, MovingSpriteTakesNoInput)
{
    Sprite s(&_cast, 0, 0);
    s.AllowInput(true);
    s.MoveTo(100, 0, 1000, false, 0.0f);
    EXPECT_TRUE(s.PreventInput());
    EXPECT_FALSE(s.MouseDown(5, 5, 1));
}

// --- velocity moves: one step per tick of the stage's tick clock (100 ticks per second) ---

class CastMemberVelocityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
        SDL_Surface* screen = SDL_SetVideoMode(AnimationManager::kScreenWidth,
                                               AnimationManager::kScreenHeight, 32, SDL_SWSURFACE);
        ASSERT_NE(nullptr, screen);
        _manager = std::make_unique<AnimationManager>(nullptr, screen, false);
        _cast = _manager->GetCast();
        _cast->Animate(0); // starts the tick clock
    }
    void TearDown() override
    {
        _manager.reset();
        SDL_Quit();
    }

    // One stage frame after ms of game time.
    void Frame(unsigned int ms)
    {
        _ticks.Advance(ms);
        _cast->Animate(0);
    }

    testsupport::FakeClock _ticks;
    std::unique_ptr<AnimationManager> _manager;
    Cast* _cast = nullptr; // the manager's
    CueRecorder _listener;
};

TEST_F(CastMemberVelocityTest, VelocityMovesOncePerTick)
{
    Sprite s(_cast, 0, 0);
    s.SetVelocity(3.0f, 0.0f, true);
    EXPECT_TRUE(s.HasVelocity());
    Frame(20); // two ticks
    EXPECT_EQ(6, s.GetX());
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 0}, {6, 0}}), s.steps);
    Frame(5); // half a tick: rounds to one
    Frame(5); // the other half: none
    EXPECT_EQ(9, s.GetX());
    EXPECT_EQ(Point(9, 0), s.PredictNextLocation());
}

TEST_F(CastMemberVelocityTest, VelocitySpriteLeavingTheBoundsStops)
{
    Sprite s(_cast, 4995, 10);
    s.SetCueListener(&_listener);
    s.SetMoveCue();
    s.SetVelocity(3.0f, 0.0f, true);
    Frame(50);
    EXPECT_EQ(4998, s.GetX());
    EXPECT_TRUE(s.IsMoving());
    Frame(10);
    EXPECT_FALSE(s.IsMoving());
    EXPECT_EQ(std::vector<int>{CueListener::kMoveEnded}, _listener.cues);
}

TEST_F(CastMemberVelocityTest, PausedStageMovesNothing)
{
    Sprite velocity(_cast, 0, 0);
    velocity.SetVelocity(1.0f, 1.0f, true);
    Sprite timed(_cast, 0, 0);
    timed.MoveTo(100, 0, 100, false, 0.0f);
    _cast->PauseVelocity();
    Frame(200);
    EXPECT_EQ(0, velocity.handleMoves);
    EXPECT_EQ(0, timed.handleMoves);
    EXPECT_EQ(0, velocity.GetX());

    _cast->UnPauseVelocity();
    Frame(10);
    EXPECT_EQ(1, velocity.GetX());
}

TEST_F(CastMemberVelocityTest, RefusedTickLeavesThePositionUnchanged)
{
    Sprite s(_cast, 10, 10);
    s.SetVelocity(0.0f, -2.0f, true);
    s.allowMoves = false;
    Frame(20);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{10, 8}, {10, 8}}), s.asked);
    EXPECT_EQ(Point(10, 10), s.PredictNextLocation());
    s.allowMoves = true;
    Frame(10);
    EXPECT_EQ(8, s.GetY());
}

TEST_F(CastMemberVelocityTest, MouseEventsAreHandledBetweenTheTicksOfASlowFrame)
{
    Sprite button(_cast, 300, 300);
    button.AllowInput(true);
    Sprite mover(_cast, 0, 0);
    mover.SetVelocity(1.0f, 0.0f, true);
    _manager->MouseDown(305, 305, 1);
    Frame(30); // three ticks
    EXPECT_EQ(3, mover.GetX());
    EXPECT_EQ(&button, _cast->GetTrackObj());
}

} // namespace
