#pragma once

#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Export.h"

// Turns each SDL event into a call of one handler. Every handler is a hook that does nothing
// here; the framework and the game override the ones they need. All run on the main thread.
class FRAMEWORK_API EventHandler : public Application
{
public:
    EventHandler();
    ~EventHandler() override;

    // Drops the event when FilterEvent says so, else calls the handler for its type.
    void OnEvent(SDL_Event* event) override;

    // True drops the event before dispatch.
    virtual bool FilterEvent(SDL_Event* event);
    virtual void OnInputFocus();
    virtual void OnInputBlur();
    virtual void OnMouseFocus();
    virtual void OnMouseBlur();
    // Called when the application becomes active again, right before OnRestore.
    virtual void ResetScreenMode();
    virtual void OnMinimize();
    virtual void OnRestore();
    virtual void OnKeyDown(SDLKey sym, SDLMod mod, unsigned short unicode);
    virtual void OnKeyUp(SDLKey sym, SDLMod mod, unsigned short unicode);
    // At most once per pass, with the last position of the batch and the buttons then held.
    virtual void OnMouseMove(unsigned short x, unsigned short y, short xrel, short yrel, bool left,
                             bool right, bool middle);
    virtual void OnLButtonDown(unsigned short x, unsigned short y);
    virtual void OnLButtonUp(unsigned short x, unsigned short y);
    virtual void OnRButtonDown(unsigned short x, unsigned short y);
    virtual void OnRButtonUp(unsigned short x, unsigned short y);
    virtual void OnMButtonDown(unsigned short x, unsigned short y);
    virtual void OnMButtonUp(unsigned short x, unsigned short y);
    virtual void OnJoyAxis(unsigned char which, unsigned char axis, short value);
    virtual void OnJoyButtonDown(unsigned char which, unsigned char button);
    virtual void OnJoyButtonUp(unsigned char which, unsigned char button);
    virtual void OnJoyHat(unsigned char which, unsigned char hat, unsigned char value);
    virtual void OnJoyBall(unsigned char which, unsigned char ball, short xrel, short yrel);
    virtual void OnResize(int w, int h);
    virtual void OnExpose();
    // Any event type SDL does not name: the reserved types and SDL_USEREVENT upwards.
    virtual void OnUser(unsigned char type, int code, void* data1, void* data2);
};
