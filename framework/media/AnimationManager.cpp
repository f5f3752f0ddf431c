#include "framework/media/AnimationManager.h"

#include "SDL.h"
#include "framework/core/Dimension.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/Event.h"
#include "framework/stage/GameTime.h"
#include "framework/stage/MouseMoveListener.h"
#include "framework/stage/Script.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kEventDown = 1;
constexpr int kEventUp = 2;
constexpr int kEventMove = 3;
constexpr int kEventDrag = 4;

} // namespace

AnimationManager::AnimationManager(Framework* framework, SDL_Surface* screen, bool fullScreen)
    : Canvas(screen), _fullScreen(fullScreen), _framework(framework)
{
    SetName("AnimationManager");
    // "testslow" and "forcesixteen" come from the framework's settings once it sets them.
    _clock = std::make_unique<GameTime>(0);
    _screenSize = std::make_unique<Dimension>(screen != nullptr ? screen->w : 0,
                                              screen != nullptr ? screen->h : 0);
    _fadeCanvas.reset(CreateFadeCanvas(_masterAlpha));
    // At full alpha the layer is not painted: its pixels wait until the screen fades.
    MatchFadeSurface();
    _cast = new Cast(this, _fadeCanvas.get());
    _cast->SetName("GameCast");
    RepaintAll(false);
    _clock->Start();
}

AnimationManager::~AnimationManager()
{
    DiscardEvents();
    // The stage goes first: it still refers to the fade canvas and may ask for repaints.
    delete _cast;
    _cast = nullptr;
    _screenSize.reset();
    _fadeCanvas.reset();
    _backCanvas.reset();
    _clock.reset();
    // The video surface belongs to SDL.
    SetSurface(nullptr);
}

unsigned int AnimationManager::Time()
{
    return _clock->Time();
}

// --- per frame ---

void AnimationManager::DoFades()
{
    if (!_fadingIn && !_fadingOut) {
        return;
    }
    const double progress =
        std::min(1.0, static_cast<double>(Time() - _fadeStartTime) / _fadeDuration);
    const int span = std::abs(_fadeTargetAlpha - _fadeStartAlpha);
    const int step = static_cast<int>(span * progress);
    int alpha = _masterAlpha;
    int cue = 0;
    if (_fadingIn) {
        alpha = _fadeStartAlpha + step;
        if (alpha >= _fadeTargetAlpha) {
            alpha = _fadeTargetAlpha;
            cue = _fadeTargetAlpha == 255 ? CueListener::kScreenFadedIn
                                          : CueListener::kScreenFadedOther;
            _fadingIn = false;
        }
    } else {
        alpha = _fadeStartAlpha - step;
        if (alpha <= _fadeTargetAlpha) {
            alpha = _fadeTargetAlpha;
            cue = _fadeTargetAlpha == 0 ? CueListener::kScreenFadedOut
                                        : CueListener::kScreenFadedOther;
            _fadingOut = false;
        }
    }
    if (alpha != _masterAlpha) {
        _masterAlpha = alpha;
        MatchFadeSurface();
        RepaintAll(false);
        if (_cast != nullptr) {
            _cast->AdjustAlpha(alpha);
        }
    }
    // Told last, with the fade over and the alpha applied, so that the listener may start the
    // next fade from where this one ended.
    if (cue != 0 && _fadeListener != nullptr) {
        _fadeListener->Cue(nullptr, cue, 0);
    }
}

void AnimationManager::ProcessMouseEvents()
{
    bool taken = false;
    // Handlers may queue more events: take them one at a time from the front.
    while (!_events.empty()) {
        if (_cast == nullptr) {
            DiscardEvents();
            break;
        }
        const std::unique_ptr<Event> event = std::move(_events.front());
        _events.erase(_events.begin());
        taken = true;
        const int x = event->GetX();
        const int y = event->GetY();
        _lastMouseX = x;
        _lastMouseY = y;
        _lastMouseTicks = TickSource::Now();
        switch (event->GetType()) {
        case kEventDown:
            _cast->MouseDown(x, y, event->GetButtonNum());
            break;
        case kEventUp:
            _cast->MouseUp(x, y, event->GetButtonNum());
            break;
        case kEventMove:
        case kEventDrag: {
            bool heard = false;
            if (_mouseMoveListener != nullptr) {
                heard = _mouseMoveListener->MouseMoved(x, y);
                if (event->GetType() == kEventDrag && !heard) {
                    heard = _mouseMoveListener->MouseDragged(x, y);
                }
            }
            if (!heard) {
                if (event->GetType() == kEventMove) {
                    _cast->MouseMove(x, y);
                } else {
                    _cast->MouseDrag(x, y);
                }
            }
            break;
        }
        default:
            break;
        }
        if (_hover && _cast != nullptr) {
            _hover = _cast->MouseHoverEnded(x, y, event->GetType() == kEventMove);
        }
        if (_script != nullptr) {
            _script->UserActivity(x, y, _lastMouseTicks);
        }
    }
    if (taken) {
        return;
    }
    const unsigned int now = TickSource::Now();
    if (_lastMouseTicks == 0) {
        _lastMouseTicks = now;
    }
    if (!_hover && _cast != nullptr && now - _lastMouseTicks >= kHoverAfterMs) {
        _hover = true;
        _cast->MouseHover(_lastMouseX, _lastMouseY);
    }
}

