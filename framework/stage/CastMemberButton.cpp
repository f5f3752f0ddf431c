#include "framework/stage/CastMemberButton.h"

#include "framework/media/ImageResource.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/CueListener.h"

#include <algorithm>

namespace {

constexpr int kBlinkOnTime = 100;
constexpr int kLit = 1;
constexpr int kHeld = 2;

} // namespace

CastMemberButton::CastMemberButton(Cast* cast, Image* image, int id, int x, int y, int priority)
    : CastMemberImage(cast, image, x, y, priority, 0)
{
    Init();
    SetID(id);
}

CastMemberButton::CastMemberButton(Cast* cast, const std::string& name, int id, int x, int y,
                                   int priority)
    : CastMemberImage(cast, name, x, y, priority, 0)
{
    Init();
    SetID(id);
}

CastMemberButton::CastMemberButton(Cast* cast, int id, int x, int y, int priority,
                                   ImageResource* resource)
    : CastMemberImage(cast, x, y, priority, resource, 0, 0)
{
    Init();
    SetID(id);
    _imageResource = resource;
}

CastMemberButton::~CastMemberButton()
{
    if (_imageResource != nullptr) {
        _imageResource->AllowImageDelete(true);
    }
}

void CastMemberButton::Init()
{
    SetName("CastMemberButton");
    AllowInput(true);
    AllowClicks(true);
    _onTime = kBlinkOnTime;
    _buttonListener = nullptr;
    _enabled = true;
    _pressedOver = false;
}

int CastMemberButton::GetClassMemberType()
{
    return CastMember::kButtonKind;
}

bool CastMemberButton::GetEnabled()
{
    return _enabled;
}

void CastMemberButton::SetEnabled(bool enabled)
{
    _enabled = enabled;
    SetFrame(RestingLook(), 0);
}

void CastMemberButton::SetButtonListener(ButtonListener* listener)
{
    _buttonListener = listener;
}

bool CastMemberButton::Clicked(Receiver* /*receiver*/, int button)
{
    if (_enabled && _buttonListener != nullptr) {
        _buttonListener->ButtonClicked(GetID(), button);
    }
    return false;
}

void CastMemberButton::OnMouseEnter(int /*x*/, int /*y*/)
{
    if (_enabled) {
        SetFrame(kLit, 0);
    }
}

void CastMemberButton::OnMouseDown(int /*x*/, int /*y*/, int /*button*/)
{
    if (_enabled) {
        SetFrame(kLit, 0);
    }
}

void CastMemberButton::OnMouseExit(int /*x*/, int /*y*/)
{
    if (_enabled) {
        SetFrame(0, 0);
    }
}

void CastMemberButton::OnMouseUp(int /*x*/, int /*y*/, int /*button*/)
{
    if (_enabled) {
        SetFrame(0, 0);
    }
}

void CastMemberButton::OnMouseOver(int /*x*/, int /*y*/, bool over)
{
    if (_enabled) {
        SetFrame(over ? kHeld : 0, 0);
        _pressedOver = over;
    }
}

// Starting a blink is the sprite's own; the button differs only in how it shows the halves
// (DoBlinkState).
void CastMemberButton::Blink(int times, int onTime)
{
    CastMember::Blink(times, onTime);
}

void CastMemberButton::Blink(int times)
{
    CastMember::Blink(times);
}

void CastMemberButton::Blink()
{
    CastMember::Blink();
}

void CastMemberButton::DoBlinkState(int state)
{
    // A delay of 0 would never run the next step.
    const int half = std::max(_onTime, 1);
    switch (state) {
    case 1:
        _blinksDone = 0;
        ChangeBlinkState(2);
        break;
    case 2:
        SetFrame(kLit, 0);
        ChangeBlinkState(3, half);
        break;
    case 3:
        SetFrame(RestingLook(), 0);
        ++_blinksDone;
        if (_blinkTimes != -1 && _blinksDone >= _blinkTimes) {
            // A button's run ends quietly: its listener hears clicks, not the end of a blink.
            ChangeBlinkState(0);
        } else {
            ChangeBlinkState(2, half);
        }
        break;
    default:
        break;
    }
}
