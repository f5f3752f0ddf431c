// MjClassic: the play states its sprites report and the cues it hears.

#include "framework/core/Framework.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"

#include <algorithm>

namespace {

constexpr int kShowBoardAfterLanding = 12;
constexpr int kShowBoardAfterGlide = 14;
constexpr int kTrayMs = 500;

} // namespace

void MjClassic::StateReached(CastMember* sender, int state, int value)
{
    auto* tile = dynamic_cast<MjTile*>(sender);
    switch (state) {
    case kMagnetPulled: {
        if (tile == nullptr) {
            return;
        }
        if (auto* target = static_cast<MjTile*>(tile->Linked())) {
            target->SetType(tile->GetType());
            target->SetFace(tile->GetFace());
            target->ShowFace();
            target->ChangeState(MjTile::kIdle);
        }
        const int magnet = MjTileTypes::RenewedMagnet(tile->IsLinkedToType59());
        tile->SetType(magnet);
        tile->SetFace(magnet);
        PlayCue("stop", kCueStop);
        tile->ShowFace();
        ClearTraySlot(2, kTrayMs);
        ClearTraySlot(3, kTrayMs);
        MoveToTray(tile, 1, 0, kTrayMs);
        _moves->EndGroup();
        RefreshFreeCount();
        return;
    }
    case kSwapDone:
        if (tile == nullptr) {
            return;
        }
        _moves->AddSwap(tile, tile->Linked());
        if (_layout != nullptr) {
            _layout->ReplaceTile(tile, tile->Linked());
        }
        tile->SetLinked(nullptr);
        _moves->EndGroup();
        return;
    case kBackInCell:
        _inPlay = 1;
        RefreshFreeCount();
        if (_buttonLock != 0) {
            ShowBoard(kShowBoardAfterGlide);
        }
        if (_yinYangMatched == 0) {
            CheckNoMoves(false);
        }
        return;
    case MjTile::kLandedInTray: {
        // Only tiles this board sent off count: a board set up while tiles flew starts afresh.
        const auto at = std::find(_offGridTiles.begin(), _offGridTiles.end(), tile);
        if (tile == nullptr || at == _offGridTiles.end()) {
            DebugVar(1, "Landing of a tile of an earlier board ignored");
            return;
        }
        --_groupCounter;
        if (_groupCounter < 0) {
            DebugVar(-1, "Should Never Happen - Move to Undo error");
            _groupCounter = 0;
        }
        if (_groupCounter == 0) {
            PlayCue("stop", kCueStop);
            _inPlay = 1;
            RefreshFreeCount();
            if (_buttonLock != 0) {
                ShowBoard(kShowBoardAfterLanding);
            }
            CheckNoMoves(tile->GetType() == MjTile::kYinYang);
        }
        return;
    }
    case kOverlayNearEnd:
        PlayCue("stop", kCueStop);
        PlayCue("CFG_EXPLODE", 0);
        if (tile != nullptr) {
            tile->ChangeState(MjTile::kOverlayStep, tile->GetOverlayDelay());
        }
        return;
    case kOverlayEnded:
        if (tile != nullptr) {
            MoveToTray(tile, 2, 0, kTrayMs);
        }
        _moves->EndGroup();
        return;
    case kBuildPreviewState:
        LoadPreviewBoard();
        return;
    case kMapCloseStep:
        MapCloseStep();
        return;
    default:
        if (!GameFlowState(sender, state, value) && !QuestFlowState(sender, state, value)) {
            MjTileListener::StateReached(sender, state, value);
        }
        return;
    }
}

void MjClassic::Cue(CastMember* sender, int cue, int /*value*/)
{
    if (cue == CueListener::kScreenFadedIn) {
        // The screen has faded in (the game's start, or the end of a scene): on to the board.
        SceneStep();
        if (!_sceneLoading) {
            _cueReady = 1;
            if (_framework != nullptr) {
                _framework->ShowCursor();
            }
        }
        return;
    }
    if (cue == CueListener::kMoveEnded && sender != nullptr) {
        sender->SetCueListener(nullptr);
        if (_buttonsDisabled == 0 && _undoButton != nullptr) {
            _undoButton->SetEnabled(true);
        }
        _undoPossible = true;
    }
}
