// AutoPlayer: steps and limits, injected input, the stage, the board and screenshots.
#include "tests/xvfb/AutoPlayer.h"

#include "framework/core/Framework.h"
#include "framework/core/TickSource.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/xvfb/XvfbSceneSupport.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

namespace {

// How long the player waits for a pressed tile to be taken, and how often it presses again: both
// this long and this many frames (a busy game takes a press late, and a tile pressed twice is
// chosen and let go).
constexpr unsigned int kPressAnswerMs = 1500;
constexpr unsigned int kPressAnswerFrames = 10;
constexpr int kPressRetries = 3;
// Positions the planner may look at for one plan.
constexpr long kPlanBudget = 400000;
// Points tried on a sprite, as fractions of its size from the middle outwards.
constexpr std::pair<int, int> kPressPoints[] = {{50, 50}, {40, 40}, {60, 40}, {40, 60},
                                                {60, 60}, {30, 50}, {70, 50}, {50, 30},
                                                {50, 70}, {25, 25}, {75, 75}};

std::atomic<unsigned int>& ClockSpeed()
{
    static std::atomic<unsigned int> speed{1};
    return speed;
}

std::chrono::steady_clock::time_point ClockStart()
{
    static const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

unsigned int FastTicks()
{
    const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - ClockStart());
    return static_cast<unsigned int>(real.count()) * ClockSpeed().load();
}

bool Inside(CastMember& member, int x, int y)
{
    return x >= member.GetX() && x < member.GetX() + member.GetW() && y >= member.GetY() &&
           y < member.GetY() + member.GetH();
}

} // namespace

void AutoPlayer::SpeedUpClock(unsigned int speed)
{
    ClockSpeed().store(std::max(1u, speed));
    ClockStart();
    TickSource::Set(&FastTicks);
}

unsigned int AutoPlayer::Bound(unsigned int limitMs)
{
    return xvfbscene::Scaled(limitMs * kBusyRoom);
}

AutoPlayer::AutoPlayer(std::string outFolder, unsigned int runLimitMs)
    : _out(std::move(outFolder)), _runLimitMs(Bound(runLimitMs))
{}

void AutoPlayer::AddStep(const std::string& name, unsigned int limitMs, StepFn step)
{
    _steps.push_back({name, Bound(limitMs), std::move(step)});
}

unsigned int AutoPlayer::RealMs() const
{
    return static_cast<unsigned int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - _begin)
                                         .count());
}

unsigned int AutoPlayer::StepMs() const
{
    return RealMs() - _stepStart;
}

unsigned int AutoPlayer::GameMs()
{
    return TickSource::Now();
}

unsigned int AutoPlayer::MsSinceSeen(unsigned int& since)
{
    if (since == 0) {
        since = GameMs();
    }
    return GameMs() - since;
}

bool AutoPlayer::Frame()
{
    if (_ended) {
        return false;
    }
    ++_frames;
    if (!_started) {
        _started = true;
        _begin = std::chrono::steady_clock::now();
        _stepStart = 0;
        if (!_steps.empty()) {
            Say("step " + _steps[0].name);
        }
    }
    if (_pressPending) {
        // The move went last frame; the press follows it in a frame of its own.
        PushPress();
        return true;
    }
    if (RealMs() > _runLimitMs) {
        Fail("the run took longer than " + std::to_string(_runLimitMs) + " ms");
    } else if (_current < _steps.size()) {
        Step& step = _steps[_current];
        if (StepMs() > step.limitMs) {
            Fail("step \"" + step.name + "\" not done within " + std::to_string(step.limitMs) +
                 " ms");
        } else if (step.run()) {
            Say("done " + step.name + " in " + std::to_string(StepMs()) + " ms");
            ++_current;
            _stepStart = RealMs();
            if (_current < _steps.size()) {
                Say("step " + _steps[_current].name);
            }
        }
    }
    if (_failed || _current >= _steps.size()) {
        End();
    }
    return !_ended;
}

void AutoPlayer::Fail(const std::string& why)
{
    if (_failed) {
        return;
    }
    _failed = true;
    Say("FAIL: " + why);
}

bool AutoPlayer::Check(bool ok, const std::string& what)
{
    Say((ok ? "ok: " : "FAIL: ") + what);
    _checksFailed += ok ? 0 : 1;
    return ok;
}

void AutoPlayer::Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void AutoPlayer::End()
{
    _ended = true;
    if (_failed) {
        Shot("last");
    }
    Say(Failed() ? "run failed" : "run passed");
    CloseWindow();
}

void AutoPlayer::Press(int x, int y, int button)
{
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.type = SDL_MOUSEMOTION;
    move.motion.x = static_cast<Uint16>(x);
    move.motion.y = static_cast<Uint16>(y);
    SDL_PushEvent(&move);
    _pressX = x;
    _pressY = y;
    _pressButton = button;
    _pressPending = true;
}

