// The automated player's quest run, for the Xvfb test (auto_player_quest.sh). Run in a copy of
// the game's data folder with a new player (no progress file), it plays the shipped game: it
// skips the program's splash with a key and presses the menu's quest button; the intro plays
// (its fade series, then its animation with the subtitle); board 0 opens over its scene; it
// plays board 0 by presses until the Yin-Yang pair may be matched and matches it, which sends
// the bonus tiles into the case and records the board; the cut-scene plays; the map unrolls
// with its texts; a press on the map closes it and board 1 opens.
//
// With "skip" as second argument the run is the short one: once the intro's animation plays, a
// key ends it and board 0 opens long before the animation would have ended.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, "record KEY VALUE" for the
// script, and "run passed" or "run failed". The exit code is 0 only for a passed run.
//
// Usage: auto_player_quest OUT_FOLDER [skip]
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberText.h"
#include "mahjong/Mahjong.h"
#include "mahjong/MjClassic.h"
#include "mahjong/MjGameScript.h"
#include "mahjong/MjLayout.h"
#include "mahjong/MjTextLabel.h"
#include "mahjong/MjTile.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr const char* kPlayerName = "Quinn Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 4;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 100000;
constexpr int kQuestButton = 3; // the menu's third start button: the quest
// A dialog or a board is looked at once its fade-in is surely over (game milliseconds).
constexpr unsigned int kSettleMs = 900;
// The Yin-Yang pair may be matched from this many matches on (board 0 says so in a popup).
constexpr int kYinYangMatches = 25;
// Real milliseconds a pressed Yin-Yang tile is given to show as selected.
constexpr unsigned int kYinYangAnswerMs = 1200;
constexpr int kMapStrips = 16;
constexpr int kNewPlayerLives = 5;

class QuestRun final : public AutoPlayerGame
{
public:
    QuestRun(const std::string& out, bool skipRun) : AutoPlayerGame(out, kRunLimitMs, kSettleMs)
    {
        if (skipRun) {
            AddSkipSteps();
        } else {
            AddSteps();
        }
    }

private:
    bool Menu()
    {
        if (!StartFromMenu(kQuestButton)) {
            return false;
        }
        return _player.Check(Screen()->_quest, "the third start button starts the quest");
    }

    // The intro's fade series: the scene's layers come in before its animation starts.
    bool IntroFades()
    {
        MjClassic& screen = *Screen();
        if (Animating()) {
            _player.Fail("the intro's animation began before its fade series was seen");
            return false;
        }
        if (screen._scene == nullptr || ScriptState() != MjGameScript::kPendingAnimationState) {
            return false;
        }
        // The series has ended: its last picture stands until the animation starts.
        _player.Check(screen._puzzle == -1, "the intro plays before board 0 (board " +
                                                std::to_string(screen._puzzle) + ")");
        _player.Shot("intro-fades");
        return true;
    }

    bool IntroAnimation(const char* shot)
    {
        if (!Animating()) {
            return false;
        }
        const int frames = AnimationFrames();
        CastMemberText* subtitle = Script()->GetSubtitle();
        if (subtitle != nullptr && subtitle->IsVisible() && !subtitle->GetText().empty()) {
            _subtitle = subtitle->GetText();
        }
        // Mid-way through, once the story's first line is up.
        if (Script()->GetFrameCounter() < frames / 2 && _subtitle.empty()) {
            return false;
        }
        _player.Check(frames > 0, "the intro has an animation of " + std::to_string(frames) +
                                      " frames (\"" + Script()->GetDescription()->GetFileName() +
                                      "\")");
        _player.Check(!Script()->GetSprites().empty(),
                      "the animation shows " + std::to_string(Script()->GetSprites().size()) +
                          " sprites");
        _player.Shot(shot);
        return true;
    }

    bool Board0Open()
    {
        MjClassic& screen = *Screen();
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(!_subtitle.empty(), "the intro showed its subtitle \"" + _subtitle + "\"");
        _player.Check(screen._puzzle == 0, "board 0 opens after the intro");
        _tilesAtStart = AutoPlayer::GridCopy(screen, nullptr).size();
        _player.Check(_tilesAtStart > 0, std::to_string(_tilesAtStart) + " tiles on board 0");
        _player.Check(Script()->GetBackground() != nullptr, "board 0 lies over its scene");
        _player.Check(screen._lives == kNewPlayerLives - 1,
                      "the case opening took one of a new player's " +
                          std::to_string(kNewPlayerLives) + " lives (" +
                          std::to_string(screen._lives) + " left)");
        _player.Shot("board0");
        return true;
    }

