// Cast: the frame, painting, background and fades.

#include "SDL.h"
#include "SDL_rotozoom.h"
#include "framework/core/ImageResources.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"

#include <algorithm>
#include <cstdio>

namespace {

long long RoundTicks(double ticks)
{
    return static_cast<long long>(ticks + 0.5);
}

constexpr unsigned int kFpsWindowMs = 500;

} // namespace

bool Cast::HighDetail()
{
    return _animationManager == nullptr || _animationManager->GetHighDetail();
}

void Cast::RequestRepaintAll()
{
    if (_animationManager != nullptr) {
        _animationManager->RepaintAll(false);
    }
}

// --- frame ---

int Cast::Animate(int averageFps)
{
    const unsigned int now = _animationManager != nullptr ? _animationManager->Time() : 0;
    const unsigned int elapsed = now - _lastTime;
    _lastTime = now;
    _tickAccumulator += elapsed * _ticksPerMs;
    _ticksThisFrame =
        static_cast<int>(RoundTicks(_tickAccumulator) - RoundTicks(_previousAccumulator));
    _previousAccumulator = _tickAccumulator;

    {
        // Back to front; a sprite removed meanwhile is still animated in this frame, one deleted
        // meanwhile is skipped, one added waits for the next frame.
        const Walk walk(*this, true);
        for (CastMember* m : walk.Members()) {
            if (m != nullptr) {
                m->Animate(now);
            }
        }
    }

    const unsigned int ticks = TickSource::Now();
    if (_windowStart == 0) {
        _windowStart = ticks;
    }
    ++_framesInWindow;
    int rate = 0;
    if (ticks > _windowStart + kFpsWindowMs) {
        _windowStart = ticks;
        _lastFrameRate = _framesInWindow * 2;
        _framesInWindow = 0;
        rate = _lastFrameRate;
    }
    if (rate > 0 && _showFps && _fpsText != nullptr && _fpsMember->IsVisible()) {
        char text[64];
        std::snprintf(text, sizeof(text), "FPS: %d, Ave: %d", _lastFrameRate, averageFps);
        _fpsText->SetText(text);
    }

    if (_cursor != nullptr) {
        _cursor->Repaint();
        _cursor->Animate(now);
    }
    return rate;
}

unsigned int Cast::MsUntilDue(unsigned int now) const
{
    unsigned int due = CastMember::kNothingDue;
    const auto take = [&due, now](const CastMember* m) {
        due = std::min(due, m->MsUntilDue(now));
        if (const auto* image = dynamic_cast<const CastMemberImage*>(m)) {
            due = std::min(due, image->MsUntilNextFrame(now));
        }
    };
    if (_cursor != nullptr) {
        take(_cursor);
    }
    for (const std::vector<CastMember*>* list : {&_members, &_waiting}) {
        for (const CastMember* m : *list) {
            take(m);
        }
    }
    if (_showFps && _fpsText != nullptr && _fpsMember->IsVisible() && _windowStart != 0) {
        // The frame-rate text changes when its window of ticks closes (Animate).
        const unsigned int since = TickSource::Now() - _windowStart;
        due = std::min(due, since > kFpsWindowMs ? 0u : kFpsWindowMs + 1 - since);
    }
    return due;
}

void Cast::PauseVelocity()
{
    _velocityPaused = true;
}

void Cast::UnPauseVelocity()
{
    _velocityPaused = false;
}

void Cast::SetTicksPerSecond(double ticksPerSecond)
{
    _ticksPerMs = ticksPerSecond * 0.001;
}

void Cast::ShowFPS(bool on, Font* font)
{
    _showFps = on;
    if (!on) {
        if (_fpsMember != nullptr) {
            _fpsMember->Hide();
        }
        return;
    }
    if (_fpsText == nullptr) {
        Color grey(192, 192, 192, 255);
        Color hover(192, 192, 192, 255);
        Color shadow(0, 0, 0, 255);
        _fpsText = new CastMemberText(this, "FPS: ", font, grey, hover, shadow, 250, 20, 10, 0);
        _fpsMember = _fpsText;
        // Freed when it leaves the stage (RemoveAll), like any stage-made sprite.
        _fpsMember->DeleteOnRemovedFromCast(true);
    }
    if (_fpsMember != nullptr) {
        _fpsMember->Show();
    }
}

// --- dirty rectangles ---

bool Cast::AddDirtyRect(Rectangle* r)
{
    if (r == nullptr || !r->OnScreen()) {
        return false;
    }
    r->SetFrameCount(2);
    _dirtyRects.emplace_back(r);
    return true;
}

void Cast::ClearDirtyRects(bool all)
{
    std::vector<std::unique_ptr<Rectangle>> kept;
    for (std::unique_ptr<Rectangle>& r : _dirtyRects) {
        const short count = all ? 0 : static_cast<short>(r->GetFrameCount() - 1);
        r->SetFrameCount(count);
        if (count >= 1) {
            kept.push_back(std::move(r));
        }
    }
    _dirtyRects = std::move(kept);
}