void AutoPlayer::PushPress()
{
    _pressPending = false;
    for (Uint8 type : {Uint8(SDL_MOUSEBUTTONDOWN), Uint8(SDL_MOUSEBUTTONUP)}) {
        SDL_Event e{};
        e.type = type;
        e.button.type = type;
        e.button.button = static_cast<Uint8>(_pressButton);
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = static_cast<Uint16>(_pressX);
        e.button.y = static_cast<Uint16>(_pressY);
        SDL_PushEvent(&e);
    }
}

void AutoPlayer::Key(SDLKey key, SDLMod mod, Uint16 unicode)
{
    for (Uint8 type : {Uint8(SDL_KEYDOWN), Uint8(SDL_KEYUP)}) {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        e.key.keysym.unicode = unicode;
        SDL_PushEvent(&e);
    }
}

void AutoPlayer::InputFocus(bool gain)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.type = SDL_ACTIVEEVENT;
    e.active.gain = gain ? 1 : 0;
    e.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&e);
}

void AutoPlayer::CloseWindow()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

Cast* AutoPlayer::GetCast() const
{
    return _app != nullptr && _app->_animationManager != nullptr
               ? _app->_animationManager->GetCast()
               : nullptr;
}

CastMemberButton* AutoPlayer::FindButton(int id) const
{
    Cast* cast = GetCast();
    if (cast == nullptr) {
        return nullptr;
    }
    for (CastMember* member : cast->GetCastMembers()) {
        auto* button = dynamic_cast<CastMemberButton*>(member);
        if (button != nullptr && button->GetID() == id && button->IsVisible() &&
            button->GetEnabled()) {
            return button;
        }
    }
    return nullptr;
}

CastMemberDialog* AutoPlayer::OpenDialog(int id) const
{
    Cast* cast = GetCast();
    CastMemberDialog* dialog = cast != nullptr ? cast->GetDialog() : nullptr;
    return dialog != nullptr && dialog->GetID() == id ? dialog : nullptr;
}

int AutoPlayer::OpenDialogId() const
{
    Cast* cast = GetCast();
    CastMemberDialog* dialog = cast != nullptr ? cast->GetDialog() : nullptr;
    return dialog != nullptr ? dialog->GetID() : 0;
}

bool AutoPlayer::PressSprite(CastMember* sprite, int button)
{
    Cast* cast = GetCast();
    if (cast == nullptr || sprite == nullptr) {
        return false;
    }
    const std::vector<CastMember*>& members = cast->GetCastMembers();
    const auto self = std::find(members.begin(), members.end(), sprite);
    if (self == members.end()) {
        return false;
    }
    for (const auto& [fx, fy] : kPressPoints) {
        const int x = sprite->GetX() + sprite->GetW() * fx / 100;
        const int y = sprite->GetY() + sprite->GetH() * fy / 100;
        // The stage hits its members front first: one in front that takes input gets the press.
        const bool covered = std::any_of(members.begin(), self, [x, y](CastMember* other) {
            return other->IsVisible() && other->AllowInput() && Inside(*other, x, y);
        });
        if (!covered) {
            Press(x, y, button);
            return true;
        }
    }
    return false;
}

bool AutoPlayer::PressDialogItem(CastMemberDialog* dialog, int itemId)
{
    DialogItem* item = dialog != nullptr ? dialog->GetItemByID(itemId) : nullptr;
    if (item == nullptr) {
        return false;
    }
    Press(dialog->GetX() + item->GetX() + item->GetFrameWidth() / 2,
          dialog->GetY() + item->GetY() + item->GetFrameHeight() / 2);
    return true;
}

std::vector<PlanTile> AutoPlayer::GridCopy(MjClassic& screen, std::vector<MjTile*>* sprites)
{
    std::vector<PlanTile> tiles;
    if (screen._layout == nullptr) {
        return tiles;
    }
    MjLayout& layout = *screen._layout;
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = layout.Cell(i, j, k);
        if (cell.state != MjCell::kOrigin || cell.tile == nullptr) {
            continue;
        }
        auto* tile = static_cast<MjTile*>(cell.tile);
        if (!tile->IsActive()) {
            continue;
        }
        tiles.push_back({i, j, k, tile->GetType()});
        if (sprites != nullptr) {
            sprites->push_back(tile);
        }
    }
    return tiles;
}

bool AutoPlayer::TilesMoving(MjClassic& screen)
{
    std::vector<MjTile*> sprites;
    GridCopy(screen, &sprites);
    return std::any_of(sprites.begin(), sprites.end(), [](MjTile* t) { return t->IsMoving(); });
}

void AutoPlayer::ForgetBoard()
{
    _move.clear();
    _moveCells.clear();
    _movePressed = 0;
    _boardTiles = 0;
    _movesPlayed = 0;
}

