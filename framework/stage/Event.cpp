#include "framework/stage/Event.h"

Event::Event(int type, int x, int y, int button)
    : Debug("EVENT 1"), _type(type), _x(x), _y(y), _button(button)
{}

Event::Event(int type) : Debug("EVENT 3"), _type(type) {}

Event::Event(int type, const SDLKey& key) : Debug("EVENT 2"), _type(type), _key(key) {}

Event::~Event() = default;
