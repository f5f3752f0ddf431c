// MjClassic: cues, the board's buttons and sprites shown and hidden, the help line.
#include "framework/core/ConfigFile.h"
#include "framework/media/Channel.h"
#include "framework/media/Sound.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <cstdio>

namespace {

constexpr int kBoardConfigWithEnding = 0;
// Where the lives label waits, off screen, while the board is hidden outside the quest.
constexpr int kLivesAwayX = -800;
constexpr int kLivesAwayY = 545;
// Boards before this one form the first chapter, the rest chapters of five.
constexpr int kFirstChapterBoards = 8;
constexpr int kBoardsPerChapter = 5;

void HideOrShow(CastMember* sprite, bool shown)
{
    if (sprite == nullptr) {
        return;
    }
    if (shown) {
        sprite->Show();
    } else {
        sprite->Hide();
    }
}

void HideSprite(CastMember* sprite)
{
    HideOrShow(sprite, false);
}

} // namespace

void MjClassic::PlayCue(const std::string& name, int channel)
{
    // A trace for following the board's sounds (the play tests read it).
    DebugVar(kCueTraceLevel, "Cue played %s %d", name.c_str(), channel);
    MjClassicShared& shared = Shared();
    if (shared.cueRemembered && channel < 0) {
        Channel(Sound::kNoChannel).Stop();
    }
    if (channel == kCueStop) {
        shared.cueRemembered = false;
        shared.cueChannel = Sound::kNoChannel;
        return;
    }
    // The second value is the loop count: -1 repeats until the next negative request.
    const int played = Sound::Play(name, channel);
    if (channel == kCueRepeat && played != Sound::kNotPlayed) {
        shared.cueRemembered = true;
        shared.cueChannel = played;
    }
}

void MjClassic::HideButtons()
{
    SetBoardButtonsEnabled(false);
    _buttonsDisabled = 1;
}

void MjClassic::HideBoardSprites()
{
    HideSprite(MenuButton());
    if (_quest) {
        HideSprite(_questBottomBar);
    }
    HideSprite(_rimBottom);
    HideSprite(_traySprite);
    if (!_quest) {
        HideSprite(_newGameButton);
    }
    HideSprite(_pauseButton);
    HideSprite(_replayButton);
    HideSprite(_hintButton);
    HideSprite(_undoButton);
    HideButtons();
    if (_quest) {
        HideSprite(_questTopBar);
    }
    HideSprite(_rimTop);
    HideSprite(_matchesLeftText);
    HideSprite(_titleText2);
    HideSprite(_titleText);
    HideSprite(_scoreText);
    if (_config->_type == kTimedType) {
        for (MjTextLabel* label : _scoreTimeText) {
            HideSprite(label);
        }
    }
    HideSprite(_scoreTotText);
    HideSprite(_livesText);
    if (!_quest) {
        if (_livesText != nullptr) {
            _livesText->Move(kLivesAwayX, kLivesAwayY, true);
        }
    } else {
        HideSprite(_caseSprite);
    }
    HideTimerSprites();
}

void MjClassic::FadeInBoardButtons()
{
    auto fadeIn = [this](CastMember* sprite) {
        if (sprite != nullptr) {
            sprite->FadeShow(255, _fadeInSpeed, nullptr);
        }
    };
    fadeIn(MenuButton());
    if (_quest) {
        fadeIn(_questBottomBar);
    } else {
        fadeIn(_newGameButton);
    }
    fadeIn(_pauseButton);
    fadeIn(_replayButton);
    fadeIn(_rimBottom);
    if (Shared().faceHiding == 0) {
        fadeIn(_hintButton);
    }
    fadeIn(_undoButton);
    if (_undoButton != nullptr) {
        _undoButton->SetEnabled(false);
    }
    if (_quest) {
        fadeIn(_questTopBar);
    }
    fadeIn(_rimTop);
    if (_quest) {
        fadeIn(_caseSprite);
    }
    _buttonsDisabled = 0;
}

void MjClassic::HideTimerSprites()
{
    if (_timerSprites[0] == nullptr) {
        return;
    }
    _timerSprites[0]->Hide();
    if (_config->_type == kBoardConfigWithEnding) {
        HideSprite(_timerEndSprite);
    }
    if (_quest) {
        HideSprite(_timerSprites[1]);
        HideSprite(_timerSprites[2]);
    }
}

void MjClassic::ShowTimerSprites()
{
    if (_timerSprites[0] == nullptr) {
        return;
    }
    if (_timerValues[1] != 0) {
        _timerSprites[0]->Show();
    }
    if (_quest && _firstPressDone != 0) {
        HideOrShow(_timerSprites[2], true);
        HideOrShow(_timerSprites[1], true);
    }
}

void MjClassic::ShowBoard(int /*reason*/)
{
    _inPlay = 1;
    ShowTimerSprites();
    SetBoardTilesShown(true);
    _buttonsDisabled = 0;
    if (!_quest && _newGameButton != nullptr) {
        _newGameButton->SetEnabled(true);
    }
    if (_replayButton != nullptr) {
        _replayButton->SetEnabled(true);
    }
    if (_undoButton != nullptr && _undoPossible) {
        _undoButton->SetEnabled(true);
    }
    // The free count decides the hint button.
    RefreshFreeCount();
    if (_pauseButton != nullptr) {
        _pauseButton->SetEnabled(true);
    }
    if (CastMemberButton* menu = MenuButton()) {
        menu->SetEnabled(true);
    }
}

void MjClassic::SetBoardTilesShown(bool shown)
{
    ForEachOriginCell([shown](int, int, int, MjCell& cell) {
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (tile != nullptr && tile->IsActive()) {
            HideOrShow(tile, shown);
        }
    });
}

void MjClassic::ShowHelpText()
{
    MjClassicShared& shared = Shared();
    const std::string title = _layout != nullptr ? _layout->Title() : std::string();
    if (_showExtra != 0) {
        const int chapter = _puzzle < kFirstChapterBoards ? 1 : (_puzzle + 2) / kBoardsPerChapter;
        const int step =
            _puzzle < kFirstChapterBoards ? _puzzle : (_puzzle - 3) % kBoardsPerChapter + 1;
        char line[512];
        std::snprintf(line, sizeof line, "%s(P%d, S%d, %d-%d)", title.c_str(), _puzzle, _seed,
                      chapter, step);
        shared.text = line;
    } else {
        shared.text = title;
    }
    if (_titleText != nullptr) {
        _titleText->SetText(shared.text);
    }
    if (_titleText2 != nullptr) {
        _titleText2->SetText(ConfigText(_puzzlesFile.get(), MjPuzzleRules::SectionName(_puzzle),
                                        "help", "Don't have a clue"));
    }
}
