// Cast: joining and leaving, the cursor, the dialog slots, receivers and restrictions.

#include "SDL.h"
#include "framework/core/Rectangle.h"
#include "framework/core/TickSource.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/DialogAttachListener.h"
#include "framework/stage/Receiver.h"

#include <algorithm>
#include <cstdint>

namespace {

template <class T> bool EraseFirst(std::vector<T*>& list, T* item)
{
    const auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

template <class T> void EraseAll(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <class T> bool Has(const std::vector<T*>& list, const T* item)
{
    return item != nullptr && std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

Cast::Walk::Walk(Cast& cast, bool backToFront) : _cast(cast)
{
    _cast.Settle();
    _cast._walks.emplace_back(_cast._members);
    _members = &_cast._walks.back();
    if (backToFront) {
        std::reverse(_members->begin(), _members->end());
    }
}

Cast::Walk::~Walk()
{
    _cast._walks.pop_back();
}

// --- membership ---

void Cast::Add(CastMember* member)
{
    if (member == nullptr) {
        return;
    }
    if (!EraseFirst(_waiting, member) && Has(_members, member)) {
        return;
    }
    // Back on stage before the end of the frame: it did not leave after all.
    EraseAll(_removed, member);
    if (member->GetClassMemberType() == CastMember::kCursorKind) {
        _cursor = member;
        return;
    }
    InsertSorted(member);
    member->Repaint();
}

void Cast::AddWhenBuilt(CastMember* member)
{
    if (member == nullptr || Contains(member)) {
        return;
    }
    EraseAll(_removed, member);
    _waiting.push_back(member);
}

void Cast::Settle()
{
    while (!_waiting.empty()) {
        CastMember* member = _waiting.front();
        Add(member); // takes it off the waiting list
    }
}

void Cast::InsertSorted(CastMember* member)
{
    const int priority = member->GetPriority();
    const auto at = std::find_if(_members.begin(), _members.end(), [priority](CastMember* m) {
        return m->GetPriority() >= priority;
    });
    _members.insert(at, member);
}

void Cast::Remove(CastMember* member, bool moving)
{
    if (member == nullptr) {
        return;
    }
    if (EraseFirst(_waiting, member)) {
        // Never painted, so there is no area to repaint.
        if (!moving) {
            ForgetSlots(member, false);
            _removed.push_back(member);
        }
        return;
    }
    if (member == _cursor) {
        if (!moving) {
            AddTotalScreenRectDirty(member);
            _cursor = nullptr;
            _removed.push_back(member);
        }
        return;
    }
    if (!EraseFirst(_members, member)) {
        return;
    }
    if (moving) {
        return;
    }
    AddTotalScreenRectDirty(member);
    ForgetSlots(member, false);
    _removed.push_back(member);
}

void Cast::MemberDestroyed(CastMember* member)
{
    if (member == nullptr) {
        return;
    }
    EraseAll(_waiting, member);
    if (EraseFirst(_members, member) || member == _cursor) {
        AddTotalScreenRectDirty(member);
    }
    EraseAll(_removed, member);
    ForgetSlots(member, true);
    if (member == _cursor) {
        _cursor = nullptr;
    }
    for (std::vector<CastMember*>& walk : _walks) {
        std::replace(walk.begin(), walk.end(), member, static_cast<CastMember*>(nullptr));
    }
}

void Cast::ForgetSlots(CastMember* member, bool dialogs)
{
    if (_dragObj == member) {
        _dragObj = nullptr;
    }
    if (_trackObj == member) {
        _trackObj = nullptr;
    }
    if (_mouseOverObj == member) {
        _mouseOverObj = nullptr;
    }
    if (_hoverObj == member) {
        _hoverObj = nullptr;
    }
    if (_fpsMember == member) {
        _fpsMember = nullptr;
        _fpsText = nullptr;
    }
    if (_pressedDialog != nullptr && AsMember(_pressedDialog) == member) {
        _pressedDialog = nullptr;
    }
    if (!dialogs) {
        return;
    }
    if (_nestedDialog != nullptr && AsMember(_nestedDialog) == member) {
        _nestedDialog = nullptr;
    }
    if (_dialog != nullptr && AsMember(_dialog) == member) {
        _dialog = nullptr;
    }
}

void Cast::AddTotalScreenRectDirty(CastMember* member)
{
    auto area = std::make_unique<Rectangle>(member->GetTotalScreenRect());
    if (area->OnScreen()) {
        area->SetFrameCount(2);
        _dirtyRects.push_back(std::move(area));
    }
}

void Cast::EndAnimationCycle()
{
    // From the last entry to the first. Taken one at a time from the live list, so that a
    // sprite deleted by another's RemovedFromCast has already left it.
    while (!_removed.empty()) {
        CastMember* member = _removed.back();
        _removed.pop_back();
        try {
            member->RemovedFromCast();
        } catch (...) {
            DebugVar(-1, "Should never happen. Exception on RemovedFromCast() - %d",
                     static_cast<int>(reinterpret_cast<intptr_t>(member)));
        }
    }
}

void Cast::SafeDelete(CastMember* member)
{
    if (member == nullptr) {
        return;
    }
    if (Contains(member)) {
        member->DeleteOnRemovedFromCast(true);
        member->SetCast(nullptr);
        return;
    }
    EraseAll(_removed, member);
    ForgetSlots(member, true);
    delete member;
}

bool Cast::Contains(CastMember* member)
{
    return Has(_members, member) || Has(_waiting, member);
}

int Cast::Size()
{
    Settle();
    return static_cast<int>(_members.size());
}

const std::vector<CastMember*>& Cast::GetCastMembers()
{
    Settle();
    return _members;
}

void Cast::RemoveAll()
{
    Settle();
    for (CastMember* member : _members) {
        AddTotalScreenRectDirty(member);
        ForgetSlots(member, false);
        _removed.push_back(member);
    }
    _members.clear();
    _hoverObj = nullptr;
    _fpsText = nullptr;
    _fpsMember = nullptr;
}

void Cast::DestroyCastMembers()
{
    Settle();
    _receivers.clear();
    _restricted.clear();
    _dragObj = nullptr;
    _trackObj = nullptr;
    _mouseOverObj = nullptr;
    _hoverObj = nullptr;
    _pressedDialog = nullptr;
    while (!_members.empty()) {
        CastMember* member = _members.front();
        _members.erase(_members.begin());
        delete member;
        Settle(); // a destructor may have made a sprite
    }
    ClearDirtyRects(true);
    _dialog = nullptr;
    _nestedDialog = nullptr;
    _fpsText = nullptr;
    _fpsMember = nullptr;
}

bool Cast::IsMoving()
{
    Settle();
    return std::any_of(_members.begin(), _members.end(),
                       [](CastMember* m) { return m->IsMoving(); });
}

void Cast::SetCursor(CastMember* cursor)
{
    _cursor = cursor;
}

CastMember* Cast::GetCursor()
{
    Settle();
    return _cursor;
}

void Cast::SetInputCatcher(InputCatcher* catcher)
{
    _inputCatcher = catcher;
}

void Cast::Start()
{
    _mouseOverObj = nullptr;
    _showFps = false;
    _windowStart = 0;
    _lastFrameRate = 0;
    _framesInWindow = 0;
}

void Cast::Stop()
{
    if (_hoverObj != nullptr) {
        CastMember* hover = _hoverObj;
        _hoverObj = nullptr;
        hover->OnMouseHoverEnded();
    }
}

// --- dialogs ---

bool Cast::AttachDialog(CastMemberDialog* dialog, bool keepMouse, bool nested)
{
    _dialogAttachTime = 0;
    if (dialog != nullptr) {
        if (_nestedDialog != nullptr || (nested && _dialog == nullptr) ||
            (!nested && _dialog != nullptr && !IsModeless(_dialog))) {
            return false;
        }
        if (nested) {
            keepMouse = false;
        }
    } else {
        // Dialogs detach themselves with nested false; a nested detach has no use.
        if (nested || (_dialog == nullptr && _nestedDialog == nullptr)) {
            return false;
        }
        CastMemberDialog* taken = nullptr;
        bool wasNested = false;
        if (_nestedDialog != nullptr) {
            taken = _nestedDialog;
            _nestedDialog = nullptr;
            wasNested = true;
            dialog = _dialog; // re-attached below
        } else {
            taken = _dialog;
            _dialog = nullptr;
        }
        if (_pressedDialog == taken) {
            _pressedDialog = nullptr;
        }
        DetachSprite(taken);
        if (_dialogAttachListener != nullptr) {
            _dialogAttachListener->DialogDetached(taken, DialogId(taken), wasNested);
        }
    }

    if (!nested) {
        // Nothing to re-attach: leave the slot alone, a detach listener may have filled it.
        if (dialog == nullptr) {
            return false;
        }
        _dialog = dialog;
        if (_dialogAttachListener != nullptr) {
            _dialogAttachListener->DialogAttached(_dialog, DialogId(_dialog), false);
        }
    } else {
        _nestedDialog = dialog;
        if (_dialogAttachListener != nullptr) {
            _dialogAttachListener->DialogAttached(_nestedDialog, DialogId(_nestedDialog), true);
        }
        SetDialogMembersDirty(_dialog);
    }

    if (!keepMouse) {
        // The cancelled drag or tracking is over: the stage forgets it, so the real release that
        // follows is not delivered a second time.
        CastMember* dragged = _dragObj != nullptr ? _dragObj : _trackObj;
        _dragObj = nullptr;
        _trackObj = nullptr;
        // kCancelX lies outside every sprite: the drag and the mouse-over end without a click.
        if (dragged != nullptr) {
            dragged->MouseUp(CastMember::kCancelX, CastMember::kCancelX, 1);
        }
        CastMember* over = _mouseOverObj;
        _mouseOverObj = nullptr;
        if (over != nullptr && Has(_members, over)) {
            over->MouseMove(CastMember::kCancelX, CastMember::kCancelX, false);
        }
    }
    // 0 means "no attach": a tick count of 0 still starts the guard.
    _dialogAttachTime = std::max(TickSource::Now(), 1u);
    return true;
}

bool Cast::DetachDialog(CastMemberDialog* dialog)
{
    if (dialog == nullptr || (dialog != _dialog && dialog != _nestedDialog)) {
        return false;
    }
    if (dialog == _nestedDialog || _nestedDialog == nullptr) {
        AttachDialog(nullptr, false, false);
        return true;
    }
    // The nested dialog is already attached and modal: it moves up without a new attach, so no
    // guard starts and a drag or mouse-over stays as it is.
    _dialog = _nestedDialog;
    _nestedDialog = nullptr;
    if (_pressedDialog == dialog) {
        _pressedDialog = nullptr;
    }
    DetachSprite(dialog);
    if (_dialogAttachListener != nullptr) {
        _dialogAttachListener->DialogDetached(dialog, DialogId(dialog), false);
    }
    return true;
}

CastMemberDialog* Cast::GetDialog() const
{
    return _nestedDialog != nullptr ? _nestedDialog : _dialog;
}

bool Cast::ModalDialogUp()
{
    return _nestedDialog != nullptr || (_dialog != nullptr && !IsModeless(_dialog));
}

bool Cast::ForceDialogsDispose()
{
    bool found = false;
    // Detaching may take sprites off the stage: walk a copy and skip those gone meanwhile.
    const Walk walk(*this, false);
    for (CastMember* member : walk.Members()) {
        if (member == nullptr || !Has(_members, member) || !member->IsADialog()) {
            continue;
        }
        found = true;
        DetachSprite(AsDialog(member));
    }
    _dialog = nullptr;
    _nestedDialog = nullptr;
    _pressedDialog = nullptr;
    return found;
}

void Cast::SetDialogAttachListener(DialogAttachListener* listener)
{
    _dialogAttachListener = listener;
}

// The stage's few calls into dialog sprites, kept in one place.

CastMember* Cast::AsMember(CastMemberDialog* dialog)
{
    return dialog;
}

CastMemberDialog* Cast::AsDialog(CastMember* member)
{
    return member != nullptr && member->IsADialog() ? static_cast<CastMemberDialog*>(member)
                                                    : nullptr;
}

bool Cast::IsModeless(CastMemberDialog* dialog)
{
    return dialog != nullptr && dialog->IsModeless();
}

void Cast::DetachSprite(CastMemberDialog* dialog)
{
    if (dialog != nullptr) {
        dialog->Detach();
    }
}

void Cast::SetDialogMembersDirty(CastMemberDialog* dialog)
{
    if (dialog != nullptr) {
        dialog->SetMembersDirty();
    }
}

void Cast::DialogMouseDownOutside(CastMemberDialog* dialog)
{
    if (dialog != nullptr) {
        dialog->MouseDownOutsideOfDialog();
    }
}

int Cast::DialogId(CastMemberDialog* dialog)
{
    return dialog != nullptr ? dialog->GetID() : 0;
}

// --- drop targets ---

void Cast::AddReceiver(Receiver* receiver)
{
    _receivers.push_back(receiver);
}

void Cast::RemoveReceiver(Receiver* receiver)
{
    EraseFirst(_receivers, receiver);
}

void Cast::RemoveAllReceivers()
{
    _receivers.clear();
}

bool Cast::ReceiversContains(Receiver* receiver)
{
    return Has(_receivers, receiver);
}

void Cast::SetRestrictionOn(Receiver* receiver)
{
    _restricted.push_back(receiver);
}

void Cast::LiftRestrictionOn(Receiver* receiver)
{
    EraseFirst(_restricted, receiver);
}

bool Cast::RestrictedContains(Receiver* receiver)
{
    return Has(_restricted, receiver);
}

void Cast::RemoveAllRestricted()
{
    _restricted.clear();
}

Receiver* Cast::DetermineReceiverOnDrag(CastMember* member)
{
    if (_dragObj == nullptr || member == nullptr) {
        return nullptr;
    }
    const int x = member->GetX();
    const int y = member->GetY();
    const int w = member->GetW();
    const int h = member->GetH();
    // Receivers may be added or removed by the calls below: walk a copy.
    const std::vector<Receiver*> receivers = _receivers;
    for (Receiver* r : receivers) {
        if (!RestrictedContains(r) && r->ReceiverContains(x + w / 2, y + h / 2) &&
            r->ReceiverAccepts(member, true)) {
            return r;
        }
    }
    const int x1 = x + w / 4;
    const int x3 = x + 3 * (w / 4);
    const int y1 = y + h / 4;
    const int y3 = y + 3 * (h / 4);
    for (Receiver* r : receivers) {
        if (RestrictedContains(r)) {
            continue;
        }
        const bool inside = r->ReceiverContains(x1, y1) || r->ReceiverContains(x1, y3) ||
                            r->ReceiverContains(x3, y1) || r->ReceiverContains(x3, y3);
        if (inside && r->ReceiverAccepts(member, true)) {
            return r;
        }
    }
    return nullptr;
}

Receiver* Cast::DetermineReceiverOnClick(CastMember* member)
{
    const std::vector<Receiver*> receivers = _receivers;
    for (Receiver* r : receivers) {
        if (!RestrictedContains(r) && r->ReceiverAccepts(member, false)) {
            return r;
        }
    }
    return nullptr;
}
