// AnimationManager: the frame itself, the idle sleep, the timer pass, keys and screen modes.
#include "framework/core/Framework.h"
#include "framework/core/IdleWake.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/core/Timer.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Audio.h"
#include "framework/media/DisplayConnection.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/Script.h"

#include <algorithm>
#include <list>
#include <poll.h>

namespace {

// An idle frame looks for input this often while it sleeps without a display connection.
constexpr unsigned int kIdleSliceMs = 2;

// Lock keys are not held modifiers.
constexpr int kHeldModifiers = KMOD_CTRL | KMOD_SHIFT | KMOD_ALT | KMOD_META;

// The key as a 7-bit character: the translated character when there is one, else the key
// symbol; 0 when neither is 7-bit.
int KeyCharacter(SDLKey sym, unsigned short unicode)
{
    if (unicode != 0) {
        return unicode < 128 ? unicode : 0;
    }
    return static_cast<int>(sym) < 128 ? static_cast<int>(sym) : 0;
}

} // namespace

void AnimationManager::DoIt()
{
    // The idle sleep comes before the frame, not after it: what changed since the last frame
    // (the game's own per-frame step, the end of the last frame's cycle, a worker's result) is
    // weighed with what that frame left due.
    if (_idleWait) {
        const unsigned int idle = IdleMs();
        if (idle > 0) {
            // Nothing to hear either: the mixer's thread need not mix silence meanwhile.
            Audio::PauseWhileSilent();
            SleepUntilInput(idle);
        }
    }
    // Announced again by its poller in this frame, while it is still to come.
    _stepDueSet = false;
    _eventArrived = false;

    Canvas* paint = GetPaintCanvas();
    const bool separate = paint != this;
    // Anything below that shows on the screen or must be handed on sets it again.
    _frameChanged = _repaintAll || _modeChangePending || !_events.empty();

    if (_pendingCast != nullptr && _pendingCast != _cast) {
        _frameChanged = true;
        if (_cast != nullptr) {
            _cast->Stop();
            _hover = false;
        }
        _cast = _pendingCast;
        _pendingCast = nullptr;
        _cast->Start();
        RepaintAll(false);
        // Positions queued for the old stage mean nothing on the new one.
        DiscardEvents();
    }

    DoTimers(static_cast<int>(Time()));

    if (_script != nullptr) {
        _script->DoScript();
    }

    if (_cast != nullptr) {
        if (_fadingIn || _fadingOut) {
            _frameChanged = true;
        }
        DoFades();
        ProcessMouseEvents();

        Framework* framework = _framework;
        if (framework != nullptr) {
            _cast->ShowFPS(framework->ShowFPS(),
                           framework->GetFrameworkFont(Framework::kSmallFontBold));
        }
        const int fps = _cast->Animate(framework != nullptr ? framework->GetMovingAverageFPS() : 0);
        if (fps > 0 && framework != nullptr) {
            framework->SetFPS(fps);
        }
        // The areas the stage marked itself, but for the cursor's, which is one every frame.
        CastMember* cursor = _cast->GetCursor();
        for (const std::unique_ptr<Rectangle>& r : _cast->GetDirtyRects()) {
            if (cursor == nullptr || !(*r == cursor->GetScaledRect())) {
                _frameChanged = true;
                break;
            }
        }
        _cast->AddCursorDirty();

        ProcessDirtyRects(separate);

        // A list, so rectangles added while the stage marks more sprites dirty are visited too.
        std::list<Rectangle*>& rects = paint->GetDirtyRects();
        for (Rectangle* rect : rects) {
            _cast->MarkMoreDirty(rect);
        }
        for (Rectangle* rect : rects) {
            _cast->PaintBackground(paint, rect);
        }
        _cast->Paint(paint, _repaintAll);
        _cast->PaintCursor(paint, separate);

        if (separate) {
            SDL_Surface* back = paint->GetSurface();
            SDL_Surface* screen = GetSurface();
            for (Rectangle* rect : rects) {
                SDL_Rect source = *rect->SdlRect();
                SDL_Rect target = source;
                SDL_BlitSurface(back, &source, screen, &target);
            }
            Flip();
            paint->ClearDirtyRects();
        } else {
            UpdateRects();
        }
        if (_repaintAll) {
            _frameChanged = true;
        }
        // Give the processor back for a moment when painting goes straight to the screen; a
        // frame that changed nothing leaves it to the idle sleep before the next one.
        if (!separate && (!_idleWait || _frameChanged)) {
            SDL_Delay(1);
        }

        _cast->EndAnimationCycle();
    }

    _repaintAll = false;
    if (_repaintsDue > 0) {
        // In full screen RepaintAll asks for two pages again: keep the count going down.
        const int left = _repaintsDue - 1;
        RepaintAll(false);
        _repaintsDue = left;
    }

    if (_modeChangePending) {
        SetScreenModeNow();
    }
}

int AnimationManager::GetFPS()
{
    return 0;
}

// --- sleeping while idle ---

