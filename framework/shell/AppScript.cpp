// AppScript: construction, the state table, the fade cues and the loading threads.
#include "framework/shell/AppScript.h"

#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/ConfigFileGame.h"
#include "framework/core/DebugLifetime.h"
#include "framework/core/Framework.h"
#include "framework/core/LoadingThread.h"
#include "framework/core/TickSource.h"
#include "framework/core/WebUpdater.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/shell/ConfigFileDeleteNameDialog.h"
#include "framework/shell/ConfigFileEnterNameDialog.h"
#include "framework/shell/ConfigFileHighDetailDialog.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFileOptionsDialog.h"
#include "framework/shell/ConfigFilePlayAsDialog.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/ConfigFileSplash.h"
#include "framework/shell/DeleteNameDialog.h"
#include "framework/shell/EnterNameDialog.h"
#include "framework/shell/HighDetailDialog.h"
#include "framework/shell/OptionsDialog.h"
#include "framework/shell/PlayAsDialog.h"
#include "framework/shell/ProcessorSpeedCheck.h"
#include "framework/shell/RulesDialog.h"
#include "framework/shell/SpeedCheckPlatform.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"

#include <algorithm>
#include <atomic>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr int kFullScreenSettleMs = 2000; // the display changes mode before the splash
constexpr int kMenuPollMs = 100;
constexpr int kThreadPollMs = 20;
constexpr int kMusicFadeInMs = 500;
constexpr int kFadePriority = -2;
constexpr int kPicturePollMs = 1; // the next frame: the fade to the menu normally hides the load

// Pictures freed in a malloc arena that no thread allocates from again (the menu's were made on
// the menu loader's worker) would keep their pages resident for the rest of the run: hands every
// arena's free pages back to the system.
void ReturnFreedPages()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// The menu description's pictures, on a worker; the description is not read by the main thread
// until the worker has ended.
class MenuPictureLoader final : public Thread
{
public:
    explicit MenuPictureLoader(ConfigFileMenu* menu) : _menu(menu)
    {
        SetName("MenuPictureLoader");
        Start();
    }
    ~MenuPictureLoader() override { WaitForWorker(); }

    int OnExecute() override
    {
        _menu->LoadImages();
        SetReturnValue(1);
        return 1;
    }

private:
    ConfigFileMenu* const _menu;
};

std::atomic<int>& AppScriptDebugLevel()
{
    static std::atomic<int> level{0};
    return level;
}

} // namespace

AppScript::AppScript(Framework* framework, GameTime* clock) : Script(clock), _framework(framework)
{
    AppScriptDebugLevel() = DebugLifetime::SetDebugLevel("AppScript", this, AppScriptDebugLevel());
    AnimationManager* manager = _framework->_animationManager;
    _gameCast = manager->GetCast();
    _menuCast = new Cast(manager, manager->GetFadeCanvas());
    _menuCast->SetName("MenuCast");
    manager->SetCast(_menuCast);
    _currentCast = _menuCast;
}

AppScript::~AppScript()
{
    // A stage deletes the dialogs it still holds; a closed one is the script's. The player
    // dialogs are only ever opened on the menu stage, the others in a game too.
    const auto release = [this](auto*& dialog, bool inGameToo) {
        if (dialog == nullptr) {
            return;
        }
        const bool held = (_menuCast != nullptr && _menuCast->Contains(dialog)) ||
                          (inGameToo && _gameCast != nullptr && _gameCast->Contains(dialog));
        if (!held) {
            delete dialog;
        }
        dialog = nullptr;
    };
    release(_playAsDialog, false);
    release(_enterNameDialog, false);
    release(_deleteNameDialog, false);
    release(_optionsDialog, true);
    release(_highDetailDialog, true);
    release(_rulesDialog, true);
    release(_updateDialog, true);
    // It writes into the menu description.
    delete _menuPictureLoader;
    _menuPictureLoader = nullptr;
    // Only the notice's rendered text used them.
    delete _updateFont;
    delete _updateHeaderFont;
    delete _noticeConfig;
    if (_menuObjectsCreated) {
        for (CastMemberImage* sprite : _menuAnimations) {
            delete sprite;
        }
        _menuAnimations.clear();
    }
    // The menu stage may outlive the description that owns its background picture.
    if (_menuConfig != nullptr && _menuCast->GetBackground() == _menuConfig->_bgImage) {
        _menuCast->SetBackground(static_cast<Image*>(nullptr));
    }
    AnimationManager* manager = _framework != nullptr ? _framework->_animationManager : nullptr;
    if (manager != nullptr) {
        // The shown stage belongs to the frame loop; a swap still pending would hand it the
        // other one, which goes now.
        Cast* shown = manager->GetCast();
        manager->SetCast(shown);
        delete (shown == _menuCast ? _gameCast : _menuCast);
    }
    delete _splashConfig;
    delete _menuConfig;
    delete _players;
    delete _playAsConfig;
    delete _enterNameConfig;
    delete _deleteNameConfig;
    delete _optionsConfig;
    delete _highDetailConfig;
    delete _rulesConfig;
    delete _splashMusic;
    delete _menuMusic;
    delete _menuSound;
}

