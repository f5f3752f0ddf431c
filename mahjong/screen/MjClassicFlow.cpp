// MjClassic: from a won board to the next one: the congratulation board with its time bonus, the
// step to the next board and the debug command that keeps only some tile types.

#include "framework/core/Framework.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/GameTime.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kCongratsLayouts = 4;
constexpr int kCongratsStartMs = 10;
constexpr int kBonusStartSteps = 5;
constexpr int kBonusX = 274;
constexpr int kBonusY = 220;
constexpr int kBonusPriority = 999999;
constexpr int kNextBoardReason = 6;
// KeepTypes keeps the types from this one on.
constexpr int kFirstKeptType = 18;

} // namespace

void MjClassic::BoardCleared()
{
    if (!_quest || _scene == nullptr) {
        ShowCongratulations();
        return;
    }
    // The quest's own finish: the clock stops and the board's last tiles go into the case.
    if (_matchesLeftText != nullptr) {
        _matchesLeftText->ChangeState(0);
    }
    ClearSelection(true);
    HideButtons();
    if (_puzzle == 0) {
        CollectBonusTiles();
        return;
    }
    PlayCue("CFG_CLEAREDBOARD", 0);
    FinishBoard(0);
}

void MjClassic::ShowCongratulations()
{
    if (_config->_type == kTimedType && _titleText2 != nullptr) {
        _titleText2->ChangeState(0);
    }
    if (_layout != nullptr) {
        _layout->Clear();
        char name[64];
        std::snprintf(name, sizeof name, "puzzles/congrats%d.cfg", _puzzle % kCongratsLayouts + 1);
        _layout->Load(name);
        CreateTileSprites(kStartQuiet);
    }
    _inPlay = 0;
    _buttonsDisabled = 0;
    MjGameScript* script = GameScript();
    if (_config->_type == kTimedType || _timerValues[1] == 0) {
        if (_config->_type == kTimedType && _titleText != nullptr) {
            _titleText->ChangeState(kBoardWonPoll, kCongratsStartMs);
        }
        RecordBoard();
        if (script != nullptr) {
            script->ShowPopup("youwinnewboard", kWinDialog, 0, -1, -1);
        }
        return;
    }
    // The clock runs on fast and pays the time left as a bonus.
    HideButtons();
    if (_titleText != nullptr) {
        _titleText->ChangeState(kBoardWonPoll, kCongratsStartMs);
    }
    if (_matchesLeftText != nullptr) {
        _matchesLeftText->ChangeState(kClockStep, kCongratsStartMs);
    }
    _inPlay = 0;
    _buttonsDisabled = 0;
    if (_timerBonusSprite != nullptr && _cast != nullptr) {
        _cast->SafeDelete(_timerBonusSprite);
    }
    _timerBonusSprite = nullptr;
    if (_timerBonusImage != nullptr) {
        _timerBonusSprite =
            new CastMemberImage(_cast, _timerBonusImage, kBonusX, kBonusY, kBonusPriority, 0);
    }
    _timerValues[2] = kBonusStartSteps;
    const std::string& bonus = FormatNumber(kBonusStartSteps);
    if (_bonusText != nullptr) {
        _bonusText->SetText(bonus);
        _bonusText->Show();
    }
}

void MjClassic::NextBoard()
{
    _sceneLoading = false;
    if (_fastTest != 0) {
        GameTime::SetTestSlow(0);
    }
    SelectPuzzle(_puzzle + 1);
    MjGameScript* script = GameScript();
    if (_scene != nullptr) {
        // The stage shows the new picture before the old one is freed.
        Image* background = _scene->LoadBackground(_puzzleNumber, _cast, false, -1);
        if (script != nullptr) {
            script->ReplaceBackground(background);
        } else {
            delete background;
        }
    } else if (!_quest) {
        MakeBackground();
    }
    if (_framework != nullptr) {
        _framework->ShowCursor();
    }
    if (_quest && _replayRun != 0) {
        ReplayRunStep();
        return;
    }
    if (script != nullptr && script->ClosingPlayed() && _previewDeal == 0 && _skipFlag == 0) {
        script->LeaveGame();
        script->SetClosingPlayed(false);
        return;
    }
    if (_quest && _puzzle != 0 && _previewDeal == 0 && _skipFlag == 0) {
        FadeInBoardButtons();
        if (_livesText != nullptr) {
            _livesText->ChangeState(kMapOpenStep, _fadeInSpeed);
        }
        return;
    }
    FadeInBoardButtons();
    _previewDeal = 0;
    SetupBoard(kNextBoardReason, 0, kStartOpening, "");
}

void MjClassic::KeepTypes(int count)
{
    // Removed after the walk: taking a tile off changes the cells being walked.
    struct Spot
    {
        int i, j, k;
    };
    std::vector<Spot> gone;
    ForEachOriginCell([count, &gone](int i, int j, int k, MjCell& cell) {
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (tile == nullptr) {
            return;
        }
        const int type = tile->GetType();
        if (type >= kFirstKeptType && type <= count + kFirstKeptType - 1) {
            tile->ChangeState(MjTile::kJitter);
        } else {
            gone.push_back({i, j, k});
        }
    });
    if (_layout == nullptr) {
        return;
    }
    for (const Spot& spot : gone) {
        _layout->RemoveTile(spot.i, spot.j, spot.k);
    }
}
