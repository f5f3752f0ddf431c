// MjClassic: the board's buttons and popup answers, typed keys and debug commands, pause.

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/GameTime.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"

#include <climits>
#include <cstdio>
#include <string>

namespace {

// Reasons handed to the board set-up, and to ShowBoard and HideBoard (not read).
constexpr int kReasonReplay = 4;
constexpr int kReasonNoMovesSameDeal = 7;
constexpr int kReasonNoMovesStartOver = 8;
constexpr int kReasonNoMovesAgain = 9;
constexpr int kReasonTimesUpNew = 10;
constexpr int kReasonTimesUpAgain = 11;
constexpr int kReasonWinNext = 12;
constexpr int kReasonWinAgain = 13;
constexpr int kReasonOtherPopup = 14;
constexpr int kReasonPuzzle = 15;
constexpr int kReasonShadow = 16;
constexpr int kReasonSeed = 17;
constexpr int kReasonEmptyBack = 18;
constexpr int kReasonBlackBack = 19;
constexpr int kReasonTileSet = 20;
constexpr int kHideForPause = 1;
constexpr int kHideForAutoPause = 5;
constexpr int kShowAfterNoMoves = 1;
constexpr int kShowAfterPause = 2;
constexpr int kShowAfterCommand = 3;
constexpr int kShowAfterOpening = 4;
constexpr int kShowAfterSelection = 5;
constexpr int kShowAfterMovies = 6;
constexpr int kShowAfterLeave = 7;
constexpr int kShowAfterTimesUp = 8;
constexpr int kShowAfterWin = 9;
constexpr int kShowAfterRestart = 10;
constexpr int kShowAfterPopup = 11;

// Popup modes: plain, closed by a press outside, and that without a fade-in.
constexpr int kPopupPlain = 0;
constexpr int kPopupOutsideCloses = 1;
constexpr int kPopupNoFade = 2;
constexpr int kCentred = -1;
// The popup file's section of the notice of failed saves (its frame and OK button).
constexpr const char* kSaveFailedSection = "savefailed";

// The replay button's value of a right press, which ends the board at once in cheat mode.
constexpr int kEndNowValue = 3;
// The dialog's answer by left click, Enter or Escape.
constexpr int kAnswered = 1;
constexpr int kUndoItem = 1;
constexpr int kSameDealItem = 2;
constexpr int kNewSeedItem = 3;
constexpr int kFirstItem = 1;
constexpr int kMoviesState = 16;

constexpr int kCheatKey = 1;
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kZeroPeriodMs = 5;
constexpr int kLastQuestBoard = 59;
// The selection screen's choices of a page turn, and the replay run a movie starts: the whole
// quest from the first movie, else two boards.
constexpr int kNextPageChoice = -2;
constexpr int kPreviousPageChoice = -1;
constexpr int kWholeReplayRunEnd = 61;
constexpr int kShortReplayRunEnd = 2;

// The number at the start of text as atoi reads it, held at the int range instead of
// overflowing.
int SaturatedNumber(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

void ShowPopupOn(MjGameScript* script, const std::string& section, int id, int mode)
{
    if (script != nullptr) {
        script->ShowPopup(section, id, mode, kCentred, kCentred);
    }
}

} // namespace

void MjClassic::ButtonClicked(int id, int value)
{
    if (id == kNextPageId || id == kPreviousPageId || id == kPlayChoiceId ||
        id == kCancelChoiceId || (id >= kFirstCellId && id <= kLastCellId)) {
        // The selection screen's buttons act only once its page is complete.
        if (_pageReady != 0) {
            SelectionButtonClicked(id);
        }
        return;
    }
    ClearSelection(true);
    if (_inPlay == 0) {
        return;
    }
    switch (id) {
    case kNewGameId:
        if (_quest) {
            break;
        }
        PlayCue("CFG_MENUSELECTIONS", 0);
        NextBoard();
        return;
    case kReplayId:
        PlayCue("CFG_MENUSELECTIONS", 0);
        if (value == kEndNowValue && _cheatMode != 0) {
            EndBoardNow();
        } else if (!_quest && _matchCounter == 0 && _skipFlag == 0) {
            // Nothing played yet: a fresh deal needs no confirmation.
            DebugVar(0, "Prior Prediction = %d", value);
            _rules.fixedSeed = 0;
            _seed = 0;
            SetupBoard(kReasonReplay, 0, kStartQuiet, _layoutFile);
        } else {
            ShowPopupOn(GameScript(), "restartconfirmation", kRestartDialog, kPopupPlain);
        }
        return;
    case kUndoId:
        PlayCue("CFG_UNDO", 0);
        _undoPossible = Undo();
        if (_undoButton != nullptr) {
            _undoButton->SetEnabled(_undoPossible);
        }
        return;
    case kHintId:
        PlayCue("CFG_WATERDROP", 0);
        if (_layout != nullptr) {
            _layout->ShowHint(false);
        }
        return;
    case kPauseId:
        PlayCue("CFG_SELECT", 0);
        ShowPopupOn(GameScript(), "paused", kPausePopupId, kPopupOutsideCloses);
        HideBoard(kHideForPause);
        return;
    default:
        break;
    }
    DebugVar(-1, "Should Never Happen in Button Clicked %d, %d", id, value);
}

void MjClassic::SelectionButtonClicked(int id)
{
    MjClassicShared& shared = Shared();
    if (id >= kFirstCellId) {
        const int k = id - kFirstCellId;
        if (_cellsPerPage <= 0 || k >= _cellsPerPage) {
            return;
        }
        const int n = _puzzle - _puzzle % _cellsPerPage + k + 1;
        if (n > shared.selectableLimit + 1) {
            PlayCue("CFG_TILESNOTMATCHED", 0);
        } else {
            ShowSelectionScreen(n);
        }
        return;
    }
    switch (id) {
    case kNextPageId:
        ShowSelectionScreen(kNextPageChoice);
        return;
    case kPreviousPageId:
        ShowSelectionScreen(kPreviousPageChoice);
        return;
    case kPlayChoiceId:
        if (_selectionKind == 0) {
            if (!_quest) {
                _firstBoard = false;
            }
            LeaveSelectionScreen(false);
        } else if (_quest) {
            _replayRun = 1;
            _replayRunEnd = _puzzle == 0 ? kWholeReplayRunEnd : kShortReplayRunEnd;
            _replayRunStart = _puzzle;
            _puzzle =
                ConfigInt(_scenesFile.get(), "scene" + std::to_string(_puzzle + 1), "start", 0);
            if (_replayModeSprite != nullptr) {
                _replayModeSprite->Hide();
            }
            LeaveSelectionScreen(false);
        } else {
            SetSceneChoice(_puzzle);
            _puzzle = shared.savedBoard;
            shared.savedBoard = -1;
            LeaveSelectionScreen(true);
        }
        return;
    case kCancelChoiceId:
        _puzzle = shared.savedBoard;
        shared.savedBoard = -1;
        PlayCue("CFG_MENUSELECTIONS", 0);
        if (_quest) {
            if (_replayModeSprite != nullptr) {
                _replayModeSprite->Hide();
            }
            _lives += _extraLives;
            _extraLives = 0;
            _firstBoard = true;
            LeaveSelectionScreen(false);
            return;
        }
        _playMode = shared.savedPlayMode;
        if (_firstBoard) {
            if (MjGameScript* script = GameScript()) {
                script->LeaveGame();
            }
        } else if (_selectionKind != 0) {
            SetSceneChoice(_sceneChoice);
            LeaveSelectionScreen(true);
        } else {
            LeaveSelectionScreen(false);
        }
        return;
    default:
        return;
    }
}

void MjClassic::EndBoardNow()
{
    if (!_quest) {
        BoardCleared();
        return;
    }
    _inPlay = 0;
    _matchState = 0;
    if (_matchesLeftText != nullptr) {
        _matchesLeftText->ChangeState(0);
    }
    if (Shared().savedBoard != -1) {
        FadeInBoardButtons();
        ShowSelectionScreen(0);
        _replayRun = -2;
        return;
    }
    HideButtons();
    if (_puzzle == 0) {
        CollectBonusTiles();
    } else {
        RecordBoard();
        FinishBoard(1);
    }
}

void MjClassic::DialogButtonClicked(int dialogId, int itemId, int value)
{
    // The no-moves choice acts on a left click, Enter or Escape only; closing it on another
    // report would leave a board without moves and without a way on.
    if (dialogId == MjGameScript::kNoMovesDialog && value != kAnswered) {
        return;
    }
    if (_cast != nullptr) {
        _cast->ForceDialogsDispose();
    }
    switch (dialogId) {
    case MjGameScript::kNoMovesDialog:
        AnswerNoMoves(itemId, value);
        return;
    case kPausePopupId:
        MjTile::SetAllHop(false);
        ShowBoard(kShowAfterPause);
        return;
    case kCommandPopupDialog:
        ShowBoard(kShowAfterCommand);
        return;
    case kOpeningPopupDialog:
        MjTile::SetAllHop(false);
        StateReached(nullptr, kStartPlay, 0);
        ShowBoard(kShowAfterOpening);
        return;
    case kSelectionDialog:
        if (itemId == kFirstItem) {
            _selectionKind = 0;
            ShowSelectionScreen(0);
        } else {
            ShowBoard(kShowAfterSelection);
        }
        return;
    case kMoviesDialog:
        if (itemId == kFirstItem) {
            if (MjGameScript* script = GameScript()) {
                script->ChangeState(kMoviesState, 0);
            }
        } else {
            ShowBoard(kShowAfterMovies);
        }
        return;
    case kLeaveDialog:
        if (itemId == kFirstItem) {
            if (MjGameScript* script = GameScript()) {
                script->LeaveGame();
            }
        } else {
            ShowBoard(kShowAfterLeave);
        }
        return;
    case kQuestLostDialog:
        if (MjGameScript* script = GameScript()) {
            script->LeaveGame();
        }
        return;
    case kOfferLifeDialog:
        if (_matchesLeftText != nullptr) {
            _matchesLeftText->ChangeState(0);
        }
        if (itemId == kFirstItem) {
            // The board is skipped; the next opening still takes a life.
            _inPlay = 0;
            _matchState = 0;
            _firstBoard = true;
            HideButtons();
            FinishBoard(1);
        } else {
            ShowPopupOn(GameScript(), "timesup", kTimesUpDialog, kPopupPlain);
        }
        return;
    case kTimesUpDialog:
        // A new deal, or the same one again.
        if (itemId == kFirstItem) {
            _rules.fixedSeed = 0;
            SetupBoard(kReasonTimesUpNew, 0, kStartOpening, _layoutFile);
        } else {
            SetupBoard(kReasonTimesUpAgain, _seed, kStartOpening, _layoutFile);
        }
        ShowBoard(kShowAfterTimesUp);
        return;
    case kWinDialog:
        if (_titleText != nullptr) {
            _titleText->ChangeState(0);
        }
        // The next board, or this one dealt again (anew unless the puzzle fixes its seed).
        if (itemId == kFirstItem) {
            ++_puzzle;
        }
        SelectPuzzle(_puzzle);
        SetupBoard(itemId == kFirstItem ? kReasonWinNext : kReasonWinAgain, 0, kStartOpening, "");
        ShowBoard(kShowAfterWin);
        return;
    default:
        if (itemId == kFirstItem) {
            SetupBoard(kReasonOtherPopup, _seed, kStartQuiet, _layoutFile);
            ShowBoard(kShowAfterRestart);
        }
        ShowBoard(kShowAfterPopup);
        return;
    }
}

void MjClassic::AnswerNoMoves(int itemId, int /*value*/)
{
    if (itemId == kUndoItem) {
        ShowBoard(kShowAfterNoMoves);
        ButtonClicked(kUndoId, 0);
        return;
    }
    if (_quest) {
        if (itemId == kSameDealItem) {
            SetupBoard(kReasonNoMovesSameDeal, _seed, kStartQuiet, _layoutFile);
        } else {
            // Starting over costs the board's life at the opening.
            _firstBoard = true;
            SetupBoard(kReasonNoMovesStartOver, _seed, kStartOpening, _layoutFile);
        }
        return;
    }
    // The next opening starts play without the board's own popup.
    _noMovesMark = 1;
    if (itemId == kNewSeedItem) {
        _rules.fixedSeed = 0;
        _seed = 0;
    }
    SetupBoard(kReasonNoMovesAgain, _seed, kStartOpening, _layoutFile);
}

void MjClassic::KeyPressed(int key)
{
    MjClassicShared& shared = Shared();
    if (key == kEscape || key == kSpace) {
        ClearSequenceEnd();
        return;
    }
    if (key == kCheatKey) {
        _cheatMode = 1;
        UpdateHintLabel();
        return;
    }
    if (key == kEnter) {
        if (_skipFlag != 0) {
            _skipFlag = 0;
            return;
        }
        if (_inPlay == 0) {
            return;
        }
        const std::string line = shared.commandLine;
        shared.commandLine.clear();
        ShowHelpText();
        if (line.size() >= 2 && line[1] == '-') {
            _debugKey = 1;
            RunDebugCommand(line[0], SaturatedNumber(line.substr(2)), line.substr(2));
            _debugKey = 0;
        }
        return;
    }
    if (key == kBackspace) {
        if (!shared.commandLine.empty()) {
            shared.commandLine.pop_back();
        }
    } else if (static_cast<int>(shared.commandLine.size()) <
               MjClassicShared::kCommandLineSize - 1) {
        // The line keeps room for its end within the command buffer: further keys are refused.
        shared.commandLine.push_back(static_cast<char>(key & 0xff));
    }
    if (_titleText != nullptr) {
        _titleText->SetText(shared.commandLine);
    }
}

void MjClassic::RunDebugCommand(char command, int number, const std::string& text)
{
    MjClassicShared& shared = Shared();
    switch (command) {
    case 'a':
        _tileSets[_tileSetIndex].shadow = number;
        SetupBoard(kReasonShadow, _seed, kStartQuiet, _layoutFile);
        return;
    case 'b':
    case 'w': {
        const bool black = command == 'b';
        SetupBoard(black ? kReasonBlackBack : kReasonEmptyBack, _seed, kStartQuiet,
                   "puzzles/quilvarnoth1.cfg");
        // The game script owns the stage's background; without one nothing would delete it.
        if (MjGameScript* script = GameScript()) {
            script->ReplaceBackground(
                new Image(black ? "images/blackback.png" : "images/empty_bg.png", nullptr));
        }
        return;
    }
    case 'c':
        _rules.time = number == 0 ? kZeroPeriodMs : number;
        return;
    case 'e':
        _score = number > 0 && _score > INT_MAX - number   ? INT_MAX
                 : number < 0 && _score < INT_MIN - number ? INT_MIN
                                                           : _score + number;
        AddToTotal(0);
        return;
    case 'h':
        _rightPressSelect = _rightPressSelect == 0 ? 1 : 0;
        return;
    case 'j':
        _buttonLock = _buttonLock == 0 ? 1 : 0;
        return;
    case 'l':
        if (_quest && shared.savedBoard == -1) {
            _lives = number;
            AddLives(0);
        }
        return;
    case 'm': {
        int x = 0;
        int y = 0;
        SDL_GetMouseState(&x, &y);
        char line[64];
        std::snprintf(line, sizeof line, "Mouse is at %d, %d", x, y);
        shared.commandLine = line;
        if (_titleText != nullptr) {
            _titleText->SetText(shared.commandLine);
        }
        return;
    }
    case 'n':
        _skipFlag = _skipFlag == 0 ? 1 : 0;
        if (_skipFlag != 0) {
            if (_quest) {
                EndBoardNow();
            } else {
                NextBoard();
            }
        }
        return;
    case 'o':
        KeepTypes(number);
        return;
    case 'p':
        if (_quest && shared.savedBoard == -1) {
            _puzzle = number;
            SelectPuzzle(_puzzle);
            _highestGameReached = number == kLastQuestBoard ? kLastQuestBoard : number - 1;
            if (_progressFile != nullptr) {
                _progressFile->Write("global", "highestGameReached", _highestGameReached);
                _progressFile->Flush();
            }
            SetupBoard(kReasonPuzzle, 0, kStartQuiet, "");
        }
        return;
    case 'r':
        _seed = number;
        SetupBoard(kReasonSeed, _seed, kStartQuiet, _layoutFile);
        return;
    case 't':
        _tileSetIndex = number >= 1 && number <= kTileSets ? number - 1 : 0;
        SetupBoard(kReasonTileSet, _seed, kStartQuiet, "");
        return;
    case 'x':
        shared.commandPopup = text;
        ShowPopupOn(GameScript(), shared.commandPopup, kCommandPopupDialog, kPopupPlain);
        return;
    case 'v':
        ShowPopupOn(GameScript(), shared.commandPopup, kCommandPopupDialog, kPopupPlain);
        return;
    case 'y':
        _fastTest = _fastTest == 0 ? 1 : 0;
        return;
    case 'z':
        _cheatMode = 0;
        if (auto* app = dynamic_cast<Mahjong*>(_framework)) {
            app->_cheatMode = false;
        }
        UpdateHintLabel();
        return;
    default:
        return;
    }
}

void MjClassic::HideBoard(int /*reason*/)
{
    PlayCue("stop", kCueStop);
    ClearSelection(true);
    HideButtons();
    HideTimerSprites();
    SetBoardTilesShown(false);
}

void MjClassic::CheckAutoPause()
{
    if (_inPlay == 0 || _buttonsDisabled != 0 || _framework == nullptr) {
        return;
    }
    AnimationManager* manager = _framework->_animationManager;
    GameTime* clock = manager != nullptr ? manager->GetGameTime() : nullptr;
    const bool stopped = clock != nullptr && clock->Stopped();
    if (stopped || !_framework->HasInputFocus()) {
        ShowPopupOn(GameScript(), "paused", kPausePopupId, kPopupNoFade);
        HideBoard(kHideForAutoPause);
    }
}

void MjClassic::TellSaveFailures()
{
    MjGameScript* script = GameScript();
    if (_inPlay == 0 || _buttonsDisabled != 0 || script == nullptr || _cast == nullptr ||
        _cast->GetDialog() != nullptr) {
        return;
    }
    std::string text;
    for (const std::string& line : ConfigFile::TakeFileNotices(false)) {
        // "@" ends a line of a popup's text.
        text += (text.empty() ? "" : "@") + line;
    }
    if (text.empty()) {
        return;
    }
    script->ShowPopup(kSaveFailedSection, kPausePopupId, kPopupPlain, kCentred, kCentred, text);
    HideBoard(kHideForPause);
}
