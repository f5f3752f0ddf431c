#include "framework/stage/CastMember.h"

#include "SDL_rotozoom.h"
#include "framework/core/Application.h"
#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/Receiver.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kClickDistance = 10;
constexpr unsigned int kClickTime = 1000;
// A drop at most this far from the start snaps back; farther away the sprite flies back.
constexpr int kSnapBackDistance = 30;

} // namespace

CastMember::CastMember() : Debug("CastMember 1")
{
    DebugVar(1, "Constructor - 1");
    Init();
    DebugVar(1, "Leaving Constructor - 1");
}

CastMember::CastMember(Cast* cast, int x, int y, int priority) : Debug("CastMember 2")
{
    DebugVar(1, "Constructor - 1");
    Init();
    _rect.SetPoint(static_cast<short>(x), static_cast<short>(y));
    _posX = static_cast<float>(x);
    _posY = static_cast<float>(y);
    _priority = priority;
    _prevPriority = priority;
    if (cast != nullptr) {
        _cast = cast;
        _animationManager = cast->GetAnimationManager();
        if (_animationManager != nullptr && _animationManager->GetGameTime() != nullptr) {
            _now = _animationManager->GetGameTime()->Time();
        }
        // The kind's constructors have not run yet: the stage takes the sprite in once they
        // have, so that it reads the kind's code and priority rather than the base's.
        cast->AddWhenBuilt(this);
        CastMember::Show();
        _visible = true;
    }
    DebugVar(1, "Leaving Constructor - 1");
}

CastMember::~CastMember()
{
    // The stage forgets the sprite in every list and slot and repaints its area.
    if (_cast != nullptr) {
        _cast->MemberDestroyed(this);
    }
    if (_leftCast != nullptr && _leftCast != _cast) {
        _leftCast->MemberDestroyed(this);
    }
    FreeScaledSurfaces();
}

void CastMember::Init()
{
    DebugVar(1, "Init");
    // The other defaults are the members' initialisers.
    CastMember::ResetScript();
}

void CastMember::FreeScaledSurfaces()
{
    if (_scaledSurface != nullptr) {
        SDL_FreeSurface(_scaledSurface);
        _scaledSurface = nullptr;
    }
    if (_scaledShadowSurface != nullptr) {
        SDL_FreeSurface(_scaledShadowSurface);
        _scaledShadowSurface = nullptr;
    }
}

// --- identity and membership ---

int CastMember::GetClassMemberType()
{
    return kBaseKind;
}

void CastMember::SetID(int id)
{
    _id = id;
}

int CastMember::GetID()
{
    return _id;
}

Cast* CastMember::GetCast()
{
    return _cast;
}

AnimationManager* CastMember::GetAnimationManager()
{
    return _animationManager;
}

void CastMember::SetCast(Cast* cast)
{
    if (_cast != nullptr) {
        const bool moving = cast != nullptr;
        _cast->Remove(this, moving);
        if (!moving) {
            _leftCast = _cast;
        }
    }
    _cast = cast;
    if (_cast == nullptr) {
        _animationManager = nullptr;
        return;
    }
    if (_cast == _leftCast) {
        _leftCast = nullptr; // back before the end of the frame: the stage owes nothing now
    }
    _animationManager = _cast->GetAnimationManager();
    if (_animationManager != nullptr && _animationManager->GetGameTime() != nullptr) {
        _now = _animationManager->GetGameTime()->Time();
    }
    _cast->Add(this);
    Show();
    _visible = true;
}

void CastMember::RemovedFromCast()
{
    _leftCast = nullptr;
    if (_deleteOnRemovedFromCast) {
        delete this;
    }
}

void CastMember::DeleteOnRemovedFromCast(bool on)
{
    _deleteOnRemovedFromCast = on;
}

bool CastMember::IsADialog()
{
    return false;
}

// --- painting and areas ---

void CastMember::Paint(Canvas* /*canvas*/) {}

void CastMember::Update(Canvas* canvas)
{
    if (_visible) {
        Paint(canvas);
    }
    ResetDirty();
}

void CastMember::Show()
{
    if (!_visible && !_rect.IsEmpty() && _cast != nullptr) {
        _visible = true;
        Repaint();
    }
}

void CastMember::Hide()
{
    if (!_visible) {
        return;
    }
    SetDirtyRect();
    Repaint();
    _visible = false;
}

void CastMember::Repaint()
{
    if (_visible) {
        _dirty = true;
    }
}

