#include "SDL_rotozoom.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

struct CueRecorder : CueListener
{
    void Cue(CastMember* member, int cue, int value) override
    {
        cues.emplace_back(member, cue);
        EXPECT_EQ(0, value);
    }
    int Count(int cue) const
    {
        int n = 0;
        for (const auto& c : cues) {
            n += c.second == cue ? 1 : 0;
        }
        return n;
    }
    std::vector<std::pair<CastMember*, int>> cues;
};

// A sprite with a size that records its states; its scaled look is a real zoomed surface.
class Sprite : public CastMember
{
public:
    Sprite(Cast* cast, int x, int y) : CastMember(cast, x, y, 1)
    {
        SetDimensions(20, 10);
        _source = SDL_CreateRGBSurface(SDL_SWSURFACE, 20, 10, 32, 0xff0000, 0xff00, 0xff, 0);
    }
    ~Sprite() override { SDL_FreeSurface(_source); }

    void DoState(int state) override { states.push_back(state); }
    SDL_Surface* CreateScaledSurface(float angle, float zoom, bool smooth) override
    {
        ++rebuilds;
        return rotozoomSurface(_source, angle, zoom, smooth ? 1 : 0);
    }
    int GetScaledWidth() override { return _scaledSurface != nullptr ? _scaledSurface->w : 0; }
    int GetScaledHeight() override { return _scaledSurface != nullptr ? _scaledSurface->h : 0; }

    std::vector<int> states;
    int rebuilds = 0;

private:
    SDL_Surface* _source = nullptr;
};

class CastMemberEffectsTest : public ::testing::Test
{
protected:
    // Animates the sprite once per millisecond over (from, to].
    static void RunTo(CastMember& s, unsigned int from, unsigned int to)
    {
        for (unsigned int t = from + 1; t <= to; ++t) {
            s.Animate(t);
        }
    }

    Cast _cast{nullptr, nullptr};
    Sprite _sprite{&_cast, 100, 100};
    CueRecorder _listener;
};

// --- timed states ---

TEST_F(CastMemberEffectsTest, DelayedStateIsSetAtOnceAndRunsOnceWhenDue)
{
    _sprite.Animate(1); // the initial DoState(0)
    _sprite.states.clear();

    _sprite.ChangeState(10004, 500);
    EXPECT_EQ(10004, _sprite.GetState());
    RunTo(_sprite, 1, 500);
    EXPECT_TRUE(_sprite.states.empty());

    _sprite.Animate(501);
    EXPECT_EQ(std::vector<int>{10004}, _sprite.states);
    EXPECT_EQ(-1, _sprite.GetNextState());
    EXPECT_EQ(10004, _sprite.GetPrevState());
    RunTo(_sprite, 501, 2000);
    EXPECT_EQ(1u, _sprite.states.size());
}

TEST_F(CastMemberEffectsTest, ZeroDelaySetsStateWithoutRunningIt)
{
    _sprite.Animate(1);
    _sprite.states.clear();
    _sprite.ChangeState(7, 0);
    RunTo(_sprite, 1, 1000);
    EXPECT_EQ(7, _sprite.GetState());
    EXPECT_TRUE(_sprite.states.empty());
}

TEST_F(CastMemberEffectsTest, LaterChangeReplacesPendingOne)
{
    _sprite.Animate(1);
    _sprite.states.clear();
    _sprite.ChangeState(5, 100);
    RunTo(_sprite, 1, 50);
    _sprite.ChangeState(6, 10);
    RunTo(_sprite, 50, 400);
    EXPECT_EQ(std::vector<int>{6}, _sprite.states);
}

TEST_F(CastMemberEffectsTest, FirstFrameRunsStateZeroOnlyOnStage)
{
    _sprite.Animate(1);
    EXPECT_EQ(std::vector<int>{0}, _sprite.states);

    Sprite offStage(nullptr, 0, 0);
    RunTo(offStage, 0, 100);
    EXPECT_TRUE(offStage.states.empty());
}

TEST_F(CastMemberEffectsTest, ShortFormsOfChangeState)
{
    _sprite.Animate(1);
    _sprite.SetState(3);
    _sprite.ChangeState(); // 4 after 1 ms
    _sprite.Animate(2);
    _sprite.SameState(); // 4 again
    _sprite.Animate(3);
    EXPECT_EQ((std::vector<int>{0, 4, 4}), _sprite.states);
}