unsigned int AnimationManager::IdleMs()
{
    // A screen fade or a stage swap asked for after the frame looked (by a sprite's state, a
    // cue) shows from the next frame on: the frame that asked does not sleep.
    const bool swapPending = _pendingCast != nullptr && _pendingCast != _cast;
    if (_frameChanged || _cast == nullptr || _fadingIn || _fadingOut || swapPending ||
        _repaintAll || _modeChangePending || !_events.empty() || _eventArrived ||
        ChangedSinceFrame()) {
        return 0;
    }
    unsigned int due = kIdleFrameMs;
    if (_script != nullptr) {
        due = std::min(due, _script->MsUntilDue());
    }
    for (Timer* timer : _timers) {
        if (timer != nullptr) {
            due = std::min(due, timer->MsUntilDue());
        }
    }
    const unsigned int now = TickSource::Now();
    if (!_hover) {
        // The hover starts a second after the last mouse event (ProcessMouseEvents).
        const unsigned int since = now - _lastMouseTicks;
        due = std::min(due, since >= kHoverAfterMs ? 0 : kHoverAfterMs - since);
    }
    if (_stepDueSet) {
        const int left = static_cast<int>(_stepDueAt - now);
        due = std::min(due, left <= 0 ? 0u : static_cast<unsigned int>(left));
    }
    return std::min(due, _cast->MsUntilDue(Time()));
}

bool AnimationManager::ChangedSinceFrame() const
{
    // Marked between frames (the game's per-frame step after the loop's, a sprite let go at
    // the end of the cycle): the stage's own areas but for the cursor's, or a dirty sprite.
    CastMember* cursor = _cast->GetCursor();
    for (const std::unique_ptr<Rectangle>& r : _cast->GetDirtyRects()) {
        if (cursor == nullptr || !(*r == cursor->GetScaledRect())) {
            return true;
        }
    }
    for (CastMember* m : _cast->GetCastMembers()) {
        if (m->IsDirty()) {
            return true;
        }
    }
    return false;
}

void AnimationManager::StepDueIn(unsigned int ms)
{
    const unsigned int at = TickSource::Now() + ms;
    if (!_stepDueSet || static_cast<int>(at - _stepDueAt) < 0) {
        _stepDueAt = at;
    }
    _stepDueSet = true;
}

unsigned int AnimationManager::SleepUntilInput(unsigned int ms)
{
    const unsigned int start = TickSource::Now();
    // A tick source a test harness put in its place runs on its own time: no real sleep.
    const bool realTime = TickSource::Get() == nullptr;
    const int connection = realTime ? DisplayConnection() : -1;
    // One look per ms at most: a clock that stands still cannot hold the loop.
    for (unsigned int look = 0; look < ms; ++look) {
        if (IdleWake::Take()) {
            break;
        }
        SDL_PumpEvents();
        SDL_Event waiting;
        if (SDL_PeepEvents(&waiting, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
            break;
        }
        const unsigned int passed = TickSource::Now() - start;
        if (passed >= ms) {
            break;
        }
        if (connection >= 0) {
            // The window's display: sleep on its connection, so that input ends the sleep at
            // once (SDL has just taken every event Xlib had read), and on the workers' wake.
            pollfd wait[2] = {{connection, POLLIN, 0}, {IdleWake::Fd(), POLLIN, 0}};
            poll(wait, 2, static_cast<int>(ms - passed));
        } else if (realTime) {
            SDL_Delay(std::min(kIdleSliceMs, ms - passed));
        }
    }
    return TickSource::Now() - start;
}

// --- timers ---

void AnimationManager::AttachTimer(Timer* timer)
{
    if (timer != nullptr && std::find(_timers.begin(), _timers.end(), timer) == _timers.end()) {
        _timers.push_back(timer);
    }
}

void AnimationManager::DetachTimer(Timer* timer)
{
    const auto it = std::find(_timers.begin(), _timers.end(), timer);
    if (it == _timers.end()) {
        return;
    }
    if (_doingTimers) {
        // The pass below is walking the list: leave a hole that it skips and closes.
        *it = nullptr;
    } else {
        _timers.erase(it);
    }
}

int AnimationManager::GetTimerCount() const
{
    return static_cast<int>(
        std::count_if(_timers.begin(), _timers.end(), [](const Timer* t) { return t != nullptr; }));
}

void AnimationManager::DoTimers(int)
{
    if (_timers.empty()) {
        return;
    }
    // One stopped timer leaves per frame.
    const auto done = std::find_if(_timers.begin(), _timers.end(),
                                   [](Timer* t) { return t != nullptr && t->CanDetach(); });
    if (done != _timers.end()) {
        Timer* timer = *done;
        _timers.erase(done);
        timer->Detached();
    }

    // A listener may start, stop or delete timers from inside DoIt.
    _doingTimers = true;
    for (size_t i = 0; i < _timers.size(); ++i) {
        if (_timers[i] != nullptr) {
            _timers[i]->DoIt();
        }
    }
    _doingTimers = false;
    _timers.erase(std::remove(_timers.begin(), _timers.end(), nullptr), _timers.end());
}

// --- keys ---

unsigned short AnimationManager::TranslateKey(SDLKey, SDLMod, unsigned short unicode)
{
    return unicode < 128 ? unicode : 127;
}

bool AnimationManager::AlphaNumeric(SDLKey sym, SDLMod mod, unsigned short unicode)
{
    const int c = KeyCharacter(sym, unicode);
    if (c == ' ' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return true;
    }
    if (c >= '0' && c <= '9') {
        // With Shift alone a digit key types a symbol.
        const int held = static_cast<int>(mod) & kHeldModifiers;
        return held == 0 || (held & ~KMOD_SHIFT) != 0;
    }
    return false;
}

bool AnimationManager::KeyDown(SDLKey sym, SDLMod mod, unsigned short unicode)
{
    const unsigned short key = TranslateKey(sym, mod, unicode);
    const bool alphaNumeric = AlphaNumeric(sym, mod, unicode);
    if (_masterInput && _cast != nullptr) {
        _cast->KeyDown(sym, mod, key, alphaNumeric);
    }
    // The script hears keys even while mouse input is off.
    if (_script != nullptr) {
        _script->KeyDown(sym, mod, key, alphaNumeric);
    }
    return true;
}

bool AnimationManager::KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode)
{
    const unsigned short key = TranslateKey(sym, mod, unicode);
    const bool alphaNumeric = AlphaNumeric(sym, mod, unicode);
    if (_masterInput && _cast != nullptr) {
        _cast->KeyUp(sym, mod, key, alphaNumeric);
    }
    if (_script != nullptr) {
        _script->KeyUp(sym, mod, key, alphaNumeric);
    }
    return true;
}

