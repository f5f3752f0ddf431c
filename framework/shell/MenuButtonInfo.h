#pragma once

#include "framework/core/Point.h"

class Image;

// One button of the main menu as its description gives it. A plain record: the description
// that made it owns it and its image.
struct MenuButtonInfo
{
    Image* _image = nullptr; // the four-look sheet; null when the section names none
    Point _pos;
    Point _shadow;
    int _pri = 0;
    int _alpha = 0;
};