// --- time cue ---

TEST_F(CastMemberEffectsTest, TimeCueFiresOnceWhenItsDelayHasPassed)
{
    _sprite.Animate(10);
    _sprite.SetCueListener(&_listener);
    _sprite.SetTimeCue(100);
    RunTo(_sprite, 10, 109);
    EXPECT_EQ(0, _listener.Count(CueListener::kTimeCue));
    RunTo(_sprite, 109, 300);
    ASSERT_EQ(1u, _listener.cues.size());
    EXPECT_EQ(&_sprite, _listener.cues[0].first);
    EXPECT_EQ(CueListener::kTimeCue, _listener.cues[0].second);
}

// --- blinking ---

TEST_F(CastMemberEffectsTest, BlinkTwiceFollowsItsTimeline)
{
    _sprite.Animate(1);
    _sprite.SetBlinkRate(100);
    _sprite.Blink(2); // at 1 ms
    // Hidden 2 ms after the call, shown 100 ms later, hidden again after the on time, shown again
    // after the off time, and it ends shown.
    const struct
    {
        unsigned int time;
        bool visible;
    } table[] = {{2, true},    {3, false},   {102, false}, {103, true}, {202, true},
                 {203, false}, {302, false}, {303, true},  {1000, true}};
    unsigned int now = 1;
    for (const auto& row : table) {
        RunTo(_sprite, now, row.time);
        now = row.time;
        EXPECT_EQ(row.visible, _sprite.IsVisible()) << "at " << row.time << " ms";
    }
    EXPECT_EQ(0, _sprite.GetBlinkState());
}

TEST_F(CastMemberEffectsTest, BlinkRunEndsWithCueAndHidesWhenAsked)
{
    _sprite.SetCueListener(&_listener);
    _sprite.SetBlinkCue();
    _sprite.HideAfterBlink(true);
    _sprite.Blink(1, 50);
    RunTo(_sprite, 0, 500);
    EXPECT_FALSE(_sprite.IsVisible());
    EXPECT_EQ(1, _listener.Count(CueListener::kBlinkEnded));

    // The cue was used up: a second run says nothing.
    _sprite.Show();
    _sprite.Blink();
    RunTo(_sprite, 500, 1000);
    EXPECT_EQ(1, _listener.Count(CueListener::kBlinkEnded));
}

TEST_F(CastMemberEffectsTest, ListenerMayStartTheNextBlinkRunFromTheCue)
{
    struct Restarter : CueListener
    {
        void Cue(CastMember* member, int cue, int) override
        {
            if (cue == CueListener::kBlinkEnded && ++runs < 2) {
                member->SetBlinkCue();
                member->Blink();
            }
        }
        int runs = 0;
    } restarter;
    _sprite.SetCueListener(&restarter);
    _sprite.SetBlinkCue();
    _sprite.Blink();
    RunTo(_sprite, 0, 1000);
    EXPECT_EQ(2, restarter.runs);
    EXPECT_TRUE(_sprite.IsVisible());
}

TEST_F(CastMemberEffectsTest, StopBlinkingEndsTheRunAtTheNextShow)
{
    _sprite.Blink(10);
    RunTo(_sprite, 0, 50);
    EXPECT_FALSE(_sprite.IsVisible());
    _sprite.StopFlashing();
    RunTo(_sprite, 50, 2000);
    EXPECT_TRUE(_sprite.IsVisible());
    EXPECT_EQ(0, _sprite.GetBlinkState());
}

TEST_F(CastMemberEffectsTest, BlinkWithZeroOffTimeStillShowsTheSpriteAgain)
{
    _sprite.SetBlinkRate(0);
    _sprite.Blink(3);
    RunTo(_sprite, 0, 100);
    EXPECT_TRUE(_sprite.IsVisible());
    EXPECT_EQ(0, _sprite.GetBlinkState());
}

// --- fades ---

