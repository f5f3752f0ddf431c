// MjGameScript: the in-game menu, the prompts behind it, the routing of a running game's dialog
// buttons and the rules of the variant.

#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/MenuDialog.h"
#include "framework/stage/Cast.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/screen/MjClassic.h"

namespace {

ConfigFile* ThemeConfig()
{
    return Framework::GetApp() != nullptr ? Framework::GetApp()->GetThemeConfig() : nullptr;
}

const char* RulesFile(int variant)
{
    switch (variant) {
    case 1:
        return "cfg/drulespuzzle.cfg";
    case 2:
        return "cfg/drulesclassic.cfg";
    case 3:
        return "cfg/druleszorvy.cfg";
    default:
        return "cfg/drules.cfg";
    }
}

// The popup section of a prompt, by what leaving would cost.
struct PromptSections
{
    int id;
    const char* atStake;   // a life is in play
    const char* noLives;   // quest, nothing in play, no lives left
    const char* withLives; // quest, nothing in play, lives left
    const char* confirmation;
    int confirmationId;
};

constexpr PromptSections kPrompts[] = {
    {MjGameScript::kMainMenuPrompt, "mainmenuprompt", "mainmenudeath", "mainmenuwarning",
     "nzmenuconfirmation", MjGameScript::kMainMenuConfirmation},
    {MjGameScript::kQuitPrompt, "quitprompt", "quitdeath", "quitwarning", "nzquitconfirmation",
     MjGameScript::kQuitConfirmation},
    {MjGameScript::kReplayPrompt, nullptr, "replayboard", "replayboard",
     "nzchooseboardconfirmation", MjGameScript::kChooseBoardConfirmation},
    {MjGameScript::kMoviePrompt, nullptr, "movieboard", "movieboard", nullptr, 0},
};

} // namespace

void MjGameScript::ButtonClicked(int id, int button)
{
    AppScript::ButtonClicked(id, button);
    if (id != kMenuButtonId || _screen == nullptr || _screen->_inPlay == 0) {
        return;
    }
    _screen->PlayCue("CFG_MENUSELECTIONS", 0);
    ShowMenuDialog();
    _screen->HideBoard(kMenuHideReason);
}

void MjGameScript::ShowMenuDialog()
{
    if (_menuDialogConfig == nullptr) {
        _menuDialogConfig =
            new ConfigFile("cfg/menudialog.cfg", ThemeConfig(), false, false, false);
    }
    RetireDialog(_menuDialog);
    const bool quest = _screen != nullptr && _screen->_quest;
    auto* menu = new MenuDialog(_menuDialogConfig, DialogCast(), kMenuDialogId, this);
    _menuDialog = menu;
    menu->Init(_menuDialogConfig, quest ? "zorvymenudialog" : "puzzlemenudialog");
    // The section places the menu's lower edge; without a background it is centred.
    int x = -1;
    int y = -1;
    if (ControlBackground* background = menu->GetBackgroundControl()) {
        const Point& at = background->GetPosition();
        x = at.GetX();
        y = at.GetY() - menu->GetH();
    }
    menu->Show(0, 0, x, y, false, 0);
    menu->DisposeOnMouseDownOutside();
    DialogItem* resume = menu->GetItemByID(kMenuResume);
    menu->SetEscKeyItem(resume);
    menu->SetEnterKeyItem(resume);
    if (quest &&
        (_screen->_highestGameReached < 0 || (_screen->_lives == 0 && _screen->_extraLives == 0))) {
        for (int item : {kMenuReplay, kMenuMovie}) {
            if (DialogItem* entry = menu->GetItemByID(item)) {
                entry->SetInactive(true);
            }
        }
    }
}

