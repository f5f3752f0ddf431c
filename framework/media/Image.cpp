#include "framework/media/Image.h"

#include "framework/core/DebugLifetime.h"
#include "framework/media/Canvas.h"
#include "framework/media/FramePool.h"
#include "framework/media/ImageResource.h"

#include <atomic>

namespace {

std::atomic<int>& ImageDebugLevel()
{
    static std::atomic<int> level{0};
    return level;
}

int IdOf(const Debug* d)
{
    return d != nullptr ? d->GetObjectId() : 0;
}

} // namespace

Image::Image(std::string file, SDL_PixelFormat* format) : Debug("Image-1-" + file)
{
    RegisterDebugLevel();
    DebugVar(1, "Constructor");
    auto* sheet = new ImageResource(file, 1, 1, format);
    sheet->AllowImageDelete(true);
    if (!sheet->IsLoaded()) {
        delete sheet;
        DebugVar(-1, "%s", ("Image Init Failed - " + file).c_str());
        return;
    }
    Init(sheet, 0, 0);
    DebugVar(2, "Leaving Constructor");
}

Image::Image(ImageResource* res, int col, int row, int allowDelete)
{
    RegisterDebugLevel();
    Init(res, col, row);
    if (allowDelete != 0 && res != nullptr) {
        res->AllowImageDelete(true);
    }
    SetName("Image-IR-" + (res != nullptr ? res->GetFullName() : GetFullName()));
    DebugVar(1, "Constructor");
}

Image::Image(Canvas* canvas, Rectangle& rect) : Debug("Image-Canvas")
{
    RegisterDebugLevel();
    DebugVar(2, "SetCanvas - canvas = %d", IdOf(canvas));
    _canvas = canvas;
    _ownsCanvas = canvas != nullptr;
    _src = rect;
    _dest.Set(0, 0, rect.GetW(), rect.GetH());
}

Image::Image(Image* other)
{
    RegisterDebugLevel();
    if (other == nullptr) {
        SetName("Image-Copy-");
        return;
    }
    SetName("Image-Copy-" + other->GetFullName());
    if (other->_sheet != nullptr) {
        Init(other->_sheet, other->_col, other->_row);
    } else if (other->_canvas != nullptr && other->_canvas->GetSurface() != nullptr) {
        // An image made from a canvas has no sheet to share: the copy gets its own pixels.
        SDL_Surface* s = other->_canvas->GetSurface();
        SDL_Surface* dup = SDL_ConvertSurface(s, s->format, s->flags & SDL_SWSURFACE);
        if (dup != nullptr) {
            _canvas = new Canvas(dup);
            _ownsCanvas = true;
            _src = other->_src;
            _dest = other->_dest;
        }
    }
    _castMemberCopy = true;
}

Image::~Image()
{
    DebugVar(1, "Destructor");
    ReleaseCanvas();
    ReleaseSheet();
}

void Image::RegisterDebugLevel()
{
    ImageDebugLevel() = DebugLifetime::SetDebugLevel("Image", this, ImageDebugLevel());
}

void Image::ReleaseCanvas()
{
    if (_ownsCanvas && _canvas != nullptr && _canvas != _sheet) {
        delete _canvas;
    }
    _canvas = nullptr;
    _ownsCanvas = false;
    _sharedFrame.reset();
}

void Image::ReleaseSheet()
{
    if (_sheet != nullptr && _sheetAlive.expired()) {
        _sheet = nullptr; // deleted by its owner already
        return;
    }
    if (_sheet != nullptr && !_castMemberCopy && _sheet->AllowImageDelete()) {
        if (_canvas == _sheet) {
            _canvas = nullptr;
        }
        delete _sheet;
    }
    _sheet = nullptr;
}

void Image::Init(ImageResource* res, int col, int row)
{
    DebugVar(1, "Init ImageResource = %d, column = %d, row = %d", IdOf(res), col, row);
    ReleaseCanvas();
    if (_sheet != nullptr && _sheet != res) {
        ReleaseSheet();
    }
    _sheet = res;
    _sheetAlive = res != nullptr ? res->AliveToken() : std::weak_ptr<const void>();
    _canvas = res != nullptr ? res->GetNewFrame(col, row) : nullptr;
    _col = col;
    _row = row;
    _castMemberCopy = false;
    _mirrorH = false;
    _mirrorV = false;
    if (_canvas != nullptr) {
        _src.Set(0, 0, static_cast<short>(_canvas->GetW()), static_cast<short>(_canvas->GetH()));
        _dest.Set(0, 0, static_cast<short>(_canvas->GetW()), static_cast<short>(_canvas->GetH()));
        _ownsCanvas = _canvas != res && res->DeleteCanvas();
    }
    AfterChange();
    DebugVar(2, "Leaving Init");
}

