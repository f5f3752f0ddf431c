#include "framework/stage/CastMemberText.h"

#include "SDL.h"
#include "framework/core/StringUtils.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Font.h"
#include "framework/media/TextSurface.h"
#include "framework/stage/ButtonListener.h"

#include <algorithm>

CastMemberText::CastMemberText(Cast* cast, const std::string& text, Font* font, const Color& color,
                               const Color& hoverColor, const Color& shadowColor, int minimumWidth,
                               int x, int y, int priority)
    : CastMember(cast, x, y, priority)
{
    SetName("CastMemberText");
    Init(text, font, color, hoverColor, shadowColor, minimumWidth);
}

CastMemberText::~CastMemberText() = default;

int CastMemberText::GetClassMemberType()
{
    return CastMember::kTextKind;
}

void CastMemberText::Init()
{
    _justification = 1;
    _shadowDist = 1;
    _font = nullptr;
    _ascent = 0;
    _buttonListener = nullptr;
    _extraShadow = false;
    _noShadow = false;
    _shownSurface = nullptr;
    _textSurface.reset();
    _hoverSurface.reset();
    _shadowSurface.reset();
}

void CastMemberText::Init(const std::string& text, Font* font, const Color& color,
                          const Color& hoverColor, const Color& shadowColor, int minimumWidth)
{
    Init();
    _text = text;
    _minimumWidth = std::max(minimumWidth, 1);
    _color = color;
    _hoverColor = hoverColor;
    _textShadowColor = shadowColor;
    SetFont(font);
    // A text with a hover colour of its own is a clickable label.
    if (_color != _hoverColor) {
        AllowInput(true);
        AllowClicks(true);
    }
}

// --- text and font ---

void CastMemberText::SetFont(Font* font)
{
    _font = font;
    _ascent = font != nullptr ? font->Ascent() : 0;
    SetText(_text);
}

Font* CastMemberText::GetFont()
{
    return _font;
}

void CastMemberText::SetText(const std::string& text)
{
    _text = text;
    _textSize = _font != nullptr ? _font->TextDim(text) : Dimension(0, 0);
    RefreshSurface2();
    RefreshSurface1();
    RefreshSurface1Hi();
    // The sprite takes the new text's size, so a longer text is neither cut nor left as trails
    // outside the repainted area.
    SizeToText();
    Repaint();
}

void CastMemberText::SetTextNumber(int value, bool grouped)
{
    SetText(grouped ? StringUtils::FormatNum(value) : std::to_string(value));
}

std::string CastMemberText::GetText()
{
    return _text;
}

void CastMemberText::SizeToText()
{
    const int w = std::max(_textSize.GetW(), _minimumWidth);
    const int h = _textSize.GetH() + _shadowDist + 1;
    if (w != GetW() || h != GetH()) {
        SetDimensions(w, h);
    }
}

std::unique_ptr<TextSurface> CastMemberText::Render(Color& color)
{
    auto surface = std::make_unique<TextSurface>(_text, _font, color, 255);
    // A new rendering of a faded text keeps the fade.
    if (_alpha != 255) {
        surface->SetAlpha(_alpha);
    }
    return surface;
}

void CastMemberText::RefreshSurface1()
{
    _textSurface = Render(_color);
    _shownSurface = _textSurface.get();
}

void CastMemberText::RefreshSurface1Hi()
{
    _hoverSurface = Render(_hoverColor);
    _shownSurface = _textSurface.get();
}

void CastMemberText::RefreshSurface2()
{
    _shadowSurface = Render(_textShadowColor);
}

// --- colours and layout ---

void CastMemberText::SetColor(const Color& color)
{
    _color = color;
    RefreshSurface1();
    Repaint();
}

void CastMemberText::SetColor2(const Color& color)
{
    _hoverColor = color;
    RefreshSurface1Hi();
    AllowInput(true);
    AllowClicks(true);
    Repaint();
}

void CastMemberText::SetColorBoth(const Color& color)
{
    _color = color;
    _hoverColor = color;
    RefreshSurface1();
    RefreshSurface1Hi();
    Repaint();
}

void CastMemberText::SetShadowColor(const Color& color)
{
    _textShadowColor = color;
    RefreshSurface2();
    Repaint();
}

