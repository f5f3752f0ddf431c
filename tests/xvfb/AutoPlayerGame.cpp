#include "tests/xvfb/AutoPlayerGame.h"

#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/MjClassic.h"
#include "mahjong/MjGameScript.h"
#include "mahjong/MjTile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The splash is skipped by a key, sent again at this pace until the menu shows.
constexpr unsigned int kSkipKeyMs = 700;
// A press on the menu's button is repeated after this long without a game.
constexpr unsigned int kStartPressMs = 3000;

} // namespace

AutoPlayerGame::AutoPlayerGame(const std::string& out, unsigned int runLimitMs,
                               unsigned int settleMs)
    : _player(out, runLimitMs), _settleMs(settleMs)
{
    _player.SetApp(this);
}

void AutoPlayerGame::DoIt()
{
    Mahjong::DoIt();
    _player.Frame();
}

MjClassic* AutoPlayerGame::Screen() const
{
    return Script() != nullptr ? Script()->GetScreen() : nullptr;
}

int AutoPlayerGame::ScriptState() const
{
    return Script() != nullptr ? Script()->GetState() : 0;
}

bool AutoPlayerGame::Animating() const
{
    return ScriptState() == MjGameScript::kAnimationFrameState;
}

int AutoPlayerGame::AnimationFrames() const
{
    SpriteRunnerConfigFile* description =
        Script() != nullptr ? Script()->GetDescription() : nullptr;
    if (description == nullptr || description->_frameMillis <= 0) {
        return 0;
    }
    return (1000 / description->_frameMillis) * description->_seconds;
}

bool AutoPlayerGame::StartFromMenu(int button)
{
    if (Screen() != nullptr) {
        return true;
    }
    CastMemberButton* start = _player.FindButton(button);
    const unsigned int now = _player.StepMs();
    if (start == nullptr) {
        if (!_pressedStart && now - _lastKeyMs >= kSkipKeyMs) {
            _player.Key(SDLK_SPACE, KMOD_NONE, ' ');
            _lastKeyMs = now;
        }
        return false;
    }
    // The menu fades in from black: it is looked at, and pressed, once it has settled.
    if (_menuSeenMs == 0) {
        _menuSeenMs = AutoPlayer::GameMs();
    }
    if (AutoPlayer::GameMs() - _menuSeenMs < _settleMs) {
        return false;
    }
    if (!_pressedStart || now - _lastPressMs >= kStartPressMs) {
        if (!_pressedStart) {
            _player.Shot("menu");
        }
        _player.PressSprite(start);
        _pressedStart = true;
        _lastPressMs = now;
    }
    return false;
}

bool AutoPlayerGame::BoardOpen(MjClassic& screen)
{
    std::vector<MjTile*> sprites;
    AutoPlayer::GridCopy(screen, &sprites);
    const bool open =
        screen._inPlay != 0 && !sprites.empty() && !AutoPlayer::TilesMoving(screen) &&
        std::all_of(sprites.begin(), sprites.end(), [](MjTile* t) { return t->IsVisible(); });
    if (!open || Animating()) {
        _openSinceMs = 0;
        return false;
    }
    if (_openSinceMs == 0) {
        _openSinceMs = AutoPlayer::GameMs();
    }
    if (AutoPlayer::GameMs() - _openSinceMs <
        static_cast<unsigned int>(screen._fadeInSpeed) + _settleMs) {
        return false;
    }
    _openSinceMs = 0;
    return true;
}

void PrepareAutoPlayer(const std::string& name, int progressType, const std::string& seedKey,
                       int seed)
{
    ConfigFilePlayers players("players.cfg");
    players.AddPlayer(name);
    players.Write("info", "curplayer", name);
    players.Flush();
    AutoPlayer::Say("record player " + name);
    std::string stem;
    if (progressType < 0 || !ConfigFilePlayers::PlayerFileStem(name, &stem)) {
        return;
    }
    const std::string file = stem + ".plr" + std::to_string(progressType);
    if (std::FILE* created = std::fopen(file.c_str(), "w")) {
        std::fclose(created);
    }
    ConfigFile progress(file, false, false, false);
    progress.Write("seed", seedKey, seed);
    progress.Flush();
}

int RunAutoPlayerGame(char** argv, unsigned int clockSpeed,
                      const std::function<AutoPlayerGame*()>& make,
                      const std::function<void()>& prepare)
{
    ConfigFile::TurnEncryption(true);
    AutoPlayer::SpeedUpClock(clockSpeed);
    AutoPlayerGame* app = make();
    if (app == nullptr) {
        return 1;
    }
    prepare();
    const int code = Application::Execute(1, argv);
    const bool failed = app->Failed();
    delete app;
    std::fflush(stdout);
    return code != 0 ? code : (failed ? 1 : 0);
}
