// MjClassic: the game-flow states of its labels: the board's opening, start of play, the game
// clock and its time bonus, the board-won poll and the self-scrambling tiles.

#include "framework/core/ConfigFile.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kShowAtStartOfPlay = 13;
constexpr int kAutoAdvanceMs = 4000;
constexpr int kOpeningCaseMs = 100;
constexpr int kCaseOpenFrame = 1;
constexpr int kAllAtOnce = -1;
constexpr int kCentred = -1;
constexpr int kNoPopup = -1;
constexpr int kBlinkMs = 500;
constexpr int kLivesBlinkTimes = 999;
constexpr int kLivesBlinkRate = 200;
constexpr int kHopBoard = 35;
// Play modes whose faces hide, and whose speed the warning explains.
constexpr int kHidingMode = 1;
constexpr int kScramblingMode = 2;
// The time bonus: its clock period, its rise per step and the ending's steps while it counts.
constexpr int kBonusPeriodMs = 15;
constexpr int kBonusStep = 5;
constexpr int kBonusEndingMs = 5;
constexpr int kEndingMs = 500;
constexpr int kElapsedMs = 1000;
constexpr int kWonPollMs = 150;
// The quest's time is up with this many steps left.
constexpr int kTimeUpStep = 27;
constexpr int kBonusPopupX = 370;
constexpr int kBonusPopupY = 325;
// The face before the first face of the congratulation picture.
constexpr int kLastCongratsFace = MjTileTypes::kLastGroupedFace;
// The self-scrambling board: its tiles look again every 50 to 69 ms; a state of 2 waits, 1
// holds still once matches are left after the settle time; the reference time renews.
constexpr int kScrambleBaseMs = 50;
constexpr int kScrambleSpreadMs = 20;
constexpr int kScrambleRenewMs = 10000;
constexpr int kScrambleSettleMs = 1200;
constexpr int kScrambleHold = 1;
constexpr int kScrambleWait = 2;

} // namespace

void MjClassic::ShowIf(CastMember* sprite)
{
    if (sprite != nullptr) {
        sprite->Show();
    }
}

void MjClassic::HideIf(CastMember* sprite)
{
    if (sprite != nullptr) {
        sprite->Hide();
    }
}

bool MjClassic::GameFlowState(CastMember* sender, int state, int value)
{
    switch (state) {
    case kStartPlay:
        if (_quest) {
            QuestSceneHandOver(value);
        }
        StartPlay();
        return true;
    case kOpenBoardState:
        OpenBoard();
        return true;
    case kOpeningDone:
        OpeningDone();
        return true;
    case kClockStep:
        ClockStep();
        return true;
    case kElapsedSecond:
        if (_titleText2 != nullptr) {
            _titleText2->ChangeState(kElapsedSecond, kElapsedMs);
        }
        if (_buttonsDisabled == 0) {
            ++_boardScore;
            AddToScore(0);
        }
        return true;
    case kAutoAdvance:
        if (_quest) {
            ButtonClicked(kReplayId, 3);
        } else {
            NextBoard();
        }
        return true;
    case kBoardWonPoll:
        BoardWonPoll();
        return true;
    case MjTile::kSpecialOpaque:
        ScrambleStep(dynamic_cast<MjTile*>(sender));
        return true;
    default:
        return false;
    }
}

void MjClassic::StartPlay()
{
    if (_skipFlag != 0) {
        _inPlay = 1;
        if (_titleText != nullptr) {
            _titleText->ChangeState(kAutoAdvance, kAutoAdvanceMs);
        }
        return;
    }
    if (_replayRun == 0) {
        _inPlay = 1;
        RefreshFreeCount();
        ShowBoard(kShowAtStartOfPlay);
    }
    if (_replayRun == -2) {
        _replayRun = 0;
    }
}

