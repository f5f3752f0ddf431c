#pragma once

#include "framework/core/Export.h"

class CastMember;

// Hears of the end of timed actions. Codes: 1 move ended, 2 time cue, 3 blinking ended,
// 4 scaling finished, 5 rotation finished, 6 fade reached its target, 7, 8 and 9 the end of a
// screen fade at alpha 255, at 0 and at any other alpha, 10 dropped on a receiver.
class FRAMEWORK_API CueListener
{
public:
    CueListener() = default;
    virtual ~CueListener();

    // Called from the frame in which the action ended; member is null for screen fades.
    virtual void Cue(CastMember* member, int cue, int value);
};
