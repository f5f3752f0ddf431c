#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"
#include "framework/core/Point.h"
#include "framework/core/Rectangle.h"

#include <cstdint>

class AnimationManager;
class Canvas;
class Cast;
class CueListener;
class Receiver;

// The base sprite: one object on a stage with a position, a size, a priority (smaller is nearer
// the viewer), visibility, the press-drag-release logic, motion, cues, blinking, alpha fades, a
// drop shadow, scaling, rotation and a small script of timed states. Every sprite kind derives
// from it and draws itself in Paint.
//
// Sends listeners Cue(this, code, 0) with CueListener's codes at the end of a move, a time cue, a
// blink run, a scale, a rotation, a fade, and when a receiver takes a dropped sprite.
//
// Lifetime: a sprite on a stage is not owned by it unless flagged with
// DeleteOnRemovedFromCast(true); then it deletes itself in RemovedFromCast, at the end of the
// frame in which it left the stage. Deleting a sprite takes it off its stage at once.
class FRAMEWORK_API CastMember : public Debug
{
public:
    // Sprite kinds, as GetClassMemberType reports them.
    static constexpr int kBaseKind = 0;
    static constexpr int kImageKind = 1;
    static constexpr int kButtonKind = 2;
    static constexpr int kTextKind = 3;
    static constexpr int kProgressKind = 4;
    static constexpr int kCursorKind = 5;
    static constexpr int kDialogKind = 6;
    static constexpr int kImageDialogKind = 7;
    // The x of a release that cancels a drag, a tracking or a click.
    static constexpr int kCancelX = 10000;

    // Off stage, invisible, priority 1.
    CastMember();
    // At (x, y) with the priority; with a stage it joins it (added by priority and visible).
    CastMember(Cast* cast, int x, int y, int priority);
    ~CastMember() override;

    CastMember(const CastMember&) = delete;
    CastMember& operator=(const CastMember&) = delete;

