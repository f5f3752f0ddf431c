// The automated player's classic run, for the Xvfb test (auto_player_classic.sh). Run in a copy
// of the game's data folder, it plays the shipped game (the same game library and application)
// with a prepared player: it skips the intro with a key, presses the menu's classic button,
// enters board 0 as the board chooser's play button does, clears all of its tiles by presses
// (planned on a copy of the grid, planned again after every move), follows the congratulation
// and its time bonus, answers "youwinnewboard" with its first item (the next board), ends that
// board with the cheat chord and a right press on replay, answers the second "youwinnewboard"
// with its other item (the board again, dealt anew), pauses by a lost input focus, goes on, and
// closes the window.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, "record KEY VALUE" for what
// the script reads back from the player's files, and "run passed" or "run failed". The exit code
// is 0 only for a passed run.
//
// Usage: auto_player_classic OUT_FOLDER
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/Mahjong.h"
#include "mahjong/MjClassic.h"
#include "mahjong/MjGameScript.h"
#include "mahjong/MjLayout.h"
#include "mahjong/MjTile.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <new>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kBoardZeroSeed = 7;
constexpr const char* kPlayerName = "Kit Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 6;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 150000;
constexpr int kClassicButton = 2; // the menu's second start button: the classic boards
constexpr int kFirstBoard = 0;
constexpr int kYesItem = 1;
constexpr int kCongratsLayouts = 4;
constexpr int kBonusStart = 5;
constexpr int kBonusStep = 5;
// A dialog is looked at once its fade-in is surely over (game milliseconds).
constexpr unsigned int kDialogSettleMs = 900;

// A board as dealt: every tile's cell and face.
using Deal = std::vector<std::tuple<int, int, int, int>>;

Deal DealOf(MjClassic& screen)
{
    std::vector<MjTile*> sprites;
    const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, &sprites);
    Deal deal;
    for (size_t n = 0; n < tiles.size(); ++n) {
        deal.emplace_back(tiles[n].i, tiles[n].j, tiles[n].k, sprites[n]->GetFace());
    }
    std::sort(deal.begin(), deal.end());
    return deal;
}

// The button ids of a dialog, in its order.
std::vector<int> ButtonIds(CastMemberDialog& dialog)
{
    std::vector<int> ids;
    for (DialogItem* item : dialog.GetButtons()) {
        ids.push_back(item->GetID());
    }
    return ids;
}

class ClassicRun final : public AutoPlayerGame
{
public:
    explicit ClassicRun(const std::string& out) : AutoPlayerGame(out, kRunLimitMs, kDialogSettleMs)
    {
        AddSteps();
    }

private:
    // The game opens on the board chooser: once its page is built, board 0 is the chosen cell
    // and a press on the play button enters it.
    bool EnterBoard(MjClassic& screen)
    {
        if (_player.Busy() || screen._previewDeal == 0 || screen._pageReady == 0) {
            return false;
        }
        _player.Check(screen._puzzle == kFirstBoard, "the chooser offers board 0");
        _player.Shot("chooser");
        return _player.PressSprite(_player.FindButton(MjClassic::kPlayChoiceId));
    }

    // The board shows the congratulation layout of its puzzle: the layout file's title and one
    // tile per placement line.
    static bool CongratsShown(MjClassic& screen)
    {
        const std::string file =
            "puzzles/congrats" + std::to_string(screen._puzzle % kCongratsLayouts + 1) + ".cfg";
        std::ifstream in(file);
        std::string line;
        std::string title;
        size_t tiles = 0;
        while (std::getline(in, line)) {
            if (line.rfind("L=", 0) == 0) {
                title = line.substr(2);
            }
            tiles += line.rfind("p=", 0) == 0 ? 1 : 0;
        }
        return screen._layout != nullptr && tiles > 0 && screen._layout->Title() == title &&
               AutoPlayer::GridCopy(screen, nullptr).size() == tiles;
    }

