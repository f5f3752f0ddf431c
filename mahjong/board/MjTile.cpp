#include "mahjong/board/MjTile.h"

#include "framework/media/Image.h"
#include "mahjong/board/MjRandom.h"
#include "mahjong/board/MjTileListener.h"

#include <algorithm>
#include <utility>
#include <vector>

int MjTile::s_hopType = -1;
int MjTile::s_allHop = 0;
Image* MjTile::s_magnetA = nullptr;
Image* MjTile::s_magnetB = nullptr;

namespace {

constexpr int kMovingPriority = 20;
constexpr int kBesidePriority = 2;
constexpr int kArrivingPriority = 5;
constexpr int kGlideMs = 500;
constexpr int kBesideLandMs = 200;
constexpr int kBesideRise = 50;
constexpr int kBesideShift = 30;
constexpr int kFadeStep = 50;
constexpr int kFadeFloor = 5;
constexpr int kDropStepMs = 70;
constexpr int kJitterStep = 10;
constexpr int kJitterMs = 10;
constexpr int kMagnetBottom = 57;
constexpr float kMoveSpeed = 10.0f;

// Tiles waiting to copy their type and face into their linked tile. A linked tile that is deleted
// first (the board restarted or left meanwhile) is taken from its copies.
std::vector<MjTile*>& PendingCopies()
{
    static std::vector<MjTile*> copies;
    return copies;
}

void ForgetPendingCopy(MjTile* tile)
{
    std::vector<MjTile*>& copies = PendingCopies();
    copies.erase(std::remove(copies.begin(), copies.end(), tile), copies.end());
}

} // namespace

MjTile::MjTile(MjTileListener* listener, Cast* cast, Image* image, int x, int y, int priority,
               int order, int kind, int extra, int i, int j, int k)
    : CastMemberImage(cast, image, x, y, priority, 0), _order(order), _kind(kind),
      _listener(listener), _extra(extra), _gridI(i), _gridJ(j), _gridK(k)
{
    // A board shows most faces several times over, and most of its tiles alike in the same shade.
    ShareFrames();
    CastMember::AllowInput(true);
    AllowClicks(true);
}

MjTile::~MjTile()
{
    ForgetPendingCopy(this);
    for (MjTile* copy : PendingCopies()) {
        if (copy->_linked == this) {
            copy->_linked = nullptr;
            copy->_linkedSprite = nullptr;
        }
    }
    delete _overlay;
}

void MjTile::RemovedFromCast()
{
    // The base would delete a flagged tile as well: deleting here is the one deletion.
    delete this;
}

void MjTile::ShowFace()
{
    SetNewFrameOnly(MjTileTypes::FaceColumn(_face), MjTileTypes::FaceRow(_face));
}

void MjTile::HideFace()
{
    if (_type < kFirstSpecial) {
        SetNewFrameOnly(kHiddenCol, kHiddenRow);
    }
}

void MjTile::SetGridPosition(int i, int j, int k)
{
    _gridI = i;
    _gridJ = j;
    _gridK = k;
}

void MjTile::SetLinked(MjGridTile* tile)
{
    _linked = static_cast<MjTile*>(tile);
    _linkedSprite = _linked;
}

void MjTile::Leave()
{
    CastMember::ChangeState(kIdle);
    delete _overlay;
    _overlay = nullptr;
    SetCast(nullptr);
}

void MjTile::Move(int x, int y)
{
    CastMember::Move(x, y, false);
}

void MjTile::MoveTo(int x, int y, int ms)
{
    CastMember::MoveTo(x, y, static_cast<unsigned int>(std::max(ms, 0)), false, kMoveSpeed);
}

void MjTile::ListenForMove(CueListener* listener)
{
    SetCueListener(listener);
    SetMoveCue();
}

void MjTile::BlinkWithCue(CueListener* listener, int times, int rate)
{
    SetCueListener(listener);
    SetBlinkCue();
    Blink(times, rate);
}

void MjTile::FadeHide(int ms)
{
    CastMember::FadeHide(static_cast<unsigned int>(std::max(ms, 0)), nullptr);
}

