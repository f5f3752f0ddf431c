#include "framework/stage/CastMemberImage.h"

#include "SDL.h"
#include "framework/core/Framework.h"
#include "framework/core/ImageResources.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/ClipScope.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/ButtonListener.h"

#include <algorithm>

namespace {} // namespace

CastMemberImage::CastMemberImage()
{
    Init();
    // Made without a stage: the sprite joins the one the application shows.
    Framework* app = Framework::GetApp();
    AnimationManager* manager = app != nullptr ? app->_animationManager : nullptr;
    if (manager != nullptr && manager->GetCast() != nullptr) {
        SetCast(manager->GetCast());
    }
}

CastMemberImage::CastMemberImage(Cast* cast, Image* image, int x, int y, int priority,
                                 int keepGivenImage)
    : CastMember(cast, x, y, priority)
{
    DebugVar(1, "Constructor - 1");
    Init();
    _keepGivenImage = keepGivenImage;
    _rect.SetDim(0, 0);
    SetImage(image);
    DebugVar(1, "Leaving Constructor - 1");
}

CastMemberImage::CastMemberImage(Cast* cast, int x, int y, int priority, ImageResource* resource,
                                 int frames, int rows)
    : CastMember(cast, x, y, priority)
{
    DebugVar(1, "Constructor - 2");
    Init();
    SetImageResource(resource, frames, rows);
    _scale = 1.0f;
    _rotation = 0.0f;
    SetName(NameAfter(_image));
    DebugVar(1, "Leaving Constructor - 2");
}

CastMemberImage::CastMemberImage(Cast* cast, int x, int y, int priority, const std::string& name,
                                 int /*unused1*/, int /*unused2*/)
    : CastMember(cast, x, y, priority)
{
    Init();
    SetImageResource(name);
    _scale = 1.0f;
    _rotation = 0.0f;
    SetName(NameAfter(_image));
}

CastMemberImage::CastMemberImage(Cast* cast, const std::string& name, int x, int y, int priority,
                                 int /*unused*/)
    : CastMember(cast, x, y, priority)
{
    Init();
    SetImageResource(name);
    _scale = 1.0f;
    _rotation = 0.0f;
    SetName(NameAfter(_image));
}

CastMemberImage::~CastMemberImage()
{
    if (!_resourceName.empty()) {
        ImageResources::Unlock(_resourceName);
        _resourceName.clear();
    }
    _looping = false;
    FreeScaledSurfaces();
    DeleteImage();
}

void CastMemberImage::Init()
{
    DebugVar(1, "Init");
    _image = nullptr;
    _buttonListener = nullptr;
    _looping = false;
    _frameSequence = nullptr;
    _sequenceIndex = 0;
    _sequenceLength = 0;
    _keepGivenImage = 0;
    _scaled = true;
}

std::string CastMemberImage::NameAfter(Image* image)
{
    return image != nullptr ? "CastMemberImage " + image->GetFullName()
                            : std::string("CastMemberImage NULL Image");
}

void CastMemberImage::FreeScaledSurfaces()
{
    if (_scaledSurface == nullptr && _scaledShadowSurface == nullptr) {
        return;
    }
    // The image canvas may still make its drop shadow from the surface about to go (a one-frame
    // sheet's canvas is shared and outlives this sprite). A frame from the pool never does.
    if (_image != nullptr && _image->GetCanvas() != nullptr && !_image->HoldsSharedFrame()) {
        _image->GetCanvas()->DeleteDropShadow();
        _image->GetCanvas()->SetDropShadowSourceSurface(nullptr);
    }
    CastMember::FreeScaledSurfaces();
}

SDL_Surface* CastMemberImage::ScaledLook() const
{
    return _scaledShadowSurface != nullptr ? _scaledShadowSurface : _scaledSurface;
}

int CastMemberImage::GetClassMemberType()
{
    return CastMember::kImageKind;
}

// --- the image ---

