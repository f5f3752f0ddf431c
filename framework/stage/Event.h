#pragma once

#include "SDL_keysym.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

// One queued input event. The frame loop queues every mouse event as one of these (type 1
// button down, 2 button up, 3 move, 4 drag), hands them to the stage in arrival order and
// deletes them. Fields that an event does not carry read -1 (key: SDLK_UNKNOWN).
class FRAMEWORK_API Event final : public Debug
{
public:
    Event(int type, int x, int y, int button);
    explicit Event(int type);
    Event(int type, const SDLKey& key);
    ~Event() override;

    int GetType() const { return _type; }
    int GetX() const { return _x; }
    int GetY() const { return _y; }
    int GetButtonNum() const { return _button; }
    const SDLKey& GetKey() const { return _key; }

private:
    int _type = 0;
    int _x = -1;
    int _y = -1;
    int _button = -1;
    SDLKey _key = SDLK_UNKNOWN;
};