TEST_F(CastMemberEffectsTest, FadeInMovesAlphaOverItsTimeAndCuesAtTheTarget)
{
    _sprite.Animate(100);
    _sprite.SetAlpha(0);
    _sprite.FadeIn(255, 100, &_listener);
    EXPECT_TRUE(_sprite.Fading());
    RunTo(_sprite, 100, 150);
    EXPECT_EQ(127, _sprite.GetAlpha());
    EXPECT_EQ(0, _listener.Count(CueListener::kFaded));
    RunTo(_sprite, 150, 200);
    EXPECT_EQ(255, _sprite.GetAlpha());
    EXPECT_FALSE(_sprite.Fading());
    EXPECT_EQ(1, _listener.Count(CueListener::kFaded));
}

TEST_F(CastMemberEffectsTest, FadeInWithNoTimeAndTargetAboveRangeEndsAtFullAlphaInOneMs)
{
    _sprite.SetAlpha(10);
    _sprite.FadeIn(300, 0, &_listener);
    _sprite.Animate(1);
    EXPECT_EQ(255, _sprite.GetAlpha());
    EXPECT_EQ(1, _listener.Count(CueListener::kFaded));
}

TEST_F(CastMemberEffectsTest, FadeTargetBehindItsDirectionSnapsAndCues)
{
    const struct
    {
        bool in;
        int start;
        int target;
    } table[] = {{true, 200, 100}, {false, 50, 180}};
    unsigned int now = 0;
    for (const auto& row : table) {
        CueRecorder listener;
        _sprite.SetAlpha(row.start);
        if (row.in) {
            _sprite.FadeIn(row.target, 500, &listener);
        } else {
            _sprite.FadeOut(row.target, 500, &listener);
        }
        RunTo(_sprite, now, now + 5);
        now += 5;
        EXPECT_EQ(row.target, _sprite.GetAlpha());
        EXPECT_FALSE(_sprite.Fading());
        EXPECT_EQ(1, listener.Count(CueListener::kFaded));
    }
}

TEST_F(CastMemberEffectsTest, FadeHideHidesAtTheEndAndIgnoresHiddenSprites)
{
    _sprite.FadeHide(100, &_listener);
    RunTo(_sprite, 0, 99);
    EXPECT_TRUE(_sprite.IsVisible());
    EXPECT_GT(_sprite.GetAlpha(), 0);
    RunTo(_sprite, 99, 100);
    EXPECT_EQ(0, _sprite.GetAlpha());
    EXPECT_FALSE(_sprite.IsVisible());
    EXPECT_EQ(1, _listener.Count(CueListener::kFaded));

    _sprite.SetAlpha(255);
    _sprite.FadeHide(100, &_listener);
    EXPECT_FALSE(_sprite.Fading());
}

TEST_F(CastMemberEffectsTest, FadeShowShowsAHiddenSpriteAtAlphaZeroFirst)
{
    _sprite.Hide();
    _sprite.FadeShow(255, 100, &_listener);
    EXPECT_TRUE(_sprite.IsVisible());
    EXPECT_EQ(0, _sprite.GetAlpha());
    RunTo(_sprite, 0, 100);
    EXPECT_EQ(255, _sprite.GetAlpha());
    EXPECT_EQ(1, _listener.Count(CueListener::kFaded));
}

TEST_F(CastMemberEffectsTest, AlphaIsLimitedAndNegativeValuesIgnored)
{
    _sprite.SetAlpha(300);
    EXPECT_EQ(255, _sprite.GetAlpha());
    _sprite.SetAlpha(-5);
    EXPECT_EQ(255, _sprite.GetAlpha());
    EXPECT_EQ(0, _sprite.LimitAlpha(-1));
}

// --- scale and rotation ---

TEST_F(CastMemberEffectsTest, SetScaleClampsAndStoresFullSizeAsJustAboveOne)
{
    _sprite.SetScale(20.0f);
    EXPECT_EQ(10.0f, _sprite.GetScale());
    EXPECT_EQ(200, _sprite.GetScaledWidth());
    _sprite.SetScale(0.01f);
    EXPECT_EQ(0.1f, _sprite.GetScale());
    _sprite.SetScale(1.0f);
    EXPECT_EQ(1.00001f, _sprite.GetScale());
    EXPECT_TRUE(_sprite.ScaleIsFullSize());

    // Without a scaled look the scale falls back to 1.
    CastMember base;
    base.SetScale(2.0f);
    EXPECT_EQ(1.0f, base.GetScale());
}