bool Image::Blit(Canvas* dst, int x, int y)
{
    DebugVar(2, "Blit - canvas = %d, x = %d, y = %d", IdOf(dst), x, y);
    if (_canvas == nullptr || dst == nullptr) {
        return false;
    }
    _dest.Offset(static_cast<short>(x), static_cast<short>(y));
    const bool ok = dst->Blit(_dest, *_canvas, _src);
    _dest.Offset(static_cast<short>(-x), static_cast<short>(-y));
    return ok;
}

bool Image::Blit(SDL_Surface* dst, int x, int y)
{
    DebugVar(2, "Blit - toSurface = %d, x = %d, y = %d", dst != nullptr ? 1 : 0, x, y);
    if (_canvas == nullptr || dst == nullptr || _canvas->GetSurface() == nullptr) {
        return false;
    }
    SDL_Rect d{static_cast<Sint16>(_dest.GetX() + x), static_cast<Sint16>(_dest.GetY() + y),
               static_cast<Uint16>(_dest.GetW()), static_cast<Uint16>(_dest.GetH())};
    return SDL_UpperBlit(_canvas->GetSurface(), _src.SdlRect(), dst, &d) == 0;
}

void Image::BlitInto(Image* src, int x, int y)
{
    if (src == nullptr || src->_canvas == nullptr || _canvas == nullptr) {
        return;
    }
    if (src->GetW() + x > GetW()) {
        DebugVar(-1, "BlitInto Failed Width Too big %d > %d", src->GetW() + x, GetW());
    }
    if (src->GetH() + y > GetH()) {
        DebugVar(-1, "BlitInto Failed Width Too big %d > %d", src->GetH() + y, GetH());
    }
    if (!BeforeChange()) {
        return;
    }
    _canvas->Blit(*src->_canvas, x, y);
    AfterChange();
}

void Image::ShareFrames()
{
    _sharesFrames = true;
    AfterChange();
}

bool Image::OwnFrame()
{
    if (_sharedFrame == nullptr) {
        return true;
    }
    std::unique_ptr<Canvas> own = FramePool::Detach(*_sharedFrame);
    if (own == nullptr) {
        return false;
    }
    _canvas = own.release();
    _ownsCanvas = true;
    _sharedFrame.reset();
    return true;
}

bool Image::BeforeChange()
{
    // The only holder of a shared frame changes it in place and offers it again afterwards.
    return _sharedFrame.use_count() == 1 || OwnFrame();
}

void Image::AfterChange()
{
    // Only a frame canvas of the image's own is offered: the sheet itself is no frame, and a
    // sheet already gone has no pool.
    const bool own = _ownsCanvas && _canvas != _sheet;
    if (!_sharesFrames || _canvas == nullptr || (!own && _sharedFrame == nullptr) ||
        _sheet == nullptr || _sheetAlive.expired()) {
        return;
    }
    // A shadow made before the change, or from another surface, would not fit the frame's
    // pixels; whoever shows the frame next makes it anew.
    _canvas->DeleteDropShadow();
    _canvas->SetDropShadowSourceSurface(nullptr);
    std::shared_ptr<Canvas> offered =
        own ? std::shared_ptr<Canvas>(_canvas) : std::move(_sharedFrame);
    _ownsCanvas = false;
    _sharedFrame = _sheet->SharedFrames().Share(std::move(offered));
    _canvas = _sharedFrame.get();
}

void Image::TakeOwnFrameCanvas()
{
    if (_sheet == nullptr || _canvas != _sheet || (!_mirrorH && !_mirrorV)) {
        return;
    }
    SDL_Surface* s = _sheet->GetSurface();
    if (s == nullptr || _sheet->GetFrameW() < 1 || _sheet->GetFrameH() < 1) {
        return;
    }
    // Same format as the sheet, so the frame copy stays raw; the look of the sheet (colour key,
    // surface alpha) comes along.
    auto* own = new Canvas(_sheet->GetFrameW(), _sheet->GetFrameH(), s->format);
    if (own->GetSurface() == nullptr) {
        delete own;
        return;
    }
    if (_sheet->HasColorKey()) {
        own->SetColorKey(_sheet->GetColorKey(), false);
    }
    if (_sheet->GetSurfaceAlpha() != 255) {
        own->SetAlpha(_sheet->GetSurfaceAlpha());
    }
    _canvas = own;
    _ownsCanvas = true;
    _src.Set(0, 0, static_cast<short>(own->GetW()), static_cast<short>(own->GetH()));
    _dest.SetDim(static_cast<short>(own->GetW()), static_cast<short>(own->GetH()));
}

bool Image::SetFrame(int col, int row)
{
    DebugVar(2, "SetFrame - column = %d, row = %d", col, row);
    if (_canvas == nullptr) {
        return false;
    }
    _col = col;
    _row = row;
    if (_sheet == nullptr || !BeforeChange()) {
        return false;
    }
    TakeOwnFrameCanvas();
    const bool shown = _sheet->SetFrame(_canvas, _col, _row, _mirrorH, _mirrorV);
    AfterChange();
    return shown;
}