void CastMemberImage::SetImage(Image* image)
{
    DebugVar(3, "SetImage");
    // Named now: the given image may be the one about to be deleted.
    const std::string name = NameAfter(image);
    SetDirtyRect();
    FreeScaledSurfaces();
    // The new picture is made before the old one goes: the caller may pass the one shown.
    Image* shown = nullptr;
    if (image != nullptr) {
        if (_keepGivenImage == 0) {
            shown = new Image(image);
            shown->MarkAsCastMemberCopy();
        } else {
            shown = image;
        }
        if (_shareFrames) {
            shown->ShareFrames();
        }
    }
    if (shown != _image) {
        DeleteImage();
    }
    _image = shown;
    if (_image != nullptr) {
        _rect.SetDim(static_cast<short>(_image->GetW()), static_cast<short>(_image->GetH()));
        _scaledRect = _rect;
        _scale = 1.0f;
        _rotation = 0.0f;
        Repaint();
    } else {
        Hide();
    }
    SetName(name);
}

void CastMemberImage::SetImageResource(const std::string& name)
{
    if (!_resourceName.empty()) {
        ImageResources::Unlock(_resourceName);
    }
    _resourceName = name;
    // Loaded before it is locked: the registry cannot lock an asset it has not loaded yet.
    ImageResource* resource = ImageResources::Get(name);
    ImageResources::Lock(name);
    SetImageResource(resource, resource != nullptr ? resource->GetNumFrames() : 0,
                     resource != nullptr ? resource->GetNumRows() : 0);
}

void CastMemberImage::SetImageResource(ImageResource* resource, int frames, int rows)
{
    SetDirtyRect();
    FreeScaledSurfaces();
    DeleteImage();
    if (resource != nullptr) {
        _image = new Image(resource, frames, rows, 0);
        if (_shareFrames) {
            _image->ShareFrames();
        }
        // The image records the column and row it was asked for even when the sheet showed
        // frame (0, 0) instead; selecting them again makes the record match what is shown.
        _image->SetFrame(frames, rows);
        _rect.SetDim(static_cast<short>(_image->GetW()), static_cast<short>(_image->GetH()));
    } else {
        _rect.SetDim(0, 0);
    }
    _scaledRect = _rect;
    Repaint();
}

int CastMemberImage::DeleteImage()
{
    delete _image;
    _image = nullptr;
    return 0;
}

Image* CastMemberImage::GetImage()
{
    DebugVar(3, "GetImage");
    return _image;
}

int CastMemberImage::GetNumFrames()
{
    // At least 1: callers step and wrap frames by this count.
    const int frames = _image != nullptr ? _image->GetNumFrames() : 0;
    return std::max(frames, 1);
}

int CastMemberImage::GetFrame()
{
    return _image != nullptr ? _image->GetFrame() : 0;
}

void CastMemberImage::SetNewFrameOnly(int column, int row)
{
    DebugVar(3, "SetNewFrameOnly %d, %d", column, row);
    if (_image != nullptr && !_image->IsCurrentFrame(column, row)) {
        SetFrame(column, row);
    }
}

void CastMemberImage::SetFrame(int column, int row)
{
    DebugVar(3, "SetFrame %d, %d", column, row);
    if (_image == nullptr) {
        return;
    }
    _rebuildPending = _image->SetFrame(column, row);
    RefactorDropShadow();
    Repaint();
}

void CastMemberImage::ResetFrame()
{
    if (_image != nullptr) {
        _image->ResetFrame();
    }
    Repaint();
}

void CastMemberImage::ShareFrames()
{
    _shareFrames = true;
    if (_image != nullptr) {
        _image->ShareFrames();
    }
}

void CastMemberImage::BlitInto(Image* image, int x, int y)
{
    if (_image != nullptr) {
        _image->BlitInto(image, x, y);
        _rebuildPending = true;
    }
    Repaint();
}

// --- the frame loop ---

void CastMemberImage::Loop(int speed, int times, int delay, int pause)
{
    if (_image == nullptr || _image->GetNumFrames() < 2) {
        return;
    }
    _lastStep = _now;
    _loopTimes = times;
    _loopSpeed = speed;
    _loopDelay = delay;
    _loopPause = pause;
    _wait = delay;
    _looping = true;
}

void CastMemberImage::Loop(int speed)
{
    Loop(speed, -1, 0, 0);
}

void CastMemberImage::Loop()
{
    Loop(1, -1, 0, 0);
}

void CastMemberImage::StopLooping()
{
    _looping = false;
    SetFrame(0, 0);
}

bool CastMemberImage::GetLooping()
{
    return _looping;
}

int CastMemberImage::GetLoopTimes()
{
    return _loopTimes;
}

