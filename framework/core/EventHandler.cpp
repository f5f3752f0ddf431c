#include "framework/core/EventHandler.h"

namespace {
// The reserved types 14 and 15 sit between SDL_SYSWMEVENT and SDL_VIDEORESIZE; every type from
// 18 up (further reserved types, then SDL_USEREVENT) is a user event as well.
constexpr Uint8 kReservedA = SDL_EVENT_RESERVEDA;
constexpr Uint8 kReservedB = SDL_EVENT_RESERVEDB;
constexpr Uint8 kFirstUserRange = SDL_EVENT_RESERVED2;
} // namespace

EventHandler::EventHandler() = default;

EventHandler::~EventHandler() = default;

void EventHandler::OnEvent(SDL_Event* event)
{
    if (FilterEvent(event)) {
        return;
    }

    switch (event->type) {
    case SDL_ACTIVEEVENT: {
        // One event can carry several state bits; each fires its own handler.
        const SDL_ActiveEvent& active = event->active;
        if ((active.state & SDL_APPMOUSEFOCUS) != 0) {
            if (active.gain != 0) {
                OnMouseFocus();
            } else {
                OnMouseBlur();
            }
        }
        if ((active.state & SDL_APPINPUTFOCUS) != 0) {
            if (active.gain != 0) {
                OnInputFocus();
            } else {
                OnInputBlur();
            }
        }
        if ((active.state & SDL_APPACTIVE) != 0) {
            if (active.gain != 0) {
                ResetScreenMode();
                OnRestore();
            } else {
                OnMinimize();
            }
        }
        break;
    }
    case SDL_KEYDOWN:
        OnKeyDown(event->key.keysym.sym, event->key.keysym.mod, event->key.keysym.unicode);
        break;
    case SDL_KEYUP:
        OnKeyUp(event->key.keysym.sym, event->key.keysym.mod, event->key.keysym.unicode);
        break;
    case SDL_MOUSEMOTION: {
        const SDL_MouseMotionEvent& m = event->motion;
        OnMouseMove(m.x, m.y, m.xrel, m.yrel, (m.state & SDL_BUTTON_LMASK) != 0,
                    (m.state & SDL_BUTTON_RMASK) != 0, (m.state & SDL_BUTTON_MMASK) != 0);
        break;
    }
    case SDL_MOUSEBUTTONDOWN: {
        const SDL_MouseButtonEvent& b = event->button;
        // Other buttons (the wheel) are not used.
        if (b.button == SDL_BUTTON_LEFT) {
            OnLButtonDown(b.x, b.y);
        } else if (b.button == SDL_BUTTON_MIDDLE) {
            OnMButtonDown(b.x, b.y);
        } else if (b.button == SDL_BUTTON_RIGHT) {
            OnRButtonDown(b.x, b.y);
        }
        break;
    }
    case SDL_MOUSEBUTTONUP: {
        const SDL_MouseButtonEvent& b = event->button;
        if (b.button == SDL_BUTTON_LEFT) {
            OnLButtonUp(b.x, b.y);
        } else if (b.button == SDL_BUTTON_MIDDLE) {
            OnMButtonUp(b.x, b.y);
        } else if (b.button == SDL_BUTTON_RIGHT) {
            OnRButtonUp(b.x, b.y);
        }
        break;
    }
    case SDL_JOYAXISMOTION:
        OnJoyAxis(event->jaxis.which, event->jaxis.axis, event->jaxis.value);
        break;
    case SDL_JOYBALLMOTION:
        OnJoyBall(event->jball.which, event->jball.ball, event->jball.xrel, event->jball.yrel);
        break;
    case SDL_JOYHATMOTION:
        OnJoyHat(event->jhat.which, event->jhat.hat, event->jhat.value);
        break;
    case SDL_JOYBUTTONDOWN:
        OnJoyButtonDown(event->jbutton.which, event->jbutton.button);
        break;
    case SDL_JOYBUTTONUP:
        OnJoyButtonUp(event->jbutton.which, event->jbutton.button);
        break;
    case SDL_QUIT:
    case SDL_SYSWMEVENT:
        // The loop ends on the quit event before dispatch; window-manager events are unused.
        break;
    case SDL_VIDEORESIZE:
        OnResize(event->resize.w, event->resize.h);
        break;
    case SDL_VIDEOEXPOSE:
        OnExpose();
        break;
    default:
        if (event->type == kReservedA || event->type == kReservedB ||
            event->type >= kFirstUserRange) {
            OnUser(event->type, event->user.code, event->user.data1, event->user.data2);
        }
        break;
    }
}

bool EventHandler::FilterEvent(SDL_Event*)
{
    return false;
}

void EventHandler::OnInputFocus() {}

void EventHandler::OnInputBlur() {}

void EventHandler::OnMouseFocus() {}

void EventHandler::OnMouseBlur() {}

void EventHandler::ResetScreenMode() {}

void EventHandler::OnMinimize() {}

void EventHandler::OnRestore() {}

void EventHandler::OnKeyDown(SDLKey, SDLMod, unsigned short) {}

void EventHandler::OnKeyUp(SDLKey, SDLMod, unsigned short) {}

void EventHandler::OnMouseMove(unsigned short, unsigned short, short, short, bool, bool, bool) {}

void EventHandler::OnLButtonDown(unsigned short, unsigned short) {}

void EventHandler::OnLButtonUp(unsigned short, unsigned short) {}

void EventHandler::OnRButtonDown(unsigned short, unsigned short) {}

void EventHandler::OnRButtonUp(unsigned short, unsigned short) {}

void EventHandler::OnMButtonDown(unsigned short, unsigned short) {}

void EventHandler::OnMButtonUp(unsigned short, unsigned short) {}

void EventHandler::OnJoyAxis(unsigned char, unsigned char, short) {}

void EventHandler::OnJoyButtonDown(unsigned char, unsigned char) {}

void EventHandler::OnJoyButtonUp(unsigned char, unsigned char) {}

void EventHandler::OnJoyHat(unsigned char, unsigned char, unsigned char) {}

void EventHandler::OnJoyBall(unsigned char, unsigned char, short, short) {}

void EventHandler::OnResize(int, int) {}

void EventHandler::OnExpose() {}

void EventHandler::OnUser(unsigned char, int, void*, void*) {}
