#include "framework/stage/CastMemberCursor.h"

#include "framework/media/Image.h"
#include "framework/stage/Cast.h"

namespace {

// Where the cursor waits until the first pointer position arrives.
constexpr int kStartPosition = -100;
constexpr int kLoopSpeed = 32;

} // namespace

CastMemberCursor::CastMemberCursor(Cast* cast, Image* image1, Point hotSpot1, Image* image2,
                                   Point hotSpot2, Image* image3, Point hotSpot3, int loopValue1,
                                   int loopValue2, int loopValue3)
    : CastMemberImage(cast, image1, kStartPosition, kStartPosition, 1, 0)
{
    Init();
    _image1 = image1;
    _image2 = image2;
    _image3 = image3;
    _hotSpot1 = hotSpot1;
    _hotSpot2 = hotSpot2;
    _hotSpot3 = hotSpot3;
    _loopValue1 = loopValue1;
    _loopValue2 = loopValue2;
    _loopValue3 = loopValue3;
    _customImage = nullptr;
    _customHotSpot = Point(0, 0);
    _customLoopValue = 0;
    _kind = 1;
    _hotSpot = _hotSpot1;
    KeepPriority();
    AllowInput(false);
    AllowDragging(false);
    SetHighestPriorityOnDrag(false);
    Show();
}

CastMemberCursor::~CastMemberCursor()
{
    // The shown copy shares the pictures' sheets, which the pictures may delete: it goes first.
    DeleteImage();
    delete _image1;
    if (_image2 != _image1) {
        delete _image2;
    }
    if (_image3 != _image1 && _image3 != _image2) {
        delete _image3;
    }
}

void CastMemberCursor::Init()
{
    SetName("CastMemberCursor");
}

int CastMemberCursor::GetClassMemberType()
{
    return CastMember::kCursorKind;
}

void CastMemberCursor::KeepPriority()
{
    SetPrevPri(kPriority);
    _priority = kPriority;
    if (_cast != nullptr) {
        _cast->Remove(this, true);
        _cast->Add(this);
    }
    Repaint();
}

void CastMemberCursor::SetPriority(int /*p*/)
{
    KeepPriority();
}

void CastMemberCursor::SetDirtyRect() {}

void CastMemberCursor::SetScale(float /*scale*/) {}

void CastMemberCursor::Move(int x, int y, bool /*notify*/)
{
    if (GetX() == kStartPosition) {
        _rect.SetPoint(static_cast<short>(x), static_cast<short>(y));
    }
    CastMember::Move(x - _hotSpot.GetX(), y - _hotSpot.GetY(), false);
}

int CastMemberCursor::GetScaledX()
{
    return GetX() - _hotSpot.GetX();
}

int CastMemberCursor::GetScaledY()
{
    return GetY() - _hotSpot.GetY();
}

void CastMemberCursor::SetOriginToScale(Point p)
{
    _hotSpot = Point(static_cast<int>(static_cast<float>(p.GetX()) * _scale),
                     static_cast<int>(static_cast<float>(p.GetY()) * _scale));
}

Point CastMemberCursor::KindHotSpot() const
{
    switch (_kind) {
    case 2:
        return _hotSpot2;
    case 3:
        return _hotSpot3;
    case 4:
        return _customImage != nullptr ? _customHotSpot : _hotSpot1;
    default:
        return _hotSpot1;
    }
}

void CastMemberCursor::Animate(unsigned int now)
{
    CastMemberImage::Animate(now);
    SetOriginToScale(KindHotSpot());
    Repaint();
}

void CastMemberCursor::SetCursor(int kind)
{
    Image* picture = nullptr;
    Point hotSpot;
    int loopValue = 0;
    if (kind == 2 && _image2 != nullptr) {
        picture = _image2;
        hotSpot = _hotSpot2;
        loopValue = _loopValue2;
    } else if (kind == 3 && _image3 != nullptr) {
        picture = _image3;
        hotSpot = _hotSpot3;
        loopValue = _loopValue3;
    } else if (kind == 4 && _customImage != nullptr) {
        picture = _customImage;
        hotSpot = _customHotSpot;
        loopValue = _customLoopValue;
    } else {
        kind = 1;
        picture = _image1;
        hotSpot = _hotSpot1;
        loopValue = _loopValue1;
    }
    _kind = kind;
    _hotSpot = hotSpot;
    StopLooping();
    SetImage(picture);
    // A picture of several frames cycles for ever, pausing loopValue ms between cycles.
    Loop(kLoopSpeed, -1, 0, loopValue);
}

int CastMemberCursor::GetCursor()
{
    return _kind;
}

void CastMemberCursor::InitCustomCursor(Image* image, Point hotSpot, int loopValue)
{
    _customImage = image;
    _customHotSpot = hotSpot;
    _customLoopValue = loopValue;
}

void CastMemberCursor::UseTransparentBackground()
{
    CastMember::UseTransparentBackground();
    for (Image* picture : {_customImage, _image1, _image2, _image3, GetImage()}) {
        if (picture != nullptr) {
            picture->UseTransparency(true, false);
        }
    }
}
