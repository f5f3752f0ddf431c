// MjClassic: board set-up, deal, background, puzzle choice and lives.
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/core/TickSource.h"
#include "framework/media/Image.h"
#include "framework/media/Music.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjScoring.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <string>

namespace {

// Play modes whose board hides faces unless the layout holds special tiles; in the second the
// board also scrambles itself.
constexpr int kHideUnlessSpecials = 1;
constexpr int kScrambling = 2;
constexpr int kQuestMusics = 3;

} // namespace

void MjClassic::SetBoardButtonsEnabled(bool enabled)
{
    CastMemberButton* const buttons[] = {_undoButton,    _hintButton,  _replayButton,
                                         _newGameButton, _pauseButton, MenuButton()};
    for (CastMemberButton* button : buttons) {
        if (button != nullptr) {
            button->SetEnabled(enabled);
        }
    }
}

void MjClassic::SetupBoard(int /*reason*/, int seed, int startMode, const std::string& layoutName)
{
    _undoPossible = false;
    SetBoardButtonsEnabled(false);

    _firstPressDone = 0;
    _buttonsDisabled = 0;
    _inPlay = 0;
    _matchState = 0;
    _yinYangMatched = 0;
    _skipArrival = 0;
    if (!_quest) {
        _timerValues[0] = kTimerSteps;
    }
    _timerValues[1] = 1;
    if (_framework != nullptr) {
        _framework->ShowCursor();
    }
    ClearSelection(true);
    _boardScore = 0;
    _matchCounter = 0;
    AddToScore(0);
    AddLives(0);
    _moves->Reset();
    // Tiles of the earlier board still flying leave with it; the flight count, the selection and
    // the tray start empty.
    LeaveOffGridTiles();
    if (_cast != nullptr) {
        _cast->SetInputCatcher(nullptr);
    }

    if (layoutName.empty()) {
        _rules.ReadDescription(*_puzzlesFile, _puzzle, _tileSetIndex, _quest, _progressFile,
                               _config->_type);
        _layoutFile = _rules.layout;
        _puzzleTileSet = _rules.tileSet;
        if (_puzzleTileSet < 0 || _puzzleTileSet >= kTileSets) {
            DebugVar(-1, "Tile set %d of puzzle %d does not exist, set 0 is used", _puzzleTileSet,
                     _puzzle);
            _puzzleTileSet = 0;
        }
    } else {
        _layoutFile = layoutName;
    }
    _rules.ReadSolvable(*_puzzlesFile, _puzzle);
    if (_rules.matchSize != 2 && _rules.matchSize != 3) {
        DebugVar(-1, "Puzzle %d asks for matches of %d tiles, pairs are made", _puzzle,
                 _rules.matchSize);
        _rules.matchSize = 2;
    }

    delete _layout;
    _layout = new MjLayout(_cast, _layoutFile, _settings, _tileSets[_puzzleTileSet].sheet,
                           _rules.matchSize, _rules.doubleLayers);
    _layout->SetTileFactory(TileFactory());
    ApplyPlayMode();
    _deal->SetRules(_rules);

    DealBoard(seed, startMode);
    if (_quest && _puzzle == 0) {
        _layout->LoadShade();
    }
    if (_rules.time == kDefaultTime && _puzzle > kTimeRuleBoard) {
        _rules.time = kMsPerTile * _layout->TileCount();
    }
    ShowHelpText();

    if (startMode == kStartQuiet && _debugKey == 0 && _quest) {
        _firstPressDone = 1;
        _cueReady = 0;
    } else {
        CreateTimer();
        _timerValues[0] = kTimerSteps;
        if (_matchesLeftText != nullptr) {
            _matchesLeftText->ChangeState(0);
        }
        if (_titleText2 != nullptr) {
            _titleText2->ChangeState(0);
        }
        _cueReady = startMode == kStartOpening ? 1 : 0;
    }
    if (_titleText != nullptr) {
        _titleText->ChangeState(kOpenBoardState,
                                !_quest && _firstBoard ? kOpenFirstBoardMs : kOpenBoardMs);
    }
    if (_traySprite != nullptr) {
        if (_rules.triple != 0 && _replayRun >= 0) {
            _traySprite->FadeShow(255, _fadeInSpeed, nullptr);
        } else {
            _traySprite->Hide();
        }
    }
    Music* music = nullptr;
    if (!_quest) {
        music = _music[kBoardMusic];
    } else if (_replayRun == 0) {
        // The quest's intro leaves the board at -1 until the next-board step: the index stays
        // in range.
        music = _music[(_puzzle % kQuestMusics + kQuestMusics) % kQuestMusics];
    }
    if (music != nullptr) {
        Music::FadeIn(music, kMusicFadeMs, -1, 0.0);
    }
    if (_cast != nullptr) {
        _cast->SetInputCatcher(this);
    }
}

void MjClassic::ApplyPlayMode()
{
    MjClassicShared& shared = Shared();
    if (_playMode == kHideUnlessSpecials || _playMode == kScrambling) {
        if (_layout->SpecialCount() == 0) {
            shared.faceHiding = 1;
            if (_playMode == kScrambling) {
                _rules.solvable = 0;
                shared.scrambleState = 0;
                shared.scrambleTime = static_cast<int>(TickSource::Now()) + kScrambleDelayMs;
            }
        } else {
            shared.faceHiding = 0;
        }
    } else {
        shared.faceHiding = _playMode != 0 ? 1 : 0;
    }
    // A board chosen on the selection screen in another mode fades the bar in before its switch
    // is known: the hint button stands with the other buttons while the switch is clear.
    if (_hintButton != nullptr && _undoButton != nullptr && _undoButton->IsVisible()) {
        if (shared.faceHiding != 0) {
            _hintButton->Hide();
        } else if (!_hintButton->IsVisible()) {
            _hintButton->FadeShow(255, _fadeInSpeed, nullptr);
        }
    }
}