    void AddSteps()
    {
        _player.AddStep("menu", 40000, [this] { return Menu(); });
        _player.AddStep("enter board 0", 20000, [this] {
            MjClassic* screen = Screen();
            if (screen == nullptr || _animationManager->FadingIn()) {
                return false;
            }
            return EnterBoard(*screen);
        });
        _player.AddStep("board 0 open", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen)) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard, "board 0 is the current board");
            _player.Check(AutoPlayer::GridCopy(screen, nullptr).size() == 144,
                          "a full board of 144 tiles (" +
                              std::to_string(AutoPlayer::GridCopy(screen, nullptr).size()) + ")");
            _player.Shot("board-start");
            return true;
        });
        _player.AddStep("clear board 0", 120000, [this] { return ClearBoard(); });
        _player.AddStep("congratulations", 30000, [this] { return Congratulations(); });
        _player.AddStep("youwinnewboard", 20000, [this] { return WinDialog(kYesItem); });
        _player.AddStep("next board", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard + 1, "the first item starts board 1");
            _nextDeal = DealOf(screen);
            _player.Shot("next-board");
            return true;
        });
        _player.AddStep("end board 1", 20000, [this] { return EndBoardByCheat(); });
        _player.AddStep("congratulations of board 1", 30000, [this] { return Congratulations(); });
        _player.AddStep("youwinnewboard of board 1", 20000, [this] { return WinDialog(0); });
        _player.AddStep("board 1 again", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard + 1, "the other item replays board 1");
            if (screen._rules.fixedSeed == 0) {
                _player.Check(DealOf(screen) != _nextDeal, "board 1 is dealt anew");
            } else {
                _player.Check(DealOf(screen) == _nextDeal, "board 1 keeps its fixed seed's deal");
            }
            _player.Shot("replayed-board");
            return true;
        });
        _player.AddStep("pause", 20000, [this] { return Pause(); });
        _player.AddStep("resume", 20000, [this] { return Resume(); });
    }

    bool Menu() { return StartFromMenu(kClassicButton); }

    bool ClearBoard()
    {
        MjClassic& screen = *Screen();
        if (CongratsShown(screen)) {
            return true;
        }
        if (const int open = _player.OpenDialogId()) {
            _player.Fail("dialog " + std::to_string(open) + " opened while the board was played");
            return false;
        }
        _stepsBeforeWin = screen._timerValues[0];
        const bool cleared = _player.PlayBoard(screen, [this](int moves) {
            if (moves == 36) {
                _player.Shot("board-midplay");
            }
            _moves = moves;
        });
        if (cleared && !CongratsShown(screen)) {
            return false; // the last group is still on its way off
        }
        return cleared;
    }

    bool Congratulations()
    {
        MjClassic& screen = *Screen();
        if (!CongratsShown(screen)) {
            return false;
        }
        if (!_inCongrats) {
            _inCongrats = true;
            _faceChanges = 0;
            _faces.clear();
            _bonusSeen = screen._timerValues[2] != 0;
            // Steps the count has taken already since the win.
            const int counted = std::max(0, (screen._timerValues[2] - kBonusStart) / kBonusStep);
            _stepsAtWin = screen._timerValues[0] + counted;
            _scoreAtWin = screen._boardScore;
            _player.Check(true, "congratulation layout " +
                                    std::to_string(screen._puzzle % kCongratsLayouts + 1) +
                                    " for board " + std::to_string(screen._puzzle));
            if (_moves > 0) {
                _player.Check(_moves == 72, "72 pairs pressed (" + std::to_string(_moves) + ")");
                _moves = 0;
            }
        }
        std::map<MjTile*, int> faces;
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        for (MjTile* tile : sprites) {
            faces[tile] = tile->GetFace();
        }
        if (!_faces.empty() && faces != _faces) {
            ++_faceChanges;
            if (_faceChanges == 2) {
                _player.Shot(screen._puzzle == kFirstBoard ? "congratulations"
                                                           : "congratulations-board1");
            }
        }
        _faces = faces;
        _minSteps = std::min(_minSteps, screen._timerValues[0]);
        if (_player.OpenDialogId() != MjClassic::kWinDialog) {
            return false;
        }
        _inCongrats = false;
        _player.Check(_faceChanges >= 2, "the congratulation cycles its faces (" +
                                             std::to_string(_faceChanges) + " changes)");
        if (_bonusSeen) {
            _player.Check(screen._timerValues[0] == MjClassic::kClockLastStep,
                          "the time bonus counts to -10 steps (" +
                              std::to_string(screen._timerValues[0]) + ")");
            const int paid = screen._boardScore - _scoreAtWin;
            _player.Check(paid == 5 * (_stepsAtWin + 11),
                          "the bonus pays 5 x (S + 11) for S = " + std::to_string(_stepsAtWin) +
                              " (" + std::to_string(paid) + ")");
        } else {
            _player.Check(false, "the clock ran at the win, so a time bonus was counted");
        }
        _dialogSeenMs = AutoPlayer::GameMs();
        return true;
    }

    // Answers "youwinnewboard": item 1, or (item 0) its other item.
    bool WinDialog(int item)
    {
        MjClassic& screen = *Screen();
        CastMemberDialog* dialog = _player.OpenDialog(MjClassic::kWinDialog);
        if (dialog == nullptr) {
            _player.Fail("\"youwinnewboard\" closed unanswered");
            return false;
        }
        if (_player.Busy() || AutoPlayer::GameMs() - _dialogSeenMs < kDialogSettleMs) {
            return false;
        }
        const std::vector<int> ids = ButtonIds(*dialog);
        if (screen._puzzle == kFirstBoard) {
            _player.Shot("youwinnewboard");
            AutoPlayer::Say("record score " + std::to_string(screen._boardScore));
            AutoPlayer::Say("record player " + std::string(kPlayerName));
        }
        int answer = item;
        for (int id : ids) {
            if (answer == 0 && id != kYesItem) {
                answer = id;
            }
        }
        if (!_player.Check(std::find(ids.begin(), ids.end(), answer) != ids.end() &&
                               _player.PressDialogItem(dialog, answer),
                           "\"youwinnewboard\" has item " + std::to_string(answer))) {
            _player.Fail("no item to answer \"youwinnewboard\" with");
        }
        return true;
    }

    bool EndBoardByCheat()
    {
        MjClassic& screen = *Screen();
        if (CongratsShown(screen)) {
            return true;
        }
        if (_player.Busy() || _cheatSent) {
            return false;
        }
        CastMemberButton* replay = _player.FindButton(MjClassic::kReplayId);
        if (replay == nullptr) {
            return false;
        }
        _player.Key(SDLK_q, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT | KMOD_LALT), 'q');
        _cheatSent = _player.PressSprite(replay, SDL_BUTTON_RIGHT);
        return false;
    }

    bool Pause()
    {
        MjClassic& screen = *Screen();
        if (!_focusLost) {
            _pauseSteps = screen._timerValues[0];
            _player.InputFocus(false);
            _focusLost = true;
            return false;
        }
        CastMemberDialog* paused = _player.OpenDialog(MjClassic::kPausePopupId);
        if (paused == nullptr) {
            return false;
        }
        if (_pausedSeenMs == 0) {
            _pausedSeenMs = AutoPlayer::GameMs();
        }
        if (AutoPlayer::GameMs() - _pausedSeenMs < kDialogSettleMs) {
            return false;
        }
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        _player.Check(
            std::none_of(sprites.begin(), sprites.end(), [](MjTile* t) { return t->IsVisible(); }),
            "\"paused\" hides the tiles");
        _player.Check(screen._timerValues[0] == _pauseSteps, "the fuse stands while paused");
        _player.Shot("paused");
        const std::vector<int> ids = ButtonIds(*paused);
        _player.InputFocus(true);
        if (ids.empty() || !_player.PressDialogItem(paused, ids.front())) {
            _player.Fail("\"paused\" has no button");
        }
        return true;
    }

    bool Resume()
    {
        MjClassic& screen = *Screen();
        if (_player.OpenDialogId() != 0 || _player.Busy()) {
            return false;
        }
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        if (!std::all_of(sprites.begin(), sprites.end(),
                         [](MjTile* t) { return t->IsVisible(); })) {
            return false;
        }
        _player.Check(true, "closing \"paused\" shows the board");
        _player.Shot("resumed");
        return true;
    }

    int _moves = 0;
    int _stepsBeforeWin = 0;
    bool _inCongrats = false;
    bool _bonusSeen = false;
    int _stepsAtWin = 0;
    int _scoreAtWin = 0;
    int _minSteps = 0;
    int _faceChanges = 0;
    std::map<MjTile*, int> _faces;
    unsigned int _dialogSeenMs = 0;
    Deal _nextDeal;
    bool _cheatSent = false;
    bool _focusLost = false;
    int _pauseSteps = 0;
    unsigned int _pausedSeenMs = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) ClassicRun(argv[1]); },
        [] {
            // Board 0 is dealt from a stored seed, so that every run plays the same deal: a random
            // deal that the planner cannot clear within its budget would fail a run now and then.
            PrepareAutoPlayer(kPlayerName, 0, "t0p0", kBoardZeroSeed);
        });
}
