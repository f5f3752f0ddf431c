#pragma once

#include "framework/core/Export.h"

// Hears what a Timer does. Every call comes from the main thread, inside the timer's own
// operation or the frame's timer pass; remaining is in milliseconds, never below 0. The
// defaults do nothing.
class FRAMEWORK_API TimerListener
{
public:
    TimerListener() = default;
    virtual ~TimerListener();

    virtual void TimerStarted(int id, unsigned int remaining);
    // After Add or Subtract.
    virtual void TimerAdjusted(int id, unsigned int remaining);
    virtual void TimerPause(int id, unsigned int remaining);
    virtual void TimerUnpause(int id, unsigned int remaining);
    // A stop that was not quiet, an expiry (right before TimerExpired) or the destruction of a
    // started timer.
    virtual void TimerStopped(int id, unsigned int remaining);
    // ticks: whole tick intervals since the previous report.
    virtual void TimerTicked(int id, unsigned int remaining, int ticks);
    virtual void TimerExpired(int id);
};