int CastMemberImage::GetLoopSpeed()
{
    return _loopSpeed;
}

unsigned int CastMemberImage::MsUntilNextFrame(unsigned int now) const
{
    if (!_looping || _image == nullptr || _image->GetNumFrames() < 2) {
        return kNothingDue;
    }
    const unsigned int due =
        static_cast<unsigned int>(_loopSpeed) + _lastStep + static_cast<unsigned int>(_wait);
    return now >= due ? 0 : due - now;
}

void CastMemberImage::Animate(unsigned int now)
{
    _now = now;
    const unsigned int due =
        static_cast<unsigned int>(_loopSpeed) + _lastStep + static_cast<unsigned int>(_wait);
    if (_looping && GetNumFrames() > 1 && now >= due) {
        _lastStep = now;
        _wait = 0;
        int next = 0;
        if (_sequenceLength > 0 && _frameSequence != nullptr) {
            ++_sequenceIndex;
            if (_sequenceIndex >= _sequenceLength) {
                _wait = _loopPause;
                if (_loopTimes > 0) {
                    --_loopTimes;
                }
                _sequenceIndex = 0;
            }
            next = _frameSequence[_sequenceIndex];
        } else {
            next = GetFrame() + 1;
            if (next >= GetNumFrames()) {
                _wait = _loopPause;
                next = 0;
                if (_loopTimes > 0) {
                    --_loopTimes;
                }
            }
        }
        SetFrame(next, 0);
        if (_loopTimes == 0) {
            StopLooping();
        }
    }
    CastMember::Animate(now);
}

int* CastMemberImage::GetFrameSequence()
{
    return _frameSequence;
}

void CastMemberImage::NewFrameSequence(int* frames, int count)
{
    DebugVar(3, "NewFrameSequence %d", count);
    if (frames == nullptr || count <= 0) {
        _frameSequence = nullptr;
        _sequenceLength = 0;
    } else {
        _frameSequence = frames;
        _sequenceLength = count;
    }
    _sequenceIndex = 0;
}

std::string CastMemberImage::GetFrameSequenceString()
{
    DebugVar(3, "GetFrameSequenceString");
    if (_sequenceLength <= 0 || _frameSequence == nullptr) {
        return "None";
    }
    std::string text;
    for (int i = 0; i < _sequenceLength; ++i) {
        if (i > 0) {
            text += ",";
        }
        text += std::to_string(_frameSequence[i]);
    }
    return text;
}

// --- looks ---

void CastMemberImage::UseTransparency(const Color& key)
{
    DebugVar(3, "UseTransparency");
    if (_image != nullptr) {
        _image->UseTransparency(key, false);
    }
}

void CastMemberImage::UseTransparency(bool on)
{
    DebugVar(3, "UseTransparency");
    if (_image != nullptr) {
        _image->UseTransparency(on, false);
    }
}

void CastMemberImage::UseTransparentBackground()
{
    DebugVar(3, "UseTransparentBackground");
    CastMember::UseTransparentBackground();
    if (_image != nullptr) {
        _image->UseTransparency(true, false);
    }
}

void CastMemberImage::MirrorHorizontal(bool mirror)
{
    if (_image != nullptr) {
        _image->MirrorHorizontal(mirror);
        _rebuildPending = true;
    }
    Repaint();
}

void CastMemberImage::MirrorVertical(bool mirror)
{
    if (_image != nullptr) {
        _image->MirrorVertical(mirror);
        _rebuildPending = true;
    }
    Repaint();
}

void CastMemberImage::SetAlpha(int alpha)
{
    DebugVar(3, "SetAlpha - %d", alpha);
    CastMember::SetAlpha(alpha);
    if (_image != nullptr) {
        _image->SetAlpha(_alpha);
    }
    for (SDL_Surface* s : {_scaledSurface, _scaledShadowSurface}) {
        if (s != nullptr) {
            SDL_SetAlpha(s, SDL_SRCALPHA | (s->flags & SDL_RLEACCEL), static_cast<Uint8>(_alpha));
        }
    }
    Repaint();
}