// --- screen mode ---

void AnimationManager::SetScreenMode(bool fullScreen)
{
    if (fullScreen == _fullScreen) {
        // Asking for the mode in use again withdraws a request not yet carried out.
        if (!_restoreMode) {
            _modeChangePending = false;
        }
        return;
    }
    if (!fullScreen && _restoreMode) {
        SDL_WM_IconifyWindow();
    }
    _requestedFullScreen = fullScreen;
    _modeChangePending = true;
}

void AnimationManager::ResetScreenMode()
{
    if (_fullScreen) {
        _requestedFullScreen = true;
        _restoreMode = true;
        _modeChangePending = true;
    }
}

void AnimationManager::SetVideoMemThreshold(int kilobytes)
{
    _videoMemThreshold = kilobytes;
}

void AnimationManager::SetScreenModeNow()
{
    DebugVar(1, "SET SCREEN MODE %d", _requestedFullScreen ? 1 : 0);

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    const int videoMem = info != nullptr ? static_cast<int>(info->video_mem) : 0;
    if (_requestedFullScreen && videoMem < _videoMemThreshold) {
        DebugVar(1, "Not enough video memory -- using single buffering: %d", videoMem);
        _doubleBuffered = false;
    } else if (_framework != nullptr) {
        _doubleBuffered = _framework->AllowDoubleBufferMode() && _framework->GetHighDetail();
    } else {
        _doubleBuffered = GetHighDetail();
    }

    const bool wasFullScreen = _fullScreen;
    _fullScreen = _requestedFullScreen;
    Uint32 flags = 0;
    if (_fullScreen) {
        if (_doubleBuffered) {
            flags = SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_HWSURFACE;
        } else {
            flags = SDL_FULLSCREEN;
            DebugVar(1, "Not Using Double Buffering");
        }
    }

    // No worker may make a surface from the old screen format meanwhile.
    Canvas::LockAll();
    const int sixteen = _framework != nullptr ? Framework::SixteenBit() : _sixteen;
    const int bits = sixteen != 0 ? 16 : 32;
    SDL_Surface* screen =
        SDL_SetVideoMode(Framework::kScreenWidth, Framework::kScreenHeight, 32, flags);
    if (screen != nullptr && bits == 16) {
        screen = SDL_SetVideoMode(Framework::kScreenWidth, Framework::kScreenHeight, 16, flags);
    }
    if (screen == nullptr) {
        // Keep a screen to paint on: back to the mode that worked.
        DebugVar(-1, "Could not set screen mode %d: %s", _fullScreen ? 1 : 0, SDL_GetError());
        _fullScreen = wasFullScreen;
        screen = SDL_SetVideoMode(Framework::kScreenWidth, Framework::kScreenHeight, bits,
                                  wasFullScreen ? SDL_FULLSCREEN : 0);
    }
    SetSurface(screen);
    // Set from the final surface: formats of a replaced mode are freed by SDL.
    Canvas::SetDefaultPixelFormat(_framework != nullptr
                                      ? _framework->GetSWPixelFormat()
                                      : (screen != nullptr ? screen->format : nullptr));
    DebugVar(0, "Globals = %d, %d, %d", _fullScreen ? 1 : 0, _doubleBuffered ? 1 : 0, sixteen);
    Canvas::UnlockAll();

    RepaintAll(false);
    _modeChangePending = false;
    if (_framework != nullptr) {
        _framework->ShowCursor();
    }
}
