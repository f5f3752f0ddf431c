// AppScript: the rules book, the update, news and file notices and the web links they open.
#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/core/Point.h"
#include "framework/core/TickSource.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/media/Sound.h"
#include "framework/shell/AppScript.h"
#include "framework/shell/ConfigFileMenu.h"
#include "framework/shell/ConfigFileRulesDialog.h"
#include "framework/shell/RulesDialog.h"
#include "framework/shell/WebLink.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"

#include <string>
#include <vector>

namespace {

constexpr const char* kSelectSound = "AU_DIALOG_SELECT";
constexpr int kUpdateBlinks = 25;
constexpr int kShortestMessage = 5;
// Items of a notice that open its link: its Yes button and the clickable link below its text.
constexpr int kYesItem = 1;
constexpr int kLinkItem = 5;

// Field n (from 1) of a text of fields separated by '*': the characters between separator n - 1
// and separator n, up to the end of the text when separator n is missing; empty when separator
// n - 1 is missing.
std::string Field(const std::string& text, int n)
{
    std::string::size_type start = 0;
    for (int i = 1; i < n; ++i) {
        const std::string::size_type star = text.find('*', start);
        if (star == std::string::npos) {
            return std::string();
        }
        start = star + 1;
    }
    const std::string::size_type end = text.find('*', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void ShowDialog(CastMemberDialogImage* dialog)
{
    dialog->Show(0, 0, -1, -1, false, 200);
}

} // namespace

void AppScript::ShowRules()
{
    // A rules dialog still open goes off its stage as it is deleted.
    delete _rulesDialog;
    _rulesDialog = nullptr;
    if (_rulesConfig == nullptr && _menuResourcesLoaded.load() && !NoMenu()) {
        // Released while a game showed.
        _rulesConfig = new ConfigFileRulesDialog(kRulesDescription,
                                                 Framework::GetApp()->GetThemeConfig(), false);
    }
    if (_rulesConfig == nullptr) {
        DebugVar(0, "Rules description missing; no rules to show");
        return;
    }
    _rulesDialog = new RulesDialog(_rulesConfig, _currentCast, kRulesDialog, nullptr, nullptr);
    _rulesDialog->Init(_rulesConfig, "dialog");
    ShowDialog(_rulesDialog);
}

void AppScript::ShowURL(std::string url)
{
    const std::string link = WebLink::Openable(url);
    if (link.empty()) {
        DebugVar(0, "Link not opened (only http and https addresses open): %s", url.c_str());
        return;
    }
    _framework->OnMinimize();
    SDL_WM_IconifyWindow();
    if (!WebLink::Open(link)) {
        DebugVar(0, "Could not start xdg-open for %s", link.c_str());
    }
    // Without a window manager nothing iconifies the window and no restore event will come.
    _restoreCheckPending = true;
    _restoreCheckAt = TickSource::Now() + kRestoreCheckMs;
}

void AppScript::CheckRestoreAfterLink()
{
    if (!_restoreCheckPending) {
        return;
    }
    const int left = static_cast<int>(_restoreCheckAt - TickSource::Now());
    if (left > 0) {
        // Looked for once per frame: an idle frame loop must not sleep past it.
        if (AnimationManager* manager = _framework->_animationManager) {
            manager->StepDueIn(static_cast<unsigned int>(left));
        }
        return;
    }
    _restoreCheckPending = false;
    if ((SDL_GetAppState() & SDL_APPACTIVE) != 0) {
        _framework->OnRestore();
    }
}

void AppScript::ShowUpdaterDialog(std::string text)
{
    int dialogId = kNewsDialog;
    std::string message;
    if (text.find("ood*") != std::string::npos) {
        _pendingLink = Field(text, 2);
        message = Field(text, 3);
        if (message.size() < kShortestMessage && _menuConfig != nullptr) {
            message = _menuConfig->_newerVersion;
        }
        dialogId = kUpdateDialog;
    } else {
        message = Field(text, 2);
        _pendingLink = Field(text, 3);
    }
    if (_menuConfig == nullptr) {
        DebugVar(0, "Menu description missing; no notice shown");
        return;
    }
    _currentCast->ForceDialogsDispose();
    DeleteUpdateDialog();

    _updateDialog =
        new CastMemberDialogResizable(_menuConfig, _currentCast, dialogId, nullptr, this);
    _updateDialog->Init(_menuConfig, "updatedialog");
    _updateFont = _menuConfig->NewFont("update", "font", "fontsize", "fontstyle");
    _updateHeaderFont = _menuConfig->NewFont("update", "font", "headersize", "fontstyle");
    const Color colour = _menuConfig->ValueAsColor("update", "textcolor", Color(0, 0, 0, 255));
    const Point shadow = _menuConfig->ValueAsPoint("update", "textshadow", Point(0, 0));
    _updateDialog->SetHTMLText(message, "", colour, shadow, _updateFont, _updateHeaderFont);
    ShowDialog(_updateDialog);
}

void AppScript::DeleteUpdateDialog()
{
    // The sprite takes itself off its stage (and its list of removals) as it goes.
    delete _updateDialog;
    _updateDialog = nullptr;
    delete _updateFont;
    _updateFont = nullptr;
    delete _updateHeaderFont;
    _updateHeaderFont = nullptr;
    delete _noticeConfig;
    _noticeConfig = nullptr;
}

void AppScript::ShowFileNotices()
{
    // Never over another dialog: the play-as dialog may be the one whose save failed.
    if (GetState() != kMenuLive || _menuConfig == nullptr || _currentCast == nullptr ||
        _currentCast->GetDialog() != nullptr) {
        return;
    }
    const std::vector<std::string> lines = ConfigFile::TakeFileNotices(true);
    if (!lines.empty()) {
        ShowFileNotice(lines);
    }
}

void AppScript::ShowFileNotice(const std::vector<std::string>& lines)
{
    if (_menuConfig == nullptr ||
        static_cast<std::string>(_menuConfig->Value(kFileNoticeSection, "controls", "", true))
            .empty()) {
        DebugVar(-1, "Menu description has no file notice; not shown");
        return;
    }
    std::string text;
    for (const std::string& line : lines) {
        // "@" ends a line of a dialog's text.
        text += (text.empty() ? "" : "@") + line;
    }
    DeleteUpdateDialog();
    // The text goes into a copy of the menu description held in memory, so that the dialog
    // sizes itself around it as a popup does.
    _noticeConfig = _menuConfig->NewMemoryCopy();
    _noticeConfig->Write(kFileNoticeSection, "text", text);
    _updateDialog = new CastMemberDialogResizable(_noticeConfig, _currentCast, kFileNoticeDialog,
                                                  nullptr, this);
    _updateDialog->Init(_noticeConfig, kFileNoticeSection);
    ShowDialog(_updateDialog);
}

void AppScript::DialogButtonClicked(int dialogId, int itemId, int /*how*/)
{
    Sound::Play(kSelectSound, 0);
    const bool opens = itemId == kYesItem || itemId == kLinkItem;
    if (dialogId == kUpdateDialog) {
        if (opens) {
            ShowURL(_pendingLink);
        } else if (_updateButton != nullptr) {
            // Turned down: the update stays on offer in the menu.
            _updateButton->Show();
        }
    } else if (dialogId == kNewsDialog && opens) {
        ShowURL(_pendingLink);
    }
}

void AppScript::ShowUpdateNotice(const std::string& answer)
{
    const std::string stored = _menuConfig != nullptr ? _menuConfig->_promoLink : "";
    if (answer.find("promo*") != std::string::npos) {
        // Each news item is shown once.
        if (answer != stored) {
            if (_menuConfig != nullptr) {
                _menuConfig->SetPromo(answer);
            }
            ShowUpdaterDialog(answer);
        }
        return;
    }
    if (answer.find("ood*") != std::string::npos) {
        if (_menuConfig != nullptr) {
            _menuConfig->SetPromo(answer);
        }
    } else if (stored.find("ood*") == std::string::npos) {
        return;
    }
    if (_updateButton != nullptr) {
        _updateButton->Show();
        _updateButton->Blink(kUpdateBlinks);
    }
}
