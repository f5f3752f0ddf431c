#include "framework/stage/Script.h"

#include "framework/stage/GameTime.h"

Script::Script(GameTime* clock) : _clock(clock) {}

Script::~Script() = default;

void Script::DoState(int /*state*/) {}

void Script::DoScript()
{
    if (_delay < 1) {
        return;
    }
    _curTime = Now();
    // Unsigned, so a clock that wrapped still measures the right interval.
    if (_curTime - _startTime < static_cast<unsigned int>(_delay)) {
        return;
    }
    _prevState = _state;
    _state = _nextState;
    _nextState = -1;
    _delay = 0;
    DoState(_state);
}

int Script::GetState()
{
    return _state;
}

int Script::GetPrevState()
{
    return _prevState;
}

int Script::GetNextState()
{
    return _nextState;
}

unsigned int Script::MsUntilDue()
{
    if (_delay < 1) {
        return kNothingDue;
    }
    const unsigned int elapsed = Now() - _startTime;
    return elapsed >= static_cast<unsigned int>(_delay)
               ? 0
               : static_cast<unsigned int>(_delay) - elapsed;
}

void Script::ChangeState(int state, int delay)
{
    _nextState = state == -1 ? _state + 1 : state;
    _state = _nextState;
    _delay = delay;
    _startTime = Now();
}

void Script::ChangeState(int state)
{
    ChangeState(state, 1);
}

void Script::ChangeState()
{
    ChangeState(_state + 1, 1);
}

void Script::SameState(int delay)
{
    ChangeState(_state, delay);
}

void Script::SameState()
{
    ChangeState(_state, 1);
}

void Script::SetState(int state)
{
    _state = state;
}

void Script::UserActivity(int /*x*/, int /*y*/, unsigned int /*ticks*/) {}

bool Script::KeyDown(SDLKey /*sym*/, SDLMod /*mod*/, unsigned short /*unicode*/,
                     bool /*alphanumeric*/)
{
    return false;
}

bool Script::KeyUp(SDLKey /*sym*/, SDLMod /*mod*/, unsigned short /*unicode*/,
                   bool /*alphanumeric*/)
{
    return false;
}

int Script::LoadMenuResources(bool /*onThread*/)
{
    return 0;
}

void Script::DeletedPlayer(const std::string& /*name*/) {}

unsigned int Script::Now()
{
    return _clock != nullptr ? _clock->Time() : 0;
}
