#pragma once

#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/core/Framework.h"
#include "framework/media/Canvas.h"

#include <memory>
#include <vector>

class Cast;
class CueListener;
class Dimension;
class Event;
class Framework;
class GameTime;
class MouseMoveListener;
class Rectangle;
class Script;
class Timer;

// The screen and the engine's per-frame loop: a Canvas around the video surface that owns the
// animation clock, the default stage ("GameCast"), the fade canvas, the mouse event queue, the
// master input switch and the master alpha with its fades.
//
// Ownership: the stage, the fade canvas, the back canvas, the clock, the screen size and the
// queued events are owned. The pending stage, the script, the listeners and the framework are
// not. The video surface belongs to SDL and is never freed here.
class FRAMEWORK_API AnimationManager final : public Canvas
{
public:
    static constexpr int kScreenWidth = Framework::kScreenWidth;
    static constexpr int kScreenHeight = Framework::kScreenHeight;

    // framework may be null (then the "testslow" and "forcesixteen" settings read 0).
    AnimationManager(Framework* framework, SDL_Surface* screen, bool fullScreen);
    ~AnimationManager() override;

    Framework* GetFramework() const { return _framework; }
    // The animation clock that the stage and its sprites read.
    GameTime* GetGameTime() const { return _clock.get(); }
    unsigned int Time();

    // --- per frame ---

    // One whole frame: swaps in a pending stage, runs the timers, the script and the fades,
    // hands the queued mouse events to the stage, animates it, repaints and shows what changed,
    // and at the end applies a pending screen-mode change.
    void DoIt();
    // Advances a screen fade; its end is reported as cue 7 (at 255), 8 (at 0) or 9.
    void DoFades();
    // Hands the queued mouse events to the stage in arrival order; after 1000 ms without one,
    // starts a hover. Called once per frame and by velocity moves between their ticks.
    void ProcessMouseEvents();
    // Gathers the stage's and the dirty sprites' rectangles into the paint canvas and merges the
    // overlapping ones. separate: painting goes to a back canvas.
    void ProcessDirtyRects(bool separate);

    // --- sleeping while idle ---

    // Longest sleep of an idle frame, in ms. The script's and the sprites' timed states, time
    // cues, blinks and frame loops, the timers, the hover and the steps announced through
    // StepDueIn say when they fall due; a worker's end ends the sleep (IdleWake).
    static constexpr unsigned int kIdleFrameMs = 100;
    // A hover starts after this long without a mouse event.
    static constexpr unsigned int kHoverAfterMs = 1000;
    // With it on, a frame that changed nothing on the screen (no dirty sprite or area, no fade,
    // no full repaint, no mouse event, no stage swap), when nothing changed after it either, is
    // followed by a sleep until the next timed step of the script or the stage falls due, at
    // most kIdleFrameMs, ended early by any SDL event or IdleWake. The sleep is taken at the
    // start of the next frame. Off by default.
    void SetIdleWait(bool on) { _idleWait = on; }
    bool IdleWait() const { return _idleWait; }
    // What the last frame leaves to sleep: 0 when it or anything since changed something or a
    // timed step is due, else the ms until the next one falls due, at most kIdleFrameMs.
    unsigned int IdleMs();
    // A step that only its owner's per-frame look takes (a dialog's animation, a check after a
    // link was opened) falls due in ms of the tick source; holds until the next frame begins,
    // so the owner announces it again in every frame while it is still to come.
    void StepDueIn(unsigned int ms);
    // An SDL event was handled since the last frame (a focus change, a key): the next frame
    // does not sleep first, whatever the event changed or will change.
    void EventArrived() { _eventArrived = true; }
    // Sleeps up to ms by the tick source, in short slices, and ends as soon as an SDL event is
    // queued or IdleWake was given; returns the ms that passed.
    unsigned int SleepUntilInput(unsigned int ms);

    // --- timers ---

    // Drives timer (not owned) once per frame from now on; a timer already driven is not added
    // twice.
    void AttachTimer(Timer* timer);
    // Stops driving timer at once (a timer being deleted).
    void DetachTimer(Timer* timer);
    int GetTimerCount() const;

    // --- stage and script ---

    // Takes effect at the start of the next frame. Not owned.
    void SetCast(Cast* cast);
    Cast* GetCast() const { return _cast; }
    Cast* GetPendingCast() const { return _pendingCast; }
    void SetScript(Script* script);
    Script* GetScript() const { return _script; }

    // --- input ---

    // Queue one event while the master input switch is on; always true.
    bool MouseDown(int x, int y, int button);
    bool MouseUp(int x, int y, int button);
    bool MouseMove(int x, int y);
    bool MouseDrag(int x, int y);
    // The key goes to the stage while the master input switch is on, and to the script always;
    // both get it as a 7-bit character with the alphanumeric judgement. Always true.
    bool KeyDown(SDLKey sym, SDLMod mod, unsigned short unicode);
    bool KeyUp(SDLKey sym, SDLMod mod, unsigned short unicode);
    // The character when it is 7-bit, else 127.
    unsigned short TranslateKey(SDLKey sym, SDLMod mod, unsigned short unicode);
    // Space, underscore and letters; digits unless Shift alone is held (then the key types a
    // symbol).
    bool AlphaNumeric(SDLKey sym, SDLMod mod, unsigned short unicode);
    void SetMasterInput(bool on);
    bool MasterInput() const { return _masterInput; }
    void SetMouseMoveListener(MouseMoveListener* listener);
    int GetLastMouseX() const { return _lastMouseX; }
    int GetLastMouseY() const { return _lastMouseY; }
    void DefaultDialogDragging(bool on);
    bool DefaultDialogDragging() const { return _defaultDialogDragging; }