    // A popup the quest shows during play is read and closed by its first button.
    bool AnswerPopup()
    {
        const int open = _player.OpenDialogId();
        CastMemberDialog* dialog = _player.OpenDialog(open);
        if (open == 0) {
            _popupSeenMs = 0;
            return false;
        }
        if (_popupSeenMs == 0) {
            _popupSeenMs = AutoPlayer::GameMs();
            AutoPlayer::Say("popup " + std::to_string(open));
        }
        if (_player.Busy() || AutoPlayer::GameMs() - _popupSeenMs < kSettleMs) {
            return true;
        }
        if (dialog == nullptr || dialog->GetButtons().empty()) {
            _player.Fail("dialog " + std::to_string(open) + " opened in play with no button");
            return true;
        }
        if (!_popupShot) {
            _popupShot = true;
            _player.Shot("popup-yinyang");
        }
        _player.PressDialogItem(dialog, dialog->GetButtons().front()->GetID());
        _popupSeenMs = AutoPlayer::GameMs() + 100000; // pressed once; wait for it to close
        return true;
    }

    // The Yin-Yang tiles still on the grid.
    static std::vector<MjTile*> YinYangTiles(MjClassic& screen)
    {
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        std::vector<MjTile*> found;
        for (MjTile* tile : sprites) {
            if (tile->GetType() == MjTile::kYinYang) {
                found.push_back(tile);
            }
        }
        return found;
    }

    // Plays board 0 until the Yin-Yang pair is free and may be matched, then presses it.
    bool ClearBoard0()
    {
        MjClassic& screen = *Screen();
        if (screen._inPlay == 0 && _yinYangPressed == 2) {
            return true; // the board has ended: the finish runs
        }
        if (AnswerPopup() || _player.Busy()) {
            return false;
        }
        const std::vector<MjTile*> yinYang = YinYangTiles(screen);
        if (_tryYinYang && yinYang.size() == 2 && screen._inPlay != 0 &&
            !AutoPlayer::TilesMoving(screen)) {
            const auto selected = [&screen](MjTile* t) {
                return std::find(std::begin(screen._selected), std::end(screen._selected), t) !=
                       std::end(screen._selected);
            };
            if (_yinYangPressed == 0) {
                _player.PressSprite(yinYang[0]);
                _yinYangPressed = 1;
                _yinYangPressMs = _player.StepMs();
                return false;
            }
            if (_yinYangPressed == 1) {
                if (selected(yinYang[0])) {
                    _player.Shot("yinyang-selected");
                    _matchesAtFinish = _moves;
                    _player.PressSprite(yinYang[1]);
                    _yinYangPressed = 2;
                    return false;
                }
                if (_player.StepMs() - _yinYangPressMs < kYinYangAnswerMs) {
                    return false;
                }
                // Not free yet: one more ordinary move, then again.
                _tryYinYang = false;
                _yinYangPressed = 0;
            }
        }
        if (_yinYangPressed == 2) {
            return false;
        }
        _player.PlayBoard(screen, [this](int moves) {
            _moves = moves;
            _tryYinYang = moves >= kYinYangMatches;
        });
        return false;
    }

    // The bonus tiles fly into the case; the board is recorded on the way.
    bool BonusTiles()
    {
        MjClassic& screen = *Screen();
        if (screen._bonusTilesFlying > 0 && !_bonusShot) {
            if (_bonusSeenMs == 0) {
                _bonusSeenMs = AutoPlayer::GameMs();
                _bonusCount = screen._bonusTilesFlying;
            }
            // Mid-flight.
            if (AutoPlayer::GameMs() - _bonusSeenMs >= 400) {
                _player.Shot("bonus-tiles");
                _bonusShot = true;
            }
            return false;
        }
        if (screen._bonusTilesFlying > 0) {
            return false;
        }
        _player.Check(_bonusShot,
                      "the bonus tiles flew (" + std::to_string(_bonusCount) + ") into the case");
        _player.Check(screen._highestGameReached == 0,
                      "board 0 is recorded as reached (" +
                          std::to_string(screen._highestGameReached) + ")");
        const std::vector<MjTile*> yinYang = YinYangTiles(screen);
        _player.Check(
            std::none_of(yinYang.begin(), yinYang.end(), [](MjTile* t) { return t->IsVisible(); }),
            "the Yin-Yang pair left the board");
        AutoPlayer::Say("record score " + std::to_string(screen._score));
        _livesAfterBoard0 = screen._lives;
        _player.Check(_livesAfterBoard0 == kNewPlayerLives - 1,
                      "clearing board 0 keeps the lives (" + std::to_string(_livesAfterBoard0) +
                          ")");
        AutoPlayer::Say("record losses " + std::to_string(screen._losses));
        return true;
    }

    bool CutScene()
    {
        if (!Animating()) {
            return false;
        }
        if (_cutSceneFrame < 0) {
            _cutSceneFrame = 0;
            _cutSceneName = Script()->GetDescription() != nullptr
                                ? Script()->GetDescription()->GetFileName()
                                : std::string();
        }
        if (Script()->GetFrameCounter() < AnimationFrames() / 3) {
            return false;
        }
        _player.Check(_cutSceneName != _introName,
                      "the cut-scene plays its own animation (\"" + _cutSceneName + "\")");
        _player.Shot("cutscene");
        return true;
    }