void MjClassic::OpenBoard()
{
    // A first board outside the quest is started from the board-selection screen instead.
    if (!_quest && _firstBoard) {
        return;
    }
    if (_replayRun < 1) {
        ShowIf(_matchesLeftText);
        ShowIf(_titleText);
        ShowIf(_scoreText);
        ShowIf(_scoreTotText);
        if (_config->_type == kTimedType) {
            for (MjTextLabel* label : _scoreTimeText) {
                ShowIf(label);
            }
        }
        ShowIf(_titleText2);
        if (_quest) {
            ShowIf(_livesText);
        }
        ShowIf(_timerSprites[0]);
    }
    if (_cueReady != 0 && Shared().savedBoard == -1) {
        if (_quest) {
            PlayCue("CFG_UP", 0);
            if (_firstBoard || _bonusLifeEarned != 0) {
                if (_livesText != nullptr) {
                    _livesText->Blink(kLivesBlinkTimes, kLivesBlinkRate);
                }
                if (_bonusLifeEarned != 0 && _scoreTotText != nullptr) {
                    _scoreTotText->Blink(kLivesBlinkTimes, kLivesBlinkRate);
                }
            }
            if (_caseSprite != nullptr) {
                _caseSprite->SetFrame(kCaseOpenFrame, 0);
            }
            if (_titleText != nullptr) {
                _titleText->ChangeState(kOpeningCase, kOpeningCaseMs);
            }
            return;
        }
        if (_layout != nullptr) {
            _layout->AnimateAll(this, kAllAtOnce, 0);
        }
        _extraLives = 1;
        StateReached(nullptr, kOpeningDone, 1);
        return;
    }
    _extraLives = 1;
    StateReached(nullptr, kStartPlay, 1);
}

void MjClassic::OpeningDone()
{
    MjClassicShared& shared = Shared();
    MjGameScript* script = GameScript();
    if ((_playMode == kHidingMode || _playMode == kScramblingMode) && shared.faceHiding == 0 &&
        !shared.scrambleWarningShown) {
        // Closing the warning starts play.
        if (script != nullptr) {
            script->ShowPopup("scramblespeedwarning", kOpeningPopupDialog, 0, kCentred, kCentred);
        }
        shared.scrambleWarningShown = true;
        _noMovesMark = 0;
        return;
    }
    const std::string section = MjPuzzleRules::SectionName(_puzzle);
    Point at = _puzzlesFile != nullptr
                   ? _puzzlesFile->ValueAsPoint(section, "popuppos", Point(kNoPopup, kNoPopup))
                   : Point(kNoPopup, kNoPopup);
    if (at.GetX() == kNoPopup || _skipFlag != 0 || _noMovesMark != 0) {
        StateReached(nullptr, kStartPlay, 1);
    } else {
        if (at.GetX() == -2) {
            at = Point(kCentred, kCentred);
        }
        // Closing the board's popup starts play.
        if (script != nullptr) {
            script->ShowPopup(ConfigText(_puzzlesFile, section, "popupname", "0"),
                              kOpeningPopupDialog, 0, at.GetX(), at.GetY());
        }
        const Point tiles = _puzzlesFile->ValueAsPoint(section, "popuptiles", Point(-1, -1));
        if (tiles.GetX() != -1) {
            BlinkTilesOfType(tiles.GetX(), tiles.GetY(), kBlinkMs);
        }
        if (_quest && _puzzle == kHopBoard) {
            MjTile::SetAllHop(true);
            for (int type : {kUpType, kDownType, kWandType}) {
                BlinkTilesOfType(type, 1, kBlinkMs);
            }
        }
    }
    _noMovesMark = 0;
}

void MjClassic::ClockStep()
{
    int& steps = _timerValues[0];
    int& bonus = _timerValues[2];
    if (bonus != 0) {
        _rules.time = kBonusPeriodMs;
    }
    const auto rearm = [this](int ms) {
        if (_matchesLeftText != nullptr) {
            _matchesLeftText->ChangeState(kClockStep, ms);
        }
    };
    if (steps > kFuseLastStep) {
        rearm(_rules.time);
    }
    if (_buttonsDisabled != 0) {
        // The ending steps re-arm below; while paused they must not be lost either.
        if (steps <= kFuseLastStep) {
            rearm(bonus != 0 ? kBonusEndingMs : kEndingMs);
        }
        return;
    }
    if (bonus != 0) {
        bonus += kBonusStep;
        if (_bonusText != nullptr) {
            _bonusText->SetText(FormatNumber(bonus));
        }
    }
    if (_quest) {
        for (int n = 1; n <= 2; ++n) {
            if (_timerSprites[n] != nullptr) {
                _timerSprites[n]->Move(_timerSprites[n]->GetX() - 1, _timerSprites[n]->GetY(),
                                       false);
            }
        }
    }
    CastMemberImage* fuse = _timerSprites[0];
    if (steps > kFuseLastStep && fuse != nullptr && _timerResource != nullptr) {
        // The sheet burns the fuse from the step's column rightwards; what lies past the fuse's
        // right edge is left out rather than drawn past it.
        Image* picture = fuse->GetImage();
        Canvas* target = picture != nullptr ? picture->GetCanvas() : nullptr;
        Canvas* sheet = _timerResource->GetCanvas();
        const int width = picture != nullptr ? picture->GetW() - steps : 0;
        const int height =
            picture != nullptr ? std::min(picture->GetH(), _timerResource->GetH()) : 0;
        if (target != nullptr && sheet != nullptr && width > 0 && height > 0) {
            const int w = std::min(width, _timerResource->GetW());
            Rectangle to(static_cast<short>(steps), 0, static_cast<short>(w),
                         static_cast<short>(height));
            Rectangle from(0, 0, static_cast<short>(w), static_cast<short>(height));
            target->Blit(to, *sheet, from);
            fuse->Repaint();
        }
    }
    --steps;
    if (steps == kTimeUpStep) {
        // Outside the quest the clock never ends the game.
        if (_quest) {
            TimeUp();
        }
        return;
    }
    if (steps > kFuseLastStep) {
        return;
    }
    if (_timerEndSprite != nullptr) {
        // Frames 0 to 4 over the last steps, four steps each (the division truncates to zero).
        _timerEndSprite->SetFrame(4 - (steps + 9) / 4, 0);
        _timerEndSprite->Show();
        HideIf(fuse);
    }
    if (steps < kClockLastStep) {
        steps = kClockLastStep;
    }
    if (steps == kClockLastStep) {
        if (_matchesLeftText != nullptr) {
            _matchesLeftText->ChangeState(0);
        }
        HideIf(_timerEndSprite);
        _timerValues[1] = 0;
        return;
    }
    rearm(bonus != 0 ? kBonusEndingMs : kEndingMs);
}