void CastMemberImage::CheckDropShadow()
{
    Canvas* canvas = _image != nullptr ? _image->GetCanvas() : nullptr;
    if (canvas != nullptr && _image->HoldsSharedFrame() && ShowDropShadow()) {
        // A shared frame carries the shadow of whoever showed it first, and making one sets the
        // frame's alpha to the sprite's: a sprite that would see or change either differently
        // makes its shadow on a frame of its own.
        const bool fits =
            canvas->GetDropShadow() != nullptr
                ? canvas->DropShadowMadeWith(_shadowColor, _shadowAlpha, _shadowX, _shadowY)
                : canvas->GetSurfaceAlpha() == _alpha;
        if (!fits && _image->OwnFrame()) {
            canvas = _image->GetCanvas();
        } else if (!fits) {
            return;
        }
    }
    AttachDropShadow(canvas);
}

void CastMemberImage::RefactorDropShadow()
{
    DebugVar(3, "RefactorDropShadow");
    if (_image != nullptr && _image->HoldsSharedFrame()) {
        // A frame from the pool makes its shadow from its own pixels, which do not change; a
        // scaled look needs a frame of the sprite's own to make its shadow from.
        if (_scaledSurface == nullptr || !_image->OwnFrame()) {
            return;
        }
    }
    RebaseDropShadow(_image != nullptr ? _image->GetCanvas() : nullptr);
}

// --- scaling and rotation ---

SDL_Surface* CastMemberImage::CreateScaledSurface(float angle, float zoom, bool smooth)
{
    Canvas* canvas = _image != nullptr ? _image->GetCanvas() : nullptr;
    SDL_Surface* scaled = ScaleCanvas(canvas, angle, zoom, smooth);
    // SDL_gfx drops the colour key of a surface without alpha channel; the scaled look keeps
    // the sprite's transparent pixels transparent.
    if (scaled != nullptr && canvas->HasColorKey() && scaled->format->Amask == 0) {
        const Color key = canvas->GetColorKey();
        SDL_SetColorKey(scaled, SDL_SRCCOLORKEY,
                        SDL_MapRGB(scaled->format, key.GetR(), key.GetG(), key.GetB()));
    }
    if (_scaledSurface != nullptr && _scaledSurface != scaled) {
        FreeScaledSurfaces();
    }
    _scaledSurface = scaled;
    // The drop shadow follows the new look at once, never the surface it replaced.
    RefactorDropShadow();
    return scaled;
}

int CastMemberImage::GetScaledX()
{
    const int w = _image != nullptr ? _image->GetW() : GetW();
    const int scaledW = GetScaledWidth();
    return _scale < 1.0f ? GetX() + (w - scaledW) / 2 : GetX() - (scaledW - w) / 2;
}

int CastMemberImage::GetScaledY()
{
    const int h = _image != nullptr ? _image->GetH() : GetH();
    const int scaledH = GetScaledHeight();
    return _scale < 1.0f ? GetY() + (h - scaledH) / 2 : GetY() - (scaledH - h) / 2;
}

int CastMemberImage::GetScaledWidth()
{
    if (SDL_Surface* look = ScaledLook()) {
        return look->w;
    }
    return _image != nullptr ? _image->GetW() : GetW();
}

int CastMemberImage::GetScaledHeight()
{
    if (SDL_Surface* look = ScaledLook()) {
        return look->h;
    }
    return _image != nullptr ? _image->GetH() : GetH();
}

void CastMemberImage::Rotate(float increment, int ms)
{
    DebugVar(3, "Rotate");
    CastMember::Rotate(increment, ms);
}

// --- input ---

void CastMemberImage::SetButtonListener(ButtonListener* listener)
{
    DebugVar(3, "SetButtonListener");
    _buttonListener = listener;
    AllowInput(true);
    AllowClicks(true);
}

bool CastMemberImage::Clicked(Receiver* /*receiver*/, int button)
{
    DebugVar(3, "Clicked");
    if (_buttonListener != nullptr) {
        _buttonListener->ButtonClicked(GetID(), button);
    }
    return false;
}

