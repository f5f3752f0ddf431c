// MjClassic: the quest's board flow: the case the tiles fly out of at the opening, the scene
// hand-over at the start of play, time-up with its lives and losses, the Yin-Yang finish through
// the tray sweep into the case, the bonus tiles of the first board and the progress map's opening.

#include "framework/core/ConfigFile.h"
#include "framework/media/Music.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <string>

namespace {

// The label and tile states of the quest's flow.
constexpr int kYinYangToTray = 10008;
constexpr int kTilesArrive = 10033;
constexpr int kCaseClosing = 10034;
constexpr int kCaseAtRest = 10035;

// The case's frames: closed, ajar, open.
constexpr int kCaseClosed = 0;
constexpr int kCaseAjar = 1;
constexpr int kCaseOpen = 2;
constexpr int kCaseStepMs = 100;
constexpr int kArrivalTickMs = 20;
constexpr int kOpeningDoneMs = 700;
// Tiles that leave the case per arrival tick, by the board's size.
constexpr int kBigBoard = 180;
constexpr int kMiddleBoard = 130;

constexpr int kCentred = -1;
// The quest's boards take the menu, mournful and action music in turn.
constexpr int kQuestMusics = 3;

// The Yin-Yang finish: the tiles rise into the middle, the sweep gathers the rest beside them,
// then they drop into the case over 20 steps of 50 ms.
constexpr int kToTrayMs = 50;
constexpr int kMiddleX = 350;
constexpr int kMiddleSpacing = 60;
constexpr int kMiddleY = 400;
constexpr int kThirdX = 380;
constexpr int kThirdY = 450;
constexpr int kRaisedY = 150;
constexpr int kThirdRaisedY = 200;
constexpr int kFinishMoveMs = 500;
constexpr float kFinishSpeed = 10.0f;
constexpr int kFinishPriority = 4;
constexpr int kSweepStartMs = 500;
constexpr int kEndAnimationStartMs = 500;
constexpr int kEndAnimationStepMs = 50;
constexpr int kEndAnimationSteps = 20;
constexpr int kAboveCaseStep = 3;
constexpr int kCaseOpensStep = 10;
constexpr int kCaseWideStep = 11;
constexpr int kIntoCaseStep = 12;
constexpr int kCaseShutsStep = 18;
constexpr int kCaseShutStep = 19;
constexpr int kCaseSlotX = 8;
constexpr int kCaseSlotSpacing = 23;
constexpr int kCaseThirdX = 20;
constexpr int kAboveCaseY = 350;
constexpr int kThirdAboveCaseY = 325;
constexpr int kInCaseY = 600;
constexpr int kIntoCaseMs = 300;
// A swept tile's points show beside the tile it joined, a little further right for ordinary
// tiles: above the first Yin-Yang tile, below the second. Popups drift toward one corner and close
// up to a fifth of their distance on the way, so the two popups a pair of tiles starts at once
// begin more than five popup heights apart, or they run together ("10001000").
constexpr int kSweepPointsX = 20;
constexpr int kSweepOrdinaryX = 30;
constexpr int kSweepAboveY = 80;
constexpr int kSweepBelowY = 68;

// The bonus tiles of the first board shrink into the case, their middles on its mouth: the
// middle of the case's frame, where the open lid shows the glow.
constexpr int kBonusFlightMs = 1500;
constexpr float kBonusScale = 0.1f;

// The codes EndOfBoard is called with (it does not read them).
constexpr int kEndByBonusTiles = 3;
constexpr int kEndByYinYang = 4;
constexpr int kEndAtOnce = 5;

// Time-up: the losses in a row that bring the offer of a life.
constexpr int kLossesForOffer = 2;

// The progress map unrolls in 16 strips, 50 pixels apart, the roll riding on the open edge.
constexpr int kStripWidth = 50;
constexpr int kRollOffset = 9;
constexpr int kFirstRollX = 41;
constexpr int kMapOpenSteps = 17;
constexpr int kMarkerBlinkRate = 300;
constexpr int kMarkerBlinks = 9999;

void SetFrameIf(CastMemberImage* sprite, int frame)
{
    if (sprite != nullptr) {
        sprite->SetFrame(frame, 0);
    }
}

void MoveIf(MjTile* tile, int x, int y, int ms)
{
    if (tile != nullptr) {
        tile->MoveTo(x, y, static_cast<unsigned int>(ms), false, kFinishSpeed);
    }
}

} // namespace

