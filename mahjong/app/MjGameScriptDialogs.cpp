#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/MenuDialog.h"
#include "framework/stage/Cast.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/screen/MjClassic.h"

namespace {

const char* const kNoControls = "missing";

} // namespace

void MjGameScript::ShowPopup(const std::string& section, int id, int mode, int x, int y,
                             const std::string& text)
{
    if (_popupConfig == nullptr) {
        DebugVar(-1, "No popup file: popup %s not shown", section.c_str());
        return;
    }
    const std::string controls =
        static_cast<std::string>(_popupConfig->Value(section, "controls", kNoControls, true));
    if (controls == kNoControls) {
        return;
    }
    RetireDialog(_promptDialog);
    ConfigFile* description = _popupConfig;
    if (!text.empty()) {
        // A copy of the popup file held in memory, so that the dialog sizes itself around the
        // text; it goes with the dialog it replaces.
        if (_popupText != nullptr) {
            _retiredConfigs.push_back(_popupText);
        }
        _popupText = _popupConfig->NewMemoryCopy();
        _popupText->Write(section, "text", text);
        description = _popupText;
    }
    auto* popup = new CastMemberDialogResizable(description, DialogCast(), id, nullptr, this);
    _promptDialog = popup;
    popup->Init(description, section);
    if (mode != 0) {
        popup->DisposeOnMouseDownOutside();
    }
    if (mode == 2) {
        popup->SetFadeInTime(0);
    }
    popup->Show(0, 0, -1, -1, false, 0);
    if (x != -1) {
        popup->Move(x, y, true);
    }
    if (_screen != nullptr) {
        _screen->HideButtons();
    }
}

void MjGameScript::ShowRadioDialog(const std::string& section, int id, int x, int y)
{
    RetireDialog(_menuDialog);
    _menuDialog = nullptr;
    if (_screen != nullptr) {
        _screen->HideButtons();
    }
    if (_radioConfig == nullptr) {
        DebugVar(-1, "No radio file: dialog %s not shown", section.c_str());
        return;
    }
    auto* menu = new MenuDialog(_radioConfig, DialogCast(), id, this);
    _menuDialog = menu;
    menu->Init(_radioConfig, section);
    menu->Show(0, 0, -1, -1, false, 0);
    if (x != -1) {
        menu->Move(x, y, true);
    }
}

Cast* MjGameScript::DialogCast() const
{
    return _framework != nullptr && _framework->_animationManager != nullptr
               ? _framework->_animationManager->GetCast()
               : nullptr;
}

void MjGameScript::RetireDialog(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    if (dialog == _promptDialog) {
        _promptDialog = nullptr;
    }
    if (dialog == _menuDialog) {
        _menuDialog = nullptr;
    }
    // Nothing it reports from now on reaches the script.
    dialog->SetListener(nullptr);
    Cast* stage = dialog->GetCast();
    if (stage != nullptr) {
        stage->DetachDialog(dialog);
    }
    if (dialog->GetCast() != nullptr) {
        dialog->Hide();
        dialog->SetCast(nullptr);
    }
    _retiredDialogs.push_back(dialog);
}

void MjGameScript::DeleteRetiredDialogs()
{
    std::vector<CastMemberDialog*> retired;
    retired.swap(_retiredDialogs);
    for (CastMemberDialog* dialog : retired) {
        Cast* stage = dialog->GetCast();
        if (stage != nullptr) {
            stage->SafeDelete(dialog);
        } else {
            delete dialog;
        }
    }
    // The configurations outlive the dialogs made on them.
    for (ConfigFile* config : _retiredConfigs) {
        delete config;
    }
    _retiredConfigs.clear();
}