bool Image::NextFrame()
{
    DebugVar(2, "NextFrame");
    if (_canvas == nullptr || _sheet == nullptr || !BeforeChange()) {
        return false;
    }
    const bool shown = _sheet->NextFrame(_canvas, _col, _row);
    AfterChange();
    return shown;
}

bool Image::ResetFrame()
{
    DebugVar(2, "Reset Frame");
    return SetFrame(_col, _row);
}

bool Image::IsCurrentFrame(int col, int row)
{
    return col == _col && row == _row;
}

int Image::GetFrame()
{
    DebugVar(2, "GetFrame");
    return _col;
}

void Image::MirrorHorizontal(bool mirror)
{
    if (mirror == _mirrorH) {
        return;
    }
    _mirrorH = mirror;
    SetFrame(_col, _row);
}

void Image::MirrorVertical(bool mirror)
{
    if (mirror == _mirrorV) {
        return;
    }
    _mirrorV = mirror;
    SetFrame(_col, _row);
}

void Image::SetAlpha(int alpha)
{
    DebugVar(3, "SetAlpha");
    if (_canvas == nullptr) {
        return;
    }
    const bool perPixel = _sheet != nullptr && _sheet->IsPerPixelFormat() && _canvas != _sheet;
    SDL_Surface* surface = _canvas->GetSurface();
    // The tiles set their alpha again on most state changes: a shared frame that has that
    // alpha already (and so its shadow too) is left alone rather than copied and offered again.
    if (_sharedFrame != nullptr && !perPixel && surface != nullptr &&
        (surface->flags & SDL_SRCALPHA) != 0 && surface->format->alpha == alpha &&
        _canvas->GetSurfaceAlpha() == alpha) {
        return;
    }
    if (!BeforeChange()) {
        return;
    }
    if (perPixel) {
        _canvas->SetPerPixelAlpha(alpha);
        DebugVar(2, "SetFrame - column = %d, row = %d", _col, _row);
        _sheet->SetFrame(_canvas, _col, _row, _mirrorH, _mirrorV);
    } else {
        _canvas->SetAlpha(alpha);
    }
    AfterChange();
}

void Image::UseTransparency(bool transparent, bool useRLE)
{
    DebugVar(3, "UseTransparency - transparent = %d, useRLE = %d", transparent ? 1 : 0,
             useRLE ? 1 : 0);
    if (_canvas != nullptr && BeforeChange()) {
        _canvas->UseTransparency(transparent, useRLE);
        AfterChange();
    }
}

void Image::UseTransparency(const Color& key, bool useRLE)
{
    DebugVar(3, "UseTransparency - color, useRLE = %d", useRLE ? 1 : 0);
    if (_canvas != nullptr && BeforeChange()) {
        _canvas->SetColorKey(key, useRLE);
        AfterChange();
    }
}

int Image::GetW()
{
    return _src.GetW();
}

int Image::GetH()
{
    return _src.GetH();
}

int Image::GetFrameW()
{
    if (_canvas == nullptr) {
        return 0;
    }
    const int cols = _sheet != nullptr ? _sheet->GetNumFrames() : 0;
    return cols > 0 ? GetW() / cols : GetW();
}

int Image::GetFrameH()
{
    if (_canvas == nullptr) {
        return 0;
    }
    const int rows = _sheet != nullptr ? _sheet->GetNumRows() : 0;
    return rows > 0 ? GetH() / rows : GetH();
}

int Image::GetNumFrames()
{
    return _canvas != nullptr && _sheet != nullptr ? _sheet->GetNumFrames() : 0;
}

int Image::GetNumRows()
{
    DebugVar(2, "GetNumRows");
    return _canvas != nullptr && _sheet != nullptr ? _sheet->GetNumRows() : 0;
}

int Image::GetSurfaceW()
{
    if (_canvas == nullptr) {
        return 0;
    }
    DebugVar(3, "GetSurfaceW =");
    return _canvas->GetW();
}

int Image::GetSurfaceH()
{
    if (_canvas == nullptr) {
        return 0;
    }
    DebugVar(3, "GetSurfaceH =");
    return _canvas->GetH();
}

void Image::SetCanvas(Canvas* canvas)
{
    DebugVar(2, "SetCanvas - canvas = %d", IdOf(canvas));
    if (_sharedFrame != nullptr && _sharedFrame.get() != canvas) {
        _sharedFrame.reset();
    }
    _canvas = canvas;
}

Rectangle& Image::SrcRect()
{
    DebugRect(2, "SrcRect", _src);
    return _src;
}

Rectangle& Image::DestRect()
{
    DebugRect(2, "DestRect", _dest);
    return _dest;
}

void Image::SetFrames(int cols, int rows)
{
    if (_sheet != nullptr) {
        _sheet->InitResource(cols, rows);
    }
}

void Image::MarkAsCastMemberCopy()
{
    _castMemberCopy = true;
}