    bool MapOpen()
    {
        MjClassic& screen = *Screen();
        // Unrolled: every strip out, the roll put away and the texts up.
        if (screen._spiritStep != kMapStrips || screen._mapRollSprite == nullptr ||
            screen._mapRollSprite->IsVisible()) {
            return false;
        }
        if (_mapSeenMs == 0) {
            _mapSeenMs = AutoPlayer::GameMs();
        }
        if (AutoPlayer::GameMs() - _mapSeenMs < kSettleMs) {
            return false;
        }
        int texts = 0;
        for (MjTextLabel* line : screen._infoLines) {
            texts += line != nullptr && line->IsVisible() ? 1 : 0;
        }
        _player.Check(texts == 5, "the map shows its five texts (" + std::to_string(texts) + ")");
        _player.Check(screen._puzzle == 1, "the map leads to board 1");
        _player.Shot("map");
        return true;
    }

    bool MapClose()
    {
        MjClassic& screen = *Screen();
        if (!_mapPressed) {
            if (_player.Busy()) {
                return false;
            }
            _mapPressed = _player.PressSprite(screen._mapSprites[kMapStrips / 2]);
            return false;
        }
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(screen._puzzle == 1, "a press closes the map and board 1 opens");
        _player.Check(screen._spiritStep == 0, "the map is rolled up");
        // Board 1 is left at once: its life in play goes back with the lives saved, for the
        // next session's first opening to take again.
        _player.Check(screen._lives == _livesAfterBoard0,
                      "board 1 opens with the lives board 0 left (" +
                          std::to_string(screen._lives) + ")");
        AutoPlayer::Say("record lives-shown " + std::to_string(screen._lives));
        _player.Shot("board1");
        return true;
    }

    void AddSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("intro fade series", 20000, [this] { return IntroFades(); });
        _player.AddStep("intro animation", 20000, [this] {
            if (!IntroAnimation("intro")) {
                return false;
            }
            _introName = Script()->GetDescription()->GetFileName();
            return true;
        });
        _player.AddStep("board 0 open", 30000, [this] { return Board0Open(); });
        _player.AddStep("clear board 0", 60000, [this] { return ClearBoard0(); });
        _player.AddStep("bonus tiles into the case", 20000, [this] { return BonusTiles(); });
        _player.AddStep("cut-scene", 30000, [this] { return CutScene(); });
        _player.AddStep("map unrolled", 30000, [this] { return MapOpen(); });
        _player.AddStep("map closed, board 1", 30000, [this] { return MapClose(); });
    }

    void AddSkipSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("intro animation", 30000, [this] {
            if (!Animating() || _player.Busy()) {
                return false;
            }
            _skipFrame = Script()->GetFrameCounter();
            _skipFrames = AnimationFrames();
            _skipGameMs = AutoPlayer::GameMs();
            _player.Shot("intro-before-key");
            _player.Key(SDLK_SPACE, KMOD_NONE, ' ');
            return true;
        });
        _player.AddStep("a key skips the intro", 15000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen)) {
                return false;
            }
            const unsigned int took = AutoPlayer::GameMs() - _skipGameMs;
            const unsigned int left =
                static_cast<unsigned int>(_skipFrames - _skipFrame) *
                static_cast<unsigned int>(Script()->GetDescription() != nullptr
                                              ? Script()->GetDescription()->_frameMillis
                                              : 0);
            _player.Check(screen._puzzle == 0, "board 0 opens after the skipped intro");
            _player.Check(left > 0 && took < left, "board 0 is open " + std::to_string(took) +
                                                       " game ms after the key, before the " +
                                                       std::to_string(left) +
                                                       " ms the animation had left");
            _player.Shot("board0-after-skip");
            return true;
        });
    }

    std::string _subtitle;
    std::string _introName;
    size_t _tilesAtStart = 0;
    unsigned int _popupSeenMs = 0;
    bool _popupShot = false;
    int _moves = 0;
    bool _tryYinYang = false;
    int _yinYangPressed = 0;
    unsigned int _yinYangPressMs = 0;
    int _matchesAtFinish = 0;
    unsigned int _bonusSeenMs = 0;
    int _bonusCount = 0;
    int _livesAfterBoard0 = 0;
    bool _bonusShot = false;
    int _cutSceneFrame = -1;
    std::string _cutSceneName;
    unsigned int _mapSeenMs = 0;
    bool _mapPressed = false;
    int _skipFrame = 0;
    int _skipFrames = 0;
    unsigned int _skipGameMs = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const bool skipRun = argc == 3 && std::strcmp(argv[2], "skip") == 0;
    if (argc != 2 && !skipRun) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER [skip]\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) QuestRun(argv[1], skipRun); },
        // A new player: no progress file yet.
        [] { PrepareAutoPlayer(kPlayerName); });
}