void AppScript::DoState(int state)
{
    AnimationManager* manager = _framework->_animationManager;
    switch (state) {
    case kStartUp:
        StartUpSettings();
        if (_framework->_gameConfig->fullscreen) {
            ChangeState(kSplash, kFullScreenSettleMs);
        } else {
            ChangeState(kSplash);
        }
        break;
    case kSplash:
        CreateSplashObjects();
        manager->FadeIn(SplashFadeTime(), this);
        _framework->ShowCursor();
        Music::FadeIn(_splashMusic, kMusicFadeInMs, -1, 0.0);
        break;
    case kSplashShown:
        // A subclass may come back to its animation states later: one menu loader per run.
        if (_framework->AllowLoadingThread() && _menuLoader == nullptr &&
            !_menuResourcesLoaded.load()) {
            // Made here, not on the worker, which reads it as the descriptions' parent.
            _framework->GetThemeConfig();
            _menuLoader = new LoadingThread(_framework, LoadingThread::kMenuResources);
        }
        break;
    case kLeaveSplash:
        manager->FadeOut(SplashFadeTime(), this);
        Music::FadeOut(SplashFadeTime());
        break;
    case kMenu:
        EnterMenu();
        break;
    case kMenuLive:
        if (_framework->AllowLoadingThread() && _gameLoader == nullptr) {
            _gameLoader = new LoadingThread(_framework, LoadingThread::kGameResources);
        }
        manager->SetMasterInput(true);
        break;
    case kGameChosen:
        ChangeState(kLeaveMenu);
        break;
    case kLeaveMenu:
        manager->SetMasterInput(false);
        if (_menuConfig != nullptr) {
            manager->FadeOut(MenuFadeTime(), this);
            Music::FadeOut(MenuFadeTime());
        }
        break;
    case kShowGameStage:
        manager->SetCast(_gameCast);
        _currentCast = _gameCast;
        ChangeState(kGameStarts);
        break;
    case kGameStarts:
        manager->SetMasterAlpha(0);
        manager->SetFadePriority(kFadePriority);
        _framework->ShowCursor();
        manager->SetMasterInput(true);
        ReleaseMenuObjects();
        InitGame();
        if (NoMenu()) {
            DeleteSplashObjects();
        }
        if (!_framework->AllowLoadingThread()) {
            _framework->LoadGameResources(false);
        }
        ChangeState(kFirstGameState);
        break;
    case kLeaveGame:
        _gameVariant = -1;
        manager->SetMasterInput(false);
        manager->SetFadePriority(kFadePriority);
        manager->SetMasterAlpha(255);
        manager->FadeOut(MenuFadeTime(), this);
        StartMenuPictureLoader();
        break;
    case kShowMenuStage:
        manager->SetCast(_menuCast);
        _currentCast = _menuCast;
        ChangeState(kBackFromGame);
        break;
    case kBackFromGame:
        DestroyGame();
        ReturnFreedPages();
        _backFromGame = true;
        ChangeState(kMenu);
        break;
    case kQuit:
        ChangeState(kQuitFade);
        break;
    case kQuitFade:
        // The music plays on while the screen goes dark.
        manager->FadeOut(MenuFadeTime(), this);
        break;
    case kQuitNow:
        Application::Quit(0);
        break;
    default:
        break;
    }
}

