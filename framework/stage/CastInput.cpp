// Cast: mouse and keys, dragging and tracking.

#include "framework/core/TickSource.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/InputCatcher.h"

#include <algorithm>

namespace {

// Presses this soon after a dialog attached are dropped: the click that opened the dialog must
// not act on it.
constexpr unsigned int kDialogGuardMs = 350;

} // namespace

bool Cast::HasInputFocus()
{
    return _animationManager == nullptr || _animationManager->HasInputFocus();
}

void Cast::MouseDown(int x, int y, int button)
{
    if (_dragObj != nullptr || _trackObj != nullptr) {
        return;
    }
    if (_dialogAttachTime != 0 && TickSource::Now() - _dialogAttachTime < kDialogGuardMs) {
        return;
    }
    _pressedDialog = nullptr;

    CastMemberDialog* modal = _nestedDialog;
    if (modal == nullptr && _dialog != nullptr && !IsModeless(_dialog)) {
        modal = _dialog;
    }
    if (modal != nullptr) {
        CastMember* sprite = AsMember(modal);
        if (sprite != nullptr && sprite->Contains(x, y) && sprite->OnPixel(x, y)) {
            _pressedDialog = modal;
            sprite->MouseDown(x, y, button);
        } else {
            DialogMouseDownOutside(modal);
        }
        return;
    }

    bool handled = false;
    // A press may re-sort the stage (raising a dragged sprite): walk a copy.
    {
        const Walk walk(*this, false);
        for (CastMember* m : walk.Members()) {
            if (m == nullptr || !Contains(m)) {
                continue;
            }
            if (m->IsVisible() && m->AllowInput() && m->Contains(x, y) &&
                m->MouseDown(x, y, button)) {
                handled = true;
                break;
            }
        }
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseDown(x, y, button, handled);
    }
}

void Cast::MouseUp(int x, int y, int button)
{
    CastMember* target = nullptr;
    if (_dragObj != nullptr) {
        target = _dragObj;
    } else if (_trackObj != nullptr) {
        target = _trackObj;
    } else if (_nestedDialog != nullptr && _pressedDialog == _nestedDialog) {
        target = AsMember(_nestedDialog);
    } else if (_dialog != nullptr && _pressedDialog == _dialog) {
        target = AsMember(_dialog);
    }
    if (target != nullptr) {
        target->MouseUp(x, y, button);
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseUp(x, y, button, target != nullptr);
    }
    _dragObj = nullptr;
    _trackObj = nullptr;
    _pressedDialog = nullptr;
}

void Cast::MouseMove(int x, int y)
{
    if (!HasInputFocus()) {
        return;
    }
    Settle();
    CastMemberDialog* modal = _nestedDialog;
    if (modal == nullptr && _dialog != nullptr && !IsModeless(_dialog)) {
        modal = _dialog;
    }
    if (modal != nullptr) {
        CastMember* sprite = AsMember(modal);
        if (sprite != nullptr) {
            sprite->MouseMove(x, y, sprite->Contains(x, y));
        }
        if (_inputCatcher != nullptr) {
            _inputCatcher->MouseMove(x, y, true);
        }
        _mouseOverObj = nullptr;
        return;
    }

    const auto under = std::find_if(_members.begin(), _members.end(), [x, y](CastMember* m) {
        return m->GetClassMemberType() != CastMember::kCursorKind && m->Contains(x, y) &&
               m->OnPixel(x, y);
    });
    CastMember* found = under != _members.end() ? *under : nullptr;
    if (found != nullptr && found == _mouseOverObj) {
        if (_inputCatcher != nullptr) {
            _inputCatcher->MouseMove(x, y, true);
        }
        return;
    }
    if (found != nullptr) {
        if (found->MouseMove(x, y, true)) {
            CastMember* previous = _mouseOverObj;
            _mouseOverObj = Contains(found) ? found : nullptr;
            if (previous != nullptr && previous != found && Contains(previous)) {
                previous->MouseMove(x, y, false);
            }
        }
    } else {
        CastMember* previous = _mouseOverObj;
        _mouseOverObj = nullptr;
        if (previous != nullptr && Contains(previous)) {
            previous->MouseMove(x, y, false);
        }
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseMove(x, y, found != nullptr);
    }
}

