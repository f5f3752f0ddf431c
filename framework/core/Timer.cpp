#include "framework/core/Timer.h"

#include "framework/core/TimerListener.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/GameTime.h"

#include <algorithm>
#include <climits>

namespace {
int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}
} // namespace

Timer::Timer(GameTime* clock, int id, AnimationManager* manager, TimerListener* listener)
    : Debug("Timer"), _clock(clock), _id(id), _listener(listener), _manager(manager)
{}

Timer::~Timer()
{
    if (_started) {
        Stop(false);
    }
    // The manager's list must never hold a freed timer.
    if (_manager != nullptr) {
        _manager->DetachTimer(this);
    }
}

int64_t Timer::ClockTime()
{
    return _clock != nullptr ? static_cast<int64_t>(_clock->Time()) : 0;
}

unsigned int Timer::Reported() const
{
    return _remaining > 0 ? static_cast<unsigned int>(_remaining) : 0u;
}

void Timer::Start(int duration, unsigned int tick)
{
    if (_started) {
        return;
    }
    _duration = duration;
    _remaining = duration;
    _tick = tick;
    _detachable = false;
    _startTimeSet = false;
    if (_manager != nullptr) {
        _manager->AttachTimer(this);
    }
    _started = true;
    _paused = false;
    if (_listener != nullptr) {
        _listener->TimerStarted(_id, Reported());
    }
}

void Timer::Restart()
{
    Stop(true);
    Start(_duration, _tick);
}

void Timer::Adjust(int64_t newRemaining)
{
    const int remaining = ClampToInt(newRemaining);
    // Moving the start by the same amount keeps the countdown going from the new value.
    _startTime += static_cast<int64_t>(remaining) - _remaining;
    _remaining = remaining;
    if (_listener != nullptr) {
        _listener->TimerAdjusted(_id, Reported());
    }
}

void Timer::Add(unsigned int ms, bool clamp)
{
    int64_t remaining = static_cast<int64_t>(_remaining) + ms;
    if (clamp) {
        remaining = std::min<int64_t>(remaining, _duration);
    }
    Adjust(remaining);
}

void Timer::Subtract(unsigned int ms, bool clamp)
{
    int64_t remaining = static_cast<int64_t>(_remaining) - ms;
    if (clamp) {
        remaining = std::max<int64_t>(remaining, 0);
    }
    Adjust(remaining);
}

void Timer::Stop(bool quiet)
{
    if (!_started) {
        return;
    }
    _started = false;
    _paused = true;
    _startTimeSet = false;
    if (!quiet) {
        _detachable = true;
        if (_listener != nullptr) {
            _listener->TimerStopped(_id, Reported());
        }
    }
}

void Timer::Pause()
{
    if (!_started || _paused) {
        return;
    }
    _pauseBegan = ClockTime();
    _paused = true;
    if (_listener != nullptr) {
        _listener->TimerPause(_id, Reported());
    }
}

void Timer::Unpause()
{
    if (!_started || !_paused) {
        return;
    }
    _totalPaused += ClockTime() - _pauseBegan;
    _paused = false;
    if (_listener != nullptr) {
        _listener->TimerUnpause(_id, Reported());
    }
}

int Timer::GetID()
{
    return _id;
}

unsigned int Timer::MsUntilDue()
{
    if (!Running()) {
        return ~0u;
    }
    if (!_startTimeSet) {
        return 0;
    }
    const int64_t now = ClockTime() - _totalPaused;
    int64_t due = static_cast<int64_t>(_duration) - (now - _startTime);
    if (_tick > 0) {
        // A tick comes once more than a whole interval has passed.
        due = std::min(due, _lastTick + static_cast<int64_t>(_tick) + 1 - now);
    }
    return due <= 0 ? 0u : static_cast<unsigned int>(std::min<int64_t>(due, ~0u));
}

void Timer::DoIt()
{
    if (!Running()) {
        return;
    }
    const int64_t now = ClockTime() - _totalPaused;
    if (!_startTimeSet) {
        // Adjustments made before the first frame are kept.
        _startTime = now - (static_cast<int64_t>(_duration) - _remaining);
        _lastTick = now;
        _startTimeSet = true;
    }
    _remaining = std::max(0, ClampToInt(_duration - (now - _startTime)));

    const int64_t sinceTick = now - _lastTick;
    if (_tick > 0 && sinceTick > static_cast<int64_t>(_tick)) {
        _lastTick = now;
        if (_listener != nullptr) {
            _listener->TimerTicked(_id, Reported(), ClampToInt(sinceTick / _tick));
        }
    }

    if (_remaining <= 0) {
        Stop(false);
        if (_listener != nullptr) {
            _listener->TimerExpired(_id);
        }
    }
}

bool Timer::CanDetach()
{
    return _detachable;
}

void Timer::Detached()
{
    _detachable = false;
}

int Timer::GetTimeRemaining()
{
    return _remaining;
}

unsigned int Timer::GetTicksRemaining()
{
    return _tick > 0 ? Reported() / _tick : 0u;
}

bool Timer::Paused()
{
    return _paused;
}

bool Timer::Started()
{
    return _started;
}

bool Timer::Running()
{
    return _started && !_paused;
}
