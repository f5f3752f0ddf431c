#include "framework/shell/MenuDialog.h"

#include "framework/dialogs/Control.h"

namespace {

// The kinds that take part in the menu's layout.
bool IsLaidOut(const Control* control)
{
    switch (control->GetKind()) {
    case Control::kButton:
    case Control::kCheckBox:
    case Control::kInput:
    case Control::kLabel:
    case Control::kRadio:
    case Control::kRadioSet:
        return true;
    default:
        return false;
    }
}

constexpr int kColumn = 1;

} // namespace

MenuDialog::MenuDialog(ConfigFile* cfg, Cast* cast, int id, DialogListener* listener)
    : CastMemberDialogResizable(cfg, cast, id, nullptr, listener)
{}

MenuDialog::~MenuDialog() = default;

int MenuDialog::RepositionControls(int top, int width)
{
    int y = _extraHeight / 2 + top;
    int x = _extraWidth / 2 - _margin + width;
    for (Control* control : GetControls()) {
        if (control == nullptr || !IsLaidOut(control)) {
            continue;
        }
        const int controlWidth = control->GetW();
        const int controlHeight = control->GetH();
        if (_orientation == kColumn) {
            x = width / 2 - controlWidth / 2 + _xOffset;
        } else {
            x -= controlWidth + _buttonGap;
            y = GetH() - _margin - controlHeight;
        }
        control->Move(x, y);
        y += controlHeight + _buttonGap;
    }
    return y;
}