void Cast::AddCursorDirty()
{
    Settle();
    if (_cursor == nullptr || !_cursor->IsVisible()) {
        return;
    }
    auto area = std::make_unique<Rectangle>(_cursor->GetScaledRect());
    if (area->OnScreen()) {
        area->SetFrameCount(2);
        _dirtyRects.push_back(std::move(area));
    }
}

int Cast::MarkMoreDirty(Rectangle* area)
{
    Settle();
    int marked = 0;
    for (CastMember* m : _members) {
        if (m->IsVisible() && !m->IsDirty() && m->GetTotalScreenRect().Intersects(area)) {
            m->Repaint();
            ++marked;
        }
    }
    return marked;
}

// --- painting ---

void Cast::DrawFadeLayer(Canvas* canvas, const std::vector<Rectangle>& rects)
{
    for (Rectangle r : rects) {
        const ClipScope clip(canvas);
        canvas->SetClipRect(r);
        Rectangle source(r);
        canvas->Blit(r, *_fadeCanvas, source);
    }
}

void Cast::Paint(Canvas* canvas, bool all)
{
    if (canvas == nullptr) {
        return;
    }
    std::vector<Rectangle> rects;
    for (Rectangle* r : canvas->GetDirtyRects()) {
        rects.push_back(*r);
    }
    if (FadeSpecial(canvas)) {
        return;
    }
    bool fadeDrawn = false;
    const Walk walk(*this, true);
    for (CastMember* m : walk.Members()) {
        if (m == nullptr) {
            continue;
        }
        if (!fadeDrawn && _fadeOn && _fadeCanvas != nullptr && m->GetPriority() < _fadePriority &&
            !rects.empty()) {
            DrawFadeLayer(canvas, rects);
            fadeDrawn = true;
        }
        // Read once: painting clears the flag, and the sprite must show in every rectangle that
        // it overlaps, not only in the first.
        const bool dirty = m->IsDirty();
        for (Rectangle& r : rects) {
            const ClipScope clip(canvas);
            canvas->SetClipRect(r);
            if (all || (dirty && m->GetTotalScreenRect().Intersects(r))) {
                m->Update(canvas);
            } else if (!m->GetRect().OnScreen()) {
                m->ResetDirty();
            }
        }
    }
    if (!fadeDrawn && _fadeOn && _fadeCanvas != nullptr) {
        DrawFadeLayer(canvas, rects);
    }
}

bool Cast::FadeSpecial(Canvas* canvas)
{
    if (HighDetail() || !_fadeOn || _fadeCanvas == nullptr || _animationManager == nullptr ||
        canvas == nullptr || canvas->GetSurface() == nullptr) {
        return false;
    }
    const int start = _animationManager->GetFadeStartAlpha();
    const int target = _animationManager->GetFadeTargetAlpha();
    if (!((start == 0 && target == 255) || (start == 255 && target == 0))) {
        return false;
    }
    const int s = std::clamp(256 - _fadeAlpha, 10, 200);
    const int w = _fadeCanvas->GetW();
    const int h = _fadeCanvas->GetH();
    SDL_Surface* surface = canvas->GetSurface();
    for (int x = 0; x < w; x += s) {
        const int x2 = x + s >= w ? w - 1 : x + s;
        for (int y = 0; y < h; y += s) {
            const int y2 = y + s >= h ? h - 1 : y + s;
            const bool locked = canvas->Lock();
            const Color c[4] = {canvas->GetPixel(surface, x, y), canvas->GetPixel(surface, x2, y),
                                canvas->GetPixel(surface, x, y2),
                                canvas->GetPixel(surface, x2, y2)};
            if (locked) {
                canvas->Unlock();
            }
            const auto mix = [s](int a, int b, int c2, int d) {
                return static_cast<unsigned char>((a + b + c2 + d) / 4 * (200 - s) / 200);
            };
            const Color fill(mix(c[0].GetR(), c[1].GetR(), c[2].GetR(), c[3].GetR()),
                             mix(c[0].GetG(), c[1].GetG(), c[2].GetG(), c[3].GetG()),
                             mix(c[0].GetB(), c[1].GetB(), c[2].GetB(), c[3].GetB()),
                             mix(c[0].GetA(), c[1].GetA(), c[2].GetA(), c[3].GetA()));
            Rectangle block(static_cast<short>(x), static_cast<short>(y), static_cast<short>(s),
                            static_cast<short>(s));
            const ClipScope clip(canvas);
            canvas->SetClipRect(block);
            canvas->FillRect(block, fill);
        }
    }
    return true;
}

void Cast::PaintCursor(Canvas* canvas, bool /*separate*/)
{
    Settle();
    if (canvas == nullptr || _cursor == nullptr || !_cursor->IsVisible()) {
        return;
    }
    const ClipScope clip(canvas);
    canvas->SetClipRect(static_cast<Rectangle*>(nullptr));
    _cursor->Paint(canvas);
    if (_cursor != nullptr && _cursor->IsVisible()) {
        auto area = std::make_unique<Rectangle>(_cursor->GetScaledRect());
        if (area->OnScreen()) {
            area->SetFrameCount(2);
            _dirtyRects.push_back(std::move(area));
        }
    }
}

