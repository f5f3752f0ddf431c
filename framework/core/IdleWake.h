#pragma once

#include "framework/core/Export.h"

// Ends the frame loop's idle sleep from any thread: a worker that finished, or anything else the
// main thread would otherwise only notice at its next look. The sleep watches Fd() beside the
// display connection and asks Take() before and while it sleeps.
class FRAMEWORK_API IdleWake
{
public:
    // Thread-safe; a wake given while nobody sleeps ends the next sleep at once.
    static void Wake();
    // True once for each run of wakes since the last call; empties Fd().
    static bool Take();
    // Readable while a wake is waiting; -1 when the system gave none (then only Take() tells).
    static int Fd();
};