void CastMemberText::SetExtraShadow(bool on)
{
    _extraShadow = on;
}

void CastMemberText::SetNoShadow(bool on)
{
    _noShadow = on;
}

void CastMemberText::SetShadowDist(int distance)
{
    _shadowDist = distance;
}

void CastMemberText::Justify(int justification)
{
    _justification = justification;
}

int CastMemberText::JustifyOffset()
{
    switch (_justification) {
    case 2:
        return (GetW() - _textSize.GetW()) / 2;
    case 3:
        return GetW() - _shadowDist - _textSize.GetW();
    default:
        return 0;
    }
}

// --- input ---

bool CastMemberText::HoverShown() const
{
    return _shownSurface != nullptr && _shownSurface == _hoverSurface.get();
}

void CastMemberText::ShowSurface(TextSurface* surface)
{
    if (_shownSurface != surface) {
        _shownSurface = surface;
        Repaint();
    }
}

void CastMemberText::OnMouseEnter(int /*x*/, int /*y*/)
{
    ShowSurface(_hoverSurface.get());
}

void CastMemberText::OnMouseDown(int /*x*/, int /*y*/, int /*button*/)
{
    ShowSurface(_hoverSurface.get());
}

void CastMemberText::OnMouseExit(int /*x*/, int /*y*/)
{
    ShowSurface(_textSurface.get());
}

void CastMemberText::OnMouseUp(int /*x*/, int /*y*/, int /*button*/)
{
    ShowSurface(_textSurface.get());
}

void CastMemberText::OnMouseOver(int /*x*/, int /*y*/, bool over)
{
    _shownSurface = over ? _hoverSurface.get() : _textSurface.get();
    Repaint();
}

void CastMemberText::SetButtonListener(ButtonListener* listener)
{
    _buttonListener = listener;
}

bool CastMemberText::Clicked(Receiver* /*receiver*/, int button)
{
    if (_buttonListener != nullptr) {
        _buttonListener->ButtonClicked(GetID(), button);
    }
    return false;
}

// --- alpha and painting ---

void CastMemberText::SetAlpha(int alpha)
{
    CastMember::SetAlpha(alpha);
    for (TextSurface* s : {_textSurface.get(), _hoverSurface.get(), _shadowSurface.get()}) {
        if (s != nullptr) {
            s->SetAlpha(_alpha);
        }
    }
    Repaint();
}

void CastMemberText::CheckDropShadow()
{
    if (!ShowDropShadow() || _shadowSurface == nullptr ||
        _shadowSurface->GetDropShadow() != nullptr) {
        return;
    }
    Color color = _shadowColor; // CreateDropShadow changes the alpha of the colour it is given
    _shadowSurface->CreateDropShadow(color, _shadowAlpha);
    _shadowSurface->SetAlpha(_alpha);
}

void CastMemberText::Paint(Canvas* canvas)
{
    if (canvas == nullptr || canvas->GetSurface() == nullptr) {
        return;
    }
    CheckDropShadow();
    const int offset = JustifyOffset();
    const int x = GetX();
    const int y = GetY();

    ClipScope clip(canvas);
    // Never outside the area the stage is repainting, so nothing in front is painted over.
    Rectangle area = GetTotalScreenRect() - clip.Saved();
    if (area.IsEmpty()) {
        return;
    }
    canvas->SetClipRect(area);

    if (ShowDropShadow() && _shadowSurface != nullptr &&
        _shadowSurface->GetDropShadow() != nullptr) {
        const Rectangle& place = _shadowSurface->DstRect();
        SDL_Rect at{static_cast<Sint16>(x + _shadowX + offset + place.GetX()),
                    static_cast<Sint16>(y + _shadowY + place.GetY()), 0, 0};
        SDL_UpperBlit(_shadowSurface->GetDropShadow(), nullptr, canvas->GetSurface(), &at);
    }
    if (!_noShadow && _shadowSurface != nullptr) {
        _shadowSurface->Blit(canvas, x + offset + _shadowDist, y + _shadowDist);
        if (_extraShadow) {
            _shadowSurface->Blit(canvas, x + offset + _shadowDist + 1, y + _shadowDist + 1);
        }
    }
    if (_shownSurface != nullptr) {
        _shownSurface->Blit(canvas, x + offset, y);
    }
}
