#pragma once

#include "framework/core/Export.h"

class CastMember;

// Hears of the end of timed actions.
class FRAMEWORK_API CueListener
{
public:
    static constexpr int kMoveEnded = 1;
    static constexpr int kTimeCue = 2;
    static constexpr int kBlinkEnded = 3;
    static constexpr int kScaleEnded = 4;
    static constexpr int kRotationEnded = 5;
    static constexpr int kFaded = 6;
    // The end of a screen fade at alpha 255, at 0, and at any other alpha.
    static constexpr int kScreenFadedIn = 7;
    static constexpr int kScreenFadedOut = 8;
    static constexpr int kScreenFadedOther = 9;
    static constexpr int kDropTaken = 10;

    CueListener() = default;
    virtual ~CueListener();

    // Called from the frame in which the action ended; member is null for screen fades.
    virtual void Cue(CastMember* member, int cue, int value);
};
