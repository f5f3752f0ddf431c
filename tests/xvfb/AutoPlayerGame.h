#pragma once

#include "mahjong/app/Mahjong.h"
#include "tests/xvfb/AutoPlayer.h"

#include <functional>
#include <string>

class MjClassic;
class MjGameScript;

// The shipped game with an automated player acting after each of its frames: what every
// automated run shares (the game's screens as the player reads them, the menu's start, a board
// open for play). A run adds its steps to _player in its constructor.
class AutoPlayerGame : public Mahjong
{
public:
    // settleMs: game milliseconds a board is given after its tiles faded in, before it counts
    // as open for play.
    AutoPlayerGame(const std::string& out, unsigned int runLimitMs, unsigned int settleMs);

    void DoIt() override;
    bool Failed() const { return _player.Failed(); }

protected:
    MjGameScript* Script() const { return GetGameScript(); }
    MjClassic* Screen() const;
    int ScriptState() const;
    // A keyframed animation is playing (the intro's, a cut-scene's, the closing one).
    bool Animating() const;
    // Frames of the keyframed animation now loaded (0 with none).
    int AnimationFrames() const;

    // Skips the splash with a key until the menu shows, then presses its start button (again
    // while no game starts). True once a game screen exists.
    bool StartFromMenu(int button);
    // The board is open for play: dealt, every tile shown and landed, presses taken, no
    // animation playing, and so for as long as the tiles take to fade in and settle.
    bool BoardOpen(MjClassic& screen);
    // The congratulation layout the board shows (1 to kCongratsLayouts), known by its file's
    // title and one tile per placement line; 0 when it shows none.
    static int CongratsLayoutShown(MjClassic& screen);
    // The board shows the congratulation layout of its puzzle.
    static bool CongratsShown(MjClassic& screen);
    // The congratulation layouts a board's end cycles through, by its puzzle number.
    static constexpr int kCongratsLayouts = 4;

    AutoPlayer _player;

private:
    unsigned int _settleMs;
    unsigned int _openSinceMs = 0;
    bool _pressedStart = false;
    int _menuShownFrames = 0;
    unsigned int _lastKeyMs = 0;
    unsigned int _lastPressMs = 0;
};

// The player the menu greets, as the play-as dialog leaves it. With a progress type of 0 or
// more, that player's progress file of the type stores seed under "seed"/seedKey, so that the
// board is dealt the same in every run.
void PrepareAutoPlayer(const std::string& name, int progressType = -1,
                       const std::string& seedKey = std::string(), int seed = 0);

// The body of a run's main(): turns scrambling on, speeds the clock up, makes the game (the
// first object the log counts, as in the game's own start), prepares the files, runs it.
// The exit code is 0 only for a run that passed.
int RunAutoPlayerGame(char** argv, unsigned int clockSpeed,
                      const std::function<AutoPlayerGame*()>& make,
                      const std::function<void()>& prepare);
