#pragma once

#include "framework/shell/AnimatedAppScript.h"
#include "framework/stage/DialogAttachListener.h"

#include <atomic>
#include <string>
#include <vector>

class CastMemberButton;
class CastMemberDialog;
class CastMemberDialogResizable;
class ConfigFile;
class Framework;
class GameTime;
class Image;
class LoadingThread;
class Mahjong;
class MjClassic;
class MjClassicConfig;

// The game's script: the shell's states, plus the start and end of a game and the hand-over of
// the scene animation loaded between boards.
class MjGameScript : public AnimatedAppScript, public DialogAttachListener
{
public:
    // Game states, after the shell's.
    static constexpr int kStartGame = Script::kFirstGameState;
    static constexpr int kRetryMs = 100;
    // The in-game menu button.
    static constexpr int kMenuButtonId = 99;
    static constexpr int kMenuButtonPriority = 999999;
    static constexpr int kMenuButtonLooks = 4;
    // Scene animation states: none, loading, loaded.
    static constexpr int kAnimNone = 0;
    static constexpr int kAnimLoading = 1;
    static constexpr int kAnimLoaded = 2;
    // Further shell dialogs over a running board that give it back when they close (beside the
    // options and rules dialogs).
    static constexpr int kResumingShellDialog1 = 7;
    static constexpr int kResumingShellDialog2 = 8;
    // The board screen's warning popup, closed over a running board.
    static constexpr int kScrambleWarningDialog = 112;
    // The shell's animation states as the game uses them: a skipped sequence, and its end.
    static constexpr int kSequenceSkipped = AppScript::kSplashSkipped;
    static constexpr int kSequenceEnded = AppScript::kSplashEnded;
    // The quest's cut-scene: a fade step of the scene, the hand-over to a pending animation, its
    // start once loaded, and the animation states of the shell (a shown frame, the end).
    static constexpr int kFadeStepState = Script::kFirstGameState + 2;
    static constexpr int kPendingAnimationState = Script::kFirstGameState + 3;
    static constexpr int kPlayAnimationState = Script::kFirstGameState + 5;
    static constexpr int kAnimationFrameState = AppScript::kSplashStep;
    static constexpr int kAnimationEndedState = AppScript::kSplashEnded;
    static constexpr int kAnimationStartMs = 100;
    static constexpr int kPendingAnimationMs = 500;
    static constexpr int kFadeStepArgument = 100;
    static constexpr int kLoaderPollMs = 20;
    // After the last board of the quest's set.
    static constexpr const char* kClosingAnimation = "quest/zorvy12b.cfg";
    static constexpr int kFadeInMs = 2000;
    // Dialogs the board screen opens through the script: the popups of a running board (such as
    // a special tile's name) and the choice offered when no match is left.
    static constexpr int kTileNameDialog = 114;
    static constexpr int kNoMovesDialog = 120;
    // What the board screen is told when a closed dialog gives the board back (not read).
    static constexpr int kResumeReason = 0;
    // The in-game menu and the prompts behind it.
    static constexpr int kMenuDialogId = 100;
    static constexpr int kMainMenuPrompt = 105;
    static constexpr int kQuitPrompt = 106;
    static constexpr int kReplayPrompt = 107;
    static constexpr int kMoviePrompt = 108;
    // The board screen's confirmations of the same choices outside the quest.
    static constexpr int kMainMenuConfirmation = 116;
    static constexpr int kQuitConfirmation = 117;
    static constexpr int kChooseBoardConfirmation = 118;
    // Items of the in-game menu.
    static constexpr int kMenuMainMenu = 1;
    static constexpr int kMenuOptions = 2;
    static constexpr int kMenuRules = 3;
    static constexpr int kMenuNothing = 4;
    static constexpr int kMenuReplay = 5;
    static constexpr int kMenuMovie = 6;
    static constexpr int kMenuResume = 7;
    static constexpr int kMenuQuit = 8;
    // A prompt's yes; a radio dialog's confirming item, which stands for the chosen setting.
    static constexpr int kYesItem = 1;
    static constexpr int kRadioConfirmItem = 107;
    static constexpr int kRadioGroup = 2;
    // The board screen's reason when the in-game menu hides it (not read).
    static constexpr int kMenuHideReason = 1;

    MjGameScript(Framework* app, GameTime* clock);
    ~MjGameScript() override;

    void DoState(int state) override;
    void DoScript() override;
    void DeletedPlayer(const std::string& name) override;
    void WaitOnThreads() override;
    void Cue(CastMember* member, int cue, int value) override;
    void DialogDetached(CastMemberDialog* dialog, int dialogId, bool nested) override;
    using DialogListener::DialogDetached;
    // The in-game menu button, after the shell's buttons.
    void ButtonClicked(int id, int button) override;
    // Every dialog of a running game: the menu and its prompts here, the rest to the board screen.
    void DialogButtonClicked(int dialogId, int itemId, int third) override;
    // The rules of the variant being played (the main menu's outside a game).
    void ShowRules() override;
    void ShowMenuDialog();
    void MenuChoice(int item);
    // Asks before leaving, quitting, replaying or watching, or goes straight on when nothing is
    // at stake.
    void ShowPrompt(int id);

