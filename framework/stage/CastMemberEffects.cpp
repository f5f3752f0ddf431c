// CastMember: state script, cues, blinking, flashing, fades, scaling and rotation.

#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kMinScale = 0.1f;
constexpr float kMaxScale = 10.0f;
// Stored in place of 1.0 so that a sprite scaled back to full size keeps its scaled look.
constexpr float kFullScale = 1.00001f;

// Share of a timed action done at now, 0..1; an action of no duration is done at once.
double Progress(unsigned int now, unsigned int start, int duration)
{
    if (duration <= 0) {
        return 1.0;
    }
    return std::min(1.0, static_cast<double>(now - start) / duration);
}

// Milliseconds from now until a delay started at start falls due; kNothingDue without one.
unsigned int MsUntil(unsigned int now, unsigned int start, int delay)
{
    if (delay <= 0) {
        return CastMember::kNothingDue;
    }
    const unsigned int elapsed = now - start;
    return elapsed >= static_cast<unsigned int>(delay) ? 0
                                                       : static_cast<unsigned int>(delay) - elapsed;
}

} // namespace

// --- state script ---

void CastMember::DoScript()
{
    if (_cast == nullptr) {
        return;
    }
    if (_delay > 0 && _now - _startTime >= static_cast<unsigned int>(_delay)) {
        _prevState = _state;
        _state = _nextState;
        _nextState = -1;
        _delay = 0;
        DoState(_state);
    }
    if (!_visible) {
        return;
    }

    bool rotationChanged = false;
    if (_rotating) {
        if (!_continuous) {
            const double t = Progress(_now, _rotationStartTime, _rotationDuration);
            const float before = _rotation;
            if (_rotationDirection == -1.0f) {
                _rotation =
                    static_cast<float>(_rotationStart - (_rotationStart - _rotationTarget) * t);
            } else {
                _rotation =
                    static_cast<float>(_rotationStart + (_rotationTarget - _rotationStart) * t);
            }
            rotationChanged = _rotation != before || _scaledShadowSurface != nullptr;
            if (t >= 1.0) {
                _rotation = _rotationTarget;
                _rotating = false;
                rotationChanged = true;
                if (_rotationListener != nullptr) {
                    _rotationListener->Cue(this, CueListener::kRotationEnded, 0);
                }
            }
        } else if (_now >= _rotationStartTime + static_cast<unsigned int>(_rotatingMills)) {
            _rotation += _rotatingIncrement;
            _rotationStartTime = _now;
            if (_rotation < 0.0f) {
                _rotation += 360.0f;
            } else if (_rotation > 360.0f) {
                _rotation -= 360.0f;
            }
            if (_stopAtZero &&
                _rotation <= static_cast<float>(std::abs(static_cast<int>(_rotatingIncrement)))) {
                _rotation = 0.0f;
                _rotating = false;
                _stopAtZero = false;
            }
            rotationChanged = true;
        }
    }

    bool scaledThisFrame = false;
    if (_scaling) {
        const double t = Progress(_now, _scaleStartTime, _scaleDuration);
        float value = 0.0f;
        if (_scaleDirection == -1.0f) {
            value = static_cast<float>(_scaleStart - (_scaleStart - _scaleTarget) * t);
        } else {
            value = static_cast<float>(_scaleStart + (_scaleTarget - _scaleStart) * t);
        }
        if (value != _scale) {
            SetScale(value);
            scaledThisFrame = true;
        }
        if (t >= 1.0) {
            if (!scaledThisFrame) {
                SetScale(_scaleTarget);
            }
            scaledThisFrame = true;
            _scaling = false;
            if (_scaleListener != nullptr) {
                _scaleListener->Cue(this, CueListener::kScaleEnded, 0);
            }
        }
    }

    if (rotationChanged || (!scaledThisFrame && _scaledShadowSurface != nullptr) ||
        (!scaledThisFrame && _rebuildPending && _scaledSurface != nullptr)) {
        SetScale(_scale);
    }
}

void CastMember::DoState(int /*state*/) {}

void CastMember::ChangeState(int state, int delay)
{
    _nextState = state;
    _state = state;
    _startTime = _now;
    _delay = delay;
}

void CastMember::ChangeState(int state)
{
    ChangeState(state, 1);
}

void CastMember::ChangeState()
{
    ChangeState(_state + 1, 1);
}

void CastMember::SameState(int delay)
{
    ChangeState(_state, delay);
}

void CastMember::SameState()
{
    ChangeState(_state, 1);
}

void CastMember::SetState(int state)
{
    _state = state;
}

int CastMember::GetState()
{
    return _state;
}

int CastMember::GetPrevState()
{
    return _prevState;
}

int CastMember::GetNextState()
{
    return _nextState;
}