void MjTile::SwapWith(MjTile* other)
{
    std::swap(_type, other->_type);
    std::swap(_face, other->_face);
    // The image's frame is a column and a row; the sprite reports only the column.
    const auto shown = [](MjTile* tile) {
        Image* image = tile->GetImage();
        return std::make_pair(tile->GetFrame(), image != nullptr ? image->GetRow() : 0);
    };
    const auto mine = shown(this);
    const auto theirs = shown(other);
    SetNewFrameOnly(theirs.first, theirs.second);
    other->SetNewFrameOnly(mine.first, mine.second);
    for (MjTile* tile : {this, other}) {
        tile->Hide();
        tile->Show();
    }
}

void MjTile::OnMouseDown(int x, int y, int button)
{
    if (_listener != nullptr) {
        _listener->TileMouseDown(this, button, x, y);
    }
}

void MjTile::OnMouseUp(int, int, int) {}

void MjTile::OnMouseOver(int x, int y, bool entering)
{
    if (_listener != nullptr) {
        _listener->TileMouseOver(this, x, y, entering);
    }
}

void MjTile::MoveLater(int x, int y, int delay, int duration)
{
    _moveX = x;
    _moveY = y;
    _moveDuration = duration;
    CastMember::ChangeState(kDelayedMove, delay);
}

void MjTile::FlyTo(int x, int y, int ms)
{
    _flyX = x;
    _flyY = y;
    MoveTo(x, y, ms);
    DoState(kInFlight);
    CastMember::ChangeState(kDropFirst, ms);
}

void MjTile::HideLater(int delay)
{
    if (_lastState == kInFlight) {
        _hideAfterDrop = 1;
        CastMember::ChangeState(kDropFirst, delay);
    } else if (_lastState >= kDropFirst && _lastState < kLandedInTray) {
        _hideAfterDrop = 1;
    } else {
        CastMember::ChangeState(kHide, delay);
    }
}

void MjTile::MoveOnto(MjTile* other)
{
    _active = false;
    SetPriority(kMovingPriority);
    MoveTo(other->GetX(), other->GetY(), kGlideMs);
    SetLinked(other);
    _linkedToType59 = other->GetType() == kDeepMagnet;
    CastMember::ChangeState(MjTileListener::kMagnetPulled, kGlideMs);
}

void MjTile::MergeInto(MjTile* other)
{
    const int x = GetX();
    const int y = GetY();
    SetPriority(kMovingPriority);
    other->SetPriority(kMovingPriority);
    MoveTo(other->GetX(), other->GetY(), kGlideMs);
    other->MoveTo(x, y, kGlideMs);
    SetLinked(other);
    CastMember::ChangeState(MjTileListener::kSwapDone, kGlideMs);
}

void MjTile::CopyToLater(MjTile* other, int delay)
{
    ForgetPendingCopy(this);
    PendingCopies().push_back(this);
    SetLinked(other);
    CastMember::ChangeState(kCopyFace, delay);
}

void MjTile::MoveBeside(CastMember* target, int ms)
{
    SetPriority(kBesidePriority);
    _linked = dynamic_cast<MjTile*>(target);
    _linkedSprite = target;
    const int dx = _type > kFirstSpecial ? kBesideShift : 0;
    MoveTo(target->GetX() + dx, target->GetY() - kBesideRise, ms);
    CastMember::ChangeState(kMoveBeside, ms);
}

void MjTile::SetOverlay(Image* image, int first, int last, int delay, int x, int y, int forward)
{
    if (image != _overlay) {
        delete _overlay;
    }
    _overlay = image;
    _overlayFirst = first;
    _overlayLast = last;
    _overlayFrame = first;
    _overlayDelay = delay;
    _overlayX = x;
    _overlayY = y;
    _overlayForward = forward;
}

void MjTile::StartOverlayAnimation(MjTile* overlayTile, CastMember* partner, int delay)
{
    _overlayTile = overlayTile;
    _partner = partner;
    _active = false;
    CastMember::ChangeState(kOverlayStep, delay);
}