void AnimationManager::ProcessDirtyRects(bool separate)
{
    if (_cast == nullptr) {
        return;
    }
    Canvas* paint = GetPaintCanvas();
    if (!_repaintAll) {
        for (const std::unique_ptr<Rectangle>& r : _cast->GetDirtyRects()) {
            if (!r->OnScreen()) {
                continue;
            }
            auto* copy = new Rectangle(*r);
            if (!AddDirtyRect(copy)) {
                delete copy;
            }
        }
    }
    // GetCastMembers hands out the live list: AddDirtyRect below never changes it.
    for (CastMember* m : _cast->GetCastMembers()) {
        if (m->GetDirtyAdded() || !m->IsDirty()) {
            continue;
        }
        _frameChanged = true;
        m->SetDirtyAdded(true);
        const Rectangle area(m->GetDirtyRect());
        if (!area.OnScreen()) {
            continue;
        }
        if (separate) {
            auto* copy = new Rectangle(area);
            if (!_cast->AddDirtyRect(copy)) {
                delete copy;
            }
        }
        if (!_repaintAll) {
            auto* copy = new Rectangle(area);
            if (!AddDirtyRect(copy)) {
                delete copy;
            }
        }
    }
    _cast->ClearDirtyRects(!separate);

    paint->MergeDirtyRects();
}

// --- stage and script ---

void AnimationManager::SetCast(Cast* cast)
{
    _pendingCast = cast;
}

void AnimationManager::SetScript(Script* script)
{
    _script = script;
}

// --- input ---

bool AnimationManager::MouseDown(int x, int y, int button)
{
    if (_masterInput) {
        _events.push_back(std::make_unique<Event>(kEventDown, x, y, button));
    }
    return true;
}

bool AnimationManager::MouseUp(int x, int y, int button)
{
    if (_masterInput) {
        _events.push_back(std::make_unique<Event>(kEventUp, x, y, button));
    }
    return true;
}

bool AnimationManager::MouseMove(int x, int y)
{
    if (_masterInput) {
        _events.push_back(std::make_unique<Event>(kEventMove, x, y, 0));
    }
    return true;
}

bool AnimationManager::MouseDrag(int x, int y)
{
    if (_masterInput) {
        _events.push_back(std::make_unique<Event>(kEventDrag, x, y, 0));
    }
    return true;
}

void AnimationManager::SetMasterInput(bool on)
{
    _masterInput = on;
}

void AnimationManager::SetMouseMoveListener(MouseMoveListener* listener)
{
    _mouseMoveListener = listener;
}

void AnimationManager::DefaultDialogDragging(bool on)
{
    _defaultDialogDragging = on;
}

void AnimationManager::SetHighDetail(bool on)
{
    _highDetail = on;
}

void AnimationManager::SetInputFocus(bool on)
{
    _inputFocus = on;
}

void AnimationManager::DiscardEvents()
{
    _events.clear();
}

// --- painting ---

void AnimationManager::RepaintAll(bool /*unused*/)
{
    if (_fullScreen) {
        _repaintsDue = 2;
    }
    if (_repaintAll) {
        return;
    }
    ClearDirtyRects();
    auto* all = new Rectangle(0, 0, static_cast<short>(GetW()), static_cast<short>(GetH()));
    if (!AddDirtyRect(all)) {
        delete all;
    }
    _repaintAll = true;
}