    // Blink machine steps: 1 start, 2 hidden, 3 shown, then back to 2 or the end of the run.
    virtual void DoBlinkState(int state);
    virtual void ChangeBlinkState(int state, int delay);
    virtual void ChangeBlinkState(int state);
    // Runs a due blink state; called from Animate while a blink delay is set.
    virtual void DoBlinkScript();
    // Puts the sprite back at its previous position when it is at most 30 pixels away; returns
    // that distance (the larger of the two axis distances).
    virtual int MoveToPrev();
    // The kind code, one of the kinds below.
    virtual int GetClassMemberType();
    virtual void SetID(int id);
    virtual int GetID();
    virtual Cast* GetCast();
    // Leaves the current stage (moving when the new one is not null), joins the new one, shows
    // the sprite and makes it visible.
    virtual void SetCast(Cast* cast);
    // Saves the priority as previous priority; raises the sprite to p when highest priority on
    // drag is set. Marks the sprite as dragged.
    virtual void SetDragPriority(int p);
    // A release far away: ends a drag or tracking without click or drop.
    virtual void CancelDragging();
    virtual void CancelTracking();
    // True when the sprite takes no input now (hidden, input off, moving or overridden).
    virtual bool PreventInput();
    // Called by the stage for the front-most candidate; false lets the stage try the next one.
    virtual bool MouseDown(int x, int y, int button);
    // Ends a drag, a tracking or a click. x = kCancelX is the cancel mark.
    virtual bool MouseUp(int x, int y, int button);
    virtual bool MouseDrag(int x, int y);
    virtual bool MouseMove(int x, int y, bool inside);
    // Input hooks for the kinds; empty here.
    virtual void OnMouseEnter(int x, int y);
    virtual void OnMouseExit(int x, int y);
    virtual void OnMouseDown(int x, int y, int button);
    virtual void OnMouseUp(int x, int y, int button);
    virtual void OnMouseDrag(int x, int y);
    virtual void OnMouseOver(int x, int y, bool over);
    virtual void OnMouseHover(int x, int y);
    virtual void OnMouseHoverEnded();
    // Keys from the stage; true when taken. The base takes none.
    virtual bool KeyDown(SDLKey key, SDLMod mod, unsigned short unicode, bool flag);
    virtual bool KeyUp(SDLKey key, SDLMod mod, unsigned short unicode, bool flag);
    // Called when a drag starts, and when a move-to starts; empty here.
    virtual void StartDragging();
    virtual void StartMoving();
    // The end of a drag on a receiver (null for none); true when the drop was taken.
    virtual bool Dragged(Receiver* receiver);
    // A completed click handed to the receiver under the sprite (null for none); stores the
    // receiver and returns false here.
    virtual bool Clicked(Receiver* receiver, int button);
    virtual Receiver* GetReceiver();
    virtual void SetReceiver(Receiver* receiver);
    // Draws the sprite into the canvas; empty here.
    virtual void Paint(Canvas* canvas);
    // Called by the stage inside a clip rectangle: paints when visible, then clears dirty.
    virtual void Update(Canvas* canvas);
    virtual void Show();
    virtual void Hide();
    virtual void Repaint();
    virtual bool IsDirty();
    virtual bool IsVisible();
    virtual bool HasVelocity();
    virtual Point PredictNextLocation();
    virtual Rectangle& GetRect();
    virtual Rectangle& GetScaledRect();
    virtual Rectangle& GetShadowRect();
    virtual Rectangle& GetTotalScreenRect();
    virtual Rectangle& GetFromRect();
    virtual int GetX();
    virtual int GetY();
    virtual int GetW();
    virtual int GetH();
    virtual float GetVelX();
    virtual float GetVelY();
    virtual void SetVelX(float vx);
    virtual void SetVelY(float vy);
    // Places the sprite (the exact position is not changed); with notify, OnMove(x, y, false).
    virtual void Move(int x, int y, bool notify);
    virtual void SetDimensions(int w, int h);
    // Offers the sprite's current area to the stage's dirty rectangles.
    virtual void SetDirtyRect();
    // The area to repaint this frame; an empty rectangle when the sprite is clean.
    virtual Rectangle& GetDirtyRect();
    virtual void ResetDirty();
    virtual int GetPriority();
    // Priority p, at least 1; the stage re-sorts the sprite.
    virtual void SetPriority(int p);
    virtual void SetHighestPriorityOnDrag(bool on);
    virtual bool AllowMouseMoves();
    virtual void AllowMouseMoves(bool allow);
    virtual bool AllowInput();
    virtual void AllowInput(bool allow);
    virtual bool AllowDragging();
    virtual void AllowDragging(bool allow);
    virtual bool AllowClicks();
    virtual void AllowClicks(bool allow);
    virtual bool AllowKeystrokes();
    virtual void AllowKeystrokes(bool allow);
    // MoveTo, then the sprite speeds up: every interval ms a step; from step `start` on the
    // speed grows by acceleration up to maximum.
    virtual void MoveToAccelerate(int x, int y, unsigned int ms, bool bySpeed, float speed,
                                  unsigned int interval, int start, float acceleration,
                                  int maximum);
    // A straight move to (x, y): over ms, or at speed pixels per frame when bySpeed.
    virtual void MoveTo(int x, int y, unsigned int ms, bool bySpeed, float speed);
    // Pixels per stage tick; takePosition resynchronises the exact position first.
    virtual void SetVelocity(float vx, float vy, bool takePosition);
    // Stops any move at once, without end handling.
    virtual void ResetVelocity();
    // One motion step; called from Animate while moving.
    virtual void HandleMove();
    // Called after each motion step that placed the sprite; may move it further. Empty here.
    virtual void OnMove(int x, int y, bool stepped);
    // Asked before each velocity tick with the position the tick would give.
    virtual bool CanMove(int x, int y);
    virtual void SetPrevPri(int p);
    virtual int GetPrevPri();
    // Hit test on the sprite's (scaled) rectangle.
    virtual bool Contains(int x, int y);
    virtual void SetPrevPosition(int x, int y);
    virtual void SetMouseDownAdjustment(int x, int y);
    virtual int GetPrevX();
    virtual int GetPrevY();
    // Sends cue 1 once when a move cue was asked for.
    virtual void MoveEnded();
    // Not owned; must outlive the sprite or be reset to null.
    virtual void SetCueListener(CueListener* listener);
    virtual void SetMoveCue();
    virtual void SetTimeCue(int ms);
    virtual void SetBlinkCue();
    virtual void CancelAllCues();
    virtual bool IsMoving();
    // The per-frame step with the stage time: motion, time cue, blinking, fade, script.
    virtual void Animate(unsigned int now);
    virtual void DoTimeCue();
    virtual void SetBlinkRate(int onTime, int offTime);
    virtual void SetBlinkRate(int ms);
    virtual void HideAfterBlink(bool hide);
    virtual void Flash(int times, int onTime);
    virtual void Flash(int times);
    virtual void Flash();
    virtual void StopFlashing();
    virtual void Blink(int times, int onTime);
    virtual void Blink(int times);
    virtual void Blink();
    // The run in progress ends at its next show.
    virtual void StopBlinking();
    // Runs a due state change (DoState); on a stage only. Also steps scaling and rotation.
    virtual void DoScript();
    // Called once per completed state change with the new state; empty here.
    virtual void DoState(int state);
    virtual void SameState(int delay);
    virtual void SameState();
    // The state becomes `state` at once; DoState(state) follows after delay ms of stage time.
    // A delay of 0 never runs DoState.
    virtual void ChangeState(int state, int delay);
    virtual void ChangeState(int state);
    virtual void ChangeState();
    virtual void SetState(int state);
    virtual int GetState();
    virtual int GetPrevState();
    virtual int GetNextState();
    // Milliseconds of stage time from now until this sprite's next timed state change, time cue
    // or blink step falls due (0: due already, or moving, fading, scaling or rotating: each
    // frame is a step); kNothingDue when none is pending. Lets the frame
    // loop sleep while nothing moves without making a timed step late.
    unsigned int MsUntilDue(unsigned int now) const;
    static constexpr unsigned int kNothingDue = ~0u;
    virtual void ResetScript();
    // True to refuse input for a reason of the kind; false here.
    virtual bool CheckInputOverride();
    virtual AnimationManager* GetAnimationManager();
    virtual void UseTransparentBackground();
    // Steps the fade; called from Animate while fading.
    virtual void DoAlpha();
    // Negative values are ignored; the kinds apply the alpha to their surfaces.
    virtual void SetAlpha(int alpha);
    virtual int GetAlpha();
    virtual void FadeIn(int target, unsigned int ms, CueListener* listener);
    virtual void FadeOut(int target, unsigned int ms, CueListener* listener);
    virtual bool Fading();
    virtual int LimitAlpha(int alpha);
    // The colour is kept for the kinds that draw the shadow.
    virtual void SetDropShadow(int x, int y, Color color, int alpha);
    virtual Point GetShadowPos();
    // The pixel format of the paint canvas; null off stage.
    virtual SDL_PixelFormat* GetSWPixelFormat();
    // Per-pixel hit test; true here.
    virtual bool OnPixel(int x, int y);
    virtual float GetScale();
    // Clamps to 0.1..10 and rebuilds the scaled look (CreateScaledSurface).
    virtual void SetScale(float scale);
    virtual int GetScaledX();
    virtual int GetScaledY();
    virtual int GetScaledWidth();
    virtual int GetScaledHeight();
    virtual bool ScaleIsFullSize();
    virtual float GetRotation();
    virtual int GetRotatingMills();
    virtual float GetRotatingIncrement();
    // Timed scaling to target over ms; cue 4 to the listener at the end.
    virtual void ScaleTo(float target, int ms, CueListener* listener);
    // Timed rotation to -angle degrees over ms; cue 5 to the listener at the end.
    virtual void RotateTo(float angle, int ms, CueListener* listener);
    virtual void UseSmoothing(bool smooth);
    // Continuous rotation: increment degrees (-360..360) every ms.
    virtual void Rotate(float increment, int ms);
    // false stops at once; true stops when the rotation next comes back to 0.
    virtual void StopRotating(bool atZero);
    // The kinds make their scaled and rotated surface (owned by the sprite); null here.
    virtual SDL_Surface* CreateScaledSurface(float angle, float zoom, bool smooth);
    virtual void RefactorDropShadow();
    virtual void UsePerPixelAccuracy(bool on);
    virtual bool IsADialog();
    // Called once by the stage at the end of the frame in which the sprite left it; deletes the
    // sprite when flagged. The sprite must not be used after this call in that case.
    virtual void RemovedFromCast();
    virtual void DeleteOnRemovedFromCast(bool on);

