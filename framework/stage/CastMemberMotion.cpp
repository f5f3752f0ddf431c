// CastMember: moves, velocity and the per-frame animation step.

#include "framework/core/Debug.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/Receiver.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Positions outside these bounds end a move: the sprite has left for good.
constexpr float kMinPosition = -1000.0f;
constexpr float kMaxPosition = 5000.0f;
// Step guards against moves that never arrive.
constexpr int kMaxSpeedSteps = 10000;
constexpr int kMaxTimedSteps = 50000;

bool OutOfBounds(float x, float y)
{
    return x < kMinPosition || x > kMaxPosition || y < kMinPosition || y > kMaxPosition;
}

// Truncation towards zero that cannot overflow, whatever the velocity did to the position.
int Trunc(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (v <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}

} // namespace

void CastMember::Animate(unsigned int now)
{
    _now = now;
    _dirtyAdded = false;
    if (_cast != nullptr && _cast->VelocityPaused()) {
        _lastAccelTime = 0;
    } else if (_moving) {
        HandleMove();
    }
    if (_timeCueDelay > 0 && _cueListener != nullptr) {
        DoTimeCue();
    }
    if (_blinkDelay > 0) {
        DoBlinkScript();
    }
    if (_fadingIn || _fadingOut) {
        DoAlpha();
    }
    DoScript();
}

void CastMember::HandleMove()
{
    if (!_moving) {
        return;
    }

    // The step that reached the end placed the sprite; the end is handled one frame later.
    if (_done) {
        _moving = false;
        ++_stepCounter;
        if (_highestPriorityOnDrag) {
            RestorePriority(GetPrevPri());
        }
        MoveEnded();
        if (_receiver != nullptr) {
            _receiver->ReceiverMoveEnded(this);
        }
        return;
    }

    if (_velX != 0.0f || _velY != 0.0f) {
        const int ticks = _cast != nullptr ? _cast->GetTicksThisFrame() : 0;
        for (int i = 0; i < ticks; ++i) {
            if (i > 0 && _animationManager != nullptr) {
                // Input interleaves with a burst of ticks after a slow frame.
                _animationManager->ProcessMouseEvents();
                if (!_moving || _done) {
                    return; // the input stopped the move
                }
            }
            if (!CanMove(Trunc(_posX + _velX + 0.5f), Trunc(_posY + _velY + 0.5f))) {
                continue;
            }
            _posX += _velX;
            _posY += _velY;
            if (OutOfBounds(_posX, _posY) || (_velX == 0.0f && _velY == 0.0f)) {
                _done = true;
                return;
            }
            const int x = Trunc(_posX + 0.5f);
            const int y = Trunc(_posY + 0.5f);
            Move(x, y, false);
            OnMove(x, y, true);
        }
        return;
    }

    if (_moveMode == 2 && _now - _lastAccelTime >= _accelInterval) {
        _lastAccelTime = _now;
        ++_stepCounter;
        if (_stepCounter >= _accelStart) {
            _speed += _acceleration;
            if (_speed > _maxSpeed) {
                _speed = _maxSpeed;
            }
        }
        if (!_bySpeed) {
            _moveStartTime = static_cast<int64_t>(static_cast<double>(_moveStartTime) - _speed);
        }
    }

    if (_bySpeed) {
        ++_stepCounter;
        if (_moveMode == 1 || _moveMode == 2) {
            const int dx = std::abs(Trunc(_posX - static_cast<float>(_targetX)));
            const int dy = std::abs(Trunc(_posY - static_cast<float>(_targetY)));
            // Already there (also spares the division by a zero distance).
            if (dx == 0 && dy == 0) {
                _done = true;
            } else {
                const double distance =
                    std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
                double ratio = _speed / distance;
                if (ratio >= 1.0) {
                    ratio = 1.0;
                    _done = true;
                }
                if (_stepCounter > kMaxSpeedSteps) {
                    _done = true;
                }
                if (ratio < 0.0 && OutOfBounds(_posX, _posY)) {
                    _done = true;
                }
                if (!_done) {
                    _posX = static_cast<float>(_posX - (_posX - _targetX) * ratio);
                    _posY = static_cast<float>(_posY - (_posY - _targetY) * ratio);
                }
            }
            if (_done) {
                Move(_targetX, _targetY, false);
            } else {
                Move(Trunc(_posX), Trunc(_posY), false);
            }
        }
    } else {
        double t = 0.0;
        const auto now = static_cast<int64_t>(_now);
        if (now < _moveStartTime) {
            DebugVar(-1, "ERROR: _curTime is < _moveToStartTime - THIS SHOULD NEVER HAPPEN");
            Debug::DebugFlush();
        } else if (_moveDuration == 0) {
            _done = true; // a move of no duration is over at once
        } else {
            t = static_cast<double>(now - _moveStartTime) / _moveDuration;
            if (t >= 1.0) {
                _done = true;
            }
        }
        if (t < 0.0 || _stepCounter > kMaxTimedSteps) {
            _done = true;
        }
        if (_done) {
            Move(_targetX, _targetY, false);
        } else {
            const double x = _fromX + (_targetX - _fromX) * t;
            const double y = _fromY + (_targetY - _fromY) * t;
            _posX = static_cast<float>(x);
            _posY = static_cast<float>(y);
            if (static_cast<float>(GetX()) == _posX && static_cast<float>(GetY()) == _posY) {
                return;
            }
            if (OutOfBounds(_posX, _posY)) {
                _done = true;
                _posX = static_cast<float>(_targetX);
                _posY = static_cast<float>(_targetY);
            }
            Move(Trunc(_posX), Trunc(_posY), false);
        }
    }

    OnMove(Trunc(_posX), Trunc(_posY), true);
}

