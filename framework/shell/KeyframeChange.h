#pragma once

#include "framework/core/Export.h"

#include <string>

// One command of an animation, stored for a frame: which sprite, which command code, and the
// command's text (its arguments).
class FRAMEWORK_API KeyframeChange
{
public:
    KeyframeChange(int sprite, int code, const std::string& text);
    ~KeyframeChange();

    int _sprite; // index into the animation's sprites
    int _code;
    std::string _text;
};
