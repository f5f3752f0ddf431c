#pragma once

#include "SDL.h"
#include "tests/xvfb/AutoPlayerPlanner.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class Cast;
class CastMember;
class CastMemberButton;
class CastMemberDialog;
class Framework;
class MjClassic;
class MjTile;

// The automated in-process player's core, for the runs that play the game in a real window. It
// acts only through input pushed onto SDL's queue (presses at screen positions, keys, focus,
// closing the window), so its input takes the road of real input; it reads the grid to plan and
// the stage to find buttons and dialogs, and never calls the board's operations.
//
// A run is a list of steps, each with a time limit in real milliseconds; Frame() runs the current
// step once per frame until it reports done. A limit is what a step may take on a machine that
// runs little beside the suite; the bound it is held to is kBusyRoom times that, times the
// suite's factor E2E_TIME_SCALE, so that a busy machine is never a failure. A step that outlives
// its bound, or the whole run outliving its own, fails the run: the last screen is kept as
// "last.bmp" and the run closes the window. Screenshots are BMP files in the output folder (the
// script converts them).
class AutoPlayer
{
public:
    using StepFn = std::function<bool()>;

    // How many times a limit a step or run may take before it fails.
    static constexpr unsigned int kBusyRoom = 3;
    // A limit as the bound it is held to.
    static unsigned int Bound(unsigned int limitMs);

    // Makes the engine's tick source run speed times faster than real time. Call before the
    // framework starts, so that no clock has read the old one.
    static void SpeedUpClock(unsigned int speed);

    AutoPlayer(std::string outFolder, unsigned int runLimitMs);

    void SetApp(Framework* app) { _app = app; }
    void AddStep(const std::string& name, unsigned int limitMs, StepFn step);

    // Called after every frame of the game. False once the run is over (its steps done or
    // failed); the window has then been asked to close.
    bool Frame();
    bool Failed() const { return _failed || _checksFailed != 0; }
    // Ends the run as failed.
    void Fail(const std::string& why);
    // Counts a failed check without ending the run; says "ok: WHAT" or "FAIL: WHAT".
    bool Check(bool ok, const std::string& what);
    // One line on stdout for the script, flushed at once.
    static void Say(const std::string& line);

    // Real milliseconds since the current step began.
    unsigned int StepMs() const;
    // Frames the game has run since the run began: the measure of its progress, however slowly
    // a busy machine runs them.
    unsigned int Frames() const { return _frames; }
    // Game milliseconds (the engine's tick source).
    static unsigned int GameMs();
    // Game milliseconds since a screen was first seen: `since` (0 until then) is marked with
    // the time of this first call. For waiting until a screen that just came up has settled.
    static unsigned int MsSinceSeen(unsigned int& since);

    // --- input: pushed now, seen by the game's next frame. A press moves the mouse there first
    // and arrives a frame after the move. False while an earlier press is still queued.
    bool Busy() const { return _pressPending; }
    void Press(int x, int y, int button = SDL_BUTTON_LEFT);
    void Key(SDLKey key, SDLMod mod = KMOD_NONE, Uint16 unicode = 0);
    void InputFocus(bool gain);
    void CloseWindow();

    // --- the stage
    Cast* GetCast() const;
    // The visible, enabled button with this id, or null.
    CastMemberButton* FindButton(int id) const;
    // The stage's dialog when it has this id, or null.
    CastMemberDialog* OpenDialog(int id) const;
    int OpenDialogId() const;
    // A press on a point of the sprite that no input-taking sprite in front of it covers; false
    // (nothing pressed) when every point is covered.
    bool PressSprite(CastMember* sprite, int button = SDL_BUTTON_LEFT);
    // A press in the middle of a dialog's item; false when the dialog has no such item.
    bool PressDialogItem(CastMemberDialog* dialog, int itemId);

    // --- the board
    // The grid's tiles on a copy for the planner, and their sprites in the same order.
    static std::vector<PlanTile> GridCopy(MjClassic& screen, std::vector<MjTile*>* sprites);
    // Whether any tile of the grid is still moving (flying in, sliding back).
    static bool TilesMoving(MjClassic& screen);
    // What PlayBoard plays for: the board cleared, or the board left with tiles and no match.
    enum class Goal { kClear, kBlock };
    // Plays one board to its end by pressing planned groups, planning again after every move.
    // Call from a step once per frame: true when the grid holds no ordinary tile any more.
    // onMove is called after each group went off the grid, with the count of groups played.
    // With kBlock it presses groups chosen to leave no match; the caller watches for the end.
    bool PlayBoard(MjClassic& screen, const std::function<void(int)>& onMove,
                   Goal goal = Goal::kClear);
    // Forgets the board PlayBoard was playing, for a board that ended before it was cleared:
    // the next board's moves are counted from its own first move.
    void ForgetBoard();

    // --- screenshots
    // "OUT/NAME.bmp" of the screen as it is now; says "shot NAME".
    void Shot(const std::string& name);

private:
    struct Step
    {
        std::string name;
        unsigned int limitMs;
        StepFn run;
    };
    void PushPress();
    void End();
    unsigned int RealMs() const;

    Framework* _app = nullptr; // not owned
    std::string _out;
    unsigned int _runLimitMs;
    std::vector<Step> _steps;
    size_t _current = 0;
    unsigned int _stepStart = 0;
    bool _started = false;
    bool _failed = false;
    bool _ended = false;
    int _checksFailed = 0;
    std::chrono::steady_clock::time_point _begin;

    unsigned int _frames = 0;

    bool _pressPending = false;
    int _pressX = 0;
    int _pressY = 0;
    int _pressButton = SDL_BUTTON_LEFT;

    // The move PlayBoard is making: its tiles, how many are pressed, when the last press went.
    std::vector<MjTile*> _move;
    std::vector<PlanTile> _moveCells;
    size_t _movePressed = 0;
    unsigned int _movePressMs = 0;
    unsigned int _movePressFrame = 0;
    int _moveRetries = 0;
    int _movesPlayed = 0;
    int _boardTiles = 0; // ordinary tiles when the board's first move was planned
};