void MjTile::DrawOverlay(int frame)
{
    if (_overlay == nullptr) {
        return;
    }
    _overlay->SetFrame(frame, 0);
    BlitInto(_overlay, _overlayX, _overlayY);
}

void MjTile::SetMagnetSprites(Image* first, Image* second)
{
    if (s_magnetA != first) {
        delete s_magnetA;
    }
    if (s_magnetB != second) {
        delete s_magnetB;
    }
    s_magnetA = first;
    s_magnetB = second;
}

void MjTile::SetAllHop(int on)
{
    s_allHop = on;
    if (on == 0) {
        s_hopType = -1;
    }
}

bool MjTile::Report(int state)
{
    if (_listener != nullptr) {
        _listener->StateReached(this, state, 1);
    }
    return true;
}

void MjTile::DoState(int state)
{
    _prevTileState = _lastState;
    _lastState = state;

    if (state >= kDropFirst && state <= kLandedInTray) {
        Drop(state - kDropFirst);
        return;
    }
    switch (state) {
    case kIdle:
    case kInFlight:
        return;
    case kFadeAway:
        FadeStep();
        return;
    case kSpecialOpaque:
        if (_type >= kFirstSpecial) {
            _tileAlpha = 255;
        }
        Report(state);
        return;
    case kOpaque:
        _tileAlpha = 255;
        ApplyAlpha();
        return;
    case MjTileListener::kMagnetPulled:
    case MjTileListener::kBonusTileArrived:
    case MjTileListener::kSwapDone:
    case MjTileListener::kBackInCell:
    case MjTileListener::kBesideArrived:
    case MjTileListener::kOverlayNearEnd:
    case MjTileListener::kOverlayEnded:
    case MjTileListener::kEndAnimation:
    case MjTileListener::kBoardWonPoll:
        Report(state);
        return;
    case kHide:
        Hide();
        return;
    case kCopyFace:
        ForgetPendingCopy(this);
        if (_linked != nullptr) {
            _linked->SetType(_type);
            _linked->SetFace(_face);
            _linked->ShowFace();
        }
        DeleteOnRemovedFromCast(true);
        SetCast(nullptr);
        return;
    case kOverlayLoop:
        OverlayLoop();
        return;
    case kOverlayStep:
        OverlayStep();
        return;
    case kDelayedMove:
        MoveTo(_moveX, _moveY, _moveDuration);
        return;
    case kMoveBeside:
        CastMember::ChangeState(MjTileListener::kBesideArrived, kBesideLandMs);
        CastMember::SetPriority(kArrivingPriority);
        if (_linkedSprite != nullptr) {
            MoveTo(_linkedSprite->GetX(), _linkedSprite->GetY(), kBesideLandMs);
        }
        return;
    case kJitter:
        Jitter();
        return;
    default:
        if (state >= 1 && state <= 99) {
            Report(state);
            return;
        }
        ApplyAlpha();
        return;
    }
}

void MjTile::FadeStep()
{
    if (_type == kYinYang) {
        _tileAlpha = 255;
    } else if (_tileAlpha > kFadeFloor) {
        _tileAlpha = std::max(_tileAlpha - kFadeStep, 0);
        CastMember::ChangeState(kFadeAway, 500 + MjRandom::Next() % 1000);
    } else {
        _tileAlpha = 0;
    }
    ApplyAlpha();
}

void MjTile::Jitter()
{
    if (_jitterSteps == 0) {
        _jitterSteps = MjRandom::Next() % 30 + 1;
        _jitterDX = MjRandom::Next() % 3 - 1;
        _jitterDY = MjRandom::Next() % 3 - 1;
    }
    --_jitterSteps;
    const int x = std::clamp(GetX() + kJitterStep * _jitterDX, 0, kJitterMaxX);
    const int y = std::clamp(GetY() + kJitterStep * _jitterDY, kJitterMinY, kJitterMaxY);
    Move(x, y);
    CastMember::ChangeState(kJitter, kJitterMs);
}

