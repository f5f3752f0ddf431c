#pragma once

#include "framework/core/Export.h"

class AnimationManager;

// Hook for hearing that the mouse is inside the frame loop's screen.
class FRAMEWORK_API MouseInsideListener
{
public:
    MouseInsideListener() = default;
    virtual ~MouseInsideListener();

    virtual void AnimManagerMouseInside(AnimationManager* manager);
};
