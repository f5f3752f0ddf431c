#pragma once

#include "framework/core/Export.h"

#include <cstdint>

// What the processor speed check needs of the system: a fine counter with its frequency, the
// processor's cycle counter, and a short raise of the process's and the main thread's priority.
// The system's own is used unless a test installs a replacement.
class FRAMEWORK_API SpeedCheckPlatform
{
public:
    virtual ~SpeedCheckPlatform();

    // Counter ticks per second; false when the counter cannot be read.
    virtual bool QueryFrequency(int64_t* frequency) = 0;
    virtual int64_t QueryCounter() = 0;
    // Processor cycles; on processors without a readable cycle counter, cycles reckoned from
    // the fastest clock the processor reports, so that cycles per microsecond stay MHz.
    virtual uint64_t ReadTimeStamp() = 0;

    // Best effort: true when the priority was raised. Only a raise that succeeded is restored,
    // the thread's before the process's.
    virtual bool RaiseProcessPriority() = 0;
    virtual void RestoreProcessPriority() = 0;
    virtual bool RaiseThreadPriority() = 0;
    virtual void RestoreThreadPriority() = 0;

    // The installed platform, else the system's.
    static SpeedCheckPlatform& Current();
    // Null restores the system's. Only a test harness sets it, on the main thread.
    static void Install(SpeedCheckPlatform* platform);
};
