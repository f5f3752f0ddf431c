#include "framework/shell/PlayAsDialog.h"

#include "SDL.h"
#include "framework/core/TickSource.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/ControlLabel.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Image.h"
#include "framework/media/Sound.h"
#include "framework/shell/AppScript.h"
#include "framework/shell/ConfigFileDeleteNameDialog.h"
#include "framework/shell/ConfigFileEnterNameDialog.h"
#include "framework/shell/ConfigFilePlayAsDialog.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/DeleteNameDialog.h"
#include "framework/shell/EnterNameDialog.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberText.h"

#include <algorithm>

namespace {

constexpr const char* kSelectSound = "AU_DIALOG_SELECT";
constexpr int kShowFadeMs = 200;

// Shows a child dialog over its opener, where the child's background control says.
void ShowNested(CastMemberDialogResizable* child)
{
    ControlBackground* background = child->GetBackgroundControl();
    const int x = background != nullptr ? background->GetPosition().GetX() : -1;
    const int y = background != nullptr ? background->GetPosition().GetY() : -1;
    child->Show(0, 0, x, y, true, kShowFadeMs);
}

} // namespace

PlayAsDialog::PlayAsDialog(ConfigFilePlayers* players, ConfigFilePlayAsDialog* description,
                           AppScript* script, Cast* cast, int id, DialogAttributes* attributes,
                           Framework* framework, DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, attributes, listener),
      _description(description), _script(script), _framework(framework), _players(players)
{
    SetName("PlayAsDialog");
    UseTransparentBackground();
    if (_description == nullptr) {
        return;
    }
    const ConfigFilePlayAsDialog& d = *_description;

    _title = std::make_unique<ControlLabel>();
    _title->Load(_description, "title");
    _title->AddTo(this);

    if (DialogItem* ok = AddButton(d._okButtonImage, d._okButtonPos.GetX(), d._okButtonPos.GetY(),
                                   kOkId, kOkId)) {
        SetEnterKeyItem(ok);
    }
    if (DialogItem* cancel = AddButton(d._cancelButtonImage, d._cancelButtonPos.GetX(),
                                       d._cancelButtonPos.GetY(), kCancelId, kCancelId)) {
        SetEscKeyItem(cancel);
    }
    _deleteItem = AddButton(d._deleteButtonImage, d._deleteButtonPos.GetX(),
                            d._deleteButtonPos.GetY(), kDeleteId, 0);
    if (_deleteItem != nullptr) {
        _deleteItem->SetInactive(true);
    }

    std::vector<std::string> lines{d._clickHereText};
    if (_players != nullptr) {
        const std::vector<std::string>& sorted = _players->GetSortedPlayers();
        lines.insert(lines.end(), sorted.begin(), sorted.end());
    }
    if (DialogItem* list =
            AddListBox(lines, 0, d._playerListPos.GetX(), d._playerListPos.GetY(),
                       d._playerListDim.GetW(), d._playerListDim.GetH(), kListId, d._playerListFont,
                       d._playerListTextColor, d._playerListBackColor, d._playerListHilightColor)) {
        list->SetTextProperties(list->GetText(), d._playerListFont, d._playerListTextColor, 1);
    }

    if (DialogItem* up = AddButton(d._upButtonImage, d._upButtonPos.GetX(), d._upButtonPos.GetY(),
                                   kUpArrowId, 0)) {
        SetUpArrowItem(up);
    }
    if (DialogItem* down = AddButton(d._downButtonImage, d._downButtonPos.GetX(),
                                     d._downButtonPos.GetY(), kDownArrowId, 0)) {
        SetDownArrowItem(down);
    }
    // The arrows are drawn whole, without a colour key.
    for (Image* arrow : {d._upButtonImage, d._downButtonImage}) {
        if (arrow != nullptr) {
            arrow->UseTransparency(false, false);
        }
    }
    // A list longer than its box can be scrolled from the start.
    CheckArrows();
}

PlayAsDialog::~PlayAsDialog() = default;

std::vector<std::string>& PlayAsDialog::Lines()
{
    return GetItemOwner()->GetListBoxEntries();
}

void PlayAsDialog::Animate(unsigned int now)
{
    CastMemberDialogResizable::Animate(now);
    Cast* stage = Stage();
    if (!_nameEntryOpened && !Fading() && Lines().size() == 1 && stage != nullptr &&
        stage->GetDialog() == this) {
        _nameEntryOpened = true;
        DialogButtonClicked(GetID(), kOkId, 1);
    }
}

bool PlayAsDialog::ValidateCloseDialog()
{
    DialogItem* list = GetListboxItem();
    if (list != nullptr && list->GetListBoxIndex() == 0) {
        DialogButtonClicked(GetID(), kOkId, 1);
        return false;
    }
    return true;
}

void PlayAsDialog::DialogItemSet(int dialogId, int itemId, int /*value*/, bool /*state*/)
{
    if (dialogId != GetID() || itemId != kListId) {
        return;
    }
    DialogItem* list = GetListboxItem();
    if (list == nullptr) {
        return;
    }
    const int line = list->GetListBoxIndex();
    if (line == 0) {
        if (_deleteItem != nullptr) {
            _deleteItem->SetInactive(true);
        }
        OpenNameEntry();
        return;
    }
    if (_deleteItem != nullptr) {
        _deleteItem->SetInactive(false);
    }
    // The engine-wide tick source; CastMember has a tick-hook type of the same name.
    const unsigned int now = ::TickSource::Now();
    if (line == _lastClickedLine && now < _lastClickTime + kDoubleClickMs) {
        KeyDown(SDLK_RETURN, KMOD_NONE, 13, true);
    } else {
        _lastClickedLine = line;
        _lastClickTime = now;
    }
}

