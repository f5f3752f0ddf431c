#pragma once

#include "framework/core/Export.h"

// Hears of completed clicks on image, button and text sprites.
class FRAMEWORK_API ButtonListener
{
public:
    ButtonListener() = default;
    virtual ~ButtonListener();

    // Called when a click on a sprite completes, with the sprite's id and the mouse button.
    virtual void ButtonClicked(int id, int button);
};
