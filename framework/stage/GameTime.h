#pragma once

#include "framework/core/Export.h"

// The pausable millisecond clock of the animation. It reads 0 until its first Start, freezes
// at Stop and goes on from the frozen value at the next Start.
//
// A process-wide slowed test mode (SetTestSlow) makes every Time() call of every clock sleep
// 10 n - 9 ms and advance one shared test clock by exactly 1 ms, so game time moves one
// millisecond per reading however long the frames take; its sleeps stop at half of each second
// of real time, so no frame, however many readings it makes, stalls the program. Start, Stop and
// Time all read the same
// tick count, and switching the mode on or off carries the count over, so no clock jumps.
class FRAMEWORK_API GameTime
{
public:
    // Stopped, reading 0; sets the shared test-slow factor for all clocks (0 = off).
    explicit GameTime(int testSlow);
    virtual ~GameTime();

    GameTime(const GameTime&) = delete;
    GameTime& operator=(const GameTime&) = delete;

    // Starting a running clock or stopping a stopped one changes nothing.
    virtual void Start();
    virtual void Stop();
    virtual bool Stopped();
    virtual unsigned int Time();

    // The shared slowed test mode: n > 0 slows every clock, 0 (or a negative n) switches it off.
    static void SetTestSlow(int n);

private:
    unsigned int _startTicks = 0;  // tick count at the last Start
    unsigned int _accumulated = 0; // ms counted before the last Start
    bool _running = false;
};