unsigned int CastMember::MsUntilDue(unsigned int now) const
{
    // A move, fade, scaling or rotation steps with the time: every frame is its next step.
    if (_moving || _fadingIn || _fadingOut || _scaling || _rotating) {
        return 0;
    }
    unsigned int due = _cast != nullptr ? MsUntil(now, _startTime, _delay) : kNothingDue;
    if (_cueListener != nullptr) {
        due = std::min(due, MsUntil(now, _timeCueStart, _timeCueDelay));
    }
    return std::min(due, MsUntil(now, _blinkStartTime, _blinkDelay));
}

void CastMember::ResetScript()
{
    _delay = 1;
    _state = 0;
    _nextState = 0;
    _prevState = 0;
    _startTime = 0;
}

// --- cues ---

void CastMember::SetCueListener(CueListener* listener)
{
    _cueListener = listener;
}

void CastMember::SetMoveCue()
{
    _moveCue = true;
}

void CastMember::SetTimeCue(int ms)
{
    _timeCueStart = _now;
    _timeCueDelay = ms;
}

void CastMember::SetBlinkCue()
{
    _blinkCue = true;
}

void CastMember::CancelAllCues()
{
    _moveCue = false;
    _timeCueDelay = 0;
    _blinkCue = false;
}

void CastMember::DoTimeCue()
{
    if (_cueListener == nullptr || _timeCueDelay <= 0) {
        return;
    }
    if (_now - _timeCueStart >= static_cast<unsigned int>(_timeCueDelay)) {
        _timeCueDelay = 0;
        _cueListener->Cue(this, CueListener::kTimeCue, 0);
    }
}

// --- blinking ---

void CastMember::ChangeBlinkState(int state, int delay)
{
    _nextBlinkState = state;
    _blinkState = state;
    _blinkStartTime = _now;
    _blinkDelay = delay;
}

void CastMember::ChangeBlinkState(int state)
{
    ChangeBlinkState(state, 1);
}

void CastMember::DoBlinkScript()
{
    if (_blinkDelay > 0 && _now - _blinkStartTime >= static_cast<unsigned int>(_blinkDelay)) {
        _prevBlinkState = _blinkState;
        _blinkState = _nextBlinkState;
        _nextBlinkState = -1;
        _blinkDelay = 0;
        DoBlinkState(_blinkState);
    }
}

void CastMember::DoBlinkState(int state)
{
    // A delay of 0 would never run the next step and leave the sprite hidden.
    switch (state) {
    case 1:
        _blinksDone = 0;
        ChangeBlinkState(2);
        break;
    case 2:
        Hide();
        ChangeBlinkState(3, std::max(_offTime, 1));
        break;
    case 3:
        Show();
        ++_blinksDone;
        if (_blinksDone < _blinkTimes) {
            ChangeBlinkState(2, std::max(_onTime, 1));
            break;
        }
        if (_hideAfterBlink) {
            Hide();
        }
        // The run is over before the listener hears of it, so that it may start another.
        ChangeBlinkState(0);
        if (_cueListener != nullptr && _blinkCue) {
            _blinkCue = false;
            _cueListener->Cue(this, CueListener::kBlinkEnded, 0);
        }
        break;
    default:
        break;
    }
}

void CastMember::SetBlinkRate(int onTime, int offTime)
{
    _onTime = onTime;
    _offTime = offTime;
}

void CastMember::SetBlinkRate(int ms)
{
    SetBlinkRate(ms, ms);
}

void CastMember::HideAfterBlink(bool hide)
{
    _hideAfterBlink = hide;
}

void CastMember::Blink(int times, int onTime)
{
    _onTime = onTime;
    Blink(times);
}

void CastMember::Blink(int times)
{
    _blinkTimes = times;
    ChangeBlinkState(1);
}

void CastMember::Blink()
{
    Blink(1);
}

void CastMember::StopBlinking()
{
    _blinkTimes = 0;
    _blinksDone = 0;
}

void CastMember::Flash(int times, int onTime)
{
    Blink(times, onTime);
}

void CastMember::Flash(int times)
{
    Blink(times);
}

void CastMember::Flash()
{
    Blink();
}

void CastMember::StopFlashing()
{
    StopBlinking();
}

// --- alpha and fades ---

int CastMember::LimitAlpha(int alpha)
{
    return std::clamp(alpha, 0, 255);
}

void CastMember::SetAlpha(int alpha)
{
    if (alpha < 0) {
        return;
    }
    _alpha = LimitAlpha(alpha);
}

int CastMember::GetAlpha()
{
    return _alpha;
}

bool CastMember::Fading()
{
    return _fadingIn || _fadingOut;
}

void CastMember::FadeIn(int target, unsigned int ms, CueListener* listener)
{
    if (!_visible) {
        return;
    }
    _fadeStartAlpha = _alpha;
    _fadeStartTime = _now;
    _fadeDuration = ms == 0 ? 1 : ms;
    _fadeTargetAlpha = LimitAlpha(target);
    _fadeListener = listener;
    _fadingIn = true;
    _fadingOut = false;
}

