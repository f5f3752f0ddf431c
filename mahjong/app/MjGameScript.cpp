#include "mahjong/app/MjGameScript.h"

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/File.h"
#include "framework/core/Framework.h"
#include "framework/core/LoadingThread.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

namespace {

// The shell dialogs over a running board that give it back when they close.
constexpr int kShellDialogsOverBoard[] = {AppScript::kOptionsDialog, AppScript::kRulesDialog,
                                          MjGameScript::kResumingShellDialog1,
                                          MjGameScript::kResumingShellDialog2};

// The progress files of a player, plain and scrambled.
constexpr const char* kProgressSuffixes[] = {".plr0",  ".plr1",  ".plr2",
                                             ".plr0e", ".plr1e", ".plr2e"};

Cast* CurrentCast(Framework* app)
{
    return app != nullptr && app->_animationManager != nullptr ? app->_animationManager->GetCast()
                                                               : nullptr;
}

} // namespace

MjGameScript::MjGameScript(Framework* app, GameTime* clock)
    : AnimatedAppScript(app, clock), _app(dynamic_cast<Mahjong*>(app))
{
    _rulesConfig = nullptr;
}

MjGameScript::~MjGameScript()
{
    EndGame(false);
    // The menu's loader makes these whether or not a game ever starts: they go with the script,
    // not with a game.
    delete _menuDialogConfig;
    delete _radioConfig;
    delete _popupText;
    delete _popupConfig;
    delete _sceneLoader;
}

const char* MjGameScript::BoardConfigFile(int variant)
{
    switch (variant) {
    case 1:
        return "cfg/mjlogic.cfg";
    case 2:
        return "cfg/mjclassic.cfg";
    case 3:
        return "cfg/mjzorvy.cfg";
    default:
        return nullptr;
    }
}

void MjGameScript::DoState(int state)
{
    AnimatedAppScript::DoState(state);
    if (state == kStartGame) {
        StartGameState();
    } else if (state == kFadeStepState) {
        FadeStepState();
    } else if (state == kPendingAnimationState) {
        PendingAnimationState();
    } else if (state == kPlayAnimationState) {
        PlayAnimationState();
    } else if (state == kAnimationFrameState) {
        AnimationFrameState();
    } else if (state == kAnimationEndedState) {
        AnimationEndedState();
    } else if (state == kSequenceSkipped) {
        if (_screen != nullptr) {
            _screen->ClearSequenceEnd();
        }
        ChangeState(kSequenceEnded, 1);
    }
}

void MjGameScript::StartGameState()
{
    if (!_gameConfigsLoaded.load()) {
        ChangeState(kStartGame, kRetryMs);
    }
    if (_noGame) {
        Cast* cast = GetCast();
        if (cast != nullptr) {
            cast->SetDialogAttachListener(this);
        }
        if (_gameCast == nullptr) {
            _gameCast = CurrentCast(_framework);
        }
        EndGame(true);
        const char* file = BoardConfigFile(GetGameVariant());
        const std::string unusable = file != nullptr ? UnusableGameFile(file) : std::string();
        if (!unusable.empty()) {
            // A board screen without its look or its boards has no buttons to leave by: the
            // game does not start, and the menu says why.
            DebugVar(-1, "%s could not be read; the game cannot start", unusable.c_str());
            ConfigFile::NoteUnread(unusable);
            LeaveGame();
            return;
        }
        if (file != nullptr) {
            StartGame(file);
        }
    }
    _leaving = false;
    _noGame = false;
}

std::string MjGameScript::UnusableGameFile(const std::string& boardConfigFile)
{
    ConfigFile look(boardConfigFile, false, false, false);
    if (look.GetKeysInSection("game").empty()) {
        return boardConfigFile;
    }
    const int set = ConfigFile::AsInt(look.Value("game", "puzzles", 0.0, true));
    const std::string puzzlesFile = MjClassicConfig::PuzzleSetFile(set);
    ConfigFile puzzles(puzzlesFile, false, false, false);
    if (puzzles.GetKeysInSection("puzzles").empty()) {
        return puzzlesFile;
    }
    return std::string();
}

void MjGameScript::StartGame(const std::string& boardConfigFile)
{
    _boardConfig = new MjClassicConfig(boardConfigFile);
    Cast* cast = CurrentCast(_framework);
    auto* sheet = new ImageResource(_boardConfig->_menuImg, kMenuButtonLooks, 1, nullptr);
    _menuButton = new CastMemberButton(cast, kMenuButtonId, _boardConfig->_menuPos.GetX(),
                                       _boardConfig->_menuPos.GetY(), kMenuButtonPriority, sheet);
    _menuButton->SetButtonListener(this);
    _menuButton->UseTransparency(true);
    _screen = new MjClassic(_framework, _boardConfig);
    ReplaceBackground(_screen->MakeBackground());
    if (_framework != nullptr && _framework->_animationManager != nullptr) {
        _framework->_animationManager->FadeIn(kFadeInMs, _screen);
    }
}

void MjGameScript::ReplaceBackground(Image* background)
{
    if (background == _background) {
        return;
    }
    Cast* cast = _gameCast != nullptr ? _gameCast : CurrentCast(_framework);
    if (cast != nullptr) {
        cast->SetBackground(background);
    }
    delete _background;
    _background = background;
}

