// AppScript: the main menu's resources, sprites and buttons, and the shell's dialogs.
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/media/Sound.h"
#include "framework/shell/AppScript.h"
#include "framework/shell/ConfigFileDeleteNameDialog.h"
#include "framework/shell/ConfigFileEnterNameDialog.h"
#include "framework/shell/ConfigFileHighDetailDialog.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFileOptionsDialog.h"
#include "framework/shell/ConfigFilePlayAsDialog.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/ConfigFileSplash.h"
#include "framework/shell/MenuAnimInfo.h"
#include "framework/shell/MenuButtonInfo.h"
#include "framework/shell/OptionsDialog.h"
#include "framework/shell/PlayAsDialog.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"

namespace {

const Color kShadowBlack(0, 0, 0, 255);
constexpr int kShadowAlpha = 64;
// Every shell dialog fades in over this long.
constexpr int kShowFadeMs = 200;
constexpr const char* kSelectSound = "AU_DIALOG_SELECT";

} // namespace

int AppScript::LoadMenuResources(bool onThread)
{
    if (NoMenu()) {
        _menuResourcesLoaded = true;
        return 1;
    }
    ConfigFile* theme = Framework::GetApp()->GetThemeConfig();
    _menuConfig = new ConfigFileMenu("cfg/menu.cfg", theme, onThread);
    _enterNameConfig = new ConfigFileEnterNameDialog("cfg/dentername.cfg", theme, onThread);
    _deleteNameConfig = new ConfigFileDeleteNameDialog("cfg/ddelname.cfg", theme, onThread);
    _rulesConfig = new ConfigFileRulesDialog(kRulesDescription, theme, onThread);
    _optionsConfig = new ConfigFileOptionsDialog("cfg/doptions.cfg", theme, onThread);
    _playAsConfig = new ConfigFilePlayAsDialog("cfg/dplayas.cfg", theme, onThread);
    _welcomePrefix = _playAsConfig->_welcomeText + " ";
    _highDetailConfig = new ConfigFileHighDetailDialog("cfg/dhighdetail.cfg", theme, onThread);
    _menuResourcesLoaded = true;
    return 1;
}

void AppScript::SetupMenuButton(CastMemberButton* button, int shadowX, int shadowY, int alpha)
{
    button->SetDropShadow(shadowX, shadowY, kShadowBlack, kShadowAlpha);
    button->SetButtonListener(this);
    button->SetAlpha(alpha);
    button->UseTransparency(true);
}

namespace {

// A record without a picture still gets its sprite, of size 0; it must not take clicks.
void RefuseInputWithoutImage(CastMemberImage* sprite)
{
    if (sprite->GetImage() == nullptr) {
        sprite->AllowInput(false);
    }
}

} // namespace

void AppScript::CreateMenuObjects()
{
    if (_quitButton != nullptr) {
        return;
    }
    auto makeButton = [this](MenuButtonInfo* info, int id) {
        auto* button = new CastMemberButton(_currentCast, info->_image, id, info->_pos.GetX(),
                                            info->_pos.GetY(), info->_pri);
        SetupMenuButton(button, info->_shadow.GetX(), info->_shadow.GetY(), info->_alpha);
        RefuseInputWithoutImage(button);
        return button;
    };

    int id = kFirstStartButton;
    for (MenuButtonInfo* info : _menuConfig->_startButtons) {
        _startButtons.push_back(makeButton(info, id++));
    }
    _rulesButton = makeButton(_menuConfig->_rulesButton, kRulesButton);
    _optionsButton = makeButton(_menuConfig->_optionsButton, kOptionsButton);
    _quitButton = makeButton(_menuConfig->_quitButton, kQuitButton);

    MenuButtonInfo* update = _menuConfig->_updateButton;
    _updateButton = new CastMemberButton(_currentCast, update->_image, kUpdateButton,
                                         update->_pos.GetX(), update->_pos.GetY(), update->_pri);
    _updateButton->SetDropShadow(update->_shadow.GetX(), update->_shadow.GetY(), kShadowBlack,
                                 kShadowAlpha);
    _updateButton->SetButtonListener(this);
    _updateButton->UseTransparency(true);
    _updateButton->SetName("update button");
    _updateButton->SetAlpha(update->_alpha);
    RefuseInputWithoutImage(_updateButton);
    // Shown only when an update is on offer.
    _updateButton->Hide();

    _playerButton = makeButton(_menuConfig->_playerButton, kPlayerButton);

    // A current player that the list does not know is forgotten, on disk too.
    try {
        _players->Value("players", _players->_curPlayer, "0", false);
    } catch (const char*) {
        _players->_curPlayer.clear();
        _players->DeleteKey("info", "curplayer");
        _players->Flush();
    }

    _playerLabel = new CastMemberText(_currentCast, Greeting(_players->_curPlayer),
                                      _menuConfig->_welcomeFont, _menuConfig->_welcomeColor,
                                      _menuConfig->_welcomeColor, _menuConfig->_welcomeShadowColor,
                                      _menuConfig->_welcomeWidth, _menuConfig->_welcomePos.GetX(),
                                      _menuConfig->_welcomePos.GetY(), _menuConfig->_welcomePri);
    _playerLabel->Justify(_menuConfig->_welcomeJustify);
    _playerLabel->SetDropShadow(_menuConfig->_welcomeShadow.GetX(),
                                _menuConfig->_welcomeShadow.GetY(), kShadowBlack, kShadowAlpha);

    for (MenuAnimInfo* info : _menuConfig->_animations) {
        auto* sprite = new CastMemberImage(_currentCast, info->_image, info->_pos.GetX(),
                                           info->_pos.GetY(), info->_pri, 0);
        sprite->SetDropShadow(info->_shadow.GetX(), info->_shadow.GetY(), kShadowBlack,
                              kShadowAlpha);
        if (info->_transparency) {
            sprite->UseTransparency(true);
        }
        sprite->Loop(info->_speed, info->_loops > 0 ? info->_loops : -1, info->_beginDelay,
                     info->_loopDelay);
        RefuseInputWithoutImage(sprite);
        _menuAnimations.push_back(sprite);
    }
    _menuObjectsCreated = true;
}

