#include "framework/media/Canvas.h"

#include "framework/core/Application.h"
#include "framework/core/DebugLifetime.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <list>

namespace {

struct PixelFormats
{
    SDL_PixelFormat* defaultFormat = nullptr; // the caller's; replaced on a screen change
    SDL_PixelFormat copy32{};                 // first format ever given, copied whole
    bool has32 = false;
};

PixelFormats& Formats()
{
    static PixelFormats formats;
    return formats;
}

SDL_mutex* CanvasMutex()
{
    // SDL 1.2 mutexes are recursive, so the screen-mode change may set the default format while
    // it holds the lock.
    static SDL_mutex* mutex = SDL_CreateMutex();
    return mutex;
}

// Made when the library loads, before any loading thread can race for it.
const bool kMutexReady = CanvasMutex() != nullptr;

std::atomic<int>& CanvasDebugLevel()
{
    static std::atomic<int> level{0};
    return level;
}

// The longest side a canvas may have. SDL 1.2 keeps a row's length in bytes and a clipping
// rectangle's size in 16 bits: it makes a surface of negative width with no pixels and a clip
// rectangle 65 531 wide, into which a blit writes wherever it is told.
constexpr int kMostSide = 16383;

// Whether SDL can be asked for a surface of w x h; says so in log when not.
bool SizeFits(Debug& log, int w, int h)
{
    if (w >= 0 && h >= 0 && w <= kMostSide && h <= kMostSide) {
        return true;
    }
    log.DebugVar(-1, "Canvas of %d x %d refused: a side is negative or over %d", w, h, kMostSide);
    return false;
}

Uint32 RgbMask(const SDL_PixelFormat* f)
{
    return f->Rmask | f->Gmask | f->Bmask;
}

// Uses a 32-bit format of the screen's kind when none was recorded yet.
void Masks32(Uint32& r, Uint32& g, Uint32& b, Uint32& a)
{
    const SDL_PixelFormat* f = Canvas::Get32PixelFormat();
    if (f != nullptr && f->BitsPerPixel == 32) {
        r = f->Rmask;
        g = f->Gmask;
        b = f->Bmask;
        a = f->Amask;
        return;
    }
    r = 0x00FF0000;
    g = 0x0000FF00;
    b = 0x000000FF;
    a = 0;
}

// Pixel values of 1 to 4 bytes; memcpy keeps the access free of alignment assumptions.
inline Uint32 ReadPixel(const Uint8* p, int bpp)
{
    switch (bpp) {
    case 1:
        return *p;
    case 2: {
        Uint16 v;
        std::memcpy(&v, p, 2);
        return v;
    }
    case 3:
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
        return static_cast<Uint32>(p[0]) << 16 | static_cast<Uint32>(p[1]) << 8 | p[2];
#else
        return p[0] | static_cast<Uint32>(p[1]) << 8 | static_cast<Uint32>(p[2]) << 16;
#endif
    default: {
        Uint32 v;
        std::memcpy(&v, p, 4);
        return v;
    }
    }
}

inline void WritePixel(Uint8* p, int bpp, Uint32 v)
{
    switch (bpp) {
    case 1:
        *p = static_cast<Uint8>(v);
        break;
    case 2: {
        const auto v16 = static_cast<Uint16>(v);
        std::memcpy(p, &v16, 2);
        break;
    }
    case 3:
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
        p[0] = static_cast<Uint8>(v >> 16);
        p[1] = static_cast<Uint8>(v >> 8);
        p[2] = static_cast<Uint8>(v);
#else
        p[0] = static_cast<Uint8>(v);
        p[1] = static_cast<Uint8>(v >> 8);
        p[2] = static_cast<Uint8>(v >> 16);
#endif
        break;
    default:
        std::memcpy(p, &v, 4);
        break;
    }
}

} // namespace

Canvas::Canvas(SDL_Surface* s) : Debug("Canvas")
{
    CanvasDebugLevel() = DebugLifetime::SetDebugLevel("Canvas", this, CanvasDebugLevel());
    Init(s);
}

Canvas::Canvas(std::string file, SDL_PixelFormat* format) : Debug("Canvas")
{
    CanvasDebugLevel() = DebugLifetime::SetDebugLevel("Canvas", this, CanvasDebugLevel());
    if (file.empty()) {
        Init(nullptr);
        return;
    }
    SDL_Surface* s = IsPerPixelMarker(format) ? LoadImgToSurface(file)
                                              : LoadImgCompatibleToSurface(file, format);
    Init(s);
}

