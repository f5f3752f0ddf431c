#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogImage.h"

class Cast;
class CastMember;
class DialogListener;

// An image dialog that pops up when shown: it starts small, grows past its full size and
// settles back to it (with the defaults 0.1 to 1.1 in 200 ms, then at once to 1.0 in 150 ms).
// It fades in and out in 200 ms and has a drop shadow. While it is scaled it ignores Enter,
// Escape and presses, as every dialog does.
class FRAMEWORK_API CastMemberPopupDialog : public CastMemberDialogImage
{
public:
    CastMemberPopupDialog(Cast* cast, int id, DialogListener* listener);
    ~CastMemberPopupDialog() override;

    // The dialog's frame step; on the first frame after Show it starts growing to the peak
    // scale.
    void Animate(unsigned int now) override;
    // The image dialog's Show, then the start scale; growing starts with the next frame.
    void Show(int first, int timeLimitMs, int x, int y, bool nested) override;
    using CastMemberDialogImage::Show;
    // The end of the growth (cue 4) holds the peak for the pause (a time cue, 2) and then
    // settles to full size; every cue then goes to the dialog as well.
    void Cue(CastMember* member, int cue, int value) override;

    // A grow or settle time below 1 ms becomes 1, a pause above 1000 ms becomes 1000.
    void InitScaleToOnShow(float startScale, float peakScale, int growMs, int pauseMs,
                           int settleMs);

    float GetStartScale() const { return _startScale; }
    float GetPeakScale() const { return _peakScale; }
    int GetGrowTime() const { return _growMs; }
    int GetPause() const { return _pauseMs; }
    int GetSettleTime() const { return _settleMs; }
    bool IsPopUpPending() const { return _popUpPending; }

private:
    bool _popUpPending = false;
    float _startScale = 0.1f;
    float _peakScale = 1.1f;
    int _growMs = 200;
    int _pauseMs = 0;
    int _settleMs = 150;
};
