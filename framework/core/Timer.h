#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <cstdint>

class AnimationManager;
class GameTime;
class TimerListener;

// A countdown on the animation clock with a tick interval, pausing and adjustment, reported to
// a listener. A started timer attaches itself to the animation manager, which calls DoIt once
// per frame; once it has stopped or expired the manager lets it go in a following frame.
//
// The clock, the manager and the listener are not owned; the clock and the manager must
// outlive the timer. Deleting a timer detaches it from the manager at once. A listener may
// delete the timer from TimerExpired, which is the last thing DoIt does.
class FRAMEWORK_API Timer : public Debug
{
public:
    // Not started and paused; a duration of 60 ms and a tick of 1000 ms until Start. manager
    // may be null: then nobody drives the timer but its owner's own DoIt calls.
    Timer(GameTime* clock, int id, AnimationManager* manager, TimerListener* listener);
    // A started timer stops first (TimerStopped), then leaves the manager's list.
    ~Timer() override;

    // Ignored while started. tick: ms between tick reports; 0 reports no ticks.
    virtual void Start(int duration, unsigned int tick);
    // A quiet stop (the timer stays attached), then Start with the last duration and tick.
    virtual void Restart();
    // The countdown goes on from the adjusted value. clamp: no more than the duration.
    virtual void Add(unsigned int ms, bool clamp);
    // clamp: no less than 0.
    virtual void Subtract(unsigned int ms, bool clamp);
    // Only while started. Unless quiet, the listener hears TimerStopped and the manager may let
    // the timer go.
    virtual void Stop(bool quiet);
    // Paused time does not count down.
    virtual void Pause();
    virtual void Unpause();
    virtual int GetID();
    // Once per frame from the manager: counts down, reports ticks and the expiry.
    virtual void DoIt();
    // True once the timer stopped or expired, until the manager calls Detached.
    virtual bool CanDetach();
    virtual void Detached();
    virtual int GetTimeRemaining();
    virtual unsigned int GetTicksRemaining();
    virtual bool Paused();
    virtual bool Started();
    // Started and not paused.
    virtual bool Running();
    // Milliseconds of the clock until the next tick or the end is due (0: due already); ~0u
    // when the timer does not run.
    unsigned int MsUntilDue();

private:
    int64_t ClockTime();
    // The remaining time as the listener hears it: never below 0.
    unsigned int Reported() const;
    // Moves the remaining time by delta (and the countdown with it).
    void Adjust(int64_t newRemaining);

    GameTime* _clock = nullptr; // not owned
    int _id = 0;
    bool _started = false;
    bool _paused = true;
    int _remaining = 0;
    int _duration = 60;
    unsigned int _tick = 1000;
    TimerListener* _listener = nullptr;   // not owned
    AnimationManager* _manager = nullptr; // not owned
    // Clock time (less the paused time) at which the countdown began; only valid once the first
    // DoIt after a start has set it. Adjustments move it, so it may lie before 0.
    int64_t _startTime = 0;
    bool _startTimeSet = false;
    int64_t _lastTick = 0;
    bool _detachable = false;
    int64_t _pauseBegan = 0;
    int64_t _totalPaused = 0;
};
