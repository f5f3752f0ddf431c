#include "framework/stage/CastMemberProgress.h"

#include "SDL.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Font.h"
#include "framework/media/TextSurface.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::size_t kCaptionLength = 90;

int ClampPercent(int value)
{
    return std::clamp(value, 0, 100);
}

} // namespace

CastMemberProgress::CastMemberProgress(Cast* cast, Font* font, const Color& frame, const Color& bar,
                                       int width, int height, int x, int y, int priority)
    : CastMember(cast, x, y, priority)
{
    Init();
    _font = font;
    _frameColor = frame;
    _textColor = frame;
    _barColor = bar;
    _rect.SetDim(static_cast<short>(width), static_cast<short>(height));
    _canvas = std::make_unique<Canvas>(width, height, GetSWPixelFormat());
    SetAlpha(_alpha);
    Show();
}

CastMemberProgress::~CastMemberProgress() = default;

void CastMemberProgress::Init()
{
    SetName("CastMemberProgress");
    _textX = kUnplaced;
    _percent = 0;
    _text.clear();
    _font = nullptr;
    _textSurface.reset();
    _rebuildText = true;
    _textAlpha = 255;
    _ownTextAlpha = false;
    _scaled = true;
}

int CastMemberProgress::GetClassMemberType()
{
    return CastMember::kProgressKind;
}

// --- values ---

void CastMemberProgress::SetPercent(int percent)
{
    _percent = ClampPercent(percent);
    Repaint();
}

void CastMemberProgress::SetColor(const Color& frame, const Color& bar)
{
    _frameColor = frame;
    _barColor = bar;
    _rebuildText = true;
    Repaint();
}

void CastMemberProgress::SetTextColor(const Color& color)
{
    SetDirtyRect();
    _textColor = color;
    _rebuildText = true;
    Repaint();
}

void CastMemberProgress::SetUnderColor(const Color& color)
{
    SetDirtyRect();
    _underColor = color;
    _rebuildText = true;
    Repaint();
}

void CastMemberProgress::SetText(const std::string& text, int value)
{
    _text = text.substr(0, kCaptionLength) + " " + std::to_string(ClampPercent(value));
    _rebuildText = true;
    Repaint();
}

void CastMemberProgress::SetText(const std::string& text)
{
    SetDirtyRect();
    _text = text;
    ReplaceTextSurface();
    _rebuildText = false;
    Repaint();
}

void CastMemberProgress::ReplaceTextSurface()
{
    _textSurface = std::make_unique<TextSurface>(_text, _font, _textColor, 255);
    // The new rendering takes the transparency in force.
    SetAlpha(_alpha);
}

// --- alpha ---

void CastMemberProgress::SetAlpha(int alpha)
{
    CastMember::SetAlpha(alpha);
    if (_canvas != nullptr && _canvas->GetSurface() != nullptr) {
        _canvas->SetAlpha(_alpha);
    }
    if (_textSurface != nullptr) {
        _textSurface->SetAlpha(_ownTextAlpha ? _textAlpha : _alpha);
    }
    Repaint();
}

void CastMemberProgress::SetTextAlpha(int alpha)
{
    if (alpha > 0) {
        _ownTextAlpha = true;
        _textAlpha = LimitAlpha(alpha);
    } else {
        _ownTextAlpha = false;
    }
    SetAlpha(_alpha);
}

// --- transparency and drop shadow ---

void CastMemberProgress::UseTransparency(const Color& key)
{
    if (_canvas != nullptr) {
        _canvas->UseTransparency(key, false);
    }
}

void CastMemberProgress::UseTransparency(bool on)
{
    if (_canvas == nullptr) {
        return;
    }
    if (on) {
        _canvas->UseTransparency(Color(254, 0, 254, 255), false);
    } else {
        _canvas->ClearColorKey();
    }
}

void CastMemberProgress::CheckDropShadow()
{
    AttachDropShadow(_canvas.get());
}

void CastMemberProgress::RefactorDropShadow()
{
    RebaseDropShadow(_canvas.get());
}

// --- scaling ---

SDL_Surface* CastMemberProgress::CreateScaledSurface(float angle, float zoom, bool smooth)
{
    SDL_Surface* scaled = ScaleCanvas(_canvas.get(), angle, zoom, smooth);
    if (_scaledSurface != nullptr && _scaledSurface != scaled) {
        SDL_FreeSurface(_scaledSurface);
    }
    _scaledSurface = scaled;
    // The drop shadow follows the new look at once, never the surface it replaced.
    RefactorDropShadow();
    return scaled;
}

