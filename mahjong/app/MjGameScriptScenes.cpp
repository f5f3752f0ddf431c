// MjGameScript: the quest's cut-scenes between boards and its closing animation.

#include "framework/core/Framework.h"
#include "framework/core/LoadingThread.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"

void MjGameScript::FadeStepState()
{
    if (_screen == nullptr || _screen->_scene == nullptr) {
        return;
    }
    _screen->PlayCue("CFG_FADEIN", 0);
    _screen->_scene->LoadFades(kFadeStepArgument);
}

void MjGameScript::PendingAnimationState()
{
    _clearSceneOnFirstFrame = true;
    if (_screen != nullptr && _screen->_scene != nullptr) {
        // A running loader reads the name: it was started for this scene's animation, which
        // is then the one to play.
        if (_sceneLoader == nullptr && _animState.load() != kAnimLoading) {
            _animName = _screen->_scene->GetPendingAnimation();
        }
        _screen->_scene->ClearPendingAnimation();
    }
    ChangeState(kPlayAnimationState, kPendingAnimationMs);
}

void MjGameScript::PlayAnimationState()
{
    const bool threads = _framework != nullptr && _framework->AllowLoadingThread();
    if (threads && _animState.load() == kAnimLoading) {
        ChangeState(kPlayAnimationState, kRetryMs);
    }
    _closingPlayed = false;
    // Without loading threads, or with no loader started for it, the animation loads here.
    if (_animState.load() == kAnimNone && _sceneLoader == nullptr) {
        LoadSceneAnimation(false);
    }
    if (_animState.load() == kAnimLoaded) {
        SetupSprites();
        ChangeState(kAnimationFrameState, kAnimationStartMs);
    }
}

void MjGameScript::AnimationFrameState()
{
    if (!_clearSceneOnFirstFrame) {
        return;
    }
    _clearSceneOnFirstFrame = false;
    if (_screen != nullptr && _screen->_scene != nullptr) {
        _screen->_scene->Clear();
    }
}

void MjGameScript::AnimationEndedState()
{
    if (_noGame || _screen == nullptr) {
        return;
    }
    // The loader's animation data is its own until it has finished.
    if (_animState.load() == kAnimLoading) {
        DebugVar(-1, "Scene still loading at the end of a cut-scene; left to the loader");
    } else {
        _animState.store(kAnimNone);
        CleanUpAnimation(1);
    }
    if (_screen->_scene != nullptr) {
        _screen->_scene->Clear();
    }
    if (!_closingPlayed && _screen->_puzzle >= _screen->_puzzleCount &&
        _animState.load() != kAnimLoading) {
        BeginAnimation(kClosingAnimation, false);
        SetupSprites();
        _closingPlayed = true;
        ChangeState(kAnimationFrameState, kAnimationStartMs);
        return;
    }
    _screen->NextBoard();
}
