#include "framework/dialogs/CastMemberPopupDialog.h"

#include "framework/core/Color.h"
#include "framework/stage/CueListener.h"

#include <algorithm>

namespace {

constexpr int kFadeMs = 200;
constexpr int kShadowOffset = 7;
constexpr int kShadowValue = 64;
constexpr int kMaxPauseMs = 1000;
// Below this a pause is not worth a time cue: the settling starts at once.
constexpr int kShortestPauseMs = 2;
// The last argument the pop-up gives the image dialog's Show.
constexpr int kShowLast = 200;

} // namespace

CastMemberPopupDialog::CastMemberPopupDialog(Cast* cast, int id, DialogListener* listener)
    : CastMemberDialogImage(cast, id, nullptr, listener)
{
    SetName("CastMemberPopupDialog");
    InitFade(kFadeMs, kFadeMs, 255);
    SetDropShadow(kShadowOffset, kShadowOffset, Color(0, 0, 0, 255), kShadowValue);
    AllowDragging(true);
}

CastMemberPopupDialog::~CastMemberPopupDialog() = default;

void CastMemberPopupDialog::InitScaleToOnShow(float startScale, float peakScale, int growMs,
                                              int pauseMs, int settleMs)
{
    _startScale = startScale;
    _peakScale = peakScale;
    _growMs = std::max(growMs, 1);
    _pauseMs = std::min(pauseMs, kMaxPauseMs);
    _settleMs = std::max(settleMs, 1);
}

void CastMemberPopupDialog::Show(int first, int timeLimitMs, int x, int y, bool nested)
{
    CastMemberDialogImage::Show(first, timeLimitMs, x, y, nested, kShowLast);
    SetScale(_startScale);
    _popUpPending = true;
}

void CastMemberPopupDialog::Animate(unsigned int now)
{
    CastMemberDialogImage::Animate(now);
    if (_popUpPending) {
        _popUpPending = false;
        ScaleTo(_peakScale, _growMs, this);
    }
}

void CastMemberPopupDialog::Cue(CastMember* member, int cue, int value)
{
    if (!ScaleIsFullSize()) {
        if (cue == CueListener::kScaleEnded) {
            if (_pauseMs < kShortestPauseMs) {
                ScaleTo(1.0f, _settleMs, nullptr);
            } else {
                SetTimeCue(_pauseMs);
                SetCueListener(this);
            }
        } else if (cue == CueListener::kTimeCue) {
            ScaleTo(1.0f, _settleMs, this);
        }
    }
    CastMemberDialogImage::Cue(member, cue, value);
}