void CastMember::MoveTo(int x, int y, unsigned int ms, bool bySpeed, float speed)
{
    _moveStartTime = _now;
    _moveDuration = ms;
    _fromX = GetX();
    _fromY = GetY();
    _targetX = x;
    _targetY = y;
    const double dx = static_cast<double>(x) - _fromX;
    const double dy = static_cast<double>(y) - _fromY;
    _distance = std::sqrt(dx * dx + dy * dy);
    _bySpeed = bySpeed;
    _moveMode = 1;
    _acceleration = 0.0f;
    _maxSpeed = 0.0f;
    _accelInterval = 0;
    _accelStart = 0;
    _lastAccelTime = 0;
    _stepCounter = 0;
    _done = false;
    _posX = static_cast<float>(_fromX);
    _posY = static_cast<float>(_fromY);
    _speed = bySpeed ? speed : 0.0f;
    _moving = true;
    StartMoving();
}

void CastMember::MoveToAccelerate(int x, int y, unsigned int ms, bool bySpeed, float speed,
                                  unsigned int interval, int start, float acceleration, int maximum)
{
    MoveTo(x, y, ms, bySpeed, speed);
    _moveMode = 2;
    _accelInterval = interval;
    _accelStart = start;
    _acceleration = acceleration;
    _maxSpeed = static_cast<float>(maximum);
}

void CastMember::SetVelocity(float vx, float vy, bool takePosition)
{
    if (takePosition) {
        _posX = static_cast<float>(GetX());
        _posY = static_cast<float>(GetY());
    }
    _velX = vx;
    _velY = vy;
    _moving = true;
    _done = false;
}

void CastMember::ResetVelocity()
{
    _done = true;
    _velX = 0.0f;
    _velY = 0.0f;
    _moving = false;
}

bool CastMember::HasVelocity()
{
    return _velX != 0.0f || _velY != 0.0f;
}

Point CastMember::PredictNextLocation()
{
    return Point(Trunc(_posX + 0.5f), Trunc(_posY + 0.5f));
}

float CastMember::GetVelX()
{
    return _velX;
}

float CastMember::GetVelY()
{
    return _velY;
}

void CastMember::SetVelX(float vx)
{
    _velX = vx;
}

void CastMember::SetVelY(float vy)
{
    _velY = vy;
}

bool CastMember::IsMoving()
{
    return _moving;
}

void CastMember::OnMove(int /*x*/, int /*y*/, bool /*stepped*/) {}

bool CastMember::CanMove(int /*x*/, int /*y*/)
{
    return true;
}

void CastMember::StartMoving() {}

void CastMember::MoveEnded()
{
    if (_cueListener != nullptr && _moveCue) {
        _moveCue = false;
        _cueListener->Cue(this, CueListener::kMoveEnded, 0);
    }
}
