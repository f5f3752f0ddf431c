// CastMemberDialog: mouse and keys, closing it by a button, Enter or Escape, and its reports.
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/stage/Cast.h"

#include <algorithm>

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 276;

// How far a press outside a modal dialog dims it.
constexpr int kFlashDepth = 64;
constexpr int kStateWait = 1;
constexpr int kStateFlashDown = 11;

bool IsButtonLike(const DialogItem* item)
{
    const int type = item->GetType();
    return type == DialogItem::kButton || type == DialogItem::kCustomButton ||
           type == DialogItem::kClickableText;
}

bool ClosesByKey(const DialogItem* item)
{
    return item->GetType() == DialogItem::kButton || item->GetType() == DialogItem::kCustomButton;
}

} // namespace

// --- own listener part: empty ---

void CastMemberDialog::DialogTimesUp(int /*dialogId*/) {}

void CastMemberDialog::DialogButtonClicked(int /*dialogId*/, int /*itemId*/, int /*how*/) {}

void CastMemberDialog::DialogItemSet(int /*dialogId*/, int /*itemId*/, int /*value*/,
                                     bool /*state*/)
{}

void CastMemberDialog::DialogDetached(int /*dialogId*/) {}

// --- reports ---

void CastMemberDialog::ReportButtonClicked(DialogListener* user, int itemId, int ownHow,
                                           int userHow)
{
    const int id = GetID();
    DialogButtonClicked(id, itemId, ownHow);
    if (user != nullptr) {
        user->DialogButtonClicked(id, itemId, userHow);
    }
}

void CastMemberDialog::ImmediateAction(DialogItem* item)
{
    if (item == nullptr) {
        return;
    }
    const int id = GetID();
    DialogItemSet(id, item->GetID(), item->GetValue(), item->GetChecked());
    if (_listener != nullptr) {
        _listener->DialogItemSet(id, item->GetID(), item->GetValue(), item->GetChecked());
    }
}

void CastMemberDialog::SliderSet(int itemId, int value)
{
    const int id = GetID();
    DialogItemSet(id, itemId, value, false);
    if (_listener != nullptr) {
        _listener->DialogItemSet(id, itemId, value, false);
    }
}

void CastMemberDialog::SliderStart() {}

void CastMemberDialog::SliderStop() {}

// --- closing ---

bool CastMemberDialog::ValidateCloseDialog()
{
    return true;
}

bool CastMemberDialog::ProcessDialogClosing(DialogItem* item, int /*button*/)
{
    if (item == nullptr) {
        return true;
    }
    const auto boxes = [this](auto action) {
        for (const auto& entry : _items) {
            const int type = entry->GetType();
            if (type == DialogItem::kCheckBox || type == DialogItem::kRadio) {
                action(entry.get());
            }
        }
    };
    if (item->GetID() == kOkId) {
        if (!ValidateCloseDialog()) {
            return false;
        }
        const int id = GetID();
        boxes([this, id](DialogItem* box) {
            box->SetSavedChecked(box->GetChecked());
            DialogItemSet(id, box->GetID(), box->GetValue(), box->GetChecked());
            if (_listener != nullptr) {
                _listener->DialogItemSet(id, box->GetID(), box->GetValue(), box->GetChecked());
            }
        });
        return true;
    }
    if (item->GetID() == kCancelId) {
        boxes([](DialogItem* box) { box->SetChecked(box->GetSavedChecked()); });
        RepaintAll(nullptr);
    }
    return true;
}

bool CastMemberDialog::CloseByKey(DialogItem* item, bool mustValidate)
{
    if (item == nullptr || RefuseMouse() || !ClosesByKey(item)) {
        return false;
    }
    const bool allowed = ProcessDialogClosing(item, 0);
    if (mustValidate && !allowed) {
        return false;
    }
    DialogListener* user = _listener;
    DetachDialog();
    ReportButtonClicked(user, item->GetID(), 0, 1);
    _pressedItem = nullptr;
    return true;
}

bool CastMemberDialog::EnterKeyPressed()
{
    return CloseByKey(_enterItem, true);
}

bool CastMemberDialog::EscKeyPressed()
{
    return CloseByKey(_escItem, false);
}

bool CastMemberDialog::RefuseMouse()
{
    return GetRotation() != 0.0f || !ScaleIsFullSize();
}

// --- mouse ---