bool MjClassic::QuestFlowState(CastMember* sender, int state, int /*value*/)
{
    auto* tile = dynamic_cast<MjTile*>(sender);
    switch (state) {
    case kOpeningCase:
    case kTilesArrive:
    case kCaseClosing:
    case kCaseAtRest:
        OpeningCaseStep(state);
        return true;
    case kBonusTileArrived:
        BonusTileArrived(tile);
        return true;
    case kYinYangToTray:
        YinYangToTray();
        return true;
    case kTrayEffectStep:
        EffectTick();
        return true;
    case kBesideArrived:
        TileBesideArrived(tile);
        return true;
    case kEndAnimation:
        EndAnimationStep(tile);
        return true;
    case kMapOpenStep:
        MapOpenStep();
        return true;
    default:
        return false;
    }
}

void MjClassic::QuestSceneHandOver(int fadeInMusic)
{
    if (Shared().sanity != 0) {
        return;
    }
    MjGameScript* script = GameScript();
    if (script != nullptr) {
        if (!WaitForSceneLoader("StartPlay")) {
            // A loader that ended without its animation leaves the state behind; with no loader
            // left it would hold every later board for the whole wait.
            if (script->GetSceneLoader() == nullptr) {
                script->SetAnimState(MjGameScript::kAnimNone);
            }
        } else if (script->GetAnimState() == MjGameScript::kAnimLoaded) {
            script->CleanUpAnimation(fadeInMusic);
            if (fadeInMusic != 0 && _replayRun == 0) {
                Music* music = _music[_puzzle % kQuestMusics];
                if (music != nullptr) {
                    Music::FadeIn(music, kMusicFadeMs, -1, 0.0);
                }
            }
            script->SetAnimState(MjGameScript::kAnimNone);
        }
    }
    if (_scene != nullptr) {
        _scene->StartLoading(_puzzleNumber);
    }
}

void MjClassic::OpeningCaseStep(int state)
{
    switch (state) {
    case kOpeningCase:
        _skipArrival = 0;
        SetFrameIf(_caseSprite, kCaseOpen);
        if (_titleText != nullptr) {
            _titleText->ChangeState(kTilesArrive, kCaseStepMs);
        }
        ShowIf(_caseOnTopSprite);
        return;
    case kTilesArrive: {
        if (_layout == nullptr) {
            return;
        }
        bool allOut = false;
        if (_skipArrival != 0) {
            _layout->AnimateAll(this, MjLayout::kSnapBack, _caseOnTopX);
            allOut = true;
        } else {
            const int perTick = _tileSpriteCount >= kBigBoard      ? 3
                                : _tileSpriteCount >= kMiddleBoard ? 2
                                                                   : 1;
            for (int n = 0; n < perTick && !allOut; ++n) {
                allOut = _layout->AnimateAll(this, MjLayout::kGather, _caseOnTopX) == 0;
            }
        }
        if (_titleText != nullptr) {
            _titleText->ChangeState(allOut ? kCaseClosing : kTilesArrive,
                                    allOut ? kCaseStepMs : kArrivalTickMs);
        }
        return;
    }
    case kCaseClosing:
        SetFrameIf(_caseSprite, kCaseAjar);
        if (_titleText != nullptr) {
            _titleText->ChangeState(kCaseAtRest, kCaseStepMs);
        }
        return;
    default: {
        SetFrameIf(_caseSprite, kCaseClosed);
        HideIf(_caseOnTopSprite);
        const bool changed = _firstBoard || _bonusLifeEarned != 0;
        if (_firstBoard) {
            // The board's life is in play from here on.
            AddLives(-1);
            _firstBoard = false;
        }
        if (_bonusLifeEarned != 0) {
            AddLives(1);
            _bonusLifeEarned = 0;
            if (_scoreTotText != nullptr) {
                _scoreTotText->StopBlinking();
                _scoreTotText->Show();
            }
        }
        if (changed && _livesText != nullptr) {
            _livesText->StopBlinking();
            _livesText->Show();
        }
        _extraLives = 1;
        if (_titleText != nullptr) {
            _titleText->ChangeState(kOpeningDone, kOpeningDoneMs);
        }
        return;
    }
    }
}

