#include "framework/stage/Cast.h"

#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/CastMember.h"

Cast::Cast(AnimationManager* manager, Canvas* fadeCanvas)
    : Debug("Cast"), _animationManager(manager), _fadeCanvas(fadeCanvas)
{
    if (manager != nullptr) {
        _fadeAlpha = manager->GetMasterAlpha();
    }
}

Cast::~Cast()
{
    EndAnimationCycle();
    _fadeCanvas = nullptr;
    DestroyCastMembers();
    // The cursor outlives the stage (its owner keeps it): it leaves, so it never calls back.
    if (_cursor != nullptr && _cursor->GetCast() == this) {
        _cursor->SetCast(nullptr);
    }
    _cursor = nullptr;
    EndAnimationCycle();
    // The manager may already be gone: release the background without asking for a repaint.
    _animationManager = nullptr;
    DeleteBackground();
}