void AppScript::ButtonClicked(int id, int button)
{
    Sound::Play(kSelectSound, 0);
    if (id >= kFirstStartButton && id <= kLastStartButton) {
        _gameVariant = id;
        const std::string text = _playerLabel != nullptr ? _playerLabel->GetText() : "";
        if (text.empty() || text == _welcomePrefix || text == Greeting("")) {
            // No player yet: the play-as dialog starts this variant once one is chosen.
            ButtonClicked(kPlayerButton, button);
            return;
        }
        const std::string name = text.substr(_welcomePrefix.size());
        // The game names the player's files after this: a name that can't be a file name
        // (a path, a control character) never reaches one.
        std::string stem;
        if (!ConfigFilePlayers::PlayerFileStem(name, &stem)) {
            DebugVar(1, "Player name unusable as a file name; choose another player");
            ButtonClicked(kPlayerButton, button);
            return;
        }
        _framework->_playerName = name;
        _framework->_playerFileName = stem + ".plr";
        ChangeState(kGameChosen);
        return;
    }
    switch (id) {
    case kQuitButton:
        ChangeState(kQuit);
        break;
    case kOptionsButton:
        ShowOptions();
        break;
    case kRulesButton:
        ShowRules();
        break;
    case kPlayerButton:
        delete _playAsDialog;
        _playAsDialog = new PlayAsDialog(_players, _playAsConfig, this, _currentCast, kPlayAsDialog,
                                         nullptr, _framework, nullptr);
        _playAsDialog->Init(_playAsConfig, "dialog");
        _playAsDialog->Show(0, 0, -1, -1, false, kShowFadeMs);
        break;
    case kUpdateButton:
        ShowUpdaterDialog(_menuConfig != nullptr ? _menuConfig->_promoLink : "");
        break;
    default:
        break;
    }
}

std::string AppScript::Greeting(const std::string& name) const
{
    if (!name.empty() || _playAsConfig == nullptr) {
        return _welcomePrefix + name;
    }
    return _playAsConfig->_noPlayerText;
}

void AppScript::PlayAsDialogClosed(bool ok, std::string name)
{
    if (!ok) {
        return;
    }
    if (_playerLabel != nullptr) {
        _playerLabel->SetText(Greeting(name));
    }
    if (_players != nullptr) {
        _players->_curPlayer = name;
        _players->Write("info", "curplayer", name);
        _players->Flush();
    }
}

// Operations that come with the dialogs they open; until then they log and do nothing.

void AppScript::ShowHighScoresDialog() {}

void AppScript::ShowOptions()
{
    delete _optionsDialog;
    _optionsDialog =
        new OptionsDialog(_framework, this, _framework->_gameConfig, _optionsConfig,
                          _highDetailConfig, _currentCast, kOptionsDialog, nullptr, nullptr);
    _optionsDialog->Init(_optionsConfig, "dialog");
    _optionsDialog->Show(0, 0, -1, -1, false, kShowFadeMs);
}

void AppScript::ShowReplayAnyBoard(bool /*any*/) {}
