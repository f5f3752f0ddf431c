#pragma once

#include "SDL_keysym.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <string>

class GameTime;

// Base of every state machine that runs once per frame (the application script, the game's
// script). A change of state is visible at once; its DoState runs later, in the first frame in
// which the clock has advanced by the change's delay. One change is pending at a time.
class FRAMEWORK_API Script : public Debug
{
public:
    // States from this one upward belong to the game's script.
    static constexpr int kFirstGameState = 100;

    // The clock is not owned; it must outlive the script. Without a clock time stands at 0.
    explicit Script(GameTime* clock);
    ~Script() override;

    // Runs once per completed change, with the new state. May call ChangeState again; that
    // change completes in a later frame at the earliest.
    virtual void DoState(int state);
    // Called once per frame by the frame loop; completes a pending change whose delay has
    // passed on the clock.
    virtual void DoScript();

    virtual int GetState();
    virtual int GetPrevState();
    virtual int GetNextState();

    // The state becomes `state` at once (-1: the current state + 1) and DoState follows after
    // `delay` ms of the clock; a delay below 1 schedules nothing. Replaces a pending change.
    virtual void ChangeState(int state, int delay);
    virtual void ChangeState(int state);
    virtual void ChangeState();
    virtual void SameState(int delay);
    virtual void SameState();
    // Sets the current state only: no DoState follows and a pending change stays pending.
    virtual void SetState(int state);
    // Milliseconds of the clock until the pending change falls due (0: due already);
    // kNothingDue when none is pending.
    unsigned int MsUntilDue();
    static constexpr unsigned int kNothingDue = ~0u;

    // Called for every mouse event the frame loop handles, with the event's position and the
    // tick count; a place to notice that the player is still there.
    virtual void UserActivity(int x, int y, unsigned int ticks);
    // Keys the frame loop passes on; true when handled.
    virtual bool KeyDown(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric);
    virtual bool KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode, bool alphanumeric);
    // Loads what the main menu needs, on a loading thread when onThread is true; the result
    // becomes that thread's return value.
    virtual int LoadMenuResources(bool onThread);
    // Called by the application shell after a player profile was deleted.
    virtual void DeletedPlayer(const std::string& name);

private:
    unsigned int Now();

    int _state = 0;
    int _nextState = 0;
    int _prevState = 0;
    int _delay = 1;              // ms; a change is pending while above 0
    unsigned int _startTime = 0; // clock time of the last ChangeState
    unsigned int _curTime = 0;   // clock time read by the last DoScript with a change pending
    GameTime* _clock = nullptr;  // not owned
};
