// The automated player's puzzle run, for the Xvfb test (auto_player_puzzle.sh). Run in a copy of
// the game's data folder, it plays the shipped game with a prepared player: it skips the intro
// with a key, presses the menu's puzzles button, enters the puzzle board that holds every power
// through the board chooser's presses, and clears it by presses: each power kind lying on
// the board is used once (its tile pressed, then its target or targets), the ordinary tiles are
// matched in pairs, and every move is planned again from the real grid. It ends when the board's
// end has shown its congratulation and "youwinnewboard".
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "power on board NAME" for each power kind the board holds, "power
// used NAME" for each used, "ok: ..." or "FAIL: ..." for each check, and "run passed" or "run
// failed". The exit code is 0 only for a passed run.
//
// Usage: auto_player_puzzle OUT_FOLDER
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/xvfb/AutoPlayerGame.h"
#include "tests/xvfb/AutoPlayerPowers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr const char* kPlayerName = "Kit Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 6;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 150000;
constexpr int kPuzzlesButton = 1; // the menu's first start button: the puzzle boards
// The puzzle of the set that holds every power.
constexpr int kPowersBoard = 8;
constexpr int kPowersBoardSeed = 474;
// Game milliseconds: a dialog is looked at once its fade-in is over; the grid counts as settled
// once nothing on it changed for this long (a power's new faces land a second after the press).
constexpr unsigned int kDialogSettleMs = 900;
constexpr unsigned int kGridSettleMs = 1300;
// A power in flight is shot this long after its last press.
constexpr unsigned int kFlightShotMs = 200;
// Real milliseconds a press may take to be answered, and how often it is pressed again.
constexpr unsigned int kPressAnswerMs = 1500;
constexpr unsigned int kPowerAnswerMs = 4000;
constexpr int kPressRetries = 3;
constexpr long kPlanBudget = 400000;

using Snapshot = std::vector<std::tuple<int, int, int, int, MjTile*>>;

Snapshot SnapshotOf(MjClassic& screen)
{
    std::vector<MjTile*> sprites;
    const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, &sprites);
    Snapshot snap;
    for (size_t n = 0; n < tiles.size(); ++n) {
        snap.emplace_back(tiles[n].i, tiles[n].j, tiles[n].k, tiles[n].type, sprites[n]);
    }
    return snap;
}

bool Inside(CastMember& member, int x, int y)
{
    return x >= member.GetX() && x < member.GetX() + member.GetW() && y >= member.GetY() &&
           y < member.GetY() + member.GetH();
}

// A point of the sprite that no input-taking sprite in front of it covers, as the stage hits
// its members front first: the middle when it is open, else the nearest open point (a tile under
// others shows only a strip along its edges). False when none is open.
bool PressPoint(Cast* cast, CastMember* sprite, int* px, int* py)
{
    if (cast == nullptr || sprite == nullptr) {
        return false;
    }
    const std::vector<CastMember*>& members = cast->GetCastMembers();
    const auto self = std::find(members.begin(), members.end(), sprite);
    if (self == members.end()) {
        return false;
    }
    const int w = sprite->GetW(), h = sprite->GetH();
    const int cx = sprite->GetX() + w / 2, cy = sprite->GetY() + h / 2;
    constexpr int kStep = 2;
    for (int ring = 0; ring <= std::max(w, h) / 2; ring += kStep) {
        for (int dy = -ring; dy <= ring; dy += kStep) {
            for (int dx = -ring; dx <= ring; dx += kStep) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring) {
                    continue;
                }
                const int x = cx + dx, y = cy + dy;
                if (!Inside(*sprite, x, y)) {
                    continue;
                }
                if (std::none_of(members.begin(), self, [x, y](CastMember* other) {
                        return other->IsVisible() && other->AllowInput() && Inside(*other, x, y);
                    })) {
                    *px = x;
                    *py = y;
                    return true;
                }
            }
        }
    }
    return false;
}

std::string CellText(const PlanTile& at)
{
    return std::to_string(at.type) + "@" + std::to_string(at.i) + "," + std::to_string(at.j) + "," +
           std::to_string(at.k);
}