void MjClassic::TimeUp()
{
    HideIf(_timerSprites[1]);
    HideIf(_timerSprites[2]);
    // The next opening takes a life.
    _firstBoard = true;
    _extraLives = 0;
    MjGameScript* script = GameScript();
    const auto open = [script](const char* section, int id) {
        if (script != nullptr) {
            script->ShowPopup(section, id, 0, kCentred, kCentred);
        }
    };
    const bool lost = _lives == 0;
    if (lost) {
        open("zorvylose", kQuestLostDialog);
        _losses = 0;
    } else {
        ++_losses;
        if (_losses >= kLossesForOffer && _puzzle != 0 && Shared().savedBoard == -1) {
            _losses = 0;
            open("offerlife", kOfferLifeDialog);
        } else {
            open("timesup", kTimesUpDialog);
        }
    }
    if (_progressFile != nullptr) {
        _progressFile->Write("global", "losses", _losses);
        if (lost) {
            // What the teardown stores for a lost quest, stored now: a game killed before it
            // would otherwise start the next session with no lives.
            _progressFile->Write("global", "lives", kDefaultLives);
            _progressFile->Write("global", "score", 0);
        }
        _progressFile->Flush();
    }
    if (!lost) {
        PlayCue("CFG_TIMESUP", 0);
    }
    if (_matchesLeftText != nullptr) {
        _matchesLeftText->ChangeState(0);
    }
}

void MjClassic::FinishBoard(int endNow)
{
    // The selection holds four tiles: a board with more Yin-Yang tiles finishes with the first
    // four in scan order.
    ClearSelection(false);
    int held = 0;
    ForEachOriginCell([this, &held](int, int, int, MjCell& cell) {
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (tile != nullptr && tile->GetType() == MjTile::kYinYang && held < kSelectionSlots) {
            _selected[held++] = tile;
        }
    });
    _selectedCount = held;
    if (endNow != 0) {
        ClearSelection(true);
        if (_layout != nullptr) {
            _layout->Clear();
        }
        EndOfBoard(kEndAtOnce);
        return;
    }
    if (held == 0) {
        // Nothing to sweep the board into: it ends as cleared at once.
        DebugVar(1, "Board %d cleared without a Yin-Yang tile", _puzzle);
        RecordBoard();
        EndQuestBoard();
        return;
    }
    if (_titleText != nullptr) {
        _titleText->ChangeState(kYinYangToTray, kToTrayMs);
    }
}

void MjClassic::YinYangToTray()
{
    if (_selected[0] == nullptr) {
        RecordBoard();
        EndQuestBoard();
        return;
    }
    for (int i = 0; i < 2; ++i) {
        if (MjTile* tile = _selected[i]) {
            tile->MoveTo(kMiddleX + kMiddleSpacing * i, kMiddleY, kFinishMoveMs, false,
                         kFinishSpeed);
            tile->SetPriority(kFinishPriority);
            tile->ChangeState(MjTile::kOverlayLoop);
        }
    }
    if (MatchSize() == 3 && _selected[2] != nullptr) {
        _selected[2]->MoveTo(kThirdX, kThirdY, kFinishMoveMs, false, kFinishSpeed);
        _selected[2]->SetPriority(kFinishPriority);
        _selected[2]->ChangeState(MjTile::kOverlayLoop);
    }
    if (_titleText != nullptr) {
        _titleText->ChangeState(kTrayEffectStep, kSweepStartMs);
    }
}

