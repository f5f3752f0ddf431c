#include "framework/media/ImageResource.h"

#include "framework/core/DebugLifetime.h"
#include "framework/media/Image.h"

#include <atomic>

namespace {

std::atomic<int>& ImageResourceDebugLevel()
{
    static std::atomic<int> level{0};
    return level;
}

} // namespace

ImageResource::ImageResource(std::string file, int cols, int rows, SDL_PixelFormat* format)
    : Canvas(file, format)
{
    SetName("ImageResource-" + file + "-" + std::to_string(cols) + "-" + std::to_string(rows));
    RegisterDebugLevel();
    DebugVar(1, "Constructor-1");
    DebugVar(1, "AllowImageDelete(%d)", 0);
    _allowImageDelete = false;
    _format = format;
    InitResource(cols, rows);
    DebugVar(1, "Leaving Constructor-1");
}

ImageResource::ImageResource(int w, int h, int cols, int rows) : Canvas(w, h, nullptr)
{
    SetName("ImageResource-Blank-" + std::to_string(w) + "-" + std::to_string(h));
    RegisterDebugLevel();
    DebugVar(1, "Constructor-2");
    InitResource(cols, rows);
    DebugVar(1, "Leaving Constructor-2");
}

ImageResource::ImageResource(ImageResource& other) : Canvas(other.GetW(), other.GetH(), nullptr)
{
    SetName("ImageResource-Copied-" + std::to_string(other._cols) + "-" +
            std::to_string(other._rows));
    RegisterDebugLevel();
    InitResource(other._cols, other._rows);
    Blit(other, 0, 0);
}

ImageResource::~ImageResource()
{
    DebugVar(1, "Destructor");
}

void ImageResource::RegisterDebugLevel()
{
    ImageResourceDebugLevel() =
        DebugLifetime::SetDebugLevel("ImageResource", this, ImageResourceDebugLevel());
}

void ImageResource::InitResource(int cols, int rows)
{
    DebugVar(1, "InitResource");
    _cols = cols;
    _rows = rows;
    _frameCount = cols * rows;
    _frameW = 0;
    _frameH = 0;
    _frameRect = SDL_Rect{};
    const bool hasSurface = GetSurface() != nullptr;
    if (cols < 1 || rows < 1 || !hasSurface) {
        SetLoaded(false);
        return;
    }
    _frameW = GetW() / cols;
    _frameH = GetH() / rows;
    // Frames narrower than a pixel cannot be shown.
    SetLoaded(_frameW > 0 && _frameH > 0);
    _frameRect = SDL_Rect{0, 0, static_cast<Uint16>(_frameW), static_cast<Uint16>(_frameH)};
    SetSize(std::to_string(_frameW) + ", " + std::to_string(_frameH));
}

int ImageResource::GetNumFrames()
{
    return _cols;
}

int ImageResource::GetNumRows()
{
    return _rows;
}

bool ImageResource::IsPerPixelFormat()
{
    return IsPerPixelMarker(_format);
}

void ImageResource::AllowImageDelete(bool allow)
{
    DebugVar(1, "AllowImageDelete(%d)", allow ? 1 : 0);
    _allowImageDelete = allow;
}

bool ImageResource::AllowImageDelete()
{
    DebugVar(1, "AllowImageDelete - %d", _allowImageDelete ? 1 : 0);
    return _allowImageDelete;
}

bool ImageResource::DeleteCanvas()
{
    const bool own = !(_frameCount == 1 && !IsPerPixelFormat());
    DebugVar(1, "DeleteCanvas - %d", own ? 1 : 0);
    return own;
}

