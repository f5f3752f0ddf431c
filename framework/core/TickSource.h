#pragma once

#include "framework/core/Export.h"

// The one place the engine reads the millisecond tick count from. It is SDL's tick counter unless
// a test harness replaces it, so clocks, stages, sprites and the frame loop all see one time.
class FRAMEWORK_API TickSource
{
public:
    using Reader = unsigned int (*)();

    // Milliseconds from the current reader.
    static unsigned int Now();
    // Replaces the reader; null restores SDL's tick counter. Only a test harness sets it, before
    // or between frames on the main thread.
    static void Set(Reader reader);
    static Reader Get();
};
