#pragma once

#include "framework/shell/MenuButtonInfo.h"

// One looping animation of the main menu: a button record's fields, then how it loops. The
// description that made it owns it and its image.
struct MenuAnimInfo : MenuButtonInfo
{
    int _frames = 0; // side by side in one row, kept as read (0 shows the sheet as one frame)
    int _loops = 0;  // 0 or less: for ever
    int _speed = 0;
    int _beginDelay = 0;
    int _loopDelay = 0;
    bool _transparency = false;
};