    // Fades out to 0 and hides the sprite at the end.
    void FadeHide(unsigned int ms, CueListener* listener);
    // Shows a hidden sprite at alpha 0 first, then fades it in.
    void FadeShow(int target, unsigned int ms, CueListener* listener);

    // Set by the frame loop once it has taken the sprite's dirty area this frame; Animate
    // clears it.
    bool GetDirtyAdded() const { return _dirtyAdded; }
    void SetDirtyAdded(bool added) { _dirtyAdded = added; }
    bool IsDragging() const { return _dragging; }
    bool IsTracking() const { return _tracking; }
    bool IsScaling() const { return _scaling; }
    bool IsRotating() const { return _rotating; }
    int GetBlinkState() const { return _blinkState; }
    // The exact (sub-pixel) position of a move.
    float GetPosX() const { return _posX; }
    float GetPosY() const { return _posY; }

protected:
    virtual bool ShowDropShadow();

    // Shared by the kinds that paint from a canvas of their own. Null canvas: nothing happens.
    // Gives canvas this sprite's drop shadow when one should show and it has none yet.
    void AttachDropShadow(Canvas* canvas);
    // Drops canvas's shadow so the next one is made from the current scaled look.
    void RebaseDropShadow(Canvas* canvas);
    // canvas rotated and zoomed into a new surface the caller owns (SDL_FreeSurface).
    static SDL_Surface* ScaleCanvas(Canvas* canvas, float angle, float zoom, bool smooth);
    // Frees both scaled surfaces this sprite owns.
    void FreeScaledSurfaces();