Canvas* ImageResource::GetNewFrame(int col, int row)
{
    if (!IsLoaded()) {
        return nullptr;
    }
    DebugVar(1, "GetNewFrame column = %d, row = %d", col, row);
    if (_frameCount == 1 && !IsPerPixelFormat()) {
        return this;
    }
    Canvas* frame = IsPerPixelFormat() ? new Canvas(_frameW, _frameH, GetSurface()->format)
                                       : Canvas::CreateRGBCompatible(0, _frameW, _frameH);
    if (frame->GetSurface() == nullptr) {
        delete frame;
        return nullptr;
    }
    const SDL_Palette* palette = GetSurface()->format->palette;
    if (IsPerPixelFormat() && palette != nullptr) {
        // A palette image kept as stored: its frames share the palette and transparent index.
        SDL_SetPalette(frame->GetSurface(), SDL_LOGPAL, palette->colors, 0, palette->ncolors);
        if (GetSurface()->flags & SDL_SRCCOLORKEY) {
            SDL_SetColorKey(frame->GetSurface(), SDL_SRCCOLORKEY, GetSurface()->format->colorkey);
        }
    }
    SetFrame(frame, col, row, false, false);
    return frame;
}

bool ImageResource::SetFrame(Canvas* target, int& col, int& row, bool mirrorH, bool mirrorV)
{
    DebugVar(1, "SetFrame canvas = %d, column = %d, row = %d %d",
             target != nullptr ? target->GetObjectId() : 0, col, row, _frameCount);
    // The sheet is never its own target: an image drawing from the sheet itself shows it as is.
    if (!IsLoaded() || target == nullptr || target == this) {
        col = 0;
        row = 0;
        return false;
    }
    if (col < 0 || col >= _cols) {
        DebugVar(3, "ImageResource::SetFrame Column too big");
        DebugVar(3, "ImageResource::SetFrame MaxColumns");
        col = 0;
    }
    if (row < 0 || row >= _rows) {
        DebugVar(3, "ImageResource::SetFrame Row too big %d", row);
        DebugVar(3, "ImageResource::SetFrame MaxRows %d", _rows);
        row = 0;
    }
    _srcRect = SDL_Rect{static_cast<Sint16>(col * _frameW), static_cast<Sint16>(row * _frameH),
                        static_cast<Uint16>(_frameW), static_cast<Uint16>(_frameH)};
    // A raw copy, so the frame canvas holds exactly the sheet's pixels whatever colour key or
    // alpha the sheet carries.
    SDL_Rect src = _srcRect;
    return CopyFrame(&src, target, mirrorH, mirrorV);
}

bool ImageResource::NextFrame(Canvas* target, int& col, int& row)
{
    DebugVar(1, "NextFrame canvas = %d, column = %d, row = %d",
             target != nullptr ? target->GetObjectId() : 0, col, row);
    if (_frameCount == 1) {
        return false;
    }
    ++col;
    if (col >= _cols) {
        col = 0;
        ++row;
        if (row >= _rows) {
            row = 0;
        }
    }
    return SetFrame(target, col, row, false, false);
}

void ImageResource::CopyIntoGrid(int col, int row, Image* img, int x, int y)
{
    if (img == nullptr || img->GetCanvas() == nullptr || !IsLoaded()) {
        return;
    }
    if (col < 0 || row < 0 || col >= _cols || row >= _rows || x < 0 || y < 0) {
        return;
    }
    const int w = img->GetW();
    const int h = img->GetH();
    if (w > _frameW - x || h > _frameH - y) {
        return;
    }
    Rectangle dst(static_cast<short>(col * _frameW + x), static_cast<short>(row * _frameH + y),
                  static_cast<short>(w), static_cast<short>(h));
    Rectangle src(0, 0, static_cast<short>(w), static_cast<short>(h));
    Blit(dst, *img->GetCanvas(), src);
}

void ImageResource::BlitInto(Image* img, int x, int y)
{
    if (img == nullptr || img->GetCanvas() == nullptr) {
        return;
    }
    if (img->GetW() + x > GetW()) {
        DebugVar(-1, "BlitInto Failed Width Too big %d > %d", img->GetW() + x, GetW());
    }
    if (img->GetH() + y > GetH()) {
        DebugVar(-1, "BlitInto Failed Width Too big %d > %d", img->GetH() + y, GetH());
    }
    Blit(*img->GetCanvas(), x, y);
}