bool CastMemberDialog::MouseDown(int x, int y, int button)
{
    if (RefuseMouse() || Fading()) {
        return false;
    }
    for (auto it = _items.rbegin(); it != _items.rend(); ++it) {
        DialogItem* item = it->get();
        if ((item == _upArrowItem && !_upArrowShown) ||
            (item == _downArrowItem && !_downArrowShown) || !item->GetVisible() ||
            item->GetInactive() || !item->Contains(x, y)) {
            continue;
        }
        if (IsButtonLike(item)) {
            _pressedItem = item;
            item->SwapImages(false);
            item->SetChecked(true);
            Repaint();
            return true;
        }
        if (item->GetType() == DialogItem::kSlider) {
            _pressedItem = item;
            item->SetSlider(x, y);
            SliderStart();
            Repaint();
            return true;
        }
        const bool taken = item->Set(_items, false, x, y);
        Repaint();
        return taken || CastMember::MouseDown(x, y, button);
    }
    return CastMember::MouseDown(x, y, button);
}

bool CastMemberDialog::MouseDrag(int x, int y)
{
    if (_pressedItem == nullptr) {
        return CastMember::MouseDrag(x, y);
    }
    if (RefuseMouse()) {
        _pressedItem->SetChecked(false);
    } else if (_pressedItem->GetType() == DialogItem::kSlider) {
        _pressedItem->SetSlider(x, y);
    } else {
        _pressedItem->SetChecked(_pressedItem->Contains(x, y));
    }
    _pressedItem->SetDirty();
    Repaint();
    return true;
}

bool CastMemberDialog::MouseUp(int x, int y, int button)
{
    DialogItem* item = _pressedItem;
    if (RefuseMouse()) {
        // The release ends the press all the same; a held look must not stay behind.
        if (item != nullptr) {
            item->SetChecked(false);
        }
        _pressedItem = nullptr;
        return false;
    }
    if (item != nullptr) {
        if (item->GetType() == DialogItem::kSlider) {
            SliderStop();
        } else {
            const bool inside = item->Contains(x, y);
            item->SetChecked(false);
            item->SetDirty();
            if (inside) {
                if (item->GetType() != DialogItem::kClickableText &&
                    ProcessDialogClosing(item, button)) {
                    DialogListener* user = _listener;
                    DetachDialog();
                    ReportButtonClicked(user, item->GetID(), 0, 0);
                    _pressedItem = nullptr;
                    return true;
                }
                ReportButtonClicked(_listener, item->GetID(), button, button);
            }
        }
        _pressedItem = nullptr;
        Repaint();
        return true;
    }

    Repaint();
    // Only a press that the sprite itself took (a drag or a tracking) has a sprite release.
    if (!IsDragging() && !IsTracking()) {
        return true;
    }
    // The priority from before the drag (the sprite's release may have restored it already).
    const bool wasDragging = IsDragging();
    const int before = GetPrevPri();
    const bool result = CastMember::MouseUp(x, y, button);
    if (wasDragging && !IsMoving() && _highestPriorityOnDrag && GetPriority() != before) {
        SetPriority(before);
    }
    return result;
}

bool CastMemberDialog::MouseMove(int x, int y, bool inside)
{
    if (RefuseMouse()) {
        return false;
    }
    return CastMember::MouseMove(x, y, inside);
}

void CastMemberDialog::MouseDownOutsideOfDialog()
{
    if (_disposeOnMouseDownOutside) {
        EscKeyPressed();
        return;
    }
    const int state = GetState();
    if ((state != 0 && state != kStateWait) || _modeless || Fading()) {
        return;
    }
    _flashHighAlpha = _alpha;
    _flashLowAlpha = std::max(_alpha - kFlashDepth, 1);
    SetState(kStateFlashDown);
    ChangeState(kStateFlashDown);
}

// --- keys ---

bool CastMemberDialog::KeyDown(SDLKey key, SDLMod /*mod*/, unsigned short unicode,
                               bool /*nameChar*/)
{
    Cast* stage = Stage();
    if (stage == nullptr || stage->GetDialog() != this) {
        return false;
    }
    if (_textInputItem != nullptr) {
        if (key == kKeyBackspace || key == kKeyLeft) {
            _textInputItem->EraseLastCharacter();
            return true;
        }
        // Printable characters only: Return and Escape must still close the dialog.
        if (_textInputItem->TypeCharacter(unicode)) {
            return true;
        }
    }
    if (key == kKeyReturn) {
        EnterKeyPressed();
        return true;
    }
    if (key == kKeyEscape) {
        EscKeyPressed();
        return true;
    }
    return false;
}

bool CastMemberDialog::KeyUp(SDLKey /*key*/, SDLMod /*mod*/, unsigned short /*unicode*/,
                             bool /*nameChar*/)
{
    return false;
}