    bool _dirty = true;
    bool _visible = false;
    unsigned int _now = 0; // stage time of the last Animate
    int _id = 0;
    Cast* _cast = nullptr;                         // not owned
    AnimationManager* _animationManager = nullptr; // not owned; the stage's
    Rectangle _rect;
    Rectangle _fromRect;
    Rectangle _scaledRect;
    Rectangle _shadowRect;
    Rectangle _totalScreenRect;
    Rectangle _dirtyRect;
    float _posX = 0.0f;
    float _posY = 0.0f;
    float _velX = 0.0f;
    float _velY = 0.0f;
    Receiver* _receiver = nullptr; // not owned
    int _priority = 1;
    bool _highestPriorityOnDrag = true;
    bool _allowInput = false;
    bool _allowDragging = false;
    bool _allowClicks = false;
    bool _allowKeystrokes = false;
    bool _moving = false;
    bool _dragging = false;
    bool _tracking = false;
    unsigned int _pressTime = 0; // The tick count at the press; 0 after the release
    int _mouseState = 1;         // while tracking: 1 over the sprite, 2 outside
    int _prevPriority = 1;
    int _prevX = 0;
    int _prevY = 0;
    int _grabX = 0;
    int _grabY = 0;
    int _pressX = 0;
    int _pressY = 0;