void MjClassic::TileBesideArrived(MjTile* tile)
{
    if (tile == nullptr) {
        return;
    }
    if (tile == _selected[0]) {
        // The sweep is over: the Yin-Yang tiles rise and then drop into the case.
        for (int i = 0; i < 2; ++i) {
            MoveIf(_selected[i], kMiddleX + kMiddleSpacing * i, kRaisedY, kFinishMoveMs);
        }
        if (MatchSize() == 3) {
            MoveIf(_selected[2], kThirdX, kThirdRaisedY, kFinishMoveMs);
        }
        PlayCue("CFG_UP", 0);
        _endAnimationStep = 0;
        tile->ChangeState(kEndAnimation, kEndAnimationStartMs);
        return;
    }
    // A swept tile has reached the Yin-Yang tile it was gathered to.
    auto* joined = static_cast<MjTile*>(tile->Linked());
    if (joined != nullptr && joined->GetType() == MjTile::kYinYang &&
        _config->_type != kTimedType) {
        const int points = TilePoints(tile->GetType());
        AddToScore(points);
        const int dx = kSweepPointsX + (tile->GetType() < MjTile::kYinYang ? kSweepOrdinaryX : 0);
        const int dy = joined == _selected[1] ? kSweepBelowY : -kSweepAboveY;
        ShowPoints(std::to_string(points), tile->GetX() + dx, tile->GetY() + dy);
    }
    tile->ChangeState(MjTile::kHide);
}

void MjClassic::EndAnimationStep(MjTile* tile)
{
    if (tile == nullptr) {
        return;
    }
    int& step = _endAnimationStep;
    if (step < kEndAnimationSteps) {
        tile->ChangeState(kEndAnimation, kEndAnimationStepMs);
    }
    const auto toCase = [this](int y, int thirdY, int ms) {
        for (int i = 0; i < 2; ++i) {
            MoveIf(_selected[i], _caseOnTopX + kCaseSlotX + kCaseSlotSpacing * i, y, ms);
        }
        if (MatchSize() == 3) {
            MoveIf(_selected[2], _caseOnTopX + kCaseThirdX, thirdY, ms);
        }
    };
    switch (step) {
    case kAboveCaseStep:
        toCase(kAboveCaseY, kThirdAboveCaseY, kFinishMoveMs);
        break;
    case kCaseOpensStep:
        SetFrameIf(_caseSprite, kCaseAjar);
        PlayCue("CFG_DOWN", 0);
        ShowIf(_caseOnTopSprite);
        break;
    case kCaseWideStep:
        SetFrameIf(_caseSprite, kCaseOpen);
        break;
    case kIntoCaseStep:
        toCase(kInCaseY, kInCaseY, kIntoCaseMs);
        RecordBoard();
        break;
    case kCaseShutsStep:
        SetFrameIf(_caseSprite, kCaseAjar);
        break;
    case kCaseShutStep:
        SetFrameIf(_caseSprite, kCaseClosed);
        HideIf(_caseOnTopSprite);
        break;
    case kEndAnimationSteps:
        EndQuestBoard();
        return;
    default:
        break;
    }
    ++step;
}

void MjClassic::EndQuestBoard()
{
    ClearSelection(false);
    if (Shared().savedBoard != -1) {
        FadeInBoardButtons();
        ShowSelectionScreen(0);
        _replayRun = -2;
        return;
    }
    EndOfBoard(kEndByYinYang);
}

