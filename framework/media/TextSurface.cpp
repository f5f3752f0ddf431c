#include "framework/media/TextSurface.h"

#include "SDL_ttf.h"
#include "framework/core/Application.h"
#include "framework/media/Canvas.h"
#include "framework/media/Font.h"

#include <algorithm>
#include <cstring>

namespace {

int ClampAlpha(int alpha)
{
    return std::clamp(alpha, 0, 255);
}

// Locks a surface for the length of a scope when SDL requires it.
class SurfaceLock
{
public:
    explicit SurfaceLock(SDL_Surface* s) : _surface(s)
    {
        if (SDL_MUSTLOCK(_surface)) {
            _locked = SDL_LockSurface(_surface) == 0;
        }
    }
    ~SurfaceLock()
    {
        if (_locked) {
            SDL_UnlockSurface(_surface);
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

private:
    SDL_Surface* _surface;
    bool _locked = false;
};

Uint32* Row(SDL_Surface* s, int y)
{
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
}

Uint32 AlphaOf(Uint32 pixel, const SDL_PixelFormat* format)
{
    return (pixel & format->Amask) >> format->Ashift;
}

// A new surface with the same flags, size, depth, masks and pixels; null when SDL cannot make it.
SDL_Surface* CopySurface(SDL_Surface* src)
{
    const SDL_PixelFormat* f = src->format;
    SDL_Surface* copy = SDL_CreateRGBSurface(src->flags, src->w, src->h, f->BitsPerPixel, f->Rmask,
                                             f->Gmask, f->Bmask, f->Amask);
    if (copy == nullptr) {
        return nullptr;
    }
    SurfaceLock lockSrc(src);
    SurfaceLock lockCopy(copy);
    const int rowBytes = src->w * f->BytesPerPixel;
    for (int y = 0; y < src->h; ++y) {
        std::memcpy(static_cast<Uint8*>(copy->pixels) + y * copy->pitch,
                    static_cast<const Uint8*>(src->pixels) + y * src->pitch, rowBytes);
    }
    return copy;
}

} // namespace

TextSurface::TextSurface(const std::string& text, Font* font, Color& color, int alpha)
{
    if (text.empty()) {
        DebugVar(1, "TextSurface called with empty string.");
        return;
    }
    TTF_Font* rawFont = font != nullptr ? font->GetRawFont() : nullptr;
    if (rawFont == nullptr) {
        DebugVar(-1, "TextSurface called without an open font for: %s", text.c_str());
        return;
    }
    _textSurfaceOrig = TTF_RenderText_Blended(rawFont, text.c_str(), color);
    if (_textSurfaceOrig == nullptr) {
        DebugVar(-1, "_textSurfaceOrig is NULL, GetError returns: %s", SDL_GetError());
        DebugFlush();
        return;
    }
    // The pixel loops below address 32-bit words with alpha in its own byte.
    if (_textSurfaceOrig->format->BytesPerPixel != 4 || _textSurfaceOrig->format->Amask == 0) {
        DebugVar(-1, "Text rendering is not 32 bits with alpha for: %s", text.c_str());
        SDL_FreeSurface(_textSurfaceOrig);
        _textSurfaceOrig = nullptr;
        return;
    }
    _surface = CopySurface(_textSurfaceOrig);
    if (_surface != nullptr) {
        _srcRect.Set(0, 0, static_cast<short>(_surface->w), static_cast<short>(_surface->h));
    }
    _dstRect = _srcRect;
    if (alpha < 255) {
        SetAlpha(alpha);
    }
    SetName("Text Surface");
}

TextSurface::~TextSurface()
{
    if (_surface != nullptr) {
        SDL_FreeSurface(_surface);
    }
    if (_textSurfaceOrig != nullptr) {
        SDL_FreeSurface(_textSurfaceOrig);
    }
    DeleteDropShadow();
}

SDL_Surface* TextSurface::GetSurface()
{
    return _surface;
}

Rectangle& TextSurface::SrcRect()
{
    return _srcRect;
}

Rectangle& TextSurface::DstRect()
{
    return _dstRect;
}

int TextSurface::GetW()
{
    return SrcRect().GetW();
}

int TextSurface::GetH()
{
    return SrcRect().GetH();
}

bool TextSurface::Blit(Canvas* c, int x, int y)
{
    if (c == nullptr || _surface == nullptr) {
        return false;
    }
    _dstRect.Offset(static_cast<short>(x), static_cast<short>(y));
    const bool ok = c->Blit(_dstRect, _surface, _srcRect);
    _dstRect.Offset(static_cast<short>(-x), static_cast<short>(-y));
    return ok;
}

void TextSurface::SetAlpha(int alpha)
{
    alpha = ClampAlpha(alpha);
    if (alpha == _alpha) {
        return;
    }
    _alpha = alpha;
    if (_textSurfaceOrig == nullptr) {
        return;
    }
    const SDL_PixelFormat* orig = _textSurfaceOrig->format;
    SurfaceLock lockOrig(_textSurfaceOrig);

    if (_dropShadow != nullptr) {
        // The shadow covers exactly the rendered pixels; choosing them from the rendering keeps
        // a shadow in the key's own colour (white) fading with the text.
        const Uint32 shadowAlpha = static_cast<Uint32>(_dropShadowAlpha * alpha / 255);
        const SDL_PixelFormat* sf = _dropShadow->format;
        SurfaceLock lockShadow(_dropShadow);
        for (int y = 0; y < _dropShadow->h; ++y) {
            const Uint32* src = Row(_textSurfaceOrig, y);
            Uint32* dst = Row(_dropShadow, y);
            for (int x = 0; x < _dropShadow->w; ++x) {
                if (AlphaOf(src[x], orig) != 0) {
                    dst[x] = (dst[x] & ~sf->Amask) | (shadowAlpha << sf->Ashift);
                }
            }
        }
    }

    if (_surface == nullptr) {
        return;
    }
    SurfaceLock lockSurface(_surface);
    for (int y = 0; y < _textSurfaceOrig->h; ++y) {
        const Uint32* src = Row(_textSurfaceOrig, y);
        Uint32* dst = Row(_surface, y);
        for (int x = 0; x < _textSurfaceOrig->w; ++x) {
            const Uint32 rendered = AlphaOf(src[x], orig);
            if (rendered > 0) {
                const Uint32 scaled = rendered * static_cast<Uint32>(alpha) / 255;
                dst[x] = (src[x] & ~orig->Amask) | (scaled << orig->Ashift);
            }
        }
    }
}

Color TextSurface::GetColorKey()
{
    if (_textSurfaceOrig == nullptr) {
        return Color(0, 0, 0, 255);
    }
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(_textSurfaceOrig->format->colorkey, _textSurfaceOrig->format, &r, &g, &b);
    return Color(r, g, b, 255);
}

void TextSurface::DeleteDropShadow()
{
    if (_dropShadow != nullptr) {
        SDL_FreeSurface(_dropShadow);
        _dropShadow = nullptr;
    }
}

SDL_Surface* TextSurface::CreateDropShadow(Color& color, int alpha)
{
    if (_textSurfaceOrig == nullptr || _surface == nullptr) {
        return nullptr;
    }
    DeleteDropShadow();
    if (!Application::DropShadowsAllowed()) {
        return nullptr;
    }
    alpha = ClampAlpha(alpha);
    _dropShadowAlpha = alpha;
    color.SetA(static_cast<unsigned char>(alpha));

    SDL_PixelFormat* orig = _textSurfaceOrig->format;
    SDL_Surface* shadow = SDL_CreateRGBSurface(0, GetW(), GetH(), orig->BitsPerPixel, orig->Rmask,
                                               orig->Gmask, orig->Bmask, 0xFF000000u);
    if (shadow == nullptr) {
        return nullptr;
    }
    const Uint32 colorPixel = SDL_MapRGBA(orig, color.GetR(), color.GetG(), color.GetB(), 0);
    _shadowKeyPixel = SDL_MapRGBA(orig, 255, 255, 255, 0);
    // Made while the text may already be faded: the shadow takes the same share of its alpha
    // that SetAlpha would give it.
    const Uint32 shadowAlpha = static_cast<Uint32>(alpha * _alpha / 255);
    const SDL_PixelFormat* sf = shadow->format;
    {
        SurfaceLock lockOrig(_textSurfaceOrig);
        SurfaceLock lockShadow(shadow);
        const int w = std::min(shadow->w, _textSurfaceOrig->w);
        const int h = std::min(shadow->h, _textSurfaceOrig->h);
        for (int y = 0; y < h; ++y) {
            const Uint32* src = Row(_textSurfaceOrig, y);
            Uint32* dst = Row(shadow, y);
            for (int x = 0; x < w; ++x) {
                dst[x] = AlphaOf(src[x], orig) != 0
                             ? (colorPixel & ~sf->Amask) | (shadowAlpha << sf->Ashift)
                             : _shadowKeyPixel;
            }
        }
    }
    _dropShadow = shadow;
    return _dropShadow;
}