bool CastMember::IsDirty()
{
    return _dirty;
}

bool CastMember::IsVisible()
{
    return _visible;
}

void CastMember::ResetDirty()
{
    _dirty = false;
}

void CastMember::UseTransparentBackground()
{
    _transparentBackground = true;
}

Rectangle& CastMember::GetRect()
{
    return _rect;
}

Rectangle& CastMember::GetScaledRect()
{
    if (_scale != 1.0f && _scaled) {
        _scaledRect.Set(static_cast<short>(GetScaledX()), static_cast<short>(GetScaledY()),
                        static_cast<short>(GetScaledWidth()),
                        static_cast<short>(GetScaledHeight()));
        return _scaledRect;
    }
    return _rect;
}

Rectangle& CastMember::GetShadowRect()
{
    const Rectangle& scaled = GetScaledRect();
    _shadowRect.Set(static_cast<short>(scaled.GetX() + _shadowX),
                    static_cast<short>(scaled.GetY() + _shadowY), scaled.GetW(), scaled.GetH());
    return _shadowRect;
}

Rectangle& CastMember::GetTotalScreenRect()
{
    const Rectangle& scaled = GetScaledRect();
    const int x = scaled.GetX() + std::min(_shadowX, 0);
    const int y = scaled.GetY() + std::min(_shadowY, 0);
    const int w = scaled.GetW() + std::abs(_shadowX);
    const int h = scaled.GetH() + std::abs(_shadowY);
    _totalScreenRect.Set(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
                         static_cast<short>(h));
    return _totalScreenRect;
}

Rectangle& CastMember::GetFromRect()
{
    _fromRect.Set(0, 0, _rect.GetW(), _rect.GetH());
    return _fromRect;
}

Rectangle& CastMember::GetDirtyRect()
{
    if (_dirty) {
        return GetTotalScreenRect();
    }
    _dirtyRect.Set(0, 0, 0, 0);
    return _dirtyRect;
}

void CastMember::SetDirtyRect()
{
    if (!_visible || _cast == nullptr) {
        return;
    }
    const Rectangle& area = GetTotalScreenRect();
    if (!area.OnScreen()) {
        return;
    }
    auto copy = std::make_unique<Rectangle>(area);
    copy->SetFrameCount(2);
    if (_cast->AddDirtyRect(copy.get())) {
        copy.release(); // the stage owns it now
    }
}

int CastMember::GetX()
{
    return _rect.GetX();
}

int CastMember::GetY()
{
    return _rect.GetY();
}

int CastMember::GetW()
{
    return _rect.GetW();
}

int CastMember::GetH()
{
    return _rect.GetH();
}

void CastMember::Move(int x, int y, bool notify)
{
    SetDirtyRect();
    _rect.SetPoint(static_cast<short>(x), static_cast<short>(y));
    Repaint();
    if (notify) {
        OnMove(x, y, false);
    }
}

void CastMember::SetDimensions(int w, int h)
{
    SetDirtyRect();
    _rect.SetDim(static_cast<short>(w), static_cast<short>(h));
    SetDirtyRect();
}

bool CastMember::Contains(int x, int y)
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    if (ScaleIsFullSize()) {
        left = _rect.GetX();
        top = _rect.GetY();
        width = _rect.GetW();
        height = _rect.GetH();
    } else {
        left = GetScaledX();
        top = GetScaledY();
        width = GetScaledWidth();
        height = GetScaledHeight();
    }
    return x >= left && y >= top && x < left + width && y < top + height;
}

bool CastMember::OnPixel(int /*x*/, int /*y*/)
{
    return true;
}

SDL_PixelFormat* CastMember::GetSWPixelFormat()
{
    if (_animationManager == nullptr) {
        return nullptr;
    }
    Canvas* canvas = _animationManager->GetPaintCanvas();
    SDL_Surface* surface = canvas != nullptr ? canvas->GetSurface() : nullptr;
    return surface != nullptr ? surface->format : nullptr;
}

void CastMember::SetDropShadow(int x, int y, Color color, int alpha)
{
    _shadowX = x;
    _shadowY = y;
    _shadowColor = color;
    _shadowAlpha = alpha;
    Repaint();
}

Point CastMember::GetShadowPos()
{
    return Point(_shadowX, _shadowY);
}

bool CastMember::ShowDropShadow()
{
    return (_shadowX != 0 || _shadowY != 0) && Application::DropShadowsAllowed();
}

void CastMember::RefactorDropShadow() {}

