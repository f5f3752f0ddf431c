// The automated player's quest extras, for the Xvfb test (auto_player_quest_extras.sh): the
// bonus life, the movies page and the closing animation, each a mode of this program run in its
// own fresh copy of the game's data folder. The program's prepare step writes the mode's
// fixture into that copy through the game's own file writer.
//
// bonus: a new player and a bonus-life threshold of a few points. The intro is skipped by a key;
//   board 0 is played until its score passes the threshold and ended with the cheat; its
//   cut-scene is skipped; the map's total alternates with "Bonus Life"; a press closes the map
//   and board 1's opening blinks the lives and the total and gives one life.
// movies: a player whose quest reached board 2 opens the in-game menu's movies page; movie 1
//   plays one cut-scene and the page returns; movie 0 plays each reached cut-scene in order;
//   movie 0 again with Escape during its first cut-scene ends the run early.
// closing: a quest set cut to two boards and a player on its last board; the board is ended
//   with the cheat, its cut-scene plays, then "quest/zorvy12b.cfg" once, then the menu.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, and "run passed" or
// "run failed". The exit code is 0 only for a passed run.
//
// Usage: auto_player_quest_extras OUT_FOLDER bonus|movies|closing
#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kPlayerName = "Quinn Extras";
constexpr unsigned int kClockSpeed = 4;
// Each mode's whole run, in real milliseconds; the script's own limit is above all three.
constexpr unsigned int kRunLimitMs = 70000;
constexpr int kQuestButton = 3;
constexpr int kQuestType = 2;
constexpr unsigned int kSettleMs = 900;
constexpr int kNewPlayerLives = 5;
// The fixture threshold: board 0 is ended once its score reaches it, so the total passes it.
constexpr int kBonusThreshold = 100;
// Game milliseconds the map's total is watched: several turns of its half-second alternation.
constexpr unsigned int kBonusWatchMs = 2500;
// The movies player reached board 2: cut-scenes after boards 0, 1 and 2, so movie 0 plays
// three and movie 1 the one after board 1.
constexpr int kMoviesReached = 2;
constexpr int kMoviesBoard = kMoviesReached + 1;
constexpr int kMapStrips = 16;
// The movies page's grid: the centre place holds the texts, never a cell.
constexpr int kCentrePlace = 4;
// Real milliseconds between presses on a cell; a second press sooner would start the movie.
constexpr unsigned int kCellPressMs = 1500;
// The closing fixture: a quest of boards 0 and 1, the player on board 1.
constexpr int kClosingLastBoard = 1;
constexpr const char* kClosingAnimation = "quest/zorvy12b.cfg";
// Game milliseconds the menu must stay with no game after the closing.
constexpr unsigned int kMenuStaysMs = 1500;
constexpr int kBoardSeed = 424242;
// Real milliseconds a cheat press is given to end the board before it is sent again.
constexpr unsigned int kCheatRetryMs = 2000;

std::string ProgressFile()
{
    std::string stem;
    ConfigFilePlayers::PlayerFileStem(kPlayerName, &stem);
    return stem + ".plr" + std::to_string(kQuestType);
}

// One key of a file of the data copy (or of the player's progress), through the game's writer.
void WriteKey(const std::string& file, const std::string& section, const std::string& key,
              int value)
{
    ConfigFile config(file, false, false, false);
    config.Write(section, key, value);
    config.Flush();
    AutoPlayer::Say("fixture " + file + " [" + section + "] " + key + "=" + std::to_string(value));
}

// A player whose quest has reached board `reached` and stands on the board after it.
void PrepareQuestPlayer(int reached, int board)
{
    PrepareAutoPlayer(kPlayerName, kQuestType, "t2p" + std::to_string(board), kBoardSeed);
    const std::string file = ProgressFile();
    WriteKey(file, "global", "highestGameReached", reached);
    WriteKey(file, "global", "game", board);
    WriteKey(file, "global", "lives", kNewPlayerLives);
    WriteKey(file, "global", "score", 0);
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : ", ") + name;
    }
    return "[" + out + "]";
}

class ExtrasRun final : public AutoPlayerGame
{
public:
    ExtrasRun(const std::string& out, const std::string& mode)
        : AutoPlayerGame(out, kRunLimitMs, kSettleMs)
    {
        if (mode == "bonus") {
            AddBonusSteps();
        } else if (mode == "movies") {
            AddMoviesSteps();
        } else {
            AddClosingSteps();
        }
    }

private:
    // --- shared by the modes