Canvas* AnimationManager::GetPaintCanvas()
{
    if (_fullScreen && _doubleBuffered) {
        SDL_Surface* screen = GetSurface();
        if (_backCanvas == nullptr && screen != nullptr) {
            const SDL_PixelFormat* f = screen->format;
            _backCanvas.reset(Canvas::CreateRGB(0, screen->w, screen->h, f->BitsPerPixel, f->Rmask,
                                                f->Gmask, f->Bmask, f->Amask));
        }
        if (_backCanvas != nullptr) {
            return _backCanvas.get();
        }
        return this;
    }
    _backCanvas.reset();
    return this;
}

bool AnimationManager::AddDirtyRect(Rectangle* r)
{
    if (_repaintAll) {
        return false;
    }
    Canvas* paint = GetPaintCanvas();
    return paint == this ? Canvas::AddDirtyRect(r) : paint->AddDirtyRect(r);
}

void AnimationManager::ClearDirtyRects()
{
    Canvas* paint = GetPaintCanvas();
    if (paint == this) {
        Canvas::ClearDirtyRects();
    } else {
        paint->ClearDirtyRects();
    }
}

// --- fades and master alpha ---

void AnimationManager::FadeIn(unsigned int ms, CueListener* listener)
{
    StartFade(255, ms, listener, CueListener::kScreenFadedIn);
}

void AnimationManager::FadeOut(unsigned int ms, CueListener* listener)
{
    StartFade(0, ms, listener, CueListener::kScreenFadedOut);
}

void AnimationManager::FadeTo(int alpha, unsigned int ms, CueListener* listener)
{
    StartFade(std::clamp(alpha, 0, 255), ms, listener, CueListener::kScreenFadedOther);
}

void AnimationManager::StartFade(int target, unsigned int ms, CueListener* listener,
                                 int cueWhenThere)
{
    _fadeStartAlpha = _masterAlpha;
    _fadeStartTime = Time();
    _fadeTargetAlpha = target;
    _fadeDuration = ms == 0 ? 1 : ms;
    _fadeListener = listener;
    _fadingIn = target > _masterAlpha;
    _fadingOut = target < _masterAlpha;
    if (!_fadingIn && !_fadingOut && listener != nullptr) {
        listener->Cue(nullptr, cueWhenThere, 0);
    }
}

void AnimationManager::SetFadePriority(int priority)
{
    if (_cast != nullptr) {
        _cast->SetFadePriority(priority);
    }
    RepaintAll(false);
}

void AnimationManager::SetFadeColor(Color color)
{
    if (_cast != nullptr) {
        _cast->SetFadeColor(color);
    }
    RepaintAll(false);
}

Canvas* AnimationManager::CreateFadeCanvas(int alpha)
{
    SDL_Surface* screen = GetSurface();
    if (screen == nullptr) {
        return nullptr;
    }
    const SDL_PixelFormat* f = screen->format;
    Canvas* fade = Canvas::CreateRGB(0, screen->w, screen->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                     f->Bmask, f->Amask);
    if (fade == nullptr || fade->GetSurface() == nullptr) {
        delete fade;
        return nullptr;
    }
    Rectangle whole(0, 0, static_cast<short>(screen->w), static_cast<short>(screen->h));
    fade->FillRect(whole, Color(0, 0, 0, 255));
    SDL_SetAlpha(fade->GetSurface(), SDL_SRCALPHA | SDL_RLEACCEL,
                 static_cast<Uint8>(255 - std::clamp(alpha, 0, 255)));
    return fade;
}

void AnimationManager::MatchFadeSurface()
{
    if (_fadeCanvas == nullptr) {
        return;
    }
    SDL_Surface* surface = _fadeCanvas->GetSurface();
    if (_masterAlpha == 255 && surface != nullptr) {
        SDL_FreeSurface(surface);
        _fadeCanvas->SetSurface(nullptr);
    } else if (_masterAlpha < 255 && surface == nullptr) {
        // The stages hold the canvas itself: only its surface is made again.
        const std::unique_ptr<Canvas> made(CreateFadeCanvas(_masterAlpha));
        if (made == nullptr) {
            return;
        }
        _fadeCanvas->SetSurface(made->GetSurface());
        made->SetSurface(nullptr);
        // The stage holds the colour, however it was set; the new surface is black.
        if (_cast != nullptr && _cast->GetFadeColor() != Color(0, 0, 0, 255)) {
            _fadeCanvas->Clear(_cast->GetFadeColor());
        }
    }
}

void AnimationManager::SetMasterAlpha(int alpha)
{
    _masterAlpha = std::clamp(alpha, 0, 255);
    MatchFadeSurface();
    if (_cast != nullptr) {
        _cast->AdjustAlpha(_masterAlpha);
    }
    RepaintAll(false);
}
