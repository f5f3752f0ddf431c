#pragma once

#include "framework/core/Export.h"

// Gets raw mouse moves and drags from the frame loop before the stage does.
class FRAMEWORK_API MouseMoveListener
{
public:
    MouseMoveListener() = default;
    virtual ~MouseMoveListener();

    // True keeps the event from the stage; the defaults let it through.
    virtual bool MouseMoved(int x, int y);
    virtual bool MouseDragged(int x, int y);
};