void AppScript::StartUpSettings()
{
    AnimationManager* manager = _framework->_animationManager;
    ConfigFileGame* settings = _framework->_gameConfig;
    _framework->SetScript(this);
    _splashConfig = new ConfigFileSplash("cfg/splash.cfg");
    _splashMusic = Music::LoadMusic(_splashConfig->_music);
    if (settings->checkcpu) {
        ProcessorSpeedCheck::Run(SpeedCheckPlatform::Current(), *this, _framework, *settings);
    }
    _framework->ShowFPS(settings->fps);
    _framework->CreateCursors(_splashConfig, _currentCast);
    Application::AllowDialogDropShadows(true);
    _framework->SetHighDetail(settings->highdetail);
    manager->SetVideoMemThreshold(settings->videomemthreshold);
    manager->SetScreenMode(settings->fullscreen);
    _framework->SetVolumeMusic(settings->musicvol);
    _framework->SetVolumeSounds(settings->soundsvol);
    _framework->SetDefaultFontName(_splashConfig->_defaultFont);
    manager->SetMasterAlpha(0);
    manager->SetFadePriority(kFadePriority);
}

void AppScript::EnterMenu()
{
    if (_framework->AllowLoadingThread() && !_menuResourcesLoaded.load()) {
        if (_menuLoader != nullptr) {
            ChangeState(kMenu, kMenuPollMs);
            return;
        }
        // No loader is left and nothing was loaded (it never started, or it failed): polling
        // would wait for ever, so the menu is loaded here.
        DebugVar(1, "MENU Screen resources missing; loading them now");
        _framework->LoadMenuResources(false);
    }
    if (_menuPictureLoader != nullptr) {
        if (!_menuPictureLoader->IsFinished()) {
            if (_pictureWaitStart == 0) {
                _pictureWaitStart = std::max(TickSource::Now(), 1u);
            }
            ChangeState(kMenu, kPicturePollMs);
            return;
        }
        delete _menuPictureLoader;
        _menuPictureLoader = nullptr;
        if (_pictureWaitStart != 0) {
            // The fade was shorter than the load: the black screen lasted this much longer.
            DebugVar(1, "MENU Screen waited %u ms for its pictures",
                     TickSource::Now() - _pictureWaitStart);
            _pictureWaitStart = 0;
        }
    }
    if (!_backFromGame) {
        DeleteSplashObjects();
    }
    AnimationManager* manager = _framework->_animationManager;
    if (!NoMenu() && _menuConfig == nullptr) {
        // The application's loader did not come to the script: the menu can't be built
        // without its description.
        DebugVar(1, "MENU Screen description missing; loading it now");
        LoadMenuResources(false);
    }
    if (!NoMenu()) {
        if (_players == nullptr) {
            // Names are cut as the name box cuts them.
            _players = new ConfigFilePlayers(
                "players.cfg", _enterNameConfig != nullptr ? _enterNameConfig->_textInputLimit : 0);
        }
        if (!_menuObjectsCreated) {
            _menuConfig->LoadImages();
            CreateMenuObjects();
            _currentCast->SetBackground(_menuConfig->_bgImage);
        }
        if (_menuMusic == nullptr) {
            _menuMusic = Music::LoadMusic(_menuConfig->_music);
        }
        if (_menuSound == nullptr) {
            _menuSound = Sound::LoadSound(_menuConfig->_volumeSound, false);
        }
        Music::FadeIn(_menuMusic, kMusicFadeInMs, -1, 0.0);
        manager->FadeIn(MenuFadeTime(), this);
    }
    _framework->ShowCursor();
    const std::string answer = TakeUpdaterAnswer();
    if (!NoMenu()) {
        ShowUpdateNotice(answer);
    }
    _backFromGame = false;
}

void AppScript::ReleaseMenuObjects()
{
    if (!_menuObjectsCreated || _menuConfig == nullptr) {
        return;
    }
    if (_menuCast->GetBackground() == _menuConfig->_bgImage) {
        _menuCast->SetBackground(static_cast<Image*>(nullptr));
    }
    // The menu stage is not shown: its members go at once, not at the end of a frame.
    for (CastMemberImage* sprite : _menuAnimations) {
        delete sprite;
    }
    _menuAnimations.clear();
    for (CastMemberButton* button : _startButtons) {
        delete button;
    }
    _startButtons.clear();
    for (CastMemberButton** button :
         {&_rulesButton, &_optionsButton, &_quitButton, &_updateButton, &_playerButton}) {
        delete *button;
        *button = nullptr;
    }
    delete _playerLabel;
    _playerLabel = nullptr;
    _menuObjectsCreated = false;
    _menuConfig->ReleaseImages();
    // A closed rules dialog and its description (pictures, fonts, controls): read again when the
    // rules are next shown, as a game reads its own on every showing.
    if (_rulesDialog != nullptr && !_menuCast->Contains(_rulesDialog) &&
        (_gameCast == nullptr || !_gameCast->Contains(_rulesDialog))) {
        delete _rulesDialog;
        _rulesDialog = nullptr;
    }
    if (_rulesDialog == nullptr) {
        delete _rulesConfig;
        _rulesConfig = nullptr;
    }
    ReturnFreedPages();
}