void MjClassic::BoardWonPoll()
{
    int& bonus = _timerValues[2];
    if (bonus != 0 && _timerValues[1] == 0) {
        if (_timerBonusSprite != nullptr && _cast != nullptr) {
            _cast->SafeDelete(_timerBonusSprite);
        } else {
            delete _timerBonusSprite;
        }
        _timerBonusSprite = nullptr;
        const std::string text = FormatNumber(bonus);
        if (_config->_type != kTimedType) {
            ShowPoints(text, kBonusPopupX, kBonusPopupY);
        }
        AddToScore(bonus);
        bonus = 0;
        RecordBoard();
        if (MjGameScript* script = GameScript()) {
            script->ShowPopup("youwinnewboard", kWinDialog, 0, kCentred, kCentred);
        }
        HideIf(_bonusText);
    } else if (_titleText != nullptr) {
        _titleText->ChangeState(kBoardWonPoll, kWonPollMs);
    }
    // The congratulation picture cycles its faces.
    ForEachOriginCell([](int, int, int, MjCell& cell) {
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (tile != nullptr && tile->IsActive()) {
            const int face = tile->GetFace() - 1;
            tile->SetFace(face < 0 ? kLastCongratsFace : face);
            tile->ShowFace();
        }
    });
}

void MjClassic::ScrambleStep(MjTile* tile)
{
    if (tile == nullptr || _layout == nullptr) {
        return;
    }
    const int again = kScrambleBaseMs + std::rand() % kScrambleSpreadMs;
    if (_buttonsDisabled != 0) {
        tile->ChangeState(MjTile::kSpecialOpaque, again);
        return;
    }
    MjClassicShared& shared = Shared();
    const int now = static_cast<int>(TickSource::Now());
    if (now - shared.scrambleTime > kScrambleRenewMs || shared.scrambleState == 0) {
        shared.scrambleTime = now;
        shared.scrambleState = kScrambleWait;
    }
    if (now - shared.scrambleTime > kScrambleSettleMs && shared.scrambleState != kScrambleHold &&
        _layout->UpdateFree() != 0) {
        shared.scrambleState = kScrambleHold;
    }
    tile->ChangeState(MjTile::kSpecialOpaque, again);
    if (shared.scrambleState == kScrambleHold ||
        _layout->FreeState(tile->GridI(), tile->GridJ(), tile->GridK()) != MjLayout::kFree ||
        !CanTrayTileMatch(tile)) {
        return;
    }
    // The partner may lie anywhere on the board, blocked or free.
    std::vector<MjTile*> candidates;
    ForEachOriginCell([&](int, int, int, MjCell& cell) {
        auto* other = static_cast<MjTile*>(cell.tile);
        if (other != nullptr && CanTrayTileMatch(other)) {
            candidates.push_back(other);
        }
    });
    if (candidates.empty()) {
        return;
    }
    MjTile* partner = candidates[_deal->DealRandom() % candidates.size()];
    if (partner != tile) {
        tile->SwapWith(partner);
    }
}
