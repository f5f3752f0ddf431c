#include "tests/xvfb/AutoPlayerGame.h"

#include "framework/core/Application.h"
#include "framework/core/ConfigFile.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The splash is skipped by a key, sent again at this pace until the menu shows.
constexpr unsigned int kSkipKeyMs = 700;
// A press on the menu's button is repeated after this long without a game.
constexpr unsigned int kStartPressMs = 3000;
constexpr int kFullAlpha = 255;

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
    if (!_pressedStart) {
        // The menu's button takes presses while the screen still fades in from black: the
        // shot waits for a frame drawn at full colour.
        const bool shown = _animationManager != nullptr && !_animationManager->FadingIn() &&
                           _animationManager->GetMasterAlpha() == kFullAlpha;
        _menuShownFrames = shown ? _menuShownFrames + 1 : 0;
        if (_menuShownFrames < 2) {
            return false;
        }
        _player.Shot("menu");
    }
    if (!_pressedStart || now - _lastPressMs >= kStartPressMs) {
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

int AutoPlayerGame::CongratsLayoutShown(MjClassic& screen)
{
    if (screen._layout == nullptr) {
        return 0;
    }
    // Each layout file's title line and its count of placement lines, read once: the steps
    // poll this every frame.
    struct Layout
    {
        std::string title;
        size_t tiles = 0;
    };
    static const std::vector<Layout> layouts = [] {
        std::vector<Layout> read(kCongratsLayouts);
        for (int n = 1; n <= kCongratsLayouts; ++n) {
            std::ifstream in("puzzles/congrats" + std::to_string(n) + ".cfg");
            std::string line;
            while (std::getline(in, line)) {
                if (line.rfind("L=", 0) == 0) {
                    read[n - 1].title = line.substr(2);
                }
                read[n - 1].tiles += line.rfind("p=", 0) == 0 ? 1 : 0;
            }
        }
        return read;
    }();
    for (int n = 1; n <= kCongratsLayouts; ++n) {
        const Layout& layout = layouts[n - 1];
        if (layout.tiles > 0 && screen._layout->Title() == layout.title) {
            return AutoPlayer::GridCopy(screen, nullptr).size() == layout.tiles ? n : 0;
        }
    }
    return 0;
}

bool AutoPlayerGame::CongratsShown(MjClassic& screen)
{
    return CongratsLayoutShown(screen) == screen._puzzle % kCongratsLayouts + 1;
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
