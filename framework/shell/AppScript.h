#pragma once

#include "framework/core/Export.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/DialogListener.h"
#include "framework/stage/Script.h"

#include <atomic>
#include <string>
#include <vector>

class Cast;
class CastMemberButton;
class CastMemberDialogResizable;
class CastMemberImage;
class CastMemberText;
class ConfigFile;
class ConfigFileDeleteNameDialog;
class DeleteNameDialog;
class EnterNameDialog;
class HighDetailDialog;
class ConfigFileEnterNameDialog;
class ConfigFileHighDetailDialog;
class ConfigFileMenu;
class ConfigFileOptionsDialog;
class ConfigFilePlayAsDialog;
class ConfigFilePlayers;
class ConfigFileRulesDialog;
class ConfigFileSplash;
class Font;
class Framework;
class GameTime;
class LoadingThread;
class Music;
class OptionsDialog;
class PlayAsDialog;
class RulesDialog;
class Sound;
class Thread;

// The application's top-level state machine: start-up settings, splash, loading of the menu
// resources (on a loading thread when allowed), the main menu, the hand-over to the game's states
// (from Script::kFirstGameState on), the way back to the menu and the orderly quit. A subclass
// supplies the splash objects and leads states 2 to 5 to state 6.
//
// It makes the menu stage at construction and shows it; the frame loop's own stage waits as the
// game stage until state 11. Ownership: the descriptions, musics, sound, loaders and the dialogs
// in its slots are owned; the menu sprites belong to the menu stage; of the two stages the one
// the frame loop does not show is owned.
class FRAMEWORK_API AppScript : public Script,
                                public ButtonListener,
                                public CueListener,
                                public DialogListener
{
public:
    // The shell's states; the game's own begin at Script::kFirstGameState.
    static constexpr int kStartUp = 0;
    static constexpr int kSplash = 1;
    static constexpr int kSplashShown = 2; // the menu loader starts; the subclass takes over
    static constexpr int kSplashStep = 3;
    static constexpr int kSplashEnded = 4;
    static constexpr int kSplashSkipped = 5;
    static constexpr int kLeaveSplash = 6;
    static constexpr int kMenu = 7;
    static constexpr int kMenuLive = 8;
    static constexpr int kGameChosen = 9;
    static constexpr int kLeaveMenu = 10;
    static constexpr int kShowGameStage = 11;
    static constexpr int kGameStarts = 12;
    static constexpr int kLeaveGame = 13;
    static constexpr int kShowMenuStage = 14;
    static constexpr int kBackFromGame = 15;
    static constexpr int kQuit = 16;
    static constexpr int kQuitFade = 17;
    static constexpr int kQuitNow = 18;

    // Menu button ids: start buttons kFirstStartButton..kLastStartButton choose the game variant.
    static constexpr int kFirstStartButton = 1;
    static constexpr int kLastStartButton = 10;
    static constexpr int kQuitButton = 11;
    static constexpr int kOptionsButton = 12;
    static constexpr int kRulesButton = 13;
    static constexpr int kPlayerButton = 15;
    static constexpr int kUpdateButton = 16;

    // Ids of the shell's dialogs.
    static constexpr int kPlayAsDialog = 1;
    static constexpr int kEnterNameDialog = 2;
    static constexpr int kDeleteNameDialog = 3;
    static constexpr int kOptionsDialog = 4;
    static constexpr int kRulesDialog = 5;
    static constexpr int kHighDetailDialog = 6;
    static constexpr int kUpdateDialog = 60;
    static constexpr int kNewsDialog = 61;
    static constexpr int kFileNoticeDialog = 62;
    // The menu description's section of the file notice (its frame and controls).
    static constexpr const char* kFileNoticeSection = "filenotice";

    // framework and clock are not owned. Makes the menu stage and has the frame loop show it.
    AppScript(Framework* framework, GameTime* clock);
    ~AppScript() override;

    AppScript(const AppScript&) = delete;
    AppScript& operator=(const AppScript&) = delete;

    // The state table of the shell; states from kFirstGameState on do nothing here.
    void DoState(int state) override;
    // Script::DoScript, then logs and deletes the loaders that have stopped.
    void DoScript() override;
    // The menu and shell-dialog descriptions; on the menu loader's worker when onThread. Returns
    // 1, the loader's count of resources.
    int LoadMenuResources(bool onThread) override;

    // Waits (polling every 20 ms) until each loader, and the menu pictures' worker, has stopped,
    // then deletes it. Called by the framework at exit.
    virtual void WaitOnThreads();
    // Hooks for the subclass: when a game starts (state 12) and ends (state 15).
    virtual void InitGame();
    virtual void DestroyGame();
    virtual void SetFullScreen(bool full);
    // Hooks for the subclass: the splash is made in state 1 and removed when the menu or the
    // game comes (states 7 and 12).
    virtual void CreateSplashObjects();
    virtual void DeleteSplashObjects();
    // The menu's sprites on the menu stage: on the first visit, and again on the way back from
    // a game (they are released while the game stage shows).
    virtual void CreateMenuObjects();
    virtual void ShowURL(std::string url);
    virtual void ShowHighScoresDialog();
    virtual void ShowOptions();
    virtual void ShowReplayAnyBoard(bool any);
    virtual void ShowRules();
    // Called by the play-as dialog when it closes.
    virtual void PlayAsDialogClosed(bool ok, std::string name);
    // The stage the frame loop shows now.
    virtual Cast* GetCast();
    // The chosen start button's id, -1 when none.
    virtual int GetGameVariant();
    virtual void ShowUpdaterDialog(std::string text);

    // ButtonListener: the menu's buttons (each click plays "AU_DIALOG_SELECT" first).
    void ButtonClicked(int id, int button) override;
    // CueListener: the frame loop's fade ends advance the states.
    void Cue(CastMember* member, int cue, int value) override;
    // DialogListener: the shell's own notices.
    void DialogButtonClicked(int dialogId, int itemId, int how) override;

    // Read by tests and by the subclass.
    bool MenuResourcesLoaded() const { return _menuResourcesLoaded.load(); }
    LoadingThread* GetMenuLoader() const { return _menuLoader; }
    LoadingThread* GetGameLoader() const { return _gameLoader; }
    // Loads the menu's pictures while the game fades out; null when none runs.
    Thread* GetMenuPictureLoader() const { return _menuPictureLoader; }
    Cast* GetMenuCast() const { return _menuCast; }
    Cast* GetGameCast() const { return _gameCast; }
    ConfigFileSplash* GetSplashConfig() const { return _splashConfig; }
    ConfigFileMenu* GetMenuConfig() const { return _menuConfig; }
    ConfigFilePlayers* GetPlayers() const { return _players; }
    ConfigFilePlayAsDialog* GetPlayAsConfig() const { return _playAsConfig; }
    CastMemberText* GetPlayerLabel() const { return _playerLabel; }
    const std::vector<CastMemberButton*>& GetStartButtons() const { return _startButtons; }
    const std::vector<CastMemberImage*>& GetMenuAnimations() const { return _menuAnimations; }
    CastMemberButton* GetUpdateButton() const { return _updateButton; }
    RulesDialog* GetRulesDialog() const { return _rulesDialog; }
    CastMemberDialogResizable* GetUpdateDialog() const { return _updateDialog; }
    const std::string& GetPendingLink() const { return _pendingLink; }

    // The end of state 7: news in the answer opens its notice once; an update in the answer, or
    // one stored from an earlier run, shows the update button blinking.
    void ShowUpdateNotice(const std::string& answer);
    // The notice about the player's files, in the notice slot: one line per file that could not
    // be read or saved. Not shown when the menu description has no controls for it (it could not
    // be closed); logged then.
    void ShowFileNotice(const std::vector<std::string>& lines);

    // What the play-as and options dialogs use of the script: the menu's welcome prefix, the
    // music and sound they preview (null until the menu was shown, and in a game without one),
    // the child descriptions and the slots of the dialogs they open. A slot's dialog is owned by
    // the script; whoever puts a new one in deletes the old one first.
    const std::string& GetWelcomePrefix() const { return _welcomePrefix; }
    // The menu's greeting for a player: the welcome prefix and the name; for no player (an
    // empty name) the play-as description's sentence for nobody.
    std::string Greeting(const std::string& name) const;
    Music* GetMenuMusic() const { return _menuMusic; }
    Sound* GetMenuSound() const { return _menuSound; }
    ConfigFileEnterNameDialog* GetEnterNameConfig() const { return _enterNameConfig; }
    ConfigFileDeleteNameDialog* GetDeleteNameConfig() const { return _deleteNameConfig; }
    ConfigFileHighDetailDialog* GetHighDetailConfig() const { return _highDetailConfig; }
    EnterNameDialog* GetEnterNameDialog() const { return _enterNameDialog; }
    void SetEnterNameDialog(EnterNameDialog* dialog) { _enterNameDialog = dialog; }
    DeleteNameDialog* GetDeleteNameDialog() const { return _deleteNameDialog; }
    void SetDeleteNameDialog(DeleteNameDialog* dialog) { _deleteNameDialog = dialog; }
    HighDetailDialog* GetHighDetailDialog() const { return _highDetailDialog; }
    void SetHighDetailDialog(HighDetailDialog* dialog) { _highDetailDialog = dialog; }
    PlayAsDialog* GetPlayAsDialog() const { return _playAsDialog; }
    OptionsDialog* GetOptionsDialog() const { return _optionsDialog; }

protected:
    Framework* _framework = nullptr; // not owned
    // The stage the script builds on: the menu stage, or the game stage from state 11 to 14.
    Cast* _currentCast = nullptr;
    ConfigFileRulesDialog* _rulesConfig = nullptr; // owned; the game may replace it

private:
    static constexpr const char* kRulesDescription = "cfg/drules.cfg";

    void StartUpSettings();
    void EnterMenu();
    // While a game shows: the menu's sprites and background go, and the description's pictures
    // with them; the descriptions stay. EnterMenu builds them again.
    void ReleaseMenuObjects();
    // On the way back from a game, during the fade: the menu's pictures on a worker when loading
    // threads are allowed (EnterMenu loads them on this thread otherwise).
    void StartMenuPictureLoader();
    // The update checker's answer once it has stopped ("" while it runs or when there is none);
    // the checker is then deleted.
    std::string TakeUpdaterAnswer();
    // The fade time of the menu, or of the splash when the menu description was never made.
    int MenuFadeTime() const;
    int SplashFadeTime() const;
    bool NoMenu() const;
    // Logs a stopped loader's count and deletes it; a running one is left alone.
    void PollLoader(LoadingThread*& loader, const char* failedFormat, const char* loadedFormat);
    // Deletes the update notice and the two fonts its text was made with.
    void DeleteUpdateDialog();
    // Once per frame: on the live menu with no dialog up, the files that could not be read or
    // saved since the last look go into the file notice.
    void ShowFileNotices();
    // About kRestoreCheckMs after a link was opened: a window that is still active (no window
    // manager took it away) gets its clock and sound back.
    void CheckRestoreAfterLink();
    void SetupMenuButton(CastMemberButton* button, int shadowX, int shadowY, int alpha);

    std::atomic<bool> _menuResourcesLoaded{false}; // written by the menu loader's worker
    LoadingThread* _menuLoader = nullptr;          // owned
    LoadingThread* _gameLoader = nullptr;          // owned
    Thread* _menuPictureLoader = nullptr;          // owned
    unsigned int _pictureWaitStart = 0;            // when state 7 began to wait for it; 0: not
    bool _networkConnection = false;
    ConfigFileSplash* _splashConfig = nullptr; // owned; made in state 0
    ConfigFileMenu* _menuConfig = nullptr;     // owned; made by LoadMenuResources
    ConfigFilePlayers* _players = nullptr;     // owned; made in state 7
    Music* _splashMusic = nullptr;             // owned
    Music* _menuMusic = nullptr;               // owned
    Sound* _menuSound = nullptr;               // owned
    // Dialog descriptions, owned. Only the play-as one is made yet: the others come with the
    // dialogs that read them, each at its place in LoadMenuResources.
    ConfigFilePlayAsDialog* _playAsConfig = nullptr;
    ConfigFileOptionsDialog* _optionsConfig = nullptr;
    ConfigFileEnterNameDialog* _enterNameConfig = nullptr;
    ConfigFileDeleteNameDialog* _deleteNameConfig = nullptr;
    ConfigFileHighDetailDialog* _highDetailConfig = nullptr;
    bool _menuObjectsCreated = false;
    bool _backFromGame = false;
    // The menu's sprites belong to the menu stage.
    std::vector<CastMemberImage*> _menuAnimations;
    std::vector<CastMemberButton*> _startButtons;
    CastMemberButton* _rulesButton = nullptr;
    CastMemberButton* _optionsButton = nullptr;
    CastMemberButton* _quitButton = nullptr;
    CastMemberButton* _updateButton = nullptr;
    CastMemberButton* _playerButton = nullptr;
    CastMemberText* _playerLabel = nullptr;
    Cast* _gameCast = nullptr; // the frame loop's own stage
    Cast* _menuCast = nullptr; // "MenuCast"
    // Dialog slots, owned unless a stage holds the dialog. The dialogs come with their own work.
    PlayAsDialog* _playAsDialog = nullptr;
    RulesDialog* _rulesDialog = nullptr;
    OptionsDialog* _optionsDialog = nullptr;
    CastMemberDialogResizable* _updateDialog = nullptr;
    EnterNameDialog* _enterNameDialog = nullptr;
    DeleteNameDialog* _deleteNameDialog = nullptr;
    HighDetailDialog* _highDetailDialog = nullptr;
    Font* _updateFont = nullptr;         // owned; the notice's text
    Font* _updateHeaderFont = nullptr;   // owned; the notice's headings
    ConfigFile* _noticeConfig = nullptr; // owned; the menu description with the file notice's text
    static constexpr unsigned int kRestoreCheckMs = 500;
    bool _restoreCheckPending = false;
    unsigned int _restoreCheckAt = 0;
    std::string _welcomePrefix;
    std::string _pendingLink;
    int _gameVariant = -1;
};
