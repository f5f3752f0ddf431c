#include "framework/stage/ButtonListener.h"

ButtonListener::~ButtonListener() = default;

void ButtonListener::ButtonClicked(int /*id*/, int /*button*/) {}