void MjGameScript::MenuChoice(int item)
{
    Cast* cast = DialogCast();
    switch (item) {
    case kMenuMainMenu:
        ShowPrompt(kMainMenuPrompt);
        return;
    case kMenuOptions:
        if (cast != nullptr) {
            cast->ForceDialogsDispose();
        }
        ShowOptions();
        return;
    case kMenuRules:
        if (cast != nullptr) {
            cast->ForceDialogsDispose();
        }
        ShowRules();
        return;
    case kMenuReplay:
        ShowPrompt(kReplayPrompt);
        return;
    case kMenuMovie:
        ShowPrompt(kMoviePrompt);
        return;
    case kMenuResume:
        ResumeBoard();
        return;
    case kMenuQuit:
        ShowPrompt(kQuitPrompt);
        return;
    default:
        return;
    }
}

void MjGameScript::ShowPrompt(int id)
{
    if (Cast* cast = DialogCast()) {
        cast->ForceDialogsDispose();
    }
    if (_popupConfig != nullptr) {
        // Every prompt reads the file as it is now. The open prompt may be the one reporting:
        // it and its file go at the next frame.
        RetireDialog(_promptDialog);
        _retiredConfigs.push_back(_popupConfig);
        _popupConfig = new ConfigFile("cfg/popup.cfg", ThemeConfig(), false, false, false);
    }
    const bool quest = _screen != nullptr && _screen->_quest;
    const int extraLives = _screen != nullptr ? _screen->_extraLives : 0;
    const int lives = _screen != nullptr ? _screen->_lives : 0;
    if (!quest || extraLives != 0) {
        if (id == kMoviePrompt) {
            SetReplayMode(1);
            return;
        }
        if (extraLives != 0 && id == kReplayPrompt) {
            SetReplayMode(0);
            return;
        }
    }
    const PromptSections* prompt = nullptr;
    for (const PromptSections& entry : kPrompts) {
        if (entry.id == id) {
            prompt = &entry;
        }
    }
    if (prompt == nullptr) {
        DebugVar(-1, "No prompt %d", id);
        return;
    }
    if (!quest && extraLives == 0) {
        ShowPopup(prompt->confirmation, prompt->confirmationId, 0, -1, -1);
        return;
    }
    const char* section = extraLives != 0 ? prompt->atStake
                          : lives == 0    ? prompt->noLives
                                          : prompt->withLives;
    if (_popupConfig == nullptr) {
        DebugVar(-1, "No popup file: prompt %s not shown", section);
        return;
    }
    RetireDialog(_promptDialog);
    auto* dialog = new CastMemberDialogResizable(_popupConfig, DialogCast(), id, nullptr, this);
    _promptDialog = dialog;
    dialog->Init(_popupConfig, section);
    dialog->Show(0, 0, -1, -1, false, 0);
}

void MjGameScript::DialogButtonClicked(int dialogId, int itemId, int third)
{
    AppScript::DialogButtonClicked(dialogId, itemId, third);
    if (_screen != nullptr) {
        _screen->PlayCue("CFG_MENUSELECTIONS", 0);
    }
    switch (dialogId) {
    case kMenuDialogId:
        MenuChoice(itemId);
        return;
    case kMainMenuPrompt:
        itemId == kYesItem ? LeaveGame() : ResumeBoard();
        return;
    case kQuitPrompt:
        if (itemId == kYesItem) {
            ChangeState(AppScript::kQuit, 1);
        } else {
            ResumeBoard();
        }
        return;
    case kReplayPrompt:
        itemId == kYesItem ? SetReplayMode(0) : ResumeBoard();
        return;
    case kMoviePrompt:
        itemId == kYesItem ? SetReplayMode(1) : ResumeBoard();
        return;
    default:
        break;
    }
    // The radio dialog's confirming button stands for its setting, read before anything the
    // board screen does may replace the dialog.
    if (itemId == kRadioConfirmItem && _menuDialog != nullptr) {
        itemId = _menuDialog->GetRadioSetting(kRadioGroup);
    }
    if (_screen != nullptr) {
        _screen->DialogButtonClicked(dialogId, itemId, third);
    }
}

void MjGameScript::ShowRules()
{
    // The open rules dialog reads the old description until the shell replaces it.
    ConfigFileRulesDialog* previous = _rulesConfig;
    _rulesConfig = new ConfigFileRulesDialog(RulesFile(GetGameVariant()), ThemeConfig(), false);
    AppScript::ShowRules();
    delete previous;
}