    // The framework's state as the stage reads it, kept up to date by the framework: whether
    // drawing is in high detail (else the stage fades with blocks) and whether the window has
    // the input focus (else the stage ignores moves and hovers). Both start true.
    void SetHighDetail(bool on);
    bool GetHighDetail() const { return _highDetail; }
    void SetInputFocus(bool on);
    bool HasInputFocus() const { return _inputFocus; }

    // --- painting ---

    // Marks the whole screen dirty once (twice in full screen); the argument is not used.
    void RepaintAll(bool unused);
    bool RepaintAllPending() const { return _repaintAll; }
    // The back canvas in double-buffered full screen, else the screen itself.
    Canvas* GetPaintCanvas();
    using Canvas::AddDirtyRect;
    // Refused (false: the caller keeps r) while a repaint-all is pending.
    bool AddDirtyRect(Rectangle* r) override;
    void ClearDirtyRects() override;
    Dimension* GetDimension() const { return _screenSize.get(); }
    bool IsFullScreen() const { return _fullScreen; }
    // The frame rate lives in the framework: 0.
    int GetFPS();

    // --- screen mode ---

    // Carried out at the end of the next frame; asking for the mode in use cancels a request.
    void SetScreenMode(bool fullScreen);
    // After the window comes back from a minimise: full screen is set up again.
    void ResetScreenMode();
    // Replaces the video surface now, under the canvas lock.
    void SetScreenModeNow();
    bool AboutToSetNewScreenMode() const { return _modeChangePending; }
    // Kilobytes of video memory below which full screen goes without double buffering.
    void SetVideoMemThreshold(int kilobytes);
    int GetVideoMemThreshold() const { return _videoMemThreshold; }

    // --- fades and master alpha ---

    // From the current master alpha to 255 (0) over ms (at least 1); already there: the cue at
    // once.
    void FadeIn(unsigned int ms, CueListener* listener);
    void FadeOut(unsigned int ms, CueListener* listener);
    void FadeTo(int alpha, unsigned int ms, CueListener* listener);
    // A listener that is going: the fade runs on and tells nobody when it ends.
    void ForgetFadeListener(CueListener* listener)
    {
        if (_fadeListener == listener) {
            _fadeListener = nullptr;
        }
    }
    bool FadingIn() const { return _fadingIn; }
    bool FadingOut() const { return _fadingOut; }
    // The current (or last) fade's start and target alpha.
    int GetFadeStartAlpha() const { return _fadeStartAlpha; }
    int GetFadeTargetAlpha() const { return _fadeTargetAlpha; }
    void SetFadePriority(int priority);
    void SetFadeColor(Color color);
    // A black screen-sized surface with surface alpha 255 - alpha; the caller owns it.
    Canvas* CreateFadeCanvas(int alpha);
    // The fade layer the stages paint over the screen below full alpha. The canvas lasts as
    // long as the manager; its pixels only while the master alpha is below 255.
    Canvas* GetFadeCanvas() const { return _fadeCanvas.get(); }
    // 0 black to 255 full; clamped.
    void SetMasterAlpha(int alpha);
    int GetMasterAlpha() const { return _masterAlpha; }

private:
    void DiscardEvents();
    // A sprite marked dirty, or an area of the stage's other than the cursor's, since the last
    // frame painted.
    bool ChangedSinceFrame() const;
    // Step 2 of the frame: lets one stopped timer go, then runs every timer. The time is not
    // used: each timer reads the clock itself.
    void DoTimers(int now);
    // Fades from the master alpha towards target; already there: cueWhenThere at once.
    void StartFade(int target, unsigned int ms, CueListener* listener, int cueWhenThere);
    // Frees the fade layer's surface at full alpha and makes it again below it, in the fade
    // colour of the stage shown.
    void MatchFadeSurface();

    std::unique_ptr<Canvas> _backCanvas;
    std::unique_ptr<Canvas> _fadeCanvas;
    bool _fullScreen = false;
    bool _doubleBuffered = true;
    Cast* _cast = nullptr;        // owned; deleted with the manager
    Cast* _pendingCast = nullptr; // not owned
    Script* _script = nullptr;
    std::vector<std::unique_ptr<Event>> _events;
    std::vector<Timer*> _timers; // not owned; a deleted timer takes itself out
    bool _doingTimers = false;   // the timer pass runs: detaching leaves a hole
    std::unique_ptr<Dimension> _screenSize;
    bool _defaultDialogDragging = true;
    MouseMoveListener* _mouseMoveListener = nullptr;
    bool _repaintAll = false;
    int _repaintsDue = 0;
    bool _masterInput = true;
    int _lastMouseX = 0;
    int _lastMouseY = 0;
    unsigned int _lastMouseTicks = 0;
    bool _hover = false;
    bool _fadingIn = false;
    bool _fadingOut = false;
    unsigned int _fadeDuration = 1;
    unsigned int _fadeStartTime = 0;
    CueListener* _fadeListener = nullptr;
    int _fadeTargetAlpha = 255;
    int _fadeStartAlpha = 255;
    bool _requestedFullScreen = false;
    bool _modeChangePending = false;
    bool _restoreMode = false; // set when the window came back from a minimise in full screen
    int _masterAlpha = 255;
    int _sixteen = 0;
    std::unique_ptr<GameTime> _clock;
    Framework* _framework = nullptr;
    int _videoMemThreshold = 4000;
    bool _highDetail = true;
    bool _inputFocus = true;
    bool _idleWait = false;
    bool _frameChanged = true;   // the last frame had something to paint or to hand on
    bool _stepDueSet = false;    // a StepDueIn announced in this frame
    bool _eventArrived = false;  // an SDL event was handled since the last frame began
    unsigned int _stepDueAt = 0; // its tick time, the earliest announced
};
