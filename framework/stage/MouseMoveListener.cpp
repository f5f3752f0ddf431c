#include "framework/stage/MouseMoveListener.h"

MouseMoveListener::~MouseMoveListener() = default;

bool MouseMoveListener::MouseMoved(int /*x*/, int /*y*/)
{
    return false;
}

bool MouseMoveListener::MouseDragged(int /*x*/, int /*y*/)
{
    return false;
}