void CastMemberProgress::UpdateScaledSurface()
{
    if (_scaledSurface == nullptr) {
        return;
    }
    SDL_FreeSurface(_scaledSurface);
    _scaledSurface = nullptr;
    CreateScaledSurface(_rotation, _scale, _smoothing);
    if (_scaledSurface == nullptr) {
        _scale = 1.0f;
    }
    _scaledRect.SetDim(static_cast<short>(GetScaledWidth()), static_cast<short>(GetScaledHeight()));
}

int CastMemberProgress::GetScaledX()
{
    const int w = _canvas != nullptr ? _canvas->GetW() : GetW();
    const int scaledW = GetScaledWidth();
    return _scale < 1.0f ? GetX() + (w - scaledW) / 2 : GetX() - (scaledW - w) / 2;
}

int CastMemberProgress::GetScaledY()
{
    const int h = _canvas != nullptr ? _canvas->GetH() : GetH();
    const int scaledH = GetScaledHeight();
    return _scale < 1.0f ? GetY() + (h - scaledH) / 2 : GetY() - (scaledH - h) / 2;
}

int CastMemberProgress::GetScaledWidth()
{
    if (_scaledSurface != nullptr) {
        return _scaledSurface->w;
    }
    return _canvas != nullptr ? _canvas->GetW() : GetW();
}

int CastMemberProgress::GetScaledHeight()
{
    if (_scaledSurface != nullptr) {
        return _scaledSurface->h;
    }
    return _canvas != nullptr ? _canvas->GetH() : GetH();
}

Rectangle& CastMemberProgress::GetScaledRect()
{
    if (_canvas == nullptr || ScaleIsFullSize() || !_scaled) {
        return GetRect();
    }
    const int x = GetScaledX() + std::min(_shadowX, 0);
    const int y = GetScaledY() + std::min(_shadowY, 0);
    const int w = GetScaledWidth() + std::abs(_shadowX);
    const int h = GetScaledHeight() + std::abs(_shadowY);
    _scaledRect.Set(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
                    static_cast<short>(h));
    return _scaledRect;
}

// --- painting ---

void CastMemberProgress::Paint(Canvas* canvas)
{
    if (canvas == nullptr || canvas->GetSurface() == nullptr || _canvas == nullptr ||
        _canvas->GetSurface() == nullptr) {
        return;
    }
    const int w = _canvas->GetW();
    const int h = _canvas->GetH();

    // The bar, drawn afresh into its own canvas.
    Rectangle whole(0, 0, static_cast<short>(w), static_cast<short>(h));
    _canvas->FillRect(whole, _frameColor);
    Rectangle inside(1, 1, static_cast<short>(w - 2), static_cast<short>(h - 2));
    _canvas->FillRect(inside, _underColor);
    if (_percent > 0) {
        Rectangle filled(1, 1, static_cast<short>((w - 2) * _percent / 100),
                         static_cast<short>(h - 2));
        _canvas->FillRect(filled, _barColor);
    }
    if (!_text.empty()) {
        if (_rebuildText) {
            ReplaceTextSurface();
            _rebuildText = false;
        }
        if (_textSurface != nullptr) {
            // Placed once, so that later captions do not wander.
            if (_textX == kUnplaced) {
                _textX = (w - _textSurface->GetW()) / 2 - 10;
            }
            _textSurface->Blit(_canvas.get(), _textX, (h - _textSurface->GetH()) / 2 - 2);
        }
    }
    // A scaled look is made from the bar as it is now, not as it was when it was scaled.
    if (_scaledSurface != nullptr) {
        UpdateScaledSurface();
    }

    ClipScope clip(canvas);
    // Never outside the area the stage is repainting, so nothing in front is painted over.
    Rectangle area = GetTotalScreenRect() - clip.Saved();
    if (area.IsEmpty()) {
        return;
    }
    canvas->SetClipRect(area);

    CheckDropShadow();
    if (ShowDropShadow() && _canvas->GetDropShadow() != nullptr) {
        SDL_Rect at{static_cast<Sint16>(GetScaledX() + _shadowX),
                    static_cast<Sint16>(GetScaledY() + _shadowY), 0, 0};
        SDL_UpperBlit(_canvas->GetDropShadow(), nullptr, canvas->GetSurface(), &at);
    }
    if (_scaledSurface != nullptr) {
        Rectangle to(static_cast<short>(GetScaledX()), static_cast<short>(GetScaledY()),
                     static_cast<short>(_scaledSurface->w), static_cast<short>(_scaledSurface->h));
        Rectangle from(0, 0, static_cast<short>(_scaledSurface->w),
                       static_cast<short>(_scaledSurface->h));
        canvas->Blit(to, _scaledSurface, from);
    } else {
        Rectangle bar = GetRect() - area;
        if (bar.IsEmpty()) {
            return;
        }
        canvas->SetClipRect(bar);
        Rectangle to = GetRect();
        canvas->Blit(to, *_canvas, whole);
    }
}
