// The automated player's run of the quest's losses, for the Xvfb test
// (auto_player_quest_loss.sh). Run in a copy of the game's data folder with a prepared player
// who cleared board 0 (progress on board 1, five lives, a score), it plays the shipped game: it
// presses the menu's quest button and board 1 opens, its opening taking a life. With the cheat
// chord and the command "c-1" typed on the board, the clock runs out at once: "timesup" shows
// and is answered; the replay's opening takes a life; the second loss in a row offers to skip
// the board ("offerlife", losses back to 0).
//
// The second argument picks the answer to the offer:
//   accept   the board is skipped and the next one opens, still taking a life; "l-1" leaves one
//            life, a time-up and the replay take it, the time-up on no lives brings "zorvylose",
//            whose answer leaves for the menu (the teardown then stores five lives, score 0).
//   decline  "timesup" opens instead; its answer deals board 1 again, taking a life.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, "record KEY VALUE" for the
// script, and "run passed" or "run failed". The exit code is 0 only for a passed run.
//
// Usage: auto_player_quest_loss OUT_FOLDER accept|decline
#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr const char* kPlayerName = "Lorn Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 4;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 80000;
constexpr int kQuestButton = 3; // the menu's third start button: the quest
constexpr int kQuestProgress = 2;
// A dialog or a board is looked at once its fade-in is surely over (game milliseconds).
constexpr unsigned int kSettleMs = 900;
// The prepared player: board 0 cleared, on board 1, a full set of lives and a score.
constexpr int kFirstBoard = 1;
constexpr int kStartLives = 5;
constexpr int kStartScore = 4321;
constexpr int kBoardSeed = 11;
// The clock's period the time command sets, in milliseconds: the fuse burns down at once.
constexpr int kShortPeriodMs = 1;
// What the teardown stores once the quest is lost.
constexpr int kFreshLives = 5;
constexpr int kMapStrips = 16;
constexpr int kAnyBoard = -1;

class QuestLossRun final : public AutoPlayerGame
{
public:
    QuestLossRun(const std::string& out, bool accept) : AutoPlayerGame(out, kRunLimitMs, kSettleMs)
    {
        AddSteps(accept);
    }

private:
    // --- input: typed keys, as a player with the cheat chord would type them.

    void Type(const std::string& line)
    {
        for (char c : line) {
            _player.Key(static_cast<SDLKey>(c), KMOD_NONE, static_cast<Uint16>(c));
        }
        _player.Key(SDLK_RETURN, KMOD_NONE, '\r');
        AutoPlayer::Say("typed \"" + line + "\"");
    }