void MjClassic::CollectBonusTiles()
{
    // Recorded before the chooser opens: it makes another board current.
    RecordBoard();
    if (Shared().savedBoard != -1) {
        // The chooser takes the screen over: no tile is left to fly into the case.
        FadeInBoardButtons();
        ShowSelectionScreen(0);
        _replayRun = -2;
        return;
    }
    _bonusTilesFlying = 0;
    ForEachOriginCell([this](int, int, int, MjCell& cell) {
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (tile == nullptr || !tile->IsActive()) {
            return;
        }
        const int type = tile->GetType();
        if (type < MjTileTypes::kFirstHonourType || type > MjTileTypes::kLastBonusType) {
            tile->Hide();
            return;
        }
        tile->ResetFrame();
        tile->SetCueListener(nullptr);
        // A tile shrinks about its middle, so its corner goes half a tile up and left of the
        // mouth; without a case it shrinks where it stands.
        int x = tile->GetX();
        int y = tile->GetY();
        if (_caseSprite != nullptr) {
            x = _caseSprite->GetX() + _caseSprite->GetW() / 2 - tile->GetW() / 2;
            y = _caseSprite->GetY() + _caseSprite->GetH() / 2 - tile->GetH() / 2;
        }
        tile->MoveTo(x, y, kBonusFlightMs, false, kFinishSpeed);
        tile->ScaleTo(kBonusScale, kBonusFlightMs, nullptr);
        tile->ChangeState(kBonusTileArrived, kBonusFlightMs);
        ++_bonusTilesFlying;
    });
    // The board ends with the last tile in the case, or at once when none flies.
    if (_bonusTilesFlying == 0) {
        EndOfBoard(kEndByBonusTiles);
    }
}

void MjClassic::BonusTileArrived(MjTile* tile)
{
    if (tile == nullptr) {
        return;
    }
    tile->Hide();
    if (_bonusTilesFlying <= 0) {
        return;
    }
    if (--_bonusTilesFlying == 0) {
        EndOfBoard(kEndByBonusTiles);
    }
}

void MjClassic::MapOpenStep()
{
    MjClassicShared& shared = Shared();
    if (shared.mapBug < 0) {
        shared.mapBug = ConfigInt(_config, "game", "bug", 0);
    }
    const int bug = shared.mapBug;
    if (_spiritStep == 0) {
        BuildSpiritMap(_puzzle);
        PlayCue("CFG_OPENINGSCROLL", 0);
        _spiritStep = 1;
        if (bug == 0) {
            if (_mapSprites[0] != nullptr) {
                _mapSprites[0]->Move(0, 0, true);
            }
            if (_mapRollSprite != nullptr) {
                _mapRollSprite->Move(kFirstRollX, 0, true);
            }
            if (_livesText != nullptr) {
                _livesText->ChangeState(kMapOpenStep, _spiritSpeed);
            }
            return;
        }
    }
    if (_spiritStep == 3) {
        ShowMapTexts();
    }
    const int index = _spiritStep;
    if (index >= 1 && index <= kMapSprites && _mapSprites[index - 1] != nullptr) {
        _mapSprites[index - 1]->Move(kStripWidth * index - kStripWidth, 0, true);
    }
    if (_mapRollSprite != nullptr) {
        _mapRollSprite->Move(kStripWidth * index - kRollOffset, 0, true);
    }
    ++_spiritStep;
    if (_spiritStep < kMapOpenSteps) {
        if (_livesText != nullptr) {
            _livesText->ChangeState(kMapOpenStep, _spiritSpeed);
        }
        return;
    }
    HideIf(_mapRollSprite);
    if (_mapExtraSprite != nullptr) {
        _mapExtraSprite->Show();
        _mapExtraSprite->SetBlinkRate(kMarkerBlinkRate);
        _mapExtraSprite->Blink(kMarkerBlinks);
    }
    _spiritStep = kMapOpenSteps - 1;
}
