#include "framework/stage/InputCatcher.h"

InputCatcher::~InputCatcher() = default;

void InputCatcher::MouseDown(int /*x*/, int /*y*/, int /*button*/, bool /*handled*/) {}

void InputCatcher::MouseUp(int /*x*/, int /*y*/, int /*button*/, bool /*handled*/) {}

void InputCatcher::MouseDrag(int /*x*/, int /*y*/, bool /*handled*/) {}

void InputCatcher::MouseMove(int /*x*/, int /*y*/, bool /*handled*/) {}

void InputCatcher::MouseHover(int /*x*/, int /*y*/, bool /*handled*/) {}

void InputCatcher::MouseHoverEnded(int /*x*/, int /*y*/, bool /*handled*/) {}