void PlayAsDialog::DialogButtonClicked(int dialogId, int itemId, int how)
{
    Sound::Play(kSelectSound, 0);
    DialogItem* list = GetListboxItem();
    if (dialogId == GetID()) {
        switch (itemId) {
        case kDeleteId:
            if (list != nullptr && list->GetListBoxIndex() != 0) {
                OpenDeleteQuestion();
            }
            break;
        case kUpArrowId:
        case kDownArrowId:
            if (list != nullptr) {
                if (itemId == kUpArrowId) {
                    list->ListBoxScrollUp();
                } else {
                    list->ListBoxScrollDown();
                }
                CheckArrows();
                RepaintAll(nullptr);
            }
            break;
        case kOkId:
            if (list == nullptr || list->GetListBoxIndex() == 0) {
                DialogItemSet(GetID(), kListId, 0, false);
            } else if (_script != nullptr) {
                _script->PlayAsDialogClosed(true, list->GetListBoxSelectedText());
                const int variant = _script->GetGameVariant();
                if (variant != -1) {
                    _script->ButtonClicked(variant, how);
                }
            }
            break;
        default:
            break;
        }
    } else if (dialogId == EnterNameDialog::kDialogId) {
        if (itemId == kOkId) {
            NameEntered();
        } else if (itemId == kCancelId && _script != nullptr && _script->GetEnterNameDialog()) {
            _script->GetEnterNameDialog()->ResetName();
        }
    } else if (dialogId == DeleteNameDialog::kDialogId && itemId == kOkId) {
        DeleteConfirmed();
    }
}

void PlayAsDialog::OpenNameEntry()
{
    if (_script == nullptr) {
        return;
    }
    delete _script->GetEnterNameDialog();
    auto* entry = new EnterNameDialog(_script->GetEnterNameConfig(), Stage(),
                                      EnterNameDialog::kDialogId, "", Lines(), this);
    _script->SetEnterNameDialog(entry);
    entry->Init(_script->GetEnterNameConfig(), "dialog");
    ShowNested(entry);
}

void PlayAsDialog::OpenDeleteQuestion()
{
    DialogItem* list = GetListboxItem();
    if (_script == nullptr || list == nullptr) {
        return;
    }
    _deleteIndex = list->GetListBoxIndex();
    delete _script->GetDeleteNameDialog();
    auto* question =
        new DeleteNameDialog(_script->GetDeleteNameConfig(), Stage(), DeleteNameDialog::kDialogId,
                             nullptr, list->GetListBoxSelectedText(), this);
    _script->SetDeleteNameDialog(question);
    question->SetListener(this);
    question->Init(_script->GetDeleteNameConfig(), "dialog");
    ShowNested(question);
}

void PlayAsDialog::ScrollToEnd(DialogItem* list)
{
    const int lines = static_cast<int>(Lines().size());
    list->SetListBoxScrollPos(std::max(0, lines - list->GetListBoxNumLines()));
}

void PlayAsDialog::NameEntered()
{
    EnterNameDialog* entry = _script != nullptr ? _script->GetEnterNameDialog() : nullptr;
    DialogItem* list = GetListboxItem();
    if (entry == nullptr || list == nullptr || !entry->ValidateCloseDialog()) {
        return;
    }
    const std::string name = entry->GetTextInputString();
    Lines().push_back(name);
    list->SetListBoxIndex(static_cast<int>(Lines().size()) - 1);
    ScrollToEnd(list);
    if (_deleteItem != nullptr) {
        _deleteItem->SetInactive(false);
    }
    CheckArrows();
    RepaintAll(nullptr);
    if (_players != nullptr) {
        _players->AddPlayer(name);
    }
}

void PlayAsDialog::ResetPlayerLabel()
{
    if (CastMemberText* label = _script->GetPlayerLabel()) {
        label->SetText(_script->Greeting(""));
    }
}

void PlayAsDialog::DeleteConfirmed()
{
    DialogItem* list = GetListboxItem();
    std::vector<std::string>& lines = Lines();
    // Line 0 is never deleted; an index left over from a list that has shrunk is refused too.
    if (list == nullptr || _script == nullptr || _description == nullptr || _deleteIndex <= 0 ||
        _deleteIndex >= static_cast<int>(lines.size())) {
        return;
    }
    const std::string name = lines[_deleteIndex];
    lines.erase(lines.begin() + _deleteIndex);
    if (_deleteIndex >= static_cast<int>(lines.size())) {
        list->SetListBoxIndex(static_cast<int>(lines.size()) - 1);
    }
    ScrollToEnd(list);
    if (list->GetListBoxIndex() == 0) {
        ResetPlayerLabel();
        if (_deleteItem != nullptr) {
            _deleteItem->SetInactive(true);
        }
    }
    CheckArrows();
    RepaintAll(nullptr);
    _nameEntryOpened = true;

    if (_players != nullptr) {
        _players->DeletePlayer(name);
    }
    _script->DeletedPlayer(name);

    CastMemberText* label = _script->GetPlayerLabel();
    const std::string& prefix = _script->GetWelcomePrefix();
    if (label != nullptr) {
        const std::string text = label->GetText();
        if (!text.empty() && text.size() >= prefix.size() && text.substr(prefix.size()) == name) {
            ResetPlayerLabel();
        }
    }
}