void MjTile::Drop(int step)
{
    if (step == 0) {
        StopBlinking();
        if (_type != kFireCracker) {
            SetFrame(MjTileTypes::FaceColumn(_face), MjTileTypes::FaceRow(_face));
        }
        if (_listener != nullptr) {
            if (_type == kTyphoon) {
                _listener->PlaySound("stop", -2);
            }
            _listener->PlaySound("CFG_WATERDROP", 0);
        }
    }
    if (s_magnetA != nullptr) {
        BlitInto(s_magnetA, step, 0);
    }
    if (s_magnetB != nullptr) {
        // The bottom line stays inside the tile whatever the height of its picture.
        const int bottom = std::min(kMagnetBottom - step, GetH() - s_magnetB->GetH());
        BlitInto(s_magnetB, 0, std::max(0, bottom));
    }
    Move(_flyX - step - 1, _flyY + step + 1);
    SetDropShadow(0, 0, Color(0, 0, 0, 255), 128);
    if (step < kLandedInTray - kDropFirst) {
        CastMember::ChangeState(kDropFirst + step + 1, kDropStepMs);
        return;
    }
    if (_hideAfterDrop != 0) {
        _hideAfterDrop = 0;
        Hide();
    }
    CastMember::ChangeState(kIdle);
    Report(kLandedInTray);
    if (_overlayTile != nullptr) {
        _overlayTile->DrawOverlay(0);
        _overlayTile = nullptr;
    }
}

void MjTile::OverlayStep()
{
    if (_overlay == nullptr) {
        return;
    }
    if (_partner != nullptr) {
        _partner->Hide();
        _partner = nullptr;
    }
    DrawOverlay(_overlayFrame);
    ++_overlayFrame;
    if (_overlayFrame == _overlayLast - 2) {
        CastMember::ChangeState(MjTileListener::kOverlayNearEnd, _overlayDelay);
    } else if (_overlayFrame > _overlayLast) {
        _overlayFrame = _overlayFirst;
        CastMember::ChangeState(MjTileListener::kOverlayEnded, _overlayDelay);
    } else {
        CastMember::ChangeState(kOverlayStep, _overlayDelay);
    }
}

void MjTile::OverlayLoop()
{
    if (_overlay == nullptr) {
        return;
    }
    const int shown = _overlayFrame;
    if (_overlayForward != 0) {
        if (++_overlayFrame > _overlayLast) {
            _overlayFrame = _overlayFirst;
        }
    } else if (--_overlayFrame < _overlayFirst) {
        _overlayFrame = _overlayLast - 1;
    }
    DrawOverlay(shown);
    CastMember::ChangeState(kOverlayLoop, _overlayDelay);
}

void MjTile::DoBlinkState(int state)
{
    switch (state) {
    case kHopEnd:
        _hopping = false;
        break;
    case kHopStart:
        s_hopType = _type;
        _hopping = true;
        _blinksDone = 0;
        ChangeBlinkState(kHopLift);
        break;
    case kHopLift:
        if (_blinksDone >= _blinkTimes) {
            // Stopped while resting: the run ends here.
            ChangeBlinkState(kHopDone);
        } else if (_type == s_hopType || s_allHop != 0) {
            Move(GetX() + kHopPixels, GetY() - kHopPixels);
            ChangeBlinkState(kHopLand, std::max(_onTime, 1));
        } else {
            ChangeBlinkState(kHopDone);
        }
        break;
    case kHopLand:
        Move(GetX() - kHopPixels, GetY() + kHopPixels);
        ++_blinksDone;
        if (_blinksDone >= _blinkTimes) {
            ChangeBlinkState(kHopDone);
        } else {
            ChangeBlinkState(kHopLift, std::max(_onTime, 1));
        }
        break;
    case kHopDone:
        if (_cueListener != nullptr && _blinkCue) {
            _blinkCue = false;
            _cueListener->Cue(this, CueListener::kBlinkEnded, 0);
        }
        ChangeBlinkState(kHopEnd);
        break;
    default:
        break;
    }
}
