#pragma once

#include "framework/stage/CastMemberText.h"

#include <string>

struct MjPopupPointsLook;

// Points shown where tiles were taken: drifts toward the upper right, fades out over the second
// half of its time and deletes itself when its move ends.
class MjPointsPopup : public CastMemberText
{
public:
    static constexpr int kStartFade = 1;
    static constexpr int kFading = 2;
    // The point the popup drifts toward, four fifths of the way.
    static constexpr int kTargetX = 750;
    static constexpr int kTargetY = 40;

    MjPointsPopup(MjPopupPointsLook* look, Cast* cast, const std::string& text, int x, int y);
    ~MjPointsPopup() override;

    void MoveEnded() override;
    void DoState(int state) override;
    // Deletes the popup (once, whatever the delete flag says).
    void RemovedFromCast() override;

private:
    // Copied from the look: a game can end, and its look go, while a popup still floats.
    int _time = 0;
    int _riseY = 0;
    int _riseX = 0;
};
