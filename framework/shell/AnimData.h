#pragma once

#include "framework/core/Export.h"
#include "framework/core/Point.h"

#include <string>

// One animated sprite of an animation description: its image sheet and its starting look.
// Read once by SpriteRunnerConfigFile; the intro animation script reads the fields directly.
struct FRAMEWORK_API AnimData
{
    ~AnimData();

    std::string _image = "0"; // image sheet file; "0" when the key is missing
    int _frames = 1;          // columns of the sheet (one row)
    Point _pos;
    Point _shadow; // read but not applied
    int _pri = 5;
    int _loops = 0; // 0: no looping; below 0: for ever
    int _speed = 0;
    int _beginDelay = 0;
    int _loopDelay = 0;
    // 1: colour-key transparency; 2: the sheet keeps the file's own alpha channel; else neither.
    int _transparency = 1;
    int _alpha = 255;
    bool _visible = true;
    bool _smooth = true;
    float _scale = 1.0f;
    float _rotation = 0.0f; // degrees
    int _rotMillis = 0;
    std::string _sequence; // comma-separated frame numbers, run as the frame-sequence command
    std::string _mirror;   // "h" or "v"
};