TEST_F(CastMemberEffectsTest, ScaleToReachesItsTargetAndCues)
{
    _sprite.Animate(10);
    _sprite.ScaleTo(2.0f, 100, &_listener);
    RunTo(_sprite, 10, 60);
    EXPECT_NEAR(1.5f, _sprite.GetScale(), 0.01f);
    EXPECT_EQ(0, _listener.Count(CueListener::kScaleEnded));
    RunTo(_sprite, 60, 110);
    EXPECT_EQ(2.0f, _sprite.GetScale());
    EXPECT_FALSE(_sprite.IsScaling());
    EXPECT_EQ(40, _sprite.GetScaledWidth());
    EXPECT_EQ(1, _listener.Count(CueListener::kScaleEnded));

    // Downwards, and to the current scale: the cue comes once the time is up.
    _sprite.ScaleTo(0.5f, 100, &_listener);
    RunTo(_sprite, 110, 210);
    EXPECT_EQ(0.5f, _sprite.GetScale());
    _sprite.ScaleTo(0.5f, 100, &_listener);
    RunTo(_sprite, 210, 309);
    EXPECT_EQ(2, _listener.Count(CueListener::kScaleEnded));
    _sprite.Animate(310);
    EXPECT_EQ(3, _listener.Count(CueListener::kScaleEnded));
}

TEST_F(CastMemberEffectsTest, ScaleAndRotateOfNoDurationFinishAtOnce)
{
    _sprite.ScaleTo(3.0f, 0, &_listener);
    _sprite.RotateTo(45.0f, 0, &_listener);
    _sprite.Animate(1);
    EXPECT_EQ(3.0f, _sprite.GetScale());
    EXPECT_EQ(-45.0f, _sprite.GetRotation());
    EXPECT_EQ(1, _listener.Count(CueListener::kScaleEnded));
    EXPECT_EQ(1, _listener.Count(CueListener::kRotationEnded));
}

TEST_F(CastMemberEffectsTest, RotateToTurnsTowardsTheNegatedAngleAndCues)
{
    _sprite.Animate(1000);
    _sprite.RotateTo(90.0f, 1000, &_listener);
    RunTo(_sprite, 1000, 1500);
    EXPECT_NEAR(-45.0f, _sprite.GetRotation(), 0.01f);
    EXPECT_EQ(0, _listener.Count(CueListener::kRotationEnded));
    RunTo(_sprite, 1500, 2000);
    EXPECT_EQ(-90.0f, _sprite.GetRotation());
    EXPECT_FALSE(_sprite.IsRotating());
    EXPECT_EQ(1, _listener.Count(CueListener::kRotationEnded));
    // The rotated look was rebuilt along the way.
    EXPECT_GT(_sprite.rebuilds, 1);
}

TEST_F(CastMemberEffectsTest, HiddenSpriteDoesNotScaleOrRotate)
{
    _sprite.Hide();
    _sprite.ScaleTo(2.0f, 10, &_listener);
    RunTo(_sprite, 0, 100);
    EXPECT_EQ(1.0f, _sprite.GetScale());
    EXPECT_TRUE(_listener.cues.empty());
}

TEST_F(CastMemberEffectsTest, ContinuousRotationWrapsAndStopsAtZeroWhenAsked)
{
    _sprite.Rotate(100.0f, 10);
    EXPECT_EQ(10, _sprite.GetRotatingMills());
    EXPECT_EQ(100.0f, _sprite.GetRotatingIncrement());
    RunTo(_sprite, 0, 40); // four steps: 100, 200, 300, 400 - 360
    EXPECT_EQ(40.0f, _sprite.GetRotation());

    _sprite.StopRotating(true);
    RunTo(_sprite, 40, 1000);
    EXPECT_EQ(0.0f, _sprite.GetRotation());
    EXPECT_FALSE(_sprite.IsRotating());

    _sprite.Rotate(500.0f, 10); // clamped to one turn per step
    EXPECT_EQ(360.0f, _sprite.GetRotatingIncrement());
    _sprite.StopRotating(false);
    EXPECT_FALSE(_sprite.IsRotating());
}

} // namespace