void CastMember::AttachDropShadow(Canvas* canvas)
{
    if (canvas == nullptr || !ShowDropShadow() || canvas->GetDropShadow() != nullptr) {
        return;
    }
    Color color = _shadowColor; // CreateDropShadow changes the alpha of the colour it is given
    canvas->CreateDropShadow(color, _shadowAlpha, _shadowX, _shadowY);
    canvas->SetAlpha(_alpha);
}

void CastMember::RebaseDropShadow(Canvas* canvas)
{
    if (canvas == nullptr) {
        return;
    }
    canvas->DeleteDropShadow();
    canvas->SetDropShadowSourceSurface(_scaledSurface);
}

SDL_Surface* CastMember::ScaleCanvas(Canvas* canvas, float angle, float zoom, bool smooth)
{
    SDL_Surface* source = canvas != nullptr ? canvas->Get32Surface() : nullptr;
    return source != nullptr ? rotozoomSurface(source, angle, zoom, smooth ? 1 : 0) : nullptr;
}

// --- priority ---

int CastMember::GetPriority()
{
    return _priority;
}

void CastMember::SetPriority(int p)
{
    _prevPriority = _priority;
    _priority = std::max(p, 1);
    if (_cast != nullptr) {
        _cast->Remove(this, true);
        _cast->Add(this);
    }
}

void CastMember::RestorePriority(int p)
{
    // Exact: a sprite in front of the fade layer (priority below 1) must stay there.
    _prevPriority = _priority;
    _priority = p;
    if (_cast != nullptr) {
        _cast->Remove(this, true);
        _cast->Add(this);
    }
}

void CastMember::SetPrevPri(int p)
{
    _prevPriority = p;
}

int CastMember::GetPrevPri()
{
    return _prevPriority;
}

void CastMember::SetHighestPriorityOnDrag(bool on)
{
    _highestPriorityOnDrag = on;
}

void CastMember::SetDragPriority(int p)
{
    if (_cast != nullptr) {
        _prevPriority = _priority;
        if (_highestPriorityOnDrag) {
            _priority = p;
            _cast->Remove(this, true);
            _cast->Add(this);
            Repaint();
        }
    }
    _dragging = true;
}

// --- input permissions ---

bool CastMember::AllowMouseMoves()
{
    return true;
}

void CastMember::AllowMouseMoves(bool /*allow*/) {}

bool CastMember::AllowInput()
{
    return _allowInput;
}

void CastMember::AllowInput(bool allow)
{
    _allowInput = allow;
}

bool CastMember::AllowDragging()
{
    return _allowDragging;
}

void CastMember::AllowDragging(bool allow)
{
    _allowDragging = allow;
}

bool CastMember::AllowClicks()
{
    return _allowClicks;
}

void CastMember::AllowClicks(bool allow)
{
    _allowClicks = allow;
}

bool CastMember::AllowKeystrokes()
{
    return _allowKeystrokes;
}

void CastMember::AllowKeystrokes(bool allow)
{
    _allowKeystrokes = allow;
}

bool CastMember::CheckInputOverride()
{
    return false;
}

bool CastMember::PreventInput()
{
    return !_visible || !AllowInput() || _moving || CheckInputOverride();
}

// --- press, drag and release ---

bool CastMember::MouseDown(int x, int y, int button)
{
    if (PreventInput() || !OnPixel(x, y)) {
        return false;
    }
    _pressTime = TickSource::Now();
    _pressX = x;
    _pressY = y;
    SetPrevPosition(GetX(), GetY());
    Move(GetX() + _mouseDownAdjX, GetY() + _mouseDownAdjY, true);
    if (AllowDragging()) {
        _grabX = x - GetX();
        _grabY = y - GetY();
        SetDragPriority(0);
        if (_cast != nullptr) {
            _cast->Dragging(this);
        }
        StartDragging();
    } else {
        _tracking = true;
        if (_cast != nullptr) {
            _cast->Tracking(this);
        }
        _mouseState = 1;
    }
    OnMouseDown(x, y, button);
    return true;
}