void CastMember::FadeOut(int target, unsigned int ms, CueListener* listener)
{
    if (!_visible) {
        return;
    }
    FadeIn(target, ms, listener);
    _fadingOut = true;
    _fadingIn = false;
}

void CastMember::FadeHide(unsigned int ms, CueListener* listener)
{
    if (!_visible) {
        return;
    }
    _hideWhenFaded = true;
    FadeOut(0, ms, listener);
}

void CastMember::FadeShow(int target, unsigned int ms, CueListener* listener)
{
    if (!_visible) {
        SetAlpha(0);
        Show();
    }
    FadeIn(target, ms, listener);
}

void CastMember::DoAlpha()
{
    if (!Fading()) {
        return;
    }
    int alpha = _fadeTargetAlpha;
    // A target behind the fade's direction could never be reached: go there at once.
    const bool behind =
        _fadingIn ? _fadeTargetAlpha < _fadeStartAlpha : _fadeTargetAlpha > _fadeStartAlpha;
    if (!behind) {
        const double t = std::min(1.0, static_cast<double>(_now - _fadeStartTime) / _fadeDuration);
        const int span = std::abs(_fadeStartAlpha - _fadeTargetAlpha);
        const int step = static_cast<int>(span * t);
        alpha = LimitAlpha(_fadingIn ? _fadeStartAlpha + step : _fadeStartAlpha - step);
    }
    if (alpha != _alpha) {
        SetAlpha(alpha);
    }
    if (alpha != _fadeTargetAlpha) {
        return;
    }
    _fadingIn = false;
    _fadingOut = false;
    if (_hideWhenFaded) {
        _hideWhenFaded = false;
        Hide();
    }
    if (_fadeListener != nullptr) {
        _fadeListener->Cue(this, CueListener::kFaded, 0);
    }
}

// --- scale and rotation ---

float CastMember::GetScale()
{
    return _scale;
}

void CastMember::SetScale(float scale)
{
    _rebuildPending = false;
    SetDirtyRect();
    if (!(scale >= kMinScale)) { // also catches NaN
        scale = kMinScale;
    } else if (scale > kMaxScale) {
        scale = kMaxScale;
    }
    _scale = scale == 1.0f ? kFullScale : scale;
    FreeScaledSurfaces();
    _scaledSurface = CreateScaledSurface(_rotation, _scale, _smoothing);
    if (_scaledSurface == nullptr) {
        _scale = 1.0f;
    }
    _scaledRect.SetDim(static_cast<short>(GetScaledWidth()), static_cast<short>(GetScaledHeight()));
    if (ShowDropShadow()) {
        RefactorDropShadow();
    }
    Repaint();
}

int CastMember::GetScaledX()
{
    return 0;
}

int CastMember::GetScaledY()
{
    return 0;
}

int CastMember::GetScaledWidth()
{
    return 0;
}

int CastMember::GetScaledHeight()
{
    return 0;
}

bool CastMember::ScaleIsFullSize()
{
    return _scale == 1.0f || _scale == kFullScale;
}

float CastMember::GetRotation()
{
    return _rotation;
}

int CastMember::GetRotatingMills()
{
    return _rotatingMills;
}

float CastMember::GetRotatingIncrement()
{
    return _rotatingIncrement;
}

void CastMember::ScaleTo(float target, int ms, CueListener* listener)
{
    _scaling = true;
    _scaleTarget = target;
    _scaleDirection = target < _scale ? -1.0f : 1.0f;
    _scaleDuration = ms;
    _scaleListener = listener;
    _scaleStart = _scale;
    _scaleStartTime = _now;
    Repaint();
}

void CastMember::RotateTo(float angle, int ms, CueListener* listener)
{
    _rotationTarget = -angle;
    _rotating = true;
    _continuous = false;
    _rotationDirection = -angle < _rotation ? -1.0f : 1.0f;
    _rotationDuration = ms;
    _rotationListener = listener;
    _rotationStart = _rotation;
    _rotationStartTime = _now;
    Repaint();
}

void CastMember::UseSmoothing(bool smooth)
{
    _smoothing = smooth;
}

void CastMember::Rotate(float increment, int ms)
{
    _rotating = true;
    _continuous = true;
    _stopAtZero = false;
    _rotatingIncrement = std::clamp(increment, -360.0f, 360.0f);
    _rotatingMills = ms;
    _rotationStartTime = _now;
    Repaint();
}

void CastMember::StopRotating(bool atZero)
{
    if (atZero) {
        _stopAtZero = true;
        return;
    }
    _rotating = false;
    _stopAtZero = false;
}

SDL_Surface* CastMember::CreateScaledSurface(float /*angle*/, float /*zoom*/, bool /*smooth*/)
{
    return nullptr;
}

void CastMember::UsePerPixelAccuracy(bool on)
{
    _perPixelAccuracy = on;
}