    // After every frame: the board screen's pause check and its report of failed saves while a
    // game runs.
    void DoFrame();
    void KeyPressed(int key);
    int LoadGameConfigs(bool onThread);
    int LoadSceneAnimation(bool onThread);
    void StartGame(const std::string& boardConfigFile);
    void EndGame(bool newGame);
    void ResumeBoard();
    void LeaveGame();
    // The board (0) or movie (1) choice; virtual so that a test can see it asked for.
    virtual void SetReplayMode(int movie);
    // The game's background from now on: the stage shows it, then the previous one is deleted.
    void ReplaceBackground(Image* background);

    // A popup described by a section of the popup file, replacing the open one: mode 0 plain,
    // 1 a press outside counts as Escape, 2 that and no fade-in. x = -1 centres it, else it
    // goes to (x, y). A section without controls opens nothing. A text given replaces the
    // section's own.
    void ShowPopup(const std::string& section, int id, int mode, int x, int y,
                   const std::string& text = std::string());
    // A menu of radio buttons described by a section of the radio file, replacing the open menu;
    // x = -1 centres it.
    void ShowRadioDialog(const std::string& section, int id, int x, int y);

    // The look file of a variant, or null for one that starts no game.
    static const char* BoardConfigFile(int variant);

    bool NoGame() const { return _noGame; }
    bool Leaving() const { return _leaving; }
    // The quest's closing animation has been played: the next board leaves the game.
    bool ClosingPlayed() const { return _closingPlayed; }
    void SetClosingPlayed(bool played) { _closingPlayed = played; }
    MjClassicConfig* GetBoardConfig() const { return _boardConfig; }
    CastMemberButton* GetMenuButton() const { return _menuButton; }
    MjClassic* GetScreen() const { return _screen; }
    Image* GetBackground() const { return _background; }
    ConfigFile* GetMenuDialogConfig() const { return _menuDialogConfig; }
    ConfigFile* GetPopupConfig() const { return _popupConfig; }
    ConfigFile* GetRadioConfig() const { return _radioConfig; }
    // The open popup or prompt, and the open in-game menu or radio dialog.
    CastMemberDialogResizable* GetPromptDialog() const { return _promptDialog; }
    CastMemberDialog* GetMenuDialog() const { return _menuDialog; }
    int GetAnimState() const { return _animState.load(); }
    void SetAnimState(int state) { _animState.store(state); }
    void SetAnimName(const std::string& name) { _animName = name; }
    // Owned from here on; polled every frame.
    void SetSceneLoader(LoadingThread* loader) { _sceneLoader = loader; }
    LoadingThread* GetSceneLoader() const { return _sceneLoader; }
    // Frees a stopped scene loader, marking its animation loaded when it loaded one; a loader
    // still running is waited for when wait is set. Polled every frame.
    void ReapSceneLoader(bool wait);

private:
    void StartGameState();
    // The look file, or the puzzle set it names, when either holds nothing a game can be built
    // from (missing, empty, unreadable or not a configuration file); empty when both do.
    static std::string UnusableGameFile(const std::string& boardConfigFile);
    // The quest's cut-scene states.
    void FadeStepState();
    void PendingAnimationState();
    void PlayAnimationState();
    void AnimationFrameState();
    void AnimationEndedState();
    // A replaced dialog may be the one whose button report is running: it leaves the stage now
    // and is deleted at the next frame.
    void RetireDialog(CastMemberDialog* dialog);
    void DeleteRetiredDialogs();
    // The stage the script's dialogs go on.
    Cast* DialogCast() const;

    LoadingThread* _sceneLoader = nullptr; // owned
    bool _noGame = true;
    bool _leaving = false;
    bool _closingPlayed = false;
    Mahjong* _app;
    Image* _background = nullptr;            // owned
    MjClassic* _screen = nullptr;            // owned; made with the board screen
    MjClassicConfig* _boardConfig = nullptr; // owned
    CastMemberButton* _menuButton = nullptr; // deleted through the game stage
    ConfigFile* _menuDialogConfig = nullptr; // owned; deleted in ~MjGameScript
    CastMemberDialog* _menuDialog = nullptr; // deleted through the game stage
    std::string _animName;
    // Handed over between the scene loader and the main thread.
    std::atomic<int> _animState{kAnimNone};
    std::atomic<bool> _gameConfigsLoaded{false};
    bool _clearSceneOnFirstFrame = false;
    Cast* _gameCast = nullptr;
    ConfigFile* _popupConfig = nullptr;                 // owned; deleted in ~MjGameScript
    ConfigFile* _radioConfig = nullptr;                 // owned; deleted in ~MjGameScript
    CastMemberDialogResizable* _promptDialog = nullptr; // deleted through the game stage
    std::vector<CastMemberDialog*> _retiredDialogs;     // owned; off the stage
    // Popup files replaced while a dialog made on them may still be reporting; owned.
    std::vector<ConfigFile*> _retiredConfigs;
    // Owned; the popup file with the given text of the last popup that had one.
    ConfigFile* _popupText = nullptr;
};