void MjGameScript::EndGame(bool newGame)
{
    DeleteRetiredDialogs();
    if (_gameCast == nullptr) {
        return;
    }
    Cast* current = CurrentCast(_framework);
    if (newGame && current != nullptr) {
        current->SetInputCatcher(nullptr);
    }
    if (!newGame) {
        _gameCast->SafeDelete(_menuDialog);
        _menuDialog = nullptr;
        _gameCast->SafeDelete(_promptDialog);
        _promptDialog = nullptr;
    }
    // The stage still paints the background until it is told to stop.
    if (_background != nullptr) {
        _gameCast->SetBackground(static_cast<Image*>(nullptr));
        delete _background;
        _background = nullptr;
    }
    if (_screen != nullptr) {
        _screen->ReleaseSprites();
    }
    delete _boardConfig;
    _boardConfig = nullptr;
    // A game left while its scene loads: the loader finishes its animation, which is then
    // cleaned up with the game rather than left for the next one.
    ReapSceneLoader(true);
    if (_animState.load() == kAnimLoaded) {
        CleanUpAnimation(1);
        _animState.store(kAnimNone);
    }
    if (_menuButton != nullptr) {
        _gameCast->SafeDelete(_menuButton);
        _menuButton = nullptr;
    }
    if (newGame && current != nullptr) {
        current->RemoveAll();
    }
    // A game left during its own fade-in: the fade must not tell the deleted screen.
    if (_screen != nullptr && _framework != nullptr && _framework->_animationManager != nullptr) {
        _framework->_animationManager->ForgetFadeListener(_screen);
    }
    delete _screen;
    _screen = nullptr;
}

void MjGameScript::DoScript()
{
    // Dialogs replaced during the last frame have finished their reports by now.
    DeleteRetiredDialogs();
    AppScript::DoScript();
    ReapSceneLoader(false);
}

void MjGameScript::ReapSceneLoader(bool wait)
{
    if (_sceneLoader == nullptr) {
        return;
    }
    if (wait) {
        while (_sceneLoader->IsRunning() || !_sceneLoader->IsFinished()) {
            SDL_Delay(kLoaderPollMs);
        }
    }
    // The worker clears its running flag a moment before it has ended: freed next frame then.
    if (_sceneLoader->IsRunning() || !_sceneLoader->IsFinished()) {
        return;
    }
    if (_sceneLoader->GetReturnValue() > 0) {
        _animState.store(kAnimLoaded);
    }
    if (Thread::DeleteIfFinished(_sceneLoader)) {
        _sceneLoader = nullptr;
    }
}

void MjGameScript::DoFrame()
{
    // The pause check belongs to the board screen, which a running game has.
    if (_noGame || _screen == nullptr) {
        return;
    }
    _screen->CheckAutoPause();
    _screen->TellSaveFailures();
}

void MjGameScript::KeyPressed(int key)
{
    if (_noGame || _screen == nullptr) {
        return;
    }
    _screen->KeyPressed(key);
}

int MjGameScript::LoadGameConfigs(bool onThread)
{
    ConfigFile* theme =
        Framework::GetApp() != nullptr ? Framework::GetApp()->GetThemeConfig() : nullptr;
    if (_menuDialogConfig == nullptr) {
        _menuDialogConfig = new ConfigFile("cfg/menudialog.cfg", theme, onThread, false, false);
    }
    if (_popupConfig == nullptr) {
        _popupConfig = new ConfigFile("cfg/popup.cfg", theme, onThread, false, false);
    }
    if (_radioConfig == nullptr) {
        _radioConfig = new ConfigFile("cfg/radio.cfg", theme, onThread, false, false);
    }
    if (!_gameConfigsLoaded.load()) {
        _gameConfigsLoaded.store(true);
        return 1;
    }
    return 0;
}

int MjGameScript::LoadSceneAnimation(bool onThread)
{
    const std::string name = _animName;
    BeginAnimation(name, onThread);
    _animState.store(kAnimLoaded);
    return 1;
}

void MjGameScript::WaitOnThreads()
{
    AppScript::WaitOnThreads();
    ReapSceneLoader(true);
}

void MjGameScript::ResumeBoard()
{
    if (_leaving || _screen == nullptr) {
        return;
    }
    _screen->ShowBoard(kResumeReason);
}

void MjGameScript::LeaveGame()
{
    _leaving = true;
    _noGame = true;
    if (_app != nullptr) {
        _app->_cheatMode = false;
    }
    if (_screen != nullptr) {
        _screen->LeaveGame();
    }
    ChangeState(AppScript::kLeaveGame, 1);
}

void MjGameScript::SetReplayMode(int movie)
{
    if (_screen == nullptr) {
        return;
    }
    _screen->_selectionKind = movie;
    _screen->ShowSelectionScreen(0);
}

void MjGameScript::Cue(CastMember* member, int cue, int)
{
    AppScript::Cue(member, cue, 0);
}

void MjGameScript::DeletedPlayer(const std::string& name)
{
    // Files are named from the lower-cased name; a name that must not reach a path deletes nothing.
    std::string stem;
    if (!ConfigFilePlayers::PlayerFileStem(name, &stem)) {
        return;
    }
    for (const char* suffix : kProgressSuffixes) {
        File::Delete((stem + suffix).c_str());
        // A write cut short (the game killed between writing and renaming) leaves its
        // temporary beside the file: it holds the player's progress too.
        File::Delete((stem + suffix + ".tmp").c_str());
    }
}

void MjGameScript::DialogDetached(CastMemberDialog*, int dialogId, bool)
{
    for (int id : kShellDialogsOverBoard) {
        if (id == dialogId) {
            ResumeBoard();
            return;
        }
    }
    // The board's own warning gives the board back even while the game is being left.
    if (dialogId == kScrambleWarningDialog && _screen != nullptr) {
        _screen->ShowBoard(kResumeReason);
    }
}