    void CheatOn()
    {
        if (_cheatOn) {
            return;
        }
        _player.Key(SDLK_q, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT | KMOD_LALT), 'q');
        _cheatOn = true;
    }

    // --- what the player sees

    std::string LivesShown() const
    {
        MjClassic* screen = Screen();
        return screen != nullptr && screen->_livesText != nullptr ? screen->_livesText->GetText()
                                                                  : std::string();
    }

    // The board with this number is open for play; another popup on the way (the board's own
    // note) is read and closed by its first button.
    bool OpenFor(int board, const std::string& shot)
    {
        MjClassic& screen = *Screen();
        if (_player.Busy()) {
            return false;
        }
        if (const int open = _player.OpenDialogId(); open != 0) {
            CastMemberDialog* dialog = _player.OpenDialog(open);
            if (!Settled(open) || dialog == nullptr || dialog->GetButtons().empty()) {
                return false;
            }
            AutoPlayer::Say("popup " + std::to_string(open) + " answered on the way");
            _player.PressDialogItem(dialog, dialog->GetButtons().front()->GetID());
            _seenId = 0;
            return false;
        }
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(board == kAnyBoard || screen._puzzle == board,
                      "board " + std::to_string(board) + " is open (" +
                          std::to_string(screen._puzzle) + ")");
        _player.Shot(shot);
        return true;
    }

    // A dialog counts as seen once it has shown for the settle time.
    bool Settled(int id)
    {
        if (_seenId != id) {
            _seenId = id;
            _seenMs = AutoPlayer::GameMs();
            return false;
        }
        return AutoPlayer::GameMs() - _seenMs >= kSettleMs;
    }

    // Runs the board's clock out with the time command, then waits for the dialog with this id.
    // A dialog of another id fails the run.
    bool TimeUp(int id, const std::string& shot)
    {
        MjClassic& screen = *Screen();
        const int open = _player.OpenDialogId();
        if (open == 0) {
            _seenId = 0;
            if (_player.Busy() || screen._inPlay == 0) {
                return false;
            }
            if (!_typed) {
                CheatOn();
                if (screen._rules.time != kShortPeriodMs) {
                    Type("c-" + std::to_string(kShortPeriodMs));
                }
                _typed = true;
                return false;
            }
            // The clock starts with the board's first press on a tile.
            if (screen._firstPressDone == 0 && !_tilePressed) {
                std::vector<MjTile*> tiles;
                AutoPlayer::GridCopy(screen, &tiles);
                for (MjTile* tile : tiles) {
                    if (!_tilePressed && tile->IsVisible()) {
                        _tilePressed = _player.PressSprite(tile);
                    }
                }
            }
            return false;
        }
        if (open != id) {
            _player.Fail("dialog " + std::to_string(open) + " opened at time-up, not " +
                         std::to_string(id));
            return false;
        }
        if (!Settled(id)) {
            return false;
        }
        _typed = false;
        _tilePressed = false;
        _player.Shot(shot);
        return true;
    }

    // Presses the open dialog's button: the first (Yes, OK) or the last (No).
    bool Answer(int id, bool first)
    {
        CastMemberDialog* dialog = _player.OpenDialog(id);
        if (dialog == nullptr || dialog->GetButtons().empty()) {
            _player.Fail("no dialog " + std::to_string(id) + " to answer");
            return false;
        }
        const DialogItem* item = first ? dialog->GetButtons().front() : dialog->GetButtons().back();
        if (!first) {
            _player.Check(dialog->GetButtons().size() == 2,
                          "dialog " + std::to_string(id) + " asks Yes or No");
        }
        _seenId = 0;
        return _player.PressDialogItem(dialog, item->GetID());
    }

    bool CheckLives(int lives, const std::string& what)
    {
        MjClassic& screen = *Screen();
        return _player.Check(screen._lives == lives && LivesShown() == std::to_string(lives),
                             what + " (lives " + std::to_string(screen._lives) + ", shown \"" +
                                 LivesShown() + "\", expected " + std::to_string(lives) + ")");
    }

    bool CheckLosses(int losses, const std::string& what)
    {
        const int now = Screen()->_losses;
        return _player.Check(now == losses, what + " (losses " + std::to_string(now) +
                                                ", expected " + std::to_string(losses) + ")");
    }

    // The skipped board's way to the next: its cut-scene (a key ends it) and the map (a press
    // rolls it up).
    bool OnToNextBoard(int board, const std::string& shot)
    {
        MjClassic& screen = *Screen();
        if (_player.Busy()) {
            return false;
        }
        if (Animating()) {
            if (!_sceneSkipped) {
                AutoPlayer::Say("cut-scene plays; a key ends it");
                _player.Key(SDLK_SPACE, KMOD_NONE, ' ');
                _sceneSkipped = true;
            }
            return false;
        }
        if (screen._spiritStep == kMapStrips && screen._mapRollSprite != nullptr &&
            !screen._mapRollSprite->IsVisible() && !_mapPressed) {
            if (!Settled(-1)) {
                return false;
            }
            _mapPressed = _player.PressSprite(screen._mapSprites[kMapStrips / 2]);
            _seenId = 0;
            return false;
        }
        if (screen._puzzle != board) {
            return false;
        }
        return OpenFor(board, shot);
    }

    void AddSteps(bool accept)
    {
        _accept = accept;
        _player.AddStep("menu", 30000, [this] {
            if (!StartFromMenu(kQuestButton)) {
                return false;
            }
            return _player.Check(Screen()->_quest, "the third start button starts the quest");
        });
        _player.AddStep("board 1 open", 30000, [this] {
            if (!OpenFor(kFirstBoard, "board-quest-1")) {
                return false;
            }
            CheckLives(kStartLives - 1, "board 1's opening took a life");
            CheckLosses(0, "no loss yet");
            return true;
        });
        _player.AddStep("time-up on board 1", 30000, [this] {
            if (!TimeUp(MjClassic::kTimesUpDialog, "popup-timesup")) {
                return false;
            }
            CheckLives(kStartLives - 1, "a time-up takes no life by itself");
            CheckLosses(1, "the time-up counts a loss");
            return Answer(MjClassic::kTimesUpDialog, false); // the same deal again
        });
        _player.AddStep("the replay's opening", 30000, [this] {
            if (!OpenFor(kFirstBoard, "board-quest-1-loss")) {
                return false;
            }
            CheckLives(kStartLives - 2, "the replay's opening took a life");
            return true;
        });
        _player.AddStep("second time-up on board 1", 30000, [this] {
            if (!TimeUp(MjClassic::kOfferLifeDialog, "popup-offerlife")) {
                return false;
            }
            CheckLosses(0, "the offer sets the losses back");
            CheckLives(kStartLives - 2, "the offer takes no life by itself");
            return Answer(MjClassic::kOfferLifeDialog, _accept);
        });
        if (accept) {
            AddAcceptSteps();
        } else {
            AddDeclineSteps();
        }
    }

    void AddAcceptSteps()
    {
        _player.AddStep("board 1 skipped, board 2 open", 40000, [this] {
            if (!OnToNextBoard(kFirstBoard + 1, "board-quest-2")) {
                return false;
            }
            CheckLives(kStartLives - 3, "skipping still cost a life");
            CheckLosses(0, "the skip counts no loss");
            return true;
        });
        _player.AddStep("one life left", 10000, [this] {
            MjClassic& screen = *Screen();
            if (!_typed) {
                if (_player.Busy()) {
                    return false;
                }
                Type("l-1");
                _typed = true;
                return false;
            }
            if (LivesShown() != "1") {
                return false;
            }
            _typed = false;
            return CheckLives(1, "\"l-1\" leaves one life") && screen._inPlay != 0;
        });
        _player.AddStep("time-up with one life", 30000, [this] {
            if (!TimeUp(MjClassic::kTimesUpDialog, "popup-timesup-one-life")) {
                return false;
            }
            CheckLives(1, "the time-up leaves the last life");
            CheckLosses(1, "the time-up counts a loss");
            return Answer(MjClassic::kTimesUpDialog, true); // a new deal
        });
        _player.AddStep("the replay takes the last life", 30000, [this] {
            if (!OpenFor(kFirstBoard + 1, "board-quest-2-last-life")) {
                return false;
            }
            CheckLives(0, "the replay's opening took the last life");
            return true;
        });
        _player.AddStep("time-up on no lives", 30000, [this] {
            if (!TimeUp(MjClassic::kQuestLostDialog, "popup-zorvylose")) {
                return false;
            }
            CheckLosses(0, "the lost quest keeps no loss");
            _player.Check(_player.OpenDialog(MjClassic::kQuestLostDialog)->GetButtons().size() == 1,
                          "\"zorvylose\" has one answer");
            return Answer(MjClassic::kQuestLostDialog, true);
        });
        _player.AddStep("back at the menu", 30000, [this] {
            if (Script() == nullptr || !Script()->NoGame() ||
                _player.FindButton(kQuestButton) == nullptr || !Settled(-2)) {
                return false;
            }
            _player.Shot("menu-again");
            return true;
        });
        // The next quest reads what the lost one's teardown stored.
        _player.AddStep("the quest again", 30000, [this] {
            if (!Script()->NoGame() && Screen() != nullptr) {
                return _player.Check(Screen()->_quest, "the quest starts again");
            }
            CastMemberButton* start = _player.FindButton(kQuestButton);
            if (!_restartPressed && start != nullptr && !_player.Busy()) {
                _restartPressed = _player.PressSprite(start);
            }
            return false;
        });
        _player.AddStep("the quest starts afresh", 30000, [this] {
            if (!OpenFor(kAnyBoard, "board-quest-afresh")) {
                return false;
            }
            CheckLives(kFreshLives - 1, "five lives again, one taken by the opening");
            _player.Check(Screen()->_score == 0,
                          "the score starts at 0 (" + std::to_string(Screen()->_score) + ")");
            AutoPlayer::Say("record board-afresh " + std::to_string(Screen()->_puzzle));
            return true;
        });
    }

    void AddDeclineSteps()
    {
        _player.AddStep("declined: time is up", 20000, [this] {
            const int open = _player.OpenDialogId();
            if (open == MjClassic::kOfferLifeDialog) {
                return false; // still closing
            }
            if (open != MjClassic::kTimesUpDialog) {
                if (open != 0) {
                    _player.Fail("dialog " + std::to_string(open) + " opened after No");
                }
                return false;
            }
            if (!Settled(open)) {
                return false;
            }
            _player.Check(Screen()->_puzzle == kFirstBoard, "declining keeps board 1");
            CheckLives(kStartLives - 2, "declining takes no life by itself");
            CheckLosses(0, "the losses stay back at 0");
            _player.Shot("popup-timesup-declined");
            return Answer(MjClassic::kTimesUpDialog, true);
        });
        _player.AddStep("board 1 again", 30000, [this] {
            if (!OpenFor(kFirstBoard, "board-quest-1-declined")) {
                return false;
            }
            CheckLives(kStartLives - 3, "the next opening took a life");
            AutoPlayer::Say("record lives-shown " + std::to_string(Screen()->_lives));
            return true;
        });
    }

    bool _accept = false;
    bool _cheatOn = false;
    bool _typed = false;
    bool _tilePressed = false;
    int _seenId = 0;
    unsigned int _seenMs = 0;
    bool _sceneSkipped = false;
    bool _mapPressed = false;
    bool _restartPressed = false;
};

// The prepared player's progress: board 0 cleared, board 1 next, a score to lose.
void PrepareProgress()
{
    PrepareAutoPlayer(kPlayerName, kQuestProgress, MjPuzzleRules::SeedKey(kQuestProgress, 1),
                      kBoardSeed);
    std::string stem;
    if (!ConfigFilePlayers::PlayerFileStem(kPlayerName, &stem)) {
        return;
    }
    ConfigFile progress(stem + ".plr" + std::to_string(kQuestProgress), false, false, false);
    progress.Write("global", "highestGameReached", kFirstBoard - 1);
    progress.Write("global", "game", kFirstBoard);
    progress.Write("global", "lives", kStartLives);
    progress.Write("global", "score", kStartScore);
    progress.Write("global", "losses", 0);
    progress.Flush();
    AutoPlayer::Say("record score " + std::to_string(kStartScore));
}

} // namespace

int main(int argc, char** argv)
{
    const bool accept = argc == 3 && std::strcmp(argv[2], "accept") == 0;
    const bool decline = argc == 3 && std::strcmp(argv[2], "decline") == 0;
    if (!accept && !decline) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER accept|decline\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) QuestLossRun(argv[1], accept); },
        [] { PrepareProgress(); });
}