bool AutoPlayer::PlayBoard(MjClassic& screen, const std::function<void(int)>& onMove, Goal goal)
{
    if (Busy()) {
        return false;
    }
    const unsigned int now = RealMs();
    if (_move.empty()) {
        std::vector<MjTile*> sprites;
        const std::vector<PlanTile> tiles = GridCopy(screen, &sprites);
        const bool ordinaryLeft = std::any_of(tiles.begin(), tiles.end(), [](const PlanTile& t) {
            return t.type < AutoPlayerPlanner::kFirstSpecialType;
        });
        if (!ordinaryLeft) {
            _boardTiles = 0;
            return true;
        }
        if (_boardTiles == 0) {
            _boardTiles =
                static_cast<int>(std::count_if(tiles.begin(), tiles.end(), [](const PlanTile& t) {
                    return t.type < AutoPlayerPlanner::kFirstSpecialType;
                }));
            _movesPlayed = 0;
        }
        if (screen._inPlay == 0 || TilesMoving(screen)) {
            return false;
        }
        AutoPlayerPlanner planner(tiles, screen._layout->MatchSize());
        const std::vector<std::vector<int>> plan =
            goal == Goal::kClear ? planner.Plan(kPlanBudget) : planner.PlanToBlock(kPlanBudget);
        if (plan.empty()) {
            Fail(std::string(goal == Goal::kClear ? "no clearing order" : "no blocking order") +
                 " for the " + std::to_string(tiles.size()) + " tiles left (looked at " +
                 std::to_string(planner.Visited()) + " positions)");
            return false;
        }
        for (int t : plan.front()) {
            _move.push_back(sprites[t]);
            _moveCells.push_back(tiles[t]);
        }
        _movePressed = 0;
        _moveRetries = 0;
        std::string line = "move " + std::to_string(_movesPlayed + 1);
        for (size_t n = 0; n < _move.size(); ++n) {
            const PlanTile& at = _moveCells[n];
            line += " " + std::to_string(at.type) + "@" + std::to_string(at.i) + "," +
                    std::to_string(at.j) + "," + std::to_string(at.k) + "(" +
                    std::to_string(_move[n]->GetX()) + "," + std::to_string(_move[n]->GetY()) + ")";
        }
        Say(line);
    }
    // A press may take a whole group at once (a board that matches a lone free partner by
    // itself): once any tile of the move has left the grid the board has changed, and the next
    // move is planned on it.
    bool anyGone = false;
    for (size_t n = 0; n < _move.size(); ++n) {
        const PlanTile& at = _moveCells[n];
        // A matched tile leaves play at once and its cell when it lands in the tray.
        anyGone = anyGone || screen._layout->Cell(at.i, at.j, at.k).tile != _move[n] ||
                  !_move[n]->IsActive();
    }
    if (anyGone) {
        const std::vector<PlanTile> left = GridCopy(screen, nullptr);
        const int size = std::max(2, screen._layout->MatchSize());
        const int ordinary =
            static_cast<int>(std::count_if(left.begin(), left.end(), [](const PlanTile& t) {
                return t.type < AutoPlayerPlanner::kFirstSpecialType;
            }));
        _move.clear();
        _moveCells.clear();
        _movesPlayed = (_boardTiles - ordinary) / size;
        if (onMove) {
            onMove(_movesPlayed);
        }
        return false;
    }
    const auto selected = [&screen](MjTile* tile) {
        return std::find(std::begin(screen._selected), std::end(screen._selected), tile) !=
               std::end(screen._selected);
    };
    const bool answerDue =
        now - _movePressMs >= kPressAnswerMs && _frames - _movePressFrame >= kPressAnswerFrames;
    if (_movePressed > 0 && !answerDue &&
        (_movePressed == _move.size() || !selected(_move[_movePressed - 1]))) {
        return false; // the last press is still being answered
    }
    if (_movePressed > 0 && (_movePressed == _move.size() || !selected(_move[_movePressed - 1]))) {
        // The last press was not taken: press that tile again.
        if (++_moveRetries > kPressRetries) {
            const PlanTile& at = _moveCells[_movePressed - 1];
            Fail("the tile of type " + std::to_string(at.type) + " at " + std::to_string(at.i) +
                 "," + std::to_string(at.j) + "," + std::to_string(at.k) +
                 " was pressed but neither selected nor matched (pressed at " +
                 std::to_string(_pressX) + "," + std::to_string(_pressY) + ")");
            return false;
        }
        --_movePressed;
    }
    if (_movePressed < _move.size() && PressSprite(_move[_movePressed])) {
        ++_movePressed;
        _movePressMs = now;
        _movePressFrame = _frames;
    }
    return false;
}

void AutoPlayer::Shot(const std::string& name)
{
    SDL_Surface* screen = SDL_GetVideoSurface();
    const std::string path = _out + "/" + name + ".bmp";
    if (screen == nullptr || SDL_SaveBMP(screen, path.c_str()) != 0) {
        Say("no shot " + name);
        return;
    }
    Say("shot " + name);
}
