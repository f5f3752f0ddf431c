#include "mahjong/screen/MjPointsPopup.h"

#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>

namespace {

constexpr int kShadowAlpha = 64;
constexpr float kMoveSpeed = 10.0f;

} // namespace

MjPointsPopup::MjPointsPopup(MjPopupPointsLook* look, Cast* cast, const std::string& text, int x,
                             int y)
    : CastMemberText(cast, text, look->_font, look->_color, look->_color, Color(0, 0, 0, 255),
                     look->_width, x, y, 1),
      _time(look->_time)
{
    SetExtraShadow(true);
    AllowDragging(false);
    AllowInput(false);
    Justify(look->_justify);
    SetDropShadow(-look->_shadow, look->_shadow, Color(0, 0, 0, 255), kShadowAlpha);
    Show();
    ChangeState(kStartFade, _time / 2);
    _riseX = 4 * std::max(kTargetX - x, 0) / 5;
    _riseY = 4 * std::max(y - kTargetY, 0) / 5;
    MoveTo(GetX() + _riseX, GetY() - _riseY, static_cast<unsigned int>(std::max(_time, 0)), false,
           kMoveSpeed);
}

MjPointsPopup::~MjPointsPopup() = default;

void MjPointsPopup::MoveEnded()
{
    CastMember::MoveEnded();
    SetCast(nullptr);
}

void MjPointsPopup::DoState(int state)
{
    if (state == kStartFade) {
        FadeOut(0, static_cast<unsigned int>(std::max(_time / 2, 0)), nullptr);
        SetState(kFading);
    }
}

void MjPointsPopup::RemovedFromCast()
{
    delete this;
}