    // Move-to.
    int _moveMode = 0; // 1 move to, 2 move to with acceleration
    bool _bySpeed = false;
    bool _done = false;
    int _fromX = 0;
    int _fromY = 0;
    int _targetX = 0;
    int _targetY = 0;
    unsigned int _moveDuration = 0;
    int64_t _moveStartTime = 0; // acceleration may move it before 0
    double _distance = 0.0;
    float _speed = 0.0f;
    float _acceleration = 0.0f;
    float _maxSpeed = 0.0f;
    unsigned int _accelInterval = 0;
    int _accelStart = 0;
    unsigned int _lastAccelTime = 0;
    int _stepCounter = 0;
    int _mouseDownAdjX = 0;
    int _mouseDownAdjY = 0;

    // Blink machine.
    int _blinkState = 0;
    int _nextBlinkState = 0;
    int _prevBlinkState = 0;
    int _blinkDelay = 0;
    unsigned int _blinkStartTime = 0;
    int _blinksDone = 0;
    int _blinkTimes = 1;
    bool _hideAfterBlink = false;
    int _onTime = 100;
    int _offTime = 100;

    // State script.
    int _state = 0;
    int _nextState = 0;
    int _prevState = 0;
    int _delay = 1; // ms; a change is pending while above 0
    unsigned int _startTime = 0;

    // Cues.
    CueListener* _cueListener = nullptr; // not owned
    bool _moveCue = false;
    unsigned int _timeCueStart = 0;
    int _timeCueDelay = 0;
    bool _blinkCue = false;

    // Alpha and fades.
    int _alpha = 255;
    int _fadeStartAlpha = 255;
    int _fadeTargetAlpha = 255;
    unsigned int _fadeDuration = 1;
    unsigned int _fadeStartTime = 0;
    CueListener* _fadeListener = nullptr; // not owned
    bool _hideWhenFaded = false;
    bool _fadingIn = false;
    bool _fadingOut = false;
    bool _transparentBackground = false;

    // Drop shadow.
    int _shadowX = 0;
    int _shadowY = 0;
    Color _shadowColor;
    int _shadowAlpha = 128;

    // Scaling. Set by the kinds when a scaled look exists.
    bool _scaled = false;
    SDL_Surface* _scaledSurface = nullptr;       // owned; SDL_FreeSurface
    SDL_Surface* _scaledShadowSurface = nullptr; // owned; SDL_FreeSurface
    float _scale = 1.0f;
    bool _scaling = false;
    float _scaleTarget = 1.0f;
    float _scaleDirection = 1.0f;
    int _scaleDuration = 0;
    CueListener* _scaleListener = nullptr; // not owned
    float _scaleStart = 1.0f;
    unsigned int _scaleStartTime = 0;

    // Rotation: timed (RotateTo) or continuous (Rotate).
    float _rotation = 0.0f;
    bool _rotating = false;
    bool _continuous = false;
    float _rotationTarget = 0.0f; // the negated angle given to RotateTo
    float _rotationDirection = 1.0f;
    int _rotationDuration = 0;
    CueListener* _rotationListener = nullptr; // not owned
    float _rotationStart = 0.0f;
    unsigned int _rotationStartTime = 0; // also the time of the last continuous step
    float _rotatingIncrement = 0.0f;
    int _rotatingMills = 0;
    bool _stopAtZero = false;

    bool _smoothing = true;
    bool _perPixelAccuracy = true;
    bool _rebuildPending = false;
    bool _deleteOnRemovedFromCast = false;

private:
    void Init();
    // Sets the priority to exactly p (no clamping) and re-sorts the stage.
    void RestorePriority(int p);

    Cast* _leftCast = nullptr; // the stage that still owes RemovedFromCast; not owned
    bool _dirtyAdded = false;
};