Canvas::Canvas(int w, int h, SDL_PixelFormat* format) : Debug("Canvas")
{
    CanvasDebugLevel() = DebugLifetime::SetDebugLevel("Canvas", this, CanvasDebugLevel());
    if (!SizeFits(*this, w, h)) {
        Init(nullptr);
        return;
    }
    SDL_Surface* s = nullptr;
    if (format != nullptr && !IsPerPixelMarker(format)) {
        s = SDL_CreateRGBSurface(0, w, h, format->BitsPerPixel, format->Rmask, format->Gmask,
                                 format->Bmask, format->Amask);
    } else {
        // The default format belongs to the screen and may be replaced meanwhile.
        LockAll();
        const SDL_PixelFormat* f = Formats().defaultFormat;
        if (f != nullptr) {
            s = SDL_CreateRGBSurface(0, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask,
                                     f->Amask);
        }
        UnlockAll();
        if (f == nullptr) {
            Uint32 r, g, b, a;
            Masks32(r, g, b, a);
            s = SDL_CreateRGBSurface(0, w, h, 32, r, g, b, a);
        }
    }
    Init(s);
}

Canvas::~Canvas()
{
    if (_surface != nullptr) {
        SDL_FreeSurface(_surface);
    }
    if (_dropShadow != nullptr) {
        SDL_FreeSurface(_dropShadow);
    }
    _surface32.reset();
    for (Rectangle* r : _dirtyRects) {
        delete r;
    }
    _dirtyRects.clear();
}

void Canvas::ResetFields()
{
    DeleteDropShadow();
    _dropShadowSource = nullptr;
    _surface32.reset();
    _hasColorKey = false;
    _colorKey = 0;
    _perPixelAlpha = 255;
    _surfaceAlpha = 255;
    SetName("Canvas");
}

void Canvas::Init(SDL_Surface* s)
{
    ResetFields();
    SetSurface(s);
    _loaded = s != nullptr;
}

void Canvas::SetLoaded(bool loaded)
{
    _loaded = loaded;
}

void Canvas::DeleteDropShadow()
{
    if (_dropShadow != nullptr) {
        SDL_FreeSurface(_dropShadow);
        _dropShadow = nullptr;
    }
}

void Canvas::SetDropShadowSourceSurface(SDL_Surface* s)
{
    _dropShadowSource = s;
}

SDL_Surface* Canvas::GetSurface()
{
    return _surface;
}

void Canvas::SetSurface(SDL_Surface* s)
{
    _surface = s;
    ClearDirtyRects();
}

bool Canvas::Lock(SDL_Surface* s)
{
    if (s != nullptr && SDL_MUSTLOCK(s)) {
        return SDL_LockSurface(s) == 0;
    }
    return false;
}

bool Canvas::Lock()
{
    return Lock(_surface);
}

void Canvas::Unlock(SDL_Surface* s)
{
    if (s != nullptr && SDL_MUSTLOCK(s)) {
        SDL_UnlockSurface(s);
    }
}

void Canvas::Unlock()
{
    Unlock(_surface);
}

Color Canvas::GetPixel(SDL_Surface* s, int x, int y)
{
    if (s == nullptr || s->pixels == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) {
        return Color(0, 0, 0, 0);
    }
    const int bpp = s->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * bpp;
    Uint8 r, g, b, a;
    SDL_GetRGBA(ReadPixel(p, bpp), s->format, &r, &g, &b, &a);
    return Color(r, g, b, a);
}

Color Canvas::GetPixel(int x, int y)
{
    return GetPixel(_surface, x, y);
}

void Canvas::SetPixel(SDL_Surface* s, int x, int y, const Color& c)
{
    if (s == nullptr || s->pixels == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) {
        return;
    }
    const int bpp = s->format->BytesPerPixel;
    Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * bpp;
    WritePixel(p, bpp, SDL_MapRGBA(s->format, c.GetR(), c.GetG(), c.GetB(), c.GetA()));
}

void Canvas::SetPixel(int x, int y, const Color& c)
{
    SetPixel(_surface, x, y, c);
}

Color Canvas::MatchColor(Color& c)
{
    if (_surface != nullptr) {
        const Uint32 pixel = SDL_MapRGB(_surface->format, c.GetR(), c.GetG(), c.GetB());
        SDL_GetRGB(pixel, _surface->format, &c.R(), &c.G(), &c.B());
    }
    return c;
}

int Canvas::GetW()
{
    return _surface != nullptr ? _surface->w : 0;
}

int Canvas::GetH()
{
    return _surface != nullptr ? _surface->h : 0;
}

bool Canvas::AddDirtyRect(Rectangle* r)
{
    if (r == nullptr) {
        return false;
    }
    // A negative corner is folded into the size, also when nothing is left on screen, so an
    // area wholly left of or above the screen is refused instead of kept.
    int x = r->GetX();
    int y = r->GetY();
    int w = r->GetW();
    int h = r->GetH();
    if (x < 0 || y < 0) {
        if (x < 0) {
            w += x;
            x = 0;
        }
        if (y < 0) {
            h += y;
            y = 0;
        }
        r->Set(static_cast<short>(x), static_cast<short>(y), static_cast<short>(std::max(w, 0)),
               static_cast<short>(std::max(h, 0)));
    }
    if (r->GetW() < 1 || r->GetH() < 1) {
        return false;
    }
    _dirtyRects.push_back(r);
    return true;
}