    // The file of the keyframed animation playing, or "".
    std::string AnimationName() const
    {
        SpriteRunnerConfigFile* description =
            Script() != nullptr ? Script()->GetDescription() : nullptr;
        return Animating() && description != nullptr ? description->GetFileName() : "";
    }

    // Notes each animation as it starts; call once per frame.
    void WatchAnimations()
    {
        const bool now = Animating();
        if (now && !_wasAnimating) {
            _started.push_back(AnimationName());
            AutoPlayer::Say("animation " + _started.back());
        }
        _wasAnimating = now;
    }

    bool Menu()
    {
        if (!StartFromMenu(kQuestButton)) {
            return false;
        }
        return _player.Check(Screen()->_quest, "the third start button starts the quest");
    }

    // Ends the board now: the cheat chord, then a right press on the replay button, sent once
    // the board is open for play (a press while a move settles is not taken) and again when it
    // was not taken.
    bool EndBoardByCheat()
    {
        MjClassic& screen = *Screen();
        if (_cheatSent && screen._inPlay == 0) {
            return true;
        }
        if (_cheatSent && _player.StepMs() - _cheatSentMs < kCheatRetryMs) {
            return false;
        }
        CastMemberButton* replay = _player.FindButton(MjClassic::kReplayId);
        if (_player.Busy() || replay == nullptr || !BoardOpen(screen)) {
            return false;
        }
        _player.Key(SDLK_q, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT | KMOD_LALT), 'q');
        _cheatSent = _player.PressSprite(replay, SDL_BUTTON_RIGHT);
        _cheatSentMs = _player.StepMs();
        return false;
    }

    // A popup the quest shows on a board (a power's note, a hint) is closed by its first
    // button. True while one is open.
    bool AnswerPopup()
    {
        const int open = _player.OpenDialogId();
        if (open == 0 || open == MjGameScript::kMenuDialogId) {
            _popupSeenMs = 0;
            return false;
        }
        if (_popupSeenMs == 0) {
            _popupSeenMs = AutoPlayer::GameMs();
            AutoPlayer::Say("popup " + std::to_string(open));
        }
        CastMemberDialog* dialog = _player.OpenDialog(open);
        if (_player.Busy() || AutoPlayer::GameMs() - _popupSeenMs < kSettleMs) {
            return true;
        }
        if (dialog == nullptr || dialog->GetButtons().empty()) {
            _player.Fail("dialog " + std::to_string(open) + " opened on a board with no button");
            return true;
        }
        _player.PressDialogItem(dialog, dialog->GetButtons().front()->GetID());
        _popupSeenMs = AutoPlayer::GameMs() + kSettleMs; // once; then give it time to close
        return true;
    }

    // A key skips the animation once it plays.
    bool SkipAnimation()
    {
        WatchAnimations();
        if (!Animating() || _player.Busy()) {
            return false;
        }
        _player.Key(SDLK_SPACE, KMOD_NONE, ' ');
        return true;
    }

    // --- bonus

    bool Board0Open()
    {
        MjClassic& screen = *Screen();
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(screen._puzzle == 0, "board 0 opens after the skipped intro");
        return true;
    }

    // Plays until board 0's score reaches the threshold, then ends it with the cheat.
    bool PlayToThreshold()
    {
        MjClassic& screen = *Screen();
        if (AnswerPopup()) {
            return false;
        }
        if (screen._boardScore < kBonusThreshold && !_cheatSent) {
            if (!_player.Busy()) {
                _player.PlayBoard(screen, [](int) {});
            }
            return false;
        }
        if (!EndBoardByCheat()) {
            return false;
        }
        AutoPlayer::Say("board 0 ended with " + std::to_string(screen._boardScore) + " points");
        return true;
    }

    bool BonusMap()
    {
        MjClassic& screen = *Screen();
        if (screen._spiritStep != kMapStrips || screen._mapRollSprite == nullptr ||
            screen._mapRollSprite->IsVisible() || screen._infoLines[2] == nullptr) {
            return false;
        }
        if (_mapSeenMs == 0) {
            _mapSeenMs = AutoPlayer::GameMs();
            _player.Check(screen._score >= kBonusThreshold,
                          "the total " + std::to_string(screen._score) + " passed the threshold " +
                              std::to_string(kBonusThreshold));
        }
        const std::string text = screen._infoLines[2]->GetText();
        if (_totalTexts.insert(text).second) {
            AutoPlayer::Say("map total shows \"" + text + "\"");
            if (text == "Bonus Life") {
                _player.Shot("quest-map-bonus");
            }
        }
        if (text != _lastTotalText) {
            ++_totalChanges;
            _lastTotalText = text;
        }
        // Watched for a while and until the total has alternated a few times: a busy machine's
        // slow frames see fewer changes in the same time (the step's bound ends a map that never
        // alternates).
        if (AutoPlayer::GameMs() - _mapSeenMs < kBonusWatchMs || _totalChanges < 4) {
            return false;
        }
        _player.Check(_totalTexts.count("Bonus Life") == 1,
                      "the map's total alternates with \"Bonus Life\"");
        _player.Check(_totalTexts.size() == 2,
                      "the map's total shows two texts, the total and \"Bonus Life\" (" +
                          std::to_string(_totalTexts.size()) + ")");
        _player.Check(_totalChanges >= 4,
                      "the map's total changed " + std::to_string(_totalChanges) + " times");
        _livesOnMap = screen._lives;
        return true;
    }

    bool CloseMap()
    {
        MjClassic& screen = *Screen();
        if (_player.Busy()) {
            return false;
        }
        return _player.PressSprite(screen._mapSprites[kMapStrips / 2]);
    }

    // Board 1's opening: the lives and the total blink, one life comes.
    bool BonusOpening()
    {
        MjClassic& screen = *Screen();
        const auto watch = [](MjTextLabel* label, bool& blinked) {
            if (label != nullptr && label->GetBlinkState() != 0 && !label->IsVisible()) {
                blinked = true;
            }
        };
        if (screen._spiritStep == 0) {
            watch(screen._livesText, _livesBlinked);
            watch(screen._scoreTotText, _totalBlinked);
        }
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(screen._puzzle == 1, "board 1 opens after the map");
        _player.Check(_livesBlinked, "the opening blinks the lives");
        _player.Check(_totalBlinked, "the opening blinks the total");
        _player.Check(screen._lives == _livesOnMap + 1, "the opening gives one life (" +
                                                            std::to_string(_livesOnMap) + " to " +
                                                            std::to_string(screen._lives) + ")");
        _player.Check(screen._livesText != nullptr && screen._livesText->IsVisible() &&
                          screen._scoreTotText != nullptr && screen._scoreTotText->IsVisible(),
                      "the lives and the total stand shown after the opening");
        _player.Check(screen._bonusLifeEarned == 0, "the bonus life is given once");
        return true;
    }

    void AddBonusSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("intro skipped", 30000, [this] { return SkipAnimation(); });
        _player.AddStep("board 0 open", 30000, [this] { return Board0Open(); });
        _player.AddStep("board 0 to the threshold", 40000, [this] { return PlayToThreshold(); });
        _player.AddStep("cut-scene skipped", 40000, [this] { return SkipAnimation(); });
        _player.AddStep("map with the bonus life", 30000, [this] { return BonusMap(); });
        _player.AddStep("map closed", 10000, [this] { return CloseMap(); });
        _player.AddStep("board 1 opening", 30000, [this] { return BonusOpening(); });
    }

    // --- movies

    static bool PageReady(MjClassic& screen)
    {
        return screen._pageReady != 0 && screen._selectionKind == 1 && screen._replayRun <= 0;
    }

    bool OpenMoviesPage()
    {
        MjClassic& screen = *Screen();
        if (_player.Busy()) {
            return false;
        }
        if (PageReady(screen) && _player.FindButton(MjClassic::kPlayChoiceId) != nullptr) {
            if (AutoPlayer::MsSinceSeen(_pageSeenMs) < kSettleMs) {
                return false;
            }
            _player.Check(screen._puzzle == 0 || screen._puzzle <= kMoviesReached,
                          "the movies page opens on a reached movie (" +
                              std::to_string(screen._puzzle) + ")");
            _player.Shot("movies-page");
            return true;
        }
        if (CastMemberDialog* menu = _player.OpenDialog(MjGameScript::kMenuDialogId)) {
            // Pressed once the menu has faded in, again while it stays.
            if (AutoPlayer::MsSinceSeen(_menuSeenMs) >= kSettleMs) {
                if (!_menuShot) {
                    _menuShot = true;
                    _player.Shot("game-menu-quest");
                }
                _player.PressDialogItem(menu, MjGameScript::kMenuMovie);
                _menuSeenMs = AutoPlayer::GameMs();
            }
            return false;
        }
        if (AnswerPopup()) {
            return false;
        }
        if (!_menuPressed && BoardOpen(screen)) {
            _player.Check(screen._puzzle == kMoviesBoard,
                          "the prepared player's quest opens on board " +
                              std::to_string(screen._puzzle));
            _menuPressed = _player.PressSprite(_player.FindButton(MjGameScript::kMenuButtonId));
        }
        return false;
    }

    // Selects a movie's cell, then presses the movie button.
    bool StartMovie(int movie)
    {
        MjClassic& screen = *Screen();
        if (_player.Busy() || !PageReady(screen)) {
            return false;
        }
        if (screen._puzzle != movie) {
            // A cell is a picture taking presses; its place skips the grid's centre.
            const int place = movie >= kCentrePlace ? movie + 1 : movie;
            if (_cellPressMs == 0 || _player.StepMs() - _cellPressMs >= kCellPressMs) {
                _player.PressSprite(screen._cellSprites[0][place]);
                _cellPressMs = _player.StepMs();
            }
            return false;
        }
        CastMemberButton* play = _player.FindButton(MjClassic::kPlayChoiceId);
        if (play == nullptr) {
            return false;
        }
        _started.clear();
        _wasAnimating = false;
        _cellPressMs = 0;
        _movieStartMs = AutoPlayer::GameMs();
        return _player.PressSprite(play);
    }

    // The movie plays until the page is back; with escape, Escape goes once its first
    // animation plays.
    bool MovieRun(int movie, const std::vector<std::string>& expected, bool escape)
    {
        MjClassic& screen = *Screen();
        WatchAnimations();
        if (Animating() && !_cutSceneShot && Script()->GetFrameCounter() > AnimationFrames() / 3) {
            _cutSceneShot = true;
            _player.Shot("movie-cutscene");
        }
        if (escape && Animating() && !_escapeSent && !_player.Busy()) {
            _escapeSent = true;
            _escapeMs = AutoPlayer::GameMs();
            _player.Key(SDLK_ESCAPE, KMOD_NONE, 27);
        }
        if (_started.empty() || !PageReady(screen) ||
            _player.FindButton(MjClassic::kPlayChoiceId) == nullptr) {
            return false;
        }
        const std::string what = "movie " + std::to_string(movie) + (escape ? " with Escape" : "");
        _player.Check(_started == expected,
                      what + " played " + Joined(_started) + ", expected " + Joined(expected));
        _player.Check(screen._puzzle == movie, what + ": the page returns on the movie (" +
                                                   std::to_string(screen._puzzle) + ")");
        if (escape) {
            const unsigned int took = AutoPlayer::GameMs() - _escapeMs;
            const unsigned int whole = static_cast<unsigned int>(_wholeRunMs);
            _player.Check(took < whole / 2, "the page returns " + std::to_string(took) +
                                                " game ms after Escape; the whole run took " +
                                                std::to_string(whole));
        } else if (movie == 0) {
            _wholeRunMs = static_cast<int>(AutoPlayer::GameMs() - _movieStartMs);
        }
        AutoPlayer::Say("movie " + std::to_string(movie) + " took " +
                        std::to_string(AutoPlayer::GameMs() - _movieStartMs) + " game ms");
        return true;
    }

    // The cut-scene of each board: the animation its scene section names.
    static std::string CutSceneOf(int board)
    {
        ConfigFile scenes("cfg/zorvy.cfg", false, false, false);
        return static_cast<std::string>(
            scenes.Value("puzzle" + std::to_string(board + 1), "animation", std::string(), true));
    }

    void AddMoviesSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("movies page", 30000, [this] { return OpenMoviesPage(); });
        _player.AddStep("movie 1 chosen", 10000, [this] { return StartMovie(1); });
        _player.AddStep("movie 1", 40000, [this] { return MovieRun(1, {CutSceneOf(1)}, false); });
        _player.AddStep("movie 0 chosen", 10000, [this] { return StartMovie(0); });
        _player.AddStep("movie 0", 60000, [this] {
            return MovieRun(0, {CutSceneOf(0), CutSceneOf(1), CutSceneOf(2)}, false);
        });
        _player.AddStep("movie 0 again", 10000, [this] { return StartMovie(0); });
        _player.AddStep("Escape ends the movie", 30000,
                        [this] { return MovieRun(0, {CutSceneOf(0)}, true); });
    }

    // --- closing

    bool LastBoardOpen()
    {
        MjClassic& screen = *Screen();
        if (AnswerPopup() || !BoardOpen(screen)) {
            return false;
        }
        _player.Check(screen._puzzleCount == kClosingLastBoard,
                      "the fixture set ends at board " + std::to_string(screen._puzzleCount));
        _player.Check(screen._puzzle == kClosingLastBoard,
                      "the player is on the last board (" + std::to_string(screen._puzzle) + ")");
        return true;
    }

    bool ClosingPlays()
    {
        WatchAnimations();
        if (_player.Busy()) {
            return false;
        }
        if (AnimationName() != kClosingAnimation ||
            Script()->GetFrameCounter() < AnimationFrames() / 2) {
            return false;
        }
        _player.Shot("quest-closing");
        return true;
    }

    bool MenuAfterClosing()
    {
        WatchAnimations();
        if (_player.FindButton(kQuestButton) == nullptr) {
            _menuSinceMs = 0;
            return false;
        }
        if (_menuSinceMs == 0) {
            _menuSinceMs = AutoPlayer::GameMs();
        }
        if (AutoPlayer::GameMs() - _menuSinceMs < kMenuStaysMs) {
            return false;
        }
        // By now the menu has faded in.
        _player.Shot("menu-again");
        _player.Check(
            _started == std::vector<std::string>{CutSceneOf(kClosingLastBoard), kClosingAnimation},
            "the last board's cut-scene, then the closing once: " + Joined(_started));
        _player.Check(!Animating(), "no animation plays over the menu");
        return true;
    }

    void AddClosingSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("last board open", 30000, [this] { return LastBoardOpen(); });
        _player.AddStep("last board ended", 10000, [this] { return EndBoardByCheat(); });
        _player.AddStep("closing animation", 60000, [this] { return ClosingPlays(); });
        _player.AddStep("menu after the closing", 40000, [this] { return MenuAfterClosing(); });
    }

    std::vector<std::string> _started;
    bool _wasAnimating = false;
    bool _cheatSent = false;
    unsigned int _cheatSentMs = 0;
    unsigned int _popupSeenMs = 0;
    // bonus
    int _livesOnMap = 0;
    unsigned int _mapSeenMs = 0;
    std::set<std::string> _totalTexts;
    std::string _lastTotalText;
    int _totalChanges = 0;
    bool _livesBlinked = false;
    bool _totalBlinked = false;
    // movies
    bool _menuPressed = false;
    unsigned int _menuSeenMs = 0;
    unsigned int _cellPressMs = 0;
    bool _menuShot = false;
    unsigned int _pageSeenMs = 0;
    unsigned int _movieStartMs = 0;
    int _wholeRunMs = 0;
    bool _cutSceneShot = false;
    bool _escapeSent = false;
    unsigned int _escapeMs = 0;
    // closing
    unsigned int _menuSinceMs = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[2] : "";
    if (mode != "bonus" && mode != "movies" && mode != "closing") {
        std::fprintf(stderr, "usage: %s OUT_FOLDER bonus|movies|closing\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) ExtrasRun(argv[1], mode); },
        [&] {
            if (mode == "bonus") {
                // A new player, whose first board's score passes a low threshold.
                PrepareAutoPlayer(kPlayerName);
                WriteKey("cfg/mjzorvy.cfg", "threshold", "points", kBonusThreshold);
            } else if (mode == "movies") {
                PrepareQuestPlayer(kMoviesReached, kMoviesBoard);
            } else {
                WriteKey("cfg/puzzles3.cfg", "puzzles", "max", kClosingLastBoard);
                PrepareQuestPlayer(kClosingLastBoard - 1, kClosingLastBoard);
            }
        });
}