void AppScript::StartMenuPictureLoader()
{
    if (_framework->AllowLoadingThread() && _menuConfig != nullptr &&
        !_menuConfig->ImagesLoaded() && _menuPictureLoader == nullptr) {
        _menuPictureLoader = new MenuPictureLoader(_menuConfig);
    }
}

std::string AppScript::TakeUpdaterAnswer()
{
    WebUpdater* updater = _framework->_webUpdater;
    if (updater == nullptr || updater->IsRunning()) {
        return "";
    }
    const std::string answer = updater->GetUpdaterResponse();
    _networkConnection = updater->_connected.load();
    DebugVar(1, "NETWORK CONNECTION = %d", _networkConnection ? 1 : 0);
    if (Thread::DeleteIfFinished(updater)) {
        _framework->_webUpdater = nullptr;
    }
    return answer;
}

void AppScript::Cue(CastMember* /*member*/, int cue, int /*value*/)
{
    const int state = GetState();
    if (cue == kScreenFadedIn) {
        if (state == kMenu) {
            ChangeState(kMenuLive);
        }
        return;
    }
    if (cue != kScreenFadedOut) {
        return;
    }
    switch (state) {
    case kLeaveSplash:
        if (NoMenu()) {
            ChangeState(kShowGameStage);
            return;
        }
        if (!_framework->AllowLoadingThread()) {
            _framework->LoadMenuResources(false);
        }
        ChangeState(kMenu);
        break;
    case kLeaveMenu:
        ChangeState(kShowGameStage);
        break;
    case kLeaveGame:
        ChangeState(kShowMenuStage);
        break;
    case kQuitFade:
        ChangeState(kQuitNow);
        break;
    default:
        break;
    }
}

void AppScript::DoScript()
{
    Script::DoScript();
    CheckRestoreAfterLink();
    ShowFileNotices();
    PollLoader(_menuLoader, "MENU Screen failed to load some resources: %d",
               "MENU Screen loaded resources: %d");
    PollLoader(_gameLoader, "GAME failed to load some resources: %d", "GAME loaded resources: %d");
}

void AppScript::PollLoader(LoadingThread*& loader, const char* failedFormat,
                           const char* loadedFormat)
{
    // A worker past its work may still be leaving the thread function: wait for the next frame.
    if (loader == nullptr || loader->IsRunning() || !loader->IsFinished()) {
        return;
    }
    const int count = loader->GetReturnValue();
    if (count < 0) {
        DebugVar(1, failedFormat, count);
    } else if (count > 0) {
        DebugVar(1, loadedFormat, count);
    }
    Thread::DeleteIfFinished(loader);
    loader = nullptr;
}

void AppScript::WaitOnThreads()
{
    for (LoadingThread** loader : {&_menuLoader, &_gameLoader}) {
        if (*loader == nullptr) {
            continue;
        }
        while ((*loader)->IsRunning()) {
            SDL_Delay(kThreadPollMs);
        }
        // The destructor waits for the worker's last steps.
        delete *loader;
        *loader = nullptr;
    }
    // A quit during the fade from a game: the pictures' worker ends before the images go.
    if (_menuPictureLoader != nullptr) {
        while (!_menuPictureLoader->IsFinished()) {
            SDL_Delay(kThreadPollMs);
        }
        delete _menuPictureLoader;
        _menuPictureLoader = nullptr;
    }
}

void AppScript::InitGame() {}

void AppScript::DestroyGame() {}

void AppScript::SetFullScreen(bool full)
{
    _framework->_animationManager->SetScreenMode(full);
}

void AppScript::CreateSplashObjects() {}

void AppScript::DeleteSplashObjects() {}

Cast* AppScript::GetCast()
{
    return _framework->_animationManager->GetCast();
}

int AppScript::GetGameVariant()
{
    return _gameVariant;
}

int AppScript::MenuFadeTime() const
{
    return _menuConfig != nullptr ? _menuConfig->_fadeTime : SplashFadeTime();
}

int AppScript::SplashFadeTime() const
{
    return _splashConfig != nullptr ? _splashConfig->_fadeTime : 0;
}

bool AppScript::NoMenu() const
{
    return _splashConfig != nullptr && _splashConfig->_noMenu;
}