bool Canvas::AddDirtyRect(short x, short y, short w, short h)
{
    auto* r = new Rectangle(x, y, w, h);
    if (!AddDirtyRect(r)) {
        delete r;
        return false;
    }
    return true;
}

void Canvas::ClearDirtyRects()
{
    while (!_dirtyRects.empty()) {
        delete _dirtyRects.front();
        _dirtyRects.pop_front();
    }
}

void Canvas::ClearDirtyRect(Rectangle* r, bool deleteIt)
{
    auto it = std::find(_dirtyRects.begin(), _dirtyRects.end(), r);
    if (it == _dirtyRects.end()) {
        return;
    }
    _dirtyRects.erase(it);
    if (deleteIt) {
        delete r;
    }
}

void Canvas::MergeDirtyRects()
{
    // Walks a copy, as ClearDirtyRect takes the merged entries out of the list itself.
    std::list<Rectangle*> rects = GetDirtyRects();
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto i = rects.begin(); i != rects.end() && !merged; ++i) {
            for (auto j = std::next(i); j != rects.end(); ++j) {
                if (Rectangle::Intersects(**i, **j)) {
                    (*i)->Union(**j);
                    Rectangle* gone = *j;
                    rects.erase(j);
                    ClearDirtyRect(gone, true);
                    merged = true;
                    break;
                }
            }
        }
    }
}

void Canvas::UpdateRects()
{
    // SDL updates only the screen; it must not be asked about other surfaces while no video
    // mode is set.
    const bool isScreen = _surface != nullptr && _surface == SDL_GetVideoSurface();
    const int W = GetW();
    const int H = GetH();
    for (Rectangle* r : _dirtyRects) {
        if (r == nullptr) {
            if (isScreen) {
                SDL_UpdateRect(_surface, 0, 0, W, H);
            }
            break;
        }
        if (W < 1 || H < 1) {
            continue;
        }
        int x = std::clamp<int>(r->GetX(), 0, W - 1);
        int y = std::clamp<int>(r->GetY(), 0, H - 1);
        int w = r->GetW();
        int h = r->GetH();
        if (x + w >= W) {
            w = W - x;
        }
        if (y + h >= H) {
            h = H - y;
        }
        r->Set(static_cast<short>(x), static_cast<short>(y), static_cast<short>(w),
               static_cast<short>(h));
        if (isScreen && w > 0 && h > 0) {
            SDL_UpdateRect(_surface, x, y, w, h);
        }
    }
    ClearDirtyRects();
}

bool Canvas::Flip()
{
    if (_surface == nullptr || SDL_GetVideoSurface() == nullptr) {
        return false;
    }
    return SDL_Flip(_surface) == 0;
}

bool Canvas::SetColorKey(const Color& c, bool useRLE)
{
    if (_surface == nullptr) {
        return false;
    }
    _colorKey = SDL_MapRGB(_surface->format, c.GetR(), c.GetG(), c.GetB());
    _hasColorKey = true;
    const Uint32 flags = SDL_SRCCOLORKEY | (useRLE ? SDL_RLEACCEL : 0);
    return SDL_SetColorKey(_surface, flags, _colorKey) == 0;
}

Color Canvas::GetColorKey()
{
    if (_surface == nullptr) {
        return Color(0, 0, 0, 255);
    }
    const Uint32 key = _hasColorKey ? _colorKey : _surface->format->colorkey;
    Uint8 r, g, b;
    SDL_GetRGB(key, _surface->format, &r, &g, &b);
    return Color(r, g, b, 255);
}

bool Canvas::ClearColorKey()
{
    _hasColorKey = false;
    if (_surface == nullptr) {
        return false;
    }
    return SDL_SetColorKey(_surface, 0, 0) == 0;
}

void Canvas::UseTransparency(bool transparent, bool useRLE)
{
    if (!transparent) {
        ClearColorKey();
        return;
    }
    Lock();
    const Color c = GetPixel(0, 0);
    Unlock();
    SetColorKey(c, useRLE);
}

void Canvas::UseTransparency(const Color& key, bool useRLE)
{
    Lock();
    SetColorKey(key, useRLE);
    Unlock();
}

void Canvas::SetClipRect(Rectangle& r)
{
    SetClipRect(&r);
}

void Canvas::SetClipRect(Rectangle* r)
{
    if (_surface == nullptr) {
        return;
    }
    SDL_SetClipRect(_surface, r != nullptr ? r->SdlRect() : nullptr);
}

Rectangle Canvas::GetClipRect()
{
    if (_surface == nullptr) {
        return Rectangle();
    }
    return Rectangle(_surface->clip_rect);
}