void Cast::MouseDrag(int x, int y)
{
    CastMember* target = _dragObj;
    if (target == nullptr) {
        target = _trackObj;
    }
    if (target == nullptr && _nestedDialog != nullptr) {
        target = AsMember(_nestedDialog);
    }
    if (target == nullptr && _dialog != nullptr) {
        target = AsMember(_dialog);
    }
    if (target != nullptr) {
        target->MouseDrag(x, y);
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseDrag(x, y, target != nullptr);
    }
}

void Cast::MouseHover(int x, int y)
{
    if (!HasInputFocus()) {
        return;
    }
    if (_hoverObj != nullptr) {
        CastMember* ended = _hoverObj;
        _hoverObj = nullptr;
        ended->OnMouseHoverEnded();
    }
    Settle();
    // Input permissions are not consulted: a hover may show help on a disabled sprite.
    const auto under = std::find_if(_members.begin(), _members.end(), [x, y](CastMember* m) {
        return m->IsVisible() && m->Contains(x, y);
    });
    if (under != _members.end()) {
        _hoverObj = *under;
        _hoverObj->OnMouseHover(x, y);
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseHover(x, y, under != _members.end());
    }
}

bool Cast::MouseHoverEnded(int x, int y, bool stillInside)
{
    Settle();
    if (_hoverObj != nullptr) {
        if (stillInside) {
            const auto under = std::find_if(_members.begin(), _members.end(),
                                            [x, y](CastMember* m) { return m->Contains(x, y); });
            if (under != _members.end()) {
                if (*under == _hoverObj) {
                    return true;
                }
                CastMember* ended = _hoverObj;
                _hoverObj = nullptr;
                ended->OnMouseHoverEnded();
                if (_inputCatcher != nullptr) {
                    _inputCatcher->MouseHoverEnded(x, y, true);
                }
                return false;
            }
        }
        CastMember* ended = _hoverObj;
        _hoverObj = nullptr;
        ended->OnMouseHoverEnded();
    }
    if (_inputCatcher != nullptr) {
        _inputCatcher->MouseHoverEnded(x, y, false);
    }
    _hoverObj = nullptr;
    return false;
}

bool Cast::KeyDown(SDLKey key, SDLMod mod, unsigned short unicode, bool alphaNumeric)
{
    bool taken = false;
    // A key may close a dialog or remove sprites: walk a copy.
    const Walk walk(*this, false);
    for (CastMember* m : walk.Members()) {
        if (m != nullptr && Contains(m) && m->IsVisible() && m->AllowInput() &&
            m->AllowKeystrokes() && m->KeyDown(key, mod, unicode, alphaNumeric)) {
            taken = true;
        }
    }
    return taken;
}

bool Cast::KeyUp(SDLKey key, SDLMod mod, unsigned short unicode, bool alphaNumeric)
{
    bool taken = false;
    const Walk walk(*this, false);
    for (CastMember* m : walk.Members()) {
        if (m != nullptr && Contains(m) && m->IsVisible() && m->AllowInput() &&
            m->AllowKeystrokes() && m->KeyUp(key, mod, unicode, alphaNumeric)) {
            taken = true;
        }
    }
    return taken;
}

void Cast::Dragging(CastMember* member)
{
    _dragObj = member;
}

void Cast::Tracking(CastMember* member)
{
    _trackObj = member;
}

void Cast::CancelDragging()
{
    if (_dragObj != nullptr) {
        _dragObj->CancelDragging();
    }
}

void Cast::CancelTracking()
{
    if (_trackObj != nullptr) {
        _trackObj->CancelTracking();
    }
}

void Cast::ResetMouseOverObj()
{
    _mouseOverObj = nullptr;
}
