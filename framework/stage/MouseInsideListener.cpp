#include "framework/stage/MouseInsideListener.h"

MouseInsideListener::~MouseInsideListener() = default;

void MouseInsideListener::AnimManagerMouseInside(AnimationManager* /*manager*/) {}