bool Canvas::FillRect(Rectangle& r, const Color& c)
{
    if (_surface == nullptr) {
        return false;
    }
    return SDL_FillRect(_surface, r.SdlRect(),
                        SDL_MapRGB(_surface->format, c.GetR(), c.GetG(), c.GetB())) == 0;
}

void Canvas::DrawRect(Rectangle& r, const Color& c)
{
    if (_surface == nullptr) {
        return;
    }
    const Uint32 pixel = SDL_MapRGBA(_surface->format, c.GetR(), c.GetG(), c.GetB(), c.GetA());
    const bool locked = Lock();
    if (SDL_MUSTLOCK(_surface) && !locked) {
        return;
    }
    const int W = _surface->w;
    const int H = _surface->h;
    const int bpp = _surface->format->BytesPerPixel;
    auto* pixels = static_cast<Uint8*>(_surface->pixels);
    const int left = r.GetX();
    const int right = r.GetX() + r.GetW() - 1;
    const int top = r.GetY();
    const int bottom = r.GetY() + r.GetH() - 1;
    for (int y = std::max(top, 0); y <= bottom && y < H; ++y) {
        Uint8* row = pixels + y * _surface->pitch;
        if (y == top || y == bottom) {
            for (int x = std::max(left, 0); x <= right && x < W; ++x) {
                WritePixel(row + x * bpp, bpp, pixel);
            }
            continue;
        }
        if (left >= 0 && left < W) {
            WritePixel(row + left * bpp, bpp, pixel);
        }
        if (right >= 0 && right < W) {
            WritePixel(row + right * bpp, bpp, pixel);
        }
    }
    Unlock();
}

bool Canvas::Clear(const Color& c)
{
    if (_surface == nullptr) {
        return false;
    }
    return SDL_FillRect(_surface, nullptr,
                        SDL_MapRGB(_surface->format, c.GetR(), c.GetG(), c.GetB())) == 0;
}

bool Canvas::Blit(SDL_Surface* src, int x, int y)
{
    if (src == nullptr || _surface == nullptr) {
        return false;
    }
    SDL_Rect dst{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(src->w),
                 static_cast<Uint16>(src->h)};
    return SDL_UpperBlit(src, nullptr, _surface, &dst) == 0;
}

bool Canvas::Blit(Canvas& src, int x, int y)
{
    return Blit(src.GetSurface(), x, y);
}

bool Canvas::Blit(Rectangle& dst, SDL_Surface* src, Rectangle& srcRect)
{
    if (src == nullptr || _surface == nullptr) {
        return false;
    }
    return SDL_UpperBlit(src, srcRect.SdlRect(), _surface, dst.SdlRect()) == 0;
}

bool Canvas::Blit(Rectangle& dst, Canvas& src, Rectangle& srcRect)
{
    return Blit(dst, src.GetSurface(), srcRect);
}

SDL_Surface* Canvas::CreateDropShadow(Color& color, int alpha, int dx, int dy)
{
    if (dx == 0 && dy == 0) {
        return nullptr;
    }
    DeleteDropShadow();
    if (!Application::DropShadowsAllowed()) {
        return nullptr;
    }
    SDL_Surface* src = _dropShadowSource != nullptr ? _dropShadowSource : _surface;
    if (src == nullptr) {
        return nullptr;
    }
    if (src->format->Amask != 0) {
        DebugVar(-1, "Calling CreateDropShadow on a per-pixel alpha image is not useful or "
                     "allowed.");
        return nullptr;
    }
    _dropShadowAlpha = alpha;
    _dropShadowColor = color;
    _dropShadowDx = dx;
    _dropShadowDy = dy;
    color.SetA(static_cast<unsigned char>(alpha));
    if (_surface != nullptr && _surface->format->BitsPerPixel == 16) {
        return CreateDropShadow16(color, alpha, dx, dy);
    }

    // The shadow keeps the source's colour masks when it can, with alpha in the top byte.
    const SDL_PixelFormat* sf = src->format;
    SDL_Surface* shadow = sf->BitsPerPixel == 32
                              ? SDL_CreateRGBSurface(0, src->w, src->h, 32, sf->Rmask, sf->Gmask,
                                                     sf->Bmask, 0xFF000000)
                              : SDL_CreateRGBSurface(0, src->w, src->h, 32, 0x00FF0000, 0x0000FF00,
                                                     0x000000FF, 0xFF000000);
    if (shadow == nullptr) {
        return nullptr;
    }
    const SDL_PixelFormat* hf = shadow->format;
    // SDL_MapRGB sets the alpha bits of a format with alpha: keep only the colour bits.
    const Uint32 shadowRgb =
        SDL_MapRGB(shadow->format, color.GetR(), color.GetG(), color.GetB()) & ~hf->Amask;
    const Uint32 shadowPixel =
        shadowRgb | ((static_cast<Uint32>(alpha & 0xFF) << hf->Ashift) & hf->Amask);
    _shadowClearPixel = SDL_MapRGB(shadow->format, 255, 255, 255) & ~hf->Amask;

    const bool useKey = _hasColorKey;
    const Uint32 srcRgb = RgbMask(sf);
    const Uint32 key = _colorKey & srcRgb;
    const int W = src->w;
    const int H = src->h;

    const bool shadowLocked = Lock(shadow);
    const bool srcLocked = Lock(src);
    if ((SDL_MUSTLOCK(shadow) && !shadowLocked) || (SDL_MUSTLOCK(src) && !srcLocked)) {
        if (srcLocked) {
            Unlock(src);
        }
        if (shadowLocked) {
            Unlock(shadow);
        }
        SDL_FreeSurface(shadow);
        return nullptr;
    }
    const int sbpp = sf->BytesPerPixel;
    const auto* srcPixels = static_cast<const Uint8*>(src->pixels);
    auto isKey = [&](int x, int y) {
        return (ReadPixel(srcPixels + y * src->pitch + x * sbpp, sbpp) & srcRgb) == key;
    };
    for (int y = 0; y < H; ++y) {
        auto* out =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(shadow->pixels) + y * shadow->pitch);
        const int sy = y + dy;
        const bool rowInside = sy >= 0 && sy < H;
        for (int x = 0; x < W; ++x) {
            const int sx = x + dx;
            const bool inside = rowInside && sx >= 0 && sx < W;
            Uint32 value;
            if (!useKey) {
                value = inside ? _shadowClearPixel : shadowPixel;
            } else if (isKey(x, y)) {
                value = _shadowClearPixel;
            } else if (!inside || isKey(sx, sy)) {
                value = shadowPixel;
            } else {
                value = _shadowClearPixel;
            }
            out[x] = value;
        }
    }
    Unlock(src);
    Unlock(shadow);
    // Transparency comes from the alpha channel; RLE only speeds up its blits.
    SDL_SetColorKey(shadow, SDL_RLEACCEL, 0);
    _dropShadow = shadow;
    return _dropShadow;
}