bool CastMemberImage::Dragged(Receiver* receiver)
{
    DebugVar(3, "Dragged");
    CastMember::Dragged(receiver);
    const int screenW =
        _animationManager != nullptr ? _animationManager->GetW() : AnimationManager::kScreenWidth;
    const int screenH =
        _animationManager != nullptr ? _animationManager->GetH() : AnimationManager::kScreenHeight;
    int x = GetX();
    int y = GetY();
    bool corrected = false;
    // Each correction also becomes the previous position, so the release leaves the sprite here.
    if (x < 0) {
        x = 0;
        corrected = true;
        SetPrevPosition(x, y);
    }
    if (y < 0) {
        y = 0;
        corrected = true;
        SetPrevPosition(x, y);
    }
    if (x + GetW() >= screenW) {
        x = screenW - GetW();
        corrected = true;
        SetPrevPosition(x, y);
    }
    if (y + GetH() >= screenH) {
        y = screenH - GetH();
        corrected = true;
        SetPrevPosition(x, y);
    }
    if (x != GetX() || y != GetY()) {
        Move(x, y, false);
    }
    Repaint();
    return !corrected;
}

bool CastMemberImage::OnPixel(int x, int y)
{
    DebugVar(3, "OnPixel %d, %d", x, y);
    Canvas* canvas = _image != nullptr ? _image->GetCanvas() : nullptr;
    if (canvas == nullptr || canvas->GetSurface() == nullptr) {
        return false;
    }
    SDL_Surface* look = ScaledLook();
    SDL_Surface* surface = nullptr;
    int px = 0;
    int py = 0;
    if (look == nullptr) {
        px = x - GetX();
        py = y - GetY();
        if (px < 0 || py < 0 || px >= GetW() || py >= GetH()) {
            return false;
        }
        // An image over part of a canvas reads that part.
        px += _image->SrcRect().GetX();
        py += _image->SrcRect().GetY();
        surface = canvas->GetSurface();
    } else {
        px = x - GetScaledX();
        py = y - GetScaledY();
        if (px < 0 || py < 0 || px >= look->w || py >= look->h) {
            return false;
        }
        surface = look;
    }
    if (!_perPixelAccuracy || !canvas->HasColorKey()) {
        return true;
    }
    const bool locked = canvas->Lock(surface);
    const Color pixel = canvas->GetPixel(surface, px, py);
    if (locked) {
        canvas->Unlock(surface);
    }
    const Color key = canvas->GetColorKey();
    const Uint32 mappedPixel =
        SDL_MapRGB(surface->format, pixel.GetR(), pixel.GetG(), pixel.GetB());
    const Uint32 mappedKey = SDL_MapRGB(surface->format, key.GetR(), key.GetG(), key.GetB());
    return mappedPixel != mappedKey;
}

// --- painting ---

Rectangle& CastMemberImage::GetFromRect()
{
    if (_image == nullptr) {
        return CastMember::GetFromRect();
    }
    _fromRect = _image->SrcRect();
    return _fromRect;
}

void CastMemberImage::Paint(Canvas* canvas)
{
    Canvas* picture = _image != nullptr ? _image->GetCanvas() : nullptr;
    if (canvas == nullptr || picture == nullptr || canvas->GetSurface() == nullptr) {
        return;
    }
    ClipScope clip(canvas);
    // Never outside the area the stage is repainting, so nothing in front is painted over.
    const Rectangle area = GetTotalScreenRect() - clip.Saved();
    if (area.IsEmpty()) {
        return;
    }
    Rectangle areaClip = area;
    canvas->SetClipRect(areaClip);

    CheckDropShadow();
    picture = _image->GetCanvas(); // a shared frame may have given way to one of the sprite's own
    Rectangle scaled = GetScaledRect();
    if (ShowDropShadow() && picture->GetDropShadow() != nullptr) {
        SDL_Rect at{static_cast<Sint16>(scaled.GetX() + _shadowX),
                    static_cast<Sint16>(scaled.GetY() + _shadowY), 0, 0};
        SDL_UpperBlit(picture->GetDropShadow(), nullptr, canvas->GetSurface(), &at);
    }

    SDL_Surface* look = ScaledLook();
    if (look == nullptr) {
        Rectangle imageClip = scaled - area;
        if (imageClip.IsEmpty()) {
            return;
        }
        canvas->SetClipRect(imageClip);
        canvas->Blit(scaled, *picture, GetFromRect());
    } else {
        Rectangle to(static_cast<short>(GetScaledX()), static_cast<short>(GetScaledY()),
                     static_cast<short>(look->w), static_cast<short>(look->h));
        Rectangle from(0, 0, static_cast<short>(look->w), static_cast<short>(look->h));
        canvas->Blit(to, look, from);
    }
}