void Cast::PaintBackground(Canvas* canvas, Rectangle* clip)
{
    if (canvas == nullptr || clip == nullptr) {
        return;
    }
    const ClipScope guard(canvas);
    canvas->SetClipRect(*clip);
    if (_zoomedBackground != nullptr) {
        SDL_Rect source{static_cast<Sint16>(_zoomOffsetX), static_cast<Sint16>(_zoomOffsetY),
                        static_cast<Uint16>(_zoomedBackground->w),
                        static_cast<Uint16>(_zoomedBackground->h)};
        SDL_Rect target{0, 0, 0, 0};
        SDL_UpperBlit(_zoomedBackground, &source, canvas->GetSurface(), &target);
    } else if (_background != nullptr) {
        if (_backgroundOffset > 0) {
            canvas->FillRect(*clip, _backgroundColor);
        }
        _background->Blit(canvas, 0, _backgroundOffset);
    }
}

// --- background and fade layer ---

void Cast::SetBackground(Image* image)
{
    if (_background != nullptr) {
        RequestRepaintAll();
        // Only what the stage loaded by name is its own.
        if (_ownsBackground) {
            delete _background;
            ImageResources::Unlock(_backgroundFile);
            _backgroundFile.clear();
        }
    }
    DeleteZoomedBackground();
    _background = image;
    _ownsBackground = false;
    if (_background != nullptr) {
        RequestRepaintAll();
    }
}

void Cast::SetBackground(const std::string& imageName)
{
    DropBackgroundImage();
    DeleteZoomedBackground();
    if (!_backgroundFile.empty()) {
        ImageResources::Unlock(_backgroundFile);
    }
    _backgroundFile = imageName;
    ImageResource* sheet = ImageResources::Get(imageName);
    ImageResources::Lock(imageName);
    if (sheet != nullptr) {
        _background = new Image(sheet, 0, 0, 0);
        _ownsBackground = true;
        RequestRepaintAll();
    }
}

void Cast::DropBackgroundImage()
{
    if (_background != nullptr) {
        RequestRepaintAll();
        if (_ownsBackground) {
            delete _background;
        }
        _background = nullptr;
        _ownsBackground = false;
    }
}

void Cast::DeleteBackground()
{
    if (!_backgroundFile.empty()) {
        ImageResources::Unlock(_backgroundFile);
        _backgroundFile.clear();
    }
    DeleteZoomedBackground();
    DropBackgroundImage();
}

void Cast::DeleteZoomedBackground()
{
    if (_zoomedBackground != nullptr) {
        SDL_FreeSurface(_zoomedBackground);
        _zoomedBackground = nullptr;
    }
}

void Cast::ZoomBackground(float zoom, int x, int y)
{
    if (zoom == 1.0f) {
        DeleteZoomedBackground();
        _zoomOffsetX = 0;
        _zoomOffsetY = 0;
        RequestRepaintAll();
        return;
    }
    SDL_Surface* source = nullptr;
    if (_background != nullptr && _background->GetCanvas() != nullptr) {
        source = _background->GetCanvas()->GetSurface();
    }
    if (source == nullptr) {
        DebugVar(-1, "ZoomBackground without a background image");
        return;
    }
    SDL_Surface* zoomed = rotozoomSurface(source, 0.0, zoom, SMOOTHING_ON);
    if (zoomed == nullptr) {
        DebugVar(-1, "ZoomBackground: rotozoomSurface failed");
        return;
    }
    DeleteZoomedBackground();
    _zoomedBackground = zoomed;
    _zoomOffsetX = x;
    _zoomOffsetY = y;
    RequestRepaintAll();
}

void Cast::SetBackgroundOffset(int offset, Color& color)
{
    _backgroundOffset = offset;
    _backgroundColor = color;
}

void Cast::SetFadePriority(int priority)
{
    _fadePriority = priority;
    if (_fadeOn) {
        RequestRepaintAll();
    }
}

void Cast::SetFadeColor(Color color)
{
    _fadeColor = color;
    if (_fadeCanvas != nullptr) {
        _fadeCanvas->Clear(color);
    }
    if (_fadeOn) {
        RequestRepaintAll();
    }
}

void Cast::AdjustAlpha(int alpha)
{
    _fadeAlpha = std::clamp(alpha, 0, 255);
    if (_fadeCanvas == nullptr) {
        return;
    }
    if (_fadeAlpha == 255) {
        if (_fadeOn) {
            _fadeOn = false;
            RequestRepaintAll();
        }
        return;
    }
    if (HighDetail() && _fadeCanvas->GetSurface() != nullptr) {
        SDL_SetAlpha(_fadeCanvas->GetSurface(), SDL_SRCALPHA | SDL_RLEACCEL,
                     static_cast<Uint8>(255 - _fadeAlpha));
    }
    if (!_fadeOn) {
        _fadeOn = true;
        RequestRepaintAll();
    }
}