SDL_Surface* Canvas::CreateDropShadow16(Color& /*color*/, int /*alpha*/, int /*dx*/, int /*dy*/)
{
    if (_surface == nullptr || _surface->format->BitsPerPixel != 16) {
        return nullptr;
    }
    const SDL_PixelFormat* f = _surface->format;
    SDL_Surface* shadow =
        SDL_CreateRGBSurface(0, _surface->w, _surface->h, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    if (shadow == nullptr) {
        return nullptr;
    }
    const bool surfaceLocked = Lock();
    const bool shadowLocked = Lock(shadow);
    if ((SDL_MUSTLOCK(_surface) && !surfaceLocked) || (SDL_MUSTLOCK(shadow) && !shadowLocked)) {
        if (shadowLocked) {
            Unlock(shadow);
        }
        if (surfaceLocked) {
            Unlock();
        }
        SDL_FreeSurface(shadow);
        return nullptr;
    }
    const auto* in = static_cast<const Uint8*>(_surface->pixels);
    const Uint16 key = (_surface->w > 0 && _surface->h > 0) ? static_cast<Uint16>(ReadPixel(in, 2))
                                                            : static_cast<Uint16>(0);
    _shadowClearPixel = SDL_MapRGB(_surface->format, 255, 255, 255);
    for (int y = 0; y < _surface->h; ++y) {
        const auto* src = reinterpret_cast<const Uint16*>(in + y * _surface->pitch);
        auto* out =
            reinterpret_cast<Uint16*>(static_cast<Uint8*>(shadow->pixels) + y * shadow->pitch);
        for (int x = 0; x < _surface->w; ++x) {
            out[x] = src[x] == key ? key : 0;
        }
    }
    SDL_SetColorKey(shadow, SDL_SRCCOLORKEY, key);
    SDL_SetAlpha(shadow, SDL_SRCALPHA, 128);
    Unlock(shadow);
    Unlock();
    DeleteDropShadow();
    _dropShadow = shadow;
    return _dropShadow;
}

SDL_Surface* Canvas::GetDropShadow()
{
    return _dropShadow;
}

int Canvas::GetDropShadowAlpha()
{
    return _dropShadowAlpha;
}

bool Canvas::DropShadowMadeWith(const Color& color, int alpha, int dx, int dy) const
{
    return _dropShadow != nullptr && alpha == _dropShadowAlpha && dx == _dropShadowDx &&
           dy == _dropShadowDy && color.GetR() == _dropShadowColor.GetR() &&
           color.GetG() == _dropShadowColor.GetG() && color.GetB() == _dropShadowColor.GetB();
}

void Canvas::SetAlpha(int alpha)
{
    if (_surface == nullptr) {
        return;
    }
    _surfaceAlpha = alpha;
    const Uint32 flags = SDL_SRCALPHA | (_surface->flags & SDL_RLEACCEL ? SDL_RLEACCEL : 0);
    SDL_SetAlpha(_surface, flags, static_cast<Uint8>(alpha));
    if (_dropShadow == nullptr) {
        return;
    }
    const int shadowAlpha = _dropShadowAlpha * alpha / 255;
    if (_surface->format->BitsPerPixel == 16) {
        SDL_SetAlpha(_dropShadow, flags, static_cast<Uint8>(shadowAlpha));
    }
    const SDL_PixelFormat* f = _dropShadow->format;
    if (f->BitsPerPixel == 16 || f->Amask == 0) {
        return;
    }
    const bool locked = Lock(_dropShadow);
    if (SDL_MUSTLOCK(_dropShadow) && !locked) {
        return;
    }
    const Uint32 rgb = RgbMask(f);
    const Uint32 clear = _shadowClearPixel & rgb;
    const Uint32 alphaBits = (static_cast<Uint32>(shadowAlpha & 0xFF) << f->Ashift) & f->Amask;
    const int bpp = f->BytesPerPixel;
    for (int y = 0; y < _dropShadow->h; ++y) {
        Uint8* p = static_cast<Uint8*>(_dropShadow->pixels) + y * _dropShadow->pitch;
        for (int x = 0; x < _dropShadow->w; ++x, p += bpp) {
            const Uint32 v = ReadPixel(p, bpp);
            if ((v & rgb) != clear) {
                WritePixel(p, bpp, (v & ~f->Amask) | alphaBits);
            }
        }
    }
    Unlock(_dropShadow);
}

void Canvas::SetPerPixelAlpha(int alpha)
{
    _perPixelAlpha = alpha;
}

void Canvas::TransformPerPixelAlpha(Canvas* c)
{
    if (c == nullptr || c->_surface == nullptr) {
        return;
    }
    const int p = c->_perPixelAlpha;
    SDL_Surface* s = c->_surface;
    const SDL_PixelFormat* f = s->format;
    if (p < 0 || p > 254 || f->Amask == 0) {
        return;
    }
    const bool locked = Lock(s);
    if (SDL_MUSTLOCK(s) && !locked) {
        return;
    }
    const int bpp = f->BytesPerPixel;
    const Uint32 amask = f->Amask;
    const int ashift = f->Ashift;
    for (int y = 0; y < s->h; ++y) {
        Uint8* row = static_cast<Uint8*>(s->pixels) + y * s->pitch;
        if (bpp == 4) {
            auto* px = reinterpret_cast<Uint32*>(row);
            for (int x = 0; x < s->w; ++x) {
                const Uint32 v = px[x];
                const Uint32 a = (v & amask) >> ashift;
                if (a > 0) {
                    px[x] = (v & ~amask) | (((a * p / 255) << ashift) & amask);
                }
            }
            continue;
        }
        for (int x = 0; x < s->w; ++x) {
            Uint8* q = row + x * bpp;
            const Uint32 v = ReadPixel(q, bpp);
            const Uint32 a = (v & amask) >> ashift;
            if (a > 0) {
                WritePixel(q, bpp, (v & ~amask) | (((a * p / 255) << ashift) & amask));
            }
        }
    }
    Unlock(s);
}

bool Canvas::CopyFrame(SDL_Rect* rect, Canvas* dst, bool mirrorH, bool mirrorV)
{
    if (!mirrorH && !mirrorV) {
        return CopyFrameNoMirror(rect, dst);
    }
    return CopyPixels(rect, dst, mirrorH, mirrorV);
}

bool Canvas::CopyFrameNoMirror(SDL_Rect* rect, Canvas* dst)
{
    return CopyPixels(rect, dst, false, false);
}

bool Canvas::CopyPixels(SDL_Rect* rect, Canvas* dst, bool mirrorH, bool mirrorV)
{
    if (rect == nullptr || dst == nullptr || _surface == nullptr || dst->_surface == nullptr ||
        dst->_surface == _surface) {
        return false;
    }
    SDL_Surface* in = _surface;
    SDL_Surface* out = dst->_surface;

    // The frame occupies fw x fh pixels of the target from (0, 0); mirroring turns it within
    // that area. Only source pixels inside the source and target pixels inside the target are
    // touched.
    const int fw = std::min<int>(rect->w, out->w);
    const int fh = std::min<int>(rect->h, out->h);
    const int i0 = std::max(0, -rect->x);
    const int i1 = std::min(fw, in->w - rect->x);
    const int j0 = std::max(0, -rect->y);
    const int j1 = std::min(fh, in->h - rect->y);
    if (i1 <= i0 || j1 <= j0) {
        return false;
    }

    const bool outLocked = Lock(out);
    if (SDL_MUSTLOCK(out) && !outLocked) {
        return false;
    }
    const bool inLocked = Lock(in);
    if (SDL_MUSTLOCK(in) && !inLocked) {
        Unlock(out);
        return false;
    }

    const SDL_PixelFormat* sf = in->format;
    const SDL_PixelFormat* df = out->format;
    bool sameFormat = sf->BytesPerPixel == df->BytesPerPixel && sf->Rmask == df->Rmask &&
                      sf->Gmask == df->Gmask && sf->Bmask == df->Bmask && sf->Amask == df->Amask;
    if (sameFormat && sf->BitsPerPixel <= 8) {
        // Colour indexes copy raw only between equal palettes.
        const SDL_Palette* sp = sf->palette;
        const SDL_Palette* dp = df->palette;
        sameFormat = sp != nullptr && dp != nullptr && sp->ncolors == dp->ncolors &&
                     std::memcmp(sp->colors, dp->colors, sizeof(SDL_Color) * sp->ncolors) == 0;
    }

    // A source in another format is converted first (colour key and alpha left out, so the
    // copy stays raw); the copy below then reads the converted pixels from (0, 0).
    SDL_Surface* converted = nullptr;
    const Uint8* srcBase = nullptr;
    int srcPitch = 0;
    int srcX = 0;
    int srcY = 0;
    if (sameFormat) {
        srcBase = static_cast<const Uint8*>(in->pixels);
        srcPitch = in->pitch;
        srcX = rect->x;
        srcY = rect->y;
    } else if (sf->BitsPerPixel > 8 && df->BitsPerPixel > 8) {
        Uint8* first = static_cast<Uint8*>(in->pixels) + (rect->y + j0) * in->pitch +
                       (rect->x + i0) * sf->BytesPerPixel;
        SDL_Surface* view =
            SDL_CreateRGBSurfaceFrom(first, i1 - i0, j1 - j0, sf->BitsPerPixel, in->pitch,
                                     sf->Rmask, sf->Gmask, sf->Bmask, sf->Amask);
        if (view != nullptr) {
            converted = SDL_ConvertSurface(view, out->format, SDL_SWSURFACE);
            SDL_FreeSurface(view);
        }
        if (converted != nullptr) {
            srcBase = static_cast<const Uint8*>(converted->pixels);
            srcPitch = converted->pitch;
            srcX = -i0;
            srcY = -j0;
        }
    }
    if (srcBase == nullptr) {
        Unlock(in);
        Unlock(out);
        if (converted != nullptr) {
            SDL_FreeSurface(converted);
        }
        return false;
    }

    const int bpp = df->BytesPerPixel;
    auto* outBase = static_cast<Uint8*>(out->pixels);
    for (int j = j0; j < j1; ++j) {
        const Uint8* s = srcBase + (srcY + j) * srcPitch + (srcX + i0) * bpp;
        const int dy = mirrorV ? fh - 1 - j : j;
        Uint8* d = outBase + dy * out->pitch;
        if (!mirrorH) {
            std::memcpy(d + i0 * bpp, s, static_cast<size_t>(i1 - i0) * bpp);
            continue;
        }
        if (bpp == 4) {
            auto* d32 = reinterpret_cast<Uint32*>(d);
            const auto* s32 = reinterpret_cast<const Uint32*>(s);
            for (int i = i0; i < i1; ++i) {
                d32[fw - 1 - i] = s32[i - i0];
            }
            continue;
        }
        for (int i = i0; i < i1; ++i) {
            std::memcpy(d + (fw - 1 - i) * bpp, s + (i - i0) * bpp, bpp);
        }
    }
    if (converted != nullptr) {
        SDL_FreeSurface(converted);
    }
    if (dst->_perPixelAlpha != 255) {
        TransformPerPixelAlpha(dst);
    }
    Unlock(in);
    Unlock(out);
    return true;
}

SDL_Surface* Canvas::Get32Surface()
{
    if (_surface == nullptr) {
        return nullptr;
    }
    if (_surface->format->BitsPerPixel != 16) {
        return _surface;
    }
    _surface32.reset();
    Uint32 r, g, b, a;
    Masks32(r, g, b, a);
    auto copy =
        std::make_unique<Canvas>(SDL_CreateRGBSurface(0, _surface->w, _surface->h, 32, r, g, b, a));
    if (copy->GetSurface() == nullptr) {
        return nullptr;
    }

    // Blit without key or alpha so the copy gets every pixel, then give both back.
    const bool hadKey = _hasColorKey;
    const Uint32 keyFlags =
        (_surface->flags & SDL_SRCCOLORKEY) |
        ((_surface->flags & SDL_RLEACCELOK) ? static_cast<Uint32>(SDL_RLEACCEL) : 0U);
    const Uint32 key = _surface->format->colorkey;
    const Uint32 alphaFlags = _surface->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
    const Uint8 surfaceAlpha = _surface->format->alpha;
    ClearColorKey();
    if (alphaFlags & SDL_SRCALPHA) {
        SDL_SetAlpha(_surface, 0, 255);
    }
    SDL_UpperBlit(_surface, nullptr, copy->GetSurface(), nullptr);
    if (alphaFlags & SDL_SRCALPHA) {
        SDL_SetAlpha(_surface, alphaFlags, surfaceAlpha);
    }
    if (keyFlags & SDL_SRCCOLORKEY) {
        SDL_SetColorKey(_surface, keyFlags, key);
    }
    _hasColorKey = hadKey;

    copy->Lock();
    if (_surfaceAlpha != 255) {
        copy->SetAlpha(_surfaceAlpha);
    }
    const Color corner = copy->GetPixel(0, 0);
    copy->Unlock();
    copy->SetColorKey(corner, false);
    _surface32 = std::move(copy);
    return _surface32->GetSurface();
}

std::list<Rectangle*>& Canvas::GetDirtyRects()
{
    return _dirtyRects;
}

Canvas* Canvas::CreateRGB(unsigned flags, int w, int h, int depth, unsigned rMask, unsigned gMask,
                          unsigned bMask, unsigned aMask)
{
    auto* c = new Canvas();
    if (SizeFits(*c, w, h)) {
        c->Init(SDL_CreateRGBSurface(flags, w, h, depth, rMask, gMask, bMask, aMask));
    }
    c->_loaded = false;
    return c;
}

Canvas* Canvas::CreateRGBCompatible(unsigned flags, int w, int h, SDL_PixelFormat* format)
{
    LockAll();
    const SDL_PixelFormat* f =
        format != nullptr && !IsPerPixelMarker(format) ? format : Formats().defaultFormat;
    if (f == nullptr && SDL_GetVideoSurface() != nullptr) {
        f = SDL_GetVideoSurface()->format;
    }
    Canvas* c = nullptr;
    if (f != nullptr) {
        c = CreateRGB(flags, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    }
    UnlockAll();
    if (c == nullptr) {
        Uint32 r, g, b, a;
        Masks32(r, g, b, a);
        c = CreateRGB(flags, w, h, 32, r, g, b, a);
    }
    return c;
}

Canvas* Canvas::CreateRGBCompatible(unsigned flags, int w, int h)
{
    return CreateRGBCompatible(flags, w, h, nullptr);
}

void Canvas::SetDefaultPixelFormat(SDL_PixelFormat* format)
{
    LockAll();
    PixelFormats& f = Formats();
    f.defaultFormat = nullptr;
    if (format != nullptr) {
        if (!f.has32) {
            f.copy32 = *format;
            f.copy32.palette = nullptr; // the palette belongs to the caller's format
            f.has32 = true;
        }
        f.defaultFormat = format;
    }
    UnlockAll();
}

SDL_Surface* Canvas::ConvertSurface(SDL_Surface* loaded, SDL_PixelFormat* format)
{
    SDL_Surface* out = nullptr;
    bool haveFormat = true;
    if (format != nullptr) {
        out = SDL_CreateRGBSurface(0, loaded->w, loaded->h, format->BitsPerPixel, format->Rmask,
                                   format->Gmask, format->Bmask, format->Amask);
    } else {
        // The default format is the screen's: read it under the lock that a screen change holds.
        LockAll();
        const SDL_PixelFormat* f = Formats().defaultFormat;
        haveFormat = f != nullptr;
        if (haveFormat) {
            out = SDL_CreateRGBSurface(0, loaded->w, loaded->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                       f->Bmask, f->Amask);
        }
        UnlockAll();
    }
    if (!haveFormat) {
        return loaded; // no default yet: as stored
    }
    if (out == nullptr) {
        SDL_FreeSurface(loaded);
        return nullptr;
    }
    if (out->format->Amask != 0 && (loaded->flags & SDL_SRCALPHA)) {
        // Into a format with alpha the channel is copied, not blended onto the empty surface.
        SDL_SetAlpha(loaded, 0, 255);
    }
    SDL_UpperBlit(loaded, nullptr, out, nullptr);
    SDL_FreeSurface(loaded);
    return out;
}

SDL_PixelFormat* Canvas::GetDefaultPixelFormat()
{
    LockAll();
    SDL_PixelFormat* f = Formats().defaultFormat;
    UnlockAll();
    return f;
}

SDL_PixelFormat* Canvas::Get32PixelFormat()
{
    PixelFormats& f = Formats();
    return f.has32 ? &f.copy32 : nullptr;
}

SDL_PixelFormat* Canvas::PerPixelFormat()
{
    return reinterpret_cast<SDL_PixelFormat*>(~static_cast<uintptr_t>(0));
}

bool Canvas::IsPerPixelMarker(const SDL_PixelFormat* format)
{
    return format == PerPixelFormat();
}

void Canvas::LockAll()
{
    (void)kMutexReady;
    SDL_mutexP(CanvasMutex());
}

void Canvas::UnlockAll()
{
    SDL_mutexV(CanvasMutex());
}