void MjClassic::CountForSanity()
{
    MjClassicShared& shared = Shared();
    if (shared.sanity == 0 || _layout == nullptr) {
        return;
    }
    for (int& count : shared.sanityCounts) {
        count = 0;
    }
    ForEachOriginCell([&shared](int, int, int, MjCell& cell) {
        ++shared.sanityCounts[MjClassicShared::kSanityTileCells];
        if (cell.faceCol == MjCell::kNoFace) {
            ++shared.sanityCounts[MjClassicShared::kSanityBlankCells];
            return;
        }
        const int code = MjTileTypes::FaceAt(cell.faceCol, cell.faceRow);
        if (code >= 0 && code < MjClassicShared::kSanityCodes) {
            ++shared.sanityCounts[code];
        }
    });
}

void MjClassic::DealBoard(int seed, int startMode)
{
    for (MjTile*& tile : _selected) {
        tile = nullptr;
    }
    CountForSanity();
    _deal->SetLayout(_layout);
    _deal->SetPreview(_previewDeal != 0);
    _deal->SetSanityCheck(Shared().sanity != 0);
    const bool rotateSuits = _quest && _puzzle == 0 && _highestGameReached != -1 && _cheatMode == 0;
    _seed =
        _deal->DealBoard(seed, _progressFile, _config->_type, _puzzle, _layoutFile, rotateSuits);
    CreateTileSprites(startMode);
    RefreshFreeCount();
}

void MjClassic::DealTiles()
{
    CountForSanity();
    _deal->SetLayout(_layout);
    _deal->SetPreview(_previewDeal != 0);
    _deal->DealTiles();
}

int MjClassic::MatchValue(int type)
{
    return MjScoring::MatchValue(type);
}

const std::string& MjClassic::FormatNumber(int value)
{
    MjClassicShared& shared = Shared();
    shared.text = MjScoring::FormatNumber(value, _config->_type);
    return shared.text;
}

Image* MjClassic::MakeBackground()
{
    Color black(0, 0, 0, 255);
    if (_quest && _scene != nullptr) {
        // The scene's picture is shown under the top bar.
        if (_cast != nullptr) {
            _cast->SetBackgroundOffset(kBoardPictureY, black);
        }
        Image* scene = _scene->LoadBackground(_puzzleNumber, _cast, false, -1);
        MjGameScript* script = GameScript();
        if (script != nullptr) {
            script->ReplaceBackground(scene);
        }
        return scene;
    }
    if (_cast != nullptr) {
        _cast->SetBackgroundOffset(0, black);
    }
    MjGameScript* script = GameScript();
    // The picture shown goes before its successor is built, so that the two (and the board
    // picture read for it) are never held at once; nothing is drawn in between.
    if (script != nullptr) {
        script->ReplaceBackground(nullptr);
    }
    auto* background = new Image("images/empty_bg.png", nullptr);
    if (_sceneChoice < 0 || _sceneChoice > kDefaultSceneChoice) {
        _sceneChoice = kDefaultSceneChoice;
    }
    int picture = _sceneChoice;
    if (picture == kDefaultSceneChoice) {
        const int board = Shared().savedBoard != -1 ? Shared().savedBoard : _puzzle;
        picture = board % kBackgroundPictures;
    }
    {
        Image board(_config->_bgImg[picture], nullptr);
        background->BlitInto(&board, 0, kBoardPictureY);
    }
    if (_topImage != nullptr) {
        background->BlitInto(_topImage, 0, 0);
    }
    if (_bottomImage != nullptr) {
        background->BlitInto(_bottomImage, 0, kBottomBarY);
    }
    if (script != nullptr) {
        script->ReplaceBackground(background);
    }
    return background;
}

void MjClassic::SelectPuzzle(int puzzle)
{
    _puzzle = puzzle > _puzzleCount || puzzle < 0 ? 0 : puzzle;
    _puzzleNumber = _puzzle + 1;
    const std::string key = MjPuzzleRules::SeedKey(_config->_type, _puzzle);
    const BoardRecords records = ReadBoardRecords(key);
    if (records.fromBest && _highScoresFile != nullptr) {
        // The shared file missed the player's last best (the game stopped in between): it
        // catches up, so other players see it too.
        _highScoresFile->Write("prevHighScore", key, records.high);
        _highScoresFile->Write("achieved", key, records.holder);
        _highScoresFile->Flush();
    }
    _recordValues[0] = records.high;
    _recordValues[1] = records.best;
    if (!_quest) {
        _score = _recordValues[1];
        AddToTotal(0);
    }
    if (Shared().savedBoard == -1 && _progressFile != nullptr) {
        _progressFile->Write("global", "game", _puzzle);
        _progressFile->Flush();
    }
}

void MjClassic::AddLives(int delta)
{
    if (Shared().savedBoard != -1) {
        return;
    }
    _lives += delta;
    if (_lives < 0) {
        _lives = 0;
    }
    if (_livesText != nullptr) {
        _livesText->SetText(std::to_string(_lives));
    }
    if (_progressFile != nullptr) {
        _progressFile->Write("global", "lives", _lives);
        _progressFile->Flush();
    }
}
