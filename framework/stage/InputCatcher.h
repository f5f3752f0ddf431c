#pragma once

#include "framework/core/Export.h"

// Sees every mouse event after the stage has routed it; `handled` tells whether a sprite or
// dialog took the event. It may watch, but the event has already been delivered.
class FRAMEWORK_API InputCatcher
{
public:
    InputCatcher() = default;
    virtual ~InputCatcher();

    virtual void MouseDown(int x, int y, int button, bool handled);
    virtual void MouseUp(int x, int y, int button, bool handled);
    virtual void MouseDrag(int x, int y, bool handled);
    virtual void MouseMove(int x, int y, bool handled);
    virtual void MouseHover(int x, int y, bool handled);
    virtual void MouseHoverEnded(int x, int y, bool handled);
};