class PuzzleRun final : public AutoPlayerGame
{
public:
    explicit PuzzleRun(const std::string& out) : AutoPlayerGame(out, kRunLimitMs, kDialogSettleMs)
    {
        AddSteps();
    }

private:
    // The game opens on the board chooser: presses turn to the page of the powers board, choose
    // its cell and press play; true once play is pressed.
    bool EnterBoard(MjClassic& screen)
    {
        if (_player.Busy() || screen._previewDeal == 0 || screen._pageReady == 0) {
            return false;
        }
        const int first = MjClassic::Shared().pageFirst;
        if (kPowersBoard < first || kPowersBoard >= first + screen._cellsPerPage) {
            _player.PressSprite(_player.FindButton(MjClassic::kNextPageId));
            return false;
        }
        if (screen._puzzle != kPowersBoard) {
            const int cell = kPowersBoard % screen._cellsPerPage;
            const int place = cell >= 4 ? cell + 1 : cell;
            _player.PressSprite(screen._cellSprites[0][place]);
            return false;
        }
        _player.Shot("chooser-puzzles");
        return _player.PressSprite(_player.FindButton(MjClassic::kPlayChoiceId));
    }

    void AddSteps()
    {
        _player.AddStep("menu", 40000, [this] { return Menu(); });
        _player.AddStep("enter the powers board", 20000, [this] {
            MjClassic* screen = Screen();
            if (screen == nullptr || _animationManager->FadingIn()) {
                return false;
            }
            return EnterBoard(*screen);
        });
        _player.AddStep("board open", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
                return false;
            }
            _player.Check(screen._puzzle == kPowersBoard, "the powers board is the current board");
            const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, nullptr);
            _kinds = AutoPlayerPowers(tiles, screen._layout->MatchSize()).Kinds();
            for (int kind : _kinds) {
                AutoPlayer::Say("power on board " + AutoPlayerPowers::Name(kind));
            }
            _player.Check(!_kinds.empty(), "the board holds powers (" +
                                               std::to_string(_kinds.size()) + " kinds, " +
                                               std::to_string(tiles.size()) + " tiles)");
            _player.Shot("board-puzzles-powers");
            return true;
        });
        _player.AddStep("clear the board", 110000, [this] { return ClearBoard(); });
        _player.AddStep("congratulations", 30000, [this] {
            MjClassic& screen = *Screen();
            if (CongratsShown(screen) && !_congratsShot) {
                _congratsShot = true;
                _player.Shot("congratulations-puzzles");
            }
            if (_player.OpenDialog(MjClassic::kWinDialog) == nullptr) {
                return false;
            }
            if (AutoPlayer::MsSinceSeen(_winSeenMs) < kDialogSettleMs) {
                return false;
            }
            _player.Check(_congratsShot, "the board's end shows the congratulation");
            _player.Shot("popup-youwinnewboard-puzzles");
            return true;
        });
    }

    bool Menu() { return StartFromMenu(kPuzzlesButton); }

    bool Selected(MjClassic& screen, MjTile* tile) const
    {
        return std::find(std::begin(screen._selected), std::end(screen._selected), tile) !=
               std::end(screen._selected);
    }

    // True once the grid has stood still long enough to plan on.
    bool Settled(MjClassic& screen)
    {
        const Snapshot snap = SnapshotOf(screen);
        const unsigned int now = AutoPlayer::GameMs();
        if (snap != _lastSnap || AutoPlayer::TilesMoving(screen) || screen._inPlay == 0) {
            _lastSnap = snap;
            _snapSinceMs = now;
            return false;
        }
        return now - _snapSinceMs >= kGridSettleMs;
    }

    bool PlanMove(MjClassic& screen)
    {
        std::vector<MjTile*> sprites;
        const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, &sprites);
        AutoPlayerPowers powers(tiles, screen._layout->MatchSize());
        Cast* cast = _player.GetCast();
        AutoPlayerPowers::Move use;
        std::vector<int> presses;
        _kind = 0;
        std::map<int, bool> known;
        const auto pressable = [&](int t) {
            const auto found = known.find(t);
            if (found != known.end()) {
                return found->second;
            }
            int x = 0, y = 0;
            return known[t] = PressPoint(cast, sprites[t], &x, &y);
        };
        if (powers.Next(_used, pressable, &use)) {
            _kind = tiles[use.power].type;
            presses.push_back(use.power);
            presses.insert(presses.end(), use.targets.begin(), use.targets.end());
        } else {
            presses = powers.NextGroup(kPlanBudget);
        }
        if (presses.empty()) {
            _player.Fail("no move keeps the " + std::to_string(tiles.size()) +
                         " tiles left clearable");
            return false;
        }
        std::string line = _kind != 0 ? "power " + AutoPlayerPowers::Name(_kind) : "move";
        for (int t : presses) {
            _move.push_back(sprites[t]);
            _moveCells.push_back(tiles[t]);
            line += " " + CellText(tiles[t]);
        }
        AutoPlayer::Say(line);
        _before = SnapshotOf(screen);
        _pressed = 0;
        _retries = 0;
        _flightShot = false;
        return true;
    }

    bool ClearBoard()
    {
        MjClassic& screen = *Screen();
        if (const int open = _player.OpenDialogId()) {
            if (open == MjClassic::kWinDialog) {
                return Finish();
            }
            _player.Fail("dialog " + std::to_string(open) + " opened while the board was played");
            return false;
        }
        if (CongratsShown(screen)) {
            return Finish();
        }
        if (_player.Busy()) {
            return false;
        }
        if (_move.empty()) {
            const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, nullptr);
            const bool ordinaryLeft =
                std::any_of(tiles.begin(), tiles.end(), [](const PlanTile& t) {
                    return t.type < AutoPlayerPlanner::kFirstSpecialType;
                });
            if (!ordinaryLeft || !Settled(screen) || !PlanMove(screen)) {
                return false;
            }
        }
        const unsigned int now = _player.StepMs();
        // A press may change the grid before the move's last one (a lone free partner is taken
        // with the first): the move is over once the grid has changed.
        if (_pressed > 0 && SnapshotOf(screen) != _before) {
            if (_kind != 0 && !_flightShot) {
                if (AutoPlayer::GameMs() - _lastPressGameMs < kFlightShotMs) {
                    return false;
                }
                _flightShot = true;
                _player.Shot("power-" + AutoPlayerPowers::Name(_kind));
            }
            if (_kind != 0 && _used.insert(_kind).second) {
                AutoPlayer::Say("power used " + AutoPlayerPowers::Name(_kind));
            }
            _pairs += _kind == 0 ? 1 : 0;
            _move.clear();
            _moveCells.clear();
            _lastSnap.clear();
            return false;
        }
        if (_pressed == _move.size()) {
            if (now - _pressMs < (_kind != 0 ? kPowerAnswerMs : kPressAnswerMs)) {
                return false;
            }
            Retry();
            return false;
        }
        if (_pressed > 0 && !Selected(screen, _move[_pressed - 1])) {
            if (now - _pressMs < kPressAnswerMs) {
                return false;
            }
            Retry();
            return false;
        }
        int x = 0, y = 0;
        if (PressPoint(_player.GetCast(), _move[_pressed], &x, &y)) {
            _player.Press(x, y);
            ++_pressed;
            _pressMs = now;
            _lastPressGameMs = AutoPlayer::GameMs();
        } else {
            _player.Fail("no point of " + CellText(_moveCells[_pressed]) + " can be pressed");
        }
        return false;
    }

    // The last press was not answered: press that tile again, a few times.
    void Retry()
    {
        if (++_retries > kPressRetries) {
            _player.Fail("the press on " + CellText(_moveCells[_pressed - 1]) +
                         " was not answered");
            return;
        }
        --_pressed;
    }

    bool Finish()
    {
        for (int kind : _kinds) {
            _player.Check(_used.count(kind) != 0,
                          "the " + AutoPlayerPowers::Name(kind) + " was used");
        }
        _player.Check(_pairs > 0, std::to_string(_pairs) + " groups matched by presses");
        return true;
    }

    std::set<int> _kinds;
    std::set<int> _used;
    int _pairs = 0;
    Snapshot _lastSnap;
    unsigned int _snapSinceMs = 0;
    // The move being made: its presses in order and how many went.
    int _kind = 0; // the power used, 0 for a match
    std::vector<MjTile*> _move;
    std::vector<PlanTile> _moveCells;
    Snapshot _before;
    size_t _pressed = 0;
    unsigned int _pressMs = 0;
    unsigned int _lastPressGameMs = 0;
    int _retries = 0;
    bool _flightShot = false;
    bool _congratsShot = false;
    unsigned int _winSeenMs = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) PuzzleRun(argv[1]); },
        [] {
            // The powers board is dealt from a stored seed, so that every run plays the same deal:
            // a random deal on which no tried target of some power keeps the board clearable would
            // fail a run now and then.
            PrepareAutoPlayer(kPlayerName, 1, "t1p" + std::to_string(kPowersBoard),
                              kPowersBoardSeed);
        });
}