bool CastMember::MouseUp(int x, int y, int button)
{
    if (PreventInput()) {
        return false;
    }
    const bool click = AllowClicks() && std::abs(x - _pressX) <= kClickDistance &&
                       std::abs(y - _pressY) <= kClickDistance &&
                       TickSource::Now() - _pressTime <= kClickTime;
    if (click) {
        MoveToPrev();
        if (_cast != nullptr) {
            Clicked(_cast->DetermineReceiverOnClick(this), button);
        }
        OnMouseUp(x, y, button);
        _dragging = false;
        _tracking = false;
        if (_cast != nullptr) {
            _cast->Dragging(nullptr);
            _cast->Tracking(nullptr);
        }
        _pressTime = 0;
        return true;
    }

    if (_tracking) {
        MoveToPrev();
        if (x != kCancelX && _mouseState == 1 && _cast != nullptr) {
            Clicked(_cast->DetermineReceiverOnClick(this), button);
        }
    } else if (AllowDragging() && _cast != nullptr) {
        bool taken = false;
        if (x != kCancelX) {
            taken = Dragged(_cast->DetermineReceiverOnDrag(this));
            if (taken && _cueListener != nullptr) {
                _cueListener->Cue(this, CueListener::kDropTaken, 0);
            }
        }
        if (!taken && MoveToPrev() > kSnapBackDistance) {
            MoveToAccelerate(_prevX, _prevY, 5000, false, 0.0f, 11, 5, 40.0f, 5000);
        }
    }

    OnMouseUp(x, y, button);
    if (_cast != nullptr) {
        _cast->Dragging(nullptr);
        _cast->Tracking(nullptr);
    }
    _dragging = false;
    _tracking = false;
    _pressTime = 0;
    return true;
}

bool CastMember::MouseDrag(int x, int y)
{
    if (_dragging) {
        Move(x - _grabX, y - _grabY, true);
        OnMouseDrag(x, y);
        return true;
    }
    if (_cast == nullptr || !_cast->ModalDialogUp()) {
        if (_mouseState == 1) {
            if (!OnPixel(x, y)) {
                _mouseState = 2;
                OnMouseExit(x, y);
            }
        } else if (OnPixel(x, y)) {
            _mouseState = 1;
            OnMouseEnter(x, y);
        }
    }
    return true;
}

bool CastMember::MouseMove(int x, int y, bool inside)
{
    if (inside && !OnPixel(x, y)) {
        return false;
    }
    OnMouseOver(x, y, inside);
    return true;
}

void CastMember::CancelDragging()
{
    MouseUp(kCancelX, 0, 1);
}

void CastMember::CancelTracking()
{
    MouseUp(kCancelX, 0, 1);
}

int CastMember::MoveToPrev()
{
    const int d = std::max(std::abs(GetX() - _prevX), std::abs(GetY() - _prevY));
    if (d <= kSnapBackDistance) {
        Move(_prevX, _prevY, true);
        if (_highestPriorityOnDrag) {
            RestorePriority(GetPrevPri());
        }
    }
    return d;
}

void CastMember::SetPrevPosition(int x, int y)
{
    _prevX = x;
    _prevY = y;
}

void CastMember::SetMouseDownAdjustment(int x, int y)
{
    _mouseDownAdjX = x;
    _mouseDownAdjY = y;
}

int CastMember::GetPrevX()
{
    return _prevX;
}

int CastMember::GetPrevY()
{
    return _prevY;
}

bool CastMember::Dragged(Receiver* receiver)
{
    SetReceiver(receiver);
    return false;
}

bool CastMember::Clicked(Receiver* receiver, int /*button*/)
{
    SetReceiver(receiver);
    return false;
}

Receiver* CastMember::GetReceiver()
{
    return _receiver;
}

void CastMember::SetReceiver(Receiver* receiver)
{
    _receiver = receiver;
}

bool CastMember::KeyDown(SDLKey /*key*/, SDLMod /*mod*/, unsigned short /*unicode*/, bool /*flag*/)
{
    return false;
}

bool CastMember::KeyUp(SDLKey /*key*/, SDLMod /*mod*/, unsigned short /*unicode*/, bool /*flag*/)
{
    return false;
}

void CastMember::OnMouseEnter(int /*x*/, int /*y*/) {}

void CastMember::OnMouseExit(int /*x*/, int /*y*/) {}

void CastMember::OnMouseDown(int /*x*/, int /*y*/, int /*button*/) {}

void CastMember::OnMouseUp(int /*x*/, int /*y*/, int /*button*/) {}

void CastMember::OnMouseDrag(int /*x*/, int /*y*/) {}

void CastMember::OnMouseOver(int /*x*/, int /*y*/, bool /*over*/) {}

void CastMember::OnMouseHover(int /*x*/, int /*y*/) {}

void CastMember::OnMouseHoverEnded() {}

void CastMember::StartDragging() {}
